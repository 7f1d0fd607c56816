// The converter's settings: kerv.ini and .tg2 round trips, key orders and
// defaults, the .tgs record, the file-name rule and damaged files.

#include <gtest/gtest.h>

#include "document/TIniFile.h"
#include "image/EImageError.h"
#include "image/TVuvESettingsFile.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

// System colour 5 (the window) is pale yellow here, so that a resolved
// colour cannot pass for an unresolved one.
TColor Resolve(TColor color) { return color == 0xFF000005 ? 0x00CCFFFF : 0x00123456; }

IconvCodePage& CodePage() {
  static IconvCodePage codePage;
  return codePage;
}
std::string Sjis(std::string_view utf8) { return CodePage().Utf8ToCp932(utf8, nullptr); }

// Every field away from its defaults (as a dialog might hold them).
TVuvESettings Changed() {
  TVuvESettings s;
  s.AllText = false;
  s.TextAlign = TVuvEAlign::Right;
  s.TextVAlign = true;
  s.SizeSetType = TVuvESizeMode::FitPicture;
  s.SizeX = 1234;
  s.SizeY = 567;
  s.ExpMargin = true;
  s.LeftMargin = 10;
  s.TopMargin = 20;
  s.RightMargin = 30;
  s.BottomMargin = 999;
  s.FillMargin = true;
  s.BackColor = 0x00112233;
  s.FillColor = 0x00445566;
  s.UseBackImage = true;
  s.BackImagePath = "/home/user/画像/back ground.png";
  s.TileBackImage = false;
  s.Font = TVuvEFont{Sjis("ＭＳ 明朝"), 24, 0x000000FF, true, true, true, false};
  s.CntCnv = true;
  s.CntCnv_FileName = "line%%";
  s.CntCnv_FileType = 6;
  s.CntCnv_Foldor = "/tmp/out";
  s.ShowLineNum = true;
  return s;
}

TIniFile Ini(FakeFileSystem& fs, const std::string& text) { return TIniFile::FromText(fs, "/k/kerv.ini", text); }

TEST(VuvESettingsTest, KervIniDefaults) {
  FakeFileSystem fs;
  TVuvESettings s = Changed();
  s.ReadIni(Ini(fs, ""));
  TVuvESettings d;
  EXPECT_EQ(s.SizeSetType, TVuvESizeMode::FitText);
  EXPECT_TRUE(s.TileBackImage);
  EXPECT_EQ(s.SizeX, 300);
  EXPECT_EQ(s.SizeY, 200);
  EXPECT_EQ(s.BackColor, 0xFFFFFFu);
  EXPECT_EQ(s.FillColor, 0xFFFFFFu);
  EXPECT_EQ(s.CntCnv_FileType, 2);
  EXPECT_EQ(s.TextAlign, d.TextAlign);
  EXPECT_EQ(s.BackImagePath, "");
  // kerv.ini keeps neither the text range nor the font.
  EXPECT_FALSE(s.AllText);
  EXPECT_EQ(s.Font.Name, Changed().Font.Name);
}

TEST(VuvESettingsTest, KervIniKeysInTheDialogsOrderAndBack) {
  FakeFileSystem fs;
  TIniFile ini = Ini(fs, "");
  TVuvESettings s = Changed();
  s.BackColor = 0xFF000005;  // a system colour is written as its value
  s.WriteIni(ini, &Resolve);
  EXPECT_EQ(ini.ReadSection("VuvEConverter"),
            (std::vector<std::string>{"SizeX", "SizeY", "SizeSetType", "ExpMargin", "TextAlign", "TextVAlign",
                                      "TopMargin", "LeftMargin", "BottomMargin", "RightMargin", "FillMargin",
                                      "BackColor", "FillColor", "UseBackImage", "BackImagePath", "TileBackImage",
                                      "CntCnv", "CntCnv_Foldor", "CntCnv_FileName", "CntCnv_FileType",
                                      "ShowLineNum"}));
  EXPECT_EQ(ini.ReadString("VuvEConverter", "BackColor", ""), std::to_string(0x00CCFFFF));
  // Reading back changes what kerv.ini holds and nothing else (the text
  // range and the font are not among its keys).
  TVuvESettings back;
  back.AllText = false;
  back.Font = Changed().Font;
  back.ReadIni(Ini(fs, ini.Text()));
  TVuvESettings expected = Changed();
  expected.BackColor = 0x00CCFFFF;
  EXPECT_EQ(back, expected);
}

TEST(VuvESettingsTest, ValuesOutsideTheirRangesReadAsDefaults) {
  FakeFileSystem fs;
  TVuvESettings s = Changed();
  s.ReadIni(Ini(fs,
                "[VuvEConverter]\r\nSizeX=30001\r\nSizeY=-1\r\nSizeSetType=3\r\nTextAlign=-1\r\nLeftMargin=1000\r\n"
                "TopMargin=abc\r\nCntCnv_FileType=7\r\nBackImagePath=a\x01"
                "b\r\nTileBackImage=0\r\n"));
  EXPECT_EQ(s.SizeX, 300);
  EXPECT_EQ(s.SizeY, 200);
  EXPECT_EQ(s.SizeSetType, TVuvESizeMode::FitText);
  EXPECT_EQ(s.TextAlign, TVuvEAlign::Left);
  EXPECT_EQ(s.LeftMargin, 0);
  EXPECT_EQ(s.TopMargin, 0);
  EXPECT_EQ(s.CntCnv_FileType, 2);
  EXPECT_EQ(s.BackImagePath, "");
  EXPECT_FALSE(s.TileBackImage);
}

TEST(VuvESettingsTest, Tg2KeysInOrderWithoutTheSize) {
  FakeFileSystem fs;
  TVuvESettings s = Changed();
  s.BackColor = 0xFF000005;    // written as held
  s.Font.Color = 0xFF000005;  // written resolved
  TIniFile tg2 = Ini(fs, Tg2Text(fs, s, &Resolve));
  EXPECT_EQ(tg2.ReadSections(), std::vector<std::string>{"VuvESettings"});
  EXPECT_EQ(tg2.ReadSection("VuvESettings"),
            (std::vector<std::string>{"AllText", "LeftMargin", "TopMargin", "RightMargin", "BottomMargin",
                                      "FillMargin", "ExpandMargin", "UseBGI", "TileBGI", "BGIPath", "BackColor",
                                      "MarginColor", "TextAlign", "TextVAlign", "MatchType", "FontName", "FontSize",
                                      "FontColor", "FontBold", "FontItalic", "FontUnderLine", "CntCnv",
                                      "CntCnvFileType", "CntCnvSaveFolder", "CntCnv_FileName", "ShowLineNum"}));
  EXPECT_EQ(static_cast<TColor>(tg2.ReadInteger("VuvESettings", "BackColor", 0)), 0xFF000005u);
  EXPECT_EQ(tg2.ReadInteger("VuvESettings", "FontColor", 0), 0x00CCFFFF);

  // The size is not part of a .tg2 file: the dialog's stays.
  TVuvESettings back;
  back.SizeX = 11;
  back.SizeY = 22;
  back.ReadTg2(tg2);
  TVuvESettings expected = s;
  expected.SizeX = 11;
  expected.SizeY = 22;
  expected.Font.Color = 0x00CCFFFF;
  EXPECT_EQ(back, expected);
}

TEST(VuvESettingsTest, Tg2DefaultsDifferFromKervIni) {
  FakeFileSystem fs;
  TVuvESettings s = Changed();
  s.ReadTg2(Ini(fs, "[VuvESettings]\r\n"));
  // Fit-text and tiling are kerv.ini's defaults; a .tg2 file's are given size and no tiling.
  EXPECT_EQ(s.SizeSetType, TVuvESizeMode::Given);
  EXPECT_FALSE(s.TileBackImage);
  EXPECT_TRUE(s.AllText);
  EXPECT_EQ(s.CntCnv_FileType, 2);
  EXPECT_EQ(s.BackColor, 0xFFFFFFu);
  EXPECT_EQ(s.FillColor, 0xFFFFFFu);
  EXPECT_FALSE(s.Font.Bold);
  // The font's name, size and colour default to the current font's.
  EXPECT_EQ(s.Font.Name, Changed().Font.Name);
  EXPECT_EQ(s.Font.Size, 24);
  EXPECT_EQ(s.Font.Color, 0x000000FFu);
}

TEST(VuvESettingsTest, AFileWithoutTheSectionChangesNothing) {
  FakeFileSystem fs;
  for (const char* text : {"", "[VuvEConverter]\r\nSizeX=5\r\n", "\x89PNG\r\n\x1A\n\0\0\0\rIHDR"}) {
    TVuvESettings s = Changed();
    try {
      s.ReadTg2(Ini(fs, text));
      ADD_FAILURE() << "read";
    } catch (const EImageError& error) {
      EXPECT_EQ(error.Message(), TImageMessage::ReadFailed);
    }
    EXPECT_EQ(s.TextAlign, Changed().TextAlign);
    EXPECT_EQ(s.LeftMargin, Changed().LeftMargin);
  }
}

// A .tgs record with every field read set to a value of its own.
std::string TgsFixture() {
  std::string r(kTgsRecordBytes, '\0');
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) r[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  auto putText = [&](size_t at, const std::string& text) {
    r[at] = static_cast<char>(text.size());
    r.replace(at + 1, text.size(), text);
  };
  r[0] = 0;  // selection only
  r[1] = 7;  // not read
  r[2] = 1;
  r[3] = 0;
  r[4] = 1;
  r[5] = 1;
  r[6] = 2;  // any non-zero byte is true
  put32(8, 0x00102030);
  put32(12, 0xFF00000F);  // a system colour stays as it is
  putText(16, Sjis("C:\\画像\\表.bmp"));
  put32(272, 11);  // left
  put32(276, 22);  // right
  put32(280, 33);  // top
  put32(284, 44);  // bottom
  put32(304, 1);   // fit the text
  put32(308, 1);   // centred
  put32(584, 36);
  r[588] = 1 | 4 | 8;  // bold, underline, strike-out
  put32(592, 0x000000FF);
  putText(596, Sjis("ＭＳ Ｐゴシック"));
  return r;
}

TEST(VuvESettingsTest, ATgsRecordSetsTheFieldsItHolds) {
  TVuvESettings s;
  ReadTgsRecord(TgsFixture(), s, &CodePage());
  EXPECT_FALSE(s.AllText);
  EXPECT_TRUE(s.UseBackImage);
  EXPECT_FALSE(s.TileBackImage);
  EXPECT_TRUE(s.TextVAlign);
  EXPECT_TRUE(s.ExpMargin);
  EXPECT_TRUE(s.FillMargin);
  EXPECT_EQ(s.BackColor, 0x00102030u);
  EXPECT_EQ(s.FillColor, 0xFF00000Fu);
  EXPECT_EQ(s.BackImagePath, "C:\\画像\\表.bmp");  // "表" ends in 0x5C: converted whole, not cut
  EXPECT_EQ(s.LeftMargin, 11);
  EXPECT_EQ(s.RightMargin, 22);
  EXPECT_EQ(s.TopMargin, 33);
  EXPECT_EQ(s.BottomMargin, 44);
  EXPECT_EQ(s.SizeSetType, TVuvESizeMode::FitText);
  EXPECT_EQ(s.TextAlign, TVuvEAlign::Center);
  EXPECT_EQ(s.Font.Size, 36);
  EXPECT_TRUE(s.Font.Bold);
  EXPECT_FALSE(s.Font.Italic);
  EXPECT_TRUE(s.Font.UnderLine);
  EXPECT_TRUE(s.Font.StrikeOut);
  EXPECT_EQ(s.Font.Color, 0x000000FFu);
  EXPECT_EQ(s.Font.Name, Sjis("ＭＳ Ｐゴシック"));
  // What a .tgs does not hold stays.
  EXPECT_EQ(s.SizeX, 300);
  EXPECT_EQ(s.CntCnv_FileType, 2);
  // Without a code page the path's bytes stay as they are.
  TVuvESettings raw;
  ReadTgsRecord(TgsFixture(), raw, nullptr);
  EXPECT_EQ(raw.BackImagePath, Sjis("C:\\画像\\表.bmp"));
  // Bytes after the record are ignored.
  TVuvESettings longer;
  ReadTgsRecord(TgsFixture() + "trailing", longer, nullptr);
  EXPECT_EQ(longer.Font.Size, 36);
}

TEST(VuvESettingsTest, AShortTgsFailsBeforeAnyFieldIsSet) {
  for (size_t size : {size_t{0}, size_t{16}, kTgsRecordBytes - 1}) {
    TVuvESettings s = Changed();
    try {
      ReadTgsRecord(TgsFixture().substr(0, size), s, nullptr);
      ADD_FAILURE() << size << " bytes read";
    } catch (const EImageError& error) {
      EXPECT_EQ(error.Message(), TImageMessage::TgsTooShort);
      EXPECT_NE(std::string(error.what()).find(std::to_string(size)), std::string::npos);
    }
    EXPECT_EQ(s.LeftMargin, 10);
    EXPECT_EQ(s.TextAlign, TVuvEAlign::Right);
    EXPECT_FALSE(s.AllText);
  }
}

TEST(VuvESettingsTest, UnreadableTgsFieldsKeepWhatWasReadBefore) {
  struct Case {
    const char* what;
    size_t offset;
    uint32_t value;
    bool marginsSet, fontSet, sizeModeSet;
  } cases[] = {
      {"left margin", 272, 1000, false, false, false},
      {"bottom margin", 284, 0xFFFFFFFF, true, false, false},  // left, right and top come first
      {"background colour", 8, 0x12345678, true, false, false},
      {"font size", 584, 0, true, false, false},
      {"font colour", 592, 0x01000000, true, false, false},
      {"size mode", 304, 3, true, true, false},
      {"alignment", 308, 0xFFFFFFFF, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string record = TgsFixture();
    for (int i = 0; i < 4; ++i) record[c.offset + i] = static_cast<char>((c.value >> (8 * i)) & 0xFF);
    TVuvESettings s = Changed();
    try {
      ReadTgsRecord(record, s, nullptr);
      ADD_FAILURE() << "read";
    } catch (const EImageError& error) {
      EXPECT_EQ(error.Message(), TImageMessage::ReadFailed);
      EXPECT_STREQ(error.what(), "読み込みに失敗しました");
    }
    EXPECT_EQ(s.LeftMargin, c.marginsSet ? 11 : 10);
    EXPECT_EQ(s.BottomMargin, c.offset == 284 ? 999 : (c.marginsSet ? 44 : 999));
    EXPECT_EQ(s.Font.Name, c.fontSet ? Sjis("ＭＳ Ｐゴシック") : Changed().Font.Name);
    EXPECT_EQ(s.SizeSetType, c.sizeModeSet ? TVuvESizeMode::FitText : TVuvESizeMode::FitPicture);
    EXPECT_EQ(s.TextAlign, TVuvEAlign::Right);  // the alignment is the last field
  }
  // A text with a control byte is unreadable too.
  std::string record = TgsFixture();
  record[597] = '\n';
  TVuvESettings s;
  EXPECT_THROW(ReadTgsRecord(record, s, nullptr), EImageError);
}

TEST(VuvESettingsTest, OnlyALowerCaseTgsExtensionReadsARecord) {
  struct Case {
    const char* path;
    bool tgs;
  } cases[] = {
      {"/s/a.tgs", true},   {"/s/a.TGS", false}, {"/s/a.Tgs", false},     {"/s/a.tg2", false},
      {"/s/a.b.tgs", true}, {"/s/tgs", false},   {"/s/a.tgs.bak", false}, {"/s.tgs/a", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsTgsFileName(c.path), c.tgs) << c.path;

  FakeFileSystem fs;
  fs.AddFolder("/s");
  fs.AddFile("/s/a.tgs", TgsFixture());
  fs.AddFile("/s/b.TGS", TgsFixture());
  fs.AddFile("/s/c.TGS", Tg2Text(fs, Changed(), &Resolve));
  TVuvESettings s;
  LoadVuvESettingsFile(fs, "/s/a.tgs", s, &CodePage());
  EXPECT_EQ(s.LeftMargin, 11);
  // The same record under ".TGS" is read as a .tg2 file, which it is not.
  TVuvESettings t;
  EXPECT_THROW(LoadVuvESettingsFile(fs, "/s/b.TGS", t, &CodePage()), EImageError);
  EXPECT_EQ(t.LeftMargin, 0);
  LoadVuvESettingsFile(fs, "/s/c.TGS", t, &CodePage());
  EXPECT_EQ(t.LeftMargin, 10);
  try {
    LoadVuvESettingsFile(fs, "/s/missing.tg2", t, nullptr);
    ADD_FAILURE() << "read";
  } catch (const EImageError& error) {
    EXPECT_EQ(error.Message(), TImageMessage::ReadFailed);
  }
}

TEST(VuvESettingsTest, SavingATg2FileWritesItWholeOrSaysWhy) {
  FakeFileSystem fs;
  fs.AddFolder("/s");
  SaveTg2File(fs, "/s/a.tg2", Changed(), &Resolve);
  TVuvESettings back;
  LoadVuvESettingsFile(fs, "/s/a.tg2", back, nullptr);
  EXPECT_EQ(back.CntCnv_FileName, "line%%");
  fs.FailWritesTo("/s/a.tg2");
  try {
    SaveTg2File(fs, "/s/a.tg2", TVuvESettings(), &Resolve);
    ADD_FAILURE() << "written";
  } catch (const EImageError& error) {
    EXPECT_EQ(error.Message(), TImageMessage::SettingsSaveFailed);
  }
  LoadVuvESettingsFile(fs, "/s/a.tg2", back, nullptr);
  EXPECT_EQ(back.LeftMargin, 10);
}

}  // namespace
}  // namespace kerv
