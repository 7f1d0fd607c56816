#include "app/dialogs/TFrmLeadString.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/commands/TKervInformation.h"
#include "app/dialogs/TKervFormatDialogsText.h"

namespace kerv {

TFrmLeadString::TFrmLeadString(ICodePage& codePage, IKervInformation& information, bool foot,
                               TLeadStringHistory& history, QWidget* parent)
    : QDialog(parent), codePage_(codePage), information_(information), history_(history) {
  setWindowTitle(FormatText(foot ? TFormatMessage::FootStringCaption : TFormatMessage::LeadStringCaption));
  auto* layout = new QVBoxLayout(this);
  Lbl_Prompt = new QLabel(FormatText(foot ? TFormatMessage::FootStringPrompt : TFormatMessage::LeadStringPrompt), this);
  Cmb_Strings = new QComboBox(this);
  Cmb_Strings->setEditable(true);
  Cmb_Strings->setInsertPolicy(QComboBox::NoInsert);
  Cmb_Strings->lineEdit()->setMaxLength(TLeadStringHistory::kMaxTypedChars);
  for (const std::string& item : history_.Items()) Cmb_Strings->addItem(SjisToQString(codePage_, item));
  Cmb_Strings->setCurrentIndex(Cmb_Strings->count() > 0 ? 0 : -1);
  Lbl_Prompt->setBuddy(Cmb_Strings);
  layout->addWidget(Lbl_Prompt);
  layout->addWidget(Cmb_Strings);
  layout->addWidget(new QLabel(FormatText(TFormatMessage::LeadStringHint), this));

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(FormatText(TFormatMessage::OkButton), QDialogButtonBox::AcceptRole);
  buttons->addButton(FormatText(TFormatMessage::CancelButton), QDialogButtonBox::RejectRole);
  Btn_ClearHistory = buttons->addButton(FormatText(TFormatMessage::ClearHistoryButton), QDialogButtonBox::ActionRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &TFrmLeadString::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(Btn_ClearHistory, &QPushButton::clicked, this, &TFrmLeadString::ClearHistory);
  layout->addWidget(buttons);
}

void TFrmLeadString::accept() {
  std::string typed = QStringToSjis(codePage_, Cmb_Strings->currentText());
  history_.Add(typed);
  typed_ = std::move(typed);
  QDialog::accept();
}

void TFrmLeadString::ClearHistory() {
  QApplication::beep();
  if (information_.MessageBox(FormatMessage(TFormatMessage::ClearHistoryQuestion), IKervInformation::mkConfirm,
                              IKervInformation::mbYesNo) == IKervInformation::maNo) {
    return;
  }
  history_.Clear();
  const QString typed = Cmb_Strings->currentText();
  Cmb_Strings->clear();
  Cmb_Strings->setEditText(typed);
}

}  // namespace kerv
