#pragma once
// The window's boxes for dialog tests: errors and questions as shown (UTF-8);
// questions are answered with answerYes.

#include <string>
#include <vector>

#include "app/commands/TKervInformation.h"

namespace kerv {

class RecordingInformation : public IKervInformation {
 public:
  std::vector<std::string> errors;
  std::vector<std::string> questions;
  bool answerYes = true;
  Answer MessageBox(const std::string& text, int kind, int) override {
    if (kind == mkConfirm) {
      questions.push_back(text);
      return answerYes ? maYes : maNo;
    }
    errors.push_back(text);
    return maOk;
  }
  void Notify(const std::string&, int) override {}
};

}  // namespace kerv
