#include "document/TFileManager.h"

#include <gtest/gtest.h>

#include "document/DocumentMessages.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

class TFileManagerTest : public testing::Test {
 protected:
  struct Loaded {
    bool accepted = false;
    std::string text;
    TReturnCode returnCode = rcNone;
    TCharCode charCode = ccAuto;
    TLoadReport report;
  };

  Loaded Load(const std::string& bytes, TCharCode requested = ccAuto, bool askNull = false, bool utf8nCheck = true) {
    fs_.AddFile(kPath, bytes);
    Loaded loaded;
    loaded.charCode = requested;
    loaded.accepted = manager_.LoadText(kPath, loaded.text, askNull, utf8nCheck, loaded.returnCode, loaded.charCode,
                                        &loaded.report);
    return loaded;
  }

  std::string Sjis(const char* utf8) { return codePage_.Utf8ToCp932(utf8, nullptr); }

  static constexpr const char* kPath = "/home/user/doc.txt";
  FakeFileSystem fs_;
  IconvCodePage codePage_;
  FakeDialogs dialogs_;
  TFileManager manager_{fs_, codePage_, dialogs_};
};

TEST_F(TFileManagerTest, EmptyFileIsAsciiWithCrLf) {
  Loaded loaded = Load("");
  EXPECT_TRUE(loaded.accepted);
  EXPECT_EQ(loaded.text, "");
  EXPECT_EQ(loaded.charCode, ccAscii);
  EXPECT_EQ(loaded.returnCode, rcCRLF);
}

TEST_F(TFileManagerTest, DetectedCodesAndTheirText) {
  struct Case {
    std::string bytes;
    TCharCode code;
    std::string text;
    TReturnCode returnCode;
  } cases[] = {
      {"a\nb\n", ccAscii, "a\r\nb\r\n", rcLF},
      {"\x82\xA0\rx", ccShiftJIS, "\x82\xA0\r\nx", rcCR},
      {"\x1B$B\x30\x21\x1B(B\r\n", ccJIS, "\x88\x9F\r\n", rcCRLF},     // JIS83 is read as JIS
      {"\x1B$@\x30\x21\x1B(B", ccJIS, "\x88\x9F", rcCRLF},             // and so is JIS78
      {"\xB4\xC1\xBB\xFA\n", ccEUC, "\x8A\xBF\x8E\x9A\r\n", rcLF},
      {std::string("\xFF\xFE" "a\0\n\0", 6), ccUnicode, "a\r\n", rcLF},
      {std::string("\xFE\xFF\0a\0\r", 6), ccUnicodeBE, "a\r\n", rcCR},
      {"\xEF\xBB\xBF\xE4\xBA\x9C", ccUTF8, "\x88\x9F", rcCRLF},
      {"\xE4\xBA\x9C\xE4\xBA\x9C", ccUTF8N, "\x88\x9F\x88\x9F", rcCRLF},
  };
  for (const Case& c : cases) {
    Loaded loaded = Load(c.bytes);
    EXPECT_EQ(loaded.charCode, c.code) << testing::PrintToString(c.bytes);
    EXPECT_EQ(loaded.text, c.text) << testing::PrintToString(c.bytes);
    EXPECT_EQ(loaded.returnCode, c.returnCode) << testing::PrintToString(c.bytes);
  }
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(TFileManagerTest, ShiftJisOrEucAsks) {
  Loaded sjis = Load("\xB1\xB2\r\n");
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].text,
            "Shift-JISとEUCの判別ができませんでした。\r\nShift-JISで読み込みますか？(「いいえ」を選択した場合、EUCとして読み込みます。)");
  EXPECT_EQ(sjis.charCode, ccShiftJIS);
  EXPECT_EQ(sjis.text, "\xB1\xB2\r\n");

  dialogs_.answers.push_back(IDialogs::Answer::No);
  Loaded euc = Load("\xB1\xB2\r\n");
  EXPECT_EQ(euc.charCode, ccEUC);
  EXPECT_EQ(euc.text, "\x89\x51\r\n");
}

TEST_F(TFileManagerTest, ControlBytesBecomeBlanksAfterTheQuestion) {
  const std::string bytes = std::string("a\0b\x07", 4) + "\xFF\n";
  Loaded quiet = Load(bytes, ccShiftJIS);
  EXPECT_TRUE(quiet.accepted);
  EXPECT_EQ(quiet.text, "a b \xFF\r\n");
  EXPECT_EQ(quiet.report.blanked, 2u);
  EXPECT_TRUE(dialogs_.shown.empty());

  Loaded asked = Load(bytes, ccShiftJIS, true);
  EXPECT_TRUE(asked.accepted);
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].text, DocumentMessage(TDocumentMessage::SpecialChars));
  EXPECT_EQ(dialogs_.shown[0].text,
            "ファイル内に特殊な文字が含まれています。このまま読み込みますか？\r\n(特殊な文字は半角スペースに変換され、そのまま保存すると元データが変更されます。)");

  dialogs_.answers.push_back(IDialogs::Answer::No);
  Loaded declined = Load(bytes, ccShiftJIS, true);
  EXPECT_FALSE(declined.accepted);
  EXPECT_EQ(declined.text, "");

  Load("plain", ccShiftJIS, true);
  EXPECT_EQ(dialogs_.shown.size(), 2u);  // nothing to ask about
}

TEST_F(TFileManagerTest, BinaryFileKeepsItsReturns) {
  Loaded loaded = Load("a\x01\nb\n");
  EXPECT_EQ(loaded.charCode, ccBinary);
  EXPECT_EQ(loaded.text, "a \nb\n");
  EXPECT_EQ(loaded.returnCode, rcLF);
  manager_.SaveText(kPath, loaded.text, loaded.returnCode, loaded.charCode);
  EXPECT_EQ(fs_.Contents(kPath), "a \nb\n");
}

TEST_F(TFileManagerTest, ExplicitCodesKeepFilesWithoutMarkWhole) {
  EXPECT_EQ(Load(std::string("a\0b\0", 4), ccUnicode).text, "ab");
  EXPECT_EQ(Load(std::string("\0a\0b", 4), ccUnicodeBE).text, "ab");
  EXPECT_EQ(Load("abc", ccUTF8).text, "abc");
  EXPECT_EQ(Load("\xEF\xBB\xBF" "abc", ccUTF8).text, "abc");
}

TEST_F(TFileManagerTest, LossyLoadsAreReported) {
  Loaded loaded = Load("line one\nline \xC3\xA9 two \xF0\x9F\x98\x80\n", ccUTF8N);
  EXPECT_EQ(loaded.text, "line one\r\nline ? two ?\r\n");
  EXPECT_EQ(loaded.report.replaced, 2u);
  EXPECT_EQ(loaded.report.firstReplacedOffset, 14);
  EXPECT_EQ(loaded.report.firstReplacedLine, 2);
  EXPECT_TRUE(loaded.report.Lossy());
  EXPECT_EQ(TFileManager::LoadWarning(loaded.report),
            "Shift-JISで表せない文字が2個あったため、「?」に置き換えました。(最初の文字: 2行目)\r\n"
            "このファイルに上書き保存するときは、保存する前に確認します。");

  // The odd last byte of UTF-16 is dropped, and said so (it did not become "?").
  Loaded utf16 = Load(std::string("\xFF\xFE" "a\0\r\0\n\0\xE9\0z", 11));
  EXPECT_EQ(utf16.text, "a\r\n?");
  EXPECT_EQ(utf16.report.replaced, 1u);
  EXPECT_TRUE(utf16.report.oddLastByte);
  EXPECT_EQ(utf16.report.firstReplacedOffset, 8);
  EXPECT_EQ(utf16.report.firstReplacedLine, 2);
  EXPECT_NE(TFileManager::LoadWarning(utf16.report).find("最後の1バイト"), std::string::npos);

  Loaded ended = Load(std::string("\x1B$B\x30\x21\x1B(B\r\nx\0rest", 15), ccJIS);
  EXPECT_EQ(ended.text, "\x88\x9F\r\nx");
  EXPECT_EQ(ended.report.endedAtOffset, 11);
  EXPECT_EQ(ended.report.endedAtLine, 2);
  EXPECT_NE(TFileManager::LoadWarning(ended.report).find("2行目にNULL文字"), std::string::npos);

  // An end-of-file byte would end the text silently in the line store (and a
  // save would drop the rest): the load ends there openly and says so.
  Loaded eof = Load("a\nb\nc\x1A" "rest", ccShiftJIS);
  EXPECT_EQ(eof.text, "a\r\nb\r\nc");
  EXPECT_TRUE(eof.report.Lossy());
  EXPECT_NE(TFileManager::LoadWarning(eof.report).find("3行目にEOF文字(0x1A)"), std::string::npos);

  EXPECT_FALSE(Load("\x82\xA0", ccShiftJIS).report.Lossy());
  EXPECT_EQ(TFileManager::LoadWarning(TLoadReport()), "");
}

TEST_F(TFileManagerTest, WhatALoadLosesIsCountedAndNamed) {
  struct Case {
    const char* name;
    std::string bytes;
    TCharCode code;
    std::string text;
    bool lossy;
    const char* item;  // a piece of the question's line about it
  } cases[] = {
      // Control bytes become blanks: a loss, also without the question (CheckNull off).
      {"control bytes", std::string("a\r\nb\0c\x01\r\n", 9), ccShiftJIS, "a\r\nb c \r\n", true, "2個の制御文字"},
      // A mid-text 0x1A ends the text: the rest is lost.
      {"mid 0x1A", "one\r\ntwo\x1Athree\r\n", ccShiftJIS, "one\r\ntwo", true, "2行目のEOF文字(0x1A)から後"},
      // Two at the end: the second is text.
      {"two final 0x1A", "a\x1A\x1A", ccShiftJIS, "a", true, "1行目のEOF文字(0x1A)"},
      // One 0x1A as the very last byte is the old end-of-file mark: nothing lost.
      {"final 0x1A", "a\r\nb\x1A", ccShiftJIS, "a\r\nb", false, ""},
      {"final 0x1A of UTF-8", "\xE4\xBA\x9C\x1A", ccUTF8N, "\x88\x9F", false, ""},
      // A binary file keeps a 0x1A inside; the line store drops a run at its end.
      {"binary 0x1A inside", "a\x01\x1A" "b", ccBinary, "a \x1A" "b", true, "1個の制御文字"},
      {"binary final run", "a\x1A\x1A", ccBinary, "a", true, "EOF文字(0x1A)"},
      // A zero byte ends a decoded text.
      {"zero in UTF-8", std::string("x\ny\0z", 5), ccUTF8N, "x\r\ny", true, "2行目のNULL文字から後"},
      {"odd UTF-16 byte", std::string("\xFF\xFE" "a\0b", 5), ccUnicode, "a", true, "半端な1バイト"},
      {"characters", "\xF0\x9F\x98\x80", ccUTF8N, "?", true, "Shift-JISで表せない1個の文字"},
  };
  for (const Case& c : cases) {
    Loaded loaded = Load(c.bytes, c.code);
    EXPECT_EQ(loaded.text, c.text) << c.name;
    EXPECT_EQ(loaded.report.Lossy(), c.lossy) << c.name;
    EXPECT_NE(TFileManager::LoadLossItems(loaded.report).find(c.item), std::string::npos)
        << c.name << ": " << TFileManager::LoadLossItems(loaded.report);
  }
}

TEST_F(TFileManagerTest, APipeOrDeviceIsRefusedNotRead) {
  // Reading a pipe waits for a writer, a device may never end: refused.
  fs_.AddSpecialFile("/home/user/pipe", TFileKind::Fifo);
  fs_.AddSpecialFile("/home/user/zero", TFileKind::Other);
  for (const char* name : {"/home/user/pipe", "/home/user/zero", "/home/user"}) {
    std::string text;
    TReturnCode returnCode = rcNone;
    TCharCode charCode = ccAuto;
    try {
      manager_.LoadText(name, text, false, true, returnCode, charCode);
      ADD_FAILURE() << name;
    } catch (const EFileError& error) {
      EXPECT_EQ(error.kind(), EFileError::Kind::NotRegular) << name;
    }
  }
}

TEST_F(TFileManagerTest, SaveWritesEachCode) {
  const std::string text = Sjis("ｶﾞ亜\r\n");
  struct Case {
    TCharCode code;
    TReturnCode returnCode;
    std::string bytes;
  } cases[] = {
      {ccShiftJIS, rcCRLF, text},
      {ccShiftJIS, rcLF, Sjis("ｶﾞ亜\n")},
      {ccJIS, rcCRLF, "\x1B$B\x25\x2C\x30\x21\x1B(B\r\n"},
      {ccEUC, rcCR, "\x8E\xB6\x8E\xDE\xB0\xA1\r"},
      {ccUnicode, rcCRLF, std::string("\xFF\xFE\x76\xFF\x9E\xFF\x9C\x4E\r\0\n\0", 12)},
      {ccUnicodeBE, rcLF, std::string("\xFE\xFF\xFF\x76\xFF\x9E\x4E\x9C\0\n", 10)},
      {ccUTF8, rcCRLF, "\xEF\xBB\xBF\xEF\xBD\xB6\xEF\xBE\x9E\xE4\xBA\x9C\r\n"},
      {ccUTF8N, rcCRLF, "\xEF\xBD\xB6\xEF\xBE\x9E\xE4\xBA\x9C\r\n"},
      {ccBinary, rcCRLF, text},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(manager_.SaveText(kPath, text, c.returnCode, c.code)) << CharCodeName(c.code);
    EXPECT_EQ(fs_.Contents(kPath), c.bytes) << CharCodeName(c.code);
  }
  // No target return code: the line breaks stay as they are.
  manager_.SaveText(kPath, "a\r\nb", rcNone, ccShiftJIS);
  EXPECT_EQ(fs_.Contents(kPath), "a\r\nb");
}

TEST_F(TFileManagerTest, LfTextReadAndSavedComesBackByteForByte) {
  const std::string bytes = Sjis("一行目\n二行目\n\nend");
  Loaded loaded = Load(bytes);
  EXPECT_EQ(loaded.text, Sjis("一行目\r\n二行目\r\n\r\nend"));
  manager_.SaveText(kPath, loaded.text, rcCRLF, loaded.charCode);
  EXPECT_EQ(fs_.Contents(kPath), loaded.text);
  manager_.SaveText(kPath, loaded.text, loaded.returnCode, loaded.charCode);
  EXPECT_EQ(fs_.Contents(kPath), bytes);
}

TEST_F(TFileManagerTest, EveryCodeSurvivesSaveAndDetectedLoad) {
  const std::string text = Sjis("漢字とかなカナ ｶﾞｷﾞｱ ①Ⅰ㍉ ⅰ纊髙 \\~\r\n二行目\r\n");
  const std::string fullWidth = Sjis("漢字とかなカナ ガギア ①Ⅰ㍉ ⅰ纊髙 \\~\r\n二行目\r\n");
  for (TCharCode code : {ccShiftJIS, ccJIS, ccEUC, ccUnicode, ccUnicodeBE, ccUTF8, ccUTF8N}) {
    for (TReturnCode returnCode : {rcCRLF, rcLF, rcCR}) {
      manager_.SaveText(kPath, text, returnCode, code);
      Loaded loaded;
      loaded.accepted = manager_.LoadText(kPath, loaded.text, true, true, loaded.returnCode, loaded.charCode = ccAuto);
      EXPECT_EQ(loaded.charCode, code) << CharCodeName(code);
      EXPECT_EQ(loaded.returnCode, returnCode) << CharCodeName(code);
      EXPECT_EQ(loaded.text, code == ccJIS ? fullWidth : text) << CharCodeName(code) << " " << ReturnCodeName(returnCode);
    }
  }
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(TFileManagerTest, CharactersTheTargetCannotHoldAreReported) {
  TSaveReport report;
  manager_.SaveText(kPath, Sjis("a\r\nb") + "\xF0\x40", rcLF, ccEUC, &report);
  EXPECT_EQ(fs_.Contents(kPath), "a\nb?");
  EXPECT_EQ(report.replaced, 1u);
  EXPECT_EQ(report.firstReplacedLine, 2);
  EXPECT_TRUE(report.Lossy());

  // JIS turns half-width katakana into full-width for good: a loss too.
  TSaveReport jis;
  manager_.SaveText(kPath, Sjis("a\r\nb\r\nｱ"), rcCRLF, ccJIS, &jis);
  EXPECT_EQ(jis.replaced, 0u);
  EXPECT_EQ(jis.widened, 1u);
  EXPECT_EQ(jis.firstWidenedLine, 3);
  EXPECT_TRUE(jis.Lossy());
  TSaveReport euc;
  manager_.SaveText(kPath, Sjis("ｱ"), rcCRLF, ccEUC, &euc);
  EXPECT_FALSE(euc.Lossy());
}

TEST_F(TFileManagerTest, FailedSaveLeavesTheOriginalAndRaises) {
  fs_.AddFile(kPath, "original");
  fs_.FailWritesTo(kPath);
  for (TCharCode code : {ccShiftJIS, ccJIS, ccUTF8}) {
    EXPECT_THROW(manager_.SaveText(kPath, "new text", rcCRLF, code), EFileError);
    EXPECT_EQ(fs_.Contents(kPath), "original");
  }
  EXPECT_THROW(manager_.SaveText("/no/such/folder/x.txt", "text", rcCRLF, ccShiftJIS), EFileError);
  EXPECT_THROW(manager_.CreateEmptyFile(kPath, "x"), EFileError);
  EXPECT_EQ(fs_.Contents(kPath), "original");
}

TEST_F(TFileManagerTest, FilesAsTheyAre) {
  EXPECT_EQ(manager_.FileSize("/home/user/missing.txt"), -1);
  std::string text;
  TReturnCode returnCode = rcNone;
  TCharCode charCode = ccAuto;
  EXPECT_THROW(manager_.LoadText("/home/user/missing.txt", text, false, true, returnCode, charCode), EFileError);

  manager_.CreateEmptyFile(kPath, std::string("raw\n\0bytes", 10));
  EXPECT_EQ(fs_.Contents(kPath), std::string("raw\n\0bytes", 10));
  EXPECT_EQ(manager_.FileSize(kPath), 10);
}

}  // namespace
}  // namespace kerv
