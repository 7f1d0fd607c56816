#include "app/TFrmKervMain.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "app/TKervMessages.h"
#include "app/TKervParameter.h"
#include "app/TKervSystem.h"
#include "app/TKervWindowInitializer.h"
#include "document/TFileManager.h"
#include "editmode/TKervEditModeManager.h"
#include "editor/TEditorStringList.h"
#include "ui/TEditorWidget.h"

namespace kerv {

// The edit-mode manager's questions and notices, through the window.
class TKervEditModeUser : public IEditModeUser {
 public:
  TKervEditModeUser(TKervSystem& system, std::function<void(const QString&)> notice)
      : system_(system), notice_(std::move(notice)) {}
  void NoticeError(const std::string& text) override { notice_(QString::fromUtf8(text.c_str())); }
  void ShowError(const std::string& text) override {
    system_.Platform().dialogs.MessageBox(messages::kCaptionError, text, IDialogs::Icon::Error, IDialogs::Buttons::Ok);
  }
  void ShowErrorCode(int code, const std::optional<std::string>& argument) override {
    system_.ShowErrorCode(code, argument);
  }
  bool Confirm(const std::string& text) override {
    return system_.Platform().dialogs.MessageBox(messages::kCaptionConfirm, text, IDialogs::Icon::Question,
                                                 IDialogs::Buttons::YesNo) == IDialogs::Answer::Yes;
  }
  void RefuseName(const std::string& text) override {
    system_.Platform().dialogs.MessageBox(messages::kCaptionError, text, IDialogs::Icon::Error, IDialogs::Buttons::Ok);
  }

 private:
  TKervSystem& system_;
  std::function<void(const QString&)> notice_;
};

namespace {

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

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

  editor_ = new TEditorWidget(system_.Platform().codePage, central);
  editor_->setObjectName(QStringLiteral("Editor"));
  TEditor& editor = editor_->Editor();
  // Its look comes from the edit mode applied at start-up (ApplyModeForFile).
  editor.SetVersion(5.0);
  editor.OnCaretMoved = [this](TEditor&) { EditorCaretMoved(); };
  editor_->OnNotice = [this](const QString& text) { ShowNotice(text); };
  editor_->OnDblClick = [](TEditor& sender) { sender.SelectWordAtCaret(); };
  layout->addWidget(editor_, 1);
  setFocusProxy(editor_);

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
  CreateActions();
  Initialize();
}

QAction* TFrmKervMain::AddAction(QMenu* menu, const char* name, const char* caption, const QKeySequence& shortcut,
                                 std::function<void()> run, bool checkable) {
  auto* action = new QAction(QString::fromUtf8(caption), this);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(shortcut);
  action->setCheckable(checkable);
  // Shortcuts reach the window wherever the focus is inside it.
  action->setShortcutContext(Qt::WindowShortcut);
  connect(action, &QAction::triggered, this, [run] { run(); });
  menu->addAction(action);
  addAction(action);
  return action;
}

void TFrmKervMain::CreateActions() {
  TEditor& editor = editor_->Editor();
  QMenu* edit = menuBar()->addMenu(QString::fromUtf8("編集(&E)"));
  AddAction(edit, "Act_Edit_Undo", "元に戻す(&U)", QKeySequence(Qt::CTRL | Qt::Key_Z), [&editor] { editor.Undo(); });
  AddAction(edit, "Act_Edit_Redo", "やり直し(&O)", QKeySequence(Qt::CTRL | Qt::Key_Y), [&editor] { editor.Redo(); });
  edit->addSeparator();
  AddAction(edit, "Act_Edit_Cut", "切り取り(&T)", QKeySequence(Qt::CTRL | Qt::Key_X), [&editor] { editor.CutToClipboard(); });
  AddAction(edit, "Act_Edit_Copy", "コピー(&C)", QKeySequence(Qt::CTRL | Qt::Key_C), [&editor] { editor.CopyToClipboard(); });
  AddAction(edit, "Act_Edit_Paste", "貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V), [&editor] { editor.PasteFromClipboard(); });
  edit->addSeparator();
  AddAction(edit, "Act_Edit_Select", "すべて選択(&A)", QKeySequence(Qt::CTRL | Qt::Key_A), [&editor] { editor.SelectAll(); });
  QAction* box = AddAction(edit, "Act_Edit_BoxSelect", "矩形選択(&R)", QKeySequence(Qt::CTRL | Qt::Key_B), [] {}, true);
  connect(box, &QAction::toggled, this, [&editor](bool on) { editor.SetSelectionMode(on ? smBox : smNormal); });
  editor.OnSelectionModeChange = [box](TEditor& sender) { box->setChecked(sender.SelectionMode() == smBox); };

  QMenu* view = menuBar()->addMenu(QString::fromUtf8("表示(&V)"));
  lineNumbersAction_ = AddAction(view, "Act_View_LineNum", "行番号(&L)", QKeySequence(), [] {}, true);
  connect(lineNumbersAction_, &QAction::toggled, this, [&editor](bool on) { editor.Leftbar().SetVisible(on); });
  rulerAction_ = AddAction(view, "Act_View_Ruler", "ルーラー(&R)", QKeySequence(), [] {}, true);
  connect(rulerAction_, &QAction::toggled, this, [&editor](bool on) { editor.Ruler().SetVisible(on); });
  wordWrapAction_ = AddAction(view, "Act_View_WordWrap", "ワードラップを行なう(&W)", QKeySequence(), [] {}, true);
  connect(wordWrapAction_, &QAction::toggled, this, [&editor](bool on) { editor.SetWordWrap(on); });
}

void TFrmKervMain::Initialize() {
  TKervPlatform& platform = system_.Platform();
  modeUser_ = std::make_unique<TKervEditModeUser>(system_, [this](const QString& text) { ShowNotice(text); });
  modes_ = std::make_unique<TKervEditModeManager>(platform.fs, platform.codePage, *modeUser_, system_.SettingFolder());
  // A new settings folder gets the modes shipped beside the program.
  modes_->SeedShippedModes(system_.ProgramFilePath("modes/"));
  modes_->LoadAssociations();
  fileName_ = messages::kUntitled;
  ApplyModeForFile(fileName_);
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
  ApplyModeForFile(fileName);
  TMemoryStream stream(text);
  TEditor& editor = editor_->Editor();
  editor.Lines().LoadFromStream(stream);
  editor.ClearUndo();
  editor.SetModified(false);
  editor.SetRow(0);
  editor.SetCol(0);
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

void TFrmKervMain::ApplyModeForFile(const std::string& fileName) {
  if (!modes_) return;
  TModeSwitch result = modes_->ChangeModeForFile(fileName, false);
  if (result == TModeSwitch::Failed) return;
  TEditor& editor = editor_->Editor();
  const TEditorPropEx& mode = modes_->Current();
  mode.AssignTo(editor);
  editor_->SetWhitespaceMarks({mode.ShowTab(), mode.ShowSpace(), mode.ShowDoubleSpace(), mode.TabMarkColor()});
  // The window shows both scroll bars whatever the mode says.
  editor.SetScrollBars(ssBoth);
  // The view actions show what the mode set.
  lineNumbersAction_->setChecked(editor.Leftbar().Visible());
  rulerAction_->setChecked(editor.Ruler().Visible());
  wordWrapAction_->setChecked(editor.WordWrap());
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
QString TFrmKervMain::DocumentText() const { return editor_->FromInternal(editor_->Editor().RowStore().GetText()); }

void TFrmKervMain::EditorCaretMoved() {
  TEditor& editor = editor_->Editor();
  SetCaretPos(editor.RowToLine(editor.Row()) + 1, editor.Col() + 1);
}

void TFrmKervMain::closeEvent(QCloseEvent* event) {
  if (!system_.CanClose()) {
    event->ignore();
    return;
  }
  system_.PrepareClose();
  event->accept();
}

}  // namespace kerv
