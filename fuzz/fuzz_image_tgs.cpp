// Any bytes as a .tgs settings record. Reading must never crash; whatever it
// leaves set (all of it, or the fields before an unreadable one) must be
// within the dialog's ranges and must survive a .tg2 file written and read
// back unchanged.

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/EImageError.h"
#include "image/TVuvESettingsFile.h"
#include "platform/fake/FakeFileSystem.h"

namespace kerv::fuzz {
void Check(bool condition, const char* what);  // fuzz_image_checks.cpp
void CheckRanges(const TVuvESettings& settings);
}  // namespace kerv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kerv;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  TVuvESettings settings;
  try {
    ReadTgsRecord(bytes, settings, nullptr);
    fuzz::Check(size >= kTgsRecordBytes, "a short record was read");
  } catch (const EImageError& error) {
    fuzz::Check(error.Message() == TImageMessage::ReadFailed || error.Message() == TImageMessage::TgsTooShort,
                "an unexpected failure");
    if (size < kTgsRecordBytes) fuzz::Check(settings == TVuvESettings(), "a short record set a field");
  }
  fuzz::CheckRanges(settings);

  FakeFileSystem fs;
  fs.AddFolder("/s");
  SaveTg2File(fs, "/s/a.tg2", settings, [](TColor color) { return color; });
  TVuvESettings back;
  LoadVuvESettingsFile(fs, "/s/a.tg2", back, nullptr);
  back.Font.StrikeOut = settings.Font.StrikeOut;  // only a .tgs record carries it
  fuzz::Check(back == settings, "a .tg2 round trip changed a field");
  return 0;
}
