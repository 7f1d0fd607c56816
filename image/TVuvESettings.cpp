#include "image/TVuvESettings.h"

#include "document/TIniFile.h"
#include "image/EImageError.h"

namespace kerv {
namespace {

constexpr bool IsSystemColor(TColor color) { return (color & 0xFF000000u) == 0xFF000000u; }

TColor Plain(TColor color, TImageColorResolver resolve) {
  return (IsSystemColor(color) && resolve != nullptr) ? resolve(color) : color;
}

// Reads a section's values with the rules every key shares.
class TSectionReader {
 public:
  TSectionReader(const TIniFile& ini, const char* section) : ini_(ini), section_(section) {}

  bool Bool(const char* key, bool defaultValue) const { return ini_.ReadBool(section_, key, defaultValue); }
  int Int(const char* key, int min, int max, int defaultValue) const {
    int value = ini_.ReadInteger(section_, key, defaultValue);
    return (value >= min && value <= max) ? value : defaultValue;
  }
  // Colours are stored as signed 32-bit numbers (a system colour is negative).
  TColor Color(const char* key, TColor defaultValue) const {
    return static_cast<TColor>(ini_.ReadInteger(section_, key, static_cast<int>(defaultValue)));
  }
  // A text with a control byte (a damaged file) reads as the default.
  std::string Text(const char* key, const std::string& defaultValue) const {
    std::string value = ini_.ReadString(section_, key, defaultValue);
    for (char c : value) {
      if (static_cast<unsigned char>(c) < 0x20) return defaultValue;
    }
    return value;
  }
  template <class Enum>
  Enum Choice(const char* key, Enum defaultValue) const {
    return static_cast<Enum>(Int(key, 0, 2, static_cast<int>(defaultValue)));
  }

 private:
  const TIniFile& ini_;
  std::string section_;
};

}  // namespace

void TVuvESettings::ReadIni(const TIniFile& ini) {
  TSectionReader r(ini, kIniSection);
  const TVuvESettings d;  // the kerv.ini defaults
  SizeX = r.Int("SizeX", 0, kMaxSize, d.SizeX);
  SizeY = r.Int("SizeY", 0, kMaxSize, d.SizeY);
  SizeSetType = r.Choice("SizeSetType", d.SizeSetType);
  ExpMargin = r.Bool("ExpMargin", d.ExpMargin);
  TextAlign = r.Choice("TextAlign", d.TextAlign);
  TextVAlign = r.Bool("TextVAlign", d.TextVAlign);
  TopMargin = r.Int("TopMargin", 0, kMaxMargin, d.TopMargin);
  LeftMargin = r.Int("LeftMargin", 0, kMaxMargin, d.LeftMargin);
  BottomMargin = r.Int("BottomMargin", 0, kMaxMargin, d.BottomMargin);
  RightMargin = r.Int("RightMargin", 0, kMaxMargin, d.RightMargin);
  FillMargin = r.Bool("FillMargin", d.FillMargin);
  BackColor = r.Color("BackColor", d.BackColor);
  FillColor = r.Color("FillColor", d.FillColor);
  UseBackImage = r.Bool("UseBackImage", d.UseBackImage);
  BackImagePath = r.Text("BackImagePath", d.BackImagePath);
  TileBackImage = r.Bool("TileBackImage", d.TileBackImage);
  CntCnv = r.Bool("CntCnv", d.CntCnv);
  CntCnv_Foldor = r.Text("CntCnv_Foldor", d.CntCnv_Foldor);
  CntCnv_FileName = r.Text("CntCnv_FileName", d.CntCnv_FileName);
  CntCnv_FileType = r.Int("CntCnv_FileType", 0, 6, d.CntCnv_FileType);
  ShowLineNum = r.Bool("ShowLineNum", d.ShowLineNum);
}

void TVuvESettings::WriteIni(TIniFile& ini, TImageColorResolver resolve) const {
  const char* s = kIniSection;
  ini.WriteInteger(s, "SizeX", SizeX);
  ini.WriteInteger(s, "SizeY", SizeY);
  ini.WriteInteger(s, "SizeSetType", static_cast<int>(SizeSetType));
  ini.WriteBool(s, "ExpMargin", ExpMargin);
  ini.WriteInteger(s, "TextAlign", static_cast<int>(TextAlign));
  ini.WriteBool(s, "TextVAlign", TextVAlign);
  ini.WriteInteger(s, "TopMargin", TopMargin);
  ini.WriteInteger(s, "LeftMargin", LeftMargin);
  ini.WriteInteger(s, "BottomMargin", BottomMargin);
  ini.WriteInteger(s, "RightMargin", RightMargin);
  ini.WriteBool(s, "FillMargin", FillMargin);
  ini.WriteInteger(s, "BackColor", static_cast<int>(Plain(BackColor, resolve)));
  ini.WriteInteger(s, "FillColor", static_cast<int>(Plain(FillColor, resolve)));
  ini.WriteBool(s, "UseBackImage", UseBackImage);
  ini.WriteString(s, "BackImagePath", BackImagePath);
  ini.WriteBool(s, "TileBackImage", TileBackImage);
  ini.WriteBool(s, "CntCnv", CntCnv);
  ini.WriteString(s, "CntCnv_Foldor", CntCnv_Foldor);
  ini.WriteString(s, "CntCnv_FileName", CntCnv_FileName);
  ini.WriteInteger(s, "CntCnv_FileType", CntCnv_FileType);
  ini.WriteBool(s, "ShowLineNum", ShowLineNum);
}

void TVuvESettings::ReadTg2(const TIniFile& ini) {
  if (!ini.SectionExists(kTg2Section)) throw EImageError(TImageMessage::ReadFailed);
  TSectionReader r(ini, kTg2Section);
  AllText = r.Bool("AllText", true);
  LeftMargin = r.Int("LeftMargin", 0, kMaxMargin, 0);
  TopMargin = r.Int("TopMargin", 0, kMaxMargin, 0);
  RightMargin = r.Int("RightMargin", 0, kMaxMargin, 0);
  BottomMargin = r.Int("BottomMargin", 0, kMaxMargin, 0);
  FillMargin = r.Bool("FillMargin", false);
  ExpMargin = r.Bool("ExpandMargin", false);
  UseBackImage = r.Bool("UseBGI", false);
  TileBackImage = r.Bool("TileBGI", false);
  BackImagePath = r.Text("BGIPath", "");
  BackColor = r.Color("BackColor", 0xFFFFFF);
  FillColor = r.Color("MarginColor", 0xFFFFFF);
  TextAlign = r.Choice("TextAlign", TVuvEAlign::Left);
  TextVAlign = r.Bool("TextVAlign", false);
  SizeSetType = r.Choice("MatchType", TVuvESizeMode::Given);
  Font.Name = r.Text("FontName", Font.Name);
  Font.Size = r.Int("FontSize", kMinFontSize, kMaxFontSize, Font.Size);
  Font.Color = r.Color("FontColor", Font.Color);
  Font.Bold = r.Bool("FontBold", false);
  Font.Italic = r.Bool("FontItalic", false);
  Font.UnderLine = r.Bool("FontUnderLine", false);
  CntCnv = r.Bool("CntCnv", false);
  CntCnv_FileType = r.Int("CntCnvFileType", 0, 6, 2);
  CntCnv_Foldor = r.Text("CntCnvSaveFolder", "");
  CntCnv_FileName = r.Text("CntCnv_FileName", "");
  ShowLineNum = r.Bool("ShowLineNum", false);
}

void TVuvESettings::WriteTg2(TIniFile& ini, TImageColorResolver resolve) const {
  const char* s = kTg2Section;
  ini.WriteBool(s, "AllText", AllText);
  ini.WriteInteger(s, "LeftMargin", LeftMargin);
  ini.WriteInteger(s, "TopMargin", TopMargin);
  ini.WriteInteger(s, "RightMargin", RightMargin);
  ini.WriteInteger(s, "BottomMargin", BottomMargin);
  ini.WriteBool(s, "FillMargin", FillMargin);
  ini.WriteBool(s, "ExpandMargin", ExpMargin);
  ini.WriteBool(s, "UseBGI", UseBackImage);
  ini.WriteBool(s, "TileBGI", TileBackImage);
  ini.WriteString(s, "BGIPath", BackImagePath);
  ini.WriteInteger(s, "BackColor", static_cast<int>(BackColor));
  ini.WriteInteger(s, "MarginColor", static_cast<int>(FillColor));
  ini.WriteInteger(s, "TextAlign", static_cast<int>(TextAlign));
  ini.WriteBool(s, "TextVAlign", TextVAlign);
  ini.WriteInteger(s, "MatchType", static_cast<int>(SizeSetType));
  ini.WriteString(s, "FontName", Font.Name);
  ini.WriteInteger(s, "FontSize", Font.Size);
  ini.WriteInteger(s, "FontColor", static_cast<int>(Plain(Font.Color, resolve)));
  ini.WriteBool(s, "FontBold", Font.Bold);
  ini.WriteBool(s, "FontItalic", Font.Italic);
  ini.WriteBool(s, "FontUnderLine", Font.UnderLine);
  ini.WriteBool(s, "CntCnv", CntCnv);
  ini.WriteInteger(s, "CntCnvFileType", CntCnv_FileType);
  ini.WriteString(s, "CntCnvSaveFolder", CntCnv_Foldor);
  ini.WriteString(s, "CntCnv_FileName", CntCnv_FileName);
  ini.WriteBool(s, "ShowLineNum", ShowLineNum);
}

}  // namespace kerv
