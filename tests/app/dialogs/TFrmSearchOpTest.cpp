// The search-options panel and the replace-all progress window, offscreen.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "app/commands/TKervSearchCommand.h"
#include "app/settings/TKervSettingManager.h"
#include "app/dialogs/TFrmReplacing.h"
#include "app/dialogs/TFrmSearchOp.h"
#include "editor/TEditor.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"
#include "tests/QtTestApplication.h"

namespace kerv {
namespace {

struct Panes : IKervEditors {
  TEditor& ActiveEditor() override { return editor; }
  TEditor& MainEditor() override { return editor; }
  TEditor* SecondEditor() override { return nullptr; }
  bool EditorHasFocus() override { return true; }
  TEditor editor;
};

struct Boxes : IKervInformation {
  Answer MessageBox(const std::string& text, int, int) override {
    asked.push_back(text);
    return maYes;
  }
  void Notify(const std::string&, int) override {}
  std::vector<std::string> asked;
};

struct Bar : IKervSearchWindow {
  void SetSearchItems(const std::vector<std::string>& items) override { searchItems = items; }
  void SetReplaceItems(const std::vector<std::string>&) override {}
  void SetSearchText(const std::string&) override {}
  void SearchOptionsChanged() override { ++optionsChanged; }
  void SendHistoryWord(int, const std::string&) override {}
  void FocusEditor() override {}
  void QuestionBeep() override {}
  std::vector<std::string> searchItems{"x"};
  int optionsChanged = 0;
};

class TFrmSearchOpTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { TestApplication<QApplication>(); }
  TFrmSearchOpTest() { fs_.AddFolder("/s"); }

  FakeFileSystem fs_;
  IconvCodePage codePage_;
  TKervSettingManager settings_{fs_, "/s/"};
  Panes panes_;
  Boxes boxes_;
  Bar bar_;
  TFrmReplacingProgress progress_{nullptr};
  TKervSearchCommand command_{panes_, boxes_, settings_, codePage_, bar_, progress_};
};

TEST_F(TFrmSearchOpTest, RegExpSwitchesWhichTicksAreEnabled) {
  auto* panel = new TFrm_SearchOp(nullptr, command_, boxes_, true);
  EXPECT_TRUE(panel->RB_SearchAll->isChecked());
  EXPECT_TRUE(panel->Chk_MatchCase->isEnabled());
  EXPECT_FALSE(panel->Chk_Fuzzy->isEnabled());
  panel->Chk_RegExp->click();
  for (QCheckBox* check : {panel->Chk_IncludeRet, panel->Chk_IncludeSpace, panel->Chk_MatchCase,
                           panel->Chk_NoMatchZenkaku, panel->Chk_WholeWord}) {
    EXPECT_FALSE(check->isEnabled()) << check->objectName().toStdString();
  }
  EXPECT_TRUE(panel->Chk_Fuzzy->isEnabled());
  EXPECT_TRUE(panel->Changed());
  panel->close();
}

TEST_F(TFrmSearchOpTest, ClosingTakesEveryTickAndResetsTheState) {
  settings_.Search().SearchFlags = SearchFlag::MatchCase;
  command_.State().SearchedOnce = true;
  bool closed = false;
  auto* panel = new TFrm_SearchOp(nullptr, command_, boxes_, false);
  panel->OnClosed = [&closed] { closed = true; };
  EXPECT_TRUE(panel->RB_SelSearch->isChecked());
  panel->Chk_Fuzzy->setChecked(true);  // disabled, but ticked: it still counts
  panel->Chk_RegExp->click();
  panel->Chk_Loop->click();
  panel->FltBtn_Close->click();
  EXPECT_TRUE(closed);
  EXPECT_EQ(settings_.Search().SearchFlags, SearchFlag::MatchCase | SearchFlag::RegExp | SearchFlag::RegFuzzy |
                                                SearchFlag::LoopSearch | SearchFlag::SelectionOnly);
  EXPECT_FALSE(command_.State().SearchedOnce);
  EXPECT_GE(bar_.optionsChanged, 1);
}

TEST_F(TFrmSearchOpTest, HistoryButtonsAskFirst) {
  command_.AddSearchHistory("word", false);
  auto* panel = new TFrm_SearchOp(nullptr, command_, boxes_, true);
  panel->Btn_ClearSearch->click();
  ASSERT_EQ(boxes_.asked.size(), 1u);
  EXPECT_EQ(boxes_.asked[0], "検索文字列の履歴を削除します。よろしいですか？");
  EXPECT_TRUE(command_.SearchHistory().Items().empty());
  EXPECT_TRUE(bar_.searchItems.empty());
  panel->close();
}

TEST_F(TFrmSearchOpTest, ProgressWindowCountsAndCancels) {
  progress_.Start();
  ASSERT_NE(progress_.Window(), nullptr);
  EXPECT_EQ(progress_.Window()->windowTitle(), QString::fromUtf8("全置換処理中"));
  progress_.Step(12);
  EXPECT_EQ(progress_.Window()->Lbl_Num()->text(), QString::fromUtf8("置換数：12"));
  EXPECT_FALSE(progress_.Cancelled());
  progress_.Window()->CancelButton()->click();
  progress_.Step(13);
  EXPECT_TRUE(progress_.Cancelled());
  QPointer<TFrm_Replacing> window = progress_.Window();
  progress_.End();
  EXPECT_EQ(progress_.Window(), nullptr);
  // The window goes when the replacement ends, cancelled or not.
  ASSERT_FALSE(window.isNull());
  EXPECT_FALSE(window->isVisible());
}

TEST_F(TFrmSearchOpTest, ProgressWindowGoesAtTheEnd) {
  progress_.Start();
  QPointer<TFrm_Replacing> window = progress_.Window();
  ASSERT_TRUE(window && window->isVisible());
  progress_.Step(3);
  progress_.End();
  EXPECT_FALSE(window && window->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

}  // namespace
}  // namespace kerv
