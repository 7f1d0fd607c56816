#include "editor/TEditorPaintPlan.h"

#include <algorithm>
#include <climits>

#include "editor/TEditor.h"
#include "regex/ERegExpParser.h"
#include "regex/TRegularExpression.h"
#include "search/SearchBuffer.h"

namespace kerv {
namespace {

constexpr int kLongestRegexHit = 3999;
// A row up to this many columns is planned whole; a longer one only around
// the columns in view, so a row of many megabytes paints as fast as a short one.
constexpr int kWholeRowCols = 16384;
// Columns planned on each side of the view, and the bytes before the planned
// part that the token scanner and the emphasis read for their context.
constexpr int kWindowMargin = 256;
constexpr int kContextBytes = 4096;

int Length(std::string_view text) { return static_cast<int>(text.size()); }

// Whether byte i of a Shift_JIS text is the second byte of a character.
bool TrailAt(std::string_view text, int i) {
  if (i <= 0 || i >= Length(text)) return false;
  int j = i - 1;
  while (j >= 0 && IsLeadByte(static_cast<unsigned char>(text[j]))) --j;
  return (i - 1 - j) % 2 == 1;
}
// A cut at i moved back (or on) to a character boundary.
int StartOfCharAt(std::string_view text, int i) { return TrailAt(text, i) ? i - 1 : i; }
int EndOfCharAt(std::string_view text, int i) { return TrailAt(text, i) ? i + 1 : i; }

TCellStyle StyleOf(const TEditorColor& entry) { return {entry.Color(), entry.BkColor(), entry.Style()}; }

bool EntryForKind(const TEditorColors& colors, int kind, TCellStyle& style) {
  const TEditorColor* entry = nullptr;
  switch (kind) {
    case 1: entry = &colors.Item(ceReserve); break;
    case 2: entry = &colors.Item(ceStress2); break;
    case 3: entry = &colors.Item(ceStress3); break;
    case 4: entry = &colors.Item(ceStress4); break;
    case 5: entry = &colors.Item(ceStress5); break;
    case 8: entry = &colors.Item(ceStress6); break;
    case 9: entry = &colors.Item(ceStress7); break;
    case 10: entry = &colors.Item(ceStress8); break;
    case 11: entry = &colors.Item(ceStress9); break;
    case 12: entry = &colors.Item(ceStress10); break;
    case ekFindString: entry = &colors.Item(ceFindStr); break;
    case ekTmpWord: entry = &colors.Item(ceStressTmp); break;
    default: return false;
  }
  style = StyleOf(*entry);
  return true;
}

void Mark(std::vector<unsigned char>& kinds, int start, int length, unsigned char kind) {
  int end = std::min(static_cast<int>(kinds.size()), start + length);
  for (int i = std::max(0, start); i < end; ++i) kinds[i] = kind;
}

}  // namespace

const char* const kRulerDigitRows[10][7] = {
    {".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."},
    {".#..", "##..", ".#..", ".#..", ".#..", ".#..", ".#.."},
    {".##.", "#..#", "...#", "..#.", ".#..", "#...", "####"},
    {".##.", "#..#", "...#", "..#.", "...#", "#..#", ".##."},
    {"..#.", ".##.", ".##.", "#.#.", "####", "..#.", "..#."},
    {"####", "#...", "###.", "#..#", "...#", "#..#", ".##."},
    {".##.", "#..#", "#...", "###.", "#..#", "#..#", ".##."},
    {"####", "...#", "..#.", "..#.", ".#..", ".#..", ".#.."},
    {".##.", "#..#", "#..#", ".##.", "#..#", "#..#", ".##."},
    {".##.", "#..#", "#..#", ".###", "...#", "#..#", ".##."},
};

int ReserveWordEmphasisKind(int options) {
  int level = WordLevel(options);
  return level <= 5 ? level : level + 2;
}

int ReserveWordSearchFlags(int options) {
  int flags = SearchFlag::Down;
  if (options & WordOption::RegExp) {
    flags |= SearchFlag::RegExp;
    if (options & WordOption::Fuzzy) flags |= SearchFlag::RegFuzzy;
    return flags;
  }
  if (options & WordOption::MatchCase) flags |= SearchFlag::MatchCase;
  if (options & WordOption::WholeWord) flags |= SearchFlag::WholeWord;
  return flags;
}

TEditorPaintPlanner::TEditorPaintPlanner(TEditor& editor) : editor_(editor) {}

TEditorPaintPlanner::~TEditorPaintPlanner() = default;

TAWKStr& TEditorPaintPlanner::Regex(const std::string& pattern, bool fuzzy) {
  std::string key = (fuzzy ? "f" : "p") + pattern;
  auto found = regexes_.find(key);
  if (found != regexes_.end()) return *found->second;
  // Each screen asks for the same few words: they are compiled once, not per row.
  if (regexes_.size() >= kRegexCacheSize) regexes_.clear();
  auto regex = std::make_unique<TAWKStr>();
  regex->SetUseFuzzyCharDic(fuzzy);
  regex->SetRegExp(pattern);  // throws ERegExpParser before the word is kept
  return *regexes_.emplace(std::move(key), std::move(regex)).first->second;
}

std::vector<unsigned char> TEditorPaintPlanner::EmphasisOf(std::string_view text, bool lineStart, bool continues) {
  std::vector<unsigned char> kinds(text.size(), ekNone);
  if (kinds.empty()) return kinds;
  std::string spaced(text);
  spaced += ' ';
  auto plainHits = [&](const std::string& word, int flags, unsigned char kind) {
    TSearchPosition position{0, 0};
    while (position.start < static_cast<int>(text.size()) &&
           SearchBuffer(spaced, position, word, static_cast<SearchFlags>(flags))) {
      Mark(kinds, position.start, position.length, kind);
      if (position.length <= 0) break;
      position.start += position.length;
      position.length = 0;
    }
  };
  auto regexHits = [&](const std::string& word, bool fuzzy, unsigned char kind) {
    TAWKStr& regex = Regex(word, fuzzy);
    size_t from = 0;
    while (from < text.size()) {
      int start = 0;
      int length = 0;
      // As the search does: "^" holds only where a line really starts, and a
      // text that goes on past its end has no "$" there.
      TREMatchContext context{from == 0 && lineStart, continues};
      if (regex.Match(text.substr(from), start, length, context) == 0 || length > kLongestRegexHit) break;
      int at = static_cast<int>(from) + start - 1;
      Mark(kinds, at, length, kind);
      from = static_cast<size_t>(at + std::max(length, 1));
    }
  };
  for (const TEditorWord& word : editor_.TmpReserveList()) {
    if (!word.text.empty()) plainHits(word.text, SearchFlag::Down, ekTmpWord);
  }
  const TEditorWordList& words = editor_.ReserveWordList();
  for (int index = static_cast<int>(words.size()) - 1; index >= 0; --index) {
    const TEditorWord& word = words[index];
    if (word.text.empty()) continue;
    int flags = ReserveWordSearchFlags(word.options);
    auto kind = static_cast<unsigned char>(ReserveWordEmphasisKind(word.options));
    if (flags & SearchFlag::RegExp) {
      try {
        regexHits(word.text, (flags & SearchFlag::RegFuzzy) != 0, kind);
      } catch (const ERegExpParser& error) {
        // Painting goes on without the word; the owner reports it once.
        errors_.push_back({index, word.text, error.what()});
        editor_.BlankReserveWord(index);
      }
    } else {
      plainHits(word.text, flags, kind);
    }
  }
  const std::string& find = editor_.FindString();
  if (!find.empty()) {
    int flags = editor_.FindOptions() | SearchFlag::Down;
    if (flags & SearchFlag::RegExp) {
      try {
        regexHits(find, (flags & SearchFlag::RegFuzzy) != 0, ekFindString);
      } catch (const ERegExpParser& error) {
        errors_.push_back({-1, find, error.what()});
      }
    } else {
      plainHits(find, flags, ekFindString);
    }
  }
  return kinds;
}

TRowPaintPlan TEditorPaintPlanner::PlanRow(int row) {
  TRowPaintPlan plan;
  plan.row = row;
  TEditor& editor = editor_;
  TEditorScreenStrings& store = editor.RowStore();
  int rows = editor.RowCount();
  if (row < 0) return plan;
  if (row >= rows) {
    plan.eofMarkAtStart = row == rows && editor.Marks().EofMark().Visible() &&
                          (rows == 0 || editor.RowKind(rows - 1) != raEof);
    return plan;
  }
  plan.exists = true;
  // The row's display text, without a copy when it has no tab.
  std::string_view rowText = editor.RowText(row);
  std::string expanded;
  std::string_view display = rowText;
  if (rowText.find('\t') != std::string_view::npos) {
    expanded = editor.ExpandTabs(rowText);
    display = expanded;
  }
  const int rowWidth = Length(display);
  plan.rowWidth = rowWidth;
  // The columns planned: all of them, or for a very long row those around
  // the view, cut on character boundaries.
  int firstCol = 0;
  int endCol = rowWidth;
  if (rowWidth > kWholeRowCols) {
    firstCol = StartOfCharAt(display, std::clamp(editor.TopCol() - kWindowMargin, 0, rowWidth));
    endCol = EndOfCharAt(display, std::clamp(editor.TopCol() + editor.VisibleCols() + kWindowMargin, firstCol, rowWidth));
  }
  plan.firstCol = firstCol;
  std::string_view text = display.substr(firstCol, endCol - firstCol);

  // The scanner and the emphasis read the bytes before the planned part, and
  // neighbouring rows of the same line, so a token cut by the wrap or the
  // window is classified as one.
  auto bracketOf = [&](int r) {
    if (store.BracketState(r) == kBracketNotComputed) store.UpdateBrackets(r, false);
    int state = store.BracketState(r);
    return state == kBracketNotComputed ? kBracketNone : state;
  };
  auto startsLine = [&](int r) { return r <= 0 || editor.RowKind(r - 1) != raWrapped; };
  std::string prefix;
  int startState = bracketOf(row);
  bool lineStart = startsLine(row);
  int contextCol = firstCol > 0 ? StartOfCharAt(display, std::max(0, firstCol - kContextBytes)) : 0;
  if (contextCol > 0) {
    lineStart = false;
  } else if (editor.WordWrap() && !startsLine(row)) {
    prefix = editor.RowDisplayText(row - 1);
    startState = bracketOf(row - 1);
    lineStart = startsLine(row - 1);
  }
  prefix.append(display.substr(contextCol, firstCol - contextCol));
  std::string suffix;
  bool continues = endCol < rowWidth || editor.RowKind(row) == raWrapped;
  if (editor.WordWrap() && endCol == rowWidth && editor.RowKind(row) == raWrapped && row + 1 < rows) {
    suffix = editor.RowDisplayText(row + 1);
    continues = editor.RowKind(row + 1) == raWrapped;
  }
  std::string combined;
  combined.reserve(prefix.size() + text.size() + suffix.size());
  combined.append(prefix).append(text).append(suffix);
  int offset = static_cast<int>(prefix.size());

  const TEditorViewInfo& view = editor.View();
  const TEditorColors& colors = view.Colors();
  const TEditorFont& font = editor.Font();
  const TCellStyle plain{font.Color(), editor.Color(), font.Style()};
  bool emphasisOn = !editor.ReserveWordList().empty() || !editor.TmpReserveList().empty() || !editor.FindString().empty();
  std::vector<unsigned char> kinds =
      emphasisOn ? EmphasisOf(combined, lineStart, continues) : std::vector<unsigned char>();
  bool reserved = !editor.ReserveWordList().empty();

  // The selected columns of this row.
  int selLeft = 0;
  int selRight = 0;
  if (editor.Selected()) {
    const TEditorSelection& sel = editor.Selection();
    if (row >= sel.firstRow && row <= sel.lastRow) {
      if (editor.SelectionMode() == smBox) {
        selLeft = sel.leftCol;
        selRight = sel.rightCol;
      } else {
        selLeft = row == sel.startRow ? sel.leftCol : 0;
        selRight = row == sel.endRow ? sel.rightCol : INT_MAX;
      }
      // A column that would cut a double-byte character takes it whole.
      if (selLeft < rowWidth && TrailAt(display, selLeft)) --selLeft;
      if (selRight < rowWidth && TrailAt(display, selRight)) ++selRight;
    }
  }
  plan.selLeftCol = selLeft;
  plan.selRightCol = selRight;

  // A selected token keeps its own style, or Reserve's when it is a reserved word.
  bool styleReserved = reserved && selRight > selLeft;

  std::vector<TCellStyle> tokenStyle(combined.size(), plain);
  std::vector<bool> reserveStyled(combined.size(), false);
  std::unique_ptr<TEditorParser> parser =
      editor.ParserFactory()(combined.data(), combined.size(), startState, &view);
  for (; parser->Token() != tkEnd; parser->NextToken()) {
    auto kind = parser->Token();
    int start = parser->TokenPos();
    int length = parser->TokenLength();
    if (start >= offset + static_cast<int>(text.size())) break;
    if (const TEditorColor* entry = TokenColor(view, kind, parser->BracketIndex())) {
      TCellStyle style = StyleOf(*entry);
      for (int i = start; i < start + length; ++i) tokenStyle[i] = style;
    }
    if (reserved && !kinds.empty()) {
      if (kind == tkComment) {
        Mark(kinds, start, length, ekComment);
      } else if (kind == tkBracket) {
        bool showReserve = parser->BracketIndex() >= 0 && parser->BracketIndex() < view.Brackets().Count() &&
                           view.Brackets().Items(parser->BracketIndex()).ShowReserve();
        int end = std::min(static_cast<int>(kinds.size()), start + length);
        for (int i = start; i < end; ++i) {
          if (showReserve ? kinds[i] == ekNone : kinds[i] != ekFindString) kinds[i] = ekBracket;
        }
      }
    }
    if (styleReserved && MayBeReserveWord(kind)) {
      std::string_view token = parser->TokenView();
      for (const TEditorWord& word : editor.ReserveWordList()) {
        if (!word.text.empty() && EqualsIgnoringAsciiCase(token, word.text)) {
          for (int i = start; i < start + length; ++i) reserveStyled[i] = true;
          break;
        }
      }
    }
  }

  const TEditorColor& select = colors.Item(ceSelect);
  const TEditorColor& reserve = colors.Item(ceReserve);
  plan.text = std::string(text);
  plan.cells.resize(text.size());
  plan.emphasis.assign(text.size(), ekNone);
  for (size_t i = 0; i < text.size(); ++i) {
    size_t c = offset + i;
    TCellStyle style = tokenStyle[c];
    unsigned char kind = c < kinds.size() ? kinds[c] : static_cast<unsigned char>(ekNone);
    plan.emphasis[i] = kind;
    TCellStyle emphasis;
    if (kind != ekComment && kind != ekBracket && EntryForKind(colors, kind, emphasis)) style = emphasis;
    // Bytes are cells here: the display text has no tabs left.
    int col = firstCol + static_cast<int>(i);
    if (col >= selLeft && col < selRight) {
      TFontStyles keep = reserveStyled[c] ? reserve.Style() : tokenStyle[c].style;
      style = {select.Color(), select.BkColor(), keep};
    }
    plan.cells[i] = style;
  }

  TRowAttribute rowKind = editor.RowKind(row);
  bool afterSelected = rowWidth >= selLeft && rowWidth < selRight;
  if (rowKind == raEof) {
    if (editor.Marks().EofMark().Visible()) plan.endMark = remEof;
  } else if (rowKind == raCrlf && editor.Marks().RetMark().Visible()) {
    plan.endMark = remRet;
  }
  plan.endMarkSelected = afterSelected && plan.endMark == remRet;
  return plan;
}

std::string TEditorPaintPlanner::LeftbarNumber(int row) const {
  const TEditorLeftbar& bar = editor_.Leftbar();
  if (!bar.ShowNumber() || row < 0) return std::string();
  int rows = editor_.RowCount();
  bool afterLastShown = rows == 0 || editor_.RowKind(rows - 1) != raEof;
  long long number;
  if (row > rows || (row == rows && !afterLastShown)) return std::string();
  if (bar.ShowNumberMode() == nmRow) {
    number = row;
  } else {
    if (row > 0 && row <= rows) {
      TRowAttribute before = editor_.RowKind(row - 1);
      if (before == raWrapped || before == raEof) return std::string();
    }
    number = editor_.RowToLine(row);
  }
  if (!bar.ZeroBase()) ++number;
  std::string digits = std::to_string(number);
  int field = editor_.Metrics().digits;
  if (static_cast<int>(digits.size()) < field) digits.insert(0, field - digits.size(), bar.ZeroLead() ? '0' : ' ');
  return digits;
}

}  // namespace kerv
