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
#include "app/TKervWindowInitializer.h"
#include "document/TFileManager.h"
#include "editor/TEditorStringList.h"

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
  TKervPlatform& platform = system_.Platform();
  TFileManager files(platform.fs, platform.codePage, platform.dialogs);
  std::string text;
  TReturnCode returnCode = rcCRLF;
  TCharCode code = static_cast<TCharCode>(charCode);
  TLoadReport report;
  try {
    if (!files.LoadText(fileName, text, false, true, returnCode, code, &report)) return false;
  } catch (const EFileError&) {
    system_.ShowErrorCode(10052, fileName);
    return false;
  }
  // The text takes the editor's path: into the line store, and shown from there.
  TEditorStringList rows;
  TMemoryStream stream(text);
  rows.LoadFromStream(stream);
  std::u16string shown = platform.codePage.Cp932ToUtf16(rows.GetText());
  editor_->setPlainText(QString::fromUtf16(shown.data(), static_cast<qsizetype>(shown.size())));
  fileName_ = fileName;
  SetCodes(code, returnCode);
  // Characters that were replaced would be lost by a save: say so before one can happen.
  std::string warning = TFileManager::LoadWarning(report);
  if (!warning.empty()) {
    platform.dialogs.MessageBox(messages::kCaptionWarning, fileName + "\r\n" + warning, IDialogs::Icon::Warning,
                                IDialogs::Buttons::Ok);
  }
  return true;
}

void TFrmKervMain::Place() {
  int showMode = 0;
  if (parameter_) showMode = parameter_->ShowNormal ? 1 : parameter_->ShowMinimized ? 2 : 0;
  // Until the settings store and the window list exist: the defaults, and no other window.
  TKervWindowPlacement placement = TKervWindowInitializer::Apply(TKervWindowSettings(), 0, showMode);
  if (!placement.setPosition) {
    resize(placement.width, placement.height);
    show();
    return;
  }
  setGeometry(placement.x, placement.y, placement.width, placement.height);
  switch (placement.state) {
    case TKervShowState::Minimized: showMinimized(); break;
    case TKervShowState::Maximized: showMaximized(); break;
    case TKervShowState::Normal: showNormal(); break;
  }
}

void TFrmKervMain::RefreshTitle() {
  setWindowTitle(FromUtf8(fileName_) + QStringLiteral(" - ") + QString::fromUtf8(TKervSystem::ProductName()));
}

void TFrmKervMain::SetCaretPos(int line, int col) {
  caretCell_->setText(QString::number(line) + QString::fromUtf8("行: ") + QString::number(col) + QString::fromUtf8("桁"));
}

void TFrmKervMain::SetCodes(int charCode, int returnCode) {
  codeCell_->setText(QString::fromUtf8(CharCodeName(static_cast<TCharCode>(charCode))));
  const char* returnName = returnCode == rcLF ? "LF" : returnCode == rcCR ? "CR" : "CRLF";
  returnCell_->setText(QString::fromUtf8(returnName));
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
