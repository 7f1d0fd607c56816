#include "ui/TEditorWidget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>

#include "platform/posix/IconvCodePage.h"

namespace kerv {
namespace {

class TEditorWidgetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "kerv_ui_tests";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
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

}  // namespace
}  // namespace kerv
