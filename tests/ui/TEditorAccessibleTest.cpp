// The editor pane as a screen reader sees it: an editable text counted in
// characters, lines and words, the caret and the selection.

#include "ui/TEditorAccessible.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>

#include "platform/posix/IconvCodePage.h"
#include "ui/TEditorWidget.h"
#include "tests/QtTestApplication.h"

namespace kerv {
namespace {

class TEditorAccessibleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { TestApplication<QApplication>(); }
  void SetUp() override {
    widget_ = std::make_unique<TEditorWidget>(codePage_);
    widget_->resize(640, 400);
    widget_->show();
    widget_->setFocus();
    QApplication::processEvents();
  }
  void Load(const std::string& utf8) {
    std::string text = codePage_.Utf8ToCp932(utf8, nullptr);
    TMemoryStream stream(text);
    widget_->Editor().Lines().LoadFromStream(stream);
    widget_->Editor().SetRow(0);
    widget_->Editor().SetCol(0);
  }
  QAccessibleInterface* Accessible() { return QAccessible::queryAccessibleInterface(widget_.get()); }
  QAccessibleTextInterface* Text() { return Accessible()->textInterface(); }
  struct Unit {
    QString text;
    int start;
    int end;
  };
  Unit At(int offset, QAccessible::TextBoundaryType type) {
    Unit unit;
    unit.text = Text()->textAtOffset(offset, type, &unit.start, &unit.end);
    return unit;
  }

  IconvCodePage codePage_;
  std::unique_ptr<TEditorWidget> widget_;
};

TEST_F(TEditorAccessibleTest, TheTextCountsCharactersAndLineBreaksOnce) {
  Load("日本語\r\nab\r\nline three");
  ASSERT_NE(Accessible(), nullptr);
  EXPECT_EQ(Accessible()->role(), QAccessible::EditableText);
  ASSERT_NE(Text(), nullptr);
  EXPECT_TRUE(Accessible()->state().editable);
  EXPECT_EQ(Text()->characterCount(), 3 + 1 + 2 + 1 + 10);
  EXPECT_EQ(Text()->text(0, 3), QString::fromUtf8("日本語"));
  EXPECT_EQ(Text()->text(2, 6), QString::fromUtf8("語\nab"));
  EXPECT_EQ(Text()->text(0, -1), QString::fromUtf8("日本語\nab\nline three"));
  struct Case {
    int offset;
    QAccessible::TextBoundaryType type;
    const char* text;
    int start;
    int end;
  } cases[] = {
      {1, QAccessible::CharBoundary, "本", 1, 2},
      {5, QAccessible::LineBoundary, "ab\n", 4, 7},
      {0, QAccessible::LineBoundary, "日本語\n", 0, 4},
      {14, QAccessible::WordBoundary, "three", 12, 17},
      {8, QAccessible::WordBoundary, "line", 7, 11},
  };
  for (const Case& c : cases) {
    Unit unit = At(c.offset, c.type);
    EXPECT_EQ(unit.text, QString::fromUtf8(c.text)) << c.offset;
    EXPECT_EQ(unit.start, c.start) << c.offset;
    EXPECT_EQ(unit.end, c.end) << c.offset;
  }
  int start = 0;
  int end = 0;
  EXPECT_EQ(Text()->textAfterOffset(1, QAccessible::LineBoundary, &start, &end), QString::fromUtf8("ab\n"));
  EXPECT_EQ(Text()->textBeforeOffset(5, QAccessible::LineBoundary, &start, &end), QString::fromUtf8("日本語\n"));
}

TEST_F(TEditorAccessibleTest, AWrappedLineIsRowsOfOneParagraph) {
  TEditor& editor = widget_->Editor();
  editor.WrapOption().SetWrapByte(20);
  editor.SetWordWrap(true);
  Load(std::string(30, 'a') + "\r\nnext");
  ASSERT_GE(editor.RowCount(), 3);
  const int firstRow = static_cast<int>(editor.RowText(0).size());
  EXPECT_EQ(Text()->characterCount(), 30 + 1 + 4);
  Unit row = At(3, QAccessible::LineBoundary);
  EXPECT_EQ(row.start, 0);
  EXPECT_EQ(row.end, firstRow);
  Unit paragraph = At(3, QAccessible::ParagraphBoundary);
  EXPECT_EQ(paragraph.text, QString::fromStdString(std::string(30, 'a') + "\n"));
  EXPECT_EQ(At(32, QAccessible::LineBoundary).text, QStringLiteral("next"));
}

TEST_F(TEditorAccessibleTest, TheCaretAndTheSelectionFollowTheEditor) {
  Load("日本語\r\nab");
  TEditor& editor = widget_->Editor();
  editor.SetRow(1);
  editor.SetCol(0);
  EXPECT_EQ(Text()->cursorPosition(), 4);
  // Typing moves the caret offset, counted in characters.
  QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("あ"));
  QApplication::sendEvent(widget_.get(), &press);
  EXPECT_EQ(Text()->cursorPosition(), 5);
  EXPECT_EQ(Text()->characterCount(), 3 + 1 + 3);
  // The editor's selection, and one set from outside.
  editor.SetSelStart(2);
  editor.SetSelLength(4);
  ASSERT_EQ(Text()->selectionCount(), 1);
  int start = 0;
  int end = 0;
  Text()->selection(0, &start, &end);
  EXPECT_EQ(start, 1);
  EXPECT_EQ(end, 3);
  Text()->setSelection(0, 4, 6);
  EXPECT_EQ(codePage_.Cp932ToUtf8(editor.SelText()), "あa");
  Text()->setCursorPosition(2);
  EXPECT_FALSE(editor.Selected());
  EXPECT_EQ(editor.Row(), 0);
  EXPECT_EQ(editor.Col(), 4);
}

TEST_F(TEditorAccessibleTest, OffsetsFarIntoALargeDocumentComeFromTheRowsAround) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "行" + std::to_string(i % 10) + "\r\n";
  Load(text);
  TEditor& editor = widget_->Editor();
  // Row 4321 starts after 4321 rows of three characters each.
  editor.SetRow(4321);
  editor.SetCol(2);
  EXPECT_EQ(Text()->cursorPosition(), 4321 * 3 + 1);
  EXPECT_EQ(At(4321 * 3, QAccessible::LineBoundary).text, QString::fromUtf8("行1\n"));
  // An edit near the top is counted again from its row on.
  editor.SetRow(0);
  editor.SetCol(0);
  editor.InsertText(codePage_.Utf8ToCp932("前", nullptr));
  EXPECT_EQ(At(4321 * 3 + 1, QAccessible::LineBoundary).text, QString::fromUtf8("行1\n"));
  EXPECT_EQ(Text()->characterCount(), 5000 * 3 + 1);
}

}  // namespace
}  // namespace kerv
