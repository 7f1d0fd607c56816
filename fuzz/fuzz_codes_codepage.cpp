// The code page tables against iconv itself: every conversion of arbitrary
// input must equal a plain iconv stream that replaces what iconv rejects.
#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/IconvCodePage.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

template <typename Out, typename OnBad>
void Stream(const char* to, const char* from, const char* in, size_t inSize, Out& out, OnBad onBad) {
  using Unit = typename Out::value_type;
  static thread_local std::vector<Unit> buffer;
  iconv_t cd = ::iconv_open(to, from);
  Check(cd != reinterpret_cast<iconv_t>(-1));
  const char* start = in;
  buffer.resize(inSize * 4 + 16);
  while (inSize > 0) {
    char* outPtr = reinterpret_cast<char*>(buffer.data());
    size_t outLeft = buffer.size() * sizeof(Unit);
    char* inPtr = const_cast<char*>(in);
    size_t rc = ::iconv(cd, &inPtr, &inSize, &outPtr, &outLeft);
    out.append(buffer.data(), static_cast<size_t>(reinterpret_cast<Unit*>(outPtr) - buffer.data()));
    in = inPtr;
    if (rc != static_cast<size_t>(-1)) break;
    size_t skip = std::min(onBad(static_cast<size_t>(in - start), inSize), inSize);
    in += skip;
    inSize -= skip;
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  ::iconv_close(cd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static kerv::IconvCodePage codePage;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::u16string units;
  for (size_t k = 0; k + 1 < size; k += 2) units.push_back(static_cast<char16_t>(data[k] | data[k + 1] << 8));

  std::u16string fromCp932;
  Stream("UTF-16LE", "CP932", bytes.data(), size, fromCp932, [&](size_t index, size_t) -> size_t {
    fromCp932.push_back(data[index]);
    return 1;
  });
  Check(codePage.Cp932ToUtf16(bytes) == fromCp932);

  std::u16string fromUtf8;
  size_t malformed = 0;
  Stream("UTF-16LE", "UTF-8", bytes.data(), size, fromUtf8, [&](size_t, size_t) -> size_t {
    fromUtf8.push_back(u'\uFFFD');
    ++malformed;
    return 1;
  });
  kerv::ConversionReport report;
  Check(codePage.Utf8ToUtf16(bytes, &report) == fromUtf8);
  Check(report.replaced == malformed);

  std::string toCp932;
  Stream("CP932", "UTF-16LE", reinterpret_cast<const char*>(units.data()), units.size() * 2, toCp932,
         [&](size_t byteIndex, size_t left) -> size_t {
           size_t unit = byteIndex / 2;
           toCp932.push_back('?');
           bool pair = units[unit] >= 0xD800 && units[unit] <= 0xDBFF && left >= 4 && units[unit + 1] >= 0xDC00 &&
                       units[unit + 1] <= 0xDFFF;
           return pair ? 4 : 2;
         });
  Check(codePage.Utf16ToCp932(units, nullptr) == toCp932);

  std::string toUtf8;
  Stream("UTF-8", "UTF-16LE", reinterpret_cast<const char*>(units.data()), units.size() * 2, toUtf8,
         [&](size_t, size_t left) -> size_t {
           toUtf8 += "\xEF\xBF\xBD";
           return left >= 2 ? 2 : left;
         });
  Check(codePage.Utf16ToUtf8(units) == toUtf8);

  // The direct paths give what the two steps give.
  Check(codePage.Cp932ToUtf8(bytes) == codePage.Utf16ToUtf8(fromCp932));
  Check(codePage.Utf8ToCp932(bytes, nullptr) == codePage.Utf16ToCp932(fromUtf8, nullptr));
  return 0;
}
