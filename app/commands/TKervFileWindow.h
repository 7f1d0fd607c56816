#pragma once
// The half of the file manager's window port that the information service
// answers: boxes, notices and error codes. The window derives from it and
// adds the title, the status bar, the busy state and the dialog state.

#include "app/commands/TKervInformation.h"
#include "document/TKervFilePorts.h"

namespace kerv {

class TKervFileWindow : public IKervDocumentWindow {
 public:
  explicit TKervFileWindow(IKervInformation& information) : information_(information) {}

  int MessageBox(const std::string& text, int kind, int buttons) override;
  void Notify(const std::string& text, int level) override;
  void ShowErrorCode(int code, const std::optional<std::string>& argument) override;

 private:
  IKervInformation& information_;
};

}  // namespace kerv
