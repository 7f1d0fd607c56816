// The piece-by-piece conversion and detection against the whole-input ones
// on arbitrary bytes: the first bytes choose the codes, the return code and
// the sizes of the pieces and of the blocks fed.
#include <cstdint>
#include <string>
#include <string_view>

#include "document/TStringCodeConverter.h"
#include "document/TTextConversion.h"
#include "platform/posix/IconvCodePage.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  static kerv::IconvCodePage codePage;
  static constexpr kerv::TCharCode kFrom[] = {kerv::ccAscii,   kerv::ccShiftJIS, kerv::ccJIS,  kerv::ccEUC,
                                              kerv::ccUnicode, kerv::ccUnicodeBE, kerv::ccUTF8, kerv::ccUTF8N,
                                              kerv::ccBinary};
  const kerv::TCharCode from = kFrom[data[0] % 9];
  const kerv::TCharCode to = static_cast<kerv::TCharCode>(1 + data[1] % 7);
  const kerv::TReturnCode ret = static_cast<kerv::TReturnCode>(data[2] % 4);
  const size_t piece = 1 + data[3] % 16;
  const size_t feed = 1 + (data[3] >> 4);
  const std::string input(reinterpret_cast<const char*>(data + 4), size - 4);

  kerv::TTextConversion whole(codePage, from, to, ret);
  const std::string expected = whole.ConvertWhole(input);
  kerv::TTextConversion streamed(codePage, from, to, ret);
  streamed.SetPieceBytes(piece);
  std::string got;
  auto sink = [&got](std::string_view bytes) { got.append(bytes); };
  for (size_t at = 0; at < input.size(); at += feed) streamed.Feed(std::string_view(input).substr(at, feed), sink);
  streamed.Finish(sink);
  Check(got == expected);
  Check(streamed.Loss().Count() == whole.Loss().Count());
  Check(streamed.Loss().firstLine == whole.Loss().firstLine);

  for (bool utf8nCheck : {false, true}) {
    kerv::TCodeDetector detector(utf8nCheck);
    for (size_t at = 0; at < input.size() && !detector.Decided(); at += feed) detector.Feed(input.substr(at, feed));
    detector.Finish();
    Check(detector.Result() == kerv::TStringCodeConverter::DetectCode(input, utf8nCheck));
  }
  return 0;
}
