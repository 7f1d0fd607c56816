#include "editor/TEditorScreenStrings.h"

#include <algorithm>
#include <optional>

#include "editor/TEditorBracketScanner.h"
#include "editor/TEditorViewInfo.h"

namespace kerv {
namespace {

// Ends an update batch on every way out of a scope.
class UpdateBatch {
 public:
  explicit UpdateBatch(TEditorScreenStrings& store) : store_(store) { store_.BeginUpdate(); }
  ~UpdateBatch() { store_.EndUpdate(); }
  UpdateBatch(const UpdateBatch&) = delete;
  UpdateBatch& operator=(const UpdateBatch&) = delete;

 private:
  TEditorScreenStrings& store_;
};

void AppendRows(const TEditorStringList& rows, int first, int last, std::string& out) {
  for (int row = first; row <= last; ++row) {
    out += rows.Get(row);
    if (rows.RowAttribute(row) == raCrlf) out += "\r\n";
  }
}

}  // namespace

TEditorScreenStrings::TEditorScreenStrings() {
  undo_ = CreateUndoObj();
  wrapOption_ = CreateWrapOption();
  wrapOption_->SetOnChange([this](TNotifyPersistent*) { WrapOptionChanged(); });
}

TEditorScreenStrings::~TEditorScreenStrings() {
  // The options outlive nothing that could call back into a half-destroyed store.
  wrapOption_->SetOnChange(nullptr);
}

std::unique_ptr<TEditorUndoObj> TEditorScreenStrings::CreateUndoObj() { return std::make_unique<TEditorUndoObj>(*this); }

std::unique_ptr<TEditorWrapOption> TEditorScreenStrings::CreateWrapOption() { return std::make_unique<TEditorWrapOption>(); }

void TEditorScreenStrings::RegisterView(TEditorView* view) {
  if (std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
  cutterStale_ = true;
}

bool TEditorScreenStrings::UnregisterView(TEditorView* view) {
  views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
  cutterStale_ = true;
  return views_.empty();
}

TEditorView* TEditorScreenStrings::ActiveEditor() const {
  for (TEditorView* view : views_) {
    if (view->Focused()) return view;
  }
  return Owner();
}

// ---------------------------------------------------------------- wrapping

const TEditorLineCutter& TEditorScreenStrings::Cutter() {
  TEditorColumnRules rules;
  if (TEditorView* owner = Owner()) rules = owner->ColumnRules();
  if (!cutter_ || cutterStale_ || rules.TabWidth() != cutterRules_.TabWidth() ||
      rules.Delimiters() != cutterRules_.Delimiters()) {
    cutterRules_ = rules;
    cutter_ = std::make_unique<TEditorLineCutter>(*wrapOption_, cutterRules_);
    cutterStale_ = false;
  }
  return *cutter_;
}

void TEditorScreenStrings::StrToWrapList(std::string_view text, TEditorStringList& rows) {
  Cutter().StrToWrapList(text, rows, wordWrap_);
}

int TEditorScreenStrings::WrapCount(std::string_view line) { return Cutter().WrapCount(line, wordWrap_); }

int TEditorScreenStrings::FirstRowOfLine(int row) const {
  while (row > 0 && RowAttribute(row - 1) == raWrapped) --row;
  return row;
}

int TEditorScreenStrings::LastRowOfLine(int row) const {
  if (row < 0) return row;
  int last = Count() - 1;
  while (row < last && RowAttribute(row) == raWrapped) ++row;
  return row;
}

int TEditorScreenStrings::LineCount() const {
  if (!wordWrap_) return Count();
  return LineEndCount() + (Count() > 0 && RowAttribute(Count() - 1) == raWrapped ? 1 : 0);
}

int TEditorScreenStrings::LineToRow(int line) const {
  if (!wordWrap_) return line;
  if (line <= 0) return 0;
  if (line >= LineCount()) return Count();
  return NthLineEnd(line - 1) + 1;
}

int TEditorScreenStrings::RowToLine(int row) const {
  if (!wordWrap_) return row;
  return LineEndsBefore(row);
}

template <typename OnLine>
void TEditorScreenStrings::ForEachStoredLine(OnLine onLine) const {
  std::string joined;
  const int rows = Count();
  for (int row = 0; row < rows;) {
    int last = LastRowOfLine(row);
    if (last == row) {
      onLine(Get(row));
    } else {
      joined.clear();
      for (int r = row; r <= last; ++r) joined += Get(r);
      onLine(std::string_view(joined));
    }
    row = last + 1;
  }
}

template <typename Change>
void TEditorScreenStrings::ChangeAllRows(Change change) {
  for (TEditorView* view : views_) view->CleanSelection();
  ConnectChangeEvent(false);
  UpdateBatch batch(*this);
  struct Reconnect {
    TEditorScreenStrings& store;
    ~Reconnect() { store.ConnectChangeEvent(true); }
  } reconnect{*this};
  change();
  ++bulkStamp_;
  bracketValidEnd_ = 0;
  wrapFrom_ = kNoWrapPending;
}

void TEditorScreenStrings::RebuildRows() {
  ChangeAllRows([this] {
    TRowAttribute lastKind = RowAttribute(Count() - 1);
    // The new rows go into one list, their bytes into one block, before they
    // replace the old rows in one step.
    TEditorStringList rebuilt;
    rebuilt.BeginFill(TotalBytes());
    TWrapRowSink sink(rebuilt);
    const TEditorLineCutter& cutter = Cutter();
    ForEachStoredLine([&](std::string_view line) { cutter.CutLine(line, sink); });
    sink.Finish(lastKind);
    rebuilt.EndFill();
    Exchange(rebuilt);
  });
}

void TEditorScreenStrings::WrapLines() {
  if (Empty() || (Owner() && Owner()->IsLoading())) return;
  RebuildRows();
}

void TEditorScreenStrings::UnWrapLines() {
  if (Empty()) return;
  JoinCutLines();
}

void TEditorScreenStrings::JoinCutLines() {
  // A line's pieces lie side by side where they were loaded: joined, they
  // are one row over the same bytes again, with no copy of the text.
  ChangeAllRows([this] { JoinWrappedRows(); });
}

void TEditorScreenStrings::ResetAfterRewrap() {
  // Each view's caret keeps its character: rows move, offsets in the text do not.
  std::vector<long long> carets;
  for (TEditorView* view : views_) carets.push_back(view->CaretOffset());
  // So does each view's top row, so the view shows the same text.
  struct Held {
    std::vector<TEditorView*>& views;
    bool restored = false;
    explicit Held(std::vector<TEditorView*>& held) : views(held) {
      for (TEditorView* view : views) view->HoldPlaces(0);
    }
    void Restore() {
      if (restored) return;
      restored = true;
      for (TEditorView* view : views) view->RestorePlaces();
    }
    ~Held() { Restore(); }
  } held(views_);
  // Row positions in the undo records belong to the old wrapping.
  undo_->Clear();
  if (wordWrap_) {
    WrapWholeLines();
  } else {
    UnWrapLines();
  }
  InitBrackets();
  held.Restore();
  for (size_t i = 0; i < views_.size(); ++i) {
    TEditorView* view = views_[i];
    view->Refresh();
    view->ClampToStore();
    if (i < carets.size() && carets[i] >= 0) {
      view->RestoreCaretOffset(carets[i]);
    } else {
      view->SetCaretCol(0);
    }
  }
}

void TEditorScreenStrings::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  if (Owner() && Owner()->IsLoading()) return;
  ResetAfterRewrap();
}

void TEditorScreenStrings::WrapOptionChanged() {
  cutterStale_ = true;
  if (!wordWrap_ || (Owner() && Owner()->IsLoading())) return;
  ResetAfterRewrap();
}

// ---------------------------------------------------------------- ranges

TRowRangeText TEditorScreenStrings::GetRowRangeText(int row, int count) const {
  TRowRangeText range;
  if (row < 0 || row >= Count()) return range;
  int last = count < 0 ? LastRowOfLine(row) : std::min(Count() - 1, row + count - 1);
  if (last < row) return range;
  range.text = GetRangeText(row, last - row + 1);
  range.rowCount = last - row + 1;
  range.lastKind = RowAttribute(last);
  return range;
}

void TEditorScreenStrings::DeleteRows(int row, int count) {
  if (count <= 0) return;
  DeleteRange(row, count);
  if (bracketValidEnd_ > row) bracketValidEnd_ = std::max(row, bracketValidEnd_ - count);
  if (wrapFrom_ != kNoWrapPending && wrapFrom_ > row) wrapFrom_ = std::max(row, wrapFrom_ - count);
}

void TEditorScreenStrings::InsertRowList(int row, const TEditorStringList& rows) {
  if (rows.Empty()) return;
  InsertRange(row, rows, 0, rows.Count());
  if (bracketValidEnd_ > row) bracketValidEnd_ += rows.Count();
  // Inserted rows are cut: at the pending point they go before it.
  if (wrapFrom_ != kNoWrapPending && wrapFrom_ >= row) wrapFrom_ += rows.Count();
}

void TEditorScreenStrings::InsertRowList(int row, TEditorStringList&& rows) {
  int count = rows.Count();
  if (count == 0) return;
  MoveIn(row, rows);
  if (bracketValidEnd_ > row) bracketValidEnd_ += count;
  if (wrapFrom_ != kNoWrapPending && wrapFrom_ >= row) wrapFrom_ += count;
}

// ---------------------------------------------------------------- wrapping in steps

int TEditorScreenStrings::CutUncut(int first, int end) {
  first = std::max(first, 0);
  end = std::min(end, Count());
  if (!wordWrap_ || first >= end) return 0;
  const TEditorLineCutter& cutter = Cutter();
  // Rows whose bracket states are known keep them: a cut line's first row
  // has the line's state, its further rows get theirs from a scan of the
  // line alone, and the rows below keep theirs, since a line ends in the
  // same state however it is cut (checked on the row after it).
  const int validEnd = std::min(bracketValidEnd_, Count());
  const TEditorViewInfo* viewInfo = Owner() ? Owner()->ViewInfo() : nullptr;
  const bool pairs = viewInfo != nullptr && viewInfo->Brackets().Count() > 0;
  std::vector<int> below;  // the known state of each row after first..end-1
  if (pairs && first + 1 < std::min(end + 1, validEnd)) {
    ForEachRow(first + 1, std::min(end + 1, validEnd) - first - 1,
               [&below](std::string_view, uint32_t value) { below.push_back(rowrecord::Bracket(value)); });
  }
  std::optional<TEditorBracketScanner> scanner;
  if (pairs && first < validEnd) scanner.emplace(Owner()->ParserClass(), viewInfo);
  for (TEditorView* view : views_) view->HoldPlaces(first);
  TRowAttribute above = first > 0 ? RowAttribute(first - 1) : raCrlf;
  int row = first;          // the row being looked at, as it was numbered
  int added = 0;
  int addedAboveValid = 0;  // rows added among the rows with known states
  int wrongFrom = -1;       // the first row (numbered as now) whose known state no longer holds
  std::vector<std::string_view> texts;
  try {
    added = SplitRows(first, end - first, [&](std::string_view text, uint32_t value, std::vector<TRowPiece>& pieces) {
      const int here = row++;
      const TRowAttribute kind = rowrecord::Kind(value);
      // A row after a raWrapped one, or raWrapped itself, belongs to a line already cut.
      const bool whole = above != raWrapped && kind != raWrapped;
      above = kind;
      if (!whole) return;
      texts.clear();
      cutter.CutLine(text, [&](std::string_view piece, int pieceKind) {
        if (pieceKind == TEditorLineCutter::kLastRowEndsLine) return;
        pieces.push_back({static_cast<uint32_t>(piece.size()),
                          rowrecord::WithBracket(static_cast<uint32_t>(pieceKind), kBracketNotComputed)});
        texts.push_back(piece);
      });
      if (pieces.size() < 2) return;
      // The line keeps its end (raCrlf or raEof) on its last row and its state on its first.
      pieces.back().value = rowrecord::WithKind(pieces.back().value, kind);
      const int extra = static_cast<int>(pieces.size()) - 1;
      if (here < validEnd) {
        int state = rowrecord::Bracket(value);
        for (size_t k = 0; k < pieces.size(); ++k) {
          pieces[k].value = rowrecord::WithBracket(pieces[k].value, state);
          if (!scanner) continue;
          const std::string_view* next = k + 1 < texts.size() ? &texts[k + 1] : nullptr;
          state = scanner->ScanRow(texts[k], state, next);
        }
        const size_t after = static_cast<size_t>(here - first);
        if (scanner && after < below.size() && below[after] != state && wrongFrom < 0) {
          wrongFrom = here + 1 + added + extra;
        }
        addedAboveValid += extra;
      }
      added += extra;
    });
  } catch (...) {
    for (TEditorView* view : views_) view->RestorePlaces();
    throw;
  }
  if (added > 0) {
    ++splitStamp_;
    if (bracketValidEnd_ > first) bracketValidEnd_ = validEnd + addedAboveValid;
    if (wrongFrom >= 0 && bracketValidEnd_ > wrongFrom) bracketValidEnd_ = wrongFrom;
  }
  for (TEditorView* view : views_) view->RestorePlaces();
  if (added == 0) return 0;
  if (updateCount_ > 0) {
    // Inside an edit the edit's own record is what the views hear of.
    for (TEditorView* view : views_) view->Refresh();
    return added;
  }
  UpdateBatch batch(*this);
  change_ = {first, end - first, end - first + added, 0, false};
  return added;
}

int TEditorScreenStrings::FillWrap(int budgetRows) {
  if (!WrapPending() || budgetRows <= 0) return 0;
  const int first = wrapFrom_;
  const int end = std::min(Count(), first + budgetRows);
  const int added = CutUncut(first, end);
  wrapFrom_ = end + added;
  if (wrapFrom_ >= Count()) wrapFrom_ = kNoWrapPending;
  return end - first;
}

void TEditorScreenStrings::CutShownRows(int first, int count) {
  if (!WrapPending()) return;
  first = std::max(first, wrapFrom_);
  const int end = std::min(Count(), first + count);
  if (first >= end) return;
  const int added = CutUncut(first, end);
  if (first == wrapFrom_) {
    wrapFrom_ = end + added;
    if (wrapFrom_ >= Count()) wrapFrom_ = kNoWrapPending;
  }
}

void TEditorScreenStrings::CutNear(int first, int last) {
  if (!WrapPending()) return;
  // Rows above the pending point are cut already.
  const int from = std::max(first - 1, wrapFrom_);
  const int end = std::min(Count(), std::max(last, first) + 2);
  if (from >= end) return;
  const int added = CutUncut(from, end);
  if (from == wrapFrom_) {
    wrapFrom_ = end + added;
    if (wrapFrom_ >= Count()) wrapFrom_ = kNoWrapPending;
  }
}

int TEditorScreenStrings::RowStartingAt(long long extent) const {
  const int rows = Count();
  if (extent >= TotalExtent()) {
    // An empty last row without a line break starts at the very end.
    return rows > 0 && RowAttribute(rows - 1) == raEof && Get(rows - 1).empty() ? rows - 1 : rows;
  }
  return RowAtExtent(extent);
}

void TEditorScreenStrings::WrapWholeLines() {
  // A big text is cut in steps where it lies, its lines first joined again
  // when some were cut before (with other options); a small one at once.
  if (Count() > 0 && static_cast<size_t>(TotalExtent()) >= stepWrapBytes_ && !(Owner() && Owner()->IsLoading())) {
    if (LineEndCount() != Count()) JoinCutLines();
    StartStepWrap();
  } else {
    WrapLines();
  }
}

void TEditorScreenStrings::StartStepWrap() {
  wrapFrom_ = 0;
  // The first screens are cut now; the rest waits for idle time, or for a
  // view to show it.
  FillWrap(3 * ScreenRows() + 1);
}

// ---------------------------------------------------------------- the edit primitive

void TEditorScreenStrings::ReplaceRows(int row, int count, std::string_view text) {
  if (row < 0 || count < 0 || row + count - 1 > Count() - 1 || (count == 0 && text.empty())) return;
  // Rows still waiting for their cut need none here: the text put in their
  // place is cut, and a line is cut again whole when it is changed.
  UpdateBatch batch(*this);

  // A change at the start of a row can let the row before it take more text.
  int start = (row > 0 && RowAttribute(row - 1) == raWrapped) ? row - 1 : row;
  int last = row + count - 1;
  int lineEnd = LastRowOfLine(last);

  if (start == row && lineEnd == last && text.empty() && count > 0) {
    // Whole lines go: nothing needs cutting again.
    TRowRangeText old = GetRowRangeText(row, count);
    TUndoData& record = undo_->NewUndoRecord();
    record.row = row;
    record.extent = ExtentBefore(row);
    record.text = std::move(old.text);
    record.kind = old.lastKind;
    record.rowCount = 0;
    DeleteRows(row, count);
    change_ = {row, count, 0, UpdateBrackets(row, true), true};
    return;
  }

  TRowAttribute lastKind;
  if (last < lineEnd) {
    lastKind = RowAttribute(lineEnd);
  } else if (lineEnd < Count() - 1 && !text.empty() && text.back() == '\n') {
    // Text that ends its own line leaves the next line as it is.
    lastKind = raCrlf;
  } else if (lineEnd < Count() - 1) {
    // The next line is cut again with the change, since text may join it.
    lineEnd = LastRowOfLine(lineEnd + 1);
    lastKind = RowAttribute(lineEnd);
  } else {
    lastKind = (!text.empty() && text.back() == '\n') ? raCrlf : raEof;
  }

  int oldCount = lineEnd - start + 1;
  TRowRangeText old = GetRowRangeText(start, oldCount);
  TUndoData& record = undo_->NewUndoRecord();
  record.row = start;
  record.extent = ExtentBefore(start);
  record.text = std::move(old.text);
  record.kind = old.lastKind;

  // The text is cut again together with the rest of its first and last line.
  std::string joined;
  std::string_view whole = text;
  if (start < row || last < lineEnd) {
    ReserveLargeText(joined, text.size() + static_cast<size_t>(ExtentBefore(row) - ExtentBefore(start)) +
                                 static_cast<size_t>(ExtentBefore(lineEnd + 1) - ExtentBefore(last + 1)));
    AppendRows(*this, start, row - 1, joined);
    joined += text;
    AppendRows(*this, last + 1, lineEnd, joined);
    whole = joined;
  }

  TEditorStringList rows;
  CutRows(whole, lastKind, rows);
  int newCount = rows.Count();
  record.rowCount = newCount;

  DeleteRows(start, oldCount);
  InsertRowList(start, std::move(rows));
  change_ = {start, oldCount, newCount, UpdateBrackets(start, true), true};
}

void TEditorScreenStrings::CutRows(std::string_view text, TRowAttribute lastKind, TEditorStringList& rows) {
  StrToWrapList(text, rows);
  // The split drops the empty line after a final line break. When that line
  // is the document's last (raEof) it is text all the same and needs its row.
  if (lastKind != raCrlf && !text.empty() && (text.back() == '\n' || text.back() == '\r')) rows.Add(std::string_view());
  // Rows that end inside a line: an empty row after a full last piece is not theirs.
  if (lastKind == raWrapped && rows.Count() > 1 && rows.Get(rows.Count() - 1).empty()) rows.Delete(rows.Count() - 1);
  rows.SetRowAttribute(rows.Count() - 1, lastKind);
}

// ---------------------------------------------------------------- brackets

int TEditorScreenStrings::BracketState(int row) const {
  if (row < 0 || row >= Count() || row >= bracketValidEnd_) return kBracketNotComputed;
  return RowBracket(row);
}

int TEditorScreenStrings::ScreenRows() const {
  TEditorView* active = ActiveEditor();
  return active ? std::max(1, active->ScreenRows()) : 1;
}

TEditorBracketScanner TEditorScreenStrings::MakeBracketScanner() const {
  TEditorView* owner = Owner();
  return TEditorBracketScanner(owner ? owner->ParserClass() : &TEditorParser::Create,
                               owner ? owner->ViewInfo() : nullptr);
}

int TEditorScreenStrings::ScanRow(TEditorBracketScanner& scanner, int row, int state) {
  if (wordWrap_ && RowAttribute(row) == raWrapped && row + 1 < Count()) {
    std::string_view next = Get(row + 1);
    return scanner.ScanRow(Get(row), state, &next);
  }
  return scanner.ScanRow(Get(row), state, nullptr);
}

bool TEditorScreenStrings::WalkBrackets(TEditorBracketScanner& scanner, int first, int end, int state,
                                        int& rewritten) {
  const int validEnd = bracketValidEnd_;
  int row = first;
  std::string_view above;       // the text of the row before row
  bool aboveContinues = false;  // whether that row's line goes on in row
  bool met = false;
  // A row's end state needs the row after it when the wrap continues the
  // line there, so each row's state is found when the walk reaches it.
  ForEachRowValueWhile(first, end - first, [&](std::string_view text, uint32_t& value) {
    if (row > first) state = scanner.ScanRow(above, state, aboveContinues ? &text : nullptr);
    if (row < validEnd && rowrecord::Bracket(value) == state) {
      met = true;
      return false;
    }
    value = rowrecord::WithBracket(value, state);
    above = text;
    aboveContinues = wordWrap_ && rowrecord::Kind(value) == raWrapped;
    ++row;
    ++rewritten;
    return true;
  });
  if (row > bracketValidEnd_) bracketValidEnd_ = row;
  return met;
}

void TEditorScreenStrings::InitBrackets() {
  if (Owner() && Owner()->IsLoading()) return;
  const TEditorViewInfo* viewInfo = Owner() ? Owner()->ViewInfo() : nullptr;
  if (viewInfo == nullptr || viewInfo->Brackets().Count() == 0) {
    ForEachRowValueWhile(0, Count(), [](std::string_view, uint32_t& value) {
      value = rowrecord::WithBracket(value, kBracketNone);
      return true;
    });
    bracketValidEnd_ = Count();
    return;
  }
  bracketValidEnd_ = 0;
  if (Empty()) return;
  TEditorView* active = ActiveEditor();
  int top = active ? active->TopRow() : 0;
  int end = std::min(Count() - 1, top + 2 * ScreenRows());
  TEditorBracketScanner scanner = MakeBracketScanner();
  int rewritten = 0;
  WalkBrackets(scanner, 0, end + 1, kBracketNone, rewritten);
}

int TEditorScreenStrings::UpdateBrackets(int row, bool notify) {
  if (row < 0 || row >= Count()) return 0;
  TEditorBracketScanner scanner = MakeBracketScanner();
  int known = std::min(row, bracketValidEnd_) - 1;
  while (known >= 0 && BracketState(known) == kBracketNotComputed) --known;
  int current = known + 1;
  int state = known >= 0 ? ScanRow(scanner, known, BracketState(known)) : kBracketNone;
  int end = std::min(row + 2 * ScreenRows(), Count() - 1);
  int rewritten = 0;
  bool met = WalkBrackets(scanner, current, end + 1, state, rewritten);
  if (notify) {
    for (int r = current; r < current + rewritten; ++r) {
      for (TEditorView* view : views_) view->RepaintRow(r);
    }
  }
  if (!met) bracketValidEnd_ = end + 1;
  return rewritten;
}

bool TEditorScreenStrings::BracketsPending() const {
  return bracketValidEnd_ < Count() && !(Owner() && Owner()->IsLoading());
}

int TEditorScreenStrings::FillBrackets(int budgetRows) {
  if (!BracketsPending() || budgetRows <= 0) return 0;
  TEditorBracketScanner scanner = MakeBracketScanner();
  int first = bracketValidEnd_;
  int state = first > 0 ? ScanRow(scanner, first - 1, BracketState(first - 1)) : kBracketNone;
  int rewritten = 0;
  WalkBrackets(scanner, first, first + std::min(budgetRows, Count() - first), state, rewritten);
  return rewritten;
}

// ---------------------------------------------------------------- batches and notification

void TEditorScreenStrings::NotifyViews() {
  if (!changeEventConnected_) return;
  for (TEditorView* view : views_) view->RowsChanged();
}

void TEditorScreenStrings::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ > 0) return;
  NotifyViews();
  change_ = TEditorChangeRecord();
  for (TEditorView* view : views_) view->ClampToStore();
}

void TEditorScreenStrings::Clear() {
  for (TEditorView* view : views_) view->CleanSelection();
  undo_->Clear();
  change_ = {0, Count(), 0, 0, true};
  TPointerStringList::Clear();
  ++bulkStamp_;
  bracketValidEnd_ = 0;
  wrapFrom_ = kNoWrapPending;
  change_ = TEditorChangeRecord();
  for (TEditorView* view : views_) {
    view->SetCaretRow(0);
    view->SetCaretCol(0);
  }
}

bool TEditorScreenStrings::LoadText(std::string&& text) {
  TEditorStringList rows;
  rows.SetAdoptProgress(AdoptProgress());
  TWrapRowSink sink(rows, true);
  // While the window is still being built the rows are wrapped later, as
  // for any other load; a big text is wrapped in steps.
  const bool loading = Owner() && Owner()->IsLoading();
  const bool stepwise = wordWrap_ && !loading && text.size() >= stepWrapBytes_;
  bool made;
  if (wordWrap_ && !loading && !stepwise) {
    const TEditorLineCutter& cutter = Cutter();
    made = rows.AdoptText(std::move(text), [&](std::string_view line) { cutter.CutLine(line, sink); });
  } else {
    made = rows.AdoptText(std::move(text), [&](std::string_view line) { sink(line, raCrlf); });
  }
  if (!made) return false;
  Clear();
  Exchange(rows);
  ++bulkStamp_;
  if (stepwise) StartStepWrap();
  InitBrackets();
  return true;
}

void TEditorScreenStrings::TextReplaced() {
  if (wordWrap_ && !(Owner() && Owner()->IsLoading())) WrapWholeLines();
  ++bulkStamp_;
  InitBrackets();
}

void TEditorScreenStrings::RefreshViews() {
  for (TEditorView* view : views_) {
    view->ClampToStore();
    view->Refresh();
  }
}

}  // namespace kerv
