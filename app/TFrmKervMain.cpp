#include "app/TFrmKervMain.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "app/TKervMessages.h"
#include "app/TKervParameter.h"
#include "app/TKervSystem.h"

namespace kerv {
namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A fixed font whose half-width cells are exactly half of its full-width ones,
// so columns counted in bytes line up on screen.
QFont EditorFont() {
  QFont font(QStringLiteral("VL Gothic"));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSize(11);
  return font;
}

}  // namespace

TFrmKervMain::TFrmKervMain(TKervSystem& system, std::vector<std::string> arguments)
    : system_(system), arguments_(std::move(arguments)) {
  FormCreate();
}

TFrmKervMain::~TFrmKervMain() = default;

void TFrmKervMain::FormCreate() {
  setObjectName(QStringLiteral("TFrmKervMain"));
  setAcceptDrops(true);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  // Until the editor control exists, the text is shown read-only.
  editor_ = new QPlainTextEdit(central);
  editor_->setObjectName(QStringLiteral("Editor"));
  editor_->setReadOnly(true);
  editor_->setFont(EditorFont());
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  editor_->setTabStopDistance(QFontMetricsF(editor_->font()).horizontalAdvance(QLatin1Char(' ')) * 8);
  layout->addWidget(editor_, 1);

  infoBar_ = new QLabel(central);
  infoBar_->setObjectName(QStringLiteral("Pnl_InfoBar"));
  infoBar_->setFrameShape(QFrame::StyledPanel);
  infoBar_->setContentsMargins(4, 2, 4, 2);
  layout->addWidget(infoBar_);
  setCentralWidget(central);

  caretCell_ = new QLabel(this);
  codeCell_ = new QLabel(this);
  returnCell_ = new QLabel(this);
  for (QLabel* cell : {caretCell_, codeCell_, returnCell_}) {
    cell->setContentsMargins(6, 0, 6, 0);
    statusBar()->addPermanentWidget(cell);
  }
  resize(640, 300);
  move(100, 100);
  Initialize();
}

void TFrmKervMain::Initialize() {
  fileName_ = messages::kUntitled;
  SetCodes(1, 1);
  SetCaretPos(1, 1);
  ProcessCommandLine();
  if (!startedOk_) return;
  RefreshTitle();
  if (fileName_ == messages::kUntitled) ShowNotice(QString::fromUtf8(messages::kWelcome));
}

void TFrmKervMain::ProcessCommandLine() {
  parameter_ = std::make_unique<TKervParameter>(system_, arguments_);
  parameter_->LaunchRest();
  if (!parameter_->FileName.empty() && !OpenFile(parameter_->FileName, parameter_->CharCode)) startedOk_ = false;
}

bool TFrmKervMain::OpenFile(const std::string& fileName, int charCode) {
  (void)charCode;
  std::string bytes;
  try {
    bytes = system_.Platform().fs.ReadFile(fileName);
  } catch (const EFileError&) {
    system_.ShowErrorCode(10052, fileName);
    return false;
  }
  std::u16string text = system_.Platform().codePage.Cp932ToUtf16(bytes);
  editor_->setPlainText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
  fileName_ = fileName;
  SetCodes(1, 1);
  return true;
}

void TFrmKervMain::Place() {
  if (parameter_ && parameter_->ShowMinimized && !parameter_->ShowNormal) {
    showMinimized();
  } else {
    show();
  }
}

void TFrmKervMain::RefreshTitle() {
  setWindowTitle(FromUtf8(fileName_) + QStringLiteral(" - ") + QString::fromUtf8(TKervSystem::ProductName()));
}

void TFrmKervMain::SetCaretPos(int line, int col) {
  caretCell_->setText(QString::number(line) + QString::fromUtf8("行: ") + QString::number(col) + QString::fromUtf8("桁"));
}

void TFrmKervMain::SetCodes(int charCode, int returnCode) {
  static const char* const kCodeNames[] = {"ASCII", "Shift-JIS", "JIS", "EUC", "Unicode", "Unicode(BE)", "UTF-8", "UTF-8N"};
  static const char* const kReturnNames[] = {"CRLF", "CRLF", "LF", "CR"};
  codeCell_->setText(QString::fromUtf8(charCode >= 0 && charCode <= 7 ? kCodeNames[charCode] : "Binary"));
  returnCell_->setText(QString::fromUtf8(returnCode >= 0 && returnCode <= 3 ? kReturnNames[returnCode] : "CRLF"));
}

void TFrmKervMain::ShowNotice(const QString& text) { infoBar_->setText(text); }

QString TFrmKervMain::CaretText() const { return caretCell_->text(); }
QString TFrmKervMain::CodeText() const { return codeCell_->text(); }
QString TFrmKervMain::ReturnText() const { return returnCell_->text(); }
QString TFrmKervMain::InfoText() const { return infoBar_->text(); }
QString TFrmKervMain::DocumentText() const { return editor_->toPlainText(); }

void TFrmKervMain::closeEvent(QCloseEvent* event) {
  if (!system_.CanClose()) {
    event->ignore();
    return;
  }
  system_.PrepareClose();
  event->accept();
}

}  // namespace kerv
