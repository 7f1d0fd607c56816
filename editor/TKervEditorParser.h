#pragma once
// The program's own parser: blanks other than the space are skipped, so every
// space comes back as a one-byte tkSymbol (and every tab as tkTab). The
// line-drawing handler uses it, without view options, to place space and tab marks.

#include "editor/TEditorParser.h"

namespace kerv {

class TKervEditorParser : public TEditorParser {
 public:
  TKervEditorParser(const char* text, size_t length) : TEditorParser(Deferred{}, text, length, 0, nullptr) {
    NextToken();
  }
  explicit TKervEditorParser(std::string_view text) : TKervEditorParser(text.data(), text.size()) {}
  TKervEditorParser(const char* text, size_t length, int startState, const TEditorViewInfo* viewInfo)
      : TEditorParser(Deferred{}, text, length, startState, viewInfo) {
    NextToken();
  }
  TKervEditorParser(std::string_view text, int startState, const TEditorViewInfo* viewInfo)
      : TKervEditorParser(text.data(), text.size(), startState, viewInfo) {}

  static std::unique_ptr<TEditorParser> Create(const char* text, size_t length, int startState,
                                               const TEditorViewInfo* viewInfo) {
    return CreateEditorParser<TKervEditorParser>(text, length, startState, viewInfo);
  }

  // Skips 0x01-0x08 and 0x0A-0x1F only.
  void SkipBlanks() override;

 protected:
  TKervEditorParser(Deferred tag, const char* text, size_t length, int startState, const TEditorViewInfo* viewInfo)
      : TEditorParser(tag, text, length, startState, viewInfo) {}
};

}  // namespace kerv
