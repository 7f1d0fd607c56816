#pragma once
// The bracket state at the end of a row from the state at its start: the
// step the row store repeats over every row of a document.
//
// The state a parser carries out of a row depends on nothing but where the
// bracket strings stand: outside a pair the earliest left bracket on a
// character boundary opens its pair (the parser cuts any token holding one),
// inside pair n the first right bracket of n on a boundary closes it. So
// under the plain parser, with pairs and view rules that keep token starts
// on character boundaries, the scanner only looks for the bracket strings
// ("skims"); otherwise it runs the parser, one object reused from row to row.
// Either way the result is the parser's.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/TEditorParser.h"

namespace kerv {

class TEditorBracketScanner {
 public:
  // viewInfo may be null (no editor): every state then passes through.
  TEditorBracketScanner(TEditorParserFactory factory, const TEditorViewInfo* viewInfo);
  ~TEditorBracketScanner();
  TEditorBracketScanner(const TEditorBracketScanner&) = delete;
  TEditorBracketScanner& operator=(const TEditorBracketScanner&) = delete;

  // The state after row, which starts in state. next is the row after it when
  // the wrap continues the line there (else null): a bracket cut by the wrap
  // is still found, since the next row's leading blanks, or its first token
  // and the blanks after it, are read along.
  int ScanRow(std::string_view row, int state, const std::string_view* next);

  // Whether the bracket strings alone are looked for (the parser is not run).
  bool Skims() const { return skim_; }

 private:
  // What a search looks for: the first two bytes all its brackets share, or
  // their first bytes (in bytes while there are up to four, and in set).
  struct Needle {
    bool twoBytes = false;
    int count = 0;
    unsigned char bytes[4] = {0, 0, 0, 0};
    uint64_t set[4] = {0, 0, 0, 0};
  };

  static Needle MakeNeedle(const std::vector<const std::string*>& strings);
  static const char* Find(const char* begin, const char* from, const char* stop, const Needle& needle);
  int ScanText(std::string_view text, int state);
  int ParseText(std::string_view text, int state);
  int SkimText(std::string_view text, int state) const;
  TEditorParser& ParserOn(std::string_view text, int state);

  TEditorParserFactory factory_;
  const TEditorViewInfo* viewInfo_;
  int pairCount_ = 0;
  bool skim_ = false;
  std::unique_ptr<TEditorParser> parser_;
  std::string joined_;

  // What skimming reads, copied from the view options.
  std::vector<std::string> lefts_;
  std::vector<std::string> rights_;
  Needle leftNeedle_;
  std::vector<Needle> rightNeedles_;
};

}  // namespace kerv
