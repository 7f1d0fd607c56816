// Any bytes as a .tg2 settings file and as the converter's section of
// kerv.ini. Reading must never crash and must leave every value within the
// dialog's ranges; what is then written must read back unchanged.

#include <cstddef>
#include <cstdint>
#include <string>

#include "document/TIniFile.h"
#include "image/EImageError.h"
#include "image/TVuvESettingsFile.h"
#include "platform/fake/FakeFileSystem.h"

namespace kerv::fuzz {
void Check(bool condition, const char* what);  // fuzz_image_checks.cpp
void CheckRanges(const TVuvESettings& settings);
}  // namespace kerv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kerv;
  auto keep = [](TColor color) { return color; };
  std::string bytes(reinterpret_cast<const char*>(data), size);
  FakeFileSystem fs;
  fs.AddFolder("/s");
  fs.AddFile("/s/a.tg2", bytes);

  TVuvESettings settings;
  try {
    LoadVuvESettingsFile(fs, "/s/a.tg2", settings, nullptr);
  } catch (const EImageError& error) {
    fuzz::Check(error.Message() == TImageMessage::ReadFailed, "an unexpected failure");
    fuzz::Check(settings == TVuvESettings(), "a file without the section changed a field");
  }
  fuzz::CheckRanges(settings);
  SaveTg2File(fs, "/s/b.tg2", settings, keep);
  TVuvESettings back;
  LoadVuvESettingsFile(fs, "/s/b.tg2", back, nullptr);
  fuzz::Check(back == settings, "a .tg2 round trip changed a field");

  TVuvESettings dialog;
  dialog.ReadIni(TIniFile::FromText(fs, "/s/kerv.ini", bytes));
  fuzz::CheckRanges(dialog);
  TIniFile ini = TIniFile::FromText(fs, "/s/kerv.ini", "");
  dialog.WriteIni(ini, keep);
  TVuvESettings again;
  again.ReadIni(TIniFile::FromText(fs, "/s/kerv.ini", ini.Text()));
  fuzz::Check(again == dialog, "a kerv.ini round trip changed a field");
  return 0;
}
