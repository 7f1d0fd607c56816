#include "app/settings/TKervPrinterSetting.h"

#include <utility>

namespace kerv {
namespace {

using R = TKervValueRule;

#define PRINTER_FIELD(FIELD, TYPE) \
  [](TKervSetting& s) { return TKervFieldRef(std::in_place_type<TYPE*>, &static_cast<TKervPrinterSetting&>(s).FIELD); }
#define PRINTER_KEY(FIELD, KIND, TYPE, DEF, TEXT, MIN, MAX) \
  {0, TKervPrinterSetting::kSection, #FIELD, TKervKeyType::KIND, DEF, TEXT, MIN, MAX, R::AsRead, PRINTER_FIELD(FIELD, TYPE)}
#define KEY_B(FIELD, DEF) PRINTER_KEY(FIELD, Bool, bool, DEF, nullptr, kNoMin, kNoMax)
#define KEY_I(FIELD, DEF, MIN, MAX) PRINTER_KEY(FIELD, Int, int, DEF, nullptr, MIN, MAX)
#define KEY_S(FIELD, TEXT) PRINTER_KEY(FIELD, Str, std::string, 0, TEXT, kNoMin, kNoMax)

// The ranges are the dialog's controls'; the file keeps what it is given.
// The font keys' table defaults stand in until the editor font replaces them.
const TKervSettingKey kKeys[] = {
    KEY_B(UseEditorFont, 0),
    KEY_S(FontName, nullptr),  // the editor font's name
    KEY_I(FontSize, 0, kNoMin, kNoMax),
    KEY_B(FontBold, 0),
    KEY_B(FontItalic, 0),
    KEY_B(FontUnderLine, 0),
    KEY_I(FontCharset, 0, kNoMin, kNoMax),
    KEY_I(TopMargin, 15, 0, 100),
    KEY_I(LeftMargin, 10, 0, 100),
    KEY_I(BottomMargin, 20, 0, 100),
    KEY_I(RightMargin, 10, 0, 100),
    KEY_I(ColumnNum, 0, 0, 2),
    KEY_I(ColumnSpace, 0, 0, 100),
    KEY_B(LineNum, 0),
    KEY_S(Header, "%F %y/%m/%d %t"),
    // An alignment outside 0-3 is kept as read: the dialog leaves the printer's alone.
    KEY_I(HeaderAlign, 0, kNoMin, kNoMax),
    KEY_S(Footer, "- %p -"),
    KEY_I(FooterAlign, 0, kNoMin, kNoMax),
    KEY_I(Copies, 1, 1, 999),
    KEY_B(Collate, 0),
};

#undef KEY_S
#undef KEY_I
#undef KEY_B
#undef PRINTER_KEY
#undef PRINTER_FIELD

}  // namespace

std::span<const TKervSettingKey> TKervPrinterSetting::Keys() { return kKeys; }

TKervPrinterSetting::TKervPrinterSetting(const TPrintFont& editorFont)
    : TKervTableSetting(kKeys), editorFont_(editorFont) {
  SetDefaults();
  ApplyFontDefaults(nullptr);
}

std::string TKervPrinterSetting::MachineDefault(const TKervSettingKey&) const { return editorFont_.name; }

void TKervPrinterSetting::ApplyFontDefaults(const TIniFile* ini) {
  auto missing = [&](const char* key) { return ini == nullptr || !ini->ValueExists(kSection, key); };
  if (missing("FontSize")) FontSize = editorFont_.size;
  if (missing("FontBold")) FontBold = editorFont_.bold;
  if (missing("FontItalic")) FontItalic = editorFont_.italic;
  if (missing("FontUnderLine")) FontUnderLine = editorFont_.underline;
  if (missing("FontCharset")) FontCharset = editorFont_.charSet;
}

void TKervPrinterSetting::Load(const TIniFile& ini) {
  TKervTableSetting::Load(ini);
  ApplyFontDefaults(&ini);
}

void TKervPrinterSetting::Save(TIniFile& ini) {
  if (!UseEditorFont) {
    TKervTableSetting::Save(ini);
    return;
  }
  // Written through a copy so that the dialog's own values stay as they are.
  TKervPrinterSetting stored(*this);
  stored.FontName.clear();
  stored.FontSize = 0;
  stored.FontBold = stored.FontItalic = stored.FontUnderLine = false;
  stored.FontCharset = 0;
  stored.TKervTableSetting::Save(ini);
}

TPrintFont TKervPrinterSetting::StoredFont() const {
  TPrintFont font;
  font.name = FontName.empty() ? editorFont_.name : FontName;
  font.size = FontSize >= 1 ? FontSize : editorFont_.size;
  font.bold = FontBold;
  font.italic = FontItalic;
  font.underline = FontUnderLine;
  font.charSet = FontCharset;
  return font;
}

void TKervPrinterSetting::SetStoredFont(const TPrintFont& font) {
  FontName = font.name;
  FontSize = font.size;
  FontBold = font.bold;
  FontItalic = font.italic;
  FontUnderLine = font.underline;
  FontCharset = font.charSet;
}

}  // namespace kerv
