#include "format/TNumberingOptions.h"

#include "document/TIniFile.h"
#include "format/FormatMessages.h"
#include "format/ParseInteger.h"
#include "format/TCharTables.h"
#include "format/TStringFormatter.h"

namespace kerv {
namespace {

// "これはサンプルです。" in Shift_JIS, the sample's first and last line.
constexpr std::string_view kSampleLine = "\x82\xB1\x82\xEA\x82\xCD\x83\x54\x83\x93\x83\x76\x83\x8B\x82\xC5\x82\xB7\x81\x42";

}  // namespace

TNumberingOptions TNumberingOptions::Read(const TIniFile& ini) {
  TNumberingOptions options;
  int start = ini.ReadInteger(kSection, "StartNumber", options.startNumber);
  if (start >= kMinStartNumber && start <= kMaxStartNumber) options.startNumber = start;
  options.separateStr = ini.ReadString(kSection, "SeparateStr", options.separateStr);
  int alignment = ini.ReadInteger(kSection, "Alignment", 0);
  options.alignment = (alignment >= 0 && alignment <= 2) ? static_cast<TNumberAlignment>(alignment) : TNumberAlignment::Left;
  return options;
}

void TNumberingOptions::Write(TIniFile& ini) const {
  ini.WriteInteger(kSection, "StartNumber", startNumber);
  ini.WriteString(kSection, "SeparateStr", separateStr);
  ini.WriteInteger(kSection, "Alignment", static_cast<int>(alignment));
}

std::optional<int> TNumberingOptions::ParseStartNumber(std::string_view text) {
  return ParseIntegerInRange(text, kMinStartNumber, kMaxStartNumber);
}

std::string TNumberingOptions::NumberFormat() const {
  std::string format;
  switch (alignment) {
    case TNumberAlignment::Left: format = "%d"; break;
    case TNumberAlignment::Digits: format = "%\td"; break;
    case TNumberAlignment::ZeroFill: format = "%.\td"; break;
  }
  // The separator is the user's text: it must reach the output as typed,
  // never as a conversion or as the width placeholder.
  for (size_t i = 0; i < separateStr.size();) {
    size_t len = SjisCharBytes(separateStr, i);
    if (len == 1 && separateStr[i] == '%') format += "%%";
    else if (len == 1 && separateStr[i] == '\t') format += ' ';
    else format.append(separateStr, i, len);
    i += len;
  }
  return format;
}

std::string TNumberingOptions::Apply(std::string_view text) const {
  return TStringFormatter::InsertNumbers(text, NumberFormat(), startNumber);
}

TNumberingOptions::Preview TNumberingOptions::MakePreview() const {
  std::string sample(kSampleLine);
  for (int line = 1; line < kPreviewLines; ++line) sample += "\r\n";
  sample += kSampleLine;
  std::string numbered = Apply(sample);
  Preview preview;
  preview.firstLine = numbered.substr(0, numbered.find('\r'));
  preview.lastLine = numbered.substr(numbered.rfind('\n') + 1);
  preview.ellipsisLine = FormatMessage(TFormatMessage::PreviewEllipsis);
  return preview;
}

}  // namespace kerv
