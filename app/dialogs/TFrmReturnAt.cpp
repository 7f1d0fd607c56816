#include "app/dialogs/TFrmReturnAt.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/TKervFormatDialogsText.h"
#include "format/TStringFormatter.h"

namespace kerv {

TFrmReturnAt::TFrmReturnAt(QWidget* parent) : QDialog(parent) {
  setWindowTitle(FormatText(TFormatMessage::ReturnAtCaption));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(FormatText(TFormatMessage::ReturnAtPrompt), this));
  Edt_Column = new QLineEdit(this);
  layout->addWidget(Edt_Column);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(FormatText(TFormatMessage::OkButton), QDialogButtonBox::AcceptRole);
  buttons->addButton(FormatText(TFormatMessage::CancelButton), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &TFrmReturnAt::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void TFrmReturnAt::accept() {
  column_ = TStringFormatter::ParseReturnCol(Edt_Column->text().toStdString());
  if (!column_) {
    Edt_Column->setFocus();
    Edt_Column->selectAll();
    return;
  }
  QDialog::accept();
}

}  // namespace kerv
