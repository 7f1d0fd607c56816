#include "ui/TEditorWidget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>

#include "platform/posix/IconvCodePage.h"
#include "tests/QtTestApplication.h"

namespace kerv {
namespace {

class TEditorWidgetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { TestApplication<QApplication>(); }
  void SetUp() override {
    widget_ = std::make_unique<TEditorWidget>(codePage_);
    widget_->resize(640, 400);
    widget_->show();
    widget_->activateWindow();
    widget_->setFocus();
    QApplication::processEvents();
    widget_->OnNotice = [this](const QString& text) { notices_.push_back(text); };
  }
  void Load(const std::string& utf8) {
    std::string text = codePage_.Utf8ToCp932(utf8, nullptr);
    TMemoryStream stream(text);
    Editor().Lines().LoadFromStream(stream);
    Editor().SetRow(0);
    Editor().SetCol(0);
  }
  TEditor& Editor() { return widget_->Editor(); }
  std::string Utf8Text() { return codePage_.Cp932ToUtf8(Editor().RowStore().GetText()); }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString(),
           bool autoRepeat = false) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text, autoRepeat);
    QApplication::sendEvent(widget_.get(), &press);
  }

  IconvCodePage codePage_;
  std::unique_ptr<TEditorWidget> widget_;
  std::vector<QString> notices_;
};

TEST_F(TEditorWidgetTest, ShiftRightSelectsAndRightCancels) {
  Load("abc\r\n");
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(Editor().SelText(), "a");
  Key(Qt::Key_Right);
  EXPECT_FALSE(Editor().Selected());
  EXPECT_EQ(Editor().Col(), 2);
}

TEST_F(TEditorWidgetTest, HomeAndEndWithCtrl) {
  Load("ab\r\ncde\r\nf");
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(Editor().Row(), 2);
  EXPECT_EQ(Editor().Col(), 1);
  Key(Qt::Key_Home);
  EXPECT_EQ(Editor().Col(), 0);
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(Editor().Row(), 0);
}

TEST_F(TEditorWidgetTest, AutoRepeatedDownAtTheBottomMovesTwoRows) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "line\r\n";
  Load(text);
  int last = Editor().VisibleRows() - 1;
  Editor().SetRow(last);
  Key(Qt::Key_Down, Qt::NoModifier, QString(), true);
  EXPECT_EQ(Editor().Row(), last + 2);
  EXPECT_EQ(Editor().TopRow(), 2);
}

TEST_F(TEditorWidgetTest, TypedUnicodeGoesInAsShiftJis) {
  Load("");
  Key(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("日"));
  Key(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  Key(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("ｶ"));
  EXPECT_EQ(Utf8Text(), "日aｶ");
  // A character Shift_JIS cannot hold is refused out loud, not dropped silently.
  Key(Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("한"));
  EXPECT_EQ(Utf8Text(), "日aｶ");
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_TRUE(notices_[0].contains(QString::fromUtf8("한")));
  // Ctrl shortcuts are the application's.
  QKeyEvent ctrlS(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
  QApplication::sendEvent(widget_.get(), &ctrlS);
  EXPECT_FALSE(ctrlS.isAccepted());
}

TEST_F(TEditorWidgetTest, PreeditLeavesTheDocumentAndTheCommitIsOneUndoStep) {
  Load("xy\r\n");
  Editor().SetCol(1);
  QInputMethodEvent preedit(QString::fromUtf8("にほんご"), {});
  QApplication::sendEvent(widget_.get(), &preedit);
  EXPECT_EQ(Utf8Text(), "xy\r\n");
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("日本語"));
  QApplication::sendEvent(widget_.get(), &commit);
  EXPECT_EQ(Utf8Text(), "x日本語y\r\n");
  EXPECT_EQ(Editor().Col(), 7);
  // Keys typed right after the result are not swallowed.
  Key(Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
  EXPECT_EQ(Utf8Text(), "x日本語zy\r\n");
  Editor().Undo();
  Editor().Undo();
  EXPECT_EQ(Utf8Text(), "xy\r\n");
  QVariant rect = widget_->inputMethodQuery(Qt::ImCursorRectangle);
  EXPECT_TRUE(rect.toRectF().isValid());
  EXPECT_EQ(widget_->inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("xy"));
}

TEST_F(TEditorWidgetTest, RenderingPaintsTokenAndSelectionColours) {
  Editor().View().SetQuotation("\"");
  TEditorColor& str = Editor().View().Colors().Item(ceStr);
  str.SetColor(0x000000FF);    // red on
  str.SetBkColor(0x0000FFFF);  // yellow
  Load("ab \"cd\" ef\r\n");
  const TEditorMetrics& m = Editor().Metrics();
  auto pixel = [&](int col, int row) {
    QImage image = widget_->Render();
    int x = m.textLeft + col * m.charWidth + m.charWidth / 2;
    int y = m.textTop + row * m.rowHeight + 1;
    qreal ratio = image.devicePixelRatio();
    return image.pixelColor(static_cast<int>(x * ratio), static_cast<int>(y * ratio));
  };
  EXPECT_EQ(pixel(4, 0), QColor(255, 255, 0));
  EXPECT_NE(pixel(0, 0), QColor(255, 255, 0));
  TEditorColor& select = Editor().View().Colors().Item(ceSelect);
  select.SetBkColor(0x00FF0000);  // blue
  Editor().StartSelection();
  Editor().SetCol(2);
  Editor().ExtendSelection();
  EXPECT_EQ(pixel(0, 0), QColor(0, 0, 255));
  EXPECT_NE(pixel(2, 0), QColor(0, 0, 255));
}

TEST_F(TEditorWidgetTest, ClickPutsTheCaretOnTheCell) {
  Load("abcdef\r\nghijkl\r\n");
  const TEditorMetrics& m = Editor().Metrics();
  QPoint at(m.textLeft + 3 * m.charWidth + 1, m.textTop + m.rowHeight + 2);
  QTest::mouseClick(widget_->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_EQ(Editor().Row(), 1);
  EXPECT_EQ(Editor().Col(), 3);
  QTest::mouseClick(widget_->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                    QPoint(m.textLeft + 5 * m.charWidth + 1, m.textTop + 2));
  EXPECT_TRUE(Editor().Selected());
  EXPECT_EQ(Editor().SelText(), "f\r\nghi");
}

TEST_F(TEditorWidgetTest, AnInputMethodReplacingAroundTheCaretIsOneChange) {
  struct Case {
    const char* name;
    const char* text;
    int caretCol;
    int start;   // relative to the caret, in characters
    int length;
    const char* commit;
    const char* expected;
  } cases[] = {
      {"reconversion of the word before the caret", "きょうは", 8, -4, 4, "今日は", "今日は"},
      {"a replacement after the caret", "abcdef", 2, 1, 2, "X", "abcXf"},
      {"a deletion around the caret", "あいうえ", 4, -1, 2, "", "あえ"},
      {"a commit with no range", "ab", 1, 0, 0, "Z", "aZb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.text);
    Editor().RowStore().UndoObj().Clear();
    Editor().SetCol(c.caretCol);
    QInputMethodEvent commit(QString(), {});
    commit.setCommitString(QString::fromUtf8(c.commit), c.start, c.length);
    QApplication::sendEvent(widget_.get(), &commit);
    EXPECT_EQ(Utf8Text(), c.expected);
    Editor().Undo();
    EXPECT_EQ(Utf8Text(), c.text) << "one undo step";
  }
}

TEST_F(TEditorWidgetTest, ReconversionOffersTheSelectionOrTheTokenUnderTheCaret) {
  Editor().SetVersion(5.0);
  Load("word other\r\nnext");
  Editor().SetCol(2);
  EXPECT_EQ(widget_->inputMethodQuery(Qt::ImCurrentSelection).toString(), QStringLiteral("word"));
  Editor().SetSelStart(5);
  Editor().SetSelLength(5);
  EXPECT_EQ(widget_->inputMethodQuery(Qt::ImCurrentSelection).toString(), QStringLiteral("other"));
  // A selection over a line break is not offered.
  Editor().SetSelStart(5);
  Editor().SetSelLength(9);
  EXPECT_EQ(widget_->inputMethodQuery(Qt::ImCurrentSelection).toString(), QString());
  // Nothing is offered from a read-only pane, nor before the version is set.
  Editor().CancelSelection();
  Editor().SetReadOnly(true);
  EXPECT_EQ(widget_->inputMethodQuery(Qt::ImCurrentSelection).toString(), QString());
  EXPECT_EQ(widget_->inputMethodQuery(Qt::ImSurroundingText).toString(), QString());
  Editor().SetReadOnly(false);
  Editor().SetVersion(0);
  EXPECT_EQ(widget_->inputMethodQuery(Qt::ImCurrentSelection).toString(), QString());
}

TEST_F(TEditorWidgetTest, SmallWheelStepsAddUpToRows) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "line\r\n";
  Load(text);
  auto wheel = [&](QPoint pixels, QPoint angle) {
    QWheelEvent event(QPointF(50, 50), widget_->mapToGlobal(QPointF(50, 50)), pixels, angle, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget_->viewport(), &event);
  };
  const int lines = QApplication::wheelScrollLines();
  // A notch scrolls the desktop's lines per notch.
  wheel(QPoint(), QPoint(0, -120));
  EXPECT_EQ(Editor().TopRow(), lines);
  // Eighths of a notch from a smooth wheel add up.
  for (int i = 0; i < 8; ++i) wheel(QPoint(), QPoint(0, -15));
  EXPECT_EQ(Editor().TopRow(), 2 * lines);
  // Pixels from a touchpad: one row per row height, the rest kept.
  const int rowHeight = Editor().Metrics().rowHeight;
  for (int i = 0; i < 4; ++i) wheel(QPoint(0, -rowHeight / 2), QPoint(0, -1));
  EXPECT_EQ(Editor().TopRow(), 2 * lines + 2);
  wheel(QPoint(0, rowHeight), QPoint(0, 1));
  EXPECT_EQ(Editor().TopRow(), 2 * lines + 1);
}

TEST_F(TEditorWidgetTest, KeysWaitWhileTheMouseHoldsTheControl) {
  Load("abcdef\r\nghijkl\r\n");
  const TEditorMetrics& m = Editor().Metrics();
  auto cell = [&](int row, int col) { return QPoint(m.textLeft + col * m.charWidth + 1, m.textTop + row * m.rowHeight + 2); };
  // A selection being drawn: typing, Delete and Return change nothing.
  QTest::mousePress(widget_->viewport(), Qt::LeftButton, Qt::NoModifier, cell(0, 1));
  QTest::mouseMove(widget_->viewport(), cell(0, 4));
  Key(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  Key(Qt::Key_Delete);
  Key(Qt::Key_Return);
  QTest::mouseRelease(widget_->viewport(), Qt::LeftButton, Qt::NoModifier, cell(0, 4));
  EXPECT_EQ(Utf8Text(), "abcdef\r\nghijkl\r\n");
  EXPECT_EQ(Editor().SelText(), "bcd");
  // A press inside the selection (a drag may start): keys still wait.
  QTest::mousePress(widget_->viewport(), Qt::LeftButton, Qt::NoModifier, cell(0, 2));
  ASSERT_EQ(Editor().DragState(), dsPending);
  Key(Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
  EXPECT_EQ(Utf8Text(), "abcdef\r\nghijkl\r\n");
  // A running drag: nothing is typed, but Escape ends the drag at once.
  QTest::mouseMove(widget_->viewport(), cell(1, 3));
  ASSERT_EQ(Editor().DragState(), dsDragging);
  Key(Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
  EXPECT_EQ(Utf8Text(), "abcdef\r\nghijkl\r\n");
  Key(Qt::Key_Escape);
  EXPECT_EQ(Editor().DragState(), dsNone);
  EXPECT_EQ(widget_->viewport()->cursor().shape(), Qt::IBeamCursor);
  QTest::mouseRelease(widget_->viewport(), Qt::LeftButton, Qt::NoModifier, cell(1, 3));
  EXPECT_EQ(Utf8Text(), "abcdef\r\nghijkl\r\n");
  // Afterwards typing works again.
  Key(Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
  EXPECT_NE(Utf8Text().find('q'), std::string::npos);
}

TEST_F(TEditorWidgetTest, ALockedPaneTakesNoEditsFromTheUser) {
  Load("abc");
  widget_->SetEditLocked(true);
  const TEditorMetrics& m = Editor().Metrics();
  Key(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  Key(Qt::Key_Backspace);
  QInputMethodEvent commit(QString(), {});
  commit.setCommitString(QStringLiteral("IME"));
  QApplication::sendEvent(widget_.get(), &commit);
  QTest::mouseClick(widget_->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(m.textLeft + 2 * m.charWidth + 1, m.textTop + 2));
  EXPECT_EQ(Utf8Text(), "abc");
  EXPECT_EQ(Editor().Col(), 0);
  widget_->SetEditLocked(false);
  Key(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  EXPECT_EQ(Utf8Text(), "xabc");
}

TEST_F(TEditorWidgetTest, TheCursorsOfTheCaretOptionsAreShown) {
  Load("abc\r\ndef");
  const TEditorMetrics& m = Editor().Metrics();
  Editor().Leftbar().SetVisible(true);
  QTest::mouseMove(widget_->viewport(), QPoint(m.textLeft + m.charWidth + 1, m.textTop + 2));
  EXPECT_EQ(widget_->viewport()->cursor().shape(), Qt::IBeamCursor);
  // Over the left bar: the arrow that points right, at the row.
  QTest::mouseMove(widget_->viewport(), QPoint(2, Editor().Metrics().textTop + 2));
  EXPECT_EQ(widget_->viewport()->cursor().shape(), Qt::BitmapCursor);
  // A cursor chosen in the options is the one shown.
  Editor().Caret().Cursors().SetDefaultCursor(-3);
  QTest::mouseMove(widget_->viewport(), QPoint(Editor().Metrics().textLeft + m.charWidth + 1, m.textTop + 2));
  EXPECT_EQ(widget_->viewport()->cursor().shape(), Qt::CrossCursor);
}

TEST_F(TEditorWidgetTest, BracketStatesAreFoundBetweenEventsAfterALoadAndAnEdit) {
  TEditorBracketItem& pair = Editor().View().Brackets().Add();
  pair.SetLeftBracket("/*");
  pair.SetRightBracket("*/");
  // Rows for several slices with a closing bracket half way: no row is inside a comment yet.
  const int rows = 25 * TEditorWidget::kIdleFillRows;
  std::string text;
  for (int i = 0; i < rows; ++i) text += i == rows / 2 ? "d */\r\n" : "c\r\n";
  Load(text + "last");
  TEditorScreenStrings& store = Editor().RowStore();
  const int last = store.Count() - 1;
  EXPECT_EQ(store.BracketState(last), kBracketNotComputed) << "the load computes the first screens only";
  auto runEvents = [&] {
    // The paint after a change starts the fill; the event loop runs it slice by slice.
    widget_->viewport()->repaint();
    for (int round = 0; round < 100 && store.BracketsPending(); ++round) QApplication::processEvents();
    EXPECT_FALSE(store.BracketsPending());
  };
  runEvents();
  EXPECT_EQ(store.BracketState(rows / 2 + 1), kBracketNone);
  EXPECT_EQ(store.BracketState(last), kBracketNone);
  // An opening typed at the top puts the rows down to the closing bracket inside.
  Key(Qt::Key_Slash, Qt::NoModifier, "/");
  Key(Qt::Key_Asterisk, Qt::NoModifier, "*");
  ASSERT_EQ(store.Get(0), "/*c");
  EXPECT_EQ(store.BracketState(rows / 2), kBracketNotComputed) << "below the screens, found again later";
  runEvents();
  EXPECT_EQ(store.BracketState(1), 0);
  EXPECT_EQ(store.BracketState(rows / 2), 0);
  EXPECT_EQ(store.BracketState(rows / 2 + 1), kBracketNone);
  EXPECT_EQ(store.BracketState(last), kBracketNone);
}

}  // namespace
// A big text with word wrap on: the first paint shows cut rows, the event
// loop cuts the rest slice by slice, keys typed in between land where they
// were typed, and the text never changes by the cutting.
TEST_F(TEditorWidgetTest, WordWrapOfABigTextIsCutBetweenEvents) {
  TEditorScreenStrings& store = Editor().RowStore();
  store.SetStepWrapBytes(1);
  Editor().WrapOption().SetWrapByte(20);
  Editor().SetWordWrap(true);
  const int lines = 4 * TEditorWidget::kIdleFillRows;
  std::string text;
  for (int i = 0; i < lines; ++i) text += "line " + std::to_string(i) + " with words enough for two rows\r\n";
  Load(text);
  ASSERT_TRUE(store.WrapPending());
  const int lineCount = store.LineCount();
  widget_->viewport()->repaint();
  for (int row = 0; row < Editor().VisibleRows(); ++row) EXPECT_LE(Editor().RowWidth(row), 20) << row;
  Key(Qt::Key_A, Qt::NoModifier, "a");
  for (int round = 0; round < 1000 && store.WrapPending(); ++round) QApplication::processEvents();
  EXPECT_FALSE(store.WrapPending());
  EXPECT_EQ(store.LineCount(), lineCount);
  EXPECT_GT(store.Count(), 2 * lines);
  EXPECT_EQ(Utf8Text(), "a" + text);
}

}  // namespace kerv
