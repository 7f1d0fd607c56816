#pragma once
// A document over a plain string and a window that records what it was told,
// for the searcher tests (and the search command's).

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/IconvCodePage.h"
#include "search/SearchBuffer.h"
#include "search/TKervSearchTarget.h"

namespace kerv::test {

// Shift_JIS bytes of a UTF-8 literal.
inline std::string Sjis(std::string_view utf8) {
  static IconvCodePage codePage;
  return codePage.Utf8ToCp932(utf8, nullptr);
}

// Bytes as hex outside printable ASCII, for failure messages.
inline std::string Escaped(std::string_view text) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : text) {
    if (b >= 0x20 && b < 0x7F) {
      out += static_cast<char>(b);
    } else {
      out += "<";
      out += hex[b >> 4];
      out += hex[b & 15];
      out += ">";
    }
  }
  return out;
}

class FakeSearchTarget : public IKervSearchTarget {
 public:
  explicit FakeSearchTarget(std::string text = {}) : text(std::move(text)) {}

  long long SelStart() override { return selStart; }
  long long SelLength() override { return selLength; }
  std::string SelText() override { return text.substr(static_cast<size_t>(selStart), static_cast<size_t>(selLength)); }
  long long TextLength() override { return static_cast<long long>(text.size()); }
  TKervTextWindow TextWindow(long long offset, long long minBytes) override {
    ++windowsRead;
    size_t from = std::min(text.size(), static_cast<size_t>(offset));
    size_t reach = std::min(text.size(), from + static_cast<size_t>(std::max(0LL, minBytes)));
    size_t end = text.size();
    if (reach < text.size()) {
      size_t lf = reach == 0 ? text.find('\n') : text.find('\n', reach - 1);
      end = lf == std::string::npos ? text.size() : lf + 1;
      if (end < reach) end = reach;
    }
    if (minBytes == 0) end = from;
    return {text.substr(from, end - from), from == 0 || text[from - 1] == '\n', end == text.size()};
  }
  std::string WordAtCaret() override { return word; }
  void Select(long long start, long long length) override {
    selStart = std::clamp<long long>(start, 0, TextLength());
    selLength = std::clamp<long long>(length, 0, TextLength() - selStart);
  }
  // The document scan as one SearchBuffer over the whole text.
  bool SearchText(std::string_view pattern, SearchFlags flags) override {
    ++scans;
    TSearchPosition position{static_cast<int>(selStart), static_cast<int>(selLength)};
    if (!SearchBuffer(text, position, pattern, flags)) return false;
    Select(position.start, position.length);
    return true;
  }
  void ReplaceSelection(std::string_view replacement) override {
    text.replace(static_cast<size_t>(selStart), static_cast<size_t>(selLength), replacement);
    ++undoSteps;
    Select(selStart + static_cast<long long>(replacement.size()), 0);
  }
  void ReplaceRange(long long start, long long length, std::string_view replacement, long long newSelStart,
                    long long newSelLength) override {
    text.replace(static_cast<size_t>(start), static_cast<size_t>(length), replacement);
    ++undoSteps;
    Select(newSelStart, newSelLength);
  }
  void SetModified() override { modified = true; }
  void Focus() override { ++focused; }
  std::string EmphasisWord() override { return emphasis; }
  void SetEmphasis(const std::string& value, SearchFlags flags) override {
    emphasis = value;
    emphasisFlags = flags;
    ++emphasisSets;
  }

  std::string text;
  long long selStart = 0;
  long long selLength = 0;
  std::string word;
  std::string emphasis;
  SearchFlags emphasisFlags = 0;
  int emphasisSets = 0;
  int undoSteps = 0;
  int focused = 0;
  int scans = 0;
  int windowsRead = 0;
  bool modified = false;
};

class FakeSearchHost : public IKervSearchHost {
 public:
  bool ConfirmReplace() override {
    ++questions;
    return confirmAnswer;
  }
  void NotifyInformation(const std::string& text) override { notices.push_back(text); }
  std::string DisplayText(std::string_view text) override {
    static IconvCodePage codePage;
    return codePage.Cp932ToUtf8(text);
  }
  bool KeepSel() override { return keepSel; }
  void BeginProgress() override { ++progressOpened; }
  bool ProgressCancelled(int count) override {
    lastCount = count;
    return cancelAt > 0 && count >= cancelAt;
  }
  void EndProgress() override { ++progressClosed; }

  bool confirmAnswer = true;
  bool keepSel = false;
  int cancelAt = 0;  // 0: never
  int questions = 0;
  int progressOpened = 0;
  int progressClosed = 0;
  int lastCount = 0;
  std::vector<std::string> notices;
};

}  // namespace kerv::test
