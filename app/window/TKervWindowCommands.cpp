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
#include <QUrl>
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
#include "app/image/TFrmImageWindow.h"
#include "app/image/TFrmVuvECnv.h"
#include "app/image/TQtVuvEChoosers.h"
#include "image/TJpegCodec.h"
#include "image/qt/TVuvERenderer.h"
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
#include "app/window/IKervMainWindow.h"
#include <QMainWindow>
#include "app/window/TKervWindowCommands.h"

namespace kerv {

// What the other windows ask of this one.
class TKervWindowPort : public IKervWindowPort {
 public:
  explicit TKervWindowPort(IKervMainWindow& window) : window_(window) {}
  std::string FileName() override { return window_.FileManager()->FileName(); }
  std::string Caption() override { return window_.Form().windowTitle().toStdString(); }
  int DialogState() override { return window_.State().DialogState; }
  void Restore() override {
    if (window_.Form().isMinimized()) window_.Form().showNormal();
  }
  void BringToFront() override {
    window_.Form().raise();
    window_.Form().activateWindow();
  }
  void ReloadSettings() override { window_.Settings().ReloadRequested(); }
  void AddSearchHistory(const std::string& word) override {
    if (window_.SearchCommand()) window_.SearchCommand()->AddSearchHistory(word, false);
  }
  void AddReplaceHistory(const std::string& word) override {
    if (window_.SearchCommand()) window_.SearchCommand()->AddReplaceHistory(word, false);
  }
  void CloseWindow() override { QMetaObject::invokeMethod(&window_.Form(), [this] { window_.Form().close(); }, Qt::QueuedConnection); }

 private:
  IKervMainWindow& window_;
};

// ==== TKervMessageHandlerCommand
TKervMessageHandlerCommand::TKervMessageHandlerCommand(TKervSystem& system, IKervMainWindow& window)
    : TKervWindowBoundCommand(system, window), port_(std::make_unique<TKervWindowPort>(window)) {
  TKervPlatform& platform = system.Platform();
  if (!platform.channel) return;
  processes_ = std::make_unique<TKervProcessManager>(*platform.channel, *port_, platform.fs);
  if (processes_->AssignNumber()) new QtChannelNotifier(*platform.channel, &window.Form());
}

// The window leaves the list of running windows before it is gone.
TKervMessageHandlerCommand::~TKervMessageHandlerCommand() = default;

// ==== TKervWindowCommand
void TKervWindowCommand::NewWindow() { w_.System().LaunchNewProcess({}); }

// ==== TKervInformationCommand
void TKervInformationCommand::ShowCaretPos() {
  const TEditor& editor = w_.Editors().ActiveEditor();
  w_.Information().SetCaretPos(TKervEditorCommand::CaretLine(editor), TKervEditorCommand::CaretColumn(editor));
}

void TKervInformationCommand::CountCharacters() {
  const TKervCharCount count = CharCountTexts(w_.Editors().MainEditor().RowStore().GetText(), w_.FileManager()->ReturnCode());
  if (w_.Settings().InfoBar().UseInfoBar && w_.Information().InfoBarShown()) {
    w_.Information().ShowNotice(count.characters + " / " + count.bytes, IKervInformation::nlInformation);
  } else {
    QMessageBox::information(&w_.Form(), QString::fromUtf8("文字数カウンタ"),
                             Utf8(count.characters) + QStringLiteral("\r\n") + Utf8(count.bytes));
  }
}

void TKervInformationCommand::ShowAsciiCode() {
  TEditor& editor = w_.Editors().ActiveEditor();
  if (!editor.Selected()) return;
  const std::string digits = AsciiCodeText(editor.SelText());
  if (w_.Settings().InfoBar().UseInfoBar && w_.Information().InfoBarShown()) {
    w_.Information().ShowNotice("ASCIIコード:" + digits, IKervInformation::nlInformation);
  } else {
    QMessageBox::information(&w_.Form(), QString::fromUtf8("ASCIIコード表示"), Utf8(digits));
  }
}

void TKervInformationCommand::ShowClipboard() {
  const std::string text = w_.Clipboard().Text().text;
  const std::string body = w_.System().Platform().codePage.Cp932ToUtf8(ClipboardNoticeBody(text));
  w_.Information().ShowNotice("クリップボード : " + body + " (" + std::to_string(text.size()) + "Byte)",
                           IKervInformation::nlPlain);
}

QString TKervInformationCommand::NowText() {
  // The system's short date and a long time.
  const QDateTime now = QDateTime::currentDateTime();
  return QLocale::system().toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
         now.time().toString(QStringLiteral("HH:mm:ss"));
}

void TKervInformationCommand::ShowNow() {
  w_.Information().ShowNotice(NowText().toStdString(), IKervInformation::nlPlain);
}

QString TKervInformationCommand::HelpFile() const {
  // Beside the program in a build tree, in the data folder when installed.
  const QString file = QString::fromStdString(w_.System().DataFolder()) + QStringLiteral("help/index.html");
  return QFileInfo::exists(file) ? QFileInfo(file).absoluteFilePath() : QString();
}

void TKervInformationCommand::ShowHelp(const std::string& topic) {
  const QString file = HelpFile();
  if (file.isEmpty()) return;
  if (topic.empty()) {
    w_.System().ShellOpen(file.toStdString(), {});
    return;
  }
  QUrl url = QUrl::fromLocalFile(file);
  url.setFragment(QString::fromStdString(topic));
  w_.System().ShellOpen(url.toString().toStdString(), {});
}

// ==== TKervDialogCommand
TKervDialogCommand::TKervDialogCommand(TKervSystem& system, IKervMainWindow& window)
    : TKervWindowBoundCommand(system, window) {}

TKervDialogCommand::~TKervDialogCommand() { w_.State().ImageWindow = nullptr; }

bool TKervDialogCommand::MayOpenDialog(int dialogState) {
  return !w_.Processes() || !w_.Processes()->ActivateDialogOwner(dialogState);
}

void TKervDialogCommand::OpenSettingsDialog() {
  if (!MayOpenDialog(dlgSetting)) return;
  w_.State().DialogState = dlgSetting;
  bool taken = false;
  {
    TFrm_KervSetting dialog(w_.Settings(), w_.System().Platform().codePage, w_.Information(), &w_.Form());
    dialog.exec();
    taken = dialog.ValuesTaken();
  }
  w_.State().DialogState = dlgNone;
  if (!taken) return;
  // What the dialog changed takes effect at once, here and in the other windows.
  w_.ApplySettings();
  w_.RefreshAll();
  if (w_.Processes()) w_.Processes()->NotifySettingsChanged();
}

void TKervDialogCommand::OpenEditModeDialog() {
  if (!MayOpenDialog(dlgEditModeSetting)) return;
  w_.State().DialogState = dlgEditModeSetting;
  bool changed = false;
  std::string current;
  {
    TFrmEditModeSetting dialog(w_.Modes(), w_.Modes().CurrentName(), w_.Information(), &w_.Form());
    dialog.exec();
    changed = dialog.ModesChanged();
    current = dialog.CurrentModeName();
  }
  w_.State().DialogState = dlgNone;
  if (!changed) return;
  w_.ModeCommand().FillModeBox(true);
  w_.ModeApplied(w_.ModeCommand().ChangeMode(current, false, true).applied);
}

void TKervDialogCommand::OpenSearchOptions() {
  if (w_.State().DialogState == dlgSearchOption || !MayOpenDialog(dlgSearchOption)) return;
  w_.State().DialogState = dlgSearchOption;
  auto* panel = new TFrm_SearchOp(&w_.Form(), *w_.SearchCommand(), w_.Information(), w_.Editors().ActiveEditor().SelLength() == 0);
  panel->setAttribute(Qt::WA_DeleteOnClose);
  panel->OnClosed = [this] {
    w_.State().DialogState = dlgNone;
    w_.RefreshAll();
  };
  const QRect button(w_.Bars().searchOptionsButton->mapToGlobal(QPoint(0, 0)), w_.Bars().searchOptionsButton->size());
  panel->PlaceBelow(button);
  panel->show();
}

void TKervDialogCommand::EditTemporaryWords() {
  TEditor& editor = w_.Editors().MainEditor();
  ICodePage& codePage = w_.System().Platform().codePage;
  QStringList lines;
  const TEditorWordList& words = editor.TmpReserveList();
  for (const TEditorWord& word : words) lines << SjisToQString(codePage, word.text);
  bool ok = false;
  w_.State().DialogState = dlgMessage;
  const QString edited = QInputDialog::getMultiLineText(&w_.Form(), QString::fromUtf8("簡易強調文字リスト"),
                                                        QString::fromUtf8("一行に一語ずつ入力してください"),
                                                        lines.join(QLatin1Char('\n')), &ok);
  w_.State().DialogState = dlgNone;
  if (!ok) return;
  TEditorWordList list;
  for (const QString& line : edited.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const std::string word = QStringToSjis(codePage, line);
    if (!word.empty()) list.push_back({word, 0});
  }
  w_.Editors().ForEach([&](TEditorWidget& pane) {
    pane.Editor().SetTmpReserveList(list);
    pane.viewport()->update();
  });
}

void TKervDialogCommand::ChooseTemporaryFont() {
  TEditorWidget& main = w_.Editors().MainWidget();
  bool ok = false;
  w_.State().DialogState = dlgMessage;
  const QFont chosen = QFontDialog::getFont(&ok, main.GridFont(), &w_.Form());
  w_.State().DialogState = dlgNone;
  if (!ok) return;
  TEditorFont font;
  font.Assign(main.Editor().Font());
  font.SetName(chosen.family().toStdString());
  font.SetSize(std::max(1, chosen.pointSize()));
  TFontStyles style = 0;
  if (chosen.bold()) style |= fsBold;
  if (chosen.italic()) style |= fsItalic;
  font.SetStyle(style);
  w_.Editors().ForEach([&](TEditorWidget& pane) { pane.Editor().SetFont(font); });
  w_.Editors().FitWindowWrap();
}

void TKervDialogCommand::JumpTo() {
  TEditor& editor = w_.Editors().ActiveEditor();
  const int first = TKervEditorCommand::FirstLineNumber(editor);
  const int last = TKervEditorCommand::LastLineNumber(editor);
  bool ok = false;
  w_.State().DialogState = dlgMessage;
  const QString answer = QInputDialog::getText(&w_.Form(), QString::fromUtf8("指定行へ移動"), Utf8(JumpToPrompt(first, last)),
                                               QLineEdit::Normal,
                                               QString::number(TKervEditorCommand::CaretLine(editor)), &ok);
  w_.State().DialogState = dlgNone;
  if (!ok) return;
  w_.EditorCommand().JumpToLine(TKervEditorCommand::ParseJumpAnswer(editor, answer.trimmed().toStdString()));
}

TFrm_ImageWindow& TKervDialogCommand::ImageWindow() {
  if (!imageWindow_) {
    TKervPlatform& platform = w_.System().Platform();
    const TKervVuvEConverterSetting& group = w_.Settings().VuvEConverter();
    imageWindowChoosers_ = std::make_unique<TQtVuvEChoosers>(platform.codePage, nullptr);
    imageWindow_ = std::make_unique<TFrm_ImageWindow>(platform.fs, w_.Information(), *imageWindowChoosers_,
                                                      static_cast<TColor>(group.ImgWinColor),
                                                      ClampJpegQuality(group.JPEGQuality));
    imageWindowChoosers_->SetOwner(imageWindow_.get());
    imageWindow_->setWindowIcon(w_.Form().windowIcon());
    imageWindow_->StayOnTop = [this] { return w_.View().StayOnTop; };
    w_.State().ImageWindow = imageWindow_.get();
  }
  return *imageWindow_;
}

void TKervDialogCommand::OpenVuvEConverter() {
  // The dialog hides itself while it converts; it must not open twice.
  if (w_.State().DialogState == dlgImage) return;
  TKervPlatform& platform = w_.System().Platform();
  if (!converterChoosers_) converterChoosers_ = std::make_unique<TQtVuvEChoosers>(platform.codePage, &w_.Form());
  TEditor& editor = w_.Editors().MainEditor();
  // The pane shows the text as the document's pane does: the mode's set
  // with the editor's own values over it.
  TEditorPropEx paneProperties;
  paneProperties.Assign(w_.Modes().Current());
  paneProperties.Assign(editor);
  TVuvEServices services{platform.fs,
                         platform.codePage,
                         w_.Information(),
                         w_.Settings(),
                         *converterChoosers_,
                         &VuvEPlainColor,
                         ScreenDotsPerInch(),
                         [this] { w_.InfoCommand().ShowHelp("vuve"); },
                         [this]() -> TFrm_ImageWindow& { return ImageWindow(); },
                         [this] { w_.Action(Act_Tool_ImageWindow)->setEnabled(true); }};
  w_.State().DialogState = dlgImage;
  {
    TFrm_VuvECnv dialog(services, editor, paneProperties, &w_.Form());
    converterChoosers_->SetOwner(&dialog);
    dialog.exec();
  }
  converterChoosers_->SetOwner(&w_.Form());
  w_.State().DialogState = dlgNone;
}

void TKervDialogCommand::ShowImageWindow() {
  if (!imageWindow_) return;
  imageWindow_->show();
  imageWindow_->raise();
  imageWindow_->activateWindow();
}

// ==== TKervViewCommand
void TKervViewCommand::LayoutBars() {
  w_.Bars().toolBarRow->setVisible(w_.View().BaseBar && w_.View().BaseExpanded);
  w_.Bars().searchBar->setVisible(w_.View().SearchBar && w_.View().SearchExpanded);
  w_.Bars().toolBarFold->setVisible(w_.View().BaseBar && !w_.View().BaseExpanded);
  w_.Bars().searchBarFold->setVisible(w_.View().SearchBar && !w_.View().SearchExpanded);
  w_.Bars().foldStrip->setVisible(!w_.Bars().toolBarFold->isHidden() || !w_.Bars().searchBarFold->isHidden());
  // The fold buttons' look: 0 text, 1 flat text, anything else raised.
  const int look = w_.Settings().View().NNToolBarBtn;
  for (QToolButton* button : {w_.Bars().toolBarFold, w_.Bars().searchBarFold}) button->setAutoRaise(look == 1);
  if (w_.ActionCommand()) w_.ActionCommand()->RefreshBars(w_.GatherState());
}

void TKervViewCommand::SetBar(bool search, bool shown) {
  (search ? w_.View().SearchBar : w_.View().BaseBar) = shown;
  LayoutBars();
}

void TKervViewCommand::SetBarExpanded(bool search, bool expanded) {
  (search ? w_.View().SearchExpanded : w_.View().BaseExpanded) = expanded;
  LayoutBars();
}

void TKervViewCommand::ApplyStayOnTop() {
  const bool top = w_.View().StayOnTop && w_.State().DialogState == dlgNone && w_.Form().isVisible();
  if (top == w_.Form().windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return;
  const bool visible = w_.Form().isVisible();
  w_.Form().setWindowFlag(Qt::WindowStaysOnTopHint, top);
  if (visible) w_.Form().show();
}

void TKervViewCommand::AddTemporaryWord() {
  TEditor& editor = w_.Editors().ActiveEditor();
  if (!editor.Selected()) return;
  std::string text = editor.SelText();
  if (text.size() >= 200) return;
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  TEditorWordList words = editor.TmpReserveList();
  words.push_back({text, 0});
  w_.Editors().ForEach([&](TEditorWidget& pane) {
    pane.Editor().SetTmpReserveList(words);
    pane.viewport()->update();
  });
}

// ==== TKervEditorEventCommand
void TKervEditorEventCommand::HookPane(TEditorWidget& pane) {
  TEditor& editor = pane.Editor();
  editor.SetClipboard(&w_.Clipboard());
  editor.OnCaretMoved = [this](TEditor& sender) {
    if (&sender == &w_.Editors().ActiveEditor()) w_.InfoCommand().ShowCaretPos();
  };
  editor.OnChange = [this](TEditor&) {
    RefreshTitle();
    w_.RefreshEditActions();
  };
  editor.OnSelectionChange = [this](TEditor& sender, bool selected) { SelectionChanged(sender, selected); };
  editor.OnSelectionModeChange = [this](TEditor&) { w_.ActionCommand()->RefreshSelectionMode(w_.GatherState()); };
  editor.OnKeyPress = [this](TEditor& sender, char key) -> char {
    return key == '\r' ? ReturnPressed(sender) : key;
  };
  pane.OnNotice = [this](const QString& text) { w_.Information().Notify(text.toStdString(), IKervInformation::nlPlain); };
  pane.OnDblClick = [this](TEditor& sender) { OpenLink(sender); };
  pane.setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(&pane, &QWidget::customContextMenuRequested, &w_.Form(),
          [this, &pane](const QPoint&) { ShowPaneMenu(pane, QCursor::pos()); });
  pane.installEventFilter(&w_.Form());
  pane.viewport()->installEventFilter(&w_.Form());
}

void TKervEditorEventCommand::RefreshTitle() {
  const bool modified = w_.Editors().MainEditor().Modified();
  if (!w_.FileManager()) return;
  w_.Form().setWindowTitle(Utf8(w_.FileManager()->FileName()) + (modified ? QString::fromUtf8("[更新]") : QString()) + QStringLiteral(" - ") +
                 QString::fromUtf8(TKervSystem::ProductName()));
}

void TKervEditorEventCommand::ToggleOverwrite() {
  const bool on = !w_.Editors().MainEditor().OverWrite();
  w_.Editors().ForEach([on](TEditorWidget& pane) { pane.Editor().SetOverWrite(on); });
  w_.Information().SetOverwrite(on);
}

void TKervEditorEventCommand::SelectionChanged(TEditor& editor, bool selected) {
  if (selected && w_.Settings().InfoBar().ShowSelSize) {
    const std::string text = editor.SelText();
    w_.Information().Notify(SelectionSizeText(static_cast<int64_t>(text.size()), kerv::CountCharacters(text)),
                         IKervInformation::nlPlain);
  }
  w_.ActionCommand()->RefreshSelection(w_.GatherState());
  w_.RefreshEditActions();
}

char TKervEditorEventCommand::ReturnPressed(TEditor& editor) {
  if (editor.ReadOnly()) return 0;
  // A caret beyond the row's visual end goes to that end first.
  if (!editor.Selected() && editor.Col() > editor.RowWidth(editor.Row())) {
    editor.SetCol(editor.RowWidth(editor.Row()));
  }
  if (!w_.Editors().AutoIndent()) {
    editor.ReplaceSelText("\r\n");
    return 0;
  }
  const TEditorPropEx& mode = w_.Modes().Current();
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
  request.lastIndent = w_.Editors().LastIndent();
  const TAutoIndentResult result = TKervAutoIndent::Decide(request);
  switch (result.action) {
    case TAutoIndentAction::ControlReturn: return '\r';
    case TAutoIndentAction::InsertText:
      editor.ReplaceSelText(result.text);
      if (result.rememberIndent) w_.Editors().LastIndent() = result.indent;
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
    const std::string word = w_.System().Platform().codePage.Cp932ToUtf8(editor.WordAtCaret());
    w_.System().ShellOpen(kind == tkMail ? "mailto:" + word : word, {});
    return;
  }
  editor.SelectWordAtCaret();
}

void TKervEditorEventCommand::ShowPaneMenu(TEditorWidget& pane, const QPoint& globalPos) {
  const QPoint at = pane.viewport()->mapFromGlobal(globalPos);
  TEditor& editor = pane.Editor();
  const TTokenKind kind = editor.WordKindAtPoint(at.x(), at.y());
  linkKind_ = kind == tkMail ? 1 : kind == tkUrl ? 2 : 0;
  linkText_ = linkKind_ ? w_.System().Platform().codePage.Cp932ToUtf8(editor.WordAtPoint(at.x(), at.y())) : std::string();
  QMenu menu(&w_.Form());
  menu.setObjectName(QStringLiteral("PMnu_Editor"));
  if (linkKind_ != 0) {
    const bool mail = linkKind_ == 1;
    QAction* open = menu.addAction(QString::fromUtf8(mail ? "アドレスをメーラーで開く(&M)" : "U&RLをブラウザーで開く"));
    QObject::connect(open, &QAction::triggered, &w_.Form(),
            [this, mail] { w_.System().ShellOpen(mail ? "mailto:" + linkText_ : linkText_, {}); });
    QAction* copy = menu.addAction(QString::fromUtf8(mail ? "アドレスをコピー(&R)" : "UR&Lをコピー"));
    QObject::connect(copy, &QAction::triggered, &w_.Form(), [this] {
      w_.Clipboard().SetText(w_.System().Platform().codePage.Utf8ToCp932(linkText_, nullptr), false);
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
