#include "search/TKervSearcher.h"

#include <algorithm>
#include <cstring>

#include "platform/CodePage.h"
#include "platform/LargeBuffer.h"
#include "regex/TRegularExpression.h"
#include "search/SearchBuffer.h"
#include "search/SearchMessages.h"
#include "search/TTextSearcher.h"

namespace kerv {

namespace {

bool IsLead(std::string_view text, size_t i) {
  return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
}

// A replace-all changes whole lines: from the start of the first match's
// line to the end of the last one's, so that the editor replaces rows as
// they are instead of joining the result to the rest of those lines.
size_t LineStartOf(std::string_view source, size_t at) {
  size_t lf = at == 0 ? std::string_view::npos : source.rfind('\n', at - 1);
  return lf == std::string_view::npos ? 0 : lf + 1;
}
void CopyToLineEnd(std::string_view source, size_t& copied, std::string& result) {
  size_t lf = source.find('\n', copied);
  size_t end = lf == std::string_view::npos ? source.size() : lf + 1;
  result.append(source.substr(copied, end - copied));
  copied = end;
}

// Clears Searching on every way out of a find, a failing regular expression included.
struct SearchingFlag {
  explicit SearchingFlag(TKervSearchState& state) : state_(state) { state_.Searching = true; }
  ~SearchingFlag() { state_.Searching = false; }
  SearchingFlag(const SearchingFlag&) = delete;
  SearchingFlag& operator=(const SearchingFlag&) = delete;
  TKervSearchState& state_;
};

// The regex component of one request: fuzzy dictionary as the options say,
// pattern prepared for CR LF text. A syntax error raises ERegExpParser.
void SetUpRegExp(TAWKStr& regExp, const TKervSearchOptions& options, const std::string& pattern) {
  regExp.SetUseFuzzyCharDic((options.Flags & SearchFlag::RegFuzzy) != 0);
  regExp.SetRegExp(PrepareRegExpPattern(pattern));
}

// The text a regular-expression find runs over: the selection, or the
// document read in windows that grow until the match no longer depends on
// what lies beyond, so that a hit near the caret does not read the rest.
class TRegExpSubject {
 public:
  static constexpr long long kFirstWindowBytes = 64 * 1024;

  // The selection: [origin, origin + text size) of the document.
  TRegExpSubject(IKervSearchTarget& target, long long origin, std::string text)
      : target_(target), documentWindows_(false) {
    window_.lineStart = target.TextWindow(origin, 0).lineStart;
    window_.text = std::move(text);
    window_.reachesEnd = true;
    origin_ = origin;
  }
  // The document from origin on.
  TRegExpSubject(IKervSearchTarget& target, long long origin) : target_(target), documentWindows_(true) {
    Load(origin, kFirstWindowBytes);
  }

  long long Origin() const { return origin_; }
  // Bytes of the subject from b on (b ≥ origin); in document windows at
  // least as many as the window holds, 2 when it is enough to know.
  long long RemainingAt(long long b) {
    Cover(b, 2);
    return std::max(0LL, static_cast<long long>(window_.text.size()) - (b - origin_));
  }
  unsigned char ByteAt(long long b) {
    Cover(b, 2);
    return static_cast<unsigned char>(window_.text[static_cast<size_t>(b - origin_)]);
  }
  int CharWidthAt(long long b) {
    Cover(b, 2);
    return IsLead(window_.text, static_cast<size_t>(b - origin_)) ? 2 : 1;
  }
  bool LineStartAt(long long b) {
    if (b == origin_) return window_.lineStart;
    return window_.text[static_cast<size_t>(b - origin_ - 1)] == '\n';
  }

  // Match on the subject from b: the one-based start relative to b, or 0.
  int MatchAt(TAWKStr& regExp, long long b, int& start, int& length) {
    long long want = kFirstWindowBytes;
    for (;;) {
      Cover(b, want);
      std::string_view rest = std::string_view(window_.text).substr(
          std::min(window_.text.size(), static_cast<size_t>(b - origin_)));
      bool undecided = false;
      int a = regExp.Match(rest, start, length, {LineStartAt(b), !window_.reachesEnd}, &undecided);
      if (!undecided) return a;
      want = std::max<long long>(want, static_cast<long long>(rest.size())) * 8;
    }
  }

 private:
  // Makes the window hold bytes [b, b + bytes) or run to the end.
  void Cover(long long b, long long bytes) {
    long long have = origin_ + static_cast<long long>(window_.text.size());
    if (!documentWindows_ || window_.reachesEnd || b + bytes <= have) return;
    Load(b, bytes);
  }
  void Load(long long origin, long long bytes) {
    origin_ = origin;
    window_ = target_.TextWindow(origin, bytes);
  }

  IKervSearchTarget& target_;
  bool documentWindows_;
  long long origin_ = 0;
  TKervTextWindow window_;
};

// The plain search over one large text: candidates from the prepared
// scanner, each decided by SearchBuffer on the lines around it, so that the
// type map it builds stays small.
class TPlainScan {
 public:
  static constexpr size_t kReachBytes = 8192;

  TPlainScan(std::string_view text, const std::string& pattern, SearchFlags flags)
      : text_(text), pattern_(pattern), flags_(static_cast<SearchFlags>(flags | SearchFlag::Down)),
        scanner_(pattern, flags_) {}

  // The first match starting at or after from (a character boundary).
  bool Next(size_t from, TSearchPosition& match) {
    if (pattern_.empty()) return false;
    size_t candidate = from;
    for (;;) {
      candidate = scanner_.NextCandidate(text_, candidate);
      if (candidate == std::string_view::npos || candidate >= text_.size()) return false;
      // A line start is always a character boundary, and so is from; the
      // window reaches a line end some way past the candidate, as the
      // document scan's chunks do.
      size_t windowStart = LineStartBefore(candidate, from);
      size_t reach = std::min(text_.size(), candidate + kReachBytes + pattern_.size());
      size_t windowEnd = LineEndAfter(reach);
      std::string_view window = text_.substr(windowStart, windowEnd - windowStart);
      TSearchPosition position{static_cast<int>(from > windowStart ? from - windowStart : 0), 0};
      if (SearchBuffer(window, position, pattern_, flags_)) {
        match = position;
        matchStart_ = windowStart + static_cast<size_t>(position.start);
        return true;
      }
      if (windowEnd >= text_.size()) return false;
      // Matches that start on the window's last line may run on past it.
      candidate = std::max(candidate + 1, LineStartBefore(windowEnd - 1, from));
    }
  }
  size_t MatchStart() const { return matchStart_; }

 private:
  // The start of the line holding at, or floor when that lies after it.
  size_t LineStartBefore(size_t at, size_t floor) const {
    const char* begin = text_.data();
    for (size_t i = at; i > floor; --i) {
      if (begin[i - 1] == '\n') return i;
    }
    return floor;
  }
  size_t LineEndAfter(size_t at) const {
    if (at >= text_.size()) return text_.size();
    const void* lf = std::memchr(text_.data() + at, '\n', text_.size() - at);
    return lf ? static_cast<size_t>(static_cast<const char*>(lf) - text_.data()) + 1 : text_.size();
  }

  std::string_view text_;
  std::string pattern_;
  SearchFlags flags_;
  TTextSearcher scanner_;
  size_t matchStart_ = 0;
};

}  // namespace

// ---------------------------------------------------------------- helpers

std::string ExpandReplaceEscapes(std::string_view replacement) {
  if (replacement.find('\\') == std::string_view::npos) return std::string(replacement);
  std::string out;
  out.reserve(replacement.size() + 8);
  for (size_t i = 0; i < replacement.size();) {
    // A trail byte may be 0x5C: a double-byte character goes over whole.
    if (IsLead(replacement, i)) {
      out.append(replacement.substr(i, 2));
      i += 2;
      continue;
    }
    char c = replacement[i];
    if (c != '\\') {
      out += c;
      ++i;
      continue;
    }
    if (i + 1 == replacement.size()) {
      out += '\\';
      break;
    }
    char next = replacement[i + 1];
    if (next == '\\') {
      out += '\\';
    } else if (next == 'n') {
      out += "\r\n";
    } else if (next == 't') {
      out += '\t';
    } else {
      size_t width = IsLead(replacement, i + 1) ? 2 : 1;
      out += '\\';
      out.append(replacement.substr(i + 1, width));
      i += 1 + width;
      continue;
    }
    i += 2;
  }
  return out;
}

std::string PrepareRegExpPattern(std::string_view pattern) {
  std::string out;
  out.reserve(pattern.size() + 8);
  for (size_t i = 0; i < pattern.size();) {
    if (IsLead(pattern, i)) {
      out.append(pattern.substr(i, 2));
      i += 2;
      continue;
    }
    if (pattern[i] != '\\' || i + 1 == pattern.size()) {
      out += pattern[i++];
      continue;
    }
    // An escape is one token: a backslash and the character after it.
    if (pattern.substr(i, 4) == "\\r\\n") {
      out += "\\r\\n";
      i += 4;
    } else if (pattern[i + 1] == 'n') {
      out += "\\r\\n";
      i += 2;
    } else {
      size_t width = IsLead(pattern, i + 1) ? 2 : 1;
      out.append(pattern.substr(i, 1 + width));
      i += 1 + width;
    }
  }
  return out;
}

std::string QuickSearchWord(std::string_view selected) {
  constexpr size_t kBytes = 1023;
  size_t cut = 0;
  // Whole characters from the start: a character that starts inside the
  // first 1023 bytes is taken whole.
  while (cut < selected.size() && cut < kBytes) cut += IsLead(selected, cut) ? 2 : 1;
  return std::string(selected.substr(0, cut));
}

std::unique_ptr<TKervSearcher> CreateSearcher(TKervSearchOptions& options, TKervSearchState& state,
                                              IKervSearchTarget& target, IKervSearchHost& host) {
  if (options.Flags & SearchFlag::RegExp) return std::make_unique<TKervRegExpSearcher>(options, state, target, host);
  return std::make_unique<TKervNormalSearcher>(options, state, target, host);
}

// ---------------------------------------------------------------- base

void TKervSearcher::ReportNotFound(const std::string& pattern) {
  const char* tail = state_.SearchedOnce && state_.FoundOnce ? searchmessages::kSearchedToEnd : searchmessages::kNotFound;
  host_.NotifyInformation(GetKindName() + host_.DisplayText(pattern) + tail);
}

void TKervSearcher::EmphasizeWord(const std::string& pattern) {
  if (pattern != target_.EmphasisWord()) target_.SetEmphasis(pattern, options_.Flags);
}

void TKervSearcher::FinishFind(bool found, const std::string& pattern) {
  if (found) {
    state_.FoundOnce = true;
  } else {
    ReportNotFound(pattern);
  }
  state_.SearchedOnce = true;
  options_.Flags = static_cast<SearchFlags>(options_.Flags & ~SearchFlag::SelectionOnly);
}

bool TKervSearcher::Replace(const std::string& pattern, const std::string& replacement, bool down) {
  if (!Find(pattern, down)) return false;
  if (options_.Confirm && !host_.ConfirmReplace()) return false;
  target_.ReplaceSelection(ExpandReplaceEscapes(replacement));
  options_.Flags = static_cast<SearchFlags>(options_.Flags & ~SearchFlag::SelectionOnly);
  return true;
}

void TKervSearcher::ApplyReplaceAll(long long origin, long long firstChange,
                                    long long changeEnd, const std::string& replaced, long long resultLength) {
  // Only the span between the first and the last match changes: the result
  // is the same as writing the whole source back, with less to re-wrap and
  // to keep for undo.
  bool selectionOnly = (options_.Flags & SearchFlag::SelectionOnly) != 0;
  long long selStart = target_.SelStart();
  long long selLength = selectionOnly && host_.KeepSel() ? resultLength : 0;
  target_.ReplaceRange(origin + firstChange, changeEnd - firstChange, replaced, selStart, selLength);
  target_.SetModified();
}

// ---------------------------------------------------------------- plain

std::string TKervNormalSearcher::GetKindName() const { return searchmessages::kKindNormal; }

bool TKervNormalSearcher::Find(const std::string& pattern, bool down) {
  options_.Flags = static_cast<SearchFlags>(down ? options_.Flags | SearchFlag::Down : options_.Flags & ~SearchFlag::Down);
  SearchingFlag searching(state_);
  bool found = false;
  if (options_.Flags & SearchFlag::SelectionOnly) {
    std::string selected = target_.SelText();
    // Up inside the selection starts at its end, so that it can find anything.
    TSearchPosition position{down ? 0 : static_cast<int>(selected.size()), 0};
    found = SearchBuffer(selected, position, pattern, options_.Flags);
    if (found) {
      long long selStart = target_.SelStart();
      target_.Focus();
      target_.Select(selStart + position.start, position.length);
    }
  } else {
    bool loop = (options_.Flags & SearchFlag::LoopSearch) != 0;
    bool mayMove = loop || options_.FromTop;
    long long keptStart = mayMove ? target_.SelStart() : 0;
    long long keptLength = mayMove ? target_.SelLength() : 0;
    if (options_.FromTop && !state_.SearchedOnce) target_.Select(0, 0);
    found = target_.SearchText(pattern, options_.Flags);
    if (!found && loop) {
      // Up restarts from the very end, so that a match ending there is found too.
      target_.Select(down ? 0 : target_.TextLength(), 0);
      found = target_.SearchText(pattern, options_.Flags);
    }
    if (!found && mayMove) target_.Select(keptStart, keptLength);
  }
  EmphasizeWord(pattern);
  FinishFind(found, pattern);
  return found;
}

int TKervNormalSearcher::ReplaceAll(const std::string& pattern, const std::string& replacement) {
  std::string r = ExpandReplaceEscapes(replacement);
  bool selectionOnly = (options_.Flags & SearchFlag::SelectionOnly) != 0;
  long long origin = selectionOnly ? target_.SelStart() : 0;
  std::string source = selectionOnly ? target_.SelText() : target_.TextWindow(0, target_.TextLength()).text;
  TPlainScan scan(source, pattern, options_.Flags);
  TSearchPosition match;
  if (!scan.Next(0, match)) return 0;

  host_.BeginProgress();
  size_t firstChange = LineStartOf(source, scan.MatchStart());
  size_t copied = firstChange;
  std::string result;
  ReserveLargeText(result, source.size() - firstChange);
  int count = 0;
  for (;;) {
    size_t start = scan.MatchStart();
    result.append(source, copied, start - copied);
    result += r;
    copied = start + static_cast<size_t>(match.length);
    ++count;
    if (host_.ProgressCancelled(count)) {
      host_.EndProgress();
      host_.NotifyInformation(searchmessages::kReplaceAllInterrupted);
      return -1;
    }
    // An empty match cannot happen (SearchBuffer needs a pattern), but a
    // scan must move on in any case.
    if (!scan.Next(std::max(copied, start + 1), match)) break;
  }
  CopyToLineEnd(source, copied, result);
  host_.EndProgress();
  long long resultLength = static_cast<long long>(firstChange + result.size() + (source.size() - copied));
  ApplyReplaceAll(origin, static_cast<long long>(firstChange),
                  static_cast<long long>(copied), result, resultLength);
  return count;
}

// ---------------------------------------------------------------- regular expression

std::string TKervRegExpSearcher::GetKindName() const { return searchmessages::kKindRegExp; }

bool TKervRegExpSearcher::Find(const std::string& pattern, bool down) {
  (void)down;
  SearchingFlag searching(state_);
  bool selectionOnly = (options_.Flags & SearchFlag::SelectionOnly) != 0;
  long long b;
  std::unique_ptr<TRegExpSubject> subject;
  if (selectionOnly) {
    b = target_.SelStart();
    subject = std::make_unique<TRegExpSubject>(target_, b, target_.SelText());
  } else {
    b = options_.FromTop && !state_.SearchedOnce ? 0 : target_.SelStart() + target_.SelLength();
    subject = std::make_unique<TRegExpSubject>(target_, b);
  }
  TAWKStr regExp;
  SetUpRegExp(regExp, options_, pattern);

  int a = 0;
  int start = 0;
  int length = 0;
  auto matchLoop = [&]() {
    for (;;) {
      a = subject->MatchAt(regExp, b, start, length);
      if (a < 1) return false;
      long long remaining = subject->RemainingAt(b);
      if (remaining > 0 && subject->ByteAt(b) == '\n') {
        state_.LastEmptyMatch = b + a;
        if (remaining <= 1) return false;
        b += 1;
        continue;
      }
      if (length != 0 || b + a != state_.LastEmptyMatch || remaining < 2) return true;
      // An empty match where the last find stopped: step over one character.
      b += subject->CharWidthAt(b);
    }
  };
  bool found = matchLoop();
  if (!found && (options_.Flags & SearchFlag::LoopSearch) && !selectionOnly) {
    state_.LastEmptyMatch = b;
    b = 0;
    subject = std::make_unique<TRegExpSubject>(target_, 0);
    found = matchLoop();
  }
  state_.LastEmptyMatch = found ? b + a : b;
  EmphasizeWord(pattern);
  if (found) {
    target_.Focus();
    target_.Select(b + start - 1, length);
  }
  FinishFind(found, pattern);
  return found;
}

int TKervRegExpSearcher::ReplaceAll(const std::string& pattern, const std::string& replacement) {
  std::string r = ExpandReplaceEscapes(replacement);
  bool selectionOnly = (options_.Flags & SearchFlag::SelectionOnly) != 0;
  long long origin = selectionOnly ? target_.SelStart() : 0;
  TKervTextWindow source =
      selectionOnly ? TKervTextWindow{target_.SelText(), target_.TextWindow(origin, 0).lineStart, true}
                    : target_.TextWindow(0, target_.TextLength());
  TAWKStr regExp;
  SetUpRegExp(regExp, options_, pattern);

  const std::string& text = source.text;
  // Each pass matches the rest of the source, with "^" holding only where a
  // line really starts.
  auto matchFrom = [&](size_t pos, int& start, int& length) {
    bool lineStart = pos == 0 ? source.lineStart : text[pos - 1] == '\n';
    return regExp.Match(std::string_view(text).substr(pos), start, length, {lineStart, false});
  };
  int start = 0;
  int length = 0;
  int a = matchFrom(0, start, length);
  // An empty first match ends the loop at once: nothing to replace.
  if (a < 1 || length == 0) return 0;

  host_.BeginProgress();
  size_t firstChange = LineStartOf(text, static_cast<size_t>(a - 1));
  size_t copied = 0;  // where the pass started: the end of the previous match
  std::string result;
  ReserveLargeText(result, text.size() - firstChange);
  int count = 0;
  for (;;) {
    size_t matchStart = copied + static_cast<size_t>(a - 1);
    if (count == 0) copied = firstChange;
    result.append(text, copied, matchStart - copied);
    result += r;
    copied = matchStart + static_cast<size_t>(length);
    ++count;
    if (host_.ProgressCancelled(count)) {
      host_.EndProgress();
      host_.NotifyInformation(searchmessages::kReplaceAllInterrupted);
      return -1;
    }
    if (copied >= text.size()) break;
    a = matchFrom(copied, start, length);
    if (a < 1 || length == 0) break;
  }
  CopyToLineEnd(text, copied, result);
  host_.EndProgress();
  long long resultLength = static_cast<long long>(firstChange + result.size() + (text.size() - copied));
  ApplyReplaceAll(origin, static_cast<long long>(firstChange),
                  static_cast<long long>(copied), result, resultLength);
  return count;
}

}  // namespace kerv
