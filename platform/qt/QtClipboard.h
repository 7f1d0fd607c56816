#pragma once
// The system clipboard and the primary selection through Qt. Other programs
// read UTF-8 text with LF line breaks; a box also carries kBoxMimeType in the
// same data, so our windows paste it as a box and everyone else as lines.

#include <string_view>

#include "platform/Clipboard.h"
#include "platform/CodePage.h"

class QClipboard;
class QMimeData;

namespace kerv {

inline constexpr char kBoxMimeType[] = "application/x-kerv-box";

// Mime data for internal text, for the clipboard or a drag of the selection.
QMimeData* TextToMimeData(std::string_view text, bool box, ICodePage& codePage);
// The text of mime data (the clipboard or a drop) in the internal form; empty
// for data without text.
TClipboardText MimeDataToText(const QMimeData* data, ICodePage& codePage);

class QtClipboard : public IClipboard {
 public:
  // clipboard null: the application's clipboard.
  explicit QtClipboard(ICodePage& codePage, QClipboard* clipboard = nullptr);

  void SetText(std::string_view text, bool box) override;
  bool HasText() const override;
  bool HasBox() const override;
  TClipboardText Text() const override;
  void Clear() override;
  void SetPrimaryText(std::string_view text) override;
  TClipboardText PrimaryText() const override;

 private:
  ICodePage& codePage_;
  QClipboard* clipboard_;
};

}  // namespace kerv
