#pragma once
// The platform's standard dialogs and beeps. Texts are UTF-8.

#include <string>

namespace kerv {

class IDialogs {
 public:
  enum class Icon { Warning, Error, Question, Information };
  // YesNoDefaultNo: a question whose Yes gives something up for good; No is the default.
  enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel, YesNoDefaultNo };
  enum class Answer { Ok, Yes, No, Cancel };

  virtual ~IDialogs() = default;
  // The platform's own error dialog (its caption), preceded by an error beep.
  virtual void ShowStandardError(const std::string& text) = 0;
  // A standard Yes/No question preceded by a beep; true for Yes.
  virtual bool AskYesNo(const std::string& text, Icon icon) = 0;
  // A message box with the program's caption.
  virtual Answer MessageBox(const std::string& caption, const std::string& text, Icon icon, Buttons buttons) = 0;
  virtual void Beep(Icon icon) = 0;
};

}  // namespace kerv
