#include "app/commands/TKervFileCommand.h"

#include <gtest/gtest.h>

#include "app/commands/TKervEditorDocument.h"
#include "app/commands/TKervEditors.h"
#include "document/TIniFile.h"
#include "editor/TEditor.h"
#include "tests/document/FileManagerFakes.h"

namespace kerv {
namespace {

using namespace testing_files;

class FakeEditors : public IKervEditors {
 public:
  TEditor main;
  TEditor& ActiveEditor() override { return main; }
  TEditor& MainEditor() override { return main; }
  TEditor* SecondEditor() override { return nullptr; }
  bool EditorHasFocus() override { return true; }
};

class FakeHooks : public IKervFileCommandHooks {
 public:
  std::vector<std::string> editModes;
  std::vector<bool> readOnly;
  std::vector<TKervFileHistory::TMenuEntry> menu;
  void ChooseEditMode(const std::string& fileName) override { editModes.push_back(fileName); }
  void ReadOnlyChanged(bool value) override { readOnly.push_back(value); }
  void HistoryMenuChanged(const std::vector<TKervFileHistory::TMenuEntry>& entries) override { menu = entries; }
};

class TKervFileCommandTest : public ::testing::Test {
 protected:
  static constexpr const char* kFolder = "/home/user/.config/kerv/";
  static constexpr const char* kDoc = "/home/user/docs/a.txt";

  TKervFileCommandTest() {
    fs_.AddFolder("/home/user/docs");
    fs_.AddFolder("/home/user/.config/kerv");
    settings_.File().HistoryNum = 5;
    command_.ApplySettings(kFolder);
  }
  std::string Ini() { return fs_.Contents(std::string(kFolder) + "kerv.ini"); }

  FakeFileSystem fs_;
  IconvCodePage codePage_;
  FakeDialogs dialogs_;
  FakeLauncher launcher_;
  FakeFileDialogs fileDialogs_;
  FakeLockTable lockTable_;
  FakeFileLock lock_{lockTable_};
  FakeEditors editors_;
  TKervEditorDocument document_{editors_};
  FakeWindow window_;
  FakeOtherWindows others_;
  FakeClock clock_;
  FakeTimer timer_;
  FakeHooks hooks_;
  TKervSettingManager settings_{fs_, kFolder};
  TKervFileManager manager_{
      TKervFileManagerPorts{fs_, codePage_, dialogs_, fileDialogs_, lock_, document_, window_, others_, clock_, timer_}};
  TKervFileCommand command_{manager_, document_, window_, settings_, launcher_, clock_, hooks_};
};

TEST_F(TKervFileCommandTest, EditorDocumentKeepsTextAndClearsUndo) {
  document_.SetText("a\r\nb\r\n", {});
  EXPECT_EQ(document_.Text(), "a\r\nb\r\n");
  document_.SetText("a\r\nb", {});  // no line break is added at the end
  EXPECT_EQ(document_.Text(), "a\r\nb");
  EXPECT_FALSE(document_.Modified());
  EXPECT_FALSE(editors_.main.CanUndo());
  document_.MoveCaretToTop();
  document_.InsertAtCaret("x\r\ny");
  EXPECT_EQ(document_.Text(), "x\r\nya\r\nb");
  document_.SetReadOnly(true);
  EXPECT_TRUE(editors_.main.ReadOnly());
}

TEST_F(TKervFileCommandTest, OpenBringsTheWindowUpToDate) {
  settings_.EditMode().CheckEditMode = true;
  fs_.AddFile(kDoc, "line1\nline2");
  ASSERT_TRUE(command_.OpenByName(kDoc, ccAuto, true));
  EXPECT_EQ(document_.Text(), "line1\r\nline2");
  EXPECT_TRUE(editors_.main.ReadOnly());
  EXPECT_EQ(hooks_.readOnly, std::vector<bool>{true});
  EXPECT_EQ(hooks_.editModes, std::vector<std::string>{kDoc});
  EXPECT_EQ(window_.fullTitle, std::string(kDoc) + " - KervEditor");
  EXPECT_EQ(window_.shortTitle, "a.txt - KervEditor");
  EXPECT_EQ(window_.statusReturn, rcLF);
  ASSERT_EQ(window_.notices.size(), 1u);
  EXPECT_EQ(window_.notices[0], std::string("14:25:01 - ") + kDoc + " を開きました");
  TIniFile ini = TIniFile::FromText(fs_, "/x", Ini());
  EXPECT_EQ(ini.ReadString("History", "History0", ""), kDoc);
  EXPECT_EQ(hooks_.menu[0].fileName, kDoc);
}

TEST_F(TKervFileCommandTest, SaveAsClearsModifiedAndKeepsOtherWindowsHistory) {
  fs_.AddFile(std::string(kFolder) + "kerv.ini", "[History]\r\nCount=1\r\nHistory0=/other.txt\r\n");
  document_.SetText("text", {});
  document_.SetModified(true);
  fileDialogs_.saveAnswers.push_back(FileManagerRig::SaveAnswer(kDoc, 5, 1));
  ASSERT_TRUE(command_.SaveDocumentAs());
  EXPECT_FALSE(document_.Modified());
  EXPECT_EQ(fs_.Contents(kDoc), "\xEF\xBB\xBFtext");
  EXPECT_EQ(window_.statusCode, ccUTF8);
  EXPECT_EQ(window_.notices.back(), std::string("14:25:01 - ") + kDoc + " を保存しました");
  EXPECT_EQ(command_.History().Names(), (std::vector<std::string>{kDoc, "/other.txt"}));
}

TEST_F(TKervFileCommandTest, FailedSaveIsNeverReportedAsSaved) {
  fs_.AddFile(kDoc, "old");
  ASSERT_TRUE(command_.OpenByName(kDoc));
  window_.notices.clear();
  document_.SetText("new", {});
  document_.SetModified(true);
  fs_.FailWritesTo(kDoc);
  EXPECT_FALSE(command_.SaveDocument());
  EXPECT_TRUE(document_.Modified());
  EXPECT_TRUE(window_.notices.empty());
  EXPECT_EQ(fs_.Contents(kDoc), "old");
}

TEST_F(TKervFileCommandTest, NewDocument) {
  fs_.AddFile(kDoc, "abc");
  ASSERT_TRUE(command_.OpenByName(kDoc));
  command_.NewDocument();
  EXPECT_EQ(manager_.FileName(), "NewDoc.txt");
  EXPECT_EQ(document_.Text(), "");
  EXPECT_EQ(window_.notices.back(), "14:25:01 新規文章を作成");
  EXPECT_EQ(hooks_.editModes.back(), "NewDoc.txt");
  // With NewKerv_New another process starts and this window stays as it is.
  settings_.Window().NewKerv_New = true;
  fs_.AddFile(kDoc, "abc");
  ASSERT_TRUE(command_.OpenByName(kDoc));
  command_.NewDocument();
  EXPECT_EQ(launcher_.launched.size(), 1u);
  EXPECT_EQ(manager_.FileName(), kDoc);
}

TEST_F(TKervFileCommandTest, CodeMenusSetTheCodesForTheNextSave) {
  command_.SetCharCode(2);
  command_.SetReturnCode(1);
  command_.SetCharCode(7);  // no such entry
  EXPECT_EQ(manager_.CharCode(), ccEUC);
  EXPECT_EQ(manager_.ReturnCode(), rcLF);
  EXPECT_EQ(window_.statusCode, ccEUC);
}

TEST_F(TKervFileCommandTest, CommandLineDoubleOpenAsksNoSaveQuestion) {
  fs_.AddFile(kDoc, "abc");
  others_.openElsewhere = {kDoc};
  document_.SetText("unsaved", {});
  document_.SetModified(true);
  EXPECT_FALSE(command_.OpenFromCommandLine("docs/a.txt"));
  EXPECT_TRUE(window_.boxes.empty());
  EXPECT_EQ(others_.activated.size(), 1u);
  // From the history menu the save question comes first.
  window_.answers = {TKervBox::maCancel};
  EXPECT_FALSE(command_.OpenByName(kDoc));
  EXPECT_EQ(window_.boxes.size(), 1u);
}

TEST_F(TKervFileCommandTest, HistoryMenuRereadsAndClears) {
  fs_.AddFile(std::string(kFolder) + "kerv.ini", "[History]\r\nCount=2\r\nHistory0=/x.txt\r\nHistory1=/y.txt\r\n");
  command_.RefreshHistoryMenu();
  ASSERT_EQ(hooks_.menu.size(), 2u);
  EXPECT_EQ(hooks_.menu[1].caption, "&1:/y.txt");
  command_.ClearHistory();
  EXPECT_FALSE(hooks_.menu[0].enabled);
  EXPECT_EQ(Ini().find("History"), std::string::npos);
}

TEST_F(TKervFileCommandTest, ActivationCheckSkippedWhileSearching) {
  fs_.AddFile(kDoc, "abc");
  ASSERT_TRUE(command_.OpenByName(kDoc));
  fs_.AddFile(kDoc, "changed");
  EXPECT_FALSE(command_.CheckChangedOnActivate(true));
  EXPECT_TRUE(command_.CheckChangedOnActivate(false));
  EXPECT_EQ(document_.Text(), "changed");
  EXPECT_FALSE(document_.Modified());
}

TEST_F(TKervFileCommandTest, DocumentLockNamesOnlyARealFile) {
  EXPECT_EQ(command_.DocumentFileName(), "");
  fs_.AddFile(kDoc, "abc");
  ASSERT_TRUE(command_.OpenByName(kDoc));
  EXPECT_EQ(command_.DocumentFileName(), kDoc);
}

// The whole way a user takes: a file with 0x1A on line 2 opened into the
// editor, Ctrl+S without an edit, then after typing.
TEST_F(TKervFileCommandTest, CtrlSOfAFileCutByAnEofByteAsksAndNoLeavesItByteForByte) {
  const std::string file = "line one\r\nline two\x1A" + std::string(1600, 'z') + "\r\nline three\r\n";
  fs_.AddFile(kDoc, file);
  ASSERT_TRUE(command_.OpenByName(kDoc));
  EXPECT_EQ(document_.Text(), "line one\r\nline two");
  ASSERT_EQ(window_.boxes.size(), 1u);  // the notice at open says a save will ask
  EXPECT_NE(window_.boxes[0].text.find("保存する前に確認します"), std::string::npos);

  window_.answers = {TKervBox::maNo};
  EXPECT_FALSE(command_.SaveDocument());
  ASSERT_EQ(window_.boxes.size(), 2u);
  EXPECT_TRUE(window_.boxes[1].defaultNo);
  EXPECT_NE(window_.boxes[1].text.find("2行目のEOF文字(0x1A)から後のテキスト"), std::string::npos);
  EXPECT_EQ(fs_.Contents(kDoc), file);

  document_.MoveCaretToTop();
  editors_.main.InsertText("typed ");
  EXPECT_TRUE(document_.Modified());
  window_.answers = {TKervBox::maNo};
  EXPECT_FALSE(command_.SaveDocument());
  EXPECT_EQ(fs_.Contents(kDoc), file);
  EXPECT_TRUE(document_.Modified());

  window_.answers = {TKervBox::maYes};
  EXPECT_TRUE(command_.SaveDocument());
  EXPECT_EQ(fs_.Contents(kDoc), "typed line one\r\nline two");
  EXPECT_FALSE(document_.Modified());
}

TEST_F(TKervFileCommandTest, ADamagedHistoryCountReadsWhatIsThere) {
  fs_.AddFile(std::string(kFolder) + "kerv.ini", "[History]\r\nCount=2147483647\r\nHistory0=/x.txt\r\n");
  command_.RefreshHistoryMenu();
  ASSERT_EQ(hooks_.menu.size(), 1u);
  EXPECT_EQ(hooks_.menu[0].fileName, "/x.txt");
  fs_.AddFile(kDoc, "abc");
  ASSERT_TRUE(command_.OpenByName(kDoc));
  EXPECT_EQ(command_.History().Names(), (std::vector<std::string>{kDoc, "/x.txt"}));
}

TEST_F(TKervFileCommandTest, CommandLinePipeGivesAMessageAndAnEmptyWindow) {
  fs_.AddSpecialFile("/home/user/docs/some.fifo", TFileKind::Fifo);
  // The start goes on (true) with the untitled document, after the message.
  EXPECT_TRUE(command_.OpenFromCommandLine("docs/some.fifo"));
  EXPECT_EQ(manager_.FileName(), "NewDoc.txt");
  ASSERT_EQ(window_.boxes.size(), 1u);
  EXPECT_EQ(window_.boxes[0].kind, TKervBox::mkError);
  EXPECT_NE(window_.boxes[0].text.find("通常のファイルではありません"), std::string::npos);
  // A file that cannot be read for another reason still ends the start.
  fs_.AddFile(kDoc, "abc");
  lockTable_.LockByOther(kDoc, 3);
  EXPECT_FALSE(command_.OpenFromCommandLine(kDoc));
}

}  // namespace
}  // namespace kerv
