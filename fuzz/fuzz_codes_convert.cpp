// Every conversion in both directions on arbitrary bytes, and the document
// round trip through the file manager.
#include <cstdint>
#include <string>
#include <string_view>

#include "document/TFileManager.h"
#include "document/TStringCodeConverter.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace {

using namespace kerv;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

std::string Without(std::string_view text, std::string_view bytes) {
  std::string rest;
  for (char c : text) {
    if (bytes.find(c) == std::string_view::npos) rest += c;
  }
  return rest;
}

constexpr TCharCode kCodes[] = {ccAscii, ccShiftJIS, ccJIS, ccEUC, ccUnicode, ccUnicodeBE, ccUTF8, ccUTF8N, ccBinary};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static IconvCodePage codePage;
  TStringCodeConverter converter(codePage);
  std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // Decoding never reads past the input and never grows it beyond the bounds,
  // also when the whole text is carried (zero bytes included).
  for (TCharCode code : kCodes) {
    for (bool wholeText : {false, true}) {
      TDecodeReport report;
      std::string text = converter.ToInternal(bytes, code, &report, wholeText);
      Check(text.size() <= size + 1);
      Check(report.replaced.replaced == 0 || report.replaced.firstReplaced < size);
      Check(report.endedAt == TDecodeReport::npos || (!wholeText && report.endedAt < size));
      Check(!report.oddLastByte || (size % 2 == 1));
    }
  }
  // Encoding: the bounds of the output, and replacements inside the input.
  for (TCharCode code : kCodes) {
    ConversionReport report, widened;
    std::string out = converter.FromInternal(bytes, code, &report, &widened);
    Check(report.replaced == 0 || report.firstReplaced < size);
    Check(widened.replaced == 0 || (code == ccJIS && widened.firstReplaced < size));
    if (code == ccEUC) Check(out.size() <= 2 * size);
  }

  // After one trip a text is in the form each code keeps: a second trip
  // through JIS, EUC, UTF-8 or UTF-16 changes nothing. Zero bytes end decoded
  // text and ESC starts an escape, so the text is taken without them.
  const std::string text = Without(bytes, std::string_view("\0\x1B", 2));
  // JIS written from a text without escapes of its own ends every kanji run
  // with ESC ( B and the text in ASCII.
  const std::string jisBytes = TStringCodeConverter::SJISToJIS(text);
  Check(jisBytes.find("\x1B(J") == std::string::npos);
  const size_t lastKanji = jisBytes.rfind("\x1B$B");
  Check(lastKanji == std::string::npos || jisBytes.rfind("\x1B(B") > lastKanji);
  const std::string jis = TStringCodeConverter::JISToSJIS(jisBytes);
  Check(TStringCodeConverter::JISToSJIS(TStringCodeConverter::SJISToJIS(jis)) == jis);
  const std::string euc = TStringCodeConverter::EUCToSJIS(TStringCodeConverter::SJISToEUC(text));
  Check(TStringCodeConverter::EUCToSJIS(TStringCodeConverter::SJISToEUC(euc)) == euc);
  const std::string utf8 = converter.UTF8NToSJIS(converter.SJISToUTF8(text));
  Check(converter.UTF8NToSJIS(converter.SJISToUTF8(utf8)) == utf8);
  Check(converter.UnicodeBEToSJIS(converter.SJISToUnicodeBE(utf8)) == utf8);

  // The document round trip: load with detection, save in every code, load again.
  FakeFileSystem fs;
  FakeDialogs dialogs;
  if (size > 0 && data[0] & 1) dialogs.answers.push_back(IDialogs::Answer::No);
  TFileManager manager(fs, codePage, dialogs);
  fs.AddFile("/tmp/in.txt", std::string(bytes));
  std::string loaded;
  TReturnCode returnCode = rcNone;
  TCharCode charCode = ccAuto;
  TLoadReport loadReport;
  if (!manager.LoadText("/tmp/in.txt", loaded, true, true, returnCode, charCode, &loadReport)) return 0;
  Check(returnCode != rcNone);
  Check(loaded.find('\0') == std::string::npos);
  for (TCharCode code : kCodes) {
    TSaveReport saveReport;
    manager.SaveText("/tmp/out.txt", loaded, returnCode, code, &saveReport);
    std::string again;
    TReturnCode againReturn = rcNone;
    TCharCode againCode = code;
    manager.LoadText("/tmp/out.txt", again, false, true, againReturn, againCode);
  }
  return 0;
}
