#include "app/window/TKervWindowCommands.h"

#include "platform/qt/QtText.h"
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCompleter>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStatusBar>
#include <QStyle>
#include <QSysInfo>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include "app/commands/TKervEditModeCommand.h"
#include "app/commands/TKervEditorCommand.h"
#include "app/dialogs/TFrmEditModeSetting.h"
#include "app/commands/TKervEditorDocument.h"
#include "app/commands/TKervFileCommand.h"
#include "app/commands/TKervFileWindow.h"
#include "app/commands/TKervFormatCommand.h"
#include "app/commands/TKervSearchCommand.h"
#include "app/dialogs/TFrmReplacing.h"
#include "app/dialogs/TFrmSearchOp.h"
#include "app/dialogs/TFrmKervSetting.h"
#include "app/dialogs/TKervFormatDialogsQt.h"
#include "app/dialogs/TQtCollator.h"
#include "document/TKervFileManager.h"
#include "platform/posix/PosixFileLock.h"
#include "platform/qt/QtFileDialogs.h"
#include "app/TKervMessages.h"
#include "app/TKervParameter.h"
#include "app/TKervProcessManager.h"
#include "app/settings/TKervSettingManager.h"
#include "app/window/TKervStatusTexts.h"
#include "app/TKervSystem.h"
#include "app/window/TKervWindowInitializer.h"
#include "app/window/TKervEditorManager.h"
#include "app/window/TKervInformation.h"
#include "document/TFileManager.h"
#include "editmode/TKervAutoIndent.h"
#include "editmode/TKervEditModeManager.h"
#include "editor/TEditor.h"
#include "editor/TEditorStringList.h"
#include "platform/qt/QtChannelNotifier.h"
#include "platform/qt/QtClipboard.h"
#include "search/SearchFlags.h"
#include "ui/TEditorWidget.h"
#include "app/window/TFrmKervMain.h"
#include "app/window/TKervWindowCommands.h"

namespace kerv {

// What the other windows ask of this one.
class TKervWindowPort : public IKervWindowPort {
 public:
  explicit TKervWindowPort(TFrmKervMain& window) : window_(window) {}
  std::string FileName() override { return window_.fileManager_->FileName(); }
  std::string Caption() override { return window_.windowTitle().toStdString(); }
  int DialogState() override { return window_.state_.DialogState; }
  void Restore() override {
    if (window_.isMinimized()) window_.showNormal();
  }
  void BringToFront() override {
    window_.raise();
    window_.activateWindow();
  }
  void ReloadSettings() override { window_.Settings().ReloadRequested(); }
  void AddSearchHistory(const std::string& word) override {
    if (window_.searchCommand_) window_.searchCommand_->AddSearchHistory(word, false);
  }
  void AddReplaceHistory(const std::string& word) override {
    if (window_.searchCommand_) window_.searchCommand_->AddReplaceHistory(word, false);
  }
  void CloseWindow() override { QMetaObject::invokeMethod(&window_, [this] { window_.close(); }, Qt::QueuedConnection); }

 private:
  TFrmKervMain& window_;
};

// ==== TKervMessageHandlerCommand
TKervMessageHandlerCommand::TKervMessageHandlerCommand(TKervSystem& system, TFrmKervMain& window)
    : TKervWindowBoundCommand(system, window), port_(std::make_unique<TKervWindowPort>(window)) {
  TKervPlatform& platform = system.Platform();
  if (!platform.channel) return;
  processes_ = std::make_unique<TKervProcessManager>(*platform.channel, *port_, platform.fs);
  if (processes_->AssignNumber()) new QtChannelNotifier(*platform.channel, &window);
}

// The window leaves the list of running windows before it is gone.
TKervMessageHandlerCommand::~TKervMessageHandlerCommand() = default;

// ==== TKervWindowCommand
void TKervWindowCommand::NewWindow() { w_.system_.LaunchNewProcess({}); }

// ==== TKervInformationCommand
void TKervInformationCommand::ShowCaretPos() {
  const TEditor& editor = w_.editors_->ActiveEditor();
  w_.information_->SetCaretPos(TKervEditorCommand::CaretLine(editor), TKervEditorCommand::CaretColumn(editor));
}

void TKervInformationCommand::CountCharacters() {
  const TKervCharCount count = CharCountTexts(w_.editors_->MainEditor().RowStore().GetText(), w_.fileManager_->ReturnCode());
  if (w_.Settings().InfoBar().UseInfoBar && w_.information_->InfoBarShown()) {
    w_.information_->ShowNotice(count.characters + " / " + count.bytes, IKervInformation::nlInformation);
  } else {
    QMessageBox::information(&w_, QString::fromUtf8("文字数カウンタ"),
                             Utf8(count.characters) + QStringLiteral("\r\n") + Utf8(count.bytes));
  }
}

void TKervInformationCommand::ShowAsciiCode() {
  TEditor& editor = w_.editors_->ActiveEditor();
  if (!editor.Selected()) return;
  const std::string digits = AsciiCodeText(editor.SelText());
  if (w_.Settings().InfoBar().UseInfoBar && w_.information_->InfoBarShown()) {
    w_.information_->ShowNotice("ASCIIコード:" + digits, IKervInformation::nlInformation);
  } else {
    QMessageBox::information(&w_, QString::fromUtf8("ASCIIコード表示"), Utf8(digits));
  }
}

void TKervInformationCommand::ShowClipboard() {
  const std::string text = w_.clipboard_->Text().text;
  const std::string body = w_.system_.Platform().codePage.Cp932ToUtf8(ClipboardNoticeBody(text));
  w_.information_->ShowNotice("クリップボード : " + body + " (" + std::to_string(text.size()) + "Byte)",
                           IKervInformation::nlPlain);
}

QString TKervInformationCommand::NowText() {
  // The system's short date and a long time.
  const QDateTime now = QDateTime::currentDateTime();
  return QLocale::system().toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
         now.time().toString(QStringLiteral("HH:mm:ss"));
}

void TKervInformationCommand::ShowNow() {
  w_.information_->ShowNotice(NowText().toStdString(), IKervInformation::nlPlain);
}

QString TKervInformationCommand::HelpFile() const {
  // Beside the program in a build tree, in the data folder when installed.
  const QString file = QString::fromStdString(w_.system_.DataFolder()) + QStringLiteral("help/index.html");
  return QFileInfo::exists(file) ? QFileInfo(file).absoluteFilePath() : QString();
}

void TKervInformationCommand::ShowHelp() {
  const QString file = HelpFile();
  if (file.isEmpty()) return;
  w_.system_.ShellOpen(file.toStdString(), {});
}

// ==== TKervDialogCommand
bool TKervDialogCommand::MayOpenDialog(int dialogState) {
  return !w_.processes_ || !w_.processes_->ActivateDialogOwner(dialogState);
}

void TKervDialogCommand::OpenSettingsDialog() {
  if (!MayOpenDialog(dlgSetting)) return;
  w_.state_.DialogState = dlgSetting;
  bool taken = false;
  {
    TFrm_KervSetting dialog(w_.Settings(), w_.system_.Platform().codePage, *w_.information_, &w_);
    dialog.exec();
    taken = dialog.ValuesTaken();
  }
  w_.state_.DialogState = dlgNone;
  if (!taken) return;
  // What the dialog changed takes effect at once, here and in the other windows.
  w_.ApplySettings();
  w_.RefreshAll();
  if (w_.processes_) w_.processes_->NotifySettingsChanged();
}

void TKervDialogCommand::OpenEditModeDialog() {
  if (!MayOpenDialog(dlgEditModeSetting)) return;
  w_.state_.DialogState = dlgEditModeSetting;
  bool changed = false;
  std::string current;
  {
    TFrmEditModeSetting dialog(*w_.modes_, w_.modes_->CurrentName(), *w_.information_, &w_);
    dialog.exec();
    changed = dialog.ModesChanged();
    current = dialog.CurrentModeName();
  }
  w_.state_.DialogState = dlgNone;
  if (!changed) return;
  w_.modeCommand_->FillModeBox(true);
  w_.ModeApplied(w_.modeCommand_->ChangeMode(current, false, true).applied);
}

void TKervDialogCommand::OpenSearchOptions() {
  if (w_.state_.DialogState == dlgSearchOption || !MayOpenDialog(dlgSearchOption)) return;
  w_.state_.DialogState = dlgSearchOption;
  auto* panel = new TFrm_SearchOp(&w_, *w_.searchCommand_, *w_.information_, w_.editors_->ActiveEditor().SelLength() == 0);
  panel->setAttribute(Qt::WA_DeleteOnClose);
  panel->OnClosed = [this] {
    w_.state_.DialogState = dlgNone;
    w_.RefreshAll();
  };
  const QRect button(w_.searchOptionsButton_->mapToGlobal(QPoint(0, 0)), w_.searchOptionsButton_->size());
  panel->PlaceBelow(button);
  panel->show();
}

void TKervDialogCommand::EditTemporaryWords() {
  TEditor& editor = w_.editors_->MainEditor();
  ICodePage& codePage = w_.system_.Platform().codePage;
  QStringList lines;
  const TEditorWordList& words = editor.TmpReserveList();
  for (const TEditorWord& word : words) lines << SjisToQString(codePage, word.text);
  bool ok = false;
  w_.state_.DialogState = dlgMessage;
  const QString edited = QInputDialog::getMultiLineText(&w_, QString::fromUtf8("簡易強調文字リスト"),
                                                        QString::fromUtf8("一行に一語ずつ入力してください"),
                                                        lines.join(QLatin1Char('\n')), &ok);
  w_.state_.DialogState = dlgNone;
  if (!ok) return;
  TEditorWordList list;
  for (const QString& line : edited.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const std::string word = QStringToSjis(codePage, line);
    if (!word.empty()) list.push_back({word, 0});
  }
  w_.editors_->ForEach([&](TEditorWidget& pane) {
    pane.Editor().SetTmpReserveList(list);
    pane.viewport()->update();
  });
}

void TKervDialogCommand::ChooseTemporaryFont() {
  TEditorWidget& main = w_.editors_->MainWidget();
  bool ok = false;
  w_.state_.DialogState = dlgMessage;
  const QFont chosen = QFontDialog::getFont(&ok, main.GridFont(), &w_);
  w_.state_.DialogState = dlgNone;
  if (!ok) return;
  TEditorFont font;
  font.Assign(main.Editor().Font());
  font.SetName(chosen.family().toStdString());
  font.SetSize(std::max(1, chosen.pointSize()));
  TFontStyles style = 0;
  if (chosen.bold()) style |= fsBold;
  if (chosen.italic()) style |= fsItalic;
  font.SetStyle(style);
  w_.editors_->ForEach([&](TEditorWidget& pane) { pane.Editor().SetFont(font); });
  w_.editors_->FitWindowWrap();
}

void TKervDialogCommand::JumpTo() {
  TEditor& editor = w_.editors_->ActiveEditor();
  const int first = TKervEditorCommand::FirstLineNumber(editor);
  const int last = TKervEditorCommand::LastLineNumber(editor);
  bool ok = false;
  w_.state_.DialogState = dlgMessage;
  const QString answer = QInputDialog::getText(&w_, QString::fromUtf8("指定行へ移動"), Utf8(JumpToPrompt(first, last)),
                                               QLineEdit::Normal,
                                               QString::number(TKervEditorCommand::CaretLine(editor)), &ok);
  w_.state_.DialogState = dlgNone;
  if (!ok) return;
  w_.editorCommand_->JumpToLine(TKervEditorCommand::ParseJumpAnswer(editor, answer.trimmed().toStdString()));
}

// ==== TKervViewCommand
void TKervViewCommand::LayoutBars() {
  w_.toolBarRow_->setVisible(w_.view_.BaseBar && w_.view_.BaseExpanded);
  w_.searchBar_->setVisible(w_.view_.SearchBar && w_.view_.SearchExpanded);
  w_.toolBarFold_->setVisible(w_.view_.BaseBar && !w_.view_.BaseExpanded);
  w_.searchBarFold_->setVisible(w_.view_.SearchBar && !w_.view_.SearchExpanded);
  w_.foldStrip_->setVisible(!w_.toolBarFold_->isHidden() || !w_.searchBarFold_->isHidden());
  // The fold buttons' look: 0 text, 1 flat text, anything else raised.
  const int look = w_.Settings().View().NNToolBarBtn;
  for (QToolButton* button : {w_.toolBarFold_, w_.searchBarFold_}) button->setAutoRaise(look == 1);
  if (w_.actionCommand_) w_.actionCommand_->RefreshBars(w_.GatherState());
}

void TKervViewCommand::SetBar(bool search, bool shown) {
  (search ? w_.view_.SearchBar : w_.view_.BaseBar) = shown;
  LayoutBars();
}

void TKervViewCommand::SetBarExpanded(bool search, bool expanded) {
  (search ? w_.view_.SearchExpanded : w_.view_.BaseExpanded) = expanded;
  LayoutBars();
}

void TKervViewCommand::ApplyStayOnTop() {
  const bool top = w_.view_.StayOnTop && w_.state_.DialogState == dlgNone && w_.isVisible();
  if (top == w_.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return;
  const bool visible = w_.isVisible();
  w_.setWindowFlag(Qt::WindowStaysOnTopHint, top);
  if (visible) w_.show();
}

void TKervViewCommand::AddTemporaryWord() {
  TEditor& editor = w_.editors_->ActiveEditor();
  if (!editor.Selected()) return;
  std::string text = editor.SelText();
  if (text.size() >= 200) return;
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  TEditorWordList words = editor.TmpReserveList();
  words.push_back({text, 0});
  w_.editors_->ForEach([&](TEditorWidget& pane) {
    pane.Editor().SetTmpReserveList(words);
    pane.viewport()->update();
  });
}

// ==== TKervEditorEventCommand
void TKervEditorEventCommand::HookPane(TEditorWidget& pane) {
  TEditor& editor = pane.Editor();
  editor.SetClipboard(w_.clipboard_.get());
  editor.OnCaretMoved = [this](TEditor& sender) {
    if (&sender == &w_.editors_->ActiveEditor()) w_.InfoCommand().ShowCaretPos();
  };
  editor.OnChange = [this](TEditor&) {
    RefreshTitle();
    w_.RefreshEditActions();
  };
  editor.OnSelectionChange = [this](TEditor& sender, bool selected) { SelectionChanged(sender, selected); };
  editor.OnSelectionModeChange = [this](TEditor&) { w_.actionCommand_->RefreshSelectionMode(w_.GatherState()); };
  editor.OnKeyPress = [this](TEditor& sender, char key) -> char {
    return key == '\r' ? ReturnPressed(sender) : key;
  };
  pane.OnNotice = [this](const QString& text) { w_.information_->Notify(text.toStdString(), IKervInformation::nlPlain); };
  pane.OnDblClick = [this](TEditor& sender) { OpenLink(sender); };
  pane.setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(&pane, &QWidget::customContextMenuRequested, &w_,
          [this, &pane](const QPoint&) { ShowPaneMenu(pane, QCursor::pos()); });
  pane.installEventFilter(&w_);
  pane.viewport()->installEventFilter(&w_);
}

void TKervEditorEventCommand::RefreshTitle() {
  const bool modified = w_.editors_->MainEditor().Modified();
  if (!w_.fileManager_) return;
  w_.setWindowTitle(Utf8(w_.fileManager_->FileName()) + (modified ? QString::fromUtf8("[更新]") : QString()) + QStringLiteral(" - ") +
                 QString::fromUtf8(TKervSystem::ProductName()));
}

void TKervEditorEventCommand::ToggleOverwrite() {
  const bool on = !w_.editors_->MainEditor().OverWrite();
  w_.editors_->ForEach([on](TEditorWidget& pane) { pane.Editor().SetOverWrite(on); });
  w_.information_->SetOverwrite(on);
}

void TKervEditorEventCommand::SelectionChanged(TEditor& editor, bool selected) {
  if (selected && w_.Settings().InfoBar().ShowSelSize) {
    const std::string text = editor.SelText();
    w_.information_->Notify(SelectionSizeText(static_cast<int64_t>(text.size()), kerv::CountCharacters(text)),
                         IKervInformation::nlPlain);
  }
  w_.actionCommand_->RefreshSelection(w_.GatherState());
  w_.RefreshEditActions();
}

char TKervEditorEventCommand::ReturnPressed(TEditor& editor) {
  if (editor.ReadOnly()) return 0;
  // A caret beyond the row's visual end goes to that end first.
  if (!editor.Selected() && editor.Col() > editor.RowWidth(editor.Row())) {
    editor.SetCol(editor.RowWidth(editor.Row()));
  }
  if (!w_.editors_->AutoIndent()) {
    editor.ReplaceSelText("\r\n");
    return 0;
  }
  const TEditorPropEx& mode = w_.modes_->Current();
  TEditorScreenStrings& store = editor.RowStore();
  const int row = editor.Row();
  const int firstRow = store.FirstRowOfLine(row);
  const std::string line = store.GetRowRangeText(firstRow, -1).text;
  std::string_view lineText = line;
  while (!lineText.empty() && (lineText.back() == '\n' || lineText.back() == '\r')) lineText.remove_suffix(1);
  TAutoIndentRequest request;
  request.lineText = lineText;
  request.caretByteInRow = static_cast<int>(editor.SelStart() - editor.OffsetOfRow(row));
  request.onRowAfterLastLine = row == editor.RowCount() - 1 && editor.RowText(row).empty() && row > 0 &&
                               store.RowAttribute(row - 1) == raCrlf;
  request.autoIndent = true;
  request.dsIndent = mode.DSIndent();
  request.noIndentEmptyLine = mode.NoIndentEmptyLine();
  request.lastIndent = w_.editors_->LastIndent();
  const TAutoIndentResult result = TKervAutoIndent::Decide(request);
  switch (result.action) {
    case TAutoIndentAction::ControlReturn: return '\r';
    case TAutoIndentAction::InsertText:
      editor.ReplaceSelText(result.text);
      if (result.rememberIndent) w_.editors_->LastIndent() = result.indent;
      return 0;
    case TAutoIndentAction::BlankLineAbove: {
      const int col = editor.Col();
      editor.CancelSelection();
      editor.MoveCaretTo(row, 0);
      editor.InsertText(result.text);
      editor.MoveCaretTo(editor.Row(), col);
      return 0;
    }
  }
  return 0;
}

void TKervEditorEventCommand::OpenLink(TEditor& editor) {
  const TTokenKind kind = editor.WordKindAtCaret();
  if (kind == tkUrl || kind == tkMail) {
    const std::string word = w_.system_.Platform().codePage.Cp932ToUtf8(editor.WordAtCaret());
    w_.system_.ShellOpen(kind == tkMail ? "mailto:" + word : word, {});
    return;
  }
  editor.SelectWordAtCaret();
}

void TKervEditorEventCommand::ShowPaneMenu(TEditorWidget& pane, const QPoint& globalPos) {
  const QPoint at = pane.viewport()->mapFromGlobal(globalPos);
  TEditor& editor = pane.Editor();
  const TTokenKind kind = editor.WordKindAtPoint(at.x(), at.y());
  w_.linkKind_ = kind == tkMail ? 1 : kind == tkUrl ? 2 : 0;
  w_.linkText_ = w_.linkKind_ ? w_.system_.Platform().codePage.Cp932ToUtf8(editor.WordAtPoint(at.x(), at.y())) : std::string();
  QMenu menu(&w_);
  menu.setObjectName(QStringLiteral("PMnu_Editor"));
  if (w_.linkKind_ != 0) {
    const bool mail = w_.linkKind_ == 1;
    QAction* open = menu.addAction(QString::fromUtf8(mail ? "アドレスをメーラーで開く(&M)" : "U&RLをブラウザーで開く"));
    QObject::connect(open, &QAction::triggered, &w_,
            [this, mail] { w_.system_.ShellOpen(mail ? "mailto:" + w_.linkText_ : w_.linkText_, {}); });
    QAction* copy = menu.addAction(QString::fromUtf8(mail ? "アドレスをコピー(&R)" : "UR&Lをコピー"));
    QObject::connect(copy, &QAction::triggered, &w_, [this] {
      w_.clipboard_->SetText(w_.system_.Platform().codePage.Utf8ToCp932(w_.linkText_, nullptr), false);
    });
    menu.addSeparator();
  }
  for (TKervAction id : {Act_Edit_Undo, Act_Edit_Redo}) menu.addAction(w_.Action(id));
  menu.addSeparator();
  for (TKervAction id : {Act_Edit_Cut, Act_Edit_Copy, Act_Edit_Paste, Act_Del_Del}) menu.addAction(w_.Action(id));
  menu.addSeparator();
  for (TKervAction id : {Act_Edit_Select, Act_Edit_BoxSelect, Act_Srch_QuickSearch, Act_View_AddTmpRsv}) {
    menu.addAction(w_.Action(id));
  }
  menu.exec(globalPos);
}

}  // namespace kerv
