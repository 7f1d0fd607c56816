#include "document/TIniFile.h"

#include <gtest/gtest.h>

#include "platform/fake/FakeFileSystem.h"

namespace kerv {
namespace {

TEST(TIniFileTest, ReadingRules) {
  FakeFileSystem fs;
  fs.AddFile("/opt/kerv/a.ini",
             "; comment\r\n"
             "  [Settings]  \r\n"
             "  UndoNum = 123  \n"
             "Empty=\r"
             ";Skipped=1\r\n"
             "Spaced =  two words  \r\n"
             "Bad=12x\r\n"
             "[other]\r\n"
             "undonum=5\r\n"
             "[SETTINGS]\r\n"
             "Late=1\r\n"
             "UndoNum=999\r\n");
  TIniFile ini(fs, "/opt/kerv/a.ini");
  EXPECT_EQ(ini.ReadInteger("settings", "undonum", 0), 123);
  EXPECT_EQ(ini.ReadString("Settings", "Empty", "x"), "");
  EXPECT_EQ(ini.ReadString("Settings", "Skipped", "none"), "none");
  EXPECT_EQ(ini.ReadString("Settings", "Spaced", ""), "two words");
  EXPECT_EQ(ini.ReadInteger("Settings", "Bad", 7), 7);
  EXPECT_TRUE(ini.ReadBool("Settings", "Late", false));
  EXPECT_EQ(ini.ReadInteger("Other", "UndoNum", 0), 5);
  EXPECT_EQ(ini.ReadSections().size(), 2u);
}

TEST(TIniFileTest, IntegersAndBooleans) {
  FakeFileSystem fs;
  TIniFile ini = TIniFile::FromText(fs, "/tmp/b.ini", "[s]\na=-12\nb=+3\nc=2\nd=0\ne=\nf=99999999999\n");
  EXPECT_EQ(ini.ReadInteger("s", "a", 0), -12);
  EXPECT_EQ(ini.ReadInteger("s", "b", 0), 3);
  EXPECT_TRUE(ini.ReadBool("s", "c", false));
  EXPECT_FALSE(ini.ReadBool("s", "d", true));
  EXPECT_TRUE(ini.ReadBool("s", "e", true));
  EXPECT_EQ(ini.ReadInteger("s", "f", 4), 4);
  EXPECT_EQ(ini.ReadInteger("missing", "a", 8), 8);
}

TEST(TIniFileTest, CaseFoldingNeverTouchesTrailBytes) {
  // "ア" is 83 41 and "チ" is 83 60 ... a trail byte 0x61 ('a') must not match 0x41 ('A').
  EXPECT_TRUE(TIniFile::SameName("Key", "kEY"));
  EXPECT_FALSE(TIniFile::SameName("\x83\x61", "\x83\x41"));
  EXPECT_TRUE(TIniFile::SameName("\x83\x61x", "\x83\x61X"));
}

TEST(TIniFileTest, WriteBackWholeDropsCommentsAndKeepsOrder) {
  FakeFileSystem fs;
  fs.AddFile("/tmp/c.ini", ";c\n[B]\nx=1\n[A]\ny=2\n");
  TIniFile ini(fs, "/tmp/c.ini");
  ini.WriteBool("A", "z", true);
  ini.WriteString("b", "X", "3");
  ini.WriteString("New", "k", "\x83\x65\x83\x58\x83\x67");
  ini.UpdateFile();
  EXPECT_EQ(fs.Contents("/tmp/c.ini"), "[B]\r\nx=3\r\n\r\n[A]\r\ny=2\r\nz=1\r\n\r\n[New]\r\nk=\x83\x65\x83\x58\x83\x67\r\n");
  TIniFile again(fs, "/tmp/c.ini");
  EXPECT_EQ(again.ReadString("new", "K", ""), "\x83\x65\x83\x58\x83\x67");
}

TEST(TIniFileTest, FailedWriteRaisesAndKeepsTheOldFile) {
  FakeFileSystem fs;
  fs.AddFile("/tmp/d.ini", "[s]\na=1\n");
  TIniFile ini(fs, "/tmp/d.ini");
  ini.WriteInteger("s", "a", 2);
  fs.FailWritesTo("/tmp/d.ini");
  EXPECT_THROW(ini.UpdateFile(), EFileError);
  EXPECT_EQ(fs.Contents("/tmp/d.ini"), "[s]\na=1\n");
  EXPECT_TRUE(ini.Modified());
}

TEST(TIniFileTest, MissingFileReadsAsEmpty) {
  FakeFileSystem fs;
  TIniFile ini(fs, "/tmp/none.ini");
  EXPECT_FALSE(ini.SectionExists("s"));
  EXPECT_EQ(ini.ReadString("s", "a", "d"), "d");
}

}  // namespace
}  // namespace kerv

namespace kerv {
namespace {

// Many sections and keys (a damaged file can hold hundreds of thousands):
// lookups by folded name stay right through writes, erasures and duplicates.
TEST(TIniFileTest, ManySectionsAndKeysKeepTheirRules) {
  FakeFileSystem fs;
  std::string text;
  for (int s = 0; s < 300; ++s) {
    text += "[Sec" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 200; ++k) text += "Key" + std::to_string(k) + "=" + std::to_string(s * 1000 + k) + "\r\n";
    text += "KEY0=duplicate\r\n";
  }
  text += "[sec5]\r\nkey7=again\r\nNew=1\r\n";
  TIniFile ini = TIniFile::FromText(fs, "/tmp/many.ini", text);
  EXPECT_EQ(ini.ReadSections().size(), 300u);
  EXPECT_EQ(ini.ReadInteger("SEC299", "key199", -1), 299199);
  EXPECT_EQ(ini.ReadString("sec0", "key0", ""), "0");
  EXPECT_EQ(ini.ReadString("Sec5", "Key7", ""), "5007");
  EXPECT_EQ(ini.ReadString("Sec5", "new", ""), "1");
  ini.EraseSection("sec1");
  EXPECT_FALSE(ini.SectionExists("Sec1"));
  EXPECT_EQ(ini.ReadInteger("Sec2", "Key3", -1), 2003);
  ini.DeleteKey("Sec2", "KEY3");
  EXPECT_FALSE(ini.ValueExists("Sec2", "Key3"));
  EXPECT_EQ(ini.ReadInteger("Sec2", "Key4", -1), 2004);
  ini.WriteString("sec2", "key4", "x");
  ini.WriteString("Fresh", "A", "b");
  EXPECT_EQ(ini.ReadString("SEC2", "KEY4", ""), "x");
  EXPECT_EQ(ini.ReadString("fresh", "a", ""), "b");
  EXPECT_EQ(ini.ReadSection("Sec2").size(), 199u);
}

TEST(TIniFileTest, OnlyRegularFilesOfASettingsFilesSizeAreRead) {
  FakeFileSystem fs;
  // A pipe (whose reading waits for a writer) and a device (which may never
  // end) are refused, and never written into either.
  fs.AddSpecialFile("/opt/kerv/fifo.ini", TFileKind::Fifo);
  fs.AddSpecialFile("/opt/kerv/zero.ini", TFileKind::Other);
  for (const char* path : {"/opt/kerv/fifo.ini", "/opt/kerv/zero.ini"}) {
    EXPECT_THROW(TIniFile(fs, path), EFileError) << path;
    TIniFile ini = TIniFile::FromText(fs, path, "[a]\r\nb=1\r\n");
    EXPECT_THROW(ini.UpdateFile(), EFileError) << path;
  }
  fs.AddFile("/opt/kerv/big.ini", std::string(TIniFile::kMaxFileBytes + 1, ';'));
  try {
    TIniFile ini(fs, "/opt/kerv/big.ini");
    ADD_FAILURE();
  } catch (const EFileError& error) {
    EXPECT_EQ(error.kind(), EFileError::Kind::TooBig);
  }
  fs.AddFile("/opt/kerv/fits.ini", "[a]\r\nb=1\r\n" + std::string(TIniFile::kMaxFileBytes - 10, ';'));
  EXPECT_EQ(TIniFile(fs, "/opt/kerv/fits.ini").ReadInteger("a", "b", 0), 1);
  // A missing file still reads as empty.
  EXPECT_TRUE(TIniFile(fs, "/opt/kerv/none.ini").ReadSections().empty());
}

}  // namespace
}  // namespace kerv
