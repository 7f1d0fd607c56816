#include "editor/TEditor.h"

#include <algorithm>

namespace kerv {
namespace {

int Len(std::string_view text) { return static_cast<int>(text.size()); }

// Whether byte i of a Shift_JIS text is the trail byte of a character: the
// lead-range bytes right before it pair up from the last byte that cannot
// lead, so an odd count of them means i completes a character.
bool IsTrailAt(std::string_view text, int i) {
  if (i <= 0 || i >= Len(text)) return false;
  int j = i - 1;
  while (j >= 0 && IsLeadByte(static_cast<unsigned char>(text[j]))) --j;
  return (i - 1 - j) % 2 == 1;
}

// The column classes of one row. Only a row with a tab needs the class
// string; without tabs a column is a byte, and a 10 MB row is not copied.
class TRowCells {
 public:
  TRowCells(const TEditorColumnRules& rules, std::string_view text) : text_(text) {
    if (text.find('\t') != std::string_view::npos) {
      attrs_ = rules.ColumnAttributes(text);
      tabs_ = true;
    }
  }
  int Width() const { return tabs_ ? Len(attrs_) : Len(text_); }
  char operator[](int col) const {
    if (tabs_) return attrs_[col];
    if (IsTrailAt(text_, col)) return kColTrail;
    return IsLeadByte(static_cast<unsigned char>(text_[col])) && col + 1 < Len(text_) ? kColLead : kColSingle;
  }

 private:
  std::string_view text_;
  std::string attrs_;
  bool tabs_ = false;
};

}  // namespace

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

// ---------------------------------------------------------------- caret

int TEditor::NormalizeCol(int row, int col, int direction, bool vertical) {
  if (vertical && rememberedCol_ >= 0) col = rememberedCol_;
  TRowCells attrs(rules_, RowText(row));
  int width = attrs.Width();
  auto remember = [&](int value) {
    if (vertical && rememberedCol_ < 0) rememberedCol_ = value;
  };
  if (!caret_->FreeCaret() && col > width) {
    if (caret_->KeepCaret() && vertical && rememberedCol_ < 0) {
      rememberedCol_ = (window_ && window_->LeftButtonDown()) ? width : col;
    }
    col = width;
  }
  if (col >= 0 && col < width && attrs[col] == kColTrail) {
    remember(col);
    col += direction;
  }
  if (!caret_->InTab()) {
    bool moved = false;
    while (col > 0 && col < width && attrs[col] == kColTabFill) {
      if (!moved) remember(col);
      moved = true;
      col += direction;
    }
  }
  if (store_->WordWrap() && col >= width) {
    if (RowKind(row) == raWrapped) {
      col = width - 1;
    } else if (col >= store_->WrapOption().WrapByte()) {
      col = std::max(width, store_->WrapOption().WrapByte() - 1);
    }
    col = std::max(0, col);
    if (col < width && attrs[col] == kColTrail) --col;
    if (!caret_->InTab()) {
      while (col > 0 && col < width && attrs[col] == kColTabFill) --col;
    }
  }
  if (col > kMaxGridCols && !(width >= kMaxGridCols && attrs[kMaxGridCols - 1] == kColLead)) col = kMaxGridCols;
  return std::clamp(col, 0, kMaxCaretCol);
}

void TEditor::SetCol(int col) {
  col = std::clamp(col, 0, kMaxCaretCol);
  int direction = col > col_ ? 1 : -1;
  rememberedCol_ = -1;
  col_ = NormalizeCol(row_, col, direction, false);
  if (selState_ == sstSelected && !keepRange_) UpdateRange(true);
  UpdateCaret();
}

void TEditor::SetRow(int row) {
  if (row == row_ && row_ != RowCount()) return;
  UnderlineHidden hidden(*this);
  int oldRow = row_;
  row_ = std::clamp(row, 0, RowCount());
  if (row_ == RowCount() && row_ > 0 && RowKind(row_ - 1) == raEof) row_ = RowCount() - 1;
  col_ = NormalizeCol(row_, col_, -1, true);
  if (selState_ == sstSelected && oldRow != row_ && !keepRange_) UpdateRange(true);
  UpdateCaret();
}

void TEditor::MoveCaretTo(int row, int col) {
  CaretHidden hidden(*this);
  SetRow(row);
  TRowCells attrs(rules_, RowText(row_));
  int width = attrs.Width();
  if (col > 0 && col < width && attrs[col] == kColTrail) --col;
  if (!caret_->InTab()) {
    while (col > 0 && col < width && attrs[col] == kColTabFill) --col;
  }
  SetCol(col);
}

void TEditor::ClampToStore() {
  int rows = RowCount();
  int maxRow = rows > 0 && RowKind(rows - 1) == raEof ? rows - 1 : rows;
  row_ = std::clamp(row_, 0, std::max(0, maxRow));
  topRow_ = std::clamp(topRow_, 0, std::max(0, rows));
  if (selState_ != sstNone) {
    // A change from elsewhere (the other pane) may have taken the selected rows.
    if (sel_.endRow > rows || anchor_.row > rows) CancelSelection();
  }
}

void TEditor::PlaceCaretByOffset(int baseRow, long long offset) {
  int rows = RowCount();
  int row = std::max(0, baseRow);
  if (rows == 0 || row >= rows) {
    row_ = std::min(row, rows);
    if (rows > 0 && RowKind(rows - 1) == raEof) row_ = rows - 1;
    rememberedCol_ = -1;
    col_ = rows > 0 && row_ < rows ? RowWidth(row_) : 0;
    UpdateCaret();
    return;
  }
  long long target = store_->ExtentBefore(row) + std::max(0LL, offset);
  long long rowStart = 0;
  row = store_->RowAtExtent(target, &rowStart);
  long long remaining = target - rowStart;
  if (row >= rows) {
    // Past the last row: a final line break leaves the caret on the empty line after it.
    if (RowKind(rows - 1) == raCrlf) {
      row_ = rows;
      rememberedCol_ = -1;
      col_ = 0;
      UpdateCaret();
      return;
    }
    row = rows - 1;
    remaining = Len(RowText(row));
  }
  std::string_view text = RowText(row);
  int byteIndex = static_cast<int>(std::min<long long>(remaining, Len(text)));
  row_ = row;
  rememberedCol_ = -1;
  col_ = WidthOf(text.substr(0, byteIndex));
  UpdateCaret();
}

int TEditor::EditBaseRow(int row) const {
  // The row before a continuation row may take text from it when it is cut again.
  int first = store_->FirstRowOfLine(std::min(row, RowCount()));
  return std::max(first, row - 1);
}

void TEditor::HideCaret() {
  if (caretHideCount_++ == 0 && window_ && caretCreated_) window_->SetCaretVisible(false);
}

void TEditor::ShowCaret() {
  if (caretHideCount_ == 0) return;
  if (--caretHideCount_ == 0) PlaceCaret();
}

void TEditor::HideUnderline() {
  if (underlineHideCount_++ == 0 && underlineRow_ >= 0) {
    InvalidateRow(underlineRow_);
    underlineRow_ = -1;
  }
}

void TEditor::ShowUnderline() {
  if (underlineHideCount_ == 0) return;
  if (--underlineHideCount_ == 0 && marks_->Underline().Visible() && selState_ != sstSelected) {
    underlineRow_ = row_;
    InvalidateRow(row_);
  }
}

void TEditor::PlaceCaret() {
  if (!window_ || !window_->HasFocus()) return;
  const TEditorMetrics& m = metrics_;
  int cellWidth = m.charWidth - margin_->Character();
  std::string_view text = RowText(row_);
  int byteIndex = ColToByte(row_, col_);
  bool onLead = byteIndex < Len(text) && IsLeadByte(static_cast<unsigned char>(text[byteIndex]));
  int width;
  int height;
  int yOffset = 0;
  if (overWrite_) {
    width = onLead ? 2 * cellWidth : cellWidth;
    height = m.fontHeight;
  } else if (caret_->Style() == csBrief) {
    width = onLead ? 2 * cellWidth : cellWidth;
    height = 2;
    yOffset = m.fontHeight - 2;
  } else {
    width = 2;
    height = m.fontHeight;
  }
  window_->CreateCaret(width, height);
  caretCreated_ = true;
  int x = CaretX();
  int y = CaretY() + yOffset;
  window_->SetCaretPos(x, y);
  if (!autoRepeat_) window_->MoveCompositionWindow(x, CaretY());
  bool inView = row_ >= topRow_ && row_ < topRow_ + std::max(1, m.visibleRows) && col_ >= topCol_ &&
                col_ <= topCol_ + m.visibleCols;
  window_->SetCaretVisible(inView && caretHideCount_ == 0);
}

void TEditor::KeepCaretVisible() {
  if (!window_ || !window_->HasFocus()) return;
  int rows = std::max(1, metrics_.visibleRows);
  int cols = std::max(1, metrics_.visibleCols);
  if (row_ < topRow_) {
    SetTopRow(row_);
  } else if (row_ >= topRow_ + rows) {
    SetTopRow(row_ - rows + 1);
  }
  if (col_ < topCol_) {
    SetTopCol(std::max(0, std::min(col_, topCol_ - cols / 4)));
  } else if (col_ >= topCol_ + cols) {
    SetTopCol(std::min(std::max(col_ - cols + 1, topCol_ + cols / 4), kMaxGridCols - cols / 2));
  }
}

void TEditor::UpdateCaret() {
  KeepCaretVisible();
  if (ruler_->Visible()) InvalidateRect({metrics_.textLeft, 0, ClientWidth(), metrics_.rulerHeight});
  if (underlineHideCount_ == 0 && underlineRow_ != row_ && marks_->Underline().Visible()) {
    if (underlineRow_ >= 0) InvalidateRow(underlineRow_);
    underlineRow_ = selState_ == sstSelected ? -1 : row_;
    if (underlineRow_ >= 0) InvalidateRow(underlineRow_);
  }
  if (caretHideCount_ == 0) PlaceCaret();
  if (window_ && window_->HasFocus() && OnCaretMoved) OnCaretMoved(*this);
}

void TEditor::FocusIn() {
  caretCreated_ = false;
  UpdateCaret();
}

void TEditor::FocusOut() {
  if (window_ && caretCreated_) {
    window_->SetCaretVisible(false);
    window_->DestroyCaret();
  }
  caretCreated_ = false;
}

// ---------------------------------------------------------------- scrolling

int TEditor::ClientWidth() const { return window_ ? window_->ClientWidth() : kDefaultClientWidth; }

int TEditor::ClientHeight() const { return window_ ? window_->ClientHeight() : kDefaultClientHeight; }

void TEditor::InvalidateAll() { InvalidateRect({0, 0, ClientWidth(), ClientHeight()}); }

void TEditor::InvalidateRect(const TRect& rect) {
  if (window_ && !rect.Empty()) window_->InvalidateRect(rect);
}

void TEditor::InvalidateRow(int row) {
  if (!window_ || row < topRow_ || row > topRow_ + metrics_.visibleRows) return;
  int y = RowToY(row);
  window_->InvalidateRect({0, y, window_->ClientWidth(), y + metrics_.rowHeight});
}

void TEditor::RepaintRows(int firstRow, int lastRow) {
  if (!window_) return;
  if (firstRow > lastRow) std::swap(firstRow, lastRow);
  firstRow = std::max(firstRow, topRow_);
  lastRow = std::min(lastRow, topRow_ + metrics_.visibleRows);
  if (firstRow > lastRow) return;
  window_->InvalidateRect({0, RowToY(firstRow), window_->ClientWidth(), RowToY(lastRow) + metrics_.rowHeight});
}

void TEditor::RepaintRowsBetween(int a, int b) { RepaintRows(std::min(a, b), std::max(a, b)); }

void TEditor::SetTopRow(int row) {
  row = std::clamp(row, 0, RowCount());
  if (row == topRow_) return;
  int delta = row - topRow_;
  topRow_ = row;
  if (window_) {
    CaretHidden hidden(*this);
    int height = window_->ClientHeight();
    TRect area{0, metrics_.textTop, window_->ClientWidth(), height};
    if (std::abs(delta) <= metrics_.visibleRows + 1) {
      window_->ScrollRect(area, 0, -delta * metrics_.rowHeight);
    } else {
      window_->InvalidateRect(area);
    }
    if (HasScrollBar(sbVertical)) PushScrollBar(sbVertical);
  }
  if (OnTopRowChange) OnTopRowChange(*this);
}

void TEditor::SetTopCol(int col) {
  col = std::clamp(col, 0, std::max(0, kMaxGridCols - metrics_.visibleCols / 2));
  if (col == topCol_) return;
  int delta = col - topCol_;
  topCol_ = col;
  if (window_) {
    CaretHidden hidden(*this);
    TRect area{metrics_.textLeft, 0, window_->ClientWidth(), window_->ClientHeight()};
    if (std::abs(delta) <= metrics_.visibleCols) {
      window_->ScrollRect(area, -delta * metrics_.charWidth, 0);
    } else {
      window_->InvalidateRect(area);
    }
    if (HasScrollBar(sbHorizontal)) PushScrollBar(sbHorizontal);
  }
  if (OnTopColChange) OnTopColChange(*this);
}

void TEditor::UpdateScrollBars() {
  int highest = std::max(0, RowCount() + metrics_.visibleRows - 2);
  if (topRow_ > highest) SetTopRow(highest);
  int highestCol = std::max(0, kMaxGridCols - metrics_.visibleCols / 2);
  if (topCol_ > highestCol) SetTopCol(highestCol);
  if (!window_) return;
  PushScrollBar(sbVertical);
  PushScrollBar(sbHorizontal);
}

bool TEditor::HasScrollBar(TScrollBarKind kind) const {
  return scrollBars_ == ssBoth || scrollBars_ == (kind == sbVertical ? ssVertical : ssHorizontal);
}

// The bars' ranges take in one page past the last row (and half a screen past
// the widest row), so the last row can be scrolled to the top.
int TEditor::ScrollBarMax(TScrollBarKind kind) const {
  if (kind == sbVertical) return std::max(metrics_.visibleRows, RowCount() + metrics_.visibleRows - 2);
  return kMaxGridCols + metrics_.visibleCols / 2;
}

void TEditor::PushScrollBar(TScrollBarKind kind) {
  bool vertical = kind == sbVertical;
  window_->SetScrollBar(kind, HasScrollBar(kind), ScrollBarMax(kind), vertical ? metrics_.visibleRows : metrics_.visibleCols,
                        vertical ? topRow_ : topCol_);
}

void TEditor::ScrollCaret() {
  int rows = std::max(1, metrics_.visibleRows);
  int cols = std::max(1, metrics_.visibleCols);
  if (row_ < topRow_ || row_ >= topRow_ + rows) SetTopRow(row_ - rows / 3);
  if (col_ < topCol_ || col_ >= topCol_ + cols) SetTopCol(col_ - cols / 3);
}

void TEditor::ScrollPage(int rows) {
  if (topRow_ == 0 && rows < 0) {
    SetRow(0);
    return;
  }
  if (rows > 0 && RowKind(topRow_) == raEof) return;
  int distance = row_ - topRow_;
  SetTopRow(topRow_ + rows);
  SetRow(topRow_ + distance);
}

void TEditor::ScrollBy(TScrollBarKind kind, int delta) {
  // A bar's highest position leaves one page of its range in view.
  if (kind == sbVertical) {
    int highest = std::max(0, ScrollBarMax(sbVertical) - metrics_.visibleRows + 1);
    delta = std::clamp(topRow_ + delta, 0, highest) - topRow_;
    if (delta == 0) return;
    SetTopRow(topRow_ + delta);
    if (caret_->LockScroll()) SetRow(row_ + delta);
  } else {
    int highest = std::max(0, ScrollBarMax(sbHorizontal) - metrics_.visibleCols + 1);
    delta = std::clamp(topCol_ + delta, 0, highest) - topCol_;
    if (delta == 0) return;
    SetTopCol(topCol_ + delta);
  }
  PlaceCaret();
}

// ---------------------------------------------------------------- row-store reports

void TEditor::ScreenRowsChanged() {
  const TEditorChangeRecord& change = store_->ChangeRecord();
  if (!change.changed && change.oldRowCount == change.newRowCount && change.bracketRows == 0) return;
  int delta = change.newRowCount - change.oldRowCount;
  if (window_) {
    if (std::abs(delta) > metrics_.visibleRows) {
      window_->InvalidateRect({0, metrics_.textTop, window_->ClientWidth(), window_->ClientHeight()});
    } else {
      int lastAffected = change.firstRow + std::max(change.newRowCount, 1) - 1 + change.bracketRows;
      RepaintRows(change.firstRow, lastAffected);
      if (delta != 0) {
        // The rows below move by the difference instead of being painted again.
        int below = change.firstRow + change.newRowCount;
        RepaintRows(below, topRow_ + metrics_.visibleRows);
      }
      if (leftbar_->Visible()) {
        bool lineMode = leftbar_->ShowNumberMode() == nmLine;
        if (lineMode || (delta != 0 && topRow_ + metrics_.visibleRows >= RowCount())) {
          int y = RowToY(std::max(topRow_, lastAffected));
          window_->InvalidateRect({0, y, metrics_.leftbarWidth, window_->ClientHeight()});
        }
      }
    }
  }
  if (LeftbarDigits() != leftbarDigits_) {
    ComputeMetrics();
    InvalidateAll();
  }
  UpdateScrollBars();
  if (change.changed) {
    modified_ = true;
    if (OnChange) OnChange(*this);
  }
}

// ---------------------------------------------------------------- selection

void TEditor::StartSelection() {
  CancelSelection();
  selState_ = sstAnchored;
  anchor_.row = row_;
  anchor_.byteIndex = CaretByte();
  anchor_.col = selectionMode_ == smBox ? col_ : std::min(col_, RowWidth(row_));
}

void TEditor::ExtendSelection() {
  if (selState_ == sstNone) return;
  bool first = selState_ == sstAnchored;
  selState_ = sstSelected;
  // The underline stays hidden while a selection exists; CancelSelection shows it again.
  if (first) HideUnderline();
  UpdateRange(true);
}

void TEditor::UpdateRange(bool notify) {
  if (selState_ != sstSelected) return;
  TEditorSelection old = sel_;
  int caretByte = CaretByte();
  TEditorSelection s;
  s.startRow = std::min(anchor_.row, row_);
  s.endRow = std::max(anchor_.row, row_);
  if (anchor_.row == row_) {
    s.startByte = std::min(anchor_.byteIndex, caretByte);
    s.endByte = std::max(anchor_.byteIndex, caretByte) - 1;
  } else if (anchor_.row < row_) {
    s.startByte = anchor_.byteIndex;
    s.endByte = caretByte - 1;
  } else {
    s.startByte = caretByte;
    s.endByte = anchor_.byteIndex - 1;
  }
  s.firstRow = s.startRow;
  s.lastRow = s.endRow;
  if (selectionMode_ == smBox) {
    s.leftCol = std::min(anchor_.col, col_);
    s.rightCol = std::max(anchor_.col, col_);
  } else if (anchor_.row == row_) {
    int width = RowWidth(row_);
    s.leftCol = std::min(std::min(anchor_.col, col_), width);
    s.rightCol = std::min(std::max(anchor_.col, col_), width);
  } else {
    bool anchorFirst = anchor_.row < row_;
    int startCol = anchorFirst ? anchor_.col : col_;
    int endCol = anchorFirst ? col_ : anchor_.col;
    s.leftCol = std::min(startCol, RowWidth(s.startRow));
    s.rightCol = std::min(endCol, RowWidth(s.endRow));
  }
  sel_ = s;
  if (selectionMode_ == smBox || selCaretRow_ < 0) {
    RepaintRows(std::min(old.firstRow, s.firstRow), std::max(old.lastRow, s.lastRow));
  } else {
    // Only the rows between the old and the new moving end change.
    RepaintRowsBetween(selCaretRow_, row_);
  }
  selCaretRow_ = row_;
  if (notify && OnSelectionChange) OnSelectionChange(*this, true);
}

void TEditor::CancelSelection() {
  rememberedCol_ = -1;
  if (selState_ == sstNone) return;
  bool wasSelected = selState_ == sstSelected;
  selState_ = sstNone;
  if (wasSelected) {
    RepaintRows(sel_.firstRow, sel_.lastRow);
    ShowUnderline();
  }
  sel_ = TEditorSelection();
  selCaretRow_ = -1;
  if (OnSelectionChange) OnSelectionChange(*this, false);
}

void TEditor::SetSelectionMode(TSelectionMode mode) {
  if (dragState_ == dsDragging || mode == selectionMode_) return;
  selectionMode_ = mode;
  if (selState_ == sstSelected) {
    RepaintRows(sel_.firstRow, sel_.lastRow);
    if (mode == smBox) {
      anchor_.col = ByteToCol(anchor_.row, anchor_.byteIndex);
    } else {
      anchor_.col = std::min(anchor_.col, RowWidth(anchor_.row));
    }
    UpdateRange(true);
  } else if (selState_ == sstAnchored) {
    anchor_.col = mode == smBox ? col_ : std::min(col_, RowWidth(row_));
  }
  if (OnSelectionModeChange) OnSelectionModeChange(*this);
}

void TEditor::BoxCoveredBytes(int row, int& startByte, int& endByte) const {
  TRowCells attrs(rules_, RowText(row));
  int width = attrs.Width();
  int left = std::min(sel_.leftCol, width);
  int right = std::min(sel_.rightCol, width);
  // A partly covered character or tab counts as covered.
  if (left < width && attrs[left] == kColTrail) --left;
  while (left > 0 && left < width && attrs[left] == kColTabFill) --left;
  if (right < width && attrs[right] == kColTrail) ++right;
  while (right < width && right > 0 && attrs[right] == kColTabFill) ++right;
  // Neither column is on a tab's fillers now: ColToByte counts them off.
  startByte = ColToByte(row, left);
  endByte = ColToByte(row, right);
  if (endByte < startByte) endByte = startByte;
}

std::string TEditor::SelText() const {
  if (selState_ != sstSelected) return std::string();
  std::string out;
  if (selectionMode_ == smBox) {
    int last = std::min(sel_.lastRow, RowCount() - 1);
    for (int row = sel_.firstRow; row <= last; ++row) {
      int startByte = 0;
      int endByte = 0;
      BoxCoveredBytes(row, startByte, endByte);
      out.append(RowText(row).substr(startByte, endByte - startByte));
      out += "\r\n";
    }
    return out;
  }
  long long bytes = 0;
  ForEachSelectedPiece([&](std::string_view piece, bool lineBreak) { bytes += Len(piece) + (lineBreak ? 2 : 0); });
  ReserveLargeText(out, static_cast<size_t>(bytes));
  ForEachSelectedPiece([&](std::string_view piece, bool lineBreak) {
    out.append(piece);
    if (lineBreak) out += "\r\n";
  });
  return out;
}

template <typename OnPiece>
void TEditor::ForEachSelectedPiece(OnPiece onPiece) const {
  int last = std::min(sel_.endRow, RowCount() - 1);
  if (last < sel_.startRow) return;
  // Rows are walked block by block rather than looked up one at a time.
  int row = sel_.startRow;
  store_->ForEachRow(sel_.startRow, last - sel_.startRow + 1, [&](std::string_view text, uint32_t value) {
    int length = Len(text);
    int from = row == sel_.startRow ? std::min(sel_.startByte, length) : 0;
    if (row == sel_.endRow) {
      int to = std::max(from, std::min(sel_.endByte + 1, length));
      onPiece(text.substr(from, to - from), false);
    } else {
      onPiece(text.substr(from), rowrecord::Kind(value) == raCrlf);
    }
    ++row;
  });
}

long long TEditor::SelStart() const {
  if (RowCount() == 0) return 0;
  if (selState_ != sstSelected) return OffsetOfRow(row_, CaretByte());
  if (selectionMode_ == smBox) {
    int startByte = 0;
    int endByte = 0;
    BoxCoveredBytes(sel_.firstRow, startByte, endByte);
    return OffsetOfRow(sel_.firstRow, startByte);
  }
  return OffsetOfRow(sel_.startRow, std::min(sel_.startByte, Len(RowText(sel_.startRow))));
}

long long TEditor::SelLength() const {
  if (selState_ != sstSelected) return 0;
  if (selectionMode_ == smBox) {
    long long length = 0;
    int last = std::min(sel_.lastRow, RowCount() - 1);
    for (int row = sel_.firstRow; row <= last; ++row) {
      int startByte = 0;
      int endByte = 0;
      BoxCoveredBytes(row, startByte, endByte);
      length += endByte - startByte + 2;
    }
    return length;
  }
  long long length = 0;
  ForEachSelectedPiece([&](std::string_view piece, bool lineBreak) { length += Len(piece) + (lineBreak ? 2 : 0); });
  return length;
}

void TEditor::SetSelStart(long long offset) {
  CancelSelection();
  if (offset <= 0) {
    SetRow(0);
    SetCol(0);
    return;
  }
  PlaceCaretByOffset(0, offset);
}

void TEditor::SetSelLength(long long length) {
  if (selectionMode_ == smBox && selState_ == sstSelected) {
    long long start = SelStart();
    SetSelectionMode(smNormal);
    SetSelStart(start);
  }
  if (length <= 0) {
    if (selState_ == sstSelected) {
      int row = sel_.startRow;
      int byteIndex = sel_.startByte;
      CancelSelection();
      SetRow(row);
      SetCol(ByteToCol(row, byteIndex));
    }
    return;
  }
  if (selState_ == sstSelected) {
    int row = sel_.startRow;
    int byteIndex = sel_.startByte;
    CancelSelection();
    SetRow(row);
    SetCol(ByteToCol(row, byteIndex));
  }
  StartSelection();
  // Walk length bytes forward: a line break counts 2, the walk stops at a
  // raEof row or after the last row.
  int row = row_;
  long long remaining = length + CaretByte();
  int rows = RowCount();
  int byteIndex = 0;
  for (;;) {
    if (row >= rows) {
      byteIndex = 0;
      break;
    }
    int rowLength = Len(RowText(row));
    TRowAttribute kind = RowKind(row);
    if (remaining <= rowLength || kind == raEof) {
      byteIndex = static_cast<int>(std::min<long long>(remaining, rowLength));
      break;
    }
    long long extent = rowLength + (kind == raCrlf ? 2 : 0);
    if (remaining < extent) {
      byteIndex = rowLength;
      break;
    }
    remaining -= extent;
    ++row;
  }
  {
    CaretHidden hidden(*this);
    row_ = std::min(row, rows);
    col_ = row_ < rows ? ByteToCol(row_, byteIndex) : 0;
    rememberedCol_ = -1;
  }
  ExtendSelection();
  UpdateCaret();
}

void TEditor::SelectAll() {
  SetSelStart(0);
  SetSelLength(TextLength());
}

void TEditor::SelectRows(int row) {
  int rows = RowCount();
  row = std::clamp(row, 0, rows);
  if (rows > 0 && row == rows && RowKind(rows - 1) == raEof) row = rows - 1;
  CaretHidden hidden(*this);
  CancelSelection();
  SetRow(row);
  if (row < rows && RowKind(row) == raEof) {
    SetCol(RowWidth(row));
    StartSelection();
    SetCol(0);
  } else {
    SetCol(0);
    StartSelection();
    SetRow(row + 1);
    SetCol(0);
  }
  ExtendSelection();
  // The caret returns to the clicked row's start; the range stays.
  TEditorSelection range = sel_;
  row_ = row;
  col_ = 0;
  sel_ = range;
  rowSelectFirst_ = rowSelectLast_ = row;
  UpdateCaret();
}

void TEditor::ExtendRowSelection(int row) {
  if (rowSelectFirst_ < 0) return;
  int rows = RowCount();
  row = std::clamp(row, 0, rows);
  if (rows > 0 && row == rows && RowKind(rows - 1) == raEof) row = rows - 1;
  if (row == rowSelectLast_) return;
  rowSelectLast_ = row;
  int first = std::min(rowSelectFirst_, row);
  int last = std::max(rowSelectFirst_, row);
  CaretHidden hidden(*this);
  // Anchor at the top row's start (or bottom row's end), caret at the other end.
  bool downward = row >= rowSelectFirst_;
  auto endOf = [&](int r) -> std::pair<int, int> {
    if (r < rows && RowKind(r) == raEof) return {r, RowWidth(r)};
    return {std::min(r + 1, rows), 0};
  };
  selState_ = sstAnchored;
  if (downward) {
    anchor_ = {first, 0, 0};
    auto [r, c] = endOf(last);
    row_ = r;
    col_ = c;
  } else {
    auto [r, c] = endOf(last);
    anchor_ = {r, ColToByte(r, c), c};
    row_ = first;
    col_ = 0;
  }
  selState_ = sstSelected;
  UpdateRange(true);
  UpdateCaret();
}

// ---------------------------------------------------------------- editing helpers

void TEditor::ReplaceInRow(int row, int fromByte, int toByte, std::string_view insert, int caretByte) {
  std::string_view text = RowText(row);
  std::string replacement(text.substr(0, fromByte));
  replacement.append(insert);
  replacement.append(text.substr(toByte));
  if (RowKind(row) == raCrlf) replacement += "\r\n";
  int baseRow = EditBaseRow(row);
  ReplaceAndPlace(row, 1, replacement, baseRow, RowColToOffset(baseRow, row, 0) + caretByte);
}

void TEditor::ReplaceAndPlace(int row, int count, std::string_view text, int baseRow, long long offset) {
  CaretHidden caretHidden(*this);
  UnderlineHidden underlineHidden(*this);
  store_->ReplaceRows(row, count, text);
  PlaceCaretByOffset(baseRow, offset);
}

std::string TEditor::BoxRemoved(int firstRow, int lastRow, std::string* insertAtFirst) const {
  std::string out;
  for (int row = firstRow; row <= lastRow; ++row) {
    std::string_view text = RowText(row);
    int startByte = 0;
    int endByte = 0;
    BoxCoveredBytes(row, startByte, endByte);
    out.append(text.substr(0, startByte));
    if (row == firstRow && insertAtFirst) {
      // A box left of the row's end is reached with spaces.
      int width = RowWidth(row);
      if (sel_.leftCol > width) out.append(sel_.leftCol - width, ' ');
      out += *insertAtFirst;
    }
    out.append(text.substr(std::min(endByte, Len(text))));
    if (RowKind(row) == raCrlf) out += "\r\n";
  }
  return out;
}

void TEditor::DeleteSelection() {
  if (readOnly_ || selState_ != sstSelected) return;
  int rows = RowCount();
  if (rows == 0) {
    CancelSelection();
    return;
  }
  if (selectionMode_ == smBox) {
    int first = sel_.firstRow;
    int last = std::min(sel_.lastRow, rows - 1);
    int leftCol = sel_.leftCol;
    if (first > last) {
      CancelSelection();
      return;
    }
    std::string text = BoxRemoved(first, last);
    CancelSelection();
    CaretHidden caretHidden(*this);
    UnderlineHidden underlineHidden(*this);
    store_->ReplaceRows(first, last - first + 1, text);
    SetRow(first);
    SetCol(leftCol);
    return;
  }
  Splice("");
}

// ---------------------------------------------------------------- typing

void TEditor::ReplaceSelText(std::string_view text) {
  if (readOnly_) return;
  if (text.empty()) {
    DeleteSelection();
    return;
  }
  int rows = RowCount();
  if (selState_ == sstSelected && selectionMode_ == smBox && rows > 0) {
    int first = sel_.firstRow;
    int last = std::min(sel_.lastRow, rows - 1);
    if (first <= last) {
      std::string inserted(text);
      int startByte = 0;
      int endByte = 0;
      BoxCoveredBytes(first, startByte, endByte);
      int pad = std::max(0, sel_.leftCol - RowWidth(first));
      std::string replacement = BoxRemoved(first, last, &inserted);
      CancelSelection();
      int baseRow = EditBaseRow(first);
      long long offset = RowColToOffset(baseRow, first, 0) + startByte + pad + Len(text);
      ReplaceAndPlace(first, last - first + 1, replacement, baseRow, offset);
      return;
    }
  }
  Splice(text);
}

void TEditor::ReplaceRange(long long start, long long length, std::string_view text) {
  if (readOnly_) return;
  long long firstStart = 0;
  long long endStart = 0;
  int first = store_->RowAtExtent(start, &firstStart);
  int end = store_->RowAtExtent(start + length, &endStart);
  bool wholeLines = selectionMode_ == smNormal && firstStart == start && endStart == start + length && first < end &&
                    (first == 0 || RowKind(first - 1) != raWrapped) && RowKind(end - 1) == raCrlf &&
                    !text.empty() && text.back() == '\n';
  if (!wholeLines) {
    SetSelStart(start);
    SetSelLength(length);
    ReplaceSelText(text);
    return;
  }
  CancelSelection();
  int baseRow = EditBaseRow(first);
  ReplaceAndPlace(first, end - first, text, baseRow, firstStart - OffsetOfRow(baseRow) + Len(text));
}

void TEditor::Splice(std::string_view text) {
  int rows = RowCount();
  int row;
  int startByte;
  int endRow;
  std::string head;
  std::string tail;
  if (selState_ == sstSelected) {
    TEditorSelection s = sel_;
    CancelSelection();
    row = s.startRow;
    std::string_view startText = RowText(row);
    startByte = std::min(s.startByte, Len(startText));
    head.assign(startText.substr(0, startByte));
    endRow = s.endRow;
    if (endRow >= rows) {
      // The range runs through the final line break: the last row loses it.
      endRow = rows - 1;
    } else {
      std::string_view endText = RowText(endRow);
      tail.assign(endText.substr(std::min(s.endByte + 1, Len(endText))));
      if (RowKind(endRow) == raCrlf) tail += "\r\n";
    }
  } else {
    row = row_;
    endRow = row_;
    std::string_view rowText = RowText(row);
    int byteIndex = ColToByte(row, col_);
    head.assign(rowText.substr(0, std::min(byteIndex, Len(rowText))));
    if (byteIndex > Len(rowText)) head.append(byteIndex - Len(rowText), ' ');
    startByte = Len(head);
    if (byteIndex < Len(rowText)) tail.assign(rowText.substr(byteIndex));
    if (row < rows && RowKind(row) == raCrlf) tail += "\r\n";
  }
  int baseRow = EditBaseRow(row);
  long long offset = RowColToOffset(baseRow, row, 0) + startByte + Len(text);
  std::string joined;
  std::string_view replacement = text;
  if (!head.empty() || !tail.empty()) {
    ReserveLargeText(joined, head.size() + text.size() + tail.size());
    joined.append(head).append(text).append(tail);
    replacement = joined;
  }
  int count = row < rows ? endRow - row + 1 : 0;
  bool multiLine = text.find('\n') != std::string_view::npos || text.find('\r') != std::string_view::npos;
  if (multiLine) HideCaret();
  struct Show {
    TEditor& editor;
    bool on;
    ~Show() {
      if (on) editor.ShowCaret();
    }
  } show{*this, multiLine};
  ReplaceAndPlace(std::min(row, rows), count, replacement, baseRow, offset);
}

void TEditor::InsertText(std::string_view text) {
  if (text.empty() || readOnly_) return;
  if (selState_ == sstSelected || !overWrite_) {
    ReplaceSelText(text);
    return;
  }
  TypeOverwrite(text);
}

void TEditor::TypeOverwrite(std::string_view text) {
  int rows = RowCount();
  std::string_view rowText = RowText(row_);
  int byteIndex = ColToByte(row_, col_);
  if (row_ >= rows || byteIndex >= Len(rowText)) {
    ReplaceSelText(text);
    return;
  }
  // The cells from the caret to caret + width(text) go, row by row through
  // the rest of the line.
  int cells = rules_.TextWidth(text);
  int lastRow = store_->LastRowOfLine(row_);
  std::string rest;
  for (int r = row_; r <= lastRow; ++r) rest.append(RowText(r));
  std::string_view restView(rest);
  size_t pos = byteIndex;
  int col = col_;
  int rowIndex = row_;
  size_t rowEnd = Len(rowText);
  std::string filler;
  while (cells > 0 && pos < restView.size()) {
    while (pos >= rowEnd && rowIndex < lastRow) {
      ++rowIndex;
      rowEnd += RowText(rowIndex).size();
      col = 0;
    }
    unsigned char b = static_cast<unsigned char>(restView[pos]);
    int charBytes = IsLeadByte(b) && pos + 1 < restView.size() ? 2 : 1;
    int charCells = b == '\t' ? 1 + rules_.TabFill(col + 1) : charBytes;
    if (charBytes == 2 && cells == 1) {
      // Only the lead byte's cell is covered: its trail byte becomes a space.
      filler = " ";
      pos += 2;
      cells = 0;
      break;
    }
    pos += charBytes;
    col += charCells;
    cells -= charCells;
  }
  std::string line = rest.substr(0, byteIndex);
  line.append(text);
  line += filler;
  line.append(restView.substr(pos));
  if (RowKind(lastRow) == raCrlf) line += "\r\n";
  int baseRow = EditBaseRow(row_);
  long long offset = RowColToOffset(baseRow, row_, 0) + byteIndex + Len(text);
  // Rows before the caret row in the same line are kept; the rest of the line is replaced.
  ReplaceAndPlace(row_, lastRow - row_ + 1, line, baseRow, offset);
}

void TEditor::TypeReturn() {
  if (readOnly_) return;
  if (selState_ == sstSelected) DeleteSelection();
  int rows = RowCount();
  if (row_ >= rows) {
    CaretHidden caretHidden(*this);
    UnderlineHidden underlineHidden(*this);
    store_->ReplaceRows(rows, 0, "\r\n");
    SetRow(RowCount());
    SetCol(0);
    return;
  }
  if (overWrite_) {
    CaretHidden hidden(*this);
    SetRow(row_ + 1);
    SetCol(0);
    return;
  }
  int indent = 0;
  if (caret_->AutoIndent()) {
    int firstRow = store_->FirstRowOfLine(row_);
    int d = LeadingBlankWidth(RowText(firstRow));
    if (d < 1) {
      if (caret_->PrevSpaceIndent() && row_ == firstRow && RowText(row_).empty()) {
        for (int r = row_ - 1; r >= 0; --r) {
          bool startsLine = r == 0 || RowKind(r - 1) != raWrapped;
          if (startsLine && !RowText(r).empty()) {
            indent = std::max(0, LeadingBlankWidth(RowText(r)));
            break;
          }
        }
      }
    } else {
      indent = (row_ == firstRow && col_ < d) ? col_ : d;
    }
  }
  std::string indentText;
  if (caret_->TabIndent()) {
    int tab = caret_->TabSpaceCount();
    indentText.assign(indent / tab, '\t');
    indentText.append(indent % tab, ' ');
  } else {
    indentText.assign(indent, ' ');
  }
  int byteIndex = std::min(Len(RowText(row_)), ColToByte(row_, col_));
  std::string lineBreak = "\r\n" + indentText;
  ReplaceInRow(row_, byteIndex, byteIndex, lineBreak, byteIndex + Len(lineBreak));
}

void TEditor::TypeTab(bool shift, bool ctrl) {
  if (shift || ctrl || readOnly_ || !wantTabs_) return;
  int tab = caret_->TabSpaceCount();
  int width = tab - col_ % tab;
  if (store_->WordWrap()) {
    int wrap = store_->WrapOption().WrapByte();
    width = std::min(width, wrap - col_ % wrap);
  }
  if (overWrite_ && selState_ != sstSelected) {
    SetCol(col_ + width);
    return;
  }
  if (caret_->SoftTab()) {
    InsertText(std::string(width, ' '));
  } else {
    InsertText("\t");
  }
}

void TEditor::TypeBackspace() {
  if (readOnly_) return;
  if (selState_ == sstSelected) {
    DeleteSelection();
    return;
  }
  int rows = RowCount();
  if (rows == 0) {
    SetCol(col_ - 1);
    return;
  }
  std::string_view text = RowText(row_);
  TRowCells attrs(rules_, text);
  int width = attrs.Width();
  if (col_ > 0) {
    int indent = LeadingBlankWidth(RowDisplayText(row_));
    bool plain = !caret_->BackSpaceUnIndent() || (indent != -1 && indent != width && indent != col_);
    if (!plain) {
      BackspaceUnindent(text);
      return;
    }
    if (col_ > width) {
      SetCol(col_ - 1);
      return;
    }
    int startByte;
    int length;
    int before = col_ - 1;
    if (attrs[before] == kColTrail) {
      startByte = ColToByte(row_, before - 1);
      length = 2;
    } else {
      startByte = ColToByte(row_, before);
      length = 1;
    }
    ReplaceInRow(row_, startByte, startByte + length, "", startByte);
    return;
  }
  if (row_ == 0) return;
  int previous = row_ - 1;
  std::string_view prevText = RowText(previous);
  std::string joined;
  if (RowKind(previous) == raWrapped) {
    // The previous row's last character goes (a tab with its fillers is one).
    int cut = Len(prevText);
    if (cut > 0) {
      int lastStart = 0;
      for (int i = 0; i < cut;) {
        lastStart = i;
        i += IsLeadByte(static_cast<unsigned char>(prevText[i])) && i + 1 < cut ? 2 : 1;
      }
      cut = lastStart;
    }
    joined.assign(prevText.substr(0, cut));
  } else {
    joined.assign(prevText);
  }
  int joinByte = Len(joined);
  int baseRow = EditBaseRow(previous);
  long long offset = RowColToOffset(baseRow, previous, 0) + joinByte;
  if (row_ >= rows) {
    ReplaceAndPlace(previous, 1, joined, baseRow, offset);
    return;
  }
  joined.append(text);
  if (RowKind(row_) == raCrlf) joined += "\r\n";
  ReplaceAndPlace(previous, 2, joined, baseRow, offset);
}

void TEditor::BackspaceUnindent(std::string_view text) {
  TRowCells attrs(rules_, text);
  int width = attrs.Width();
  int firstOfLine = store_->FirstRowOfLine(row_);
  // The nearest row above with a smaller indent gives the target (0 when none does).
  int target = 0;
  for (int r = row_ - 1; r >= 0; --r) {
    int value = std::max(0, LeadingBlankWidth(RowDisplayText(r)));
    bool ownLineContinuation = r > firstOfLine;
    if (value < col_ && (!ownLineContinuation || value != 0)) {
      target = value;
      break;
    }
  }
  if (target >= width) {
    SetCol(target);
    return;
  }
  // Bytes from the target column to the caret go.
  int startCol = target;
  std::string lead;
  if (attrs[startCol] == kColTrail) {
    --startCol;
    lead = " ";
  } else if (attrs[startCol] == kColTabFill) {
    int tabCol = startCol;
    while (tabCol > 0 && attrs[tabCol] == kColTabFill) --tabCol;
    lead.assign(target - tabCol, ' ');
    startCol = tabCol;
  }
  int startByte = ColToByte(row_, startCol);
  int endCol = std::min(col_, width);
  int endByte;
  std::string keep;
  if (endCol < width && attrs[endCol] == kColTabFill) {
    int tabCol = endCol;
    while (tabCol > 0 && attrs[tabCol] == kColTabFill) --tabCol;
    int tabEnd = endCol;
    while (tabEnd < width && attrs[tabEnd] == kColTabFill) ++tabEnd;
    keep.assign(tabEnd - endCol, ' ');
    endByte = ColToByte(row_, tabCol) + 1;
  } else {
    endByte = endCol >= width ? Len(text) : ColToByte(row_, endCol);
  }
  ReplaceInRow(row_, startByte, std::max(endByte, startByte), lead + keep, startByte + Len(lead));
}

void TEditor::TypeDelete() {
  if (readOnly_) return;
  if (selState_ == sstSelected) {
    DeleteSelection();
    return;
  }
  int rows = RowCount();
  if (row_ >= rows) return;
  std::string_view text = RowText(row_);
  int byteIndex = ColToByte(row_, col_);
  int baseRow = EditBaseRow(row_);
  long long caretOffset = RowColToOffset(baseRow, row_, 0);
  if (byteIndex < Len(text)) {
    int length = IsLeadByte(static_cast<unsigned char>(text[byteIndex])) && byteIndex + 1 < Len(text) ? 2 : 1;
    ReplaceInRow(row_, byteIndex, byteIndex + length, "", byteIndex);
    return;
  }
  if (RowKind(row_) == raEof) return;
  std::string padded(text);
  padded.append(byteIndex - Len(text), ' ');
  if (row_ + 1 >= rows) {
    ReplaceAndPlace(row_, 1, padded, baseRow, caretOffset + byteIndex);
    return;
  }
  padded.append(RowText(row_ + 1));
  if (RowKind(row_ + 1) == raCrlf) padded += "\r\n";
  ReplaceAndPlace(row_, 2, padded, baseRow, caretOffset + byteIndex);
}

void TEditor::DeleteRow(int row) {
  if (readOnly_ || row < 0 || row >= RowCount()) return;
  CancelSelection();
  CaretHidden caretHidden(*this);
  UnderlineHidden underlineHidden(*this);
  store_->ReplaceRows(row, 1, "");
  if (row > 0 && RowKind(row - 1) == raEof) {
    SetRow(row - 1);
    SetCol(RowWidth(row - 1));
  } else {
    SetRow(row);
    SetCol(0);
  }
}

void TEditor::Undo() {
  if (readOnly_) return;
  CancelSelection();
  store_->Undo();
}

void TEditor::Redo() {
  if (readOnly_) return;
  CancelSelection();
  store_->Redo();
}

void TEditor::ClearUndo() {
  if (readOnly_) return;
  store_->UndoObj().Clear();
}

void TEditor::InsertReturnString() {
  ReplaceSelText(returnInsertStr_);
  KeyPress('\r');
}

// ---------------------------------------------------------------- mouse

bool TEditor::InSelection(int row, int col) const {
  if (selState_ != sstSelected) return false;
  if (selectionMode_ == smBox) return row >= sel_.firstRow && row <= sel_.lastRow && col >= sel_.leftCol && col < sel_.rightCol;
  if (row < sel_.startRow || row > sel_.endRow) return false;
  int byteIndex = ColToByte(row, col);
  if (row == sel_.startRow && byteIndex < sel_.startByte) return false;
  if (row == sel_.endRow && byteIndex > sel_.endByte) return false;
  // Middle rows, and the start row past its text, are selected to the edge.
  return true;
}

void TEditor::MoveCaretKeepingRange(int row, int col) {
  keepRange_ = true;
  struct Restore {
    bool& flag;
    ~Restore() { flag = false; }
  } restore{keepRange_};
  MoveCaretTo(row, col);
}

TRowCol TEditor::MouseCell(int x, int y, bool nearest) const {
  // Above the text area the row is one more up, so holding the mouse there scrolls.
  TRowCol cell = PosToRowCol(x, y, nearest);
  if (y < metrics_.textTop) cell.row = std::max(0, cell.row - 1);
  return cell;
}

void TEditor::MouseDown(int x, int y, bool shift, bool) {
  if (shift) {
    if (selState_ == sstNone) StartSelection();
    TRowCol cell = PosToRowCol(x, y, true);
    MoveCaretTo(cell.row, cell.col);
    ExtendSelection();
    return;
  }
  pressX_ = x;
  pressY_ = y;
  TRowCol cell = PosToRowCol(x, y, false);
  if (CanSelMove() && x >= metrics_.textLeft && InSelection(cell.row, cell.col)) {
    // The press may start a drag: the caret goes there, the range stays.
    MoveCaretKeepingRange(cell.row, cell.col);
    if (caret_->SelDragMode() == dmAutomatic) dragState_ = dsPending;
    return;
  }
  cell = PosToRowCol(x, y, true);
  if (x < metrics_.textLeft && caret_->RowSelect()) {
    SelectRows(cell.row);
    return;
  }
  CaretHidden hidden(*this);
  CancelSelection();
  MoveCaretTo(cell.row, cell.col);
  StartSelection();
}

TEditorCursorKind TEditor::MouseMove(int x, int y, bool leftDown, bool ctrl) {
  int half = std::max(1, metrics_.charWidth / 2);
  bool movedAway = std::abs(x - pressX_) >= half || std::abs(y - pressY_) >= half;
  if (dragState_ == dsPending) {
    if (movedAway) dragState_ = dsDragging;
    return dragState_ == dsDragging ? (ctrl ? ckDragCopy : ckDrag) : ckInSelection;
  }
  if (dragState_ == dsDragging) {
    TRowCol cell = MouseCell(x, y, false);
    MoveCaretKeepingRange(cell.row, cell.col);
    return ctrl ? ckDragCopy : ckDrag;
  }
  if (leftDown) {
    TRowCol cell = MouseCell(x, y, true);
    if (rowSelectFirst_ >= 0) {
      ExtendRowSelection(cell.row);
      return ckLeftMargin;
    }
    MoveCaretTo(cell.row, cell.col);
    if (selState_ == sstAnchored && movedAway) ExtendSelection();
    return ckDefault;
  }
  if (x < metrics_.textLeft) return ckLeftMargin;
  TRowCol cell = PosToRowCol(x, y, false);
  if (CanSelMove() && InSelection(cell.row, cell.col)) return ckInSelection;
  return ckDefault;
}

void TEditor::MouseUp(int x, int y, bool ctrl) {
  if (dragState_ == dsDragging) {
    dragState_ = dsNone;
    if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) {
      // Dropped outside the control: nothing moves.
      CancelSelection();
      EndRowSelection();
      return;
    }
    TRowCol cell = MouseCell(x, y, false);
    if (ctrl) {
      CopySelectionTo(cell.row, cell.col);
    } else {
      MoveSelectionTo(cell.row, cell.col);
    }
  } else if (dragState_ == dsPending) {
    // A press inside the selection without a move: the selection goes, the caret stays.
    dragState_ = dsNone;
    CancelSelection();
  }
  EndRowSelection();
}

void TEditor::CancelDrag() {
  if (dragState_ == dsNone) return;
  dragState_ = dsNone;
  CancelSelection();
}

// ---------------------------------------------------------------- keyboard

bool TEditor::KeyDown(TEditorKey key, bool shift, bool ctrl, bool autoRepeat) {
  autoRepeat_ = autoRepeat;
  if (key == vkDelete) {
    if (!readOnly_) TypeDelete();
    return true;
  }
  if (shift && selState_ == sstNone) StartSelection();
  if (!shift && selState_ != sstNone) CancelSelection();
  int visibleRows = std::max(1, metrics_.visibleRows);
  int step = 1;
  if (autoRepeat && ((key == vkUp && row_ == topRow_) || (key == vkDown && row_ == topRow_ + visibleRows - 1))) {
    step = 2;
  }
  {
    CaretHidden hidden(*this);
    switch (key) {
      case vkPrior:
        ScrollPage(1 - visibleRows);
        break;
      case vkNext:
        ScrollPage(visibleRows - 1);
        break;
      case vkHome:
        if (ctrl) SetRow(0);
        SetCol(0);
        break;
      case vkEnd:
        if (ctrl) SetRow(RowCount());
        SetCol(row_ >= RowCount() ? 0 : RowWidth(row_));
        break;
      case vkLeft:
        if (ctrl) {
          MoveWordLeft();
        } else if (col_ > 0) {
          SetCol(col_ - 1);
        } else if (row_ > 0 && (caret_->NextLine() || RowKind(row_ - 1) == raWrapped)) {
          SetRow(row_ - 1);
          SetCol(RowWidth(row_));
        }
        break;
      case vkRight: {
        if (ctrl) {
          MoveWordRight();
          break;
        }
        int before = col_;
        SetCol(col_ + 1);
        if (col_ == before && row_ < RowCount() && RowKind(row_) != raEof &&
            (caret_->NextLine() || RowKind(row_) == raWrapped)) {
          SetRow(row_ + 1);
          SetCol(0);
        }
        break;
      }
      case vkUp:
        if (ctrl) {
          SetTopRow(topRow_ - step);
          if (row_ >= topRow_ + visibleRows) SetRow(row_ - step);
        } else if (row_ > 0) {
          SetRow(row_ - step);
        }
        break;
      case vkDown:
        if (ctrl) {
          SetTopRow(topRow_ + step);
          if (row_ < topRow_) SetRow(row_ + step);
        } else if (RowKind(row_) != raEof) {
          SetRow(row_ + step);
        }
        break;
      case vkDelete:
        break;
    }
  }
  if (shift) ExtendSelection();
  return true;
}

void TEditor::KeyPress(unsigned char ch, bool shift, bool ctrl) {
  if (ch == '\r' && OnKeyPress) {
    ch = static_cast<unsigned char>(OnKeyPress(*this, static_cast<char>(ch)));
    if (ch == 0) return;
  }
  switch (ch) {
    case 0x08:
      TypeBackspace();
      return;
    case 0x09:
      TypeTab(shift, ctrl);
      return;
    case 0x0D:
      if (wantReturns_) TypeReturn();
      return;
    default:
      break;
  }
  if ((ch >= 0x20 && ch <= 0x7E) || (ch >= 0xA1 && ch <= 0xDF)) {
    autoRepeat_ = false;
    if (!readOnly_) InsertText(std::string_view(reinterpret_cast<const char*>(&ch), 1));
  }
}

}  // namespace kerv
