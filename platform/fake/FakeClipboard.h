#pragma once
// A clipboard for tests. Without a code page it keeps the internal bytes as
// they are; with one it keeps UTF-8, as the system clipboard does for other
// programs, so tests can play another program (SetForeignText) and see what
// it would read (ForeignText), characters Shift_JIS lacks included. Either
// way text is read back with CR LF line breaks, as the interface promises.

#include <string>
#include <string_view>

#include "platform/Clipboard.h"
#include "platform/CodePage.h"

namespace kerv {

class FakeClipboard : public IClipboard {
 public:
  explicit FakeClipboard(ICodePage* codePage = nullptr) : codePage_(codePage) {}

  void SetText(std::string_view text, bool box) override {
    clipboard_ = Stored(text);
    hasText_ = true;
    box_ = box;
    ++writes;
  }
  bool HasText() const override { return hasText_; }
  bool HasBox() const override { return box_; }
  TClipboardText Text() const override { return Read(clipboard_, box_); }
  void Clear() override { SetText({}, false); }
  void SetPrimaryText(std::string_view text) override { primary_ = Stored(text); }
  TClipboardText PrimaryText() const override { return Read(primary_, false); }

  // Another program takes the clipboard: its text (UTF-8 with a code page)
  // and no box kind.
  void SetForeignText(std::string_view text) {
    clipboard_.assign(text);
    hasText_ = true;
    box_ = false;
  }
  void SetForeignPrimary(std::string_view text) { primary_.assign(text); }
  // Another program put something that is not text there (an image).
  void SetNonText() {
    clipboard_.clear();
    hasText_ = false;
    box_ = false;
  }
  // What another program reads (UTF-8 with a code page).
  const std::string& ForeignText() const { return clipboard_; }
  const std::string& ForeignPrimary() const { return primary_; }
  // Drops our box kind and keeps the text (another program copied it back).
  void ForgetBox() { box_ = false; }

  int writes = 0;

 private:
  std::string Stored(std::string_view text) const {
    return codePage_ ? codePage_->Cp932ToUtf8(text) : std::string(text);
  }
  TClipboardText Read(const std::string& stored, bool box) const {
    TClipboardText out;
    out.box = box;
    if (!codePage_) {
      out.text = CrLfLineBreaks(stored);
      return out;
    }
    ConversionReport report;
    out.text = CrLfLineBreaks(codePage_->Utf8ToCp932(stored, &report));
    out.replaced = report.replaced;
    return out;
  }

  ICodePage* codePage_;
  std::string clipboard_;
  std::string primary_;
  bool hasText_ = false;
  bool box_ = false;
};

}  // namespace kerv
