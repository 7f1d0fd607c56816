#include "app/window/TKervEditorManager.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSplitter>

#include "app/settings/TKervSettingManager.h"
#include "editmode/TEditorProp.h"
#include "editor/TEditor.h"
#include "ui/TEditorWidget.h"

namespace kerv {
namespace {

// The margins come from the settings alone, in every mode.
void ApplyMargins(TEditor& editor, const TKervViewSetting& view) {
  editor.Margin().SetLeft(view.Margin_Left);
  editor.Margin().SetTop(view.Margin_Top);
  editor.Margin().SetCharacter(view.Margin_Char);
  editor.Margin().SetLine(view.Margin_Line);
}

}  // namespace

TKervEditorManager::TKervEditorManager(ICodePage& codePage, QWidget* parent)
    : QObject(parent), codePage_(codePage), wrap_(*this) {
  splitter_ = new QSplitter(Qt::Horizontal, parent);
  splitter_->setObjectName(QStringLiteral("Splitter"));
  splitter_->setChildrenCollapsible(false);
  main_ = new TEditorWidget(codePage_, splitter_);
  main_->setObjectName(QStringLiteral("MainEditor"));
  main_->installEventFilter(this);
  active_ = main_;
  connect(splitter_, &QSplitter::splitterMoved, this, [this] { FitWindowWrap(); });
  // A menu or the menu bar takes the keyboard only for a moment: the pane
  // keeps counting as focused, so the menu's actions still act on it.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (!now || qobject_cast<QMenu*>(now) || qobject_cast<QMenuBar*>(now)) return;
    auto inPane = [now](const TEditorWidget* pane) { return pane && (now == pane || pane->isAncestorOf(now)); };
    paneFocused_ = inPane(main_) || inPane(second_);
  });
}

TKervEditorManager::~TKervEditorManager() {
  // The second pane shares the main pane's rows: it goes first.
  delete second_;
}

QWidget* TKervEditorManager::Container() { return splitter_; }

TEditor& TKervEditorManager::ActiveEditor() { return active_->Editor(); }
TEditor& TKervEditorManager::MainEditor() { return main_->Editor(); }
TEditor* TKervEditorManager::SecondEditor() { return second_ ? &second_->Editor() : nullptr; }
bool TKervEditorManager::EditorHasFocus() { return paneFocused_; }

void TKervEditorManager::ForEach(const std::function<void(TEditorWidget&)>& fn) {
  fn(*main_);
  if (second_) fn(*second_);
}

void TKervEditorManager::Init() {
  active_ = main_;
  TEditor& editor = main_->Editor();
  editor.SetVersion(5.0);
  editor.SetSelectionMode(smNormal);
  editor.SetReadOnly(false);
  lastIndent_.clear();
}

void TKervEditorManager::ApplySettings(TKervSettingManager& settings) {
  const TKervEditorSetting& options = settings.Editor();
  const TKervViewSetting& view = settings.View();
  ForEach([&](TEditorWidget& pane) {
    TEditor& editor = pane.Editor();
    editor.SetUndoListMax(options.UndoNum);
    TEditorCaret& caret = editor.Caret();
    caret.SetSelMove(options.SelDrag);
    caret.SetLockScroll(options.KeepCaret);
    caret.SetKeepCaret(options.KeepRow);
    caret.SetStyle(view.CaretStyle ? csBrief : csDefault);
    ApplyMargins(editor, view);
  });
  if (!options.NoSaveMenu && options.SaveWinWrap) wrap_.SetWindowWrap(settings.EachProcess().WindowWrap, WindowColumns());
}

void TKervEditorManager::ApplyEditMode(TEditor& editor, const TEditorPropEx& mode, TKervSettingManager& settings) {
  const bool isMain = &editor == &main_->Editor();
  if (isMain) {
    autoIndent_ = mode.AutoIndent();
    wrap_.SetModeWrap(mode.WordWrap(), mode.WrapOption().WrapByte());
  }
  const TKervEditorSetting& options = settings.Editor();
  const TKervViewSetting& view = settings.View();
  // What the settings decide survives the mode's caret.
  const TEditorCaret& caret = editor.Caret();
  const bool keepCaret = caret.KeepCaret();
  const bool lockScroll = caret.LockScroll();
  const TEditorCaretStyle style = caret.Style();
  // The wrap belongs to the row store both panes show: only the main pane's
  // mode sets it, once, below; the second pane's never undoes it.
  mode.AssignTo(editor, false);
  ApplyMargins(editor, view);
  TEditorCaret& applied = editor.Caret();
  applied.SetKeepCaret(keepCaret);
  applied.SetLockScroll(lockScroll);
  applied.SetStyle(style);
  // The window indents on Return itself.
  applied.SetAutoIndent(false);
  applied.SetNextLine(true);
  if (!options.SelDrag) applied.SetSelMove(false);
  if (mode.UseDafaultFont()) ApplyDefaultFont(editor, view);
  // Search hits and temporary words whose colouring the mode turns off look
  // like plain text.
  TEditorColors& colors = editor.View().Colors();
  const TEditorFont& font = editor.Font();
  for (auto [on, entry] : {std::pair{mode.ColorSearchStr(), ceFindStr}, std::pair{mode.ColorSimpleStress(), ceStressTmp}}) {
    if (on) continue;
    colors.Item(entry).SetColor(font.Color());
    colors.Item(entry).SetBkColor(mode.Color());
    colors.Item(entry).SetStyle(font.Style());
  }
  // The window shows both scroll bars whatever the mode says.
  editor.SetScrollBars(ssBoth);
  ForEach([&](TEditorWidget& pane) {
    if (&pane.Editor() == &editor) {
      pane.SetWhitespaceMarks({mode.ShowTab(), mode.ShowSpace(), mode.ShowDoubleSpace(), mode.TabMarkColor()});
    }
  });
  if (isMain) {
    // The mode's wrap options, with the width fitted to the window while
    // window wrap is on; then word wrap on or off as the wrap rules say.
    TEditorWrapOption option;
    option.Assign(mode.WrapOption());
    if (wrap_.WindowWrap()) option.SetWrapByte(editor.WrapOption().WrapByte());
    editor.SetWrapOption(option);
    wrap_.ModeApplied(WindowColumns());
  }
}

void TKervEditorManager::ApplyDefaultFont(TEditor& editor, const TKervViewSetting& view) {
  TEditorFont font;
  font.Assign(editor.Font());
  font.SetName(view.FontName);
  font.SetSize(view.FontSize);
  font.SetStyle(static_cast<TFontStyles>(view.FontStyle & 7));
  editor.SetFont(font);
}

void TKervEditorManager::ApplyDefaultFont(TKervSettingManager& settings) {
  ForEach([&](TEditorWidget& pane) { ApplyDefaultFont(pane.Editor(), settings.View()); });
  FitWindowWrap();
}

int TKervEditorManager::WindowColumns() const {
  const TEditor& editor = main_->Editor();
  int cols = editor.VisibleCols();
  if (main_->verticalScrollBar()->isVisible()) --cols;
  return cols;
}

void TKervEditorManager::CreateSecond() {
  second_ = new TEditorWidget(codePage_, splitter_);
  second_->setObjectName(QStringLiteral("SecondEditor"));
  second_->installEventFilter(this);
  CopyToSecond();
  second_->Editor().ShareRowStore(main_->Editor());
  if (OnPaneCreated) OnPaneCreated(*second_);
}

void TKervEditorManager::CopyToSecond() {
  TEditor& from = main_->Editor();
  TEditor& to = second_->Editor();
  to.SetVersion(from.Version());
  to.SetColor(from.Color());
  to.SetCaret(from.Caret());
  to.SetFont(from.Font());
  to.Leftbar().Assign(from.Leftbar());
  to.Margin().Assign(from.Margin());
  to.Marks().Assign(from.Marks());
  second_->SetWhitespaceMarks(main_->WhitespaceMarks());
  to.SetReserveWordList(from.ReserveWordList());
  to.SetTmpReserveList(from.TmpReserveList());
  to.Ruler().Assign(from.Ruler());
  to.SetScrollBars(ssBoth);
  to.SetView(from.View());
  to.SetReturnInsertStr(from.ReturnInsertStr());
  to.SetFindString(from.FindString(), from.FindOptions());
  to.SetReadOnly(from.ReadOnly());
  to.SetOverWrite(from.OverWrite());
}

void TKervEditorManager::ToggleSplit(int kind) {
  if (splitMode_ == kind) {
    Unsplit();
    return;
  }
  const bool created = second_ == nullptr;
  if (created) CreateSecond();
  else if (splitMode_ == 0) CopyToSecond();
  splitter_->setOrientation(kind == 1 ? Qt::Horizontal : Qt::Vertical);
  second_->show();
  const int total = kind == 1 ? splitter_->width() : splitter_->height();
  splitter_->setSizes({total / 2, total - total / 2});
  splitMode_ = kind;
  FitWindowWrap();
}

void TKervEditorManager::Unsplit() {
  if (!second_ || splitMode_ == 0) return;
  second_->hide();
  splitMode_ = 0;
  Activate(*main_);
  main_->setFocus();
  FitWindowWrap();
}

void TKervEditorManager::SwitchActive() {
  if (!second_ || splitMode_ == 0) return;
  TEditorWidget* other = active_ == main_ ? second_ : main_;
  other->setFocus();
  Activate(*other);
}

void TKervEditorManager::Activate(TEditorWidget& pane) {
  if (active_ == &pane) return;
  active_ = &pane;
  if (OnActiveChanged) OnActiveChanged(pane);
}

bool TKervEditorManager::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (watched == main_) Activate(*main_);
    else if (watched == second_) Activate(*second_);
  } else if (event->type() == QEvent::Resize && watched == main_) {
    // The pane measures its new columns in its own resize handler, after this.
    QMetaObject::invokeMethod(this, [this] { FitWindowWrap(); }, Qt::QueuedConnection);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kerv
