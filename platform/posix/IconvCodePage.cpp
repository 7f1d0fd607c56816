#include "platform/posix/IconvCodePage.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace kerv {
namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : handle_(::iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv_open failed: ") + from);
  }
  ~Iconv() { ::iconv_close(handle_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  iconv_t get() const { return handle_; }

 private:
  iconv_t handle_;
};

// Runs iconv over in, calling onBad(consumedSoFar) at every input it rejects;
// onBad returns how many input bytes to skip and appends its own replacement.
template <typename Out, typename OnBad>
void Convert(const Iconv& cd, const char* in, size_t inSize, Out& out, OnBad onBad) {
  using Unit = typename Out::value_type;
  const char* start = in;
  size_t capacity = inSize * 4 / sizeof(Unit) + 16;
  out.resize(capacity);
  size_t used = 0;
  ::iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  while (inSize > 0) {
    char* outPtr = reinterpret_cast<char*>(out.data() + used);
    size_t outLeft = (capacity - used) * sizeof(Unit);
    size_t outBefore = outLeft;
    char* inPtr = const_cast<char*>(in);
    size_t rc = ::iconv(cd.get(), &inPtr, &inSize, &outPtr, &outLeft);
    used += (outBefore - outLeft) / sizeof(Unit);
    in = inPtr;
    if (rc != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      capacity = capacity * 2 + 16;
      out.resize(capacity);
      continue;
    }
    // EILSEQ or EINVAL (a sequence cut off at the end): replace and go on.
    out.resize(used);
    size_t skip = onBad(static_cast<size_t>(in - start), inSize);
    if (skip > inSize) skip = inSize;
    in += skip;
    inSize -= skip;
    used = out.size();
    if (capacity < used + 16) capacity = used + inSize * 4 / sizeof(Unit) + 16;
    out.resize(capacity);
  }
  out.resize(used);
}

}  // namespace

std::u16string IconvCodePage::Cp932ToUtf16(std::string_view text) {
  static Iconv cd("UTF-16LE", "CP932");
  std::u16string out;
  Convert(cd, text.data(), text.size(), out, [&](size_t index, size_t left) -> size_t {
    // A byte that is not Shift_JIS stands for itself in the Latin-1 block so
    // that nothing is lost; a lead byte without its trail goes the same way.
    out.push_back(static_cast<unsigned char>(text[index]));
    (void)left;
    return 1;
  });
  return out;
}

std::string IconvCodePage::Utf16ToCp932(std::u16string_view text, ConversionReport* report) {
  static Iconv cd("CP932", "UTF-16LE");
  std::string out;
  Convert(cd, reinterpret_cast<const char*>(text.data()), text.size() * 2, out, [&](size_t byteIndex, size_t left) -> size_t {
    size_t unit = byteIndex / 2;
    if (report) report->Note(unit);
    out.push_back('?');
    // A surrogate pair is one character.
    char16_t c = text[unit];
    if (c >= 0xD800 && c <= 0xDBFF && left >= 4) {
      char16_t next = text[unit + 1];
      if (next >= 0xDC00 && next <= 0xDFFF) return 4;
    }
    return 2;
  });
  return out;
}

std::u16string IconvCodePage::Utf8ToUtf16(std::string_view text, ConversionReport* report) {
  static Iconv cd("UTF-16LE", "UTF-8");
  std::u16string out;
  Convert(cd, text.data(), text.size(), out, [&](size_t index, size_t) -> size_t {
    if (report) report->Note(index);
    out.push_back(u'\uFFFD');
    return 1;
  });
  return out;
}

std::string IconvCodePage::Utf16ToUtf8(std::u16string_view text) {
  static Iconv cd("UTF-8", "UTF-16LE");
  std::string out;
  Convert(cd, reinterpret_cast<const char*>(text.data()), text.size() * 2, out, [&](size_t, size_t left) -> size_t {
    out += "\xEF\xBF\xBD";  // a lone surrogate
    return left >= 2 ? 2 : left;
  });
  return out;
}

}  // namespace kerv
