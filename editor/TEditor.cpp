#include "editor/TEditor.h"

#include <algorithm>

#include "editor/TEditorInternal.h"

namespace kerv {

// TEditor: the screen object, life, properties, metrics and rows.

using namespace editor_detail;

// ---------------------------------------------------------------- the screen object

const TEditorColumnRules& TEditorScreen::ColumnRules() const {
  // The store asks before every cut: the wrap width may have just changed.
  editor_.SyncColumnRules();
  return editor_.rules_;
}
TEditorParserFactory TEditorScreen::ParserClass() const { return editor_.ParserClass(); }
const TEditorViewInfo* TEditorScreen::ViewInfo() const { return editor_.view_.get(); }
bool TEditorScreen::IsLoading() const { return editor_.loading_; }
int TEditorScreen::ScreenRows() const { return std::max(1, editor_.metrics_.visibleRows); }
int TEditorScreen::TopRow() const { return editor_.topRow_; }
bool TEditorScreen::Focused() const { return editor_.window_ && editor_.window_->HasFocus(); }
int TEditorScreen::CaretRow() const { return editor_.row_; }
int TEditorScreen::CaretCol() const { return editor_.col_; }
void TEditorScreen::RowsChanged() { editor_.ScreenRowsChanged(); }
void TEditorScreen::CleanSelection() { editor_.CancelSelection(); }
void TEditorScreen::SetCaretRow(int row) { editor_.SetRow(row); }
void TEditorScreen::SetCaretCol(int col) { editor_.SetCol(col); }
void TEditorScreen::SetCaretByOffset(int row, int byteOffset) { editor_.PlaceCaretByOffset(row, byteOffset); }
void TEditorScreen::RepaintRow(int row) { editor_.InvalidateRow(row); }
void TEditorScreen::SetTopRow(int row) { editor_.SetTopRow(row); }
void TEditorScreen::ClampToStore() { editor_.ClampToStore(); }
void TEditorScreen::Refresh() { editor_.RecomputeLayout(); }
void TEditorScreen::HideCaret() { editor_.HideCaret(); }
void TEditorScreen::ShowCaret() { editor_.ShowCaret(); }
void TEditorScreen::HideUnderline() { editor_.HideUnderline(); }
void TEditorScreen::ShowUnderline() { editor_.ShowUnderline(); }
// The line view refreshes the editor when its batch ends: nothing waits on the flag.
void TEditorScreen::SetLinesUpdating(bool) {}
long long TEditorScreen::CaretOffset() const {
  if (editor_.RowCount() == 0) return -1;
  return editor_.OffsetOfRow(std::min(editor_.row_, editor_.RowCount() - 1), 0) +
         (editor_.row_ < editor_.RowCount() ? editor_.CaretByte() : Len(editor_.RowText(editor_.RowCount() - 1)) + 2);
}
void TEditorScreen::RestoreCaretOffset(long long offset) {
  editor_.PlaceCaretByOffset(0, offset);
  // A caret the first screen shows brings the view back to the left edge.
  if (editor_.col_ < editor_.metrics_.visibleCols) editor_.SetTopCol(0);
  editor_.ScrollCaret();
}

void TEditorScreen::HoldPlaces(int fromRow) { editor_.HoldPlaces(fromRow); }
void TEditorScreen::RestorePlaces() { editor_.RestorePlaces(); }

TEditorScreenStrings& TEditorLinesLink::RowStore() { return editor_.RowStore(); }
TEditorView& TEditorLinesLink::View() { return editor_.Screen(); }

// ---------------------------------------------------------------- life

TEditor::TEditor(IEditorWindow* window, std::unique_ptr<TEditorScreenStrings> store) : window_(window) {
  screen_ = std::make_unique<TEditorScreen>(*this);
  view_ = std::make_unique<TEditorViewInfo>();
  caret_ = std::make_unique<TEditorCaret>();
  font_ = std::make_unique<TEditorFont>();
  marks_ = std::make_unique<TEditorMarks>();
  margin_ = std::make_unique<TEditorMargin>();
  leftbar_ = std::make_unique<TEditorLeftbar>();
  ruler_ = std::make_unique<TEditorRuler>();
  if (!store) store = std::make_unique<TEditorScreenStrings>();
  AttachStore(store.release());
  lines_ = std::make_unique<TEditorStrings>(linesLink_);
  for (TNotifyPersistent* option : OptionObjects()) {
    option->SetOnChange([this](TNotifyPersistent* sender) { OptionChanged(sender); });
  }
  SyncColumnRules();
  ComputeMetrics();
}

TEditor::~TEditor() {
  for (TNotifyPersistent* option : OptionObjects()) option->SetOnChange(nullptr);
  StoreDetached();
}

std::array<TNotifyPersistent*, 7> TEditor::OptionObjects() const {
  return {view_.get(), caret_.get(), font_.get(), marks_.get(), margin_.get(), leftbar_.get(), ruler_.get()};
}

void TEditor::AttachStore(TEditorScreenStrings* store) {
  store_ = store;
  store_->RegisterView(screen_.get());
}

void TEditor::StoreDetached() {
  if (store_ == nullptr) return;
  TEditorScreenStrings* store = store_;
  store_ = nullptr;
  // The last editor to leave a store frees it.
  if (store->UnregisterView(screen_.get())) delete store;
}

void TEditor::ShareRowStore(TEditor& other) {
  if (other.store_ == store_) return;
  CancelSelection();
  TEditorScreenStrings* previous = store_;
  if (previous->UnregisterView(screen_.get())) delete previous;
  store_ = other.store_;
  store_->RegisterView(screen_.get());
  SyncColumnRules();
  row_ = col_ = topRow_ = topCol_ = 0;
  ClampToStore();
  UpdateScrollBars();
  InvalidateAll();
  UpdateCaret();
}

void TEditor::SetWindow(IEditorWindow* window) {
  window_ = window;
  caretCreated_ = false;
  RecomputeLayout();
}

void TEditor::EndLoading() {
  loading_ = false;
  store_->TextReplaced();
  modified_ = false;
  RecomputeLayout();
}

// ---------------------------------------------------------------- properties

void TEditor::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  InvalidateAll();
}

void TEditor::SetReadOnly(bool value) {
  // A running drag of the selection keeps the state it started with.
  if (dragState_ == dsDragging) return;
  readOnly_ = value;
}

void TEditor::SetReserveWordList(const TEditorWordList& value) {
  if (value == reserveWordList_) return;
  reserveWordList_ = value;
  InvalidateAll();
}

void TEditor::SetTmpReserveList(const TEditorWordList& value) {
  if (value == tmpReserveList_) return;
  tmpReserveList_ = value;
  InvalidateAll();
}

void TEditor::BlankReserveWord(int index) {
  if (index >= 0 && index < static_cast<int>(reserveWordList_.size())) reserveWordList_[index].text.clear();
}

void TEditor::SetFindString(const std::string& pattern, int options) {
  if (pattern == findString_ && options == findOptions_) return;
  findString_ = pattern;
  findOptions_ = options;
  InvalidateAll();
}

void TEditor::SetScrollBars(TScrollStyle value) {
  if (value == scrollBars_) return;
  scrollBars_ = value;
  RecomputeLayout();
}

void TEditor::SetWordWrap(bool value) {
  if (value == store_->WordWrap()) return;
  CancelSelection();
  store_->SetWordWrap(value);
  SyncColumnRules();
  RecomputeLayout();
}

void TEditor::SetDelimiters(const TDelimiters& value) { rules_.SetDelimiters(value); }

void TEditor::SetOverWrite(bool value) {
  if (value == overWrite_) return;
  overWrite_ = value;
  caretCreated_ = false;
  UpdateCaret();
}

void TEditor::SyncColumnRules() const {
  rules_.SetTabWidth(caret_->TabSpaceCount());
  rules_.SetWrap(store_->WordWrap(), store_->WrapOption().WrapByte());
}

void TEditor::OptionChanged(TNotifyPersistent* sender) {
  if (sender == view_.get()) {
    store_->InitBrackets();
  }
  if (sender == caret_.get()) {
    int oldTab = rules_.TabWidth();
    SyncColumnRules();
    // A new tab width moves every tab: the rows are cut again.
    if (oldTab != rules_.TabWidth() && store_->WordWrap() && !store_->Empty()) {
      store_->SetWordWrap(false);
      store_->SetWordWrap(true);
    }
    caretCreated_ = false;
  }
  if (sender == font_.get() && topCol_ > 0) SetCol(0);
  RecomputeLayout();
}

// ---------------------------------------------------------------- metrics

void TEditor::ComputeMetrics() {
  TEditorMetrics m;
  TFontMetrics font = window_ ? window_->MeasureFont(*font_) : TFontMetrics();
  m.fontHeight = font.height + font.externalLeading;
  m.charWidth = std::max(1, font.averageWidth + margin_->Character());
  m.rowHeight = std::max(1, m.fontHeight + margin_->Line() + (marks_->Underline().Visible() ? 1 : 0));
  m.rulerHeight = ruler_->Visible() ? 10 : 0;
  m.textTop = margin_->Top() + m.rulerHeight;
  leftbarDigits_ = LeftbarDigits();
  m.digits = leftbarDigits_;
  m.leftbarWidth = m.digits * m.charWidth + leftbar_->LeftMargin() + leftbar_->RightMargin() + 1;
  m.textLeft = margin_->Left() + (leftbar_->Visible() ? m.leftbarWidth : 0);
  int width = ClientWidth();
  int height = ClientHeight();
  int bar = window_ ? window_->ScrollBarExtent() : 16;
  bool horizontal = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
  bool vertical = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
  m.visibleRows = std::max(0, (height - m.textTop - 5 - (horizontal ? bar : 0)) / m.rowHeight);
  m.visibleCols = std::max(0, (width - m.textLeft - m.charWidth / 2 - (vertical ? bar : 0)) / m.charWidth);
  m.italicMode = (font_->Style() & fsItalic) != 0;
  const TEditorColors& colors = view_->Colors();
  for (int entry = 0; entry < ceCount && !m.italicMode; ++entry) {
    if (entry == ceSelect) continue;
    if (colors.Item(static_cast<TEditorColorEntry>(entry)).Style() & fsItalic) m.italicMode = true;
  }
  for (int i = 0; i < view_->Brackets().Count() && !m.italicMode; ++i) {
    if (view_->Brackets().Items(i).ItemColor().Style() & fsItalic) m.italicMode = true;
  }
  metrics_ = m;
}

void TEditor::RecomputeLayout() {
  ComputeMetrics();
  UpdateScrollBars();
  InvalidateAll();
  UpdateCaret();
}

void TEditor::Resized() { RecomputeLayout(); }

int TEditor::LeftbarDigits() const {
  int column = leftbar_->Column();
  if (!leftbar_->Visible() || !leftbar_->ShowNumber()) return column;
  int rows = RowCount();
  int lastRow = rows - 1;
  long long highest = leftbar_->ShowNumberMode() == nmRow ? lastRow : (rows > 0 ? RowToLine(lastRow) : -1);
  if (!leftbar_->ZeroBase()) ++highest;
  if (rows == 0 || RowKind(lastRow) != raEof) ++highest;
  highest = std::max(0LL, highest);
  int digits = 1;
  for (long long n = highest; n >= 10; n /= 10) ++digits;
  return std::min(8, std::max(column, digits));
}

int TEditor::UnderlineY(int row) const {
  int y = RowToY(row) + metrics_.fontHeight;
  if (y <= metrics_.textTop || y >= ClientHeight()) return -1;
  return y;
}

TRowCol TEditor::PosToRowCol(int x, int y, bool nearest) const {
  const TEditorMetrics& m = metrics_;
  int col;
  if (nearest) {
    int numerator = x + m.charWidth / 2 - m.textLeft - 1;
    col = numerator < 0 ? -1 : numerator / m.charWidth;
  } else {
    int numerator = x - m.textLeft;
    col = numerator < 0 ? -1 : numerator / m.charWidth;
  }
  col = std::max(0, col + topCol_);
  // Division truncates, as the grid's arithmetic always has: a point just
  // above the text area still names the top row.
  int row = (y - m.textTop) / m.rowHeight + topRow_;
  return {row, col};
}

// ---------------------------------------------------------------- rows

std::string_view TEditor::RowText(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  return store_->Get(row);
}

std::string TEditor::ExpandTabs(std::string_view text) const {
  if (text.find('\t') == std::string_view::npos) return std::string(text);
  std::string attrs = rules_.ColumnAttributes(text);
  std::string out;
  out.reserve(attrs.size());
  size_t byteIndex = 0;
  for (char cls : attrs) {
    if (cls == kColTabFill) {
      out += ' ';
      continue;
    }
    char b = text[byteIndex++];
    out += b == '\t' ? ' ' : b;
  }
  return out;
}

std::string TEditor::RowDisplayText(int row) const { return ExpandTabs(RowText(row)); }

int TEditor::RowWidth(int row) const { return WidthOf(RowText(row)); }

int TEditor::RowToLine(int row) const { return store_->RowToLine(row); }

int TEditor::ColToByte(int row, int col) const {
  std::string_view text = RowText(row);
  if (text.find('\t') == std::string_view::npos) return col;
  std::string attrs = rules_.ColumnAttributes(text);
  int width = Len(attrs);
  // A column inside a tab's fillers maps to the tab's byte; columns past the
  // row's end count one byte each.
  int c = col;
  if (c < width) {
    while (c > 0 && attrs[c] == kColTabFill) --c;
  }
  int fills = static_cast<int>(std::count(attrs.begin(), attrs.begin() + std::min(c, width), kColTabFill));
  return c - fills;
}

int TEditor::ByteToCol(int row, int byteIndex) const {
  std::string_view text = RowText(row);
  int length = Len(text);
  if (byteIndex <= length) return WidthOf(text.substr(0, std::max(0, byteIndex)));
  return WidthOf(text) + (byteIndex - length);
}

int TEditor::WidthOf(std::string_view text) const {
  return text.find('\t') == std::string_view::npos ? Len(text) : rules_.TextWidth(text);
}

int TEditor::CaretByte() const { return std::min(Len(RowText(row_)), ColToByte(row_, col_)); }

long long TEditor::OffsetOfRow(int row, long long n) const {
  return store_->ExtentBefore(std::min(row, RowCount())) + n;
}

int TEditor::RowColToOffset(int baseRow, int row, int col) const {
  long long offset = 0;
  for (int r = std::max(0, baseRow); r < row && r < RowCount(); ++r) {
    offset += Len(RowText(r)) + (RowKind(r) == raCrlf ? 2 : 0);
  }
  return static_cast<int>(offset + std::min(Len(RowText(row)), ColToByte(row, col)));
}

long long TEditor::TextLength() const { return store_->TotalExtent(); }

int TEditor::LeadingBlankWidth(std::string_view text) const {
  if (text.empty()) return -1;
  int width = 0;
  size_t i = 0;
  while (i < text.size()) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    if (b == ' ') {
      ++width;
      ++i;
    } else if (b == '\t') {
      width += 1 + rules_.TabFill(width + 1);
      ++i;
    } else if (b == 0x81 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x40) {
      width += 2;
      i += 2;
    } else {
      break;
    }
  }
  return width;
}

}  // namespace kerv
