#include "app/settings/TKervPrinterSetting.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/fake/FakeFileSystem.h"

namespace kerv {
namespace {

const char* const kIni = "/home/user/kerv.ini";

TPrintFont EditorFont() {
  TPrintFont font;
  font.name = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック
  font.size = 11;
  font.bold = true;
  font.charSet = 128;
  return font;
}

// The section as written: its lines (CR LF dropped), from the header on.
std::vector<std::string> SectionLines(const TIniFile& ini) {
  std::vector<std::string> lines;
  const std::string text = ini.Text();
  size_t start = text.find("[Printer]");
  while (start != std::string::npos && start < text.size()) {
    const size_t end = text.find("\r\n", start);
    const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (line.empty() || (!lines.empty() && line[0] == '[')) break;
    lines.push_back(line);
    start = end == std::string::npos ? end : end + 2;
  }
  return lines;
}

TEST(TKervPrinterSettingTest, DefaultsAndTheirOrderOnDisk) {
  FakeFileSystem fs;
  TKervPrinterSetting setting(EditorFont());
  TIniFile ini(fs, kIni);
  setting.Save(ini);
  EXPECT_EQ(SectionLines(ini), (std::vector<std::string>{
                                   "[Printer]", "UseEditorFont=0", "FontName=\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E",
                                   "FontSize=11", "FontBold=1", "FontItalic=0", "FontUnderLine=0", "FontCharset=128",
                                   "TopMargin=15", "LeftMargin=10", "BottomMargin=20", "RightMargin=10", "ColumnNum=0",
                                   "ColumnSpace=0", "LineNum=0", "Header=%F %y/%m/%d %t", "HeaderAlign=0",
                                   "Footer=- %p -", "FooterAlign=0", "Copies=1", "Collate=0"}));
}

TEST(TKervPrinterSettingTest, ReadsWhatItWroteAndTheEditorFontFillsMissingFontKeys) {
  FakeFileSystem fs;
  fs.AddFile(kIni,
             "[Printer]\r\nFontName=Serif\r\nFontItalic=1\r\nTopMargin=5\r\nColumnNum=2\r\nColumnSpace=7\r\n"
             "LineNum=1\r\nHeader=%p\r\nHeaderAlign=3\r\nFooter=\r\nFooterAlign=9\r\nCopies=4\r\nCollate=1\r\n");
  TKervPrinterSetting setting(EditorFont());
  setting.Load(TIniFile(fs, kIni));
  EXPECT_EQ(setting.FontName, "Serif");
  EXPECT_TRUE(setting.FontItalic);
  // Not in the file: the editor's.
  EXPECT_EQ(setting.FontSize, 11);
  EXPECT_TRUE(setting.FontBold);
  EXPECT_EQ(setting.FontCharset, 128);
  EXPECT_EQ(setting.TopMargin, 5);
  EXPECT_EQ(setting.LeftMargin, 10);
  EXPECT_EQ(setting.ColumnNum, 2);
  EXPECT_EQ(setting.ColumnSpace, 7);
  EXPECT_TRUE(setting.LineNum);
  EXPECT_EQ(setting.Header, "%p");
  EXPECT_EQ(setting.HeaderAlign, 3);
  EXPECT_EQ(setting.Footer, "");
  EXPECT_EQ(setting.FooterAlign, 9);  // kept as read; the dialog's combo ignores it
  EXPECT_EQ(setting.Copies, 4);
  EXPECT_TRUE(setting.Collate);

  TIniFile written(fs, kIni);
  setting.Save(written);
  TKervPrinterSetting again(TPrintFont{});
  again.Load(written);
  EXPECT_EQ(again.FontName, "Serif");
  EXPECT_EQ(again.FontSize, 11);
  EXPECT_EQ(again.Header, "%p");
  EXPECT_EQ(again.FooterAlign, 9);
}

TEST(TKervPrinterSettingTest, TheEditorFontIsStoredAsNoFont) {
  FakeFileSystem fs;
  TKervPrinterSetting setting(EditorFont());
  setting.UseEditorFont = true;
  TIniFile ini(fs, kIni);
  setting.Save(ini);
  EXPECT_EQ(ini.ReadString("Printer", "FontName", "x"), "");
  for (const char* key : {"FontSize", "FontBold", "FontItalic", "FontUnderLine", "FontCharset"}) {
    EXPECT_EQ(ini.ReadString("Printer", key, "x"), "0") << key;
  }
  // The group keeps its own values for the dialog.
  EXPECT_EQ(setting.FontSize, 11);
  // Read back with the box off (a file edited by hand), the stored font is
  // unusable and the editor's stands in.
  ini.WriteBool("Printer", "UseEditorFont", false);
  TKervPrinterSetting read(EditorFont());
  read.Load(ini);
  const TPrintFont font = read.StoredFont();
  EXPECT_EQ(font.name, EditorFont().name);
  EXPECT_EQ(font.size, 11);
  EXPECT_FALSE(font.bold);
}

}  // namespace
}  // namespace kerv
