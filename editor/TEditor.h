#pragma once
// The editor control's model: the caret, the selection (normal and box) and
// every editing operation, over a row store that it may share with other
// editors. It knows nothing of the window system: what it needs of a window
// goes through IEditorWindow, and a Qt widget wraps it to paint and to turn
// events into these operations.
//
// Units: a row is an index into the row store; a col is a display column
// (one cell per byte, tabs expanded); a byte index counts bytes inside a
// row; an offset counts bytes from some row's start with 2 per raCrlf row end.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "editor/IEditorWindow.h"
#include "editor/TEditorCaret.h"
#include "editor/TEditorColumnRules.h"
#include "editor/TEditorFont.h"
#include "editor/TEditorPaintOptions.h"
#include "editor/TEditorParser.h"
#include "editor/TEditorScreenStrings.h"
#include "editor/TEditorStrings.h"
#include "editor/TEditorView.h"
#include "editor/TEditorViewInfo.h"
#include "editor/TEditorWordList.h"
#include "editor/TEditorWrapOption.h"

namespace kerv {

class TEditor;

enum TBorderStyle { bsNone, bsSingle };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TSelectionMode { smNormal, smBox };
enum TSelectionState { sstNone, sstAnchored, sstSelected };
enum TSelDragState { dsNone, dsPending, dsDragging };

// What lies under the mouse, for the cursor the window shows.
enum TEditorCursorKind { ckDefault, ckLeftMargin, ckInSelection, ckDrag, ckDragCopy };

// The keys the control handles itself; everything else goes to the application.
enum TEditorKey { vkPrior, vkNext, vkEnd, vkHome, vkLeft, vkUp, vkRight, vkDown, vkDelete };

// The least horizontal range without word wrap, and the column a free caret
// may reach beyond a shorter row. Longer rows widen the range: every byte of
// a row can be reached, however long.
inline constexpr int kMaxGridCols = 4000;
inline constexpr int kMaxCaretCol = 4001;

// The reports of the row store to its editor: TEditorView's services.
class TEditorScreen : public TEditorView {
 public:
  explicit TEditorScreen(TEditor& editor) : editor_(editor) {}

  const TEditorColumnRules& ColumnRules() const override;
  TEditorParserFactory ParserClass() const override;
  const TEditorViewInfo* ViewInfo() const override;
  bool IsLoading() const override;
  int ScreenRows() const override;
  int TopRow() const override;
  bool Focused() const override;
  int CaretRow() const override;
  int CaretCol() const override;
  void RowsChanged() override;
  void CleanSelection() override;
  void SetCaretRow(int row) override;
  void SetCaretCol(int col) override;
  void SetCaretByOffset(int row, int byteOffset) override;
  void RepaintRow(int row) override;
  void SetTopRow(int row) override;
  void ClampToStore() override;
  void Refresh() override;
  void HideCaret() override;
  void ShowCaret() override;
  void HideUnderline() override;
  void ShowUnderline() override;
  void SetLinesUpdating(bool updating) override;
  long long CaretOffset() const override;
  void RestoreCaretOffset(long long offset) override;
  void HoldPlaces(int fromRow) override;
  void RestorePlaces() override;

 private:
  TEditor& editor_;
};

// The grid of the client area (recomputed when the font, an option, the
// size or the scroll bars change).
struct TEditorMetrics {
  int fontHeight = 16;
  int charWidth = 8;
  int rowHeight = 16;
  int rulerHeight = 0;
  int textTop = 2;
  int digits = 4;
  int leftbarWidth = 0;
  int textLeft = 19;
  int visibleRows = 1;
  int visibleCols = 1;
  bool italicMode = false;
};

// The selected range: start and end byte (inclusive; the end byte is -1 when
// the range ends at its end row's start) and the display band.
struct TEditorSelection {
  int startRow = 0;
  int startByte = 0;
  int endRow = 0;
  int endByte = -1;
  int firstRow = 0;  // display rows
  int lastRow = 0;
  int leftCol = 0;  // display columns, right exclusive
  int rightCol = 0;
};

struct TEditorAnchor {
  int row = 0;
  int byteIndex = 0;
  int col = 0;
};

// A row and column under a client point.
struct TRowCol {
  int row = 0;
  int col = 0;
};

// The line view's link to its editor: the store it shows and the screen object.
class TEditorLinesLink : public TEditorLinesOwner {
 public:
  explicit TEditorLinesLink(TEditor& editor) : editor_(editor) {}
  TEditorScreenStrings& RowStore() override;
  TEditorView& View() override;

 private:
  TEditor& editor_;
};

class TEditor {
 public:
  using NotifyEvent = std::function<void(TEditor& sender)>;
  using SelectionEvent = std::function<void(TEditor& sender, bool selected)>;

  // A descendant that substitutes the row store passes its own; the
  // default is a plain TEditorScreenStrings.
  explicit TEditor(IEditorWindow* window = nullptr, std::unique_ptr<TEditorScreenStrings> store = nullptr);
  virtual ~TEditor();
  TEditor(const TEditor&) = delete;
  TEditor& operator=(const TEditor&) = delete;

  // Attaches the window (or detaches with nullptr) and recomputes the metrics.
  void SetWindow(IEditorWindow* window);
  IEditorWindow* Window() const { return window_; }

  // ---- properties
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value) { borderStyle_ = value; }
  TEditorCaret& Caret() { return *caret_; }
  const TEditorCaret& Caret() const { return *caret_; }
  void SetCaret(const TEditorCaret& value) { caret_->Assign(value); }
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TEditorFont& Font() { return *font_; }
  const TEditorFont& Font() const { return *font_; }
  void SetFont(const TEditorFont& value) { font_->Assign(value); }
  TEditorStrings& Lines() { return *lines_; }
  TEditorMarks& Marks() { return *marks_; }
  const TEditorMarks& Marks() const { return *marks_; }
  TEditorMargin& Margin() { return *margin_; }
  const TEditorMargin& Margin() const { return *margin_; }
  TEditorLeftbar& Leftbar() { return *leftbar_; }
  const TEditorLeftbar& Leftbar() const { return *leftbar_; }
  TEditorRuler& Ruler() { return *ruler_; }
  const TEditorRuler& Ruler() const { return *ruler_; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  const TEditorWordList& ReserveWordList() const { return reserveWordList_; }
  void SetReserveWordList(const TEditorWordList& value);
  const TEditorWordList& TmpReserveList() const { return tmpReserveList_; }
  void SetTmpReserveList(const TEditorWordList& value);
  // Blanks one word of the reserved list (a word that does not compile).
  void BlankReserveWord(int index);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  int UndoListMax() const { return store_->UndoObj().UndoListMax(); }
  void SetUndoListMax(int value) { store_->UndoObj().SetUndoListMax(value); }
  TEditorViewInfo& View() { return *view_; }
  const TEditorViewInfo& View() const { return *view_; }
  void SetView(const TEditorViewInfo& value) { view_->Assign(value); }
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value) { wantReturns_ = value; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }
  bool WordWrap() const { return store_->WordWrap(); }
  void SetWordWrap(bool value);
  TEditorWrapOption& WrapOption() { return store_->WrapOption(); }
  const TEditorWrapOption& WrapOption() const { return store_->WrapOption(); }
  void SetWrapOption(const TEditorWrapOption& value) { store_->WrapOption().Assign(value); }
  const std::string& FindString() const { return findString_; }
  int FindOptions() const { return findOptions_; }
  void SetFindString(const std::string& pattern, int options);
  const std::string& ReturnInsertStr() const { return returnInsertStr_; }
  void SetReturnInsertStr(const std::string& value) { returnInsertStr_ = value; }
  const TDelimiters& Delimiters() const { return rules_.Delimiters(); }
  void SetDelimiters(const TDelimiters& value);
  double Version() const { return version_; }
  void SetVersion(double value) { version_ = value; }

  // ---- events
  NotifyEvent OnCaretMoved;
  NotifyEvent OnChange;
  // Rows from firstRow on were replaced (text or wrapping): for views that
  // keep measures per row (the accessible text).
  std::function<void(TEditor& sender, int firstRow)> OnRowsChanged;
  SelectionEvent OnSelectionChange;
  NotifyEvent OnSelectionModeChange;
  NotifyEvent OnTopColChange;
  NotifyEvent OnTopRowChange;
  // Raised by the Return character (the application inserts the line break
  // with its own rules); returns the character to act on, 0 to suppress.
  std::function<char(TEditor& sender, char key)> OnKeyPress;

  // ---- queries
  int RowCount() const { return store_->Count(); }
  std::string_view RowText(int row) const;
  std::string RowDisplayText(int row) const;
  TRowAttribute RowKind(int row) const { return store_->RowAttribute(row); }
  int RowWidth(int row) const;
  int RowToLine(int row) const;
  std::string ColumnAttributes(std::string_view text) const { return rules_.ColumnAttributes(text); }
  std::string ExpandTabs(std::string_view text) const;
  int TextWidth(std::string_view text) const { return rules_.TextWidth(text); }
  TRowCol PosToRowCol(int x, int y, bool nearest) const;
  // Offset of (row, col) from the start of baseRow (baseRow ≤ row).
  int RowColToOffset(int baseRow, int row, int col) const;
  // Offset of the start of row from the document start, plus n.
  long long OffsetOfRow(int row, long long n = 0) const;
  bool Selected() const { return selState_ == sstSelected; }
  TSelectionState SelectionState() const { return selState_; }
  const TEditorSelection& Selection() const { return sel_; }
  const TEditorAnchor& Anchor() const { return anchor_; }
  long long SelStart() const;
  long long SelLength() const;
  std::string SelText() const;
  // Bytes and characters of SelText (a lead byte and the byte after it are
  // one), counted from the rows without joining them.
  struct TSelectionSize {
    int64_t bytes = 0;
    int64_t characters = 0;
  };
  TSelectionSize SelSize() const;
  long long TextLength() const;
  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }
  bool OverWrite() const { return overWrite_; }
  void SetOverWrite(bool value);
  TSelectionMode SelectionMode() const { return selectionMode_; }
  int Row() const { return row_; }
  int Col() const { return col_; }
  int TopRow() const { return topRow_; }
  int TopCol() const { return topCol_; }
  int VisibleRows() const { return metrics_.visibleRows; }
  int VisibleCols() const { return metrics_.visibleCols; }
  // The columns the view scrolls over: the widest row seen (without word
  // wrap at least kMaxGridCols), and always the caret's column.
  int ColumnRange() const;
  bool CanUndo() const { return store_->UndoObj().CanUndo(); }
  bool CanRedo() const { return store_->UndoObj().CanRedo(); }
  const TEditorMetrics& Metrics() const { return metrics_; }
  TEditorParserFactory ParserFactory() const { return ParserClass(); }
  const TEditorColumnRules& ColumnRules() const { return rules_; }
  TEditorScreenStrings& RowStore() { return *store_; }
  const TEditorScreenStrings& RowStore() const { return *store_; }
  TEditorView& Screen() { return *screen_; }
  int CaretHideCount() const { return caretHideCount_; }
  int UnderlineHideCount() const { return underlineHideCount_; }
  TSelDragState DragState() const { return dragState_; }
  void SetDragState(TSelDragState value) { dragState_ = value; }
  // The rows of a selection being dragged in the left bar (-1: none).
  int RowSelectFirst() const { return rowSelectFirst_; }
  int RowSelectLast() const { return rowSelectLast_; }

  // ---- caret and selection commands
  void SetRow(int row);
  void SetCol(int col);
  void SetTopRow(int row);
  void SetTopCol(int col);
  void SetSelStart(long long offset);
  void SetSelLength(long long length);
  void SetSelText(std::string_view text) { ReplaceSelText(text); }
  void SelectAll();
  void StartSelection();
  void ExtendSelection();
  void CancelSelection();
  void SetSelectionMode(TSelectionMode mode);
  // Sets the row, steps the column back off a trail byte (and, unless InTab,
  // tab fillers) and sets the column; the caret is drawn once.
  void MoveCaretTo(int row, int col);
  // Selects row (a left-bar click) and extends a left-bar drag to row.
  void SelectRows(int row);
  void ExtendRowSelection(int row);
  void EndRowSelection() { rowSelectFirst_ = rowSelectLast_ = -1; }

  // ---- editing
  void InsertText(std::string_view text);
  void ReplaceSelText(std::string_view text);
  // Replaces length bytes of the text from offset start by text, as one
  // change; the selection goes, the caret follows the text. Whole lines
  // replaced by whole lines (text ending in a line break) change their rows
  // alone, with no copy of text joined to its neighbours.
  void ReplaceRange(long long start, long long length, std::string_view text);
  void DeleteSelection();
  void TypeReturn();
  void TypeTab(bool shift = false, bool ctrl = false);
  void TypeBackspace();
  void TypeDelete();
  void DeleteRow(int row);
  void Undo();
  void Redo();
  void ClearUndo();
  void InsertReturnString();

  // ---- clipboard, box paste, drag of the selection, words, search and the
  // edit-control messages (implemented in TEditorClipboard.cpp,
  // TEditorWords.cpp and TEditorMessages.cpp).
  // The edit-control messages answer in full ints where the platform packed
  // 16-bit halves. Offsets count bytes from the document start, 2 per raCrlf
  // row end; a line of these messages is a row.
  struct TEditSelection {
    long long start = 0;
    long long end = 0;  // start + length
  };
  struct TEditPoint {
    int x = 0;  // client pixels
    int y = 0;
  };
  struct TEditCharPos {
    int row = -1;  // -1 (and offset -1): outside the client area
    long long offset = -1;
  };
  // A token of the attribute parser under a position.
  struct TEditorWordAt {
    int row = 0;  // where it starts
    int byteIndex = 0;
    int length = 0;  // bytes; a token may run on over the rows of its line
    TTokenKind kind = tkEnd;
    std::string text;
  };

  // ---- clipboard (platform/Clipboard.h; nullptr: the clipboard operations do nothing)
  void SetClipboard(class IClipboard* clipboard) { clipboard_ = clipboard; }
  IClipboard* Clipboard() const { return clipboard_; }
  // Pasted or dropped text held characters the internal code page lacks;
  // each became "?" (for the info bar).
  std::function<void(TEditor& sender, size_t replaced)> OnCharsReplaced;
  void CopyToClipboard();
  void CutToClipboard();
  // Returns how many characters became "?".
  size_t PasteFromClipboard();
  // Pastes text as a box: line i into row (first row + i) at one column.
  void PasteBoxText(std::string_view text);
  // The window calls this when a selection is complete (mouse release, a
  // selecting key): the selected text becomes the primary selection.
  void UpdatePrimarySelection();
  // A middle click: the primary selection goes in at the cell. Returns how
  // many characters became "?".
  size_t PastePrimaryAt(int row, int col);

  // ---- drag of the selection and drops
  virtual bool CanSelMove() const;
  // A drop inside the selection changes nothing and cancels the selection.
  void MoveSelectionTo(int row, int col);
  virtual void CopySelectionTo(int row, int col);
  // Text dropped from another program, already in the internal code page;
  // replaced: how many of its characters became "?" on the way.
  void DropTextAt(int row, int col, std::string_view text, size_t replaced = 0);

  // ---- words
  void MoveWordLeft();
  void MoveWordRight();
  void SelectWordAtCaret() { SelectWordAtPos(row_, col_, true); }
  void SelectWordAtPoint(int x, int y);
  std::string WordAtCaret();
  std::string WordAtPoint(int x, int y);
  TTokenKind WordKindAtCaret();
  TTokenKind WordKindAtPoint(int x, int y);
  // The token at (row, col), parsed with the view options or (for the
  // input method's reconversion) without; false on blanks and outside the text.
  virtual bool WordAtPos(int row, int col, bool viewOptions, TEditorWordAt& word);
  virtual void SelectWordAtPos(int row, int col, bool viewOptions);

  // ---- document search, in chunks of rows; options is a SearchFlags word.
  // On a hit the hit is selected and scrolled into view.
  bool SearchText(std::string_view pattern, int options);

  // ---- edit-control messages
  TEditSelection EmGetSel() const;
  // (0, -1) selects all; a negative start cancels the selection.
  void EmSetSel(long long start, long long end);
  bool EmGetModify() const { return modified_; }
  void EmSetModify(bool value);
  int EmGetLineCount() const { return RowCount(); }
  long long EmLineIndex(int row) const;
  int EmLineLength(long long offset) const;
  int EmLineFromChar(long long offset) const;
  // Copies at most bufferBytes bytes of the row; returns the count.
  int EmGetLine(int row, char* buffer, int bufferBytes) const;
  void EmReplaceSel(std::string_view text) { ReplaceSelText(text); }
  bool EmCanUndo() const { return CanUndo() && !readOnly_; }
  bool EmUndo();
  void EmEmptyUndoBuffer() { ClearUndo(); }
  int EmGetFirstVisibleLine() const { return topRow_; }
  void EmSetReadOnly(bool value) { SetReadOnly(value); }
  void EmScrollCaret() { ScrollCaret(); }
  TEditPoint EmPosFromChar(long long offset) const;
  TEditCharPos EmCharFromPos(int x, int y) const;
  std::string WmGetText() const;
  long long WmGetTextLength() const { return TextLength(); }
  bool WmSetText(std::string_view text);
  void WmCut();
  void WmCopy();
  void WmPaste();
  void WmClear();

  // ---- keyboard (the control's own keys; returns whether it acted)
  bool KeyDown(TEditorKey key, bool shift, bool ctrl, bool autoRepeat);
  // A key released: a composition-window move deferred while it repeated is done now.
  void KeyUp();
  // A character: Backspace, Tab, Return, or a printable single byte.
  void KeyPress(unsigned char ch, bool shift = false, bool ctrl = false);

  // ---- mouse (client pixels). MouseMove returns the cursor to show.
  // Ctrl matters only when the button is released (copy or move a dragged selection).
  void MouseDown(int x, int y, bool shift, bool ctrl);
  TEditorCursorKind MouseMove(int x, int y, bool leftDown, bool ctrl);
  void MouseUp(int x, int y, bool ctrl);
  // Escape during a drag of the selection: the drag ends, the selection goes.
  void CancelDrag();
  // Whether a cell lies inside the selection.
  bool InSelection(int row, int col) const;

  // ---- scrolling
  void ScrollCaret();
  void ScrollPage(int rows);
  void UpdateScrollBars();
  void InvalidateRow(int row);
  // A scroll-bar request moved the view by delta rows (or columns).
  void ScrollBy(TScrollBarKind kind, int delta);

  // ---- focus and window
  void FocusIn();
  void FocusOut();
  void Resized();
  // Recomputes metrics, scroll bars and caret (after a font or option change).
  void RecomputeLayout();
  void ShareRowStore(TEditor& other);
  // The control's whole client area needs painting.
  void InvalidateAll();

  // Hide and show nest: the caret (or the caret-row underline) shows only
  // while every hide has been matched.
  void HideCaret();
  void ShowCaret();
  void HideUnderline();
  void ShowUnderline();

  // Loading from a stored description: the rows are built at the end.
  void BeginLoading() { loading_ = true; }
  void EndLoading();
  bool Loading() const { return loading_; }

  // Cuts the rows the view shows when the text is still being wrapped in
  // steps (the window calls it before it paints).
  void CutShownRows();

  // ---- grid geometry (client pixels)
  int ColToX(int col) const { return metrics_.textLeft + (col - topCol_) * metrics_.charWidth; }
  int RowToY(int row) const { return metrics_.textTop + (row - topRow_) * metrics_.rowHeight; }
  // y of the caret-row underline of row, or -1 when it is off the text area.
  int UnderlineY(int row) const;
  int CaretX() const { return ColToX(col_); }
  int CaretY() const { return RowToY(row_); }
  // The number of digits the left bar shows for the current rows.
  int LeftbarDigits() const;
  // Byte index of a column in a row (columns past the end count one byte each).
  int ColToByte(int row, int col) const;
  int ByteToCol(int row, int byteIndex) const;

 protected:
  // The parser class a descendant may substitute (the application's skips control bytes).
  virtual TEditorParserFactory ParserClass() const { return &TEditorParser::Create; }

 private:
  IClipboard* clipboard_ = nullptr;
  friend class TEditorScreen;
  // Pair a hide with its show on every way out, so a failing edit leaves the
  // counters balanced.
  struct CaretHidden {
    explicit CaretHidden(TEditor& editor) : editor_(editor) { editor_.HideCaret(); }
    ~CaretHidden() { editor_.ShowCaret(); }
    CaretHidden(const CaretHidden&) = delete;
    CaretHidden& operator=(const CaretHidden&) = delete;
    TEditor& editor_;
  };
  struct UnderlineHidden {
    explicit UnderlineHidden(TEditor& editor) : editor_(editor) { editor_.HideUnderline(); }
    ~UnderlineHidden() { editor_.ShowUnderline(); }
    UnderlineHidden(const UnderlineHidden&) = delete;
    UnderlineHidden& operator=(const UnderlineHidden&) = delete;
    TEditor& editor_;
  };

  void OptionChanged(TNotifyPersistent* sender);
  void SyncColumnRules() const;
  void InvalidateRect(const TRect& rect);
  void ComputeMetrics();
  int NormalizeCol(int row, int col, int direction, bool vertical);
  void UpdateCaret();
  void PlaceCaret();
  void KeepCaretVisible();
  void PlaceCaretByOffset(int baseRow, long long offset);
  // The first row whose start stays put through an edit at row.
  int EditBaseRow(int row) const;
  void UpdateRange(bool notify);
  void RepaintRows(int firstRow, int lastRow);
  void RepaintRowsBetween(int a, int b);
  int CaretByte() const;
  int LeadingBlankWidth(std::string_view text) const;
  // Replaces rows with text and puts the caret offset bytes after baseRow's start.
  void ReplaceAndPlace(int row, int count, std::string_view text, int baseRow, long long offset);
  // Replaces bytes fromByte..toByte-1 of row by insert (its line break kept)
  // and puts the caret caretByte bytes after the row's start.
  void ReplaceInRow(int row, int fromByte, int toByte, std::string_view insert, int caretByte);
  // Replaces the normal selection, or the empty range at the caret (reached
  // with blanks), by text in one replacement; the caret lands after it.
  void Splice(std::string_view text);
  // The selected text piece by piece: each row's part and whether a line
  // break follows it (in a box, after every row).
  template <typename OnPiece>
  void ForEachSelectedPiece(OnPiece onPiece) const;
  std::array<TNotifyPersistent*, 7> OptionObjects() const;
  // The client size, or that of a control not yet in a window.
  static constexpr int kDefaultClientWidth = 185;
  static constexpr int kDefaultClientHeight = 89;
  int ClientWidth() const;
  int ClientHeight() const;
  bool HasScrollBar(TScrollBarKind kind) const;
  int ScrollBarMax(TScrollBarKind kind) const;
  void PushScrollBar(TScrollBarKind kind);
  // The cell under the mouse; above the text area one row further up.
  TRowCol MouseCell(int x, int y, bool nearest) const;
  // The text of the rows first..last without what lies between the box columns.
  std::string BoxRemoved(int firstRow, int lastRow, std::string* insertAtFirst = nullptr) const;
  void BoxCoveredBytes(int row, int& startByte, int& endByte) const;
  void ScreenRowsChanged();
  // Before an edit while the text is wrapped in steps: cuts the lines of the
  // caret, the anchor and row (when given) and their neighbours, so the edit
  // finds the rows it changes cut; row and col, when given, stay on their text.
  void PrepareEdit(int* row = nullptr, int* col = nullptr);
  void HoldPlaces(int fromRow);
  void RestorePlaces();
  void ClampToStore();
  void StoreDetached();
  void AttachStore(TEditorScreenStrings* store);
  void TypeOverwrite(std::string_view text);
  void BackspaceUnindent(std::string_view text);
  // Moves the caret over a selection that is about to be dragged, leaving the range.
  void MoveCaretKeepingRange(int row, int col);
  // Display width of a text: its length unless it holds a tab.
  int WidthOf(std::string_view text) const;

  IEditorWindow* window_ = nullptr;
  TEditorScreenStrings* store_ = nullptr;
  std::unique_ptr<TEditorScreen> screen_;
  TEditorLinesLink linesLink_{*this};
  std::unique_ptr<TEditorStrings> lines_;
  std::unique_ptr<TEditorViewInfo> view_;
  std::unique_ptr<TEditorCaret> caret_;
  std::unique_ptr<TEditorFont> font_;
  std::unique_ptr<TEditorMarks> marks_;
  std::unique_ptr<TEditorMargin> margin_;
  std::unique_ptr<TEditorLeftbar> leftbar_;
  std::unique_ptr<TEditorRuler> ruler_;
  mutable TEditorColumnRules rules_;
  TEditorMetrics metrics_;

  TBorderStyle borderStyle_ = bsSingle;
  TColor color_ = clWindow;
  bool readOnly_ = false;
  TScrollStyle scrollBars_ = ssNone;
  bool wantReturns_ = true;
  bool wantTabs_ = true;
  TEditorWordList reserveWordList_;
  TEditorWordList tmpReserveList_;
  std::string findString_;
  int findOptions_ = 0;
  std::string returnInsertStr_;
  double version_ = 0.0;

  int row_ = 0;
  int col_ = 0;
  int topRow_ = 0;
  int topCol_ = 0;
  // The widest row (in bytes), measured afresh after the rows were replaced
  // wholesale and widened by edits, so the range never hides a row.
  mutable int widestRow_ = 0;
  mutable unsigned widestStamp_ = ~0u;
  int rememberedCol_ = -1;
  bool modified_ = false;
  bool overWrite_ = false;
  bool loading_ = false;
  bool autoRepeat_ = false;
  bool compositionMovePending_ = false;
  bool caretCreated_ = false;
  int caretHideCount_ = 0;
  int underlineHideCount_ = 0;
  int underlineRow_ = -1;  // the row whose underline is drawn
  int leftbarDigits_ = 4;

  TSelectionState selState_ = sstNone;
  TSelectionMode selectionMode_ = smNormal;
  TEditorAnchor anchor_;
  TEditorSelection sel_;
  int selCaretRow_ = -1;  // the selection's moving end when last painted
  TSelDragState dragState_ = dsNone;
  int rowSelectFirst_ = -1;
  int rowSelectLast_ = -1;
  // Places held as text offsets while rows are cut under the view.
  struct THeldPlaces {
    bool held = false;
    long long top = 0;
    long long caret = 0;
    long long anchor = 0;
    int caretBeyond = 0;  // columns past the row's end
    int anchorBeyond = 0;
    bool caretShown = false;  // a caret in view stays in view
    int depth = 0;            // holds not yet restored
  } held_;
  int pressX_ = 0;
  int pressY_ = 0;
  bool keepRange_ = false;  // the caret moves inside a selection that is to be dragged
};

}  // namespace kerv
