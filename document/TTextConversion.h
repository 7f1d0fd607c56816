#pragma once
// A file's bytes in one character code to bytes in another, carrying every
// byte the two codes can carry (kervtext convert): control bytes, zero bytes
// and a 0x1A inside the text stay (a single 0x1A as the very last byte, the
// old end-of-file mark, goes), and every line break becomes the target return
// code. Between two Unicode codes the text never passes through Shift_JIS.
//
// The conversion runs on the whole input at once (ConvertWhole) or piece by
// piece as the input arrives (Feed, Finish), which needs memory for a piece
// only, whatever the size of the input; both give the same bytes and the
// same losses.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "document/CharCode.h"
#include "document/TStringCodeConverter.h"
#include "platform/CodePage.h"

namespace kerv {

// What the conversion could not carry.
struct TConversionLoss {
  size_t replaced = 0;   // characters written as "?" (or U+FFFD)
  size_t widened = 0;    // half-width katakana written full-width
  bool oddByte = false;  // the odd last byte of UTF-16, dropped
  int firstLine = 0;     // 1-based line of the first loss in the input; 0 when not known
  size_t Count() const { return replaced + widened + (oddByte ? 1 : 0); }
  void Note(int line) {
    if (line > 0 && (firstLine == 0 || line < firstLine)) firstLine = line;
  }
};

class TTextConversion {
 public:
  using Sink = std::function<void(std::string_view)>;
  static constexpr size_t kPieceBytes = size_t{1} << 20;

  // from is a document code (0-7 or 11; detection has been done), to one of
  // 1-7; ret the target return code, or rcNone for the kind of the input's
  // first line break.
  TTextConversion(ICodePage& codePage, TCharCode from, TCharCode to, TReturnCode ret);

  // The whole input.
  std::string ConvertWhole(std::string bytes);

  // The input piece by piece: Feed the bytes as they come, then Finish; the
  // output goes to sink in order. pieceBytes is how much input is converted
  // at a time (a line longer than that is taken whole).
  void SetPieceBytes(size_t pieceBytes) { pieceBytes_ = pieceBytes == 0 ? 1 : pieceBytes; }
  void Feed(std::string_view bytes, const Sink& sink);
  void Finish(const Sink& sink);

  const TConversionLoss& Loss() const { return loss_; }

 private:
  bool UnicodeOnly() const;
  void ConvertPieces(std::string_view bytes, bool last, const Sink& sink);
  void ConvertPiece(std::string_view piece, bool last, const Sink& sink);
  std::string_view Unify(std::string_view text, std::string& storage);
  std::string_view UnicodePiece(std::string_view piece, bool last, std::string& storage);
  std::string_view InternalPiece(std::string_view piece, bool last, std::string& storage);

  ICodePage& codePage_;
  TStringCodeConverter converter_;
  TCharCode from_;
  TCharCode to_;
  TReturnCode ret_;
  size_t pieceBytes_ = kPieceBytes;

  TConversionLoss loss_;
  std::string pending_;  // input not converted yet: less than a piece, or a line not yet ended
  bool first_ = true;
  bool finished_ = false;
  int jisMode_ = 0;
  TReturnCode target_ = rcNone;  // known once the first line break is seen
  int inputBreaks_ = 0;          // line breaks of the input before the current piece
  int textBreaks_ = 0;           // line breaks of the converted text before it
};

// Line breaks in bytes of a document in code (UTF-16 counted in units): CR
// LF, a lone CR and a lone LF count one each, a CR at the very end counts.
size_t CountLineBreaks(std::string_view bytes, TCharCode code);

}  // namespace kerv
