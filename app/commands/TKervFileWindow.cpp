#include "app/commands/TKervFileWindow.h"

#include "document/TKervExceptionStringMaker.h"

namespace kerv {

// The two interfaces number kinds, buttons, answers and levels alike.
constexpr bool Same(int a, int b) { return a == b; }
static_assert(Same(TKervBox::mkWarning, IKervInformation::mkWarning) && Same(TKervBox::mkError, IKervInformation::mkError) &&
              Same(TKervBox::mkInformation, IKervInformation::mkInformation) &&
              Same(TKervBox::mkConfirm, IKervInformation::mkConfirm));
static_assert(Same(TKervBox::mbYesNo, IKervInformation::mbYesNo) && Same(TKervBox::mbOk, IKervInformation::mbOk) &&
              Same(TKervBox::mbYesNoCancel, IKervInformation::mbYesNoCancel) &&
              Same(TKervBox::mbOkCancel, IKervInformation::mbOkCancel) &&
              Same(TKervBox::mbYesNoDefaultNo, IKervInformation::mbYesNoDefaultNo));
static_assert(Same(TKervBox::maOk, IKervInformation::maOk) && Same(TKervBox::maYes, IKervInformation::maYes) &&
              Same(TKervBox::maNo, IKervInformation::maNo) && Same(TKervBox::maCancel, IKervInformation::maCancel));
static_assert(Same(TKervBox::nlError, IKervInformation::nlError) && Same(TKervBox::nlPlain, IKervInformation::nlPlain) &&
              Same(TKervBox::nlInformation, IKervInformation::nlInformation));

int TKervFileWindow::MessageBox(const std::string& text, int kind, int buttons) {
  return information_.MessageBox(text, kind, buttons);
}

void TKervFileWindow::Notify(const std::string& text, int level) { information_.Notify(text, level); }

void TKervFileWindow::ShowErrorCode(int code, const std::optional<std::string>& argument) {
  information_.ShowError(TKervExceptionStringMaker::Make(code, argument));
}

}  // namespace kerv
