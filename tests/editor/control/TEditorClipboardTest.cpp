// The editor's clipboard, box paste, drag of the selection, words, document
// search and edit-control messages; and, built separately with Qt, the
// clipboard's Qt half on Qt's offscreen platform.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/TEditor.h"
#include "platform/fake/FakeClipboard.h"
#include "platform/posix/IconvCodePage.h"
#include "search/SearchBuffer.h"
#include "search/SearchFlags.h"
#include "tests/editor/control/FakeEditorWindow.h"

#ifdef KERV_QT_CLIPBOARD_TEST
#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/qt/QtClipboard.h"
#endif

namespace kerv {
namespace {

IconvCodePage& CodePage() {
  static IconvCodePage codePage;
  return codePage;
}

// A UTF-8 literal in Shift_JIS.
std::string Sjis(std::string_view utf8) { return CodePage().Utf8ToCp932(utf8, nullptr); }

#ifndef KERV_QT_CLIPBOARD_TEST

using testing::FakeEditorWindow;

class TEditorClipboardTest : public ::testing::Test {
 protected:
  TEditorClipboardTest() { editor_.SetClipboard(&clipboard_); }

  // Loads text exactly, final line break or not.
  void Load(const std::string& text) {
    TMemoryStream stream(text);
    editor_.Lines().LoadFromStream(stream);
    editor_.SetRow(0);
    editor_.SetCol(0);
  }
  std::string Text() { return editor_.WmGetText(); }
  void Caret(int row, int col) {
    editor_.SetRow(row);
    editor_.SetCol(col);
  }
  void Select(int row, int col, int toRow, int toCol) {
    editor_.CancelSelection();
    Caret(row, col);
    editor_.StartSelection();
    Caret(toRow, toCol);
    editor_.ExtendSelection();
  }

  FakeEditorWindow window_;
  TEditor editor_{&window_};
  FakeClipboard clipboard_;
};

// ---------------------------------------------------------------- selection size

// The character count of a text as one string: a lead byte takes the next byte, whatever it is.
int64_t CharactersOf(const std::string& text) {
  int64_t count = 0;
  for (size_t i = 0; i < text.size(); ++count) i += IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
  return count;
}

TEST_F(TEditorClipboardTest, SelSizeCountsWhatSelTextHolds) {
  // Lead bytes at row ends (they take the CR of the line break), runs of
  // lead-range bytes longer than sixteen, wrapped rows and a final line without break.
  std::string text;
  std::mt19937 random(99);
  const char alphabet[] = {'a', '\x81', '\x93', '\xFA', '\xE0', '\x40', '\xA0', ' ', '\t'};
  for (int line = 0; line < 40; ++line) {
    const int length = static_cast<int>(random() % 60);
    for (int k = 0; k < length; ++k) text += alphabet[random() % sizeof alphabet];
    if (line != 39) text += "\r\n";
  }
  for (bool wrap : {false, true}) {
    editor_.WrapOption().SetWrapByte(20);
    editor_.SetWordWrap(wrap);
    Load(text);
    for (TSelectionMode mode : {smNormal, smBox}) {
      for (int round = 0; round < 200; ++round) {
        const int rows = editor_.RowCount();
        editor_.SetSelectionMode(mode);
        Select(static_cast<int>(random() % rows), static_cast<int>(random() % 70), static_cast<int>(random() % rows),
               static_cast<int>(random() % 70));
        const std::string selected = editor_.SelText();
        const TEditor::TSelectionSize size = editor_.SelSize();
        ASSERT_EQ(size.bytes, static_cast<int64_t>(selected.size())) << round;
        ASSERT_EQ(size.characters, CharactersOf(selected)) << round;
      }
      editor_.SetSelectionMode(smNormal);
    }
    editor_.SelectAll();
    EXPECT_EQ(editor_.SelSize().characters, CharactersOf(editor_.SelText()));
  }
  editor_.CancelSelection();
  EXPECT_EQ(editor_.SelSize().bytes, 0);
}

// ---------------------------------------------------------------- messages

TEST_F(TEditorClipboardTest, SetSelAnswersLikeTheEditControl) {
  struct Case {
    long long start, end;
    bool selected;
    long long selStart, selEnd;
    std::string text;
  } cases[] = {
      {0, -1, true, 0, 8, "abc\r\ndef"},  // everything
      {-1, 0, false, 1, 1, ""},           // cancels; the caret stays
      {2, 5, true, 2, 5, "c\r\n"},
      {5, 2, true, 2, 5, "c\r\n"},        // either order
      {5, -1, true, 5, 8, "def"},         // a negative end reaches the end
      {5, 5, false, 5, 5, ""},
      {4, 4, false, 3, 3, ""},            // inside a line break: the row's end
  };
  for (const Case& c : cases) {
    Load("abc\r\ndef");
    Select(0, 1, 0, 2);
    Caret(0, 1);
    editor_.EmSetSel(c.start, c.end);
    EXPECT_EQ(editor_.Selected(), c.selected) << c.start << "," << c.end;
    TEditor::TEditSelection sel = editor_.EmGetSel();
    EXPECT_EQ(sel.start, c.selStart) << c.start << "," << c.end;
    EXPECT_EQ(sel.end, c.selEnd) << c.start << "," << c.end;
    EXPECT_EQ(editor_.SelText(), c.text) << c.start << "," << c.end;
  }
}

TEST_F(TEditorClipboardTest, LineMessagesWalkRowsWithTwoBytesPerLineBreak) {
  Load("ab\r\n" + Sjis("漢字") + "x\r\n\r\nlast");
  // Offsets: "ab" 0-1, CR LF 2-3, 漢字x 4-8, CR LF 9-10, CR LF 11-12, "last" 13-16.
  struct Case {
    long long offset;
    int row;
    int length;
    int x, y;  // cell of EM_POSFROMCHAR
  } cases[] = {
      {0, 0, 2, 0, 0},  {1, 0, 2, 1, 0},  {2, 0, 2, 2, 0},   {3, 0, 2, 2, 0},   {4, 1, 5, 0, 1},
      {6, 1, 5, 2, 1},  {8, 1, 5, 4, 1},  {9, 1, 5, 5, 1},   {11, 2, 0, 0, 2},  {13, 3, 4, 0, 3},
      {16, 3, 4, 3, 3}, {17, 3, 4, 4, 3}, {99, 3, 4, 4, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(editor_.EmLineFromChar(c.offset), c.row) << c.offset;
    EXPECT_EQ(editor_.EmLineLength(c.offset), c.length) << c.offset;
    TEditor::TEditPoint point = editor_.EmPosFromChar(c.offset);
    EXPECT_EQ(point.x, editor_.ColToX(c.x)) << c.offset;
    EXPECT_EQ(point.y, editor_.RowToY(c.y)) << c.offset;
  }
  EXPECT_EQ(editor_.EmGetLineCount(), 4);
  EXPECT_EQ(editor_.EmLineIndex(1), 4);
  EXPECT_EQ(editor_.EmLineIndex(3), 13);
  EXPECT_EQ(editor_.EmLineIndex(4), -1);
  Caret(2, 0);
  EXPECT_EQ(editor_.EmLineIndex(-1), 11);
  EXPECT_EQ(editor_.EmLineFromChar(-1), 2);
  EXPECT_EQ(editor_.EmLineLength(-1), 0);
  // With a selection: the selection's start row, and its rows' unselected bytes.
  Select(1, 2, 1, 4);
  EXPECT_EQ(editor_.EmLineFromChar(-1), 1);
  EXPECT_EQ(editor_.EmLineLength(-1), 3);
  Select(0, 1, 3, 2);
  EXPECT_EQ(editor_.EmLineLength(-1), 1 + 2);

  char buffer[4];
  EXPECT_EQ(editor_.EmGetLine(3, buffer, 3), 3);
  EXPECT_EQ(std::string(buffer, 3), "las");
  EXPECT_EQ(editor_.EmGetLine(4, buffer, 3), 0);
  EXPECT_EQ(editor_.EmGetLine(0, nullptr, 3), 0);
  EXPECT_EQ(editor_.WmGetTextLength(), static_cast<long long>(editor_.WmGetText().size()));
}

TEST_F(TEditorClipboardTest, CharFromPosNamesTheRowAndOffsetOrMinusOneOutside) {
  Load("ab\r\n" + Sjis("漢字") + "x\r\nlast");
  auto cellPoint = [&](int row, int col) {
    return std::pair<int, int>{editor_.ColToX(col) + 1, editor_.RowToY(row) + 1};
  };
  struct Case {
    int row, col;
    int wantRow;
    long long wantOffset;
  } cases[] = {
      {0, 0, 0, 0}, {0, 1, 0, 1}, {0, 9, 0, 2},  // beyond the row: its end
      {1, 1, 1, 4},                              // a trail cell: its character
      {1, 4, 1, 8}, {2, 3, 2, 14}, {7, 0, 2, 11},  // below the last row: the last row
  };
  for (const Case& c : cases) {
    auto [x, y] = cellPoint(c.row, c.col);
    TEditor::TEditCharPos pos = editor_.EmCharFromPos(x, y);
    EXPECT_EQ(pos.row, c.wantRow) << c.row << "," << c.col;
    EXPECT_EQ(pos.offset, c.wantOffset) << c.row << "," << c.col;
  }
  for (auto [x, y] : {std::pair{-1, 5}, std::pair{5, -1}, std::pair{window_.width, 5}, std::pair{5, window_.height}}) {
    TEditor::TEditCharPos pos = editor_.EmCharFromPos(x, y);
    EXPECT_EQ(pos.row, -1);
    EXPECT_EQ(pos.offset, -1);
  }
}

TEST_F(TEditorClipboardTest, TextMessagesReplaceTheWholeTextExactly) {
  Load("abc\r\ndef\r\n");
  EXPECT_EQ(editor_.WmGetText(), "abc\r\ndef\r\n");
  EXPECT_EQ(editor_.WmGetTextLength(), 10);
  EXPECT_TRUE(editor_.WmSetText("xy\r\nz"));
  EXPECT_EQ(editor_.WmGetText(), "xy\r\nz");
  EXPECT_EQ(editor_.WmGetTextLength(), 5);
  EXPECT_TRUE(editor_.WmSetText(""));
  EXPECT_EQ(editor_.WmGetText(), "");
  EXPECT_EQ(editor_.EmGetLineCount(), 0);
  EXPECT_TRUE(editor_.EmUndo());
  EXPECT_EQ(editor_.WmGetText(), "xy\r\nz");
}

TEST_F(TEditorClipboardTest, ReadOnlyRefusesEditsAndCutEmptiesTheClipboardText) {
  Load("abc\r\ndef");
  editor_.ReplaceSelText("x");
  editor_.SetModified(true);
  clipboard_.SetForeignText("other");
  Select(0, 0, 0, 2);
  editor_.EmSetReadOnly(true);
  const std::string before = Text();

  editor_.CutToClipboard();
  EXPECT_EQ(clipboard_.Text().text, "other");
  editor_.WmPaste();
  editor_.PasteFromClipboard();
  editor_.WmClear();
  editor_.EmReplaceSel("zz");
  editor_.PasteBoxText("1\r\n2\r\n");
  editor_.DropTextAt(1, 0, "dropped");
  clipboard_.SetForeignPrimary("primary");
  EXPECT_EQ(editor_.PastePrimaryAt(1, 0), 0u);
  EXPECT_FALSE(editor_.WmSetText("new"));
  EXPECT_FALSE(editor_.EmCanUndo());
  EXPECT_FALSE(editor_.EmUndo());
  editor_.EmSetModify(false);
  EXPECT_TRUE(editor_.EmGetModify());
  EXPECT_EQ(Text(), before);

  // Copying still works; the cut message leaves an empty text.
  Select(0, 0, 0, 2);
  editor_.WmCopy();
  EXPECT_EQ(clipboard_.Text().text, "xa");
  editor_.WmCut();
  EXPECT_TRUE(clipboard_.HasText());
  EXPECT_EQ(clipboard_.Text().text, "");
  EXPECT_EQ(Text(), before);

  editor_.EmSetReadOnly(false);
  editor_.WmCut();
  EXPECT_EQ(clipboard_.Text().text, "xa");
  EXPECT_EQ(Text(), "bc\r\ndef");
}

TEST_F(TEditorClipboardTest, CopyWithoutASelectionLeavesAnEmptyText) {
  Load("abc");
  clipboard_.SetForeignText("kept?");
  editor_.CopyToClipboard();
  EXPECT_EQ(clipboard_.Text().text, "kept?");  // the command does nothing
  editor_.WmCopy();
  EXPECT_TRUE(clipboard_.HasText());
  EXPECT_EQ(clipboard_.Text().text, "");
  EXPECT_FALSE(clipboard_.HasBox());
}

// ---------------------------------------------------------------- clipboard and box paste

TEST_F(TEditorClipboardTest, BoxCopyPastesColumnWiseAndAsLinesWithoutTheBoxKind) {
  const std::string original = "abcd\r\nefgh\r\nijkl\r\nmnop";
  Load(original);
  editor_.SetSelectionMode(smBox);
  Select(0, 1, 1, 3);
  editor_.CopyToClipboard();
  EXPECT_EQ(clipboard_.Text().text, "bc\r\nfg\r\n");
  EXPECT_TRUE(clipboard_.HasBox());

  editor_.CancelSelection();
  Caret(2, 0);
  editor_.PasteFromClipboard();
  EXPECT_EQ(Text(), "abcd\r\nefgh\r\nbcijkl\r\nfgmnop");
  EXPECT_EQ(editor_.Row(), 3);
  EXPECT_EQ(editor_.Col(), 2);
  EXPECT_TRUE(editor_.EmUndo());  // one step
  EXPECT_EQ(Text(), original);

  clipboard_.ForgetBox();
  editor_.SetSelectionMode(smNormal);
  Caret(2, 0);
  editor_.PasteFromClipboard();
  EXPECT_EQ(Text(), "abcd\r\nefgh\r\nbc\r\nfg\r\nijkl\r\nmnop");
}

TEST_F(TEditorClipboardTest, BoxPastePadsShortRowsAndAddsRowsPastTheEnd) {
  const std::string kA = Sjis("あ");
  struct Case {
    const char* name;
    std::string text;
    int row, col;
    std::string paste;
    std::string want;
    int caretRow, caretCol;
  } cases[] = {
      {"pads and adds", "abcdef\r\nab\r\nxyz", 0, 4, "12\r\n34\r\n56\r\n78\r\n",
       "abcd12ef\r\nab  34\r\nxyz 56\r\n    78", 3, 6},
      {"trail byte moves right", "abc\r\n" + kA + "b", 0, 1, "X\r\nY", "aXbc\r\n" + kA + "Yb", 1, 2},
      {"tab fillers move right", "abcdefgh\r\n\tb", 0, 3, "X\r\nY", "abcXdefgh\r\n\tYb", 1, 8},
      {"after a final line break", "ab\r\n", 1, 2, "X\r\nY", "ab\r\n  X\r\n  Y", 2, 3},
      {"empty document", "", 0, 1, "X\r\nY\r\n", " X\r\n Y", 1, 2},
  };
  for (const Case& c : cases) {
    Load(c.text);
    Caret(c.row, c.col);
    editor_.PasteBoxText(c.paste);
    EXPECT_EQ(Text(), c.want) << c.name;
    EXPECT_EQ(editor_.Row(), c.caretRow) << c.name;
    EXPECT_EQ(editor_.Col(), c.caretCol) << c.name;
    EXPECT_TRUE(editor_.EmUndo()) << c.name;
    EXPECT_EQ(Text(), c.text) << c.name;
  }
}

TEST_F(TEditorClipboardTest, BoxPasteReplacesABoxSelectionInOneStep) {
  Load("abcd\r\nefgh\r\nijkl");
  editor_.SetSelectionMode(smBox);
  Select(0, 1, 2, 3);
  editor_.PasteBoxText("XY\r\nZW\r\n");
  EXPECT_EQ(Text(), "aXYd\r\neZWh\r\nil");
  EXPECT_EQ(editor_.Row(), 1);
  EXPECT_EQ(editor_.Col(), 3);
  EXPECT_FALSE(editor_.Selected());
  EXPECT_TRUE(editor_.EmUndo());
  EXPECT_EQ(Text(), "abcd\r\nefgh\r\nijkl");

  Select(0, 1, 1, 2);
  editor_.PasteBoxText("");
  EXPECT_EQ(Text(), "acd\r\negh\r\nijkl");
}

TEST_F(TEditorClipboardTest, PasteReportsCharactersTheCodePageLacks) {
  FakeClipboard unicode(&CodePage());
  editor_.SetClipboard(&unicode);
  size_t reported = 0;
  editor_.OnCharsReplaced = [&](TEditor&, size_t replaced) { reported = replaced; };
  Load("");
  unicode.SetForeignText("a\xF0\x9F\x98\x80" "b\n\xE6\xBC\xA2\xE2\x82\xAC");  // a, emoji, b, LF, 漢, euro sign
  EXPECT_EQ(editor_.PasteFromClipboard(), 2u);
  EXPECT_EQ(reported, 2u);
  EXPECT_EQ(Text(), "a?b\r\n" + Sjis("漢") + "?");

  reported = 0;
  unicode.SetForeignText("plain");
  EXPECT_EQ(editor_.PasteFromClipboard(), 0u);
  EXPECT_EQ(reported, 0u);
}

TEST_F(TEditorClipboardTest, JapaneseHalfWidthKanaAndLineBreaksRoundTrip) {
  FakeClipboard unicode(&CodePage());
  editor_.SetClipboard(&unicode);
  const std::string utf8 = "漢字ｶﾀｶﾅ\r\nかな～ー";
  const std::string sjis = Sjis(utf8);
  Load(sjis);
  editor_.SelectAll();
  editor_.CopyToClipboard();
  EXPECT_EQ(unicode.ForeignText(), utf8);
  Load("");
  editor_.PasteFromClipboard();
  EXPECT_EQ(Text(), sjis);
}

TEST_F(TEditorClipboardTest, SelectingSetsThePrimarySelectionAndAMiddleClickInsertsIt) {
  Load("abcdef\r\nxyz");
  Select(0, 1, 0, 4);
  editor_.UpdatePrimarySelection();
  EXPECT_EQ(clipboard_.ForeignPrimary(), "bcd");
  EXPECT_EQ(editor_.PastePrimaryAt(1, 1), 0u);
  EXPECT_EQ(Text(), "abcdef\r\nxbcdyz");
  EXPECT_FALSE(editor_.Selected());
  EXPECT_EQ(editor_.Row(), 1);
  EXPECT_EQ(editor_.Col(), 4);
  // Beyond the row's end the row is filled with spaces first.
  clipboard_.SetForeignPrimary("q\nr");
  editor_.PastePrimaryAt(0, 8);
  EXPECT_EQ(Text(), "abcdef  q\r\nr\r\nxbcdyz");
}

// ---------------------------------------------------------------- drag and drop

TEST_F(TEditorClipboardTest, DroppingTheSelectionMovesOrCopiesItInOneStep) {
  const std::string original = "abcdef\r\nghij";
  struct Case {
    const char* name;
    int fromRow, fromCol, toRow, toCol;  // the selection
    int dropRow, dropCol;
    bool copy;
    std::string want;
    int caretRow, caretCol;
  } cases[] = {
      {"after", 0, 1, 0, 3, 1, 2, false, "adef\r\nghbcij", 1, 4},
      {"before", 1, 1, 1, 3, 0, 0, false, "hiabcdef\r\ngj", 0, 2},
      {"same row later", 0, 0, 0, 2, 0, 5, false, "cdeabf\r\nghij", 0, 5},
      {"past the row end", 0, 0, 0, 2, 1, 6, false, "cdef\r\nghij  ab", 1, 8},
      {"a line break", 0, 4, 1, 1, 0, 0, false, "ef\r\ngabcdhij", 1, 1},
      {"to the last row's end", 0, 0, 1, 0, 1, 4, false, "ghijabcdef\r\n", 1, 0},
      {"copy", 0, 1, 0, 3, 1, 0, true, "abcdef\r\nbcghij", 1, 2},
  };
  for (const Case& c : cases) {
    Load(original);
    Select(c.fromRow, c.fromCol, c.toRow, c.toCol);
    if (c.copy) {
      editor_.CopySelectionTo(c.dropRow, c.dropCol);
    } else {
      editor_.MoveSelectionTo(c.dropRow, c.dropCol);
    }
    EXPECT_EQ(Text(), c.want) << c.name;
    EXPECT_FALSE(editor_.Selected()) << c.name;
    EXPECT_EQ(editor_.Row(), c.caretRow) << c.name;
    EXPECT_EQ(editor_.Col(), c.caretCol) << c.name;
    EXPECT_TRUE(editor_.EmUndo()) << c.name;
    EXPECT_EQ(Text(), original) << c.name;
  }
}

TEST_F(TEditorClipboardTest, ADropInsideTheSelectionChangesNothingAndCancelsIt) {
  Load("abcdef\r\nghij\r\nklm");
  struct Drop {
    int row, col;
    bool copy;
  } drops[] = {{0, 2, false}, {0, 4, false}, {1, 9, false}, {0, 3, true}, {2, 0, false}};
  for (const Drop& d : drops) {
    Select(0, 2, 2, 1);
    if (d.copy) {
      editor_.CopySelectionTo(d.row, d.col);
    } else {
      editor_.MoveSelectionTo(d.row, d.col);
    }
    EXPECT_FALSE(editor_.Selected()) << d.row << "," << d.col;
  }
  EXPECT_EQ(Text(), "abcdef\r\nghij\r\nklm");
  editor_.MoveSelectionTo(0, 0);  // nothing selected: nothing to move
  editor_.CopySelectionTo(0, 0);
  EXPECT_EQ(Text(), "abcdef\r\nghij\r\nklm");
  // Dropped on its own end: nothing moves, the caret goes after it.
  Select(0, 1, 0, 3);
  editor_.MoveSelectionTo(0, 3);
  EXPECT_EQ(Text(), "abcdef\r\nghij\r\nklm");
  EXPECT_FALSE(editor_.EmCanUndo());
  EXPECT_EQ(editor_.Col(), 3);
}

TEST_F(TEditorClipboardTest, TheMouseDragsTheSelection) {
  Load("abcdef\r\nghij");
  Select(0, 1, 0, 3);
  ASSERT_TRUE(editor_.CanSelMove());
  auto press = [&](int row, int col) { return std::pair{editor_.ColToX(col) + 1, editor_.RowToY(row) + 1}; };
  auto [x0, y0] = press(0, 2);
  auto [x1, y1] = press(1, 4);
  editor_.MouseDown(x0, y0, false, false);
  EXPECT_EQ(editor_.MouseMove(x1, y1, true, false), ckDrag);
  editor_.MouseMove(x1, y1, true, false);
  editor_.MouseUp(x1, y1, false);
  EXPECT_EQ(Text(), "adef\r\nghijbc");
  EXPECT_FALSE(editor_.CanSelMove());
  editor_.SetSelectionMode(smBox);
  Select(0, 0, 0, 2);
  EXPECT_FALSE(editor_.CanSelMove());
  editor_.SetSelectionMode(smNormal);
  Select(0, 0, 0, 2);
  editor_.Caret().SetSelMove(false);
  EXPECT_FALSE(editor_.CanSelMove());
}

TEST_F(TEditorClipboardTest, TextDroppedFromAnotherProgramGoesInAtTheCell) {
  Load("abc\r\ndef");
  Select(0, 0, 0, 1);
  size_t reported = 0;
  editor_.OnCharsReplaced = [&](TEditor&, size_t replaced) { reported = replaced; };
  editor_.DropTextAt(1, 5, "x\ny?", 1);
  EXPECT_EQ(reported, 1u);
  EXPECT_EQ(Text(), "abc\r\ndef  x\r\ny?");
  EXPECT_FALSE(editor_.Selected());
  EXPECT_EQ(editor_.Row(), 2);
  EXPECT_EQ(editor_.Col(), 2);
}

// ---------------------------------------------------------------- words

TEST_F(TEditorClipboardTest, WordMovesStopAtTokenStartsOfMixedJapaneseText) {
  // 漢字 0-3, ひらがな 4-11, カタカナ 12-19, abc 20, def 24, 123 28; width 31.
  Load(Sjis("漢字ひらがなカタカナabc def 123") + "\r\n  foo(bar);");
  std::vector<std::pair<int, int>> right = {{0, 4},  {0, 12}, {0, 20}, {0, 24}, {0, 28},
                                            {0, 31}, {1, 2},  {1, 6},  {1, 11}, {1, 11}};
  for (auto [row, col] : right) {
    editor_.MoveWordRight();
    EXPECT_EQ(editor_.Row(), row);
    EXPECT_EQ(editor_.Col(), col);
  }
  std::vector<std::pair<int, int>> left = {{1, 6},  {1, 2},  {0, 31}, {0, 28}, {0, 24}, {0, 20},
                                           {0, 12}, {0, 4},  {0, 0},  {0, 0}};
  for (auto [row, col] : left) {
    editor_.MoveWordLeft();
    EXPECT_EQ(editor_.Row(), row);
    EXPECT_EQ(editor_.Col(), col);
  }
}


TEST_F(TEditorClipboardTest, TheWordUnderTheCaretOrAPoint) {
  Load(Sjis("漢字ひらがな abc_1 ｶﾀｶﾅ") + "\r\nx = 1; // note");
  struct Case {
    int row, col;
    std::string word;
    TTokenKind kind;
  } cases[] = {
      {0, 0, Sjis("漢字"), tkKanji},   {0, 1, Sjis("漢字"), tkKanji}, {0, 5, Sjis("ひらがな"), tkHiragana},
      {0, 12, "", tkEnd},              {0, 15, "abc_1", tkWord},      {0, 19, Sjis("ｶﾀｶﾅ"), tkHalfKana},
      {0, 23, "", tkEnd},              {1, 2, "=", tkSymbol},         {1, 9, "// note", tkComment},
  };
  editor_.View().SetCommenter("//");
  for (const Case& c : cases) {
    Caret(c.row, c.col);
    int col = editor_.Col();
    EXPECT_EQ(editor_.WordAtCaret(), c.word) << c.row << "," << c.col;
    EXPECT_EQ(editor_.WordKindAtCaret(), c.kind) << c.row << "," << c.col;
    int x = editor_.ColToX(col) + 1;
    int y = editor_.RowToY(c.row) + 1;
    EXPECT_EQ(editor_.WordAtPoint(x, y), c.word) << c.row << "," << c.col;
    EXPECT_EQ(editor_.WordKindAtPoint(x, y), c.kind) << c.row << "," << c.col;
  }
  EXPECT_EQ(editor_.WordAtPoint(editor_.Metrics().textLeft - 1, editor_.RowToY(0) + 1), "");
  // Without the view options the comment is symbols and words.
  TEditor::TEditorWordAt word;
  EXPECT_FALSE(editor_.WordAtPos(5, 0, true, word));
  EXPECT_EQ(editor_.WordAtPoint(editor_.ColToX(0) + 1, editor_.RowToY(5) + 1), "");
  ASSERT_TRUE(editor_.WordAtPos(1, 10, false, word));
  EXPECT_EQ(word.text, "note");

  Caret(0, 17);
  editor_.SelectWordAtCaret();
  EXPECT_EQ(editor_.SelText(), "abc_1");
  editor_.SelectWordAtPoint(editor_.ColToX(5) + 1, editor_.RowToY(0) + 1);
  EXPECT_EQ(editor_.SelText(), Sjis("ひらがな"));
  editor_.CancelSelection();
  Caret(0, 12);
  editor_.SelectWordAtCaret();  // a blank: nothing
  EXPECT_FALSE(editor_.Selected());
}

TEST_F(TEditorClipboardTest, WrappedRowsAreOneLineForWords) {
  editor_.WrapOption().SetWrapByte(20);
  editor_.SetWordWrap(true);
  Load("alpha beta gamma deltaepsilon zeta\r\nnext");
  ASSERT_EQ(editor_.RowKind(0), raWrapped);
  Caret(0, 17);
  editor_.MoveWordRight();  // no further start on the wrapped row: the next row's start
  EXPECT_EQ(editor_.Row(), 1);
  EXPECT_EQ(editor_.Col(), 0);
  editor_.MoveWordLeft();  // back onto the wrapped row, to its last word
  EXPECT_EQ(editor_.Row(), 0);
  EXPECT_EQ(editor_.Col(), 17);

  // A word cut by the wrap is one token.
  Load("abcdefghijklmnopqrstuvwxyz end");
  Caret(1, 2);
  editor_.SelectWordAtCaret();
  EXPECT_EQ(editor_.SelText(), "abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(editor_.Selection().startRow, 0);
}

// ---------------------------------------------------------------- document search

// What a search of the whole text from the caret finds (start, length), or
// (-1, 0).
std::pair<long long, long long> Reference(const std::string& text, long long from, std::string_view pattern,
                                          SearchFlags flags) {
  TSearchPosition position{static_cast<int>(from), 0};
  if (!SearchBuffer(text, position, pattern, flags)) return {-1, 0};
  return {position.start, position.length};
}

class TEditorSearchTest : public TEditorClipboardTest {
 protected:
  // Searches from many caret offsets both ways and compares with one search
  // over the whole text.
  void ExpectLikeWholeText(std::string_view pattern, SearchFlags flags, long long step) {
    const std::string text = Text();
    int hits = 0;
    for (SearchFlags direction : {SearchFlags{SearchFlag::Down}, SearchFlags{0}}) {
      for (long long offset = 0; offset <= static_cast<long long>(text.size()); offset += step) {
        editor_.SetSelStart(offset);
        long long from = editor_.EmGetSel().start;
        auto [start, length] = Reference(text, from, pattern, static_cast<SearchFlags>(flags | direction));
        bool found = editor_.SearchText(pattern, flags | direction);
        ASSERT_EQ(found, start >= 0) << "from " << from << " dir " << direction;
        if (!found) continue;
        ++hits;
        TEditor::TEditSelection sel = editor_.EmGetSel();
        ASSERT_EQ(sel.start, start) << "from " << from << " dir " << direction;
        ASSERT_EQ(sel.end - sel.start, length) << "from " << from << " dir " << direction;
      }
    }
    EXPECT_GT(hits, 0) << "nothing found for " << ::testing::PrintToString(std::string(pattern));
  }
};

std::string Filler(size_t bytes, char seed) {
  std::string out;
  for (size_t i = 0; out.size() < bytes; ++i) out += static_cast<char>('a' + (seed + i * 7) % 26);
  return out.substr(0, bytes);
}

TEST_F(TEditorSearchTest, AHitInALongRowAndAcrossChunkBoundaries) {
  // A 20 KB row with hits around the first chunk's end, between short rows.
  std::string row = Filler(20000, 1);
  for (size_t at : {100, 8185, 8190, 8195, 16380, 19994}) row.replace(at, 6, "NEEDLE");
  Load("x\r\n" + row + "\r\nshort NEEDLE\r\n" + Filler(9000, 2) + "NEE\r\nDLE tail");
  ExpectLikeWholeText("needle", 0, 997);
  ExpectLikeWholeText("NEEDLE", SearchFlag::MatchCase | SearchFlag::WholeWord, 1499);
  ExpectLikeWholeText("needle", SearchFlag::IncludeRet, 1201);
  ExpectLikeWholeText("E\r\nD", SearchFlag::MatchCase, 2003);
}

TEST_F(TEditorSearchTest, AHitOverThreeRowsAtEveryChunkBoundary) {
  // The first chunk ends on each row of the hit in turn, forwards and backwards.
  const std::string hit = "x\r\nyy\r\nz";
  for (int length = 8176; length <= 8196; ++length) {
    Load(Filler(length, 5) + "\r\n" + hit + "\r\n" + Filler(9000, 6));
    editor_.SetSelStart(0);
    EXPECT_TRUE(editor_.SearchText(hit, SearchFlag::Down)) << length;
    EXPECT_EQ(editor_.EmGetSel().start, length + 2) << length;
    Load(Filler(9000, 6) + "\r\n" + hit + "\r\n" + Filler(length, 5));
    editor_.SetSelStart(editor_.WmGetTextLength());
    EXPECT_TRUE(editor_.SearchText(hit, 0)) << length;
    EXPECT_EQ(editor_.EmGetSel().start, 9002) << length;
  }
}

TEST_F(TEditorSearchTest, ManyShortRowsAndWrappedRows) {
  std::string text;
  for (int i = 0; i < 600; ++i) {
    text += Filler(10 + i % 37, static_cast<char>(i));
    if (i % 41 == 0) text += " key";
    if (i % 53 == 0) text += " ke";
    text += i % 53 == 0 ? "\r\ny" : "\r\n";
  }
  text += Sjis("漢字key ｶﾅkey");
  Load(text);
  ExpectLikeWholeText("key", 0, 211);
  ExpectLikeWholeText("key", SearchFlag::WholeWord, 307);
  ExpectLikeWholeText("ke\r\ny", SearchFlag::MatchCase, 509);
  editor_.WrapOption().SetWrapByte(20);
  editor_.SetWordWrap(true);
  ASSERT_GT(editor_.RowCount(), 600);
  ExpectLikeWholeText("key", SearchFlag::WholeWord, 211);
  ExpectLikeWholeText("ke\r\ny", 0, 401);
}

TEST_F(TEditorSearchTest, JapaneseTextWithCaseAndWidthOptions) {
  std::string text;
  for (int i = 0; i < 400; ++i) {
    text += Sjis(i % 3 ? "日本語の文章です。" : "かなカナ") + Filler(i % 23, static_cast<char>(i));
    if (i % 37 == 0) text += Sjis("漢字ａｂｃ");
    if (i % 43 == 0) text += Sjis("漢 字ABCαβ");
    if (i % 59 == 0) text += Sjis("漢字ｶﾞｷﾞ");
    if (i % 31 == 0) text += Sjis("漢字aBcアビab");  // ア and ビ have trail bytes A and r
    if (i % 47 == 0) text += Sjis(" 漢　字 アビ,");
    text += "\r\n";
  }
  Load(text);
  ExpectLikeWholeText(Sjis("字ＡＢ"), 0, 397);
  ExpectLikeWholeText(Sjis("字ａｂ"), SearchFlag::MatchCase, 397);
  ExpectLikeWholeText(Sjis("ＡＢＣ"), SearchFlag::NoMatchZenkaku, 397);
  ExpectLikeWholeText(Sjis("Αβ"), 0, 397);
  ExpectLikeWholeText(Sjis("漢字"), SearchFlag::IncludeSpace | SearchFlag::WholeWord, 397);
  ExpectLikeWholeText(Sjis("ガギ"), SearchFlag::NoMatchZenkaku, 397);
  ExpectLikeWholeText(Sjis("字AbC"), 0, 397);
  ExpectLikeWholeText(Sjis("ビAb"), 0, 397);
  ExpectLikeWholeText(Sjis("アビ"), SearchFlag::WholeWord, 397);
}

TEST_F(TEditorSearchTest, SearchesFromTheSelectionAndSelectsTheHit) {
  std::string row = Filler(30000, 3);
  row.replace(5000, 3, "hit");
  row.replace(25000, 3, "hit");
  Load(row + "\r\nhit");
  editor_.SetSelStart(5001);
  EXPECT_TRUE(editor_.SearchText("hit", SearchFlag::Down));  // not the one behind the start
  EXPECT_EQ(editor_.EmGetSel().start, 25000);
  EXPECT_EQ(editor_.SelText(), "hit");
  EXPECT_TRUE(editor_.SearchText("hit", SearchFlag::Down));  // from the selection's end
  EXPECT_EQ(editor_.EmGetSel().start, 30002);
  EXPECT_FALSE(editor_.SearchText("hit", SearchFlag::Down));
  EXPECT_EQ(editor_.EmGetSel().start, 30002);  // nothing found: nothing moves
  EXPECT_TRUE(editor_.SearchText("hit", 0));   // up from the selection's start
  EXPECT_EQ(editor_.EmGetSel().start, 25000);
  EXPECT_TRUE(editor_.SearchText("hit", 0));
  EXPECT_EQ(editor_.EmGetSel().start, 5000);
  EXPECT_FALSE(editor_.SearchText("hit", 0));
  EXPECT_FALSE(editor_.SearchText("", SearchFlag::Down));
  // Nothing after (or before) the start: a chunk of one long row moves on
  // and never finds a hit behind the start.
  Load(row + "\r\nx");
  editor_.SetSelStart(25001);
  EXPECT_FALSE(editor_.SearchText("hit", SearchFlag::Down));
  editor_.SetSelStart(4999);
  EXPECT_FALSE(editor_.SearchText("hit", 0));
  Load("");
  EXPECT_FALSE(editor_.SearchText("hit", SearchFlag::Down));
}

TEST_F(TEditorSearchTest, ANulInTheDocumentDoesNotEndTheSearch) {
  Load(std::string("ab\0cd\r\nef", 9) + Filler(100, 4) + "target");
  EXPECT_TRUE(editor_.SearchText("target", SearchFlag::Down));
  EXPECT_EQ(editor_.SelText(), "target");
}

#else  // KERV_QT_CLIPBOARD_TEST

// The clipboard's Qt half, on a Qt application made once for the process.
QClipboard* Clipboard() {
  static int argc = 1;
  static char name[] = "kerv_clipboard_test";
  static char* argv[] = {name, nullptr};
  if (QGuiApplication::instance() == nullptr) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);
  }
  return QGuiApplication::clipboard();
}

TEST(QtClipboardTest, OtherProgramsReadUtf8AndOurBoxesStayBoxes) {
  QtClipboard clipboard(CodePage(), Clipboard());
  const std::string sjis = Sjis("漢字ｶﾀｶﾅ\r\nかな");
  clipboard.SetText(sjis, true);
  EXPECT_EQ(Clipboard()->text().toStdString(), "漢字ｶﾀｶﾅ\nかな");
  EXPECT_TRUE(clipboard.HasText());
  EXPECT_TRUE(clipboard.HasBox());
  TClipboardText read = clipboard.Text();
  EXPECT_EQ(read.text, sjis);
  EXPECT_TRUE(read.box);
  EXPECT_EQ(read.replaced, 0u);

  clipboard.SetText(sjis, false);
  EXPECT_FALSE(clipboard.HasBox());
  clipboard.Clear();
  EXPECT_TRUE(clipboard.HasText());
  EXPECT_EQ(clipboard.Text().text, "");
}

TEST(QtClipboardTest, TextOfAnotherProgramIsConvertedAndCounted) {
  QtClipboard clipboard(CodePage(), Clipboard());
  Clipboard()->setText(QString::fromUtf8("a\xF0\x9F\x98\x80" "b\r\n漢\rz\n"));
  TClipboardText read = clipboard.Text();
  EXPECT_EQ(read.text, "a?b\r\n" + Sjis("漢") + "\r\nz\r\n");
  EXPECT_EQ(read.replaced, 1u);
  EXPECT_FALSE(read.box);

  auto* image = new QMimeData;
  image->setData("image/png", QByteArray("\x89PNG", 4));
  Clipboard()->setMimeData(image);
  EXPECT_FALSE(clipboard.HasText());
  EXPECT_EQ(clipboard.Text().text, "");
}

TEST(QtClipboardTest, DropsAndTheEditorUseTheSameData) {
  std::unique_ptr<QMimeData> data(TextToMimeData(Sjis("ﾃｽﾄ\r\n"), true, CodePage()));
  EXPECT_EQ(data->text().toStdString(), "ﾃｽﾄ\n");
  // Only the CR of a CR LF goes: a lone CR is text of its own.
  EXPECT_EQ(std::unique_ptr<QMimeData>(TextToMimeData("a\rb\r\r\nc\r", false, CodePage()))->text().toStdString(),
            "a\rb\r\nc\r");
  TClipboardText read = MimeDataToText(data.get(), CodePage());
  EXPECT_EQ(read.text, Sjis("ﾃｽﾄ\r\n"));
  EXPECT_TRUE(read.box);
  EXPECT_EQ(MimeDataToText(nullptr, CodePage()).text, "");

  QtClipboard clipboard(CodePage(), Clipboard());
  testing::FakeEditorWindow window;
  TEditor editor(&window);
  editor.SetClipboard(&clipboard);
  const std::string text = "ab\r\ncd\r\nef";
  TMemoryStream stream(text);
  editor.Lines().LoadFromStream(stream);
  editor.SetSelectionMode(smBox);
  editor.SetRow(0);
  editor.SetCol(1);
  editor.StartSelection();
  editor.SetRow(1);
  editor.SetCol(2);
  editor.ExtendSelection();
  editor.CopyToClipboard();
  EXPECT_EQ(Clipboard()->text().toStdString(), "b\nd\n");
  editor.CancelSelection();
  editor.SetRow(2);
  editor.SetCol(0);
  editor.PasteFromClipboard();
  EXPECT_EQ(editor.WmGetText(), "ab\r\ncd\r\nbef\r\nd");
}

#endif  // KERV_QT_CLIPBOARD_TEST

}  // namespace
}  // namespace kerv
