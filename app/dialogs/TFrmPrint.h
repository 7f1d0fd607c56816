#pragma once
// The print dialog: font, printer, margins, columns, header and footer with
// their variables, line numbers and copies; preview and print. Its values
// are section Printer of kerv.ini, read when it opens and written whenever
// it closes. Without a printer it prints into a PDF file.

#include <QDialog>
#include <QPrinter>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/settings/TKervPrinterSetting.h"
#include "platform/CodePage.h"
#include "print/IPrintJob.h"
#include "print/IPrintMeasurer.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;

namespace kerv {

class IKervInformation;
class QtLocalClock;
class QtPrintMeasurer;
class QtPrinterDevice;
class TFormStrPreview;
class TKervSettings;
class TStringsPrinter;

// What is printed, as the window supplies it.
struct TPrintSource {
  std::string fileName;   // the document's path (UTF-8), for %F and %f
  TPrintFont editorFont;  // the main editor's font (name in Shift_JIS)
  // The main editor's rows with their tabs expanded (Shift_JIS), collected
  // anew for every preview and print.
  std::function<std::vector<std::string>()> lines;
};

class TFrm_Print : public QDialog {
  Q_OBJECT

 public:
  TFrm_Print(TKervSettings& settings, ICodePage& codePage, IKervInformation& information, TPrintSource source,
             QWidget* parent = nullptr);
  ~TFrm_Print() override;

  // False when the settings could not be read: the error has been shown and
  // the dialog is not to be shown.
  bool Loaded() const { return loaded_; }

  // The controls' values as the settings store keeps them (the font keys
  // only while the editor-font box is off).
  TKervPrinterSetting CurrentSetting() const;
  // The font printing uses now.
  const TPrintFont& DialogFont() const { return font_; }
  // The controls copied into the printer, as preview and print do.
  void CopyToPrinter();
  TStringsPrinter& StringsPrinter() { return *printer_; }
  QPrinter& Printer() { return qprinter_; }
  // Whether pages go to a PDF file rather than a printer.
  bool PrintsToPdf() const;

  // The modal steps, replaceable (tests answer them without a window).
  // The PDF file to write; nothing when the user cancelled.
  std::function<std::optional<QString>(const QString& suggested)> AskPdfFileName;
  // Shows the preview until it closes.
  std::function<void(TFormStrPreview& preview)> ShowPreview;
  // The font dialog: true with the chosen font on OK.
  std::function<bool(const QFont& initial, QFont& chosen)> AskFont;
  // The help button.
  std::function<void()> OnHelp;

  QCheckBox* Chk_UseEditorFont;
  QPushButton* Btn_Font;
  QLabel* Lbl_Font;
  QPushButton* Btn_Printer;
  QLabel* Lbl_Printer;
  QSpinBox* Edt_TopMargin;
  QSpinBox* Edt_BottomMargin;
  QSpinBox* Edt_LeftMargin;
  QSpinBox* Edt_RightMargin;
  QComboBox* Cmb_Column;
  QSpinBox* Edt_ColumnSpace;
  QLineEdit* Edt_Header;
  QPushButton* Btn_HeaderSpecial;
  QComboBox* Cmb_HeaderAlign;
  QLineEdit* Edt_Footer;
  QPushButton* Btn_FooterSpecial;
  QComboBox* Cmb_FooterAlign;
  QCheckBox* Chk_LineNum;
  QSpinBox* Edt_Copies;
  QCheckBox* Chk_Collate;
  QPushButton* Btn_Preview;
  QPushButton* Btn_Print;
  QPushButton* Btn_Cancel;
  QPushButton* Btn_Help;
  // The "←特殊" menu of variables; it appends to the field it was opened for.
  QMenu* PMnu_Special;

 public slots:
  // "プレビュー(&W)": lays out and shows the preview; the dialog stays open.
  void Preview();
  // "印刷開始": prints, then closes whatever came of it (unless the PDF file
  // was not chosen).
  void Print();
  void ChooseFont();
  void SetupPrinter();
  // Opens the variables menu below button for field.
  void PopupSpecial(QLineEdit* field, QPushButton* button);
  // Appends one blank and variable (such as "%p") to the field the menu is for.
  void AppendVariable(const QString& variable);
  // Saves the settings whenever the dialog closes; closing is never refused.
  void done(int result) override;

 private:
  void BuildControls();
  void ReadSetting(const TKervPrinterSetting& setting);
  void RefreshFontLabel();
  void RefreshPrinterLabel();
  // The job for the current output; null when no PDF file was chosen.
  std::unique_ptr<IPrintJob> MakeJob();
  // Prints pages already laid out; false when nothing was sent (no file chosen).
  bool PrintPages(const class TMetaFileList& pages);
  void ShowPrintError(const std::exception& error);

  TKervSettings& settings_;
  ICodePage& codePage_;
  IKervInformation& information_;
  TPrintSource source_;
  bool loaded_ = false;
  TPrintFont font_;
  QPrinter qprinter_;
  std::unique_ptr<QtPrinterDevice> device_;
  std::unique_ptr<QtPrintMeasurer> measurer_;
  std::unique_ptr<QtLocalClock> clock_;
  std::unique_ptr<TStringsPrinter> printer_;
  QLineEdit* specialTarget_ = nullptr;
};

}  // namespace kerv
