#include "document/TKervFileManager.h"

#include <gtest/gtest.h>

#include "FileManagerFakes.h"
#include "document/DocumentMessages.h"

namespace kerv {
namespace {

using testing_files::FileManagerRig;

class TKervFileManagerTest : public ::testing::Test, protected FileManagerRig {
 protected:
  static constexpr const char* kDoc = "/home/user/docs/a.txt";

  bool OpenDoc(const std::string& bytes, TCharCode code = ccAuto, const char* path = kDoc) {
    fs.AddFile(path, bytes);
    return manager.OpenFile(path, code, false);
  }
  bool Asked(TDocumentMessage id) const {
    // The question's last line, which names nothing.
    std::string pattern = DocumentMessage(id);
    std::string tail = pattern.substr(pattern.rfind("\r\n"));
    for (const auto& box : window.boxes) {
      if (box.text.find(tail) != std::string::npos) return true;
    }
    return false;
  }
};

TEST_F(TKervFileManagerTest, StartsUntitled) {
  EXPECT_EQ(manager.FileName(), "NewDoc.txt");
  EXPECT_EQ(manager.CharCode(), ccShiftJIS);
  EXPECT_EQ(manager.ReturnCode(), rcCRLF);
  EXPECT_FALSE(manager.HasFile());
  EXPECT_EQ(manager.FileTime(), TKervFileManager::kNoFileTime);
}

TEST_F(TKervFileManagerTest, UntitledSaveCancelledWritesNothing) {
  editor.text = "hello";
  size_t files = fs.FileCount();
  EXPECT_FALSE(manager.Save());
  ASSERT_EQ(fileDialogs.saveRequests.size(), 1u);
  EXPECT_EQ(fileDialogs.saveRequests[0].fileName, "NewDoc.txt");
  EXPECT_EQ(window.dialogStates, (std::vector<int>{7, 0}));
  EXPECT_EQ(manager.FileName(), "NewDoc.txt");
  EXPECT_EQ(fs.FileCount(), files);
}

TEST_F(TKervFileManagerTest, SaveAfterFileDeletedAsksForName) {
  ASSERT_TRUE(OpenDoc("abc"));
  fs.RemoveFile(kDoc);
  fileDialogs.saveAnswers.push_back(SaveAnswer("/home/user/docs/b.txt", 2, 1));
  EXPECT_TRUE(manager.Save());
  EXPECT_EQ(fileDialogs.saveRequests.size(), 1u);
  EXPECT_EQ(manager.FileName(), "/home/user/docs/b.txt");
  EXPECT_EQ(manager.CharCode(), ccEUC);
  EXPECT_EQ(manager.ReturnCode(), rcLF);
  EXPECT_EQ(fs.Contents("/home/user/docs/b.txt"), "abc");
}

TEST_F(TKervFileManagerTest, OpenKeepsCodesAndSaveWritesThemBack) {
  struct Case {
    std::string bytes;
    TCharCode code;
    TReturnCode returnCode;
  } cases[] = {
      {"\x82\xA0\n", ccShiftJIS, rcLF},
      {"\x1B$B\x30\x21\x1B(J\r", ccJIS, rcCR},
      {"\xB4\xC1\xBB\xFA\r\n", ccEUC, rcCRLF},
      {std::string("\xFF\xFE\x42\x30\x0A\x00", 6), ccUnicode, rcLF},
      {std::string("\xFE\xFF\x30\x42\x00\x0A", 6), ccUnicodeBE, rcLF},
      {"\xEF\xBB\xBF\xE3\x81\x82\r\n", ccUTF8, rcCRLF},
      {"\xE3\x81\x82\xE3\x81\x84\n", ccUTF8N, rcLF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(CharCodeName(c.code));
    window.boxes.clear();
    ASSERT_TRUE(OpenDoc(c.bytes));
    EXPECT_EQ(manager.CharCode(), c.code);
    EXPECT_EQ(manager.ReturnCode(), c.returnCode);
    fs.AddFile(kDoc, "");
    fs.SetFileTime(kDoc, manager.FileTime());
    EXPECT_TRUE(manager.Save());
    EXPECT_EQ(fs.Contents(kDoc), c.bytes);
    EXPECT_TRUE(window.boxes.empty());
  }
}

TEST_F(TKervFileManagerTest, SaveRoundTripsEveryCode) {
  editor.text = Sjis("あい\r\nう");
  for (int index = 0; index < 7; ++index) {
    fileDialogs.saveAnswers.push_back(SaveAnswer(kDoc, index, 1));
    ASSERT_TRUE(manager.SaveAs());
    std::string saved = editor.text;
    editor.text.clear();
    ASSERT_TRUE(manager.ReadFile(kDoc, static_cast<TCharCode>(index + 1), false));
    EXPECT_EQ(editor.text, saved) << index;
    EXPECT_EQ(manager.CharCode(), static_cast<TCharCode>(index + 1));
    EXPECT_EQ(manager.ReturnCode(), rcLF);
  }
}

TEST_F(TKervFileManagerTest, MissingFileIsReportedAndStateKept) {
  ASSERT_TRUE(OpenDoc("abc"));
  EXPECT_FALSE(manager.OpenFile("/home/user/docs/none.txt", ccAuto, false));
  ASSERT_EQ(window.errors.size(), 1u);
  EXPECT_EQ(window.errors[0], std::make_pair(10050, std::string("/home/user/docs/none.txt")));
  EXPECT_EQ(manager.FileName(), kDoc);
}

TEST_F(TKervFileManagerTest, BigFileBoundary) {
  options.BigFileSize = 1;
  Apply();
  struct Case {
    size_t size;
    bool asked;
  } cases[] = {{1048576, false}, {1048577, true}};
  for (const Case& c : cases) {
    window.boxes.clear();
    window.answers = {TKervBox::maNo};
    bool opened = OpenDoc(std::string(c.size, 'a'));
    EXPECT_EQ(opened, !c.asked) << c.size;
    EXPECT_EQ(Asked(TDocumentMessage::BigFile), c.asked) << c.size;
  }
}

TEST_F(TKervFileManagerTest, ReloadKeepsTheCodeReadBefore) {
  ASSERT_TRUE(OpenDoc("\xB4\xC1", ccEUC));
  fs.AddFile(kDoc, "\xE3\x81\x82\xE3\x81\x84");  // now UTF-8
  window.answers = {TKervBox::maYes};
  ASSERT_TRUE(manager.Reload());
  EXPECT_EQ(manager.CharCode(), ccEUC);
}

TEST_F(TKervFileManagerTest, ReloadDeclinedKeepsText) {
  ASSERT_TRUE(OpenDoc("abc"));
  editor.text = "edited";
  editor.modified = true;
  window.answers = {TKervBox::maNo};
  EXPECT_FALSE(manager.Reload());
  EXPECT_EQ(editor.text, "edited");
  EXPECT_TRUE(editor.modified);
}

TEST_F(TKervFileManagerTest, ChangeOnDiskIsAskedOnce) {
  ASSERT_TRUE(OpenDoc("abc"));
  EXPECT_FALSE(manager.CheckChanged());
  EXPECT_TRUE(window.boxes.empty());
  fs.AddFile(kDoc, "new");
  window.answers = {TKervBox::maNo};
  EXPECT_FALSE(manager.CheckChanged());
  EXPECT_EQ(window.boxes.size(), 1u);
  EXPECT_FALSE(manager.CheckChanged());
  EXPECT_EQ(window.boxes.size(), 1u);
  fs.AddFile(kDoc, "newer");
  EXPECT_TRUE(manager.CheckChanged());
  EXPECT_EQ(editor.text, "newer");
}

TEST_F(TKervFileManagerTest, UntitledDocumentIsNeverChecked) {
  fs.AddFile("/home/user/NewDoc.txt", "x");
  fs.currentFolder = "/home/user/";
  EXPECT_FALSE(manager.CheckChanged());
  EXPECT_TRUE(window.boxes.empty());
}

TEST_F(TKervFileManagerTest, SaveOverNewerFileAsksFirst) {
  ASSERT_TRUE(OpenDoc("abc"));
  fs.AddFile(kDoc, "theirs");
  editor.text = "mine";
  window.answers = {TKervBox::maNo};
  EXPECT_FALSE(manager.Save());
  EXPECT_TRUE(Asked(TDocumentMessage::NewerOnDisk));
  EXPECT_EQ(fs.Contents(kDoc), "theirs");
  window.answers = {TKervBox::maYes};
  EXPECT_TRUE(manager.Save());
  EXPECT_EQ(fs.Contents(kDoc), "mine");
  EXPECT_FALSE(manager.CheckChanged());  // our own write is not a change
}

TEST_F(TKervFileManagerTest, LossySaveAsksAndNoWritesNothing) {
  ASSERT_TRUE(OpenDoc("abc"));
  editor.text = "\xF0\x40";  // the user-defined area: no JIS form
  fileDialogs.saveAnswers.push_back(SaveAnswer(kDoc, 1));  // JIS
  window.answers = {TKervBox::maNo};
  EXPECT_FALSE(manager.SaveAs());
  EXPECT_TRUE(Asked(TDocumentMessage::LossySave));
  EXPECT_NE(window.boxes.back().text.find("1"), std::string::npos);
  EXPECT_EQ(fs.Contents(kDoc), "abc");
  EXPECT_EQ(manager.CharCode(), ccAscii);
}

TEST_F(TKervFileManagerTest, FailedWriteKeepsOriginalAndState) {
  ASSERT_TRUE(OpenDoc("original"));
  editor.text = "edited";
  editor.modified = true;
  fs.FailWritesTo(kDoc);
  EXPECT_FALSE(manager.Save());
  ASSERT_EQ(window.errors.size(), 1u);
  EXPECT_EQ(window.errors[0].first, 10053);
  EXPECT_EQ(fs.Contents(kDoc), "original");
  EXPECT_TRUE(editor.modified);
  EXPECT_FALSE(window.busy);
}

TEST_F(TKervFileManagerTest, FailedSaveAsKeepsNameAndCodes) {
  ASSERT_TRUE(OpenDoc("abc"));
  fs.SetReadOnlyFolder("/home/user", true);
  fileDialogs.saveAnswers.push_back(SaveAnswer("/home/user/b.txt", 5));
  EXPECT_FALSE(manager.SaveAs());
  EXPECT_EQ(window.errors.back().first, 10053);
  EXPECT_EQ(manager.FileName(), kDoc);
  EXPECT_EQ(manager.CharCode(), ccAscii);
}

TEST_F(TKervFileManagerTest, DoubleOpenBringsTheOtherWindowForward) {
  ASSERT_TRUE(OpenDoc("mine"));
  fs.AddFile("/home/user/docs/b.txt", "theirs");
  others.openElsewhere = {"/home/user/docs/b.txt"};
  EXPECT_FALSE(manager.OpenFile("/home/user/docs/b.txt", ccAuto, false));
  EXPECT_EQ(others.activated, std::vector<std::string>{"/home/user/docs/b.txt"});
  EXPECT_EQ(manager.FileName(), kDoc);
  EXPECT_EQ(editor.text, "mine");
  // The document's own file is never refused, and the setting allows it all.
  EXPECT_TRUE(manager.IsOpenAllowed(kDoc));
  options.AllowDoubleOpen = true;
  Apply();
  EXPECT_TRUE(manager.OpenFile("/home/user/docs/b.txt", ccAuto, false));
}

TEST_F(TKervFileManagerTest, QuerySaveAnswers) {
  struct Case {
    int answer;
    bool result;
    bool saved;
  } cases[] = {{TKervBox::maYes, true, true}, {TKervBox::maNo, true, false}, {TKervBox::maCancel, false, false}};
  for (const Case& c : cases) {
    editor.modified = false;
    ASSERT_TRUE(OpenDoc("abc"));
    editor.text = "edited";
    editor.modified = true;
    window.answers = {c.answer};
    EXPECT_EQ(manager.QuerySave(), c.result);
    EXPECT_EQ(fs.Contents(kDoc) == "edited", c.saved);
  }
  editor.modified = false;
  window.boxes.clear();
  EXPECT_TRUE(manager.QuerySave());
  EXPECT_TRUE(window.boxes.empty());
}

TEST_F(TKervFileManagerTest, LockModesAndReapply) {
  ASSERT_TRUE(OpenDoc("abc"));
  EXPECT_FALSE(lock.Held());
  // Never attempted in this window: a new mode waits for the next open or save.
  options.FileLockMode = 3;
  Apply();
  EXPECT_FALSE(lock.Held());
  ASSERT_TRUE(manager.Save());
  EXPECT_EQ(lockTable.ModeHeld(kDoc, &lock), 3);
  // Once attempted, a new mode applies at once; 0 releases.
  options.FileLockMode = 2;
  Apply();
  EXPECT_EQ(lockTable.ModeHeld(kDoc, &lock), 2);
  options.FileLockMode = 0;
  Apply();
  EXPECT_FALSE(lock.Held());
}

TEST_F(TKervFileManagerTest, OwnLockDoesNotStopOwnSaveReloadOrAddOpen) {
  options.FileLockMode = 3;
  Apply();
  ASSERT_TRUE(OpenDoc("abc"));
  EXPECT_EQ(lockTable.ModeHeld(kDoc, &lock), 3);
  editor.text = "x";
  EXPECT_TRUE(manager.Save());
  window.answers = {TKervBox::maYes};
  EXPECT_TRUE(manager.Reload());
  fileDialogs.openAnswers.push_back(OpenAnswer(kDoc));
  EXPECT_TRUE(manager.AddOpen());
  EXPECT_EQ(editor.text, "xx");
  EXPECT_EQ(lockTable.ModeHeld(kDoc, &lock), 3);
  EXPECT_TRUE(window.errors.empty());
}

TEST_F(TKervFileManagerTest, AnotherHoldersLockRefusesReadAndWrite) {
  ASSERT_TRUE(OpenDoc("abc"));
  fs.AddFile("/home/user/docs/b.txt", "b");
  lockTable.LockByOther("/home/user/docs/b.txt", 3);
  EXPECT_FALSE(manager.OpenFile("/home/user/docs/b.txt", ccAuto, false));
  EXPECT_EQ(window.errors.back().first, 10052);
  lockTable.ReleaseOther("/home/user/docs/b.txt");
  lockTable.LockByOther(kDoc, 2);
  EXPECT_FALSE(manager.Save());
  EXPECT_EQ(window.errors.back().first, 10053);
  EXPECT_EQ(fs.Contents(kDoc), "abc");
}

TEST_F(TKervFileManagerTest, SaveDialogFilterAndExtension) {
  editor.text = "x";
  TSaveDialogResult answer = SaveAnswer("/home/user/docs/page");
  answer.filterChanged = true;
  answer.filterIndex = 1;  // *.htm;*.html
  fileDialogs.saveAnswers.push_back(answer);
  ASSERT_TRUE(manager.SaveAs());
  EXPECT_EQ(manager.FileName(), "/home/user/docs/page.html");
  EXPECT_EQ(fileDialogs.saveRequests[0].filterIndex, 0);  // NewDoc.txt: the *.txt filter
  fileDialogs.saveAnswers.push_back(SaveAnswer("/home/user/docs/plain"));
  ASSERT_TRUE(manager.SaveAs());
  EXPECT_EQ(manager.FileName(), "/home/user/docs/plain");
  EXPECT_EQ(fileDialogs.saveRequests[1].filterIndex, 1);  // .html
  EXPECT_EQ(fileDialogs.saveRequests[1].code.index, 0);
}

TEST_F(TKervFileManagerTest, SymbolicLinkIsOpenedAsItsTarget) {
  fs.AddFile("/home/user/docs/real.txt", "abc");
  fs.AddLink("/home/user/link.txt", "/home/user/docs/real.txt");
  ASSERT_TRUE(manager.OpenFile("/home/user/link.txt", ccAuto, false));
  EXPECT_EQ(manager.FileName(), "/home/user/docs/real.txt");
}

TEST_F(TKervFileManagerTest, ResetReturnsToUntitled) {
  ASSERT_TRUE(OpenDoc("abc"));
  manager.Reset();
  EXPECT_EQ(manager.FileName(), "NewDoc.txt");
  EXPECT_FALSE(manager.HasFile());
  EXPECT_EQ(manager.FileTime(), TKervFileManager::kNoFileTime);
}

TEST_F(TKervFileManagerTest, DeclinedSpecialCharactersKeepDocument) {
  ASSERT_TRUE(OpenDoc("abc"));
  fs.AddFile("/home/user/docs/bin.txt", std::string("a\0b", 3));
  dialogs.answers = {IDialogs::Answer::No};
  EXPECT_FALSE(manager.OpenFile("/home/user/docs/bin.txt", ccShiftJIS, false));
  EXPECT_EQ(manager.FileName(), kDoc);
  EXPECT_EQ(editor.text, "abc");
}

}  // namespace
}  // namespace kerv
