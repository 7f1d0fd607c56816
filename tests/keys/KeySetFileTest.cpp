// Key-set files: the .tks format, damaged files, where a set lies, and
// applying a set with the tools' keys taken out.

#include <gtest/gtest.h>

#include "keys/DefaultKeySet.h"
#include "keys/TKervKeySet.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

constexpr const char* kFolder = "/cfg/";

class KeySetFileTest : public ::testing::Test {
 protected:
  KeySetFileTest() { fs_.AddFolder("/cfg"); }

  // A .tks text whose table holds the given bindings.
  static std::string SetText(std::initializer_list<TKeyBinding> bindings, const std::string& extra = "") {
    TKeyTable table;
    for (const TKeyBinding& binding : bindings) table.Set(binding.slot, binding.action);
    return "[Info]\r\nType=KervKeySet\r\n" + extra + "\r\n[Data]\r\nKeySet=" + table.ToHex() + "\r\n";
  }

  FakeFileSystem fs_;
  IconvCodePage codePage_;
  TKervKeySet keySet_{fs_, codePage_, "/cfg"};
};

TEST_F(KeySetFileTest, SaveWritesTheTypeMarkAndTheTable) {
  TKeyTable table;
  table.Set({2, 39}, 1);
  keySet_.SaveSet("mine", table);
  const std::string text = fs_.Contents("/cfg/mine.tks");
  EXPECT_EQ(text, "[Info]\r\nType=KervKeySet\r\n\r\n[Data]\r\nKeySet=" + table.ToHex() + "\r\n");
  const size_t value = text.find("KeySet=") + 7;
  EXPECT_EQ(text.substr(value + 1176, 4), "0100");

  TKeyTable back;
  EXPECT_EQ(keySet_.LoadSet("mine", back).status, TKeySetLoadStatus::Loaded);
  EXPECT_EQ(back, table);
}

TEST_F(KeySetFileTest, OtherSectionsSurviveARewrite) {
  fs_.AddFile("/cfg/mine.tks", "; made by hand\r\n[Note]\r\nWho=me\r\n" + SetText({{{0, 67}, 102}}, "Version=3\r\n"));
  TKeyTable table;
  table.Set({0, 68}, 102);
  keySet_.SaveSet("mine", table);
  TIniFile ini(fs_, "/cfg/mine.tks");
  EXPECT_EQ(ini.ReadString("Note", "Who", ""), "me");
  EXPECT_EQ(ini.ReadString("Info", "Version", ""), "3");
  EXPECT_EQ(ini.ReadString("Data", "KeySet", ""), table.ToHex());
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Note", "Info", "Data"}));
}

TEST_F(KeySetFileTest, ADamagedFileGivesTheBuiltInSetAndIsNeverWrittenOver) {
  const std::string good = SetText({{{0, 70}, 27}});
  const std::string hex = TKeyTable().ToHex();
  const struct {
    const char* what;
    std::string text;
    const char* reason;
  } cases[] = {
      {"short", "[Info]\r\nType=KervKeySet\r\n[Data]\r\nKeySet=" + hex.substr(0, 4000) + "\r\n", "足りません"},
      {"no data", "[Info]\r\nType=KervKeySet\r\n", "足りません"},
      {"not hex", "[Info]\r\nType=KervKeySet\r\n[Data]\r\nKeySet=" + hex.substr(0, 2000) + "XY" + hex.substr(2002) + "\r\n",
       "不正な文字"},
      {"wrong type", "[Info]\r\nType=KervKeySet2\r\n[Data]\r\nKeySet=" + hex + "\r\n", "種類"},
      {"no type", "[Data]\r\nKeySet=" + hex + "\r\n", "種類"},
      {"binary", std::string("\x00\xFF\x10garbage", 10), "種類"},
  };
  for (const auto& c : cases) {
    fs_.AddFile("/cfg/bad.tks", c.text);
    TKeyTable table;
    table.Set({0, 1}, 9);
    const TKeySetLoadResult result = keySet_.LoadSet("bad", table);
    EXPECT_EQ(result.status, TKeySetLoadStatus::Damaged) << c.what;
    EXPECT_NE(result.error.find("/cfg/bad.tks"), std::string::npos) << c.what;
    EXPECT_NE(result.error.find(c.reason), std::string::npos) << c.what << ": " << result.error;
    EXPECT_NE(result.error.find("デフォルトのキー設定を使います。"), std::string::npos) << c.what;
    EXPECT_EQ(table, DefaultKeyTable()) << c.what;

    const TKeySetApplication applied = keySet_.Apply("bad");
    EXPECT_EQ(applied.load.status, TKeySetLoadStatus::Damaged);
    EXPECT_EQ(applied.shortcuts, ActionShortcuts(DefaultKeyTable())) << c.what;

    EXPECT_THROW(keySet_.SaveSet("bad", TKeyTable()), EKeySetError) << c.what;
    EXPECT_EQ(fs_.Contents("/cfg/bad.tks"), c.text) << c.what;
  }
}

TEST_F(KeySetFileTest, AMissingFileOrTheBuiltInNameGivesTheBuiltInSetQuietly) {
  for (const std::string name : {"nothing", "", kDefaultKeySetName, "../escape"}) {
    TKeyTable table;
    const TKeySetLoadResult result = keySet_.LoadSet(name, table);
    EXPECT_EQ(result.status, TKeySetLoadStatus::Defaults) << name;
    EXPECT_TRUE(result.error.empty());
    EXPECT_EQ(table, DefaultKeyTable());
  }
  // The built-in set is never stored, not even when a file has its name.
  fs_.AddFile("/cfg/デフォルト.tks", SetText({{{0, 67}, 1}}));
  EXPECT_EQ(keySet_.Apply(kDefaultKeySetName).shortcuts, ActionShortcuts(DefaultKeyTable()));
  EXPECT_THROW(keySet_.SaveSet(kDefaultKeySetName, TKeyTable()), EKeySetError);
}

TEST_F(KeySetFileTest, MineLivesInMineTksAndABareMineStillLoads) {
  const TKeyBinding f5 = {{0, 71}, 27};  // F5: 半角->全角
  fs_.AddFile("/cfg/mine", "[Extra]\r\nA=1\r\n" + SetText({f5}));
  EXPECT_EQ(keySet_.StoredFile("mine"), "/cfg/mine");
  const TKeySetApplication applied = keySet_.Apply("mine");
  EXPECT_TRUE(applied.load.Loaded());
  EXPECT_EQ(applied.shortcuts[27], 116);  // F5
  EXPECT_EQ(applied.shortcuts[26], 0);    // Ctrl+H is a built-in binding only
  EXPECT_EQ(keySet_.StoredNames(), std::vector<std::string>{"mine"});

  // Saving moves the set to mine.tks with the bare file's other sections; the bare file stays.
  TKeyTable table;
  table.Set({0, 72}, 27);
  keySet_.SaveSet("mine", table);
  EXPECT_EQ(TIniFile(fs_, "/cfg/mine.tks").ReadString("Extra", "A", ""), "1");
  EXPECT_NE(fs_.Contents("/cfg/mine"), "");
  EXPECT_EQ(keySet_.StoredFile("mine"), "/cfg/mine.tks");
  EXPECT_EQ(keySet_.Apply("mine").shortcuts[27], 117);  // F6 from mine.tks
  EXPECT_EQ(keySet_.StoredNames(), std::vector<std::string>{"mine"});
}

TEST_F(KeySetFileTest, OnlyKeySetFilesAreListedUnderTheirBareNames) {
  fs_.AddFile("/cfg/kerv.ini", "[Settings]\r\nKeySet=mine\r\n");
  fs_.AddFile("/cfg/notes", "[Info]\r\nType=Other\r\n");
  fs_.AddFile("/cfg/.hidden", SetText({}));
  fs_.AddFile("/cfg/old", SetText({}));
  fs_.AddFile("/cfg/b.tks", "");
  fs_.AddFile("/cfg/マイ設定.tks", SetText({}));
  fs_.AddFile("/cfg/huge", SetText({}) + std::string(TKervKeySet::kBareFileLimit, ';'));
  fs_.AddFolder("/cfg/Backup");
  const std::string mySet = codePage_.Utf8ToCp932("マイ設定", nullptr);
  EXPECT_EQ(keySet_.StoredNames(), (std::vector<std::string>{"b", "old", mySet}));
  EXPECT_EQ(keySet_.FilePath(mySet), "/cfg/マイ設定.tks");
  EXPECT_EQ(keySet_.StoredFile("notes"), "");
}

TEST_F(KeySetFileTest, AToolOnF3TakesF3FromFindNextUnderTheBuiltInSet) {
  fs_.AddFile("/cfg/kervtool.ini",
              "[ToolLauncher]\r\nNum=2\r\nToolPath0=/bin/grep\r\nShortCutKey0=114\r\n"
              "ToolPath1=/bin/true\r\nShortCutKey1=" + std::to_string(kShortcutCtrl | 'N') + "\r\n");
  const TKeySetApplication applied = keySet_.Apply(kDefaultKeySetName);
  EXPECT_EQ(applied.shortcuts[44], 0);  // Act_Srch_FindNext
  EXPECT_EQ(applied.shortcuts[1], 0);   // Act_File_New lost Ctrl+N
  EXPECT_EQ(applied.shortcuts[45], kShortcutShift | 114);
  EXPECT_EQ(keySet_.ToolShortcuts(), (std::vector<uint16_t>{114, kShortcutCtrl | 'N'}));

  // A stored set loses the key too, and a set written afterwards keeps it free.
  fs_.AddFile("/cfg/mine.tks", SetText({{{0, 69}, 44}}));
  TKeyTable table;
  keySet_.LoadSet("mine", table);
  EXPECT_EQ(table.ActionAt({0, 69}), 0);
}

}  // namespace
}  // namespace kerv
