// The checks the converter's settings fuzz targets share: a failed check
// aborts, and every value must lie within what the dialog's controls take.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "image/TVuvESettings.h"

namespace kerv::fuzz {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "image fuzz: %s\n", what);
    std::abort();
  }
}

void CheckRanges(const TVuvESettings& s) {
  for (int margin : {s.LeftMargin, s.TopMargin, s.RightMargin, s.BottomMargin}) {
    Check(margin >= 0 && margin <= TVuvESettings::kMaxMargin, "a margin outside 0-999");
  }
  Check(s.SizeX >= 0 && s.SizeX <= TVuvESettings::kMaxSize && s.SizeY >= 0 && s.SizeY <= TVuvESettings::kMaxSize,
        "a size outside 0-30000");
  Check(static_cast<int>(s.SizeSetType) >= 0 && static_cast<int>(s.SizeSetType) <= 2, "a size mode outside 0-2");
  Check(static_cast<int>(s.TextAlign) >= 0 && static_cast<int>(s.TextAlign) <= 2, "an alignment outside 0-2");
  Check(s.CntCnv_FileType >= 0 && s.CntCnv_FileType <= 6, "an output type outside 0-6");
  Check(s.Font.Size >= TVuvESettings::kMinFontSize && s.Font.Size <= TVuvESettings::kMaxFontSize,
        "a font size outside its range");
  // A control byte would break the ini line it is written to.
  for (const std::string* text : {&s.BackImagePath, &s.Font.Name, &s.CntCnv_FileName, &s.CntCnv_Foldor}) {
    for (char c : *text) Check(static_cast<unsigned char>(c) >= 0x20, "a text with a control byte");
  }
}

}  // namespace kerv::fuzz
