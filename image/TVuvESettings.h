#pragma once
// The converter's settings: every control of the dialog that is kept, with
// its defaults, and their two ini forms: section VuvEConverter of kerv.ini
// (the dialog's last state) and section VuvESettings of a .tg2 file. The two
// differ in key names and in some defaults (the size mode, tiling), and only
// the .tg2 form holds the text range and the font, only kerv.ini the size.

#include <string>

#include "image/TRasterImage.h"

namespace kerv {

class TIniFile;

// Turns a system colour (high byte 0xFF) into its red/green/blue value; the
// same function type as the edit modes' TSystemColorResolver.
using TImageColorResolver = TColor (*)(TColor color);

enum class TVuvESizeMode : int {
  Given = 0,       // "任意指定(&R)": the width and height fields
  FitText = 1,     // "テキストにあわせる(&T)"
  FitPicture = 2,  // "背景画像にあわせる(&G)"
};

enum class TVuvEAlign : int { Left = 0, Center = 1, Right = 2 };

// The text's font (Shift_JIS name, size in points).
struct TVuvEFont {
  std::string Name;
  int Size = 10;
  TColor Color = 0x000000;
  bool Bold = false;
  bool Italic = false;
  bool UnderLine = false;
  bool StrikeOut = false;  // only a .tgs record carries it
  friend bool operator==(const TVuvEFont&, const TVuvEFont&) = default;
};

struct TVuvESettings {
  static constexpr const char* kIniSection = "VuvEConverter";
  static constexpr const char* kTg2Section = "VuvESettings";
  static constexpr int kMaxSize = 30000;            // width and height fields, pixels
  static constexpr int kMaxMargin = 999;            // each margin, pixels
  static constexpr int kMinFontSize = 1;            // points
  static constexpr int kMaxFontSize = 1000;
  static constexpr size_t kMaxPathChars = 2048;     // picture path and output folder
  static constexpr size_t kMaxStemChars = 210;      // file-name stem
  static constexpr int kMaxLineField = 10000;       // first and last line fields

  // Fields are named after their kerv.ini keys; the defaults are kerv.ini's.
  bool AllText = true;  // "テキスト全体(&A)"; false: "選択部分のみ(&S)"
  TVuvEAlign TextAlign = TVuvEAlign::Left;
  bool TextVAlign = false;
  TVuvESizeMode SizeSetType = TVuvESizeMode::FitText;
  int SizeX = 300;
  int SizeY = 200;
  bool ExpMargin = false;
  int LeftMargin = 0;
  int TopMargin = 0;
  int RightMargin = 0;
  int BottomMargin = 0;
  bool FillMargin = false;
  TColor BackColor = 0xFFFFFF;
  TColor FillColor = 0xFFFFFF;  // .tg2 key MarginColor
  bool UseBackImage = false;
  std::string BackImagePath;    // native path (UTF-8)
  bool TileBackImage = true;
  TVuvEFont Font;               // kerv.ini keeps none: the editor's font when the dialog opens
  bool CntCnv = false;
  std::string CntCnv_FileName;  // the stem, native (UTF-8)
  int CntCnv_FileType = 2;      // output type index 0-6
  std::string CntCnv_Foldor;    // output folder, native (UTF-8); .tg2 key CntCnvSaveFolder
  bool ShowLineNum = false;
  // The line range of a continuous conversion (1-based, both included);
  // stored nowhere.
  int FirstLine = 1;
  int LastLine = 1;

  friend bool operator==(const TVuvESettings&, const TVuvESettings&) = default;

  // Section VuvEConverter. A missing key or a value outside its range gives
  // the kerv.ini default; the text range, the font and the line range are
  // left as they are.
  void ReadIni(const TIniFile& ini);
  // Writes the section's keys in the dialog's order; the colours as plain
  // values (system colours resolved). The caller writes the file back.
  void WriteIni(TIniFile& ini, TImageColorResolver resolve) const;

  // Section VuvESettings of a .tg2 file. A missing key or a value outside its
  // range gives the .tg2 default, except the font's name, size and colour,
  // which keep the current font's; the size and the line range stay. A file
  // without the section is no settings file: EImageError (ReadFailed), and
  // nothing is changed.
  void ReadTg2(const TIniFile& ini);
  // The keys in the .tg2 order into ini; the font colour resolved, the
  // other colours as held.
  void WriteTg2(TIniFile& ini, TImageColorResolver resolve) const;
};

}  // namespace kerv
