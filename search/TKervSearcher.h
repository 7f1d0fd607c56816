#pragma once
// The searchers behind the search bar: one object per request, plain string
// or regular expression, over the editor and window ports.

#include <memory>
#include <string>
#include <string_view>

#include "search/TKervSearchOptions.h"
#include "search/TKervSearchTarget.h"

namespace kerv {

class TKervSearcher {
 public:
  TKervSearcher(TKervSearchOptions& options, TKervSearchState& state, IKervSearchTarget& target,
                IKervSearchHost& host)
      : options_(options), state_(state), target_(target), host_(host) {}
  virtual ~TKervSearcher() = default;
  TKervSearcher(const TKervSearcher&) = delete;
  TKervSearcher& operator=(const TKervSearcher&) = delete;

  // The word that starts the not-found notices (UTF-8, ends with a blank).
  virtual std::string GetKindName() const = 0;
  virtual bool Find(const std::string& pattern, bool down) = 0;
  // Finds, asks when Confirm is set, and replaces the match.
  virtual bool Replace(const std::string& pattern, const std::string& replacement, bool down);
  // The number of replacements, or -1 when the user cancelled.
  virtual int ReplaceAll(const std::string& pattern, const std::string& replacement) = 0;

  void ReportNotFound(const std::string& pattern);

 protected:
  // The emphasis follows the last searched word.
  void EmphasizeWord(const std::string& pattern);
  // The end of every Find: the state flags, and SelectionOnly is used up.
  void FinishFind(bool found, const std::string& pattern);
  // Writes a replace-all result over the source (the selection or the whole
  // text, starting at origin): the bytes from firstChange to changeEnd of
  // the source become replaced.
  void ApplyReplaceAll(long long origin, long long firstChange, long long changeEnd, const std::string& replaced,
                       long long resultLength);

  TKervSearchOptions& options_;
  TKervSearchState& state_;
  IKervSearchTarget& target_;
  IKervSearchHost& host_;
};

class TKervNormalSearcher : public TKervSearcher {
 public:
  using TKervSearcher::TKervSearcher;
  std::string GetKindName() const override;
  bool Find(const std::string& pattern, bool down) override;
  int ReplaceAll(const std::string& pattern, const std::string& replacement) override;
};

class TKervRegExpSearcher : public TKervSearcher {
 public:
  using TKervSearcher::TKervSearcher;
  std::string GetKindName() const override;
  // Always searches towards the end.
  bool Find(const std::string& pattern, bool down) override;
  int ReplaceAll(const std::string& pattern, const std::string& replacement) override;
};

// The searcher for the options: regular expression when RegExp is set.
std::unique_ptr<TKervSearcher> CreateSearcher(TKervSearchOptions& options, TKervSearchState& state,
                                              IKervSearchTarget& target, IKervSearchHost& host);

// The replacement with its escapes expanded, character by character:
// "\\" a backslash, "\n" CR LF, "\t" TAB; a backslash before any other
// character stays with it, and a final backslash stays.
std::string ExpandReplaceEscapes(std::string_view replacement);
// A regular expression whose "\n" tokens read "\r\n", so that they match the
// line breaks of the document text; "\r\n" stays as it is.
std::string PrepareRegExpPattern(std::string_view pattern);
// The quick-search word of a selected text: its first 1023 bytes, or 1024
// when the last character would be cut, never half a character.
std::string QuickSearchWord(std::string_view selected);

}  // namespace kerv
