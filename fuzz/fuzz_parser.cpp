// Random rows under random view options. Every token must advance, lie
// inside the text (before its first NUL, CR or LF), and the loop must end;
// the text sits in a buffer of exactly its size so that any read past the
// end is caught by the address sanitizer. The bracket scanner, one reused
// for all the rows, must end each row in the parser's state.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "editor/TEditorBracketScanner.h"
#include "editor/TEditorParser.h"
#include "editor/TEditorViewInfo.h"
#include "editor/TKervEditorParser.h"

namespace {

using namespace kerv;

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return used_ < size_ ? data_[used_++] : 0; }
  // Short strings with bytes that matter: ASCII punctuation, lead bytes and CR/NUL alike.
  std::string String() {
    size_t length = Byte() % 5;
    std::string s;
    for (size_t i = 0; i < length && used_ < size_; ++i) s += static_cast<char>(Byte());
    return s;
  }
  const uint8_t* Rest() const { return data_ + used_; }
  size_t RestSize() const { return size_ - used_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t used_ = 0;
};

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz_parser: %s\n", what);
    std::abort();
  }
}

bool IsKind(int kind) {
  switch (kind) {
    case tkSymbol: case tkString: case tkInteger: case tkReal: case tkBracket: case tkComment: case tkWord:
    case tkTab: case tkWideSymbol: case tkWideDigits: case tkWideLetters: case tkHiragana: case tkKatakana:
    case tkKanji: case tkHalfKanaSymbol: case tkHalfKana: case tkUrl: case tkMail:
      return true;
    default:
      return false;
  }
}

// Parses one text held in an exactly sized heap block; returns the end state.
int ParseText(const uint8_t* bytes, size_t length, int startState, const TEditorViewInfo* view, bool kerv,
              TEditorBracketScanner& scanner) {
  std::unique_ptr<char[]> buffer(new char[length == 0 ? 1 : length]);
  if (length != 0) std::memcpy(buffer.get(), bytes, length);
  size_t textEnd = 0;
  while (textEnd < length && bytes[textEnd] != 0 && bytes[textEnd] != '\r' && bytes[textEnd] != '\n') ++textEnd;

  std::unique_ptr<TEditorParser> parser = kerv ? TKervEditorParser::Create(buffer.get(), length, startState, view)
                                               : TEditorParser::Create(buffer.get(), length, startState, view);
  const int pairCount = view != nullptr ? view->Brackets().Count() : 0;
  int lastEnd = 0;
  size_t calls = 0;
  while (parser->Token() != tkEnd) {
    Check(++calls <= textEnd, "more tokens than bytes");
    Check(IsKind(parser->Token()), "unknown token kind");
    Check(parser->TokenPos() >= lastEnd, "token starts before the previous end");
    Check(parser->TokenLength() > 0, "token does not advance");
    Check(static_cast<size_t>(parser->Position()) <= textEnd, "token runs past the end of the text");
    Check(parser->TokenString() == std::string(buffer.get() + parser->TokenPos(), parser->TokenLength()),
          "token string differs from its span");
    if (view != nullptr) {
      Check(parser->BracketState() >= -2 && parser->BracketState() < pairCount, "bracket state out of range");
      Check(parser->BracketIndex() >= -2 && parser->BracketIndex() < pairCount, "bracket index out of range");
    }
    lastEnd = parser->Position();
    parser->NextToken();
  }
  Check(static_cast<size_t>(parser->Position()) <= textEnd, "end beyond the text");
  const int position = parser->Position();
  parser->NextToken();
  Check(parser->Token() == tkEnd && parser->Position() == position, "tkEnd does not stay");
  // An empty row passes its state on; without pairs every state is "none".
  if (length != 0 && (view == nullptr || pairCount != 0)) {
    Check(scanner.ScanRow(std::string_view(buffer.get(), length), startState, nullptr) == parser->BracketState(),
          "the bracket scanner ends elsewhere than the parser");
  }
  return parser->BracketState();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input input(data, size);
  const uint8_t flags = input.Byte();
  const bool kerv = flags & 0x08;
  std::unique_ptr<TEditorViewInfo> view;
  if (!(flags & 0x10)) {
    view = std::make_unique<TEditorViewInfo>();
    view->SetMail(flags & 0x01);
    view->SetUrl(flags & 0x02);
    view->SetControlCode(flags & 0x04);
    view->SetCommenter(input.String());
    view->SetQuotation(input.String());
    view->SetHexPrefix(input.String());
    // Mostly a few pairs; now and then the full fifty.
    int pairs = (flags & 0x20) ? TEditorBracketCollection::MaxCount : input.Byte() % 6;
    for (int i = 0; i < pairs; ++i) {
      TEditorBracketItem& item = view->Brackets().Add();
      item.SetLeftBracket(input.String());
      item.SetRightBracket(input.String());
    }
  }
  const int startState = static_cast<int8_t>(input.Byte()) % 56;

  TEditorBracketScanner scanner(kerv ? &TKervEditorParser::Create : &TEditorParser::Create, view.get());
  // The whole text at once, then row by row with the state carried on.
  ParseText(input.Rest(), input.RestSize(), startState, view.get(), kerv, scanner);
  int state = startState;
  const uint8_t* text = input.Rest();
  const size_t textSize = input.RestSize();
  size_t rowStart = 0;
  while (true) {
    size_t rowEnd = rowStart;
    while (rowEnd < textSize && text[rowEnd] != '\n') ++rowEnd;
    state = ParseText(text + rowStart, rowEnd - rowStart, state, view.get(), kerv, scanner);
    if (rowEnd >= textSize) break;
    rowStart = rowEnd + 1;
  }
  return 0;
}
