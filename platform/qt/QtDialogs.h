#pragma once
#include "platform/Dialogs.h"

namespace kerv {

// Standard dialogs from Qt's QMessageBox.
class QtDialogs : public IDialogs {
 public:
  void ShowStandardError(const std::string& text) override;
  bool AskYesNo(const std::string& text, Icon icon) override;
  Answer MessageBox(const std::string& caption, const std::string& text, Icon icon, Buttons buttons) override;
  void Beep(Icon icon) override;
};

}  // namespace kerv
