#pragma once
// Message boxes and notices of one window, as the commands use them. Texts
// are UTF-8, like the messages tables and the platform's dialogs: document
// text (Shift_JIS) is converted before it is shown.

#include <string>

namespace kerv {

class IKervInformation {
 public:
  // Box kinds and button sets as the commands name them.
  enum Kind { mkWarning = 0, mkError = 1, mkConfirm = 3, mkInformation = 2 };
  // mbYesNoDefaultNo: Yes gives something up for good, so No is the default.
  enum ButtonSet { mbYesNo = 3, mbYesNoCancel = 11, mbOkCancel = 12, mbOk = 4, mbYesNoDefaultNo = 0x103 };
  enum Answer { maOk, maYes, maNo, maCancel };
  // Notice levels.
  enum Level { nlError = -1, nlPlain = 0, nlInformation = 1, nlRepeat = 100 };

  virtual ~IKervInformation() = default;
  // A box captioned "警告", "エラー", "確認" or "情報" + " - KervEditor".
  virtual Answer MessageBox(const std::string& text, int kind, int buttons) = 0;
  void ShowError(const std::string& text) { MessageBox(text, mkError, mbOk); }
  bool Confirm(const std::string& text) { return MessageBox(text, mkConfirm, mbYesNo) == maYes; }
  // The info bar when it is on and shown; otherwise errors and information
  // become boxes and plain notices are dropped.
  virtual void Notify(const std::string& text, int level) = 0;
};

}  // namespace kerv
