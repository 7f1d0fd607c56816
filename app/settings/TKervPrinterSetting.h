#pragma once
// The print dialog's settings: section Printer of kerv.ini. The dialog
// creates the group when it opens and saves it whenever it closes; kervtext
// print reads it from a named settings file. The font keys default to the
// editor's font, which the group is given.

#include <span>
#include <string>

#include "app/settings/TKervSetting.h"
#include "print/IPrintMeasurer.h"

namespace kerv {

class TKervPrinterSetting : public TKervTableSetting {
 public:
  static constexpr const char* kSection = "Printer";

  // editorFont supplies the defaults of the font keys (its name in Shift_JIS).
  explicit TKervPrinterSetting(const TPrintFont& editorFont);
  TKervPrinterSetting(const TKervPrinterSetting&) = default;
  TKervPrinterSetting& operator=(const TKervPrinterSetting&) = default;

  // Font keys missing from the file take the editor font's values.
  void Load(const TIniFile& ini) override;
  // With UseEditorFont on, the font is the editor's at the time of printing:
  // FontName is written empty and the other five font keys as 0.
  void Save(TIniFile& ini) override;

  // Every key of the section, in the order they are written.
  static std::span<const TKervSettingKey> Keys();

  // The stored font as a printing font, with fallback where a value cannot
  // be used (an empty name or a size below 1 take the editor font's).
  TPrintFont StoredFont() const;
  void SetStoredFont(const TPrintFont& font);

  bool UseEditorFont;
  std::string FontName;  // Shift_JIS
  int FontSize;          // points
  bool FontBold;
  bool FontItalic;
  bool FontUnderLine;
  int FontCharset;
  int TopMargin;  // mm
  int LeftMargin;
  int BottomMargin;
  int RightMargin;
  int ColumnNum;    // index in the column combo: column count - 1
  int ColumnSpace;  // mm
  bool LineNum;
  std::string Header;  // Shift_JIS, with the variables
  int HeaderAlign;     // TStringsPrinterHeaderAlign ordinal
  std::string Footer;
  int FooterAlign;
  int Copies;
  bool Collate;

 protected:
  std::string MachineDefault(const TKervSettingKey& key) const override;

 private:
  void ApplyFontDefaults(const TIniFile* ini);

  TPrintFont editorFont_;
};

}  // namespace kerv
