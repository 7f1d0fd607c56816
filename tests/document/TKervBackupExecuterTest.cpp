#include "document/TKervBackupExecuter.h"

#include <gtest/gtest.h>

#include "FileManagerFakes.h"

namespace kerv {
namespace {

using testing_files::FileManagerRig;

TEST(TKervBackupExecuterTest, BackupNames) {
  struct Case {
    bool delphi;
    bool sameDir;
    const char* file;
    const char* backup;
  } cases[] = {
      {true, true, "/d/report.txt", "/d/report.~txt"},
      {true, true, "/d/Makefile", "/d/Makefile.~"},
      {false, true, "/d/report.txt", "/d/report.bak"},
      {false, true, "/d/report.doc", "/d/report.bak"},
      {false, false, "/a/x.txt", "/bk/x.bak"},
      {true, false, "/a/x.txt", "/bk/x.~txt"},
  };
  for (const Case& c : cases) {
    TKervFileOptions options;
    options.DelphiName = c.delphi;
    options.SaveSameDir = c.sameDir;
    options.SaveTarget = "/bk";
    EXPECT_EQ(TKervBackupExecuter(options).BackupName(c.file), c.backup) << c.file;
  }
}

TEST(TKervBackupExecuterTest, TempFileNames) {
  TKervLocalTime time{2024, 3, 15, 14, 25, 1, 7};
  EXPECT_EQ(MakeTempFileName(time, 1), "20240315_142501_0071.tmp");
  EXPECT_EQ(MakeTempFileName(time, 12, "/d/notes.txt"), "notes_20240315_142501_00712.tmp");
  EXPECT_EQ(LongTimeText(time), "14:25:01");
}

class TKervRegularBackupTest : public ::testing::Test, protected FileManagerRig {
 protected:
  static constexpr const char* kDoc = "/home/user/docs/a.txt";
  void TickMinutes(int minutes) {
    for (int i = 0; i < minutes; ++i) manager.RegularBackup().Tick();
  }
};

TEST_F(TKervRegularBackupTest, SaveTimeBackupCopiesTheOldFile) {
  options.SaveBackup = true;
  Apply();
  editor.text = "first";
  fileDialogs.saveAnswers.push_back(SaveAnswer(kDoc));
  ASSERT_TRUE(manager.SaveAs());
  EXPECT_FALSE(fs.FileExists("/home/user/docs/a.bak"));  // nothing to copy the first time
  editor.text = "second";
  ASSERT_TRUE(manager.Save());
  EXPECT_EQ(fs.Contents("/home/user/docs/a.bak"), "first");
  EXPECT_EQ(fs.Contents(kDoc), "second");
}

TEST_F(TKervRegularBackupTest, FailedBackupCopyDoesNotStopSave) {
  options.SaveBackup = true;
  options.SaveSameDir = false;
  options.SaveTarget = "/nowhere";
  Apply();
  fs.AddFile(kDoc, "old");
  ASSERT_TRUE(manager.OpenFile(kDoc, ccAuto, false));
  editor.text = "new";
  EXPECT_TRUE(manager.Save());
  EXPECT_EQ(fs.Contents(kDoc), "new");
  EXPECT_TRUE(window.errors.empty());
}

TEST_F(TKervRegularBackupTest, UntitledDocumentGoesToTheBackupFolder) {
  options.RegBackupType = 1;
  options.RegBackupNewFile = true;
  options.Interval = 3;
  Apply();
  EXPECT_TRUE(timer.enabled);
  EXPECT_EQ(timer.interval, 60000);
  EXPECT_TRUE(fs.FolderExists("/home/user/.config/kerv/Backup"));
  editor.text = Sjis("あ\r\nい");
  TickMinutes(2);
  EXPECT_TRUE(window.notices.empty());
  TickMinutes(1);
  const std::string target = "/home/user/.config/kerv/Backup/20240315_142501_0071.tmp";
  EXPECT_EQ(manager.RegularBackup().TargetName(), target);
  EXPECT_EQ(fs.Contents(target), Sjis("あ\r\nい"));
  ASSERT_EQ(window.notices.size(), 1u);
  EXPECT_EQ(window.notices[0], "14:25:01 - バックアップを保存しました。");
  EXPECT_EQ(manager.RegularBackup().Countdown(), 3);
}

TEST_F(TKervRegularBackupTest, ArmStopsTheTimerWhenNotWanted) {
  // The old fault: a timer armed for a file kept running after New, and type
  // 2 then wrote the untitled text over that file's backup.
  options.RegBackupType = 2;
  options.RegBackupNewFile = false;
  options.Interval = 1;
  Apply();
  EXPECT_FALSE(timer.enabled);
  fs.AddFile(kDoc, "file text");
  ASSERT_TRUE(manager.OpenFile(kDoc, ccAuto, false));
  EXPECT_TRUE(timer.enabled);
  EXPECT_EQ(manager.RegularBackup().TargetName(), "/home/user/docs/a.bak");
  TickMinutes(1);
  EXPECT_EQ(fs.Contents("/home/user/docs/a.bak"), "file text");
  manager.Reset();
  editor.text = "untitled";
  EXPECT_FALSE(timer.enabled);
  options.RegBackupType = 0;
  fs.AddFile(kDoc, "x");
  ASSERT_TRUE(manager.OpenFile(kDoc, ccAuto, false));
  Apply();
  EXPECT_FALSE(timer.enabled);
}

TEST_F(TKervRegularBackupTest, RetriesOnceWhileBusy) {
  options.RegBackupType = 2;
  options.RegBackupNewFile = true;
  options.Interval = 1;
  Apply();
  window.blocked = true;
  TickMinutes(1);
  EXPECT_TRUE(manager.RegularBackup().Retrying());
  EXPECT_EQ(timer.interval, 10000);
  EXPECT_EQ(manager.RegularBackup().Countdown(), 5);
  TickMinutes(5);
  ASSERT_EQ(window.errors.size(), 1u);
  EXPECT_EQ(window.errors[0].first, 10101);
  EXPECT_FALSE(manager.RegularBackup().Retrying());
  EXPECT_EQ(timer.interval, 60000);
  // A retry that finds the way clear writes and returns to the normal tick.
  TickMinutes(1);
  EXPECT_TRUE(manager.RegularBackup().Retrying());
  window.blocked = false;
  TickMinutes(5);
  EXPECT_FALSE(manager.RegularBackup().Retrying());
  EXPECT_EQ(timer.interval, 60000);
  EXPECT_EQ(window.notices.size(), 1u);
}

TEST_F(TKervRegularBackupTest, InPlaceSaveOfVanishedFileAsksForName) {
  options.RegBackupType = 1;
  options.Interval = 1;
  Apply();
  fs.AddFile(kDoc, "abc");
  ASSERT_TRUE(manager.OpenFile(kDoc, ccAuto, false));
  editor.text = "edited";
  editor.modified = true;
  fs.RemoveFile(kDoc);
  TickMinutes(1);
  EXPECT_EQ(fileDialogs.saveRequests.size(), 1u);
  EXPECT_TRUE(window.notices.empty());
  EXPECT_TRUE(window.errors.empty());
  // Saved in place when the file is there: the document stays modified.
  fs.AddFile(kDoc, "abc");
  fs.SetFileTime(kDoc, manager.FileTime());
  TickMinutes(1);
  EXPECT_EQ(fs.Contents(kDoc), "edited");
  EXPECT_TRUE(editor.modified);
  EXPECT_EQ(window.notices.size(), 1u);
}

TEST_F(TKervRegularBackupTest, MissingFolderStopsTheBackup) {
  options.RegBackupType = 2;
  options.RegBackupNewFile = true;
  options.SettingFolder = "/missing/settings/";
  Apply();
  EXPECT_FALSE(timer.enabled);
  ASSERT_FALSE(window.errors.empty());
  EXPECT_EQ(window.errors.back().first, 10102);
}

TEST_F(TKervRegularBackupTest, FailedWriteReportsAndKeepsCycle) {
  options.RegBackupType = 2;
  options.Interval = 2;
  Apply();
  fs.AddFile(kDoc, "abc");
  ASSERT_TRUE(manager.OpenFile(kDoc, ccAuto, false));
  fs.FailWritesTo("/home/user/docs/a.bak");
  TickMinutes(2);
  ASSERT_EQ(window.errors.size(), 1u);
  EXPECT_EQ(window.errors[0], std::make_pair(10101, std::string(kDoc)));
  EXPECT_EQ(manager.RegularBackup().Countdown(), 2);
  EXPECT_TRUE(timer.enabled);
}

}  // namespace
}  // namespace kerv
