#include "app/dialogs/TFrmNumbering.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/commands/TKervInformation.h"
#include "app/dialogs/TKervFormatDialogsText.h"

namespace kerv {

TFrmNumbering::TFrmNumbering(ICodePage& codePage, IKervInformation& information, const TNumberingOptions& options,
                             QWidget* parent)
    : QDialog(parent), codePage_(codePage), information_(information), options_(options) {
  setWindowTitle(FormatText(TFormatMessage::NumberingCaption));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;

  Edt_StartNum = new QLineEdit(QString::number(options.startNumber), this);
  Edt_StartNum->setMaxLength(TNumberingOptions::kMaxStartNumberChars);
  UpDwn_StartNum = new QSpinBox(this);
  UpDwn_StartNum->setRange(TNumberingOptions::kMinStartNumber, TNumberingOptions::kMaxStartNumber);
  UpDwn_StartNum->setValue(options.startNumber);
  // Narrow, but never so narrow that its arrows are cut.
  UpDwn_StartNum->setFixedWidth(UpDwn_StartNum->minimumSizeHint().width());
  auto* startRow = new QHBoxLayout;
  startRow->addWidget(Edt_StartNum);
  startRow->addWidget(UpDwn_StartNum);
  // A label with a buddy shows its mnemonic underlined, not as "&S".
  auto* startLabel = new QLabel(FormatText(TFormatMessage::StartNumberLabel), this);
  startLabel->setBuddy(Edt_StartNum);
  form->addRow(startLabel, startRow);

  Edt_SeparateStr = new QLineEdit(SjisToQString(codePage_, options.separateStr), this);
  Edt_SeparateStr->setMaxLength(TNumberingOptions::kMaxSeparatorChars);
  form->addRow(FormatText(TFormatMessage::SeparatorLabel), Edt_SeparateStr);

  Cmb_Type = new QComboBox(this);
  Cmb_Type->addItems({FormatText(TFormatMessage::AlignLeft), FormatText(TFormatMessage::AlignDigits),
                      FormatText(TFormatMessage::AlignZeroFill)});
  Cmb_Type->setCurrentIndex(static_cast<int>(options.alignment));
  form->addRow(FormatText(TFormatMessage::AlignmentLabel), Cmb_Type);
  layout->addLayout(form);

  Lbl_Preview = new QLabel(this);
  Lbl_Preview->setTextFormat(Qt::PlainText);
  layout->addWidget(new QLabel(FormatText(TFormatMessage::PreviewLabel), this));
  layout->addWidget(Lbl_Preview);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(FormatText(TFormatMessage::OkButton), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(FormatText(TFormatMessage::CancelButton), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &TFrmNumbering::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  (void)cancel;
  layout->addWidget(buttons);

  // The edit and its up-down show one number; typing leaves the spin box
  // alone while the text is no number in range.
  connect(UpDwn_StartNum, &QSpinBox::valueChanged, this, [this](int value) {
    if (TNumberingOptions::ParseStartNumber(Edt_StartNum->text().toStdString()) != value) {
      Edt_StartNum->setText(QString::number(value));
    }
  });
  connect(Edt_StartNum, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (auto value = TNumberingOptions::ParseStartNumber(text.toStdString())) {
      QSignalBlocker block(UpDwn_StartNum);
      UpDwn_StartNum->setValue(*value);
    }
    UpdatePreview();
  });
  connect(Edt_SeparateStr, &QLineEdit::textChanged, this, [this] { UpdatePreview(); });
  connect(Cmb_Type, &QComboBox::currentIndexChanged, this, [this] { UpdatePreview(); });
  UpdatePreview();
}

TNumberingOptions TFrmNumbering::CurrentOptions() const {
  TNumberingOptions options = options_;
  if (auto start = TNumberingOptions::ParseStartNumber(Edt_StartNum->text().toStdString())) options.startNumber = *start;
  options.separateStr = QStringToSjis(codePage_, Edt_SeparateStr->text());
  int alignment = Cmb_Type->currentIndex();
  options.alignment = (alignment >= 0 && alignment <= 2) ? static_cast<TNumberAlignment>(alignment) : TNumberAlignment::Left;
  return options;
}

void TFrmNumbering::UpdatePreview() {
  TNumberingOptions::Preview preview = CurrentOptions().MakePreview();
  Lbl_Preview->setText(SjisToQString(codePage_, preview.firstLine) + "\n" + QString::fromUtf8(preview.ellipsisLine) +
                       "\n" + SjisToQString(codePage_, preview.lastLine));
}

void TFrmNumbering::accept() {
  if (!TNumberingOptions::ParseStartNumber(Edt_StartNum->text().toStdString())) {
    information_.ShowError(FormatMessage(TFormatMessage::InvalidStartNumber));
    Edt_StartNum->setFocus();
    Edt_StartNum->selectAll();
    return;
  }
  options_ = CurrentOptions();
  QDialog::accept();
}

}  // namespace kerv
