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
#include <QPushButton>
#include <QFormLayout>
#include <QStatusBar>
#include <QTextBrowser>
#include <QGuiApplication>
#include <QScreen>
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
#include "app/dialogs/TFrmHelp.h"
#include "app/dialogs/TFrmReplacing.h"
#include "app/dialogs/TFrmSearchOp.h"
#include "app/dialogs/TFrmKervSetting.h"
#include "app/dialogs/TFrmPrint.h"
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
#include <QKeySequence>
#include <QUrl>
#include <algorithm>
#include "keys/TKeyCodes.h"
#include "app/dialogs/TFrmAppList.h"
#include "tools/ToolMessages.h"

namespace kerv {
namespace {

// Puts the window with its frame at a rectangle of the screen (a window
// places itself: the desktop does not let one process move another's).
void PlaceFrame(QWidget& form, const QRect& frame) {
  if (form.isMinimized() || form.isMaximized()) form.showNormal();
  const int frameWidth = form.frameGeometry().width() - form.width();
  const int frameHeight = form.frameGeometry().height() - form.height();
  form.resize(std::max(1, frame.width() - frameWidth), std::max(1, frame.height() - frameHeight));
  form.move(frame.topLeft());
}

}  // namespace

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
  // The requests that reshape the window run after the request is answered.
  void Minimize() override {
    QMetaObject::invokeMethod(&window_.Form(), [this] { window_.Form().showMinimized(); }, Qt::QueuedConnection);
  }
  void PlaceWindow(int left, int top, int width, int height) override {
    QMetaObject::invokeMethod(
        &window_.Form(), [this, frame = QRect(left, top, width, height)] { PlaceFrame(window_.Form(), frame); },
        Qt::QueuedConnection);
  }
  void ReloadEditModes() override {
    QMetaObject::invokeMethod(
        &window_.Form(),
        [this] {
          // The list, the associations and the current mode as the other window left them.
          window_.Modes().LoadAssociations();
          window_.ModeCommand().FillModeBox(true);
          window_.ModeApplied(window_.ModeCommand().ChangeMode(window_.Modes().CurrentName(), false, true).applied);
        },
        Qt::QueuedConnection);
  }

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

void TKervWindowCommand::NextWindow(bool forward) {
  if (TKervProcessManager* processes = w_.Processes()) forward ? processes->NextWindow() : processes->PreviousWindow();
}

void TKervWindowCommand::Arrange(TArrangeKind kind) {
  QWidget& form = w_.Form();
  const QScreen* screen = form.screen() ? form.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect free = screen->availableGeometry();
  const TScreenRect area{free.x(), free.y(), free.width(), free.height()};
  // A cascade steps by a title bar's height.
  const int titleBar = std::max(20, form.frameGeometry().height() - form.height());
  if (TKervProcessManager* processes = w_.Processes()) {
    processes->Arrange(kind, area, titleBar);
    return;
  }
  // Alone: the window arranges itself.
  if (kind == TArrangeKind::MinimizeAll) {
    form.showMinimized();
  } else if (kind == TArrangeKind::RestoreAll) {
    if (form.isMinimized()) form.showNormal();
  } else {
    const std::vector<TScreenRect> rects = ArrangeRects(kind, 1, area, titleBar);
    if (!rects.empty()) PlaceFrame(form, QRect(rects[0].left, rects[0].top, rects[0].width, rects[0].height));
  }
}

namespace {

// Takes the items after index last off the menu; deleting an action also
// takes it off the window, where its shortcut lived.
void DropActionsAfter(QMenu& menu, qsizetype last) {
  const QList<QAction*> actions = menu.actions();
  for (qsizetype i = last + 1; i < actions.size(); ++i) {
    menu.removeAction(actions[i]);
    if (actions[i]->parent() == &menu) delete actions[i];
  }
}

}  // namespace

void TKervWindowCommand::FillWindowMenu(QMenu& menu, QAction* fixedEnd) {
  // Everything after the fixed items goes; the running windows come anew.
  DropActionsAfter(menu, menu.actions().indexOf(fixedEnd));
  // The group of the last time goes with its (deleted) items.
  qDeleteAll(menu.findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly));
  std::vector<TKervWindowEntry> windows;
  if (TKervProcessManager* processes = w_.Processes()) {
    windows = processes->WindowList();
  } else {
    windows.push_back({0, w_.FileManager() ? w_.FileManager()->FileName() : std::string(), w_.Form().windowTitle().toStdString(), true});
  }
  menu.addSeparator();
  auto* group = new QActionGroup(&menu);
  static const char kKeys[] = "1234567890ABDEFGJKLNOPQRTUVWXYZ";
  for (size_t i = 0; i < windows.size(); ++i) {
    const TKervWindowEntry& entry = windows[i];
    // The caption without the product name keeps the "[更新]" mark.
    QString caption = QString::fromStdString(entry.caption);
    caption.remove(QStringLiteral(" - ") + QString::fromUtf8(TKervSystem::ProductName()));
    const QString name = caption.mid(caption.lastIndexOf(QLatin1Char('/')) + 1);
    const QString key = i < sizeof kKeys - 1 ? QStringLiteral("&") + QLatin1Char(kKeys[i]) : QStringLiteral("*");
    auto* item = new QAction(key + QStringLiteral(": ") + name, &menu);
    item->setCheckable(true);
    item->setChecked(entry.isThis);
    item->setStatusTip(caption);
    item->setData(entry.WindowNumber);
    item->setObjectName(QStringLiteral("Mnu_WindowList%1").arg(entry.WindowNumber));
    group->addAction(item);
    menu.addAction(item);
    const int number = entry.WindowNumber;
    QObject::connect(item, &QAction::triggered, &menu, [this, number] {
      if (TKervProcessManager* processes = w_.Processes()) processes->ActivateNumber(number);
    });
  }
}

void TKervWindowCommand::OpenDroppedFiles(const std::vector<std::string>& names) {
  if (names.empty() || !w_.FileCommand()) return;
  // The first here (with its save question); only when that worked, each
  // further one in a window of its own, its name an argument by itself.
  if (!w_.FileCommand()->OpenByName(names.front())) return;
  for (size_t i = 1; i < names.size(); ++i) w_.System().LaunchNewProcess({names[i]});
}

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

void TKervInformationCommand::ShowHelp() { ShowHelpTopic(std::string()); }

void TKervInformationCommand::ShowHelpTopic(const std::string& anchor) {
  const QString file = HelpFile();
  if (file.isEmpty()) {
    w_.Information().Notify(messages::kHelpMissing, IKervInformation::nlError);
    return;
  }
  QUrl url = QUrl::fromLocalFile(file);
  if (!anchor.empty()) url.setFragment(QString::fromStdString(anchor));
  if (w_.System().ShellOpen(anchor.empty() ? file.toStdString() : url.toString(QUrl::FullyEncoded).toStdString(), {})) {
    return;
  }
  // No program of the desktop opens it: the guide in a window of our own.
  auto* help = qobject_cast<TFrmHelp*>(helpWindow_.data());
  if (!help) helpWindow_ = help = new TFrmHelp(file, &w_.Form());
  if (!anchor.empty()) help->Browser()->scrollToAnchor(QString::fromStdString(anchor));
  help->show();
  help->raise();
  help->activateWindow();
}

// ==== TKervDialogCommand
TKervDialogCommand::TKervDialogCommand(TKervSystem& system, IKervMainWindow& window)
    : TKervWindowBoundCommand(system, window) {}

TKervDialogCommand::~TKervDialogCommand() { w_.State().ImageWindow = nullptr; }

bool TKervDialogCommand::MayOpenDialog(int dialogState) {
  return !w_.Processes() || !w_.Processes()->ActivateDialogOwner(dialogState);
}

void TKervDialogCommand::OpenPrintDialog() {
  TEditor& editor = w_.Editors().MainEditor();
  TPrintSource source;
  source.fileName = w_.FileManager() ? w_.FileManager()->FileName() : std::string();
  const TEditorFont& font = editor.Font();
  source.editorFont.name = font.Name();
  source.editorFont.size = font.Size();
  source.editorFont.bold = (font.Style() & fsBold) != 0;
  source.editorFont.italic = (font.Style() & fsItalic) != 0;
  source.editorFont.underline = (font.Style() & fsUnderline) != 0;
  source.editorFont.charSet = font.CharSet();
  // The rows as the main pane shows them: a wrapped row is a line of its own.
  source.lines = [&editor] {
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(editor.RowCount()));
    for (int row = 0; row < editor.RowCount(); ++row) lines.push_back(editor.RowDisplayText(row));
    return lines;
  };
  // The print dialog opens in every window that asks; no single-dialog check.
  w_.State().DialogState = dlgPrint;
  {
    TFrm_Print dialog(w_.Settings(), w_.System().Platform().codePage, w_.Information(), std::move(source), &w_.Form());
    dialog.OnHelp = [this] { w_.InfoCommand().ShowHelp(); };
    if (dialog.Loaded()) dialog.exec();
  }
  w_.State().DialogState = dlgNone;
}

void TKervDialogCommand::OpenSettingsDialog() {
  if (!MayOpenDialog(dlgSetting)) return;
  w_.State().DialogState = dlgSetting;
  bool taken = false;
  bool toolsChanged = false;
  {
    TFrm_KervSetting dialog(w_.Settings(), w_.System().Platform().codePage, w_.Information(), &w_.Form());
    // The file page's button that empties the file history (at once, after its question).
    auto* clearHistory = new QPushButton(QString::fromUtf8(messages::kClearFileHistory));
    clearHistory->setObjectName(QStringLiteral("Btn_ClearHistory"));
    dialog.PageLayout(TKervSettingPage::File)->addRow(clearHistory);
    QObject::connect(clearHistory, &QPushButton::clicked, &dialog, [this] {
      if (w_.FileCommand() && w_.Information().Confirm(messages::kClearFileHistoryQuestion)) {
        w_.FileCommand()->ClearHistory();
      }
    });
    dialog.OnToolHelp = [this] { ShowToolHelp(); };
    dialog.exec();
    taken = dialog.ValuesTaken();
    toolsChanged = dialog.ToolsChanged();
  }
  w_.State().DialogState = dlgNone;
  if (!taken && !toolsChanged) return;
  // What the dialog changed takes effect at once, here and in the other windows.
  if (taken) w_.ApplySettings();
  w_.ApplyKeySet(false);
  w_.ToolCommand().BuildMenuWithIcons(true);
  w_.RefreshAll();
}

void TKervDialogCommand::ShowToolHelp() { w_.InfoCommand().ShowHelpTopic("tools"); }

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
  // The associations the dialog wrote apply to the next file opened, here
  // and in the other windows.
  w_.Modes().LoadAssociations();
  if (w_.Processes()) w_.Processes()->NotifyEditModesChanged();
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
                         [this] { w_.InfoCommand().ShowHelpTopic("vuve"); },
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
  // A screen reader names each pane by its document.
  const QString document = Utf8(w_.FileManager()->FileName());
  w_.Editors().ForEach([&document](TEditorWidget& pane) { pane.setAccessibleName(document); });
}

void TKervEditorEventCommand::ToggleOverwrite() {
  const bool on = !w_.Editors().MainEditor().OverWrite();
  w_.Editors().ForEach([on](TEditorWidget& pane) { pane.Editor().SetOverWrite(on); });
  w_.Information().SetOverwrite(on);
}

void TKervEditorEventCommand::SelectionChanged(TEditor& editor, bool selected) {
  if (selected && w_.Settings().InfoBar().ShowSelSize) {
    // Counted from the rows: a selection of the whole of a big file is not copied for it.
    const TEditor::TSelectionSize size = editor.SelSize();
    w_.Information().Notify(SelectionSizeText(size.bytes, size.characters), IKervInformation::nlPlain);
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

// ==== TKervToolLauncherCommand
// The window as the host of a launch: its document, saving and notices.
class TKervToolLauncherCommand::Host : public IKervToolHost {
 public:
  explicit Host(IKervMainWindow& window) : window_(window) {}
  std::string DocumentPath() override {
    const TKervFileManager* files = window_.FileManager();
    if (files == nullptr || files->FileName() == TKervFileManager::kUntitled) return {};
    return files->FileName();
  }
  std::string DocumentText() override { return window_.Editors().MainEditor().RowStore().GetText(); }
  bool SaveDocument() override { return window_.FileCommand() != nullptr && window_.FileCommand()->SaveDocument(); }
  void NoticeError(const std::string& text) override { window_.Information().Notify(text, IKervInformation::nlError); }

 private:
  IKervMainWindow& window_;
};

TKervToolLauncherCommand::TKervToolLauncherCommand(TKervSystem& system, IKervMainWindow& window)
    : TKervWindowBoundCommand(system, window), host_(std::make_unique<Host>(window)) {}

TKervToolLauncherCommand::~TKervToolLauncherCommand() = default;

TToolLaunchSettings TKervToolLauncherCommand::LaunchSettings() {
  const TKervToolLauncherSetting& setting = w_.Settings().ToolLauncher();
  TToolLaunchSettings settings;
  settings.ShowIcon = setting.ShowIcon;
  settings.AppListNum = setting.AppListNum;
  settings.TempFile = setting.TempFile;
  settings.DelTemp = setting.DelTemp;
  return settings;
}

void TKervToolLauncherCommand::BuildMenu() { FillMenu(false); }

void TKervToolLauncherCommand::BuildMenuWithIcons(bool force) {
  if (builtWithIcons_ && !force) return;
  FillMenu(true);
  builtWithIcons_ = true;
}

void TKervToolLauncherCommand::FillMenu(bool withIcons) {
  if (menu_ == nullptr) return;
  // Every item after the first (the tool dialog's action) goes.
  DropActionsAfter(*menu_, 0);
  toolActions_.clear();
  const TToolLaunchSettings settings = LaunchSettings();
  TKervPlatform& platform = w_.System().Platform();
  TKervToolLauncher list({platform.fs, platform.codePage}, w_.System().SettingFolder(), settings);
  try {
    TKervIniAccess access(w_.Settings());
    list.LoadList();
  } catch (const std::exception&) {
    // The menu keeps what it has: no tools.
    return;
  }
  const std::vector<TToolMenuEntry> entries = list.MenuEntries();
  if (entries.empty()) return;
  menu_->addSeparator();
  QStyle& style = *w_.Form().style();
  std::vector<std::string> usedKeys;
  for (const TToolMenuEntry& entry : entries) {
    auto* action = new QAction(Utf8(entry.caption), menu_);
    action->setObjectName(QStringLiteral("Mnu_Tool%1").arg(entry.index));
    action->setIcon(ToolEntryIcon(entry, withIcons && settings.ShowIcon, style));
    menu_->addAction(action);
    toolActions_.push_back(action);
    if (!entry.exists) {
      // A tool whose program is gone cannot be chosen.
      action->setEnabled(false);
      continue;
    }
    action->setStatusTip(Utf8(entry.hint));
    action->setToolTip(Utf8(entry.hint));
    // Two tools on one key would leave the key to neither: the first keeps it.
    const std::string keys = ShortcutPortableText(entry.shortCut);
    if (!keys.empty() && std::find(usedKeys.begin(), usedKeys.end(), keys) == usedKeys.end()) {
      usedKeys.push_back(keys);
      action->setShortcut(QKeySequence::fromString(Utf8(keys), QKeySequence::PortableText));
      action->setShortcutContext(Qt::WindowShortcut);
      // On the window too, so the key works while the menu is closed.
      w_.Form().addAction(action);
    }
    const int index = entry.index;
    QObject::connect(action, &QAction::triggered, &w_.Form(), [this, index] { LaunchTool(index); });
  }
}

bool TKervToolLauncherCommand::LaunchTool(int index) {
  // No exception may leave the menu's signal.
  try {
    TKervPlatform& platform = w_.System().Platform();
    TKervToolLauncher list({platform.fs, platform.codePage, &platform.launcher, host_.get()},
                           w_.System().SettingFolder(), LaunchSettings());
    {
      TKervIniAccess access(w_.Settings());
      list.LoadList();
    }
    const bool started = list.Launch(index);
    if (list.TempFileWritten()) tempWritten_ = true;
    return started;
  } catch (const std::exception& error) {
    w_.Information().ShowError(error.what());
    return false;
  }
}

void TKervToolLauncherCommand::EditTools() {
  TKervPlatform& platform = w_.System().Platform();
  bool confirmed = false;
  {
    TKervIniAccess access(w_.Settings());
    TFrm_AppList dialog(platform.fs, platform.codePage, w_.System().SettingFolder(), w_.Information(), &w_.Form());
    if (!dialog.Loaded()) return;
    dialog.OnHelp = [this] { w_.InfoCommand().ShowHelpTopic("tools"); };
    confirmed = dialog.exec() == QDialog::Accepted;
  }
  if (!confirmed) return;
  w_.ApplyKeySet(false);
  BuildMenuWithIcons(true);
}

void TKervToolLauncherCommand::RemoveTempFile() {
  if (!tempWritten_) return;
  TKervPlatform& platform = w_.System().Platform();
  RemoveToolTempFile(platform.fs, platform.codePage, w_.System().SettingFolder(), LaunchSettings());
  tempWritten_ = false;
}

}  // namespace kerv
