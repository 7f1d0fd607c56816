#include "app/dialogs/TFrmPrint.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/commands/TKervInformation.h"
#include "app/dialogs/TFormStrPreview.h"
#include "app/dialogs/TFormStrProgress.h"
#include "app/settings/TKervSettingManager.h"
#include "document/TKervExceptionStringMaker.h"
#include "platform/qt/QtText.h"
#include "platform/qt/print/QtLocalClock.h"
#include "platform/qt/print/QtPdfOutput.h"
#include "platform/qt/print/QtPrintFont.h"
#include "platform/qt/print/QtPrintMeasurer.h"
#include "platform/qt/print/QtPrinterDevice.h"
#include "print/EPrintError.h"
#include "print/PrintMessages.h"
#include "print/TPageLayout.h"
#include "print/TStringsPrinter.h"

namespace kerv {
namespace {

QString Text(TPrintMessage id) { return Utf8(PrintMessage(id)); }

// The variables of the "←特殊" menu, in its order; null is a separator.
struct TVariableItem {
  TPrintMessage caption;
  const char* variable;
};
constexpr TVariableItem kVariables[] = {
    {TPrintMessage::VariablePage, "%p"},     {TPrintMessage::VariablePage, nullptr},
    {TPrintMessage::VariableYear, "%y"},     {TPrintMessage::VariableMonth, "%m"},
    {TPrintMessage::VariableDay, "%d"},      {TPrintMessage::VariableTime, "%t"},
    {TPrintMessage::VariablePage, nullptr},  {TPrintMessage::VariableFileName, "%F"},
    {TPrintMessage::VariableFullPath, "%f"},
};

QSpinBox* NumberBox(QWidget* parent, int low, int high) {
  auto* box = new QSpinBox(parent);
  box->setRange(low, high);
  return box;
}

QComboBox* AlignBox(QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->addItems({Text(TPrintMessage::AlignNone), Text(TPrintMessage::AlignLeft), Text(TPrintMessage::AlignCenter),
                 Text(TPrintMessage::AlignRight)});
  return box;
}

}  // namespace

TFrm_Print::TFrm_Print(TKervSettings& settings, ICodePage& codePage, IKervInformation& information,
                       TPrintSource source, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      codePage_(codePage),
      information_(information),
      source_(std::move(source)),
      qprinter_(QPrinter::HighResolution) {
  setWindowTitle(Text(TPrintMessage::DialogCaption));
  device_ = std::make_unique<QtPrinterDevice>(qprinter_, ScreenDpi());
  measurer_ = std::make_unique<QtPrintMeasurer>(codePage_, &qprinter_);
  clock_ = std::make_unique<QtLocalClock>();
  printer_ = std::make_unique<TStringsPrinter>(*device_, *measurer_, *clock_);
  BuildControls();

  AskPdfFileName = [this](const QString& suggested) -> std::optional<QString> {
    QFileDialog dialog(this, Text(TPrintMessage::PdfSaveCaption), suggested, Text(TPrintMessage::PdfFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front();
  };
  ShowPreview = [](TFormStrPreview& preview) { preview.exec(); };
  AskFont = [this](const QFont& initial, QFont& chosen) {
    bool ok = false;
    chosen = QFontDialog::getFont(&ok, initial, this);
    return ok;
  };

  TKervPrinterSetting setting(source_.editorFont);
  try {
    settings_.LoadSetting(setting);
  } catch (const std::exception&) {
    information_.ShowError(TKervExceptionStringMaker::Make(19001));
    return;
  }
  loaded_ = true;
  ReadSetting(setting);
}

TFrm_Print::~TFrm_Print() = default;

void TFrm_Print::BuildControls() {
  auto* layout = new QVBoxLayout(this);

  auto* fontRow = new QHBoxLayout;
  Chk_UseEditorFont = new QCheckBox(Text(TPrintMessage::UseEditorFont), this);
  Btn_Font = new QPushButton(Text(TPrintMessage::FontButton), this);
  fontRow->addWidget(Chk_UseEditorFont, 1);
  fontRow->addWidget(Btn_Font);
  layout->addLayout(fontRow);
  Lbl_Font = new QLabel(this);
  Lbl_Font->setTextFormat(Qt::PlainText);
  layout->addWidget(Lbl_Font);

  auto* printerRow = new QHBoxLayout;
  Lbl_Printer = new QLabel(this);
  Lbl_Printer->setTextFormat(Qt::PlainText);
  Btn_Printer = new QPushButton(Text(TPrintMessage::PrinterButton), this);
  printerRow->addWidget(Lbl_Printer, 1);
  printerRow->addWidget(Btn_Printer);
  layout->addLayout(printerRow);

  auto* boxes = new QHBoxLayout;
  auto* margins = new QGroupBox(Text(TPrintMessage::MarginGroup), this);
  auto* marginGrid = new QGridLayout(margins);
  Edt_TopMargin = NumberBox(margins, 0, 100);
  Edt_BottomMargin = NumberBox(margins, 0, 100);
  Edt_LeftMargin = NumberBox(margins, 0, 100);
  Edt_RightMargin = NumberBox(margins, 0, 100);
  marginGrid->addWidget(new QLabel(Text(TPrintMessage::MarginTop), margins), 0, 0);
  marginGrid->addWidget(Edt_TopMargin, 0, 1);
  marginGrid->addWidget(new QLabel(Text(TPrintMessage::MarginBottom), margins), 0, 2);
  marginGrid->addWidget(Edt_BottomMargin, 0, 3);
  marginGrid->addWidget(new QLabel(Text(TPrintMessage::MarginLeft), margins), 1, 0);
  marginGrid->addWidget(Edt_LeftMargin, 1, 1);
  marginGrid->addWidget(new QLabel(Text(TPrintMessage::MarginRight), margins), 1, 2);
  marginGrid->addWidget(Edt_RightMargin, 1, 3);
  boxes->addWidget(margins);

  auto* columns = new QGroupBox(Text(TPrintMessage::ColumnGroup), this);
  auto* columnGrid = new QGridLayout(columns);
  Cmb_Column = new QComboBox(columns);
  Cmb_Column->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
  Edt_ColumnSpace = NumberBox(columns, 0, 100);
  auto* countLabel = new QLabel(Text(TPrintMessage::ColumnCountLabel), columns);
  countLabel->setBuddy(Cmb_Column);
  auto* spaceLabel = new QLabel(Text(TPrintMessage::ColumnSpaceLabel), columns);
  spaceLabel->setBuddy(Edt_ColumnSpace);
  columnGrid->addWidget(countLabel, 0, 0);
  columnGrid->addWidget(Cmb_Column, 0, 1);
  columnGrid->addWidget(spaceLabel, 1, 0);
  columnGrid->addWidget(Edt_ColumnSpace, 1, 1);
  columnGrid->addWidget(new QLabel(Text(TPrintMessage::MillimetreUnit), columns), 1, 2);
  boxes->addWidget(columns);
  layout->addLayout(boxes);

  auto* bands = new QGridLayout;
  auto band = [&](int row, TPrintMessage caption, QLineEdit*& field, QPushButton*& special, QComboBox*& align) {
    field = new QLineEdit(this);
    special = new QPushButton(Text(TPrintMessage::SpecialButton), this);
    special->setAutoDefault(false);
    align = AlignBox(this);
    auto* label = new QLabel(Text(caption), this);
    label->setBuddy(field);
    bands->addWidget(label, row, 0);
    bands->addWidget(field, row, 1);
    bands->addWidget(special, row, 2);
    bands->addWidget(align, row, 3);
  };
  band(0, TPrintMessage::HeaderLabel, Edt_Header, Btn_HeaderSpecial, Cmb_HeaderAlign);
  band(1, TPrintMessage::FooterLabel, Edt_Footer, Btn_FooterSpecial, Cmb_FooterAlign);
  bands->setColumnStretch(1, 1);
  layout->addLayout(bands);

  Chk_LineNum = new QCheckBox(Text(TPrintMessage::LineNumberBox), this);
  layout->addWidget(Chk_LineNum);

  auto* copiesRow = new QHBoxLayout;
  Edt_Copies = NumberBox(this, 1, 999);
  Chk_Collate = new QCheckBox(Text(TPrintMessage::CollateBox), this);
  copiesRow->addWidget(new QLabel(Text(TPrintMessage::CopiesLabel), this));
  copiesRow->addWidget(Edt_Copies);
  copiesRow->addWidget(new QLabel(Text(TPrintMessage::CopiesUnit), this));
  copiesRow->addSpacing(16);
  copiesRow->addWidget(Chk_Collate);
  copiesRow->addStretch(1);
  layout->addLayout(copiesRow);

  auto* buttons = new QHBoxLayout;
  Btn_Preview = new QPushButton(Text(TPrintMessage::PreviewButton), this);
  Btn_Print = new QPushButton(Text(TPrintMessage::PrintButton), this);
  Btn_Cancel = new QPushButton(Text(TPrintMessage::CancelButton), this);
  Btn_Help = new QPushButton(Text(TPrintMessage::HelpButton), this);
  Btn_Print->setDefault(true);
  for (QPushButton* button : {Btn_Preview, Btn_Cancel, Btn_Help, Btn_Font, Btn_Printer}) button->setAutoDefault(false);
  buttons->addStretch(1);
  for (QPushButton* button : {Btn_Preview, Btn_Print, Btn_Cancel, Btn_Help}) buttons->addWidget(button);
  layout->addLayout(buttons);

  PMnu_Special = new QMenu(this);
  for (const TVariableItem& item : kVariables) {
    if (item.variable == nullptr) {
      PMnu_Special->addSeparator();
      continue;
    }
    QAction* action = PMnu_Special->addAction(Text(item.caption));
    const QString variable = QString::fromLatin1(item.variable);
    connect(action, &QAction::triggered, this, [this, variable] { AppendVariable(variable); });
  }

  connect(Chk_UseEditorFont, &QCheckBox::toggled, this, [this](bool on) {
    Btn_Font->setEnabled(!on);
    if (on) font_ = source_.editorFont;
    RefreshFontLabel();
  });
  connect(Btn_Font, &QPushButton::clicked, this, &TFrm_Print::ChooseFont);
  connect(Btn_Printer, &QPushButton::clicked, this, &TFrm_Print::SetupPrinter);
  connect(Btn_HeaderSpecial, &QPushButton::clicked, this, [this] { PopupSpecial(Edt_Header, Btn_HeaderSpecial); });
  connect(Btn_FooterSpecial, &QPushButton::clicked, this, [this] { PopupSpecial(Edt_Footer, Btn_FooterSpecial); });
  connect(Btn_Preview, &QPushButton::clicked, this, &TFrm_Print::Preview);
  connect(Btn_Print, &QPushButton::clicked, this, &TFrm_Print::Print);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(Btn_Help, &QPushButton::clicked, this, [this] {
    if (OnHelp) OnHelp();
  });
}

void TFrm_Print::ReadSetting(const TKervPrinterSetting& setting) {
  Chk_UseEditorFont->setChecked(setting.UseEditorFont);
  font_ = setting.UseEditorFont ? source_.editorFont : setting.StoredFont();
  Btn_Font->setEnabled(!setting.UseEditorFont);
  Edt_TopMargin->setValue(setting.TopMargin);
  Edt_BottomMargin->setValue(setting.BottomMargin);
  Edt_LeftMargin->setValue(setting.LeftMargin);
  Edt_RightMargin->setValue(setting.RightMargin);
  // A stored index outside the combo leaves it without a choice, as read.
  Cmb_Column->setCurrentIndex(setting.ColumnNum >= 0 && setting.ColumnNum < 3 ? setting.ColumnNum : -1);
  Edt_ColumnSpace->setValue(setting.ColumnSpace);
  Edt_Header->setText(SjisToQString(codePage_, setting.Header));
  Cmb_HeaderAlign->setCurrentIndex(setting.HeaderAlign >= 0 && setting.HeaderAlign < 4 ? setting.HeaderAlign : -1);
  Edt_Footer->setText(SjisToQString(codePage_, setting.Footer));
  Cmb_FooterAlign->setCurrentIndex(setting.FooterAlign >= 0 && setting.FooterAlign < 4 ? setting.FooterAlign : -1);
  Chk_LineNum->setChecked(setting.LineNum);
  Edt_Copies->setValue(setting.Copies);
  Chk_Collate->setChecked(setting.Collate);
  RefreshFontLabel();
  RefreshPrinterLabel();
}

TKervPrinterSetting TFrm_Print::CurrentSetting() const {
  TKervPrinterSetting setting(source_.editorFont);
  setting.UseEditorFont = Chk_UseEditorFont->isChecked();
  setting.SetStoredFont(font_);
  setting.TopMargin = Edt_TopMargin->value();
  setting.LeftMargin = Edt_LeftMargin->value();
  setting.BottomMargin = Edt_BottomMargin->value();
  setting.RightMargin = Edt_RightMargin->value();
  setting.ColumnNum = Cmb_Column->currentIndex();
  setting.ColumnSpace = Edt_ColumnSpace->value();
  setting.LineNum = Chk_LineNum->isChecked();
  setting.Header = QStringToSjis(codePage_, Edt_Header->text());
  setting.HeaderAlign = Cmb_HeaderAlign->currentIndex();
  setting.Footer = QStringToSjis(codePage_, Edt_Footer->text());
  setting.FooterAlign = Cmb_FooterAlign->currentIndex();
  setting.Copies = Edt_Copies->value();
  setting.Collate = Chk_Collate->isChecked();
  return setting;
}

void TFrm_Print::RefreshFontLabel() {
  Lbl_Font->setText(Text(TPrintMessage::FontLabelName) + SjisToQString(codePage_, font_.name) +
                    Text(TPrintMessage::FontLabelSize) + QString::number(font_.size));
}

void TFrm_Print::RefreshPrinterLabel() {
  Lbl_Printer->setText(Text(TPrintMessage::PrinterLabel) + Utf8(printer_->PrinterInfo().PrinterName()));
}

bool TFrm_Print::PrintsToPdf() const { return device_->PrintsToPdf(); }

void TFrm_Print::CopyToPrinter() {
  TStringsPrinter& p = *printer_;
  p.SetFont(font_);
  p.SetMarginTop(Edt_TopMargin->value());
  p.SetMarginBottom(Edt_BottomMargin->value());
  p.SetMarginLeft(Edt_LeftMargin->value());
  p.SetMarginRight(Edt_RightMargin->value());
  p.SetFileName(codePage_.Utf8ToCp932(source_.fileName, nullptr));
  p.SetColumnCount(Cmb_Column->currentIndex() + 1);
  p.SetColumnSpace(Edt_ColumnSpace->value());
  p.SetLineNumber(Chk_LineNum->isChecked());
  p.SetHeader(QStringToSjis(codePage_, Edt_Header->text()));
  p.SetFooter(QStringToSjis(codePage_, Edt_Footer->text()));
  if (auto align = HeaderAlignFromIndex(Cmb_HeaderAlign->currentIndex())) p.SetHeaderAlign(*align);
  if (auto align = HeaderAlignFromIndex(Cmb_FooterAlign->currentIndex())) p.SetFooterAlign(*align);
  p.SetCopies(Edt_Copies->value());
  p.SetCollate(Chk_Collate->isChecked());
}

std::unique_ptr<IPrintJob> TFrm_Print::MakeJob() {
  if (!PrintsToPdf()) return std::make_unique<QtPrinterJob>(qprinter_, codePage_);
  QString suggested = qprinter_.outputFileName();
  if (suggested.isEmpty()) {
    const QFileInfo document(QString::fromStdString(source_.fileName));
    const QString folder = document.isAbsolute() && document.dir().exists() ? document.absolutePath() : QDir::homePath();
    suggested = folder + QLatin1Char('/') + document.completeBaseName() + QStringLiteral(".pdf");
  }
  const std::optional<QString> fileName = AskPdfFileName(suggested);
  if (!fileName || fileName->isEmpty()) return nullptr;
  // The next print offers the same file.
  qprinter_.setOutputFileName(*fileName);
  return std::make_unique<QtPdfJob>(*fileName, device_->PdfLayout(), codePage_,
                                    QFileInfo(QString::fromStdString(source_.fileName)).fileName());
}

void TFrm_Print::ShowPrintError(const std::exception& error) { information_.ShowError(error.what()); }

bool TFrm_Print::PrintPages(const TMetaFileList& pages) {
  std::unique_ptr<IPrintJob> job = MakeJob();
  if (!job) return false;
  try {
    printer_->PrintPages(pages, *job);
  } catch (const std::exception& error) {
    ShowPrintError(error);
  }
  return true;
}

void TFrm_Print::Preview() {
  CopyToPrinter();
  const std::vector<std::string> lines = source_.lines();
  TMetaFileList pages;
  bool printed = false;
  try {
    TPageLayout layout(*printer_, lines, pages);
    // The first page under the progress window; the preview lays out the
    // rest while it is open.
    {
      TFormStrProgress progress(this);
      const std::string text = PrintMessage(TPrintMessage::ProgressPreviewing);
      progress.Show(text);
      const int64_t total = static_cast<int64_t>(lines.size()) - 1;
      while (layout.CompletePages() < 1) {
        progress.Update(text, total, static_cast<int64_t>(layout.LinesDone()));
        if (progress.Cancelled()) return;
        layout.Step();
      }
      progress.Close();
    }
    TFormStrPreview preview(pages, &layout, printer_->PrintOffsets(), printer_->ScreenRatio(), codePage_, this);
    preview.OnPrint = [&] {
      if (!PrintPages(pages)) return;
      printed = true;
      preview.accept();
    };
    ShowPreview(preview);
  } catch (const std::exception& error) {
    ShowPrintError(error);
  }
  // Printing from the preview is printing: the dialog's work is done.
  if (printed) accept();
}

void TFrm_Print::Print() {
  CopyToPrinter();
  const std::vector<std::string> lines = source_.lines();
  // Settings that leave no room are refused before a file is asked for, and
  // the dialog stays open to mend them.
  try {
    printer_->Geometry(lines.size());
  } catch (const EPrintError& error) {
    ShowPrintError(error);
    return;
  }
  std::unique_ptr<IPrintJob> job = MakeJob();
  if (!job) return;
  TFormStrProgress progress(this);
  printer_->SetProgress(&progress);
  try {
    printer_->Print(lines, *job);
  } catch (const std::exception& error) {
    ShowPrintError(error);
  }
  printer_->SetProgress(nullptr);
  accept();
}

void TFrm_Print::ChooseFont() {
  QFont chosen;
  if (!AskFont(PrintFontToQFont(font_, codePage_), chosen)) return;
  font_ = QFontToPrintFont(chosen, codePage_, font_);
  RefreshFontLabel();
}

void TFrm_Print::SetupPrinter() {
  if (!qprinter_.isValid()) {
    QApplication::beep();
    information_.ShowError(PrintMessage(TPrintMessage::PrinterSetupFailed));
    return;
  }
  QPrintDialog dialog(&qprinter_, this);
  // Only the printer, its paper and the output are chosen here; the rest
  // is this dialog's.
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
  // Choosing here prints nothing yet: the button says so.
  for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>()) {
    if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
  }
  if (dialog.exec() != QDialog::Accepted) return;
  RefreshPrinterLabel();
}

void TFrm_Print::PopupSpecial(QLineEdit* field, QPushButton* button) {
  specialTarget_ = field;
  PMnu_Special->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void TFrm_Print::AppendVariable(const QString& variable) {
  if (specialTarget_ == nullptr) return;
  specialTarget_->setText(specialTarget_->text() + QLatin1Char(' ') + variable);
}

void TFrm_Print::done(int result) {
  if (loaded_) {
    try {
      TKervPrinterSetting setting = CurrentSetting();
      settings_.SaveSetting(setting);
    } catch (const std::exception&) {
      // A settings file that cannot be written keeps its older values.
    }
  }
  QDialog::done(result);
}

}  // namespace kerv
