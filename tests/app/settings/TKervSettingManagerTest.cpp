#include "app/settings/TKervSettingManager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "app/settings/TKervSettingChecks.h"
#include <atomic>
#include <cstdlib>
#include <thread>
#include <unistd.h>

#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"
#include "platform/posix/PosixFileSystem.h"

namespace kerv {
namespace {

using ::testing::ElementsAre;

const char* const kFolder = "/home/user/.config/kerv/";
const char* const kIni = "/home/user/.config/kerv/kerv.ini";

std::string Sjis(const std::string& utf8) {
  static IconvCodePage codePage;
  return codePage.Utf8ToCp932(utf8, nullptr);
}

// The window's file manager as the lock rule sees it: a held lock refuses
// kerv.ini to every reader and writer, this window's own included.
class FakeDocumentLock : public IKervDocumentLock {
 public:
  std::string document;
  bool locked = false;
  std::vector<std::string> calls;
  std::string DocumentFileName() override { return document; }
  void Unlock() override {
    locked = false;
    calls.push_back("Unlock");
  }
  void ReapplyLock() override {
    locked = true;
    calls.push_back("ReapplyLock");
  }
};

class SettingsFileSystem : public FakeFileSystem {
 public:
  FakeDocumentLock* lock = nullptr;
  bool failReads = false;
  std::string ReadFile(const std::string& path) override {
    Refuse(path, EFileError::Kind::Read);
    return FakeFileSystem::ReadFile(path);
  }
  void WriteFile(const std::string& path, std::string_view data) override {
    Refuse(path, EFileError::Kind::Write);
    FakeFileSystem::WriteFile(path, data);
  }

 private:
  void Refuse(const std::string& path, EFileError::Kind kind) {
    if (failReads && kind == EFileError::Kind::Read) throw EFileError(kind, path, "Input/output error");
    if (lock != nullptr && lock->locked && path == lock->document) throw EFileError(kind, path, "locked");
  }
};

class TKervSettingManagerTest : public ::testing::Test {
 protected:
  TKervSettingManagerTest() { fs_.AddFolder("/home/user/.config/kerv"); }
  TIniFile Written() { return TIniFile(fs_, kIni); }

  SettingsFileSystem fs_;
};

// The default filter lists, as the settings' documentation gives them.
const char* const kOpenFilterUtf8 =
    "テキストファイル(*.txt;*.htm;*.html;*.css;*.xml)|*.txt;*.htm;*.html;*.css;*.xml|プログラミング関連(*.vbp;*.frm;*.cls;*.pas;*.dpr;*.c;*.cpp;*.h;*.hpp;*.java;*.php;*.uva;*.as;*.cgi;*.pl;*.vb;*.cs;*.vbs;*.js)|"
    "*.vbp;*.frm;*.cls;*.pas;*.dpr;*.c;*.cpp;*.h;*.hpp;*.java;*.php;*.uva;*.as;*.cgi;*.pl;*.vb;*.cs;*.vbs;*.js|"
    "システム関連(*.ini;*.inf;*.bat;*.log)|*.ini;*.inf;*.bat;*.log|テキスト(*.txt)|*.txt|HTML(*.htm;*.html)|"
    "*.htm;*.html|スタイルシート(*.css)|*.css|XML(*.xml)|*.xml|CGI(*.cgi;*pl)|*.cgi;*.pl|VisualBasic(*.vbp;*.frm;*.bas;*.cls)|"
    "*.vbp;*.frm;*.bas;*.cls|VisualBasic.NET(*.vb)|*.vb|Delphi(*.pas;*.dpr)|*.pas;*.dpr|C/C++(*.c;*.cpp;*.h;*.hpp)|"
    "*.c;*.cpp;*.h;*.hpp|C#(*.cs)|*.cs|JAVA(*.java)|*.java|JavaScript(*.js)|*.js|VBScript(*.vbs)|*.vbs|PHP(*.php)|"
    "*.php|Uva(*.uva)|*.uva|HSP(*.as)|*.as|設定ファイル(*.ini;*.inf;*.bat)|*.ini;*.inf;*.bat|ログファイル(*.log)|"
    "*.log|すべてのファイル(*.*)|*.*";
const char* const kSaveFilterUtf8 =
    "テキスト(*.txt)|*.txt|HTML(*.html)|*.html|HTML(*.htm)|*.htm|スタイルシート(*.css)|*.css|XML(*.xml)|"
    "*.xml|CGI(*.cgi)|*.cgi|Perl(*.pl)|*.pl|VBプロジェクト(*.vbp)|*.vbp|VBフォーム(*.frm)|*.frm|"
    "VB標準モジュール(*.bas)|*.bas|VBクラス(*.cls)|*.cls|VisualBasic.NET(*.vb)|*.vb|Delphiプロジェクト(*.dpr)|"
    "*.dpr|Delphiユニット(*.pas)|*.pas|C(*.c)|*.c|C++(*.cpp)|*.cpp|C/C++ヘッダ(*.h)|*.h|C#(*.cs)|*.cs|"
    "JAVA(*.java)|*.java|JavaScript(*.js)|*.js|VBScript(*.vbs)|*.vbs|PHP(*.php)|*.php|Uva(*.uva)|*.uva|HSP(*.as)|"
    "*.as|設定ファイル(*.ini)|*.ini|インストール情報(*.inf)|*.inf|バッチファイル(*.bat)|"
    "*.bat|システムファイル(*.sys)|*.sys|ログファイル(*.log)|*.log|すべてのファイル(*.*)|"
    "*.*";

// Every key with its default as the file holds it, written out from the
// settings' documentation rather than taken from the code.
struct DefaultCase {
  const char* section;
  const char* key;
  const char* utf8Value;
};
const DefaultCase kDefaults[] = {
    {"Backup", "SaveBackup", "0"}, {"Backup", "DelphiName", "0"}, {"Backup", "SaveSameDir", "0"},
    {"Backup", "SaveTarget", "/tmp/"}, {"Backup", "RegBackupType", "0"}, {"Backup", "RegBackupNewFile", "1"},
    {"Backup", "Interval", "30"},
    {"Settings", "CheckEditMode", "1"}, {"Settings", "SaveCheckEditMode", "0"}, {"Settings", "NoticeUndoClear", "0"},
    {"Settings", "NoSaveMenu", "0"}, {"Settings", "SaveWinWrap", "0"}, {"Settings", "SelDrag", "1"},
    {"Settings", "KeepCaret", "0"}, {"Settings", "KeepRow", "1"}, {"Settings", "KeepSel", "1"},
    {"Settings", "UndoNum", "30000"},
    {"Settings", "AllowDoubleOpen", "0"}, {"Settings", "BigFileNoWrap", "0"}, {"Settings", "CheckModification", "1"},
    {"Settings", "UTF8NCheck", "1"}, {"Settings", "CheckNull", "0"}, {"Settings", "CheckFileSize", "0"},
    {"Settings", "BigFileSize", "10"}, {"Settings", "HistoryNum", "8"}, {"Settings", "FileLockMode", "0"},
    {"Settings", "OpenFirstFolder", ""}, {"Settings", "SaveFirstFolder", ""}, {"Settings", "DialogPlaceBar", "1"},
    {"Settings", "UseInfoBar", "1"}, {"Settings", "ShowSelSize", "1"}, {"Settings", "InfoBarTime", "10"},
    {"Settings", "KeySet", "デフォルト"},
    {"Settings", "ShowIcon", "0"}, {"Settings", "AppListNum", "15"}, {"Settings", "TempFile", "app_open.tmp"},
    {"Settings", "DelTemp", "1"},
    {"Settings", "ImgWinColor", "8421504"}, {"Settings", "JPEGQuality", "50"}, {"Settings", "PEncoding", "0"},
    {"Settings", "Margin_Left", "2"}, {"Settings", "Margin_Top", "2"}, {"Settings", "Margin_Char", "0"},
    {"Settings", "Margin_Line", "0"}, {"Settings", "CaretStyle", "0"}, {"Settings", "NNToolBarBtn", "0"},
    {"Settings", "NewKerv_New", "0"}, {"Settings", "NewKerv_Open", "0"},
    {"Settings", "WindowWrap", "0"}, {"Settings", "BaseBar", "1"}, {"Settings", "SearchBar", "1"},
    {"Settings", "BaseExpanded", "1"}, {"Settings", "SearchExpanded", "1"}, {"Settings", "ShowStatusBar", "1"},
    {"Settings", "ShowInfoBar", "1"}, {"Settings", "ShowModeList", "1"},
    {"DefaultFont", "Name", "ＭＳ ゴシック"}, {"DefaultFont", "Size", "12"}, {"DefaultFont", "Style", "0"},
    {"Window", "UseUserPos", "0"}, {"Window", "UserPosX", "100"}, {"Window", "UserPosY", "100"},
    {"Window", "UseUserSize", "0"}, {"Window", "UserSizeX", "640"}, {"Window", "UserSizeY", "450"},
    {"Window", "Mode", "0"}, {"Window", "SaveLastWindow", "0"},
    {"Window", "LastPosX", "100"}, {"Window", "LastPosY", "100"}, {"Window", "LastSizeX", "640"},
    {"Window", "LastSizeY", "300"}, {"Window", "LastWindowState", "0"},
    {"SearchOptions", "Confirm", "0"}, {"SearchOptions", "FromTop", "0"}, {"SearchOptions", "AutoComplete", "1"},
    {"SearchOptions", "WholeWord", "0"}, {"SearchOptions", "MatchCase", "0"}, {"SearchOptions", "NoMatchZenkaku", "0"},
    {"SearchOptions", "IncludeRet", "0"}, {"SearchOptions", "IncludeSpace", "0"}, {"SearchOptions", "RegExp", "0"},
    {"SearchOptions", "RegFuzzy", "0"}, {"SearchOptions", "LoopSearch", "0"},
};

TEST_F(TKervSettingManagerTest, AnEmptyFileGivesEveryDefault) {
  fs_.AddFile(kIni, "");
  TKervSettingManager manager(fs_, kFolder);
  ASSERT_TRUE(manager.LoadOnStartup());
  manager.SaveAll();
  manager.SaveSetting(manager.EachProcess());

  TIniFile ini = Written();
  size_t written = 0;
  for (const std::string& section : ini.ReadSections()) written += ini.ReadSection(section).size();
  EXPECT_EQ(written, std::size(kDefaults) + 2);  // and the two filter lists
  for (const DefaultCase& c : kDefaults) {
    EXPECT_EQ(ini.ReadString(c.section, c.key, "<missing>"), Sjis(c.utf8Value)) << c.section << "." << c.key;
  }
  EXPECT_EQ(ini.ReadString("Settings", "OpenDlgFilter", ""), Sjis(kOpenFilterUtf8));
  EXPECT_EQ(ini.ReadString("Settings", "SaveDlgFilter", ""), Sjis(kSaveFilterUtf8));
  EXPECT_EQ(ParseFilterList(manager.FileDialog().OpenDlgFilter).size(), 22u);
  EXPECT_EQ(ParseFilterList(manager.FileDialog().SaveDlgFilter).back(),
            (TKervFilterRow{Sjis("すべてのファイル(*.*)"), "*.*"}));
  // The search options are written in their fixed order.
  EXPECT_THAT(ini.ReadSection("SearchOptions"),
              ElementsAre("Confirm", "FromTop", "AutoComplete", "WholeWord", "MatchCase", "NoMatchZenkaku",
                          "IncludeRet", "IncludeSpace", "LoopSearch", "RegExp", "RegFuzzy"));
}

TEST_F(TKervSettingManagerTest, TheDialogRangesComeFromTheKeyTable) {
  struct RangeCase {
    const char* section;
    const char* key;
    int min, max;
  };
  const RangeCase ranges[] = {
      {"Backup", "Interval", 5, 60},       {"Settings", "UndoNum", 64, 32767},    {"settings", "bigfilesize", 1, 1000},
      {"Settings", "HistoryNum", 0, 20},   {"Settings", "InfoBarTime", 1, 15},    {"Settings", "AppListNum", 1, 30},
      {"Settings", "JPEGQuality", 1, 100}, {"Settings", "Margin_Left", 0, 100},   {"Settings", "Margin_Line", 0, 100},
      {"Window", "UserPosX", 0, 2000},     {"Window", "UserSizeY", 0, 2000},
  };
  for (const RangeCase& c : ranges) {
    const TKervSettingKey* key = FindSettingKey(c.section, c.key);
    ASSERT_NE(key, nullptr) << c.key;
    EXPECT_TRUE(key->HasRange() && key->minValue == c.min && key->maxValue == c.max) << c.key;
  }
  for (const char* unranged : {"FileLockMode", "ImgWinColor", "KeySet"}) {
    EXPECT_FALSE(FindSettingKey("Settings", unranged)->HasRange()) << unranged;
  }
  EXPECT_FALSE(FindSettingKey("Window", "LastPosX")->HasRange());
  EXPECT_EQ(FindSettingKey("Settings", "Unknown"), nullptr);
}

TEST_F(TKervSettingManagerTest, ReadValuesFollowTheirRules) {
  struct RuleCase {
    const char* section;
    const char* key;
    const char* value;
    int expected;
  };
  const RuleCase cases[] = {
      {"Settings", "FileLockMode", "1", 0},     {"Settings", "FileLockMode", "3", 3},
      {"Settings", "FileLockMode", "7", 0},     {"Backup", "RegBackupType", "5", 0},
      {"Backup", "RegBackupType", "2", 2},      {"Backup", "RegBackupType", "-1", 0},
      {"Settings", "UndoNum", "99999", 32767},  // outside the key's range: held to it
      {"Settings", "UndoNum", "-5", 30000},     {"Settings", "UndoNum", "12x", 30000},
      {"Settings", "UndoNum", "99999999999", 30000}, {"Backup", "Interval", "0", 30},
      {"Backup", "Interval", "120", 60},        {"DefaultFont", "Size", "-3", 12},
      {"DefaultFont", "Style", "15", 7},
      // A timer or a window size never overflows, however large the file says.
      {"Settings", "InfoBarTime", "2147483647", 15}, {"Window", "UserSizeX", "100000", 2000},
      {"Window", "UserSizeY", "40000", 2000},
  };
  for (const RuleCase& c : cases) {
    fs_.AddFile(kIni, std::string("[") + c.section + "]\r\n" + c.key + " = " + c.value + "\r\n");
    TKervSettingManager manager(fs_, kFolder);
    manager.LoadAll();
    const TKervSettingKey* key = FindSettingKey(c.section, c.key);
    ASSERT_NE(key, nullptr) << c.key;
    TKervSetting& group = *manager.Groups()[static_cast<size_t>(key->group)];
    EXPECT_EQ(*std::get<int*>(key->field(group)), c.expected) << c.key << "=" << c.value;
  }
  // The font style is written masked to bold, italic and underline.
  TKervSettingManager manager(fs_, kFolder);
  manager.View().FontStyle = 15;
  manager.SaveAll();
  EXPECT_EQ(Written().ReadString("DefaultFont", "Style", ""), "7");
}

TEST_F(TKervSettingManagerTest, SearchOptionsLoadIntoTheFlagWord) {
  fs_.AddFile(kIni, "[SearchOptions]\r\nMatchCase=1\r\nRegExp=2\r\nAutoComplete=0\r\n");
  TKervSettingManager manager(fs_, kFolder);
  manager.Search().SearchFlags = SearchFlag::Down | SearchFlag::SelectionOnly | SearchFlag::LoopSearch;
  manager.LoadAll();
  EXPECT_EQ(manager.Search().SearchFlags, SearchFlag::MatchCase | SearchFlag::RegExp);
  EXPECT_FALSE(manager.Search().AutoComplete);
}

TEST_F(TKervSettingManagerTest, HistoriesKeepBlanksAndWriteNoGaps) {
  TKervSettingManager manager(fs_, kFolder);
  manager.SaveHistory({" a ", "", "b", "two\r\nlines"}, {"\"quoted\""});
  TIniFile ini = Written();
  EXPECT_EQ(ini.ReadInteger("SearchHistory", "Count", -1), 2);
  EXPECT_EQ(ini.ReadString("SearchHistory", "SH0", ""), "\" a \"");
  EXPECT_EQ(ini.ReadString("SearchHistory", "SH1", ""), "\"b\"");
  EXPECT_FALSE(ini.ValueExists("SearchHistory", "SH2"));

  std::vector<std::string> search{"stale"}, replace;
  manager.LoadHistory(search, replace);
  EXPECT_THAT(search, ElementsAre(" a ", "b"));
  EXPECT_THAT(replace, ElementsAre("\"quoted\""));

  // A shorter list leaves no entry of the longer one behind.
  manager.SaveHistory({"x"}, {});
  EXPECT_FALSE(Written().ValueExists("SearchHistory", "SH1"));
}

TEST_F(TKervSettingManagerTest, DamagedHistoriesReadWhatIsThere) {
  fs_.AddFile(kIni,
              "[SearchHistory]\r\nCount=2000000000\r\nSH5=five\r\nSH0=\"zero\"\r\nSH01=no\r\nsh2=\r\nSH3=\"\"\r\n"
              "[ReplaceHistory]\r\nCount=1\r\nRH0=one\r\nRH1=beyond\r\n");
  TKervSettingManager manager(fs_, kFolder);
  std::vector<std::string> search, replace;
  manager.LoadHistory(search, replace);
  EXPECT_THAT(search, ElementsAre("zero", "\"\"", "five"));
  EXPECT_THAT(replace, ElementsAre("one"));
}

TEST_F(TKervSettingManagerTest, SaveAllLeavesThePerWindowGroupAndOtherSections) {
  fs_.AddFile(kIni, "[History]\r\nCount=1\r\nHistory0=/a.txt\r\n[Window]\r\nLastPosX=7\r\n");
  TKervSettingManager manager(fs_, kFolder);
  manager.LoadAll();
  manager.EachProcess().LastPosX = 500;
  manager.EachProcess().BaseBar = false;
  manager.Editor().UndoNum = 1000;
  manager.AcceptDialog(false);
  TIniFile ini = Written();
  EXPECT_EQ(ini.ReadInteger("Settings", "UndoNum", 0), 1000);
  EXPECT_EQ(ini.ReadInteger("Window", "LastPosX", 0), 7);
  EXPECT_FALSE(ini.ValueExists("Settings", "BaseBar"));
  EXPECT_EQ(ini.ReadString("History", "History0", ""), "/a.txt");

  // Applying without saving writes nothing.
  manager.Editor().UndoNum = 2000;
  manager.AcceptDialog(true);
  EXPECT_EQ(Written().ReadInteger("Settings", "UndoNum", 0), 1000);
}

TEST_F(TKervSettingManagerTest, ExitSavesPlacementAndBarsUnlessNoSaveMenu) {
  TKervWindowSnapshot window;
  window.left = 10, window.top = 20, window.width = 800, window.height = 600, window.maximized = true;
  window.baseBar = false, window.modeListVisible = false, window.windowWrap = true;

  for (bool noSaveMenu : {false, true}) {
    fs_.AddFile(kIni, std::string("[Settings]\r\nSaveWinWrap=1\r\nNoSaveMenu=") + (noSaveMenu ? "1" : "0") + "\r\n");
    TKervSettingManager manager(fs_, kFolder);
    manager.LoadAll();
    manager.Search().SearchFlags = SearchFlag::WholeWord;
    manager.SaveOnExit(window, {"find"}, {"put"});
    TIniFile ini = Written();
    EXPECT_EQ(ini.ReadInteger("Window", "LastPosX", 0), 10);
    EXPECT_EQ(ini.ReadInteger("Window", "LastSizeY", 0), 600);
    EXPECT_EQ(ini.ReadInteger("Window", "LastWindowState", 0), 2);
    EXPECT_EQ(ini.ReadString("Settings", "BaseBar", ""), noSaveMenu ? "1" : "0") << noSaveMenu;
    EXPECT_EQ(ini.ReadString("Settings", "ShowModeList", ""), noSaveMenu ? "1" : "0") << noSaveMenu;
    EXPECT_EQ(ini.ReadString("Settings", "WindowWrap", ""), noSaveMenu ? "0" : "1") << noSaveMenu;
    EXPECT_EQ(ini.ReadString("SearchOptions", "WholeWord", ""), "1");
    EXPECT_EQ(ini.ReadString("ReplaceHistory", "RH0", ""), "\"put\"");
    EXPECT_FALSE(ini.ValueExists("Settings", "UndoNum"));  // the dialog's groups are not written at exit
  }
}

TEST_F(TKervSettingManagerTest, TheLockIsReleasedWhileTheDocumentIsKervIni) {
  FakeDocumentLock lock;
  lock.document = kIni;
  lock.locked = true;
  fs_.lock = &lock;
  fs_.AddFile(kIni, "[Settings]\r\nUndoNum=100\r\n");
  TKervSettingManager manager(fs_, kFolder);
  manager.SetDocumentLock(&lock);

  manager.LoadAll();
  EXPECT_EQ(manager.Editor().UndoNum, 100);
  manager.Editor().UndoNum = 200;
  manager.SaveAll();
  EXPECT_TRUE(lock.locked);
  EXPECT_EQ(fs_.Contents(kIni).find("UndoNum=200") != std::string::npos, true);
  EXPECT_THAT(lock.calls, ElementsAre("Unlock", "ReapplyLock", "Unlock", "ReapplyLock"));

  // A feature's own bracket around the store's: one release, one re-lock.
  lock.calls.clear();
  {
    TKervIniAccess outer(manager);
    manager.SaveSetting(manager.Window());
    EXPECT_FALSE(lock.locked);
  }
  EXPECT_THAT(lock.calls, ElementsAre("Unlock", "ReapplyLock"));

  // The lock comes back also when the write fails.
  lock.calls.clear();
  fs_.FailWritesTo(kIni);
  EXPECT_THROW(manager.SaveAll(), EFileError);
  EXPECT_TRUE(lock.locked);

  // Another document is never touched.
  lock.calls.clear();
  lock.document = "/home/user/a.txt";
  manager.LoadAll();
  EXPECT_TRUE(lock.calls.empty());
}

TEST_F(TKervSettingManagerTest, AFailedWriteKeepsThePreviousFile) {
  const std::string before = "[Settings]\r\nUndoNum=100\r\n";
  fs_.AddFile(kIni, before);
  TKervSettingManager manager(fs_, kFolder);
  manager.LoadAll();
  manager.Editor().UndoNum = 5;

  fs_.FailWritesTo(kIni);  // a full disk
  EXPECT_THROW(manager.AcceptDialog(false), EFileError);
  EXPECT_THROW(manager.SaveOnExit({}, {"a"}, {}), EFileError);
  EXPECT_EQ(fs_.Contents(kIni), before);
  EXPECT_EQ(manager.Editor().UndoNum, 5);  // in use, only not stored

  fs_.SetReadOnlyFolder("/home/user/.config/kerv", true);
  EXPECT_THROW(manager.SaveHistory({"a"}, {}), EFileError);
  EXPECT_EQ(fs_.Contents(kIni), before);

  TKervSettingManager gone(fs_, "/home/user/missing/");
  EXPECT_THROW(gone.SaveAll(), EFileError);
}

TEST_F(TKervSettingManagerTest, AnUnreadableFileKeepsTheValuesInUse) {
  fs_.AddFile(kIni, "[Settings]\r\nUndoNum=100\r\n");
  TKervSettingManager manager(fs_, kFolder);
  fs_.failReads = true;
  EXPECT_FALSE(manager.LoadOnStartup());
  EXPECT_EQ(manager.Editor().UndoNum, 30000);
  EXPECT_THROW(manager.SaveAll(), EFileError);  // never writes over what it could not read
  fs_.failReads = false;
  EXPECT_TRUE(manager.ReloadRequested());
  EXPECT_EQ(manager.Editor().UndoNum, 100);
  EXPECT_EQ(fs_.Contents(kIni), "[Settings]\r\nUndoNum=100\r\n");
}

TEST_F(TKervSettingManagerTest, AReloadAskedByAnotherWindowKeepsThisWindowsSearchOptions) {
  fs_.AddFile(kIni, "[Settings]\r\nUndoNum=100\r\n[SearchOptions]\r\nRegExp=0\r\nMatchCase=0\r\n");
  TKervSettingManager manager(fs_, kFolder);
  ASSERT_TRUE(manager.LoadOnStartup());
  manager.Search().SearchFlags = SearchFlag::RegExp | SearchFlag::MatchCase | SearchFlag::SelectionOnly;
  fs_.AddFile(kIni, "[Settings]\r\nUndoNum=200\r\n[SearchOptions]\r\nRegExp=0\r\nMatchCase=0\r\n");
  EXPECT_TRUE(manager.ReloadRequested());
  EXPECT_EQ(manager.Editor().UndoNum, 200);
  EXPECT_EQ(manager.Search().SearchFlags, SearchFlag::RegExp | SearchFlag::MatchCase | SearchFlag::SelectionOnly);
}

TEST_F(TKervSettingManagerTest, APipeADeviceOrAHugeFileIsRefusedNotRead) {
  // kerv.ini made a FIFO would block start-up for ever, one linked to
  // /dev/zero would grow memory without bound, a huge one is damage: each is
  // reported (LoadOnStartup false, error 19001) and the defaults stay.
  struct Case {
    const char* name;
    std::function<void()> make;
  } cases[] = {
      {"fifo", [&] { fs_.AddSpecialFile(kIni, TFileKind::Fifo); }},
      {"device", [&] { fs_.AddSpecialFile(kIni, TFileKind::Other); }},
      {"huge", [&] { fs_.AddFile(kIni, "[Settings]\r\nUndoNum=100\r\n" + std::string(TIniFile::kMaxFileBytes, ';')); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs_.RemoveFile(kIni);
    c.make();
    TKervSettingManager manager(fs_, kFolder);
    EXPECT_FALSE(manager.LoadOnStartup());
    EXPECT_EQ(manager.Editor().UndoNum, 30000);
    // Nothing is written into it, or over it, either.
    EXPECT_THROW(manager.SaveAll(), EFileError);
    std::vector<std::string> search, replace;
    EXPECT_THROW(manager.LoadHistory(search, replace), EFileError);
  }
}

TEST_F(TKervSettingManagerTest, ADamagedFileLoadsDefaultsForWhatItCannotRead) {
  using namespace std::string_literals;
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919) & 0xFF);
  const std::string files[] = {
      junk,
      std::string(10 * 1024 * 1024, 'x') + "\r\n[Settings]\r\nUndoNum=100\r\n",
      "[Settings\r\nUndoNum=100\r\n=5\r\n[]\r\nKeySet=\x83",  // an unclosed section, a truncated last line
      "[Settings]\r\nUndoNum=1\0" "00\r\nTempFile=a\0b\r\nHistoryNum=\r\n"s,
  };
  for (const std::string& text : files) {
    fs_.AddFile(kIni, text);
    TKervSettingManager manager(fs_, kFolder);
    ASSERT_TRUE(manager.LoadOnStartup());
    EXPECT_EQ(manager.File().HistoryNum, 8);
    EXPECT_EQ(manager.Backup().Interval, 30);
    EXPECT_TRUE(manager.Editor().UndoNum == 30000 || manager.Editor().UndoNum == 100);
    EXPECT_EQ(manager.ToolLauncher().TempFile.find('\0'), std::string::npos);
    // Whatever was read is written back as lines the reader takes again.
    manager.SaveAll();
    TKervSettingManager again(fs_, kFolder);
    again.LoadAll();
    EXPECT_EQ(again.KeySet().KeySet, manager.KeySet().KeySet);
    EXPECT_EQ(again.Editor().UndoNum, manager.Editor().UndoNum);
  }
}

TEST_F(TKervSettingManagerTest, EachSaveReadsTheFileAfreshSoNoWindowUndoesAnother) {
  TKervSettingManager first(fs_, kFolder), second(fs_, kFolder);
  first.LoadAll();
  second.LoadAll();
  second.SaveHistory({"from second"}, {});
  first.Editor().UndoNum = 4000;
  first.SaveAll();
  second.SaveOnExit({}, {"from second"}, {});
  TKervSettingManager reader(fs_, kFolder);
  reader.LoadAll();
  std::vector<std::string> search, replace;
  reader.LoadHistory(search, replace);
  EXPECT_EQ(reader.Editor().UndoNum, 4000);
  EXPECT_THAT(search, ElementsAre("from second"));
}

TEST_F(TKervSettingManagerTest, TheDialogsCopyHandsBackOnlyTheGroupsItEdits) {
  TKervSettingManager manager(fs_, kFolder);
  manager.Editor().UndoNum = 111;
  manager.Backup().SaveTarget = "/home/user/b/";
  manager.EachProcess().LastPosX = 5;
  std::unique_ptr<TKervSettingManager> copy = manager.Copy();
  EXPECT_EQ(copy->Editor().UndoNum, 111);
  EXPECT_EQ(copy->Backup().SaveTarget, "/home/user/b/");
  EXPECT_EQ(copy->EachProcess().LastPosX, 5);
  EXPECT_EQ(copy->IniFileName(), kIni);

  copy->Editor().UndoNum = 222;
  copy->View().FontName = "x";
  copy->EachProcess().LastPosX = 6;
  copy->Search().AutoComplete = false;
  EXPECT_EQ(manager.Editor().UndoNum, 111);  // a copy, not a view
  manager.AssignDialogGroups(*copy);
  EXPECT_EQ(manager.Editor().UndoNum, 222);
  EXPECT_EQ(manager.View().FontName, "x");
  EXPECT_EQ(manager.EachProcess().LastPosX, 5);
  EXPECT_TRUE(manager.Search().AutoComplete);
}

// Two windows saving at the same moment, on the real file system: every
// read of kerv.ini, during and after, is one writer's whole file.
TEST(TKervSettingConcurrencyTest, TwoWindowsSavingAtOnceNeverMixAFile) {
  PosixFileSystem fs;
  std::string pattern = fs.TempFolder() + "kerv-settings-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  const std::string folder = pattern + "/";
  const std::string ini = folder + "kerv.ini";

  TKervSettingManager first(fs, folder), second(fs, folder);
  first.Editor().UndoNum = 1111;
  first.ToolLauncher().TempFile = std::string(3000, 'a');  // a file bigger than one write
  second.Editor().UndoNum = 2222;
  second.ToolLauncher().TempFile = std::string(5000, 'b');
  auto wholeText = [&](TKervSettingManager& manager) {
    TIniFile text = TIniFile::FromText(fs, ini, "");
    for (TKervTableSetting* group : manager.Groups()) {
      if (group != &manager.EachProcess()) group->Save(text);
    }
    return text.Text();
  };
  const std::string firstText = wholeText(first), secondText = wholeText(second);

  std::atomic<bool> failed{false};
  auto save = [&](TKervSettingManager& manager) {
    for (int i = 0; i < 200; ++i) {
      try {
        manager.SaveAll();
      } catch (const EFileError&) {
        failed = true;
      }
    }
  };
  std::thread a(save, std::ref(first)), b(save, std::ref(second));
  int mixed = 0;
  for (int i = 0; i < 400; ++i) {
    if (!fs.FileExists(ini)) continue;
    std::string text = fs.ReadFile(ini);
    if (text != firstText && text != secondText) ++mixed;
  }
  a.join();
  b.join();
  EXPECT_FALSE(failed);
  EXPECT_EQ(mixed, 0);
  std::string last = fs.ReadFile(ini);
  EXPECT_TRUE(last == firstText || last == secondText);
  EXPECT_EQ(fs.ListFiles(folder, "*").size(), 1u);  // no temporary file left behind
  fs.RemoveFile(ini);
  ::rmdir(pattern.c_str());
}

TEST(TKervSettingChecksTest, TheDialogRefusesBadFoldersAndNames) {
  FakeFileSystem fs;
  TKervBackupSetting backup("/tmp/");
  TKervToolLauncherSetting tools;
  TKervFileDialogSetting dialog;
  auto check = [&] { return CheckSettingsBeforeOk(backup, tools, dialog, fs); };
  EXPECT_FALSE(check().has_value());

  backup.SaveTarget = "/nowhere/";
  EXPECT_FALSE(check().has_value());  // no backup goes there
  backup.RegBackupType = 2;
  ASSERT_TRUE(check().has_value());
  EXPECT_EQ(check()->message, TKervSettingMessage::BackupFolderInvalid);
  EXPECT_STREQ(check()->key->key, "SaveTarget");
  EXPECT_EQ(SettingMessage(check()->message), "バックアップ作成先に無効なフォルダが指定されています。");
  backup.SaveSameDir = true;
  EXPECT_FALSE(check().has_value());

  dialog.OpenFirstFolder = "/nowhere";
  dialog.SaveFirstFolder = "/also/nowhere";
  tools.TempFile = "a*b.tmp";
  EXPECT_EQ(check()->message, TKervSettingMessage::TempFileInvalidChars);
  EXPECT_EQ(SettingMessage(check()->message), "次の文字は使えません「 \\ / ; * ? \" < > | 」");
  tools.TempFile = Sjis("ソフト.tmp");  // its trail byte 0x5C is no backslash
  EXPECT_EQ(check()->message, TKervSettingMessage::OpenFirstFolderInvalid);
  dialog.OpenFirstFolder = "/tmp";
  EXPECT_EQ(check()->message, TKervSettingMessage::SaveFirstFolderInvalid);
  EXPECT_STREQ(check()->key->key, "SaveFirstFolder");
  dialog.SaveFirstFolder.clear();
  // A filter list read from the file is the filter editor's business, row by
  // row: it never keeps the dialog from closing.
  dialog.SaveDlgFilter = "Text|*.t<t|";
  EXPECT_FALSE(check().has_value());

  for (const char* name : {"a\\b", "a/b", "a;b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"}) {
    EXPECT_TRUE(CheckTempFileName(name).has_value()) << name;
  }
  // A native (UTF-8) name: "あ" ends in 0x82, which is no Shift_JIS lead byte
  // here, so the backslash after it counts.
  EXPECT_TRUE(CheckTempFileName("\xE3\x81\x82\\x.tmp").has_value());
  EXPECT_FALSE(CheckTempFileName("\xE3\x81\x82.tmp").has_value());
}

TEST(TKervSettingChecksTest, FilterRowsAndLists) {
  struct RowCase {
    std::string name, definition;
    std::optional<TKervSettingMessage> refusal;
  };
  const RowCase rows[] = {
      {"", "*.txt", TKervSettingMessage::FilterNameEmpty},
      {"Text", "", TKervSettingMessage::FilterDefinitionEmpty},
      {"a|b", "*.txt", TKervSettingMessage::FilterNameHasBar},
      {"Text", "*.txt;*.t,t", TKervSettingMessage::FilterBadExtension},
      {"Text", "*.t?t", TKervSettingMessage::FilterBadExtension},
      {"Text", "a|b", TKervSettingMessage::FilterBadExtension},  // would split the stored list
      {"Text", "*.*;a?b*.txt", std::nullopt},                     // only the extension is checked
      {Sjis("レポート"), "*.txt", std::nullopt},                 // "ポ" ends in 0x7C
  };
  for (const RowCase& c : rows) EXPECT_EQ(CheckFilterRow(c.name, c.definition), c.refusal) << c.name << c.definition;
  EXPECT_EQ(SettingMessage(TKervSettingMessage::FilterBadExtension),
            "フィルタに拡張子では使えない文字が含まれています\r\n（次の文字は使えません   \\ / , ; \" < > | ? ）");

  const std::string report = Sjis("レポート");
  std::vector<TKervFilterRow> parsed = ParseFilterList(report + "|*.rep|All|*.*");
  EXPECT_EQ(parsed, (std::vector<TKervFilterRow>{{report, "*.rep"}, {"All", "*.*"}}));
  EXPECT_EQ(BuildFilterList(parsed), report + "|*.rep|All|*.*|");
  EXPECT_EQ(ParseFilterList("a|b|orphan|").size(), 1u);
  EXPECT_TRUE(ParseFilterList("").empty());
  EXPECT_FALSE(CheckFilterList(DefaultOpenDlgFilter()).has_value());
  EXPECT_FALSE(CheckFilterList(DefaultSaveDlgFilter()).has_value());
}

}  // namespace
}  // namespace kerv
