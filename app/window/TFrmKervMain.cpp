#include "app/window/TFrmKervMain.h"

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
#include <QScreen>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QUrl>
#include <QMimeData>
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
#include "app/window/TKervReadProgress.h"
#include "app/window/TKervWindowCommands.h"
#include "document/TFileManager.h"
#include "editmode/TKervAutoIndent.h"
#include "editmode/TKervEditModeManager.h"
#include "editor/TEditor.h"
#include "editor/TEditorStringList.h"
#include "platform/qt/QtChannelNotifier.h"
#include "platform/qt/QtClipboard.h"
#include "search/SearchFlags.h"
#include "tools/ToolMessages.h"
#include "ui/TEditorWidget.h"

namespace kerv {

// The edit-mode manager's questions and notices, through the window.
class TKervEditModeUser : public IEditModeUser {
 public:
  TKervEditModeUser(TKervSystem& system, IKervInformation& information)
      : system_(system), information_(information) {}
  void NoticeError(const std::string& text) override { information_.Notify(text, IKervInformation::nlError); }
  void ShowError(const std::string& text) override { information_.ShowError(text); }
  void ShowErrorCode(int code, const std::optional<std::string>& argument) override {
    system_.ShowErrorCode(code, argument);
  }
  bool Confirm(const std::string& text) override { return information_.Confirm(text); }
  void RefuseName(const std::string& text) override { information_.ShowError(text); }

 private:
  TKervSystem& system_;
  IKervInformation& information_;
};


// The window side of the document: boxes and notices through the
// information service, and the title, status, busy state and dialog state of
// this window; the other windows through the channel; the local clock; the
// regular-backup timer; the hooks of the file command.
class TKervFileSide : public TKervFileWindow, public IKervOtherWindows, public IKervClock, public IKervTimer,
                      public IKervFileCommandHooks {
 public:
  explicit TKervFileSide(TFrmKervMain& window)
      : TKervFileWindow(*window.information_), window_(window), readProgress_(window) {
    timer_.setParent(&window);
    QObject::connect(&timer_, &QTimer::timeout, &window, [this] {
      if (window_.fileManager_) window_.fileManager_->RegularBackup().Tick();
    });
  }

  // IKervDocumentWindow
  void SetFileBusy(bool busy) override {
    window_.state_.FileBusy = busy;
    if (busy) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
      readProgress_.Start();
    } else {
      readProgress_.Finish();
      QApplication::restoreOverrideCursor();
    }
  }
  bool ReadProgress(int permille, bool cancellable) override { return readProgress_.Step(permille, cancellable); }
  bool BackupBlocked() override { return window_.state_.FileBusy || window_.Searching(); }
  void SetDialogState(int state) override { window_.state_.DialogState = state; }
  void SetTitles(const std::string&, const std::string&) override { window_.eventCommand_->RefreshTitle(); }
  void RefreshStatus(TCharCode charCode, TReturnCode returnCode) override {
    window_.information_->SetCodes(charCode, returnCode);
  }
  // IKervOtherWindows
  int WindowNumber() override { return window_.processes_ ? window_.processes_->WindowNumber() : 0; }
  bool ActivateWindowWith(const std::string& fileName) override {
    return window_.processes_ && window_.processes_->IsFileOpenElsewhere(fileName);
  }
  // IKervClock
  TKervLocalTime Now() override {
    const QDateTime now = QDateTime::currentDateTime();
    return {now.date().year(), now.date().month(),  now.date().day(),     now.time().hour(),
            now.time().minute(), now.time().second(), now.time().msec()};
  }
  // IKervTimer
  void SetInterval(int milliseconds) override { timer_.setInterval(milliseconds); }
  int Interval() const override { return timer_.interval(); }
  void SetEnabled(bool enabled) override {
    if (enabled) timer_.start();
    else timer_.stop();
  }
  bool Enabled() const override { return timer_.isActive(); }
  // IKervFileCommandHooks
  void ChooseEditMode(const std::string& fileName) override { window_.ApplyModeForFile(fileName); }
  void ReadOnlyChanged(bool readOnly) override {
    window_.Action(Act_Edit_ReadOnly)->setChecked(readOnly);
    window_.information_->SetReadOnlyShown(readOnly);
  }
  void HistoryMenuChanged(const std::vector<TKervFileHistory::TMenuEntry>& entries) override {
    std::vector<std::pair<std::string, std::string>> items;
    for (const auto& entry : entries) items.emplace_back(entry.caption, entry.fileName);
    window_.RebuildHistoryMenu(items);
  }

 private:
  TFrmKervMain& window_;
  TKervReadProgress readProgress_;
  QTimer timer_;
};

// What the search command needs of the window: the search bar's boxes, the
// option-dependent actions and the other windows' histories.
class TKervSearchSide : public IKervSearchWindow {
 public:
  explicit TKervSearchSide(TFrmKervMain& window) : window_(window) {}
  void SetSearchItems(const std::vector<std::string>& items) override { Fill(window_.searchBox_, items); }
  void SetReplaceItems(const std::vector<std::string>& items) override { Fill(window_.replaceBox_, items); }
  void SetSearchText(const std::string& word) override {
    window_.searchBox_->setEditText(Shown(word));
  }
  void SearchOptionsChanged() override {
    const TKervActionState state = window_.GatherState();
    window_.actionCommand_->RefreshSearchOptions(state);
    window_.actionCommand_->RefreshSelectionMode(state);
    window_.actionCommand_->UpdateSelSearch(state);
  }
  void SendHistoryWord(int kind, const std::string& word) override {
    if (!window_.processes_) return;
    if (kind == TKervSearchCommand::kSearchWordKind) window_.processes_->SendSearchWord(word);
    else window_.processes_->SendReplaceWord(word);
  }
  void FocusEditor() override {
    if (window_.isVisible()) window_.editors_->ActiveWidget().setFocus();
  }
  void QuestionBeep() override { window_.system_.Platform().dialogs.Beep(IDialogs::Icon::Question); }

 private:
  QString Shown(const std::string& sjis) { return SjisToQString(window_.system_.Platform().codePage, sjis); }
  void Fill(QComboBox* box, const std::vector<std::string>& items) {
    const QSignalBlocker block(box);
    box->clear();
    for (const std::string& item : items) box->addItem(Shown(item));
    box->setEditText(items.empty() ? QString() : Shown(items.front()));
  }

  TFrmKervMain& window_;
};

namespace {

// Icons from the desktop's theme, the style's own where the theme has none.
struct TIconChoice {
  TKervAction action;
  const char* theme;
  QStyle::StandardPixmap fallback;
};
constexpr TIconChoice kIcons[] = {
    {Act_File_New, "document-new", QStyle::SP_FileIcon},
    {Act_File_open, "document-open", QStyle::SP_DialogOpenButton},
    {Act_File_save, "document-save", QStyle::SP_DialogSaveButton},
    {Act_File_SaveAs, "document-save-as", QStyle::SP_DialogSaveButton},
    {Act_File_ReOpen, "view-refresh", QStyle::SP_BrowserReload},
    {Act_File_OpenFolder, "folder-open", QStyle::SP_DirOpenIcon},
    {Act_File_Print, "document-print", QStyle::SP_FileDialogDetailedView},
    {Act_File_Exit, "application-exit", QStyle::SP_DialogCloseButton},
    {Act_Edit_Undo, "edit-undo", QStyle::SP_ArrowBack},
    {Act_Edit_Redo, "edit-redo", QStyle::SP_ArrowForward},
    {Act_Edit_Cut, "edit-cut", QStyle::SP_TrashIcon},
    {Act_Edit_Copy, "edit-copy", QStyle::SP_FileDialogContentsView},
    {Act_Edit_Paste, "edit-paste", QStyle::SP_FileDialogDetailedView},
    {Act_Edit_Select, "edit-select-all", QStyle::SP_FileDialogListView},
    {Act_Srch_FindNext, "go-down", QStyle::SP_ArrowDown},
    {Act_Srch_FindPrev, "go-up", QStyle::SP_ArrowUp},
    {Act_Srch_ReplaceAll, "edit-find-replace", QStyle::SP_BrowserReload},
    {Act_Tool_Setting, "preferences-system", QStyle::SP_FileDialogInfoView},
    {Act_help, "help-contents", QStyle::SP_DialogHelpButton},
    {Act_Win_NewWin, "window-new", QStyle::SP_TitleBarNormalButton},
    {Act_Edit_BoxSelect, "edit-select", QStyle::SP_DialogResetButton},
    {Act_View_WordWrap, "format-justify-left", QStyle::SP_ToolBarHorizontalExtensionButton},
    {Act_Tool_EmSet, "document-properties", QStyle::SP_FileDialogDetailedView},
};

constexpr TKervAction kToolBarActions[] = {
    Act_File_New,  Act_File_open,      Act_File_save,      Act_Edit_Cut,       Act_Edit_Copy,   Act_Edit_Paste,
    Act_Edit_Undo, Act_Edit_Redo,      Act_Srch_FindPrev,  Act_Srch_FindNext,  Act_Edit_BoxSelect,
    Act_View_WordWrap, Act_Tool_Setting, Act_Tool_EmSet};
// Separators follow these tool-bar entries.
constexpr TKervAction kToolBarBreaks[] = {Act_File_save, Act_Edit_Paste, Act_Edit_Redo, Act_Srch_FindNext,
                                          Act_View_WordWrap};

}  // namespace

// ---------------------------------------------------------------- creation

TFrmKervMain::TFrmKervMain(TKervSystem& system, std::vector<std::string> arguments)
    : system_(system), arguments_(std::move(arguments)) {
  FormCreate();
}

TFrmKervMain::~TFrmKervMain() {
  // The settings store keeps the file command as the document's lock and
  // outlives the window: it lets go before the command goes. The commands
  // hold the panes and the managers; they go first. The window leaves the
  // list of running windows with its message handler.
  if (system_.HasSettingManager()) Settings().SetDocumentLock(nullptr);
  system_.FreeCommands();
  fileManager_.reset();
  fileSide_.reset();
}

TKervSettingManager& TFrmKervMain::Settings() { return system_.SettingManager(); }

TKervWindowBars TFrmKervMain::Bars() {
  return {toolBarRow_, searchBar_, foldStrip_, toolBarFold_, searchBarFold_, searchOptionsButton_};
}
TEditorWidget& TFrmKervMain::EditorWidget() { return editors_->MainWidget(); }

void TFrmKervMain::FormCreate() {
  setObjectName(QStringLiteral("TFrmKervMain"));
  setAcceptDrops(true);
  TKervPlatform& platform = system_.Platform();

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  setCentralWidget(central);

  information_ = new TKervInformation(platform.dialogs, state_, this);
  editors_ = new TKervEditorManager(platform.codePage, central);
  clipboard_ = std::make_unique<QtClipboard>(platform.codePage);
  using F = TKervCommandFamily;
  actionCommand_ = &system_.SetCommand(F::Action, std::make_unique<TKervActionCommand>(*this));
  dialogCommand_ = &system_.SetCommand(F::Dialog, std::make_unique<TKervDialogCommand>(system_, *this));
  editorCommand_ = &system_.SetCommand(F::Editor, std::make_unique<TKervEditorCommand>(*editors_, *clipboard_));
  infoCommand_ = &system_.SetCommand(F::Information, std::make_unique<TKervInformationCommand>(system_, *this));
  toolCommand_ = &system_.SetCommand(F::ToolLauncher, std::make_unique<TKervToolLauncherCommand>(system_, *this));
  viewCommand_ = &system_.SetCommand(F::View, std::make_unique<TKervViewCommand>(system_, *this));
  windowCommand_ = &system_.SetCommand(F::Window, std::make_unique<TKervWindowCommand>(system_, *this));
  eventCommand_ = &system_.SetCommand(F::EditorEvent, std::make_unique<TKervEditorEventCommand>(system_, *this));

  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreateSearchBar();
  foldStrip_ = new QWidget(central);
  foldStrip_->setObjectName(QStringLiteral("Pnl_FoldStrip"));
  auto* foldLayout = new QHBoxLayout(foldStrip_);
  foldLayout->setContentsMargins(2, 0, 2, 0);
  foldLayout->setSpacing(2);
  toolBarFold_ = new QToolButton(foldStrip_);
  toolBarFold_->setObjectName(QStringLiteral("FltBtn_ToolBarFold"));
  toolBarFold_->setText(QString::fromUtf8("ツールバー"));
  connect(toolBarFold_, &QToolButton::clicked, this, [this] { viewCommand_->SetBarExpanded(false, true); });
  searchBarFold_ = new QToolButton(foldStrip_);
  searchBarFold_->setObjectName(QStringLiteral("FltBtn_SearchBarFold"));
  searchBarFold_->setText(QString::fromUtf8("サーチバー"));
  connect(searchBarFold_, &QToolButton::clicked, this, [this] { viewCommand_->SetBarExpanded(true, true); });
  foldLayout->addWidget(toolBarFold_);
  foldLayout->addWidget(searchBarFold_);
  foldLayout->addStretch(1);

  layout->addWidget(toolBarRow_);
  layout->addWidget(searchBar_);
  layout->addWidget(foldStrip_);
  layout->addWidget(editors_->Container(), 1);
  CreateInfoBar();
  layout->addWidget(infoBar_);
  CreateStatusBar();

  editors_->OnPaneCreated = [this](TEditorWidget& pane) { eventCommand_->HookPane(pane); };
  editors_->OnActiveChanged = [this](TEditorWidget& pane) {
    pane.Editor().RecomputeLayout();
    infoCommand_->ShowCaretPos();
    eventCommand_->SelectionChanged(pane.Editor(), pane.Editor().Selected());
    RefreshEditActions();
  };
  eventCommand_->HookPane(editors_->MainWidget());
  setFocusProxy(&editors_->MainWidget());
  Initialize();
}

void TFrmKervMain::CreateActions() {
  for (const TKervActionInfo& info : ActionTable()) {
    auto* action = new QAction(QString::fromUtf8(info.caption), this);
    action->setObjectName(QString::fromLatin1(info.name));
    action->setCheckable(info.checkable);
    action->setToolTip(Utf8(ShortHint(info)));
    action->setStatusTip(Utf8(LongHint(info)));
    // Shortcuts reach the window wherever the focus is inside it.
    action->setShortcutContext(Qt::WindowShortcut);
    const TKervAction id = info.id;
    connect(action, &QAction::triggered, this, [this, id] { Run(id); });
    addAction(action);
    actions_[static_cast<size_t>(id) - 1] = action;
  }
  for (const TIconChoice& icon : kIcons) {
    QAction* action = Action(icon.action);
    action->setIcon(QIcon::fromTheme(QString::fromLatin1(icon.theme), style()->standardIcon(icon.fallback)));
    // In a menu an icon takes the check mark's place: an on/off item shows its check instead.
    if (action->isCheckable()) action->setIconVisibleInMenu(false);
  }
}

void TFrmKervMain::CreateMenus() {
  auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
    for (int id : ids) {
      if (id == 0) menu->addSeparator();
      else menu->addAction(Action(static_cast<TKervAction>(id)));
    }
  };
  QMenuBar* bar = menuBar();
  QMenu* file = bar->addMenu(QString::fromUtf8("ファイル(&F)"));
  file->setObjectName(QStringLiteral("Mnu_File"));
  add(file, {Act_File_New, Act_File_open, Act_File_ReOpen, Act_File_AddOpen});
  historyMenu_ = file->addMenu(QString::fromUtf8("最近使ったファイル(&H)"));
  historyMenu_->setObjectName(QStringLiteral("Mnu_History"));
  connect(file, &QMenu::aboutToShow, this, [this] {
    if (fileCommand_) fileCommand_->RefreshHistoryMenu();
  });
  add(file, {0, Act_File_save, Act_File_SaveAs, 0, Act_File_Change_CharCode, Act_File_Change_RetCode,
             Act_File_OpenFolder, 0, Act_File_Print, 0, Act_File_Exit});

  QMenu* edit = bar->addMenu(QString::fromUtf8("編集(&E)"));
  edit->setObjectName(QStringLiteral("Mnu_Edit"));
  add(edit, {Act_Edit_Undo, Act_Edit_Redo, 0, Act_Edit_Cut, Act_Edit_Copy, Act_Edit_Paste, Act_Edit_AddCut,
             Act_Edit_AddCopy, 0, Act_Edit_Select, Act_Edit_BoxSelect, Act_Edit_ReadOnly, 0});
  QMenu* del = edit->addMenu(QString::fromUtf8("削除(&D)"));
  add(del, {Act_Del_Del, Act_Del_BackSpace, Act_Del_LineDel, Act_Del_PrevCursor, Act_Del_AfterCursor});
  QMenu* caret = edit->addMenu(QString::fromUtf8("キャレット移動(&M)"));
  add(caret, {Act_Csr_JumpFirst, Act_Csr_JumpTo, Act_Csr_JumpLast, 0, Act_Csr_CaretUp, Act_Csr_Down,
              Act_Csr_CaretLeft, Act_Csr_Right, 0, Act_Csr_SwichActiveEditor});
  add(edit, {0, Act_Edit_CharCount, Act_Edit_AsciiCode, 0, Act_Edit_AutoIndent, Act_Edit_BSUnindent});

  QMenu* search = bar->addMenu(QString::fromUtf8("検索(&S)"));
  search->setObjectName(QStringLiteral("Mnu_Search"));
  add(search, {Act_Srch_FindNext, Act_Srch_FindPrev, Act_Srch_QuickSearch, 0, Act_Srch_ReplaceDown,
               Act_Srch_ReplaceUp, Act_Srch_ReplaceAll, 0, Act_Srch_NewWord, Act_Srch_SelSearch,
               Act_Srch_ClearSearchWordEmphasis});

  QMenu* format = bar->addMenu(QString::fromUtf8("整形(&O)"));
  format->setObjectName(QStringLiteral("Mnu_Format"));
  add(format, {Act_Fmt_Upper, Act_Fmt_Lower, Act_Fmt_ZenToHan, Act_Fmt_HanToZen, Act_Fmt_Hira, Act_Fmt_Kana,
               Act_Fmt_TypeFormat, 0, Act_Fmt_TabToSpace, Act_Fmt_SpaceToTab, 0, Act_Fmt_Indent, Act_Fmt_Outdent,
               Act_Fmt_SPIndent, Act_Fmt_SPOutndent, 0, Act_Fmt_Num, Act_Fmt_LeadStr, Act_Fmt_FootStr,
               Act_Fmt_DelLead, Act_Fmt_ElaseEmpLine, Act_Fmt_ReturnAt, Act_Fmt_TagElase, 0, Act_Fmt_Sort,
               Act_Fmt_ReverseSort});

  QMenu* insert = bar->addMenu(QString::fromUtf8("挿入(&I)"));
  insert->setObjectName(QStringLiteral("Mnu_Insert"));
  add(insert, {Act_Inst_TimeDate, Act_Inst_UserName, Act_Inst_Version, Act_Inst_FileName, Act_Inst_FilePath, 0,
               Act_Inst_Return, Act_Inst_Tab, Act_Inst_Space, Act_Inst_DSpace, Act_Inst_FootStr});

  QMenu* view = bar->addMenu(QString::fromUtf8("表示(&V)"));
  view->setObjectName(QStringLiteral("Mnu_View"));
  add(view, {Act_View_ToolBar, Act_View_ToolBarExp, Act_View_SearchBar, Act_View_SearchBarExp, Act_View_Infobar,
             Act_View_Statusbar, Act_View_ModeList, 0, Act_View_LineNum, Act_View_Ruler, Act_View_WordWrap,
             Act_View_WinWrap, 0, Act_View_StayTop, Act_View_Font, 0, Act_View_AddTmpRsv, Act_View_TmpRsvList});

  QMenu* tools = bar->addMenu(QString::fromUtf8("ツール(&T)"));
  tools->setObjectName(QStringLiteral("Mnu_Tool"));
  // The tool launcher's menu: the tool dialog first, the tools after it.
  appListMenu_ = tools->addMenu(QString::fromUtf8(ToolMessage(TToolMessage::MenuCaption)));
  appListMenu_->setObjectName(QStringLiteral("Mnu_AppList"));
  appListMenu_->addAction(Action(Act_Tool_ToolSet));
  toolCommand_->SetMenu(appListMenu_);
  for (QMenu* opened : {tools, appListMenu_}) {
    connect(opened, &QMenu::aboutToShow, this, [this] { toolCommand_->BuildMenuWithIcons(false); });
  }
  add(tools, {Act_Tool_VuvE, Act_Tool_ImageWindow, 0, Act_Tool_Setting, Act_Tool_EmSet});

  QMenu* window = bar->addMenu(QString::fromUtf8("ウィンドウ(&W)"));
  window->setObjectName(QStringLiteral("Mnu_Window"));
  add(window, {Act_Win_NewWin, 0, Act_Win_VTile, Act_Win_HTile, Act_Win_Cascade, Act_Win_Minimize, Act_Win_Restore,
               0, Act_Win_HSplit, Act_Win_VSplit, 0, Act_Win_NextWindow, Act_Win_PrevWindow});
  // The running windows follow, listed anew each time the menu opens.
  connect(window, &QMenu::aboutToShow, this, [this, window] {
    if (windowCommand_) windowCommand_->FillWindowMenu(*window, Action(Act_Win_PrevWindow));
  });

  QMenu* help = bar->addMenu(QString::fromUtf8("ヘルプ(&H)"));
  help->setObjectName(QStringLiteral("Mnu_Help"));
  add(help, {Act_help, 0});
  QAction* about = help->addAction(QString::fromUtf8("バージョン情報(&A)..."));
  about->setObjectName(QStringLiteral("Mnu_About"));
  connect(about, &QAction::triggered, this, [this] {
    QMessageBox::about(this, QString::fromUtf8("バージョン情報 - KervEditor"),
                       QString::fromUtf8("KervEditor\nFor %1 Version %2")
                           .arg(QSysInfo::prettyProductName(), Utf8(TKervSystem::VersionString())));
  });

  charCodeMenu_ = CreateCodeMenu(false);
  returnCodeMenu_ = CreateCodeMenu(true);
  infoBarMenu_ = new QMenu(this);
  add(infoBarMenu_, {Act_Infobar_LastInfo, Act_Infobar_Clipboard, Act_Infobar_Now});
}

QMenu* TFrmKervMain::CreateCodeMenu(bool returnCodes) {
  auto* menu = new QMenu(this);
  menu->setObjectName(returnCodes ? QStringLiteral("PMnu_RetCode") : QStringLiteral("PMnu_CharCode"));
  auto* group = new QActionGroup(menu);
  static constexpr std::pair<int, const char*> kCodes[] = {{1, "&Shift-JIS"}, {2, "&JIS"},         {3, "&EUC"},
                                                           {4, "&Unicode"},   {5, "Unicode(&BE)"}, {6, "UTF-&8"},
                                                           {7, "UTF-8&N"}};
  static constexpr std::pair<int, const char*> kReturns[] = {{1, "&CRLF"}, {2, "&LF"}, {3, "C&R"}};
  auto add = [&](int code, const char* caption) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setCheckable(true);
    action->setData(code);
    group->addAction(action);
    connect(action, &QAction::triggered, this, [this, returnCodes, code] { ChooseCode(returnCodes, code); });
  };
  if (returnCodes) {
    for (const auto& [code, caption] : kReturns) add(code, caption);
  } else {
    for (const auto& [code, caption] : kCodes) add(code, caption);
  }
  return menu;
}

void TFrmKervMain::CreateToolBar() {
  toolBarRow_ = new QWidget(centralWidget());
  toolBarRow_->setObjectName(QStringLiteral("Pnl_ToolBarRow"));
  auto* row = new QHBoxLayout(toolBarRow_);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(4);
  toolBar_ = new QToolBar(toolBarRow_);
  toolBar_->setObjectName(QStringLiteral("ToolBar"));
  toolBar_->setIconSize(QSize(18, 18));
  for (TKervAction id : kToolBarActions) {
    toolBar_->addAction(Action(id));
    if (std::find(std::begin(kToolBarBreaks), std::end(kToolBarBreaks), id) != std::end(kToolBarBreaks)) {
      toolBar_->addSeparator();
    }
  }
  auto* launcher = new QToolButton(toolBar_);
  launcher->setObjectName(QStringLiteral("TlBtn_ToolLauncher"));
  launcher->setToolTip(QString::fromUtf8(ToolMessage(TToolMessage::ToolBarButtonTip)));
  launcher->setIcon(QIcon::fromTheme(QStringLiteral("applications-utilities"),
                                     style()->standardIcon(QStyle::SP_ComputerIcon)));
  launcher->setMenu(appListMenu_);
  launcher->setPopupMode(QToolButton::InstantPopup);
  toolBar_->addSeparator();
  toolBar_->addWidget(launcher);
  row->addWidget(toolBar_);
  modeListBox_ = new QWidget(toolBarRow_);
  auto* modeRow = new QHBoxLayout(modeListBox_);
  modeRow->setContentsMargins(0, 0, 0, 0);
  modeList_ = new QComboBox(modeListBox_);
  modeList_->setObjectName(QStringLiteral("Cmb_EditMode"));
  modeList_->setToolTip(QString::fromUtf8("編集モード"));
  modeList_->setMinimumContentsLength(12);
  modeList_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  connect(modeList_, &QComboBox::activated, this, [this](int index) {
    if (fillingModeList_ || index < 0) return;
    ChangeMode(modeList_->itemData(index).toByteArray().toStdString());
  });
  auto* modeButton = new QToolButton(modeListBox_);
  modeButton->setObjectName(QStringLiteral("FltBtn_EditModeSetting"));
  modeButton->setDefaultAction(Action(Act_Tool_EmSet));
  modeButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
  modeButton->setIcon(QIcon::fromTheme(QStringLiteral("document-properties"),
                                       style()->standardIcon(QStyle::SP_FileDialogDetailedView)));
  modeRow->addWidget(modeList_);
  modeRow->addWidget(modeButton);
  row->addWidget(modeListBox_);
  row->addStretch(1);
}

void TFrmKervMain::CreateSearchBar() {
  searchBar_ = new QToolBar(centralWidget());
  searchBar_->setObjectName(QStringLiteral("SearchBar"));
  searchBar_->setIconSize(QSize(16, 16));
  auto makeBox = [this](const char* name, const char* tip) {
    auto* box = new QComboBox(searchBar_);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(18);
    box->setToolTip(QString::fromUtf8(tip));
    box->lineEdit()->setMaxLength(1024);
    box->setCompleter(nullptr);
    box->lineEdit()->installEventFilter(this);
    return box;
  };
  searchBar_->addWidget(new QLabel(QString::fromUtf8(" 検索: "), searchBar_));
  searchBox_ = makeBox("Cmb_Search", "検索する文字列");
  // Enter in the boxes: whatever completer sits on the line edit, it still says so.
  // Enter runs the action only when the action could run (never in box mode).
  connect(searchBox_->lineEdit(), &QLineEdit::returnPressed, this, [this] {
    actionCommand_->RefreshSelectionMode(GatherState());
    if (Action(Act_Srch_FindNext)->isEnabled()) Run(Act_Srch_FindNext);
  });
  searchBar_->addWidget(searchBox_);
  searchBar_->addAction(Action(Act_Srch_FindPrev));
  searchBar_->addAction(Action(Act_Srch_FindNext));
  searchBar_->addSeparator();
  searchBar_->addWidget(new QLabel(QString::fromUtf8(" 置換: "), searchBar_));
  replaceBox_ = makeBox("Cmb_Replace", "置換後の文字列");
  connect(replaceBox_->lineEdit(), &QLineEdit::returnPressed, this, [this] {
    actionCommand_->RefreshSelectionMode(GatherState());
    if (Action(Act_Srch_ReplaceDown)->isEnabled()) Run(Act_Srch_ReplaceDown);
  });
  searchBar_->addWidget(replaceBox_);
  searchBar_->addAction(Action(Act_Srch_ReplaceUp));
  searchBar_->addAction(Action(Act_Srch_ReplaceDown));
  searchBar_->addAction(Action(Act_Srch_ReplaceAll));
  searchBar_->addSeparator();
  searchBar_->addAction(Action(Act_Srch_SelSearch));
  searchOptionsButton_ = new QToolButton(searchBar_);
  searchOptionsButton_->setObjectName(QStringLiteral("FltBtn_SearchOption"));
  searchOptionsButton_->setText(QString::fromUtf8("オプション"));
  searchOptionsButton_->setToolTip(QString::fromUtf8("検索オプション"));
  connect(searchOptionsButton_, &QToolButton::clicked, this, [this] { dialogCommand_->OpenSearchOptions(); });
  searchBar_->addWidget(searchOptionsButton_);
}

void TFrmKervMain::CreateInfoBar() {
  infoBar_ = new QWidget(centralWidget());
  infoBar_->setObjectName(QStringLiteral("Pnl_InfoBar"));
  auto* row = new QHBoxLayout(infoBar_);
  row->setContentsMargins(2, 1, 2, 1);
  row->setSpacing(2);
  auto* menuButton = new QToolButton(infoBar_);
  menuButton->setObjectName(QStringLiteral("FltBtn_InfoMenu"));
  menuButton->setText(QString::fromUtf8("情報"));
  menuButton->setToolTip(QString::fromUtf8("インフォバーのメニュー"));
  connect(menuButton, &QToolButton::clicked, this, [this, menuButton] {
    const QSize size = infoBarMenu_->sizeHint();
    infoBarMenu_->popup(menuButton->mapToGlobal(QPoint(0, -size.height())));
  });
  auto* counter = new QToolButton(infoBar_);
  counter->setObjectName(QStringLiteral("FltBtn_CharCount"));
  counter->setDefaultAction(Action(Act_Edit_CharCount));
  counter->setText(QString::fromUtf8("文字数"));
  auto* ascii = new QToolButton(infoBar_);
  ascii->setObjectName(QStringLiteral("FltBtn_AsciiCode"));
  ascii->setDefaultAction(Action(Act_Edit_AsciiCode));
  ascii->setText(QStringLiteral("ASCII"));
  infoLabel_ = new QLabel(infoBar_);
  infoLabel_->setObjectName(QStringLiteral("Lbl_Info"));
  infoLabel_->setTextFormat(Qt::PlainText);
  infoLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  row->addWidget(menuButton);
  row->addWidget(counter);
  row->addWidget(ascii);
  row->addWidget(infoLabel_, 1);
  information_->SetInfoBar(infoBar_, infoLabel_);
}

void TFrmKervMain::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar"));
  auto cell = [bar](const char* name, int width) {
    auto* label = new QLabel(bar);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setFixedWidth(width);
    bar->addPermanentWidget(label);
    return label;
  };
  hintCell_ = new QLabel(bar);
  hintCell_->setObjectName(QStringLiteral("Lbl_Hint"));
  hintCell_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  bar->addWidget(hintCell_, 1);
  caretCell_ = cell("Lbl_Caret", 92);
  codeCell_ = cell("Lbl_CharCode", 82);
  returnCell_ = cell("Lbl_RetCode", 42);
  overwriteCell_ = cell("Lbl_Overwrite", 47);
  readOnlyCell_ = cell("Lbl_ReadOnly", 60);
  readOnlyCell_->setText(QString::fromUtf8("編集禁止"));
  readOnlyCell_->setEnabled(false);
  for (QLabel* clickable : {codeCell_, returnCell_}) {
    clickable->setAutoFillBackground(true);
    clickable->installEventFilter(this);
  }
  // The status bar's own hint line would cover the cells: hints go to the hint cell.
  connect(bar, &QStatusBar::messageChanged, this, [this, bar](const QString& text) {
    if (text.isEmpty()) return;
    information_->SetHint(text);
    bar->clearMessage();
  });
  information_->SetCells({hintCell_, caretCell_, codeCell_, returnCell_, overwriteCell_, readOnlyCell_});
  information_->SetCodeMenus(charCodeMenu_, returnCodeMenu_);
}

// ---------------------------------------------------------------- start-up

void TFrmKervMain::Initialize() {
  TKervPlatform& platform = system_.Platform();
  TKervSettingManager& settings = Settings();
  if (!settings.LoadOnStartup()) system_.ShowErrorCode(19001);
  ApplyKeySet(true);
  QApplication::setApplicationName(QString::fromUtf8(TKervSystem::ProductName()));
  Action(Act_Tool_ImageWindow)->setEnabled(false);
  Action(Act_help)->setEnabled(!infoCommand_->HelpFile().isEmpty());

  modeUser_ = std::make_unique<TKervEditModeUser>(system_, *information_);
  modes_ = std::make_unique<TKervEditModeManager>(platform.fs, platform.codePage, *modeUser_, system_.SettingFolder());
  // A new settings folder gets the modes shipped with the program.
  modes_->SeedShippedModes(system_.DataFolder() + "modes/");
  modes_->LoadAssociations();
  modeCommand_ = &system_.SetCommand(
      TKervCommandFamily::EditMode,
      std::make_unique<TKervEditModeCommand>(*modes_, *editors_, *information_, [this](TEditor& editor, const TEditorPropEx& mode) {
        editors_->ApplyEditMode(editor, mode, Settings());
      }));
  modeCommand_->NoticeUndoClear = [this] { return Settings().EditMode().NoticeUndoClear; };
  modeCommand_->OnModeBoxChange = [this](const TKervModeBox& box) {
    fillingModeList_ = true;
    modeList_->clear();
    ICodePage& codePage = system_.Platform().codePage;
    for (const std::string& name : box.names) {
      modeList_->addItem(SjisToQString(codePage, name), QByteArray::fromStdString(name));
    }
    modeList_->setCurrentIndex(box.selected);
    fillingModeList_ = false;
  };
  editors_->Init();
  information_->SetOverwrite(false);
  messageHandler_ = &system_.SetCommand(TKervCommandFamily::MessageHandler,
                                        std::make_unique<TKervMessageHandlerCommand>(system_, *this));
  processes_ = messageHandler_->Processes();
  IFileDialogs* fileDialogs = platform.fileDialogs;
  if (!fileDialogs) {
    ownFileDialogs_ = std::make_unique<QtFileDialogs>(this);
    fileDialogs = ownFileDialogs_.get();
  }
  IFileLock* fileLock = platform.fileLock;
  if (!fileLock) {
    ownFileLock_ = std::make_unique<PosixFileLock>();
    fileLock = ownFileLock_.get();
  }
  editorDocument_ = std::make_unique<TKervEditorDocument>(*editors_);
  fileSide_ = std::make_unique<TKervFileSide>(*this);
  fileManager_ = std::make_unique<TKervFileManager>(TKervFileManagerPorts{
      platform.fs, platform.codePage, platform.dialogs, *fileDialogs, *fileLock, *editorDocument_, *fileSide_,
      *fileSide_, *fileSide_, *fileSide_});
  fileCommand_ = &system_.SetCommand(TKervCommandFamily::File,
                                     std::make_unique<TKervFileCommand>(*fileManager_, *editorDocument_, *fileSide_,
                                                                        settings, platform.launcher, *fileSide_, *fileSide_));
  settings.SetDocumentLock(fileCommand_);
  formatDialogs_ = std::make_unique<TKervFormatDialogsQt>(this, platform.codePage, *information_);
  collator_ = std::make_unique<TQtCollator>(platform.codePage);
  formatCommand_ = &system_.SetCommand(
      TKervCommandFamily::Format,
      std::make_unique<TKervFormatCommand>(*editors_, *formatDialogs_, *information_, settings, settings.Editor(),
                                           [this]() -> const TEditorPropEx& { return modes_->Current(); }));
  formatCommand_->SetCollator(collator_.get());
  formatCommand_->SetDialogStateHandler([this](int dialogState) { state_.DialogState = dialogState; });
  searchSide_ = std::make_unique<TKervSearchSide>(*this);
  replacing_ = std::make_unique<TFrmReplacingProgress>(this);
  replacing_->OnRunning = [this](bool running) {
    editors_->ForEach([running](TEditorWidget& pane) { pane.SetEditLocked(running); });
  };
  searchCommand_ = &system_.SetCommand(TKervCommandFamily::Search,
                                       std::make_unique<TKervSearchCommand>(*editors_, *information_, settings,
                                                                            platform.codePage, *searchSide_, *replacing_));
  searchCommand_->LoadHistories();
  for (QComboBox* box : {searchBox_, replaceBox_}) {
    connect(box, &QComboBox::editTextChanged, this, [this] { searchCommand_->ResetSearchState(); });
  }
  fileManager_->Reset();

  const TKervEachProcessSetting& each = settings.EachProcess();
  view_.BaseBar = each.BaseBar;
  view_.SearchBar = each.SearchBar;
  view_.BaseExpanded = each.BaseExpanded;
  view_.SearchExpanded = each.SearchExpanded;
  infoBar_->setVisible(each.ShowInfoBar);
  statusBar()->setVisible(each.ShowStatusBar);
  modeListBox_->setVisible(each.ShowModeList);
  state_ = TKervState();
  ApplySettings();

  fileCommand_->RefreshHistoryMenu();
  ProcessCommandLine();
  if (!startedOk_) return;
  const bool untitled = fileManager_->FileName() == TKervFileManager::kUntitled;
  // The panes show a mode from the start, and the mode box shows that mode:
  // the command line's, the document's, or (with no choice by extension) the
  // default one.
  if (!modeApplied_) {
    if (untitled) {
      ApplyModeForFile(fileManager_->FileName());
    } else {
      ModeApplied(modeCommand_->ChangeMode(std::string(), false, true).applied);
    }
  }
  fileCommand_->RefreshTitle();
  infoCommand_->ShowCaretPos();
  if (untitled && !startFileWaits_) information_->Notify(messages::kWelcome, IKervInformation::nlPlain);
  modeCommand_->FillModeBox(false);
  viewCommand_->LayoutBars();
  RefreshAll();
  toolCommand_->BuildMenu();
}

void TFrmKervMain::ApplyKeySet(bool reportDamage) {
  TKervPlatform& platform = system_.Platform();
  TKervKeySet keySet(platform.fs, platform.codePage, system_.SettingFolder());
  TKeySetLoadResult result;
  try {
    TKervIniAccess access(Settings());
    result = actionCommand_->ApplyKeySet(keySet, Settings().KeySet().KeySet);
  } catch (const std::exception& error) {
    // The actions keep the keys they had.
    result.error = error.what();
  }
  if (reportDamage && !result.error.empty()) information_->ShowError(result.error);
}

void TFrmKervMain::SetShortcut(TKervAction action, const std::string& portableText) {
  Action(action)->setShortcut(portableText.empty() ? QKeySequence()
                                                   : QKeySequence::fromString(Utf8(portableText), QKeySequence::PortableText));
}

void TFrmKervMain::ApplySettings() {
  TKervSettingManager& settings = Settings();
  information_->SetInfoBarOptions(settings.InfoBar().UseInfoBar, settings.InfoBar().InfoBarTime);
  editors_->ApplySettings(settings);
  // A mode that uses the default font shows a changed default font at once.
  if (modeApplied_ && modes_->Current().UseDafaultFont()) editors_->ApplyDefaultFont(settings);
  if (fileCommand_) fileCommand_->ApplySettings(system_.SettingFolder());
  toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  viewCommand_->LayoutBars();
}

void TFrmKervMain::ProcessCommandLine() {
  parameter_ = std::make_unique<TKervParameter>(system_, arguments_);
  parameter_->LaunchRest();
  if (!parameter_->FileName.empty() && TKervParameter::ShowWindowFirst(system_.Platform().fs, parameter_->FileName)) {
    startFileWaits_ = true;
    return;
  }
  if (!parameter_->FileName.empty() &&
      !fileCommand_->OpenFromCommandLine(parameter_->FileName, static_cast<TCharCode>(parameter_->CharCode),
                                         parameter_->ReadOnly)) {
    startedOk_ = false;
    return;
  }
  ApplyStartOptions();
}

void TFrmKervMain::OpenWaitingStartFile() {
  if (!startFileWaits_) return;
  startFileWaits_ = false;
  if (!fileCommand_->OpenFromCommandLine(parameter_->FileName, static_cast<TCharCode>(parameter_->CharCode),
                                         parameter_->ReadOnly)) {
    if (!fileManager_->LastReadCancelled()) close();
    return;
  }
  // The open chose the file's mode as any open does; the command line's comes after.
  ApplyStartOptions();
  fileCommand_->RefreshTitle();
  infoCommand_->ShowCaretPos();
  modeCommand_->FillModeBox(false);
  RefreshAll();
}

void TFrmKervMain::ApplyStartOptions() {
  if (!parameter_->EditModeName.empty()) {
    ChangeMode(system_.Platform().codePage.Utf8ToCp932(parameter_->EditModeName, nullptr));
  }
  if (parameter_->JumpToEnd) {
    editorCommand_->JumpToEnd();
  } else if (parameter_->JumpLine >= 0) {
    editorCommand_->JumpToLine(parameter_->JumpLine);
  }
}

void TFrmKervMain::ApplyModeForFile(const std::string& fileName) {
  ModeApplied(modeCommand_->ChangeModeForFile(fileName, true).applied);
}

void TFrmKervMain::ChangeMode(const std::string& name) { ModeApplied(modeCommand_->ChangeMode(name, true, false).applied); }

void TFrmKervMain::ModeApplied(bool applied) {
  if (!applied) return;
  modeApplied_ = true;
  if (isVisible()) editors_->ActiveWidget().setFocus();
  if (actionCommand_) actionCommand_->RefreshModeChecks(GatherState());
}

void TFrmKervMain::Place() {
  int showMode = 0;
  if (parameter_) showMode = parameter_->ShowNormal ? 1 : parameter_->ShowMinimized ? 2 : 0;
  TKervWindowSettings placementSettings;
  const TKervWindowSetting& window = Settings().Window();
  const TKervEachProcessSetting& each = Settings().EachProcess();
  placementSettings.Mode = window.Mode;
  placementSettings.LastWindowState = each.LastWindowState;
  placementSettings.UseUserPos = window.UseUserPos;
  placementSettings.UserPosX = window.UserPosX;
  placementSettings.UserPosY = window.UserPosY;
  placementSettings.UseUserSize = window.UseUserSize;
  placementSettings.UserSizeX = window.UserSizeX;
  placementSettings.UserSizeY = window.UserSizeY;
  placementSettings.LastPosX = each.LastPosX;
  placementSettings.LastPosY = each.LastPosY;
  placementSettings.LastSizeX = each.LastSizeX;
  placementSettings.LastSizeY = each.LastSizeY;
  // Only the first window takes the saved place; later ones only the size.
  // The number was given above the largest another window answered with, so
  // the windows need not be asked again.
  const int otherWindows = processes_ && processes_->WindowNumber() > 0 ? 1 : 0;
  TKervWindowPlacement placement = TKervWindowInitializer::Apply(placementSettings, otherWindows, showMode);
  // However large kerv.ini says, the window fits the screen's free area.
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    placement = TKervWindowInitializer::FitToScreen(placement, {area.x(), area.y(), area.width(), area.height()});
  }
  // Once the window manager has put its frame around the window, the frame
  // too is held inside the free area (the title bar stays within reach).
  QTimer::singleShot(200, this, [this] { FitFrameToScreen(); });
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

void TFrmKervMain::FitFrameToScreen() {
  const QScreen* screen = this->screen();
  if (!screen || isMaximized() || isMinimized() || isFullScreen()) return;
  const QRect area = screen->availableGeometry();
  const QRect frame = frameGeometry();
  if (area.contains(frame)) return;
  const int frameWidth = frame.width() - width();
  const int frameHeight = frame.height() - height();
  const int newWidth = std::min(width(), area.width() - frameWidth);
  const int newHeight = std::min(height(), area.height() - frameHeight);
  resize(std::max(1, newWidth), std::max(1, newHeight));
  const int x = std::clamp(frame.x(), area.x(), std::max(area.x(), area.right() + 1 - (newWidth + frameWidth)));
  const int y = std::clamp(frame.y(), area.y(), std::max(area.y(), area.bottom() + 1 - (newHeight + frameHeight)));
  move(x, y);
}

// ---------------------------------------------------------------- refresh rules

TKervActionState TFrmKervMain::GatherState() const {
  TKervActionState state;
  state.baseBar = view_.BaseBar;
  state.baseExpanded = view_.BaseExpanded;
  state.searchBar = view_.SearchBar;
  state.searchExpanded = view_.SearchExpanded;
  state.infoBarVisible = !infoBar_->isHidden();
  state.statusBarVisible = !statusBar()->isHidden();
  state.modeListVisible = !modeListBox_->isHidden();
  const uint16_t flags = system_.SettingManager().Search().SearchFlags;
  state.regularExpression = (flags & SearchFlag::RegExp) != 0;
  state.selectionOnly = (flags & SearchFlag::SelectionOnly) != 0;
  state.autoComplete = system_.SettingManager().Search().AutoComplete;
  TEditor& editor = editors_->ActiveEditor();
  state.editorFocused = editors_->EditorHasFocus() || !isActiveWindow();
  state.selected = editor.Selected();
  state.boxMode = editor.SelectionMode() == smBox;
  state.canUndo = editor.CanUndo();
  state.canRedo = editor.CanRedo();
  state.wordWrap = editors_->MainEditor().WordWrap();
  state.windowWrap = editors_->Wrap().WindowWrap();
  state.bsUnindent = editor.Caret().BackSpaceUnIndent();
  state.autoIndent = editors_->AutoIndent();
  state.ruler = editor.Ruler().Visible();
  state.lineNumbers = editor.Leftbar().Visible();
  for (QComboBox* box : {searchBox_, replaceBox_}) {
    if (box->lineEdit()->hasFocus() && box->lineEdit()->hasSelectedText()) state.searchBoxSelected = true;
  }
  return state;
}

void TFrmKervMain::SetEnabled(TKervAction action, bool enabled) {
  Action(action)->setEnabled(enabled);
}

void TFrmKervMain::SetChecked(TKervAction action, bool checked) { Action(action)->setChecked(checked); }

void TFrmKervMain::SetAutoComplete(bool on) {
  for (QComboBox* box : {searchBox_, replaceBox_}) {
    if (on == (box->completer() != nullptr)) continue;
    QCompleter* completer = nullptr;
    if (on) {
      completer = new QCompleter(box->model(), box);
      completer->setCaseSensitivity(Qt::CaseInsensitive);
      completer->setCompletionMode(QCompleter::InlineCompletion);
    }
    box->setCompleter(completer);
  }
}

void TFrmKervMain::RefreshAll() {
  const TKervActionState state = GatherState();
  actionCommand_->RefreshAll(state);
  actionCommand_->RefreshSelectionMode(state);
  RefreshEditActions();
}

void TFrmKervMain::RefreshEditActions() {
  const TKervActionState state = GatherState();
  actionCommand_->UpdateUndoRedo(state);
  actionCommand_->UpdateCutCopy(state);
  actionCommand_->UpdateSelSearch(state);
}

// ---------------------------------------------------------------- bars

// ---------------------------------------------------------------- events

namespace {

// The local files a drag carries, each a name of its own.
std::vector<std::string> DroppedFiles(const QMimeData* data) {
  std::vector<std::string> names;
  if (!data || !data->hasUrls()) return names;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) names.push_back(url.toLocalFile().toStdString());
  }
  return names;
}

}  // namespace

void TFrmKervMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFiles(event->mimeData()).empty()) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TFrmKervMain::dropEvent(QDropEvent* event) {
  const std::vector<std::string> names = DroppedFiles(event->mimeData());
  if (names.empty()) return event->ignore();
  event->acceptProposedAction();
  // After the drop has ended: opening may ask questions.
  QTimer::singleShot(0, this, [this, names] { windowCommand_->OpenDroppedFiles(names); });
}

bool TFrmKervMain::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowActivate:
      // While a replace-all runs, its window takes the focus.
      if (replacing_ && replacing_->Window()) {
        replacing_->Window()->raise();
        replacing_->Window()->activateWindow();
        break;
      }
      eventCommand_->RefreshTitle();
      // After the activation has settled: the check may ask a question.
      QTimer::singleShot(0, this, [this] {
        if (fileCommand_ && state_.DialogState == dlgNone && !state_.FileBusy) {
          fileCommand_->CheckChangedOnActivate(Searching());
        }
      });
      break;
    case QEvent::WindowDeactivate:
      eventCommand_->RefreshTitle();
      break;
    case QEvent::StatusTip: {
      auto* tip = static_cast<QStatusTipEvent*>(event);
      information_->SetHint(tip->tip());
      return true;
    }
    default:
      break;
  }
  return QMainWindow::event(event);
}

bool TFrmKervMain::eventFilter(QObject* watched, QEvent* event) {
  // The code cells: darker under the mouse, their menu on a click.
  if (watched == codeCell_ || watched == returnCell_) {
    auto* cell = static_cast<QLabel*>(watched);
    if (event->type() == QEvent::Enter) {
      cell->setBackgroundRole(QPalette::Mid);
    } else if (event->type() == QEvent::Leave) {
      cell->setBackgroundRole(QPalette::Window);
    } else if (event->type() == QEvent::MouseButtonPress) {
      PopupCodeMenu(watched == returnCell_);
      return true;
    }
    return QMainWindow::eventFilter(watched, event);
  }
  // Enter in the search and replace boxes.
  if (watched == searchBox_->lineEdit() || watched == replaceBox_->lineEdit()) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
      RefreshEditActions();
    }
    return QMainWindow::eventFilter(watched, event);
  }
  TEditorWidget* pane = nullptr;
  editors_->ForEach([&](TEditorWidget& each) {
    if (watched == &each || watched == each.viewport()) pane = &each;
  });
  if (pane) {
    switch (event->type()) {
      case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Insert &&
            static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
          eventCommand_->ToggleOverwrite();
          return true;
        }
        break;
      case QEvent::KeyRelease:
      case QEvent::MouseButtonPress:
        QTimer::singleShot(0, this, [this] { infoCommand_->ShowCaretPos(); });
        break;
      case QEvent::FocusIn:
      case QEvent::FocusOut:
        QTimer::singleShot(0, this, [this] {
          actionCommand_->RefreshSelection(GatherState());
          RefreshEditActions();
        });
        break;
      case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == pane->viewport() && mouse->buttons() == Qt::NoButton) {
          const QPoint at = mouse->position().toPoint();
          // After the pane has set its own pointer.
          QTimer::singleShot(0, pane, [pane, at] {
            TTokenKind kind = pane->Editor().WordKindAtPoint(at.x(), at.y());
            if (kind == tkUrl || kind == tkMail) pane->viewport()->setCursor(Qt::PointingHandCursor);
          });
        }
        break;
      }
      default:
        break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TFrmKervMain::closeEvent(QCloseEvent* event) {
  if (!system_.CanClose()) {
    event->ignore();
    return;
  }
  TKervWindowSnapshot snapshot;
  const QRect normal = normalGeometry();
  snapshot.left = normal.x();
  snapshot.top = normal.y();
  snapshot.width = normal.width();
  snapshot.height = normal.height();
  snapshot.minimized = isMinimized();
  snapshot.maximized = isMaximized();
  snapshot.windowWrap = editors_->Wrap().WindowWrap();
  snapshot.baseBar = view_.BaseBar;
  snapshot.searchBar = view_.SearchBar;
  snapshot.baseExpanded = view_.BaseExpanded;
  snapshot.searchExpanded = view_.SearchExpanded;
  snapshot.statusBarVisible = !statusBar()->isHidden();
  snapshot.infoBarVisible = !infoBar_->isHidden();
  snapshot.modeListVisible = !modeListBox_->isHidden();
  // Only the oldest running window keeps its placement and the histories.
  if (!processes_ || processes_->IsFirstWindow()) {
    try {
      Settings().SaveOnExit(snapshot, searchCommand_->SearchHistory().Items(), searchCommand_->ReplaceHistory().Items());
    } catch (const std::exception&) {
      // The window closes all the same; the next start reads the older values.
    }
  }
  if (processes_) processes_->MarkClosing();
  system_.PrepareClose();
  toolCommand_->RemoveTempFile();
  event->accept();
}

// ---------------------------------------------------------------- the commands

void TFrmKervMain::Run(TKervAction id) {
  TEditorWidget& pane = editors_->ActiveWidget();
  TEditor& editor = pane.Editor();
  const bool editorFocused = editors_->EditorHasFocus();
  QLineEdit* focusedBox = nullptr;
  for (QComboBox* box : {searchBox_, replaceBox_}) {
    if (box->lineEdit()->hasFocus()) focusedBox = box->lineEdit();
  }
  auto both = [this](const std::function<void(TEditor&)>& fn) {
    editors_->ForEach([&](TEditorWidget& each) { fn(each.Editor()); });
  };
  auto key = [&pane, editorFocused](int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    if (!editorFocused) return;
    QKeyEvent press(QEvent::KeyPress, qtKey, mods);
    QApplication::sendEvent(&pane, &press);
  };
  switch (id) {
    case Act_File_New: fileCommand_->NewDocument(); break;
    case Act_File_open: fileCommand_->OpenDocument(); break;
    case Act_File_ReOpen: fileCommand_->ReloadDocument(); break;
    case Act_File_AddOpen: fileCommand_->AddOpenDocument(); break;
    case Act_File_OpenFolder: fileCommand_->OpenDocumentFolder(); break;
    case Act_File_save: fileCommand_->SaveDocument(); break;
    case Act_File_SaveAs: fileCommand_->SaveDocumentAs(); break;
    case Act_File_Print: dialogCommand_->OpenPrintDialog(); break;
    case Act_File_Exit: close(); break;
    case Act_Tool_Setting: dialogCommand_->OpenSettingsDialog(); break;
    case Act_Tool_ToolSet: toolCommand_->EditTools(); break;
    case Act_Tool_EmSet: dialogCommand_->OpenEditModeDialog(); break;
    case Act_Tool_VuvE: dialogCommand_->OpenVuvEConverter(); break;
    case Act_Tool_ImageWindow: dialogCommand_->ShowImageWindow(); break;

    case Act_Srch_FindNext: searchCommand_->Find(BoxText(searchBox_), true); break;
    case Act_Srch_FindPrev: searchCommand_->Find(BoxText(searchBox_), false); break;
    case Act_Srch_ReplaceDown: searchCommand_->Replace(BoxText(searchBox_), BoxText(replaceBox_), true); break;
    case Act_Srch_ReplaceUp: searchCommand_->Replace(BoxText(searchBox_), BoxText(replaceBox_), false); break;
    case Act_Srch_ReplaceAll: searchCommand_->ReplaceAll(BoxText(searchBox_), BoxText(replaceBox_)); break;
    case Act_Srch_QuickSearch: searchCommand_->QuickSearch(); break;
    case Act_Srch_SelSearch:
      searchCommand_->ToggleSelectionOnly();
      Action(Act_Srch_SelSearch)->setChecked(searchCommand_->SelectionOnly());
      break;
    case Act_Srch_ClearSearchWordEmphasis: searchCommand_->ClearEmphasis(); break;

    case Act_Fmt_Lower: formatCommand_->Lower(); break;
    case Act_Fmt_Upper: formatCommand_->Upper(); break;
    case Act_Fmt_ZenToHan: formatCommand_->ZenToHan(); break;
    case Act_Fmt_HanToZen: formatCommand_->HanToZen(); break;
    case Act_Fmt_Hira: formatCommand_->Hira(); break;
    case Act_Fmt_Kana: formatCommand_->Kana(); break;
    case Act_Fmt_TypeFormat: formatCommand_->TypeFormat(); break;
    case Act_Fmt_Num: formatCommand_->Num(); break;
    case Act_Fmt_LeadStr: formatCommand_->LeadStr(); break;
    case Act_Fmt_DelLead: formatCommand_->DelLead(); break;
    case Act_Fmt_ElaseEmpLine: formatCommand_->ElaseEmpLine(); break;
    case Act_Fmt_ReturnAt: formatCommand_->ReturnAt(); break;
    case Act_Fmt_FootStr: formatCommand_->FootStr(); break;
    case Act_Fmt_TagElase: formatCommand_->TagElase(); break;
    case Act_Fmt_TabToSpace: formatCommand_->TabToSpace(); break;
    case Act_Fmt_SpaceToTab: formatCommand_->SpaceToTab(); break;
    case Act_Fmt_Indent: formatCommand_->Indent(); break;
    case Act_Fmt_Outdent: formatCommand_->Outdent(); break;
    case Act_Fmt_SPIndent: formatCommand_->SPIndent(); break;
    case Act_Fmt_SPOutndent: formatCommand_->SPOutdent(); break;
    case Act_Fmt_Sort: formatCommand_->Sort(); break;
    case Act_Fmt_ReverseSort: formatCommand_->ReverseSort(); break;
    case Act_File_Change_CharCode: PopupCodeMenu(false); break;
    case Act_File_Change_RetCode: PopupCodeMenu(true); break;

    case Act_Edit_Select: editor.SelectAll(); break;
    case Act_Edit_Undo: editor.Undo(); break;
    case Act_Edit_Redo: editor.Redo(); break;
    case Act_Edit_Cut:
      if (focusedBox) focusedBox->cut();
      else editor.CutToClipboard();
      break;
    case Act_Edit_Copy:
      if (focusedBox) focusedBox->copy();
      else editor.CopyToClipboard();
      break;
    case Act_Edit_Paste:
      if (focusedBox) focusedBox->paste();
      else editor.PasteFromClipboard();
      break;
    case Act_Edit_AddCut: editorCommand_->AddCut(); break;
    case Act_Edit_AddCopy: editorCommand_->AddCopy(); break;
    case Act_Edit_BoxSelect:
      editorCommand_->SetBoxMode(editor.SelectionMode() != smBox, modes_->Current());
      actionCommand_->RefreshSelectionMode(GatherState());
      break;
    case Act_Edit_ReadOnly: {
      const bool on = !editors_->MainEditor().ReadOnly();
      editorCommand_->SetReadOnly(on);
      Action(Act_Edit_ReadOnly)->setChecked(on);
      information_->SetReadOnlyShown(on);
      break;
    }
    case Act_Edit_CharCount: infoCommand_->CountCharacters(); break;
    case Act_Edit_AsciiCode: infoCommand_->ShowAsciiCode(); break;
    case Act_Edit_AutoIndent:
      editors_->SetAutoIndent(!editors_->AutoIndent());
      Action(Act_Edit_AutoIndent)->setChecked(editors_->AutoIndent());
      break;
    case Act_Edit_BSUnindent: {
      const bool on = !editor.Caret().BackSpaceUnIndent();
      both([on](TEditor& each) { each.Caret().SetBackSpaceUnIndent(on); });
      Action(Act_Edit_BSUnindent)->setChecked(on);
      break;
    }

    case Act_Inst_TimeDate: InsertUtf8(TKervInformationCommand::NowText().toStdString()); break;
    case Act_Inst_UserName: InsertUtf8(system_.Platform().fs.UserName()); break;
    case Act_Inst_Version:
      InsertUtf8(std::string(TKervSystem::ProductName()) + " Version " + TKervSystem::VersionString());
      break;
    case Act_Inst_FileName: InsertUtf8(QFileInfo(Utf8(fileManager_->FileName())).fileName().toStdString()); break;
    case Act_Inst_FilePath: InsertUtf8(fileManager_->FileName()); break;
    case Act_Inst_Return: key(Qt::Key_Return); break;
    case Act_Inst_Tab: editorCommand_->InsertText("\t"); break;
    case Act_Inst_Space: editorCommand_->InsertText(" "); break;
    case Act_Inst_DSpace: editorCommand_->InsertText("\x81\x40"); break;
    case Act_Inst_FootStr: editor.InsertReturnString(); break;

    case Act_Del_Del: editor.TypeDelete(); break;
    case Act_Del_BackSpace:
      if (editorFocused) editor.TypeBackspace();
      break;
    case Act_Del_LineDel: editor.DeleteRow(editor.Row()); break;
    case Act_Del_PrevCursor: editorCommand_->DeleteToStart(); break;
    case Act_Del_AfterCursor: editorCommand_->DeleteToEnd(); break;

    case Act_Csr_JumpFirst: editorCommand_->JumpFirst(); break;
    case Act_Csr_JumpTo: dialogCommand_->JumpTo(); break;
    case Act_Csr_JumpLast: editorCommand_->JumpToEnd(); break;
    case Act_Csr_CaretUp: key(Qt::Key_Up); break;
    case Act_Csr_CaretLeft: key(Qt::Key_Left); break;
    case Act_Csr_Down: key(Qt::Key_Down); break;
    case Act_Csr_Right: key(Qt::Key_Right); break;
    case Act_Csr_SwichActiveEditor: editors_->SwitchActive(); break;

    case Act_View_ToolBar: viewCommand_->SetBar(false, !view_.BaseBar); break;
    case Act_View_ToolBarExp: viewCommand_->SetBarExpanded(false, !view_.BaseExpanded); break;
    case Act_View_SearchBar: viewCommand_->SetBar(true, !view_.SearchBar); break;
    case Act_View_SearchBarExp: viewCommand_->SetBarExpanded(true, !view_.SearchExpanded); break;
    case Act_View_LineNum: {
      const bool on = !editor.Leftbar().Visible();
      both([on](TEditor& each) { each.Leftbar().SetVisible(on); });
      Action(Act_View_LineNum)->setChecked(on);
      break;
    }
    case Act_View_Ruler: {
      const bool on = !editor.Ruler().Visible();
      both([on](TEditor& each) { each.Ruler().SetVisible(on); });
      Action(Act_View_Ruler)->setChecked(on);
      break;
    }
    case Act_View_Infobar:
      infoBar_->setVisible(infoBar_->isHidden());
      actionCommand_->RefreshPanels(GatherState());
      break;
    case Act_View_Statusbar:
      statusBar()->setVisible(statusBar()->isHidden());
      actionCommand_->RefreshPanels(GatherState());
      break;
    case Act_View_ModeList:
      modeListBox_->setVisible(modeListBox_->isHidden());
      actionCommand_->RefreshPanels(GatherState());
      break;
    case Act_View_StayTop:
      view_.StayOnTop = !view_.StayOnTop;
      Action(Act_View_StayTop)->setChecked(view_.StayOnTop);
      viewCommand_->ApplyStayOnTop();
      break;
    case Act_View_WordWrap: {
      const bool wasOn = editors_->MainEditor().WordWrap();
      editors_->Wrap().SetWordWrap(!wasOn);
      Action(Act_View_WordWrap)->setChecked(editors_->MainEditor().WordWrap());
      if (wasOn) Action(Act_View_WinWrap)->setChecked(false);
      break;
    }
    case Act_View_WinWrap:
      editors_->Wrap().SetWindowWrap(!editors_->Wrap().WindowWrap(), editors_->WindowColumns());
      actionCommand_->RefreshWrap(GatherState());
      break;
    case Act_View_Font: dialogCommand_->ChooseTemporaryFont(); break;
    case Act_View_AddTmpRsv: viewCommand_->AddTemporaryWord(); break;
    case Act_View_TmpRsvList: dialogCommand_->EditTemporaryWords(); break;

    case Act_Win_NewWin: windowCommand_->NewWindow(); break;
    case Act_Win_NextWindow: windowCommand_->NextWindow(true); break;
    case Act_Win_PrevWindow: windowCommand_->NextWindow(false); break;
    case Act_Win_VTile: windowCommand_->Arrange(TArrangeKind::Stacked); break;
    case Act_Win_HTile: windowCommand_->Arrange(TArrangeKind::SideBySide); break;
    case Act_Win_Cascade: windowCommand_->Arrange(TArrangeKind::Cascade); break;
    case Act_Win_Minimize: windowCommand_->Arrange(TArrangeKind::MinimizeAll); break;
    case Act_Win_Restore: windowCommand_->Arrange(TArrangeKind::RestoreAll); break;
    case Act_Win_HSplit:
    case Act_Win_VSplit:
      editors_->ToggleSplit(id == Act_Win_VSplit ? 1 : 2);
      state_.SplitMode = editors_->SplitMode();
      Action(Act_Win_VSplit)->setChecked(state_.SplitMode == 1);
      Action(Act_Win_HSplit)->setChecked(state_.SplitMode == 2);
      break;

    case Act_help: infoCommand_->ShowHelp(); break;
    case Act_Infobar_LastInfo: information_->ShowLastNotice(); break;
    case Act_Infobar_Clipboard: infoCommand_->ShowClipboard(); break;
    case Act_Infobar_Now: infoCommand_->ShowNow(); break;
    case Act_Srch_NewWord:
      viewCommand_->SetBar(true, true);
      viewCommand_->SetBarExpanded(true, true);
      if (isVisible()) {
        searchBox_->setFocus();
        searchBox_->lineEdit()->selectAll();
      }
      break;
    default:
      break;
  }
  // Searches and jumps move the caret without a key: the status follows.
  infoCommand_->ShowCaretPos();
  RefreshEditActions();
}

void TFrmKervMain::InsertUtf8(const std::string& text) {
  editorCommand_->InsertText(system_.Platform().codePage.Utf8ToCp932(text, nullptr));
}

std::string TFrmKervMain::BoxText(QComboBox* box) const {
  return QStringToSjis(system_.Platform().codePage, box->currentText());
}

bool TFrmKervMain::Searching() const {
  return state_.Searching || (searchCommand_ && (searchCommand_->State().Searching || searchCommand_->State().FileBusy));
}

void TFrmKervMain::RebuildHistoryMenu(const std::vector<std::pair<std::string, std::string>>& entries) {
  if (!historyMenu_) return;
  historyMenu_->clear();
  for (const auto& [caption, fileName] : entries) {
    QAction* item = historyMenu_->addAction(Utf8(caption));
    item->setEnabled(!fileName.empty());
    item->setStatusTip(Utf8(fileName));
    const std::string name = fileName;
    connect(item, &QAction::triggered, this, [this, name] { fileCommand_->OpenByName(name); });
  }
}

void TFrmKervMain::PopupCodeMenu(bool returnCodes) {
  QMenu* menu = returnCodes ? returnCodeMenu_ : charCodeMenu_;
  QLabel* cell = returnCodes ? returnCell_ : codeCell_;
  const QSize size = menu->sizeHint();
  QPoint at = statusBar()->isVisible() ? cell->mapToGlobal(QPoint(0, -size.height())) : QCursor::pos();
  menu->popup(at);
}

void TFrmKervMain::ChooseCode(bool returnCodes, int code) {
  // Entries are numbered from 1 in their menus, from 0 for the command.
  if (returnCodes) fileCommand_->SetReturnCode(code - 1);
  else fileCommand_->SetCharCode(code - 1);
}

// ---------------------------------------------------------------- for checks

QString TFrmKervMain::CaretText() const { return information_->CaretText(); }
QString TFrmKervMain::CodeText() const { return information_->CodeText(); }
QString TFrmKervMain::ReturnText() const { return information_->ReturnText(); }
QString TFrmKervMain::OverwriteText() const { return information_->OverwriteText(); }
QString TFrmKervMain::InfoText() const { return information_->NoticeText(); }
QString TFrmKervMain::DocumentText() const {
  return editors_->MainWidget().FromInternal(editors_->MainWidget().Editor().RowStore().GetText());
}

}  // namespace kerv
