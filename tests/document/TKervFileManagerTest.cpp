#include "document/TKervFileManager.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

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
  // The text of the last error box, empty when none was shown.
  std::string LastError() const {
    for (auto it = window.boxes.rbegin(); it != window.boxes.rend(); ++it) {
      if (it->kind == TKervBox::mkError) return it->text;
    }
    return std::string();
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
      {"\x1B$B\x30\x21\x1B(B\r", ccJIS, rcCR},
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
  // The message says why: the system's reason after the code's text.
  EXPECT_EQ(LastError(), std::string(kDoc) + "\r\nファイルの保存に失敗しました。\r\nディスクの空き容量が足りません。");
  EXPECT_EQ(fs.Contents(kDoc), "original");
  EXPECT_TRUE(editor.modified);
  EXPECT_FALSE(window.busy);
}

TEST_F(TKervFileManagerTest, FailedSaveAsKeepsNameAndCodes) {
  ASSERT_TRUE(OpenDoc("abc"));
  fs.SetReadOnlyFolder("/home/user", true);
  fileDialogs.saveAnswers.push_back(SaveAnswer("/home/user/b.txt", 5));
  EXPECT_FALSE(manager.SaveAs());
  EXPECT_EQ(LastError(), "/home/user/b.txt\r\nファイルの保存に失敗しました。\r\nアクセスが拒否されました。(アクセス権がありません)");
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
  EXPECT_NE(LastError().find("ファイルの読み込みに失敗しました。\r\nファイルは他のプログラムによってロックされています。"),
            std::string::npos);
  lockTable.ReleaseOther("/home/user/docs/b.txt");
  lockTable.LockByOther(kDoc, 2);
  EXPECT_FALSE(manager.Save());
  EXPECT_NE(LastError().find("ファイルの保存に失敗しました。\r\nファイルは他のプログラムによってロックされています。"),
            std::string::npos);
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


// ---- a load that lost something: the first save over its file asks

// The boxes asked through AskDefaultNo, whose default button is No.
class TKervFileManagerLossTest : public TKervFileManagerTest {
 protected:
  int DefaultNoQuestions() const {
    int count = 0;
    for (const auto& box : window.boxes) count += box.defaultNo ? 1 : 0;
    return count;
  }
  const std::string& LastText() const { return window.boxes.back().text; }
  // A file with 0x1A on line 2: the text ends there, the rest is lost.
  const std::string kEofFile = "first line\r\nsecond\x1A" + std::string(1600, 'x') + "\r\n";
};

TEST_F(TKervFileManagerLossTest, PlainSaveOfALossyLoadAsksAndNoLeavesTheFileAsItWas) {
  ASSERT_TRUE(OpenDoc(kEofFile));
  EXPECT_EQ(editor.text, "first line\r\nsecond");
  // The notice at open says what was lost and that a save will ask.
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0].buttons, TKervBox::mbOk);
  EXPECT_NE(LastText().find("2行目にEOF文字(0x1A)"), std::string::npos);
  EXPECT_NE(LastText().find("保存する前に確認します"), std::string::npos);
  EXPECT_EQ(manager.LossySource(), kDoc);

  // Ctrl+S without an edit: asked, No is the default, No writes nothing.
  window.answers = {TKervBox::maNo};
  EXPECT_FALSE(manager.Save());
  EXPECT_EQ(DefaultNoQuestions(), 1);
  EXPECT_TRUE(Asked(TDocumentMessage::LossyLoadSave));
  EXPECT_NE(LastText().find("2行目のEOF文字(0x1A)から後のテキスト"), std::string::npos);
  EXPECT_EQ(fs.Contents(kDoc), kEofFile);

  // The mark survives edits: the next save asks again.
  editor.text += "\r\nthird";
  editor.modified = true;
  window.answers = {TKervBox::maNo};
  EXPECT_FALSE(manager.Save());
  EXPECT_EQ(DefaultNoQuestions(), 2);
  EXPECT_EQ(fs.Contents(kDoc), kEofFile);

  // Yes writes the text as it is and clears the mark: no more questions.
  window.answers = {TKervBox::maYes};
  EXPECT_TRUE(manager.Save());
  EXPECT_EQ(fs.Contents(kDoc), "first line\r\nsecond\r\nthird");
  EXPECT_TRUE(manager.LossySource().empty());
  EXPECT_TRUE(manager.Save());
  EXPECT_EQ(DefaultNoQuestions(), 3);
}

TEST_F(TKervFileManagerLossTest, EveryKindOfLossIsNamedInTheQuestion) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* item;
  } cases[] = {
      {"zero byte in UTF-8", std::string("\xE3\x81\x82\n\xE3\x81\x82\0rest", 11), "2行目のNULL文字から後のテキスト"},
      {"control bytes in Shift_JIS", std::string("\x82\xA0\r\na\0b\x07\r\n", 10), "2個の制御文字"},
      {"characters without Shift_JIS form", "a\n\xF0\x9F\x98\x80\xF0\xA0\xAE\xB7\n", "Shift-JISで表せない2個の文字"},
      {"odd last UTF-16 byte", std::string("\xFF\xFE" "a\0b", 5), "半端な1バイト"},
  };
  options.CheckNull = false;  // as by default: no question at open
  Apply();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window.boxes.clear();
    ASSERT_TRUE(OpenDoc(c.bytes));
    window.answers = {TKervBox::maNo};
    EXPECT_FALSE(manager.Save());
    ASSERT_EQ(DefaultNoQuestions(), 1);
    EXPECT_NE(LastText().find(c.item), std::string::npos) << LastText();
    EXPECT_EQ(fs.Contents(kDoc), c.bytes);
  }
}

TEST_F(TKervFileManagerLossTest, SaveAsToAnotherNameIsFreeButNotBackOverTheSource) {
  ASSERT_TRUE(OpenDoc(kEofFile));
  fileDialogs.saveAnswers.push_back(SaveAnswer("/home/user/docs/b.txt"));
  EXPECT_TRUE(manager.SaveAs());
  EXPECT_EQ(DefaultNoQuestions(), 0);
  EXPECT_EQ(fs.Contents("/home/user/docs/b.txt"), "first line\r\nsecond");
  // The file the text came from still holds what the text lost.
  fileDialogs.saveAnswers.push_back(SaveAnswer(kDoc));
  window.answers = {TKervBox::maNo};
  EXPECT_FALSE(manager.SaveAs());
  EXPECT_EQ(DefaultNoQuestions(), 1);
  EXPECT_EQ(fs.Contents(kDoc), kEofFile);
}

TEST_F(TKervFileManagerLossTest, ReloadAndNewClearTheMark) {
  ASSERT_TRUE(OpenDoc(kEofFile));
  fs.AddFile(kDoc, "clean now\r\n");
  window.answers = {TKervBox::maYes};
  ASSERT_TRUE(manager.Reload());
  EXPECT_TRUE(manager.LossySource().empty());
  EXPECT_TRUE(manager.Save());
  EXPECT_EQ(DefaultNoQuestions(), 0);

  ASSERT_TRUE(OpenDoc(kEofFile));
  EXPECT_FALSE(manager.LossySource().empty());
  manager.Reset();
  EXPECT_TRUE(manager.LossySource().empty());
}

TEST_F(TKervFileManagerLossTest, AnInsertedLossyFileWarnsButMarksNothing) {
  ASSERT_TRUE(OpenDoc("doc\r\n"));
  fs.AddFile("/home/user/docs/other.txt", kEofFile);
  fileDialogs.openAnswers.push_back(OpenAnswer("/home/user/docs/other.txt"));
  ASSERT_TRUE(manager.AddOpen());
  EXPECT_NE(LastText().find("2行目にEOF文字(0x1A)"), std::string::npos);
  EXPECT_EQ(LastText().find("保存する前に確認します"), std::string::npos);  // that file is never saved over
  EXPECT_TRUE(manager.LossySource().empty());
  EXPECT_TRUE(manager.Save());
  EXPECT_EQ(DefaultNoQuestions(), 0);
}

TEST_F(TKervFileManagerLossTest, RegularBackupNeverSavesALossyFileInPlace) {
  options.RegBackupType = 1;
  options.Interval = 1;
  Apply();
  ASSERT_TRUE(OpenDoc(kEofFile));
  manager.RegularBackup().Tick();
  EXPECT_EQ(DefaultNoQuestions(), 0);
  EXPECT_EQ(fs.Contents(kDoc), kEofFile);
  // The text went to the backup folder instead.
  EXPECT_EQ(fs.Contents(manager.RegularBackup().TargetName()), "first line\r\nsecond");
}

TEST_F(TKervFileManagerLossTest, SavingHalfWidthKatakanaAsJisAsksFirst) {
  ASSERT_TRUE(OpenDoc("abc"));
  editor.text = Sjis("a\r\nｶﾞｷﾞ");
  fileDialogs.saveAnswers.push_back(SaveAnswer(kDoc, 1));  // JIS
  window.answers = {TKervBox::maNo};
  EXPECT_FALSE(manager.SaveAs());
  EXPECT_EQ(DefaultNoQuestions(), 1);
  EXPECT_NE(LastText().find("2個の半角カタカナは全角カタカナで保存されます。(最初の文字: 2行目)"), std::string::npos);
  EXPECT_EQ(fs.Contents(kDoc), "abc");
  fileDialogs.saveAnswers.push_back(SaveAnswer(kDoc, 1));
  window.answers = {TKervBox::maYes};
  EXPECT_TRUE(manager.SaveAs());
  EXPECT_EQ(fs.Contents(kDoc), "a\r\n\x1B$B\x25\x2C\x25\x2E\x1B(B");
}

// ---- a change by another program answered No is still asked about at save

TEST_F(TKervFileManagerTest, SaveAfterDecliningTheReloadAsksBeforeOverwriting) {
  ASSERT_TRUE(OpenDoc("mine"));
  fs.AddFile(kDoc, "theirs");
  window.answers = {TKervBox::maNo};
  EXPECT_FALSE(manager.CheckChanged());
  editor.text = "mine, edited";
  window.answers = {TKervBox::maNo};
  EXPECT_FALSE(manager.Save());
  EXPECT_TRUE(Asked(TDocumentMessage::NewerOnDisk));
  EXPECT_EQ(fs.Contents(kDoc), "theirs");
  // The activation check does not ask twice about the same change.
  EXPECT_FALSE(manager.CheckChanged());
  window.answers = {TKervBox::maYes};
  EXPECT_TRUE(manager.Save());
  EXPECT_EQ(fs.Contents(kDoc), "mine, edited");
  size_t boxes = window.boxes.size();
  EXPECT_TRUE(manager.Save());
  EXPECT_EQ(window.boxes.size(), boxes);  // our own version is not asked about
}

TEST(FileErrorReasonTest, TheSystemsReasonInTheUsersWords) {
  struct Case {
    EFileError error;
    std::string reason;
  } cases[] = {
      {EFileError(EFileError::Kind::Write, "/f", ENOSPC), "ディスクの空き容量が足りません。"},
      {EFileError(EFileError::Kind::Open, "/f", EACCES), "アクセスが拒否されました。(アクセス権がありません)"},
      {EFileError(EFileError::Kind::Open, "/f", EPERM), "アクセスが拒否されました。(アクセス権がありません)"},
      {EFileError(EFileError::Kind::Open, "/f", EROFS), "読み取り専用のファイルシステムです。"},
      {EFileError(EFileError::Kind::Write, "/f", EDQUOT), "ディスクの使用量が上限を超えています。"},
      {EFileError(EFileError::Kind::NotRegular, "/f", "a pipe"), "通常のファイルではありません。(パイプやデバイスは開けません)"},
      {EFileError(EFileError::Kind::TooBig, "/f", EFBIG), "ファイルが大きすぎます。"},
      // Any other error in the system's own words.
      {EFileError(EFileError::Kind::Write, "/f", ENAMETOOLONG), std::strerror(ENAMETOOLONG)},
      {EFileError(EFileError::Kind::Open, "/f", "locked by someone"), "locked by someone"},
  };
  for (const Case& c : cases) EXPECT_EQ(FileErrorReason(c.error), c.reason) << c.error.what();
}

// ---- names that are no regular file

TEST_F(TKervFileManagerTest, APipeIsRefusedWithAMessageAndTheDocumentStays) {
  ASSERT_TRUE(OpenDoc("kept"));
  fs.AddSpecialFile("/home/user/docs/some.fifo", TFileKind::Fifo);
  EXPECT_FALSE(manager.OpenFile("/home/user/docs/some.fifo", ccAuto, false));
  EXPECT_TRUE(manager.LastReadRefusedNotRegular());
  EXPECT_EQ(LastError(),
            "/home/user/docs/some.fifo\r\nファイルの読み込みに失敗しました。\r\n通常のファイルではありません。(パイプやデバイスは開けません)");
  EXPECT_EQ(manager.FileName(), kDoc);
  EXPECT_EQ(editor.text, "kept");
  EXPECT_FALSE(window.busy);
  // A plain failure is no such refusal.
  fs.AddFile("/home/user/docs/locked.txt", "x");
  lockTable.LockByOther("/home/user/docs/locked.txt", 3);
  EXPECT_FALSE(manager.OpenFile("/home/user/docs/locked.txt", ccAuto, false));
  EXPECT_FALSE(manager.LastReadRefusedNotRegular());
}

// ---- files that a new file renamed over them would lose something of

class TKervFileManagerInPlaceTest : public TKervFileManagerTest {
 protected:
  std::vector<std::string> BackupFolderFiles() { return fs.ListFiles("/home/user/.config/kerv/Backup", "*"); }
};

TEST_F(TKervFileManagerInPlaceTest, HardLinkedFileKeepsBothNamesInStep) {
  fs.AddFile(kDoc, "old");
  fs.AddHardLink("/home/user/docs/other-name.txt", kDoc);
  ASSERT_TRUE(manager.OpenFile(kDoc, ccAuto, false));
  editor.text = "new text";
  EXPECT_TRUE(manager.Save());
  EXPECT_EQ(fs.Contents(kDoc), "new text");
  EXPECT_EQ(fs.Contents("/home/user/docs/other-name.txt"), "new text");
  EXPECT_EQ(fs.InPlaceWrites(), 1);
  // The copy made before the write goes once the write is complete.
  EXPECT_TRUE(BackupFolderFiles().empty());
  EXPECT_FALSE(manager.CheckChanged());
}

TEST_F(TKervFileManagerInPlaceTest, ReadOnlyFolderOrForeignOwnerIsWrittenInPlace) {
  fs.AddFolder("/home/user/ro");
  fs.AddFile("/home/user/ro/a.txt", "old");
  fs.SetReadOnlyFolder("/home/user/ro", true);
  ASSERT_TRUE(manager.OpenFile("/home/user/ro/a.txt", ccAuto, false));
  editor.text = "saved in a read-only folder";
  EXPECT_TRUE(manager.Save());
  EXPECT_EQ(fs.Contents("/home/user/ro/a.txt"), "saved in a read-only folder");

  fs.AddFile(kDoc, "theirs");
  fs.SetForeignOwner(kDoc);
  ASSERT_TRUE(manager.OpenFile(kDoc, ccAuto, false));
  editor.text = "still theirs";
  EXPECT_TRUE(manager.Save());
  EXPECT_EQ(fs.Contents(kDoc), "still theirs");
  EXPECT_EQ(fs.InPlaceWrites(), 2);
}

TEST_F(TKervFileManagerInPlaceTest, FailedInPlaceWriteLeavesAVerifiedCopyAndSaysWhere) {
  fs.AddFile(kDoc, "the whole old text");
  fs.AddHardLink("/home/user/docs/b.txt", kDoc);
  ASSERT_TRUE(manager.OpenFile(kDoc, ccAuto, false));
  editor.text = "a new text that does not fit";
  fs.FailWritesTo(kDoc);
  EXPECT_FALSE(manager.Save());
  // The file itself is damaged, as a full disk leaves it; the copy is whole.
  ASSERT_EQ(BackupFolderFiles().size(), 1u);
  const std::string copy = "/home/user/.config/kerv/Backup/" + BackupFolderFiles()[0];
  EXPECT_EQ(fs.Contents(copy), "the whole old text");
  EXPECT_EQ(LastError(), std::string(kDoc) + "\r\nファイルの保存に失敗しました。\r\nディスクの空き容量が足りません。\r\n"
                                              "保存する前の内容は次のファイルに残してあります。\r\n" + copy);
}

TEST_F(TKervFileManagerInPlaceTest, AWriteRefusedBeforeItTouchedTheFileKeepsNoCopy) {
  fs.AddFile(kDoc, "old");
  fs.AddHardLink("/home/user/docs/b.txt", kDoc);
  fs.SetFileMode(kDoc, 0444);
  ASSERT_TRUE(manager.OpenFile(kDoc, ccAuto, false));
  editor.text = "new";
  EXPECT_FALSE(manager.Save());
  EXPECT_EQ(LastError(), std::string(kDoc) + "\r\nファイルの保存に失敗しました。\r\nアクセスが拒否されました。(アクセス権がありません)");
  EXPECT_TRUE(BackupFolderFiles().empty());
  EXPECT_EQ(fs.Contents(kDoc), "old");
}

TEST_F(TKervFileManagerInPlaceTest, NoCopyNoInPlaceWrite) {
  fs.AddFile(kDoc, "old");
  fs.AddHardLink("/home/user/docs/b.txt", kDoc);
  ASSERT_TRUE(manager.OpenFile(kDoc, ccAuto, false));
  fs.SetReadOnlyFolder("/home/user/.config/kerv", true);  // the backup folder cannot be made
  editor.text = "new";
  EXPECT_FALSE(manager.Save());
  EXPECT_EQ(fs.Contents(kDoc), "old");
  EXPECT_EQ(fs.InPlaceWrites(), 0);
  EXPECT_NE(LastError().find("コピーをバックアップフォルダーに作れなかったため、保存していません。"), std::string::npos);
}

// A read given up at any point, while reading, decoding or making the rows,
// leaves the document as it was: its text, name and lock; the window hears
// of it in a notice.
TEST_F(TKervFileManagerTest, AReadGivenUpLeavesTheDocumentAsItWas) {
  options.FileLockMode = 3;
  Apply();
  ASSERT_TRUE(OpenDoc("old text"));
  ASSERT_TRUE(lock.Held());
  const std::string lockedBefore = lock.LockedPath();
  const std::string other = "/home/user/docs/big.txt";
  fs.AddFile(other, std::string(1000, 'x') + "\r\n" + std::string(1000, 'y'));
  for (int cancelAt : {0, 560, 600, 617, 700, 900}) {
    SCOPED_TRACE(cancelAt);
    window.progress.clear();
    window.notices.clear();
    window.cancelAt = cancelAt;
    EXPECT_FALSE(manager.OpenFile(other, ccAuto, false));
    EXPECT_EQ(editor.text, "old text");
    EXPECT_EQ(manager.FileName(), kDoc);
    EXPECT_EQ(lock.LockedPath(), lockedBefore);
    EXPECT_FALSE(window.busy);
    EXPECT_EQ(LastError(), "");
    ASSERT_FALSE(window.notices.empty());
    EXPECT_NE(window.notices.back().find("big.txt の読み込みを中止しました"), std::string::npos);
  }
  // Not given up: the reports only go forward, and every one of them could
  // have given the read up.
  window.progress.clear();
  window.cancelAt = -1;
  ASSERT_TRUE(manager.OpenFile(other, ccAuto, false));
  ASSERT_FALSE(window.progress.empty());
  for (size_t k = 1; k < window.progress.size(); ++k) {
    EXPECT_LE(window.progress[k - 1].first, window.progress[k].first);
    EXPECT_TRUE(window.progress[k].second) << k;
  }
  EXPECT_GT(window.progress.back().first, 850) << "the rows are reported";
  EXPECT_EQ(editor.text.size(), 2002u);
}

}  // namespace
}  // namespace kerv
