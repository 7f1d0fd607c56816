#pragma once
// The lead-string dialog (also the foot-string dialog): a text with the
// escapes \s, \t and \n, chosen from or added to the shared history.

#include <QDialog>
#include <optional>
#include <string>

#include "format/TLeadStringHistory.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace kerv {

class ICodePage;
class IKervInformation;

class TFrmLeadString : public QDialog {
  Q_OBJECT

 public:
  // The dialog works on history: OK moves the typed text to its top, the
  // history button empties it.
  TFrmLeadString(ICodePage& codePage, IKervInformation& information, bool foot, TLeadStringHistory& history,
                 QWidget* parent = nullptr);

  // The text typed (Shift_JIS, escapes as typed) after OK; nothing otherwise.
  const std::optional<std::string>& Typed() const { return typed_; }

  QLabel* Lbl_Prompt;
  QComboBox* Cmb_Strings;
  QPushButton* Btn_ClearHistory;

 public slots:
  void accept() override;
  void ClearHistory();

 private:
  ICodePage& codePage_;
  IKervInformation& information_;
  TLeadStringHistory& history_;
  std::optional<std::string> typed_;
};

}  // namespace kerv
