#include "app/dialogs/TKervFormatDialogsQt.h"

#include "app/dialogs/TFrmLeadString.h"
#include "app/dialogs/TFrmNumbering.h"
#include "app/dialogs/TFrmReturnAt.h"
#include "app/dialogs/TFrmTypeFormat.h"

namespace kerv {

std::optional<TTypeFormatOptions> TKervFormatDialogsQt::AskTypeFormat() {
  TFrmTypeFormat form(parent_);
  form.exec();
  return form.Options();
}

bool TKervFormatDialogsQt::AskNumbering(TNumberingOptions& options) {
  TFrmNumbering form(codePage_, information_, options, parent_);
  if (form.exec() != QDialog::Accepted) return false;
  options = form.Options();
  return true;
}

std::optional<std::string> TKervFormatDialogsQt::AskLeadString(bool foot, TLeadStringHistory& history) {
  TFrmLeadString form(codePage_, information_, foot, history, parent_);
  form.exec();
  return form.Typed();
}

std::optional<int> TKervFormatDialogsQt::AskReturnCol() {
  TFrmReturnAt form(parent_);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.Column();
}

}  // namespace kerv
