// kervtext grep: prints the lines of files that hold a match of a plain
// pattern (the editor's byte search, with its options) or of a regular
// expression (the editor's engine, fuzzy if asked), in UTF-8.
//
// Exit status as grep's: 0 when a line matched, 1 when none did, 2 on an
// error (an unreadable file, a bad pattern), even if other lines matched.


#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kervtext/KervTextCommands.h"
#include "kervtext/KervTextSupport.h"
#include "document/TStringCodeConverter.h"
#include "platform/CodePage.h"
#include "regex/ERegExpParser.h"
#include "regex/RECharacter.h"
#include "regex/TRegularExpression.h"
#include "search/SearchFlags.h"
#include "search/TTextSearcher.h"

namespace kerv::cli {
namespace {

constexpr const char* kCommand = "grep";
constexpr int kMatched = 0;
constexpr int kNoMatch = 1;
constexpr int kError = 2;

int Usage(const std::string& message) {
  PrintError(kCommand, message);
  std::fputs(
      "usage: kervtext grep [-e|--regex] [--fuzzy] [--match-case] [--whole-word] [--zenkaku] [-n] PATTERN FILE...\n"
      "  -e, --regex     PATTERN is a regular expression (always case-sensitive)\n"
      "  --fuzzy         kana, widths, case and voicing marks match their variants\n"
      "                  (a regular expression with -e, else the plain PATTERN)\n"
      "  --match-case    letters compare with their case (plain patterns)\n"
      "  --whole-word    matches start and end at word boundaries (plain patterns)\n"
      "  --zenkaku       full-width and half-width forms compare equal (plain patterns)\n"
      "  -n              print the line number after the file name\n"
      "FILE may be - for standard input; files in any character code are detected.\n",
      stderr);
  return kError;
}

struct Options {
  bool regex = false;
  bool fuzzy = false;
  bool matchCase = false;
  bool wholeWord = false;
  bool zenkaku = false;
  bool lineNumbers = false;
};

// Matching lines go to standard output in UTF-8, in large writes; a failed
// write ends the run. Lines are gathered in Shift_JIS and converted a batch
// at a time: an ASCII prefix (a file name, a line number) reads the same in
// both codes. A non-ASCII prefix, or a line ending in a lead byte, is
// converted on its own, so that no conversion can join it with the next.
class Output {
 public:
  explicit Output(ICodePage& codePage) : codePage_(codePage) {}
  ~Output() { Flush(); }

  void Line(std::string_view prefix, std::string_view sjisLine) {
    bool asciiPrefix = std::all_of(prefix.begin(), prefix.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    bool cutLead = !sjisLine.empty() && IsLeadByte(static_cast<unsigned char>(sjisLine.back()));
    if (!asciiPrefix || cutLead) {
      ConvertBatch();
      utf8_.append(prefix);
      utf8_ += codePage_.Cp932ToUtf8(sjisLine);
      utf8_ += '\n';
    } else {
      batch_.append(prefix).append(sjisLine) += '\n';
      if (batch_.size() >= (1u << 16)) ConvertBatch();
    }
    if (utf8_.size() >= (1u << 16)) Write();
  }
  bool Flush() {
    ConvertBatch();
    Write();
    if (std::fflush(stdout) != 0) failed_ = true;
    return !failed_;
  }
  bool Failed() const { return failed_; }

 private:
  void ConvertBatch() {
    if (batch_.empty()) return;
    utf8_ += codePage_.Cp932ToUtf8(batch_);
    batch_.clear();
  }
  void Write() {
    if (!utf8_.empty() && std::fwrite(utf8_.data(), 1, utf8_.size(), stdout) != utf8_.size()) failed_ = true;
    utf8_.clear();
  }

  ICodePage& codePage_;
  std::string batch_;  // Shift_JIS
  std::string utf8_;
  bool failed_ = false;
};

// Decides for each line of a document whether it holds a match.
class LineMatcher {
 public:
  virtual ~LineMatcher() = default;
  // Calls onLine(lineStart, lineEnd) for every line of text (lines end in LF
  // or CR LF) that holds a match; the range leaves out the line break.
  virtual void ForEachMatchingLine(std::string_view text, const std::function<void(size_t, size_t)>& onLine) = 0;
};

// The end of the line that holds from: the start of its CR LF (or lone LF),
// or the end of the text; next is where the following line starts.
size_t LineEnd(std::string_view text, size_t from, size_t& next) {
  size_t lf = text.find('\n', from);
  if (lf == std::string_view::npos) {
    next = text.size();
    return text.size();
  }
  next = lf + 1;
  return (lf > 0 && text[lf - 1] == '\r' && lf - 1 >= from) ? lf - 1 : lf;
}

class PlainMatcher : public LineMatcher {
 public:
  PlainMatcher(std::string pattern, SearchFlags flags) : searcher_(std::move(pattern), flags) {}
  void ForEachMatchingLine(std::string_view text, const std::function<void(size_t, size_t)>& onLine) override {
    // Jump from candidate to candidate; the byte search decides on the line there.
    size_t lineStart = 0;
    while (lineStart < text.size()) {
      size_t candidate = searcher_.NextCandidate(text, lineStart);
      if (candidate == std::string_view::npos) return;
      const void* before = ::memrchr(text.data() + lineStart, '\n', candidate - lineStart);
      size_t start = before ? static_cast<size_t>(static_cast<const char*>(before) - text.data()) + 1 : lineStart;
      size_t next = 0;
      size_t end = LineEnd(text, candidate, next);
      if (candidate < end) {
        TSearchPosition match;
        if (searcher_.FindIn(text.substr(start, end - start), match, static_cast<int>(candidate - start))) onLine(start, end);
      }
      lineStart = next;
    }
  }

 private:
  TTextSearcher searcher_;
};

class RegexMatcher : public LineMatcher {
 public:
  explicit RegexMatcher(TAWKStr& re) : re_(re) {}
  void ForEachMatchingLine(std::string_view text, const std::function<void(size_t, size_t)>& onLine) override {
    size_t from = 0, start = 0, end = 0;
    while (from < text.size() && re_.NextMatchingLine(text, from, start, end)) {
      onLine(start, end);
      LineEnd(text, end, from);
    }
  }

 private:
  TAWKStr& re_;
};

// 1-based character number of the 1-based byte position in a Shift_JIS text.
int CharacterNumber(std::string_view text, int bytePosition) {
  int number = 1;
  for (size_t i = 0; i + 1 < static_cast<size_t>(bytePosition) && i < text.size(); ++number) {
    i += (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
  }
  return number;
}

// Whether a byte below 0x08 occurs (the file manager turns those into blanks).
bool HasControlBytes(std::string_view bytes) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    uint64_t x;
    std::memcpy(&x, p + i, 8);
    if (((x - 0x0808080808080808ull) & ~x & 0x8080808080808080ull) != 0) break;
  }
  for (; i < bytes.size(); ++i) {
    if (p[i] < 0x08) return true;
  }
  return false;
}

// The file's bytes, when they already are the text the file manager would
// load: Shift_JIS or ASCII as detected, no control bytes, and lines that
// end in CR LF or in LF alone. Searching them in place spares copying the
// whole file into fresh memory; every other file goes through LoadText.
bool IsInternalTextAlready(std::string_view bytes) {
  TCharCode code = TStringCodeConverter::DetectCode(bytes, true);
  if (code != ccAscii && code != ccShiftJIS && code != ccSJISOrEUC) return false;
  if (HasControlBytes(bytes)) return false;
  TReturnCode returns = TStringCodeConverter::DetectReturnCode(bytes);
  return returns == rcCRLF || returns == rcNone || (returns == rcLF && bytes.find('\r') == std::string_view::npos);
}

}  // namespace

int RunGrep(const Args& args) {
  Options options;
  std::vector<std::string> operands;
  bool optionsEnded = false;
  for (const std::string& arg : args) {
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      operands.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--regex") {
      options.regex = true;
    } else if (arg == "--fuzzy") {
      options.fuzzy = true;
    } else if (arg == "--match-case") {
      options.matchCase = true;
    } else if (arg == "--whole-word") {
      options.wholeWord = true;
    } else if (arg == "--zenkaku") {
      options.zenkaku = true;
    } else if (arg.size() > 1 && arg[1] != '-' && arg.find_first_not_of("en", 1) == std::string::npos) {
      // Short options, also together: -e, -n, -en.
      if (arg.find('e') != std::string::npos) options.regex = true;
      if (arg.find('n') != std::string::npos) options.lineNumbers = true;
    } else {
      return Usage("unknown option '" + arg + "'");
    }
  }
  if (operands.empty()) return Usage("no pattern given");
  if (operands.size() < 2) return Usage("no file given");
  if (options.regex && options.wholeWord) PrintError(kCommand, "warning: --whole-word does not apply to -e patterns");
  if (options.regex && options.zenkaku) PrintError(kCommand, "warning: --zenkaku does not apply to -e patterns");

  CliPlatform platform;
  // The pattern comes in the terminal's encoding, UTF-8.
  ConversionReport patternReport;
  std::string pattern = platform.codePage.Utf8ToCp932(operands[0], &patternReport);
  if (patternReport.replaced != 0) {
    PrintError(kCommand, "the pattern holds characters with no Shift_JIS form (or is not UTF-8)");
    return kError;
  }

  TAWKStr re;
  std::unique_ptr<LineMatcher> matcher;
  if (options.regex || options.fuzzy) {
    std::string expression = options.regex ? pattern : QuoteMeta(pattern);
    try {
      re.SetUseFuzzyCharDic(options.fuzzy);
      re.SetRegExp(expression);
    } catch (const ERegExpParser& error) {
      int position = error.ErrorPosition();
      int character = CharacterNumber(expression, position);
      std::string where = "at position " + std::to_string(position);
      if (character != position) where += " (character " + std::to_string(character) + ")";
      PrintError(kCommand, std::string("bad pattern: ") + error.what() + " " + where);
      return kError;
    }
    matcher = std::make_unique<RegexMatcher>(re);
  } else {
    SearchFlags flags = SearchFlag::Down;
    if (options.matchCase) flags |= SearchFlag::MatchCase;
    if (options.wholeWord) flags |= SearchFlag::WholeWord;
    if (options.zenkaku) flags |= SearchFlag::NoMatchZenkaku;
    // The byte search finds nothing for an empty pattern, but grep's empty
    // pattern selects every line, as the empty expression does.
    if (pattern.empty()) matcher = std::make_unique<RegexMatcher>(re);
    else matcher = std::make_unique<PlainMatcher>(pattern, flags);
  }

  CliFileManager files(platform.fs, platform.codePage, platform.dialogs, false);
  Output output(platform.codePage);
  bool anyMatch = false;
  bool anyError = false;
  for (size_t f = 1; f < operands.size(); ++f) {
    const std::string& file = operands[f];
    const std::string shownName = file == "-" ? "(standard input)" : file;
    TFileBytes raw;
    std::string loaded;
    std::string_view text;
    TLoadReport report;
    try {
      raw = platform.fs.ReadFileBytes(file);
      if (IsInternalTextAlready(raw.View())) {
        text = raw.View();
      } else {
        // Any other code goes the editor's way, through the file manager,
        // from the bytes already read (standard input cannot be read twice).
        std::string bytes(raw.View());
        raw = TFileBytes();
        TReturnCode returnCode = rcCRLF;
        TCharCode charCode = ccAuto;
        files.DecodeText(std::move(bytes), loaded, false, true, returnCode, charCode, &report);
        text = loaded;
      }
    } catch (const std::exception& error) {
      PrintError(kCommand, error.what());
      anyError = true;
      continue;
    }
    PrintLoadWarnings(kCommand, shownName, report, "searched");

    // Line numbers are counted only as far as the matches go.
    size_t countedTo = 0;
    int countedLines = 1;
    const std::string filePrefix = shownName + ":";
    std::string prefix;
    auto print = [&](size_t start, size_t end) {
      anyMatch = true;
      prefix = filePrefix;
      if (options.lineNumbers) {
        countedLines += static_cast<int>(std::count(text.begin() + static_cast<ptrdiff_t>(countedTo),
                                                    text.begin() + static_cast<ptrdiff_t>(start), '\n'));
        countedTo = start;
        prefix += std::to_string(countedLines);
        prefix += ':';
      }
      output.Line(prefix, text.substr(start, end - start));
    };
    matcher->ForEachMatchingLine(text, print);
    if (output.Failed()) break;
  }
  if (!output.Flush()) {
    PrintError(kCommand, "cannot write to standard output");
    return kError;
  }
  if (anyError) return kError;
  return anyMatch ? kMatched : kNoMatch;
}

}  // namespace kerv::cli
