// The key page of the settings dialog and its key field.

#include "app/dialogs/TKervKeySetPage.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/commands/TKervActionTable.h"
#include "app/commands/TKervInformation.h"
#include "app/dialogs/TKeyCaptureEdit.h"
#include "keys/KeySetMessages.h"
#include "keys/TKeyTable.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"
#include "tests/QtTestApplication.h"
#include "tests/app/dialogs/RecordingInformation.h"

namespace kerv {
namespace {

constexpr TKeySlot kF3{0, 69};
constexpr TKeySlot kF5{0, 71};
constexpr TKeySlot kCtrlK{2, 36};

TEST(SlotOfKeyTest, QtKeysBecomeTheSlotsOfTheirKeys) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    std::optional<TKeySlot> slot;
  } cases[] = {
      {Qt::Key_F5, Qt::NoModifier, kF5},
      {Qt::Key_K, Qt::ControlModifier, kCtrlK},
      {Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier, TKeySlot{3, 39}},
      // Shift+Tab arrives as Backtab.
      {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, TKeySlot{3, 2}},
      // Shift with punctuation and digits names the key, not the character.
      {Qt::Key_Colon, Qt::ShiftModifier, TKeySlot{1, 79}},
      {Qt::Key_Exclam, Qt::ShiftModifier, TKeySlot{1, 17}},
      {Qt::Key_BraceLeft, Qt::ShiftModifier | Qt::AltModifier, TKeySlot{5, 86}},
      // The keypad keeps its own keys.
      {Qt::Key_5, Qt::KeypadModifier, TKeySlot{0, 57}},
      {Qt::Key_Asterisk, Qt::KeypadModifier | Qt::ShiftModifier, TKeySlot{1, 62}},
      {Qt::Key_Enter, Qt::KeypadModifier, TKeySlot{0, 3}},
      {Qt::Key_Return, Qt::ShiftModifier, TKeySlot{1, 3}},
      // Nothing a key set can hold.
      {Qt::Key_Shift, Qt::ShiftModifier, std::nullopt},
      {Qt::Key_Control, Qt::ControlModifier, std::nullopt},
      {Qt::Key_A, Qt::MetaModifier, std::nullopt},
      {Qt::Key_F13, Qt::NoModifier, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<TKeySlot> slot = SlotOfKey(c.key, c.modifiers);
    ASSERT_EQ(slot.has_value(), c.slot.has_value()) << std::hex << c.key;
    if (slot) {
      EXPECT_EQ(slot->row, c.slot->row) << std::hex << c.key;
      EXPECT_EQ(slot->keyIndex, c.slot->keyIndex) << std::hex << c.key;
    }
  }
  EXPECT_EQ(SlotDisplayText(TKeySlot{7, 1}), QStringLiteral("Shift+Ctrl+Alt+Backspace"));
}

TEST(TKeyCaptureEditTest, TakesEveryKeyAndClearsOnlyWhenAsked) {
  TestApplication<QApplication>();
  TKeyCaptureEdit field;
  field.show();
  std::vector<std::optional<TKeySlot>> changes;
  field.OnChanged = [&](std::optional<TKeySlot> slot) { changes.push_back(slot); };
  QTest::keyClick(&field, Qt::Key_Tab, Qt::ControlModifier);
  ASSERT_TRUE(field.Slot());
  EXPECT_EQ(*field.Slot(), (TKeySlot{2, 2}));
  EXPECT_EQ(field.text(), QStringLiteral("Ctrl+Tab"));
  // A modifier alone changes nothing.
  QTest::keyClick(&field, Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_EQ(changes.size(), 1u);
  QTest::keyClick(&field, Qt::Key_Backspace);
  EXPECT_EQ(*field.Slot(), (TKeySlot{0, 1}));
  field.SetClearKeys(true);
  QTest::keyClick(&field, Qt::Key_Delete);
  EXPECT_FALSE(field.Slot());
  EXPECT_TRUE(field.text().isEmpty());
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_FALSE(changes.back());
}

class KeySetPageTest : public ::testing::Test {
 protected:
  KeySetPageTest() {
    TestApplication<QApplication>();
    fs_.AddFolder("/cfg");
  }
  std::unique_ptr<TKervKeySetPage> Open(const std::string& storedName) {
    auto page = std::make_unique<TKervKeySetPage>(fs_, codePage_, "/cfg/", information_, storedName);
    page->AskName = [this](const QString&, const QString&) -> std::optional<QString> {
      if (answers_.empty()) return std::nullopt;
      QString answer = answers_.front();
      answers_.erase(answers_.begin());
      return answer;
    };
    return page;
  }
  void AddSet(const std::string& name, std::initializer_list<std::pair<TKeySlot, int>> bindings) {
    TKeyTable table;
    for (const auto& [slot, action] : bindings) table.Set(slot, action);
    fs_.AddFile("/cfg/" + name + ".tks", "[Info]\r\nType=KervKeySet\r\n[Data]\r\nKeySet=" + table.ToHex() + "\r\n");
  }
  static QStringList SetList(TKervKeySetPage& page) {
    QStringList names;
    for (int i = 0; i < page.Cmb_Key_KeySetList->count(); ++i) names << page.Cmb_Key_KeySetList->itemText(i);
    return names;
  }

  FakeFileSystem fs_;
  IconvCodePage codePage_;
  RecordingInformation information_;
  std::vector<QString> answers_;
};

TEST_F(KeySetPageTest, TheTreeHoldsEveryActionUnderItsCategoryWithoutItsMnemonic) {
  auto page = Open("");
  QTreeWidget& tree = *page->TrVw_Key_ActionList;
  ASSERT_EQ(tree.topLevelItemCount(), 12);
  EXPECT_EQ(tree.topLevelItem(2)->text(0), QString::fromUtf8("整形機能"));
  EXPECT_EQ(tree.topLevelItem(10)->text(0), QString::fromUtf8("インフォバー"));
  int actions = 0;
  for (int i = 0; i < tree.topLevelItemCount(); ++i) actions += tree.topLevelItem(i)->childCount();
  EXPECT_EQ(actions, 113);
  page->ChooseAction(Act_Srch_FindNext);
  EXPECT_EQ(tree.currentItem()->text(0), QString::fromUtf8("次を検索"));
  EXPECT_EQ(tree.currentItem()->parent(), tree.topLevelItem(3));
  page->ChooseAction(Act_File_open);
  EXPECT_EQ(tree.currentItem()->text(0), QString::fromUtf8("開く"));
  EXPECT_EQ(page->Lbl_Key_Description->text(), QString::fromUtf8("ファイルを開きます"));
  EXPECT_EQ(page->Lst_Key_ShortCut->count(), 89);
}

TEST_F(KeySetPageTest, TheStoredSetOpensWithItsKeysAndAssignTakesAKeyFromItsHolder) {
  AddSet("mine", {{kF5, Act_Fmt_HanToZen}});
  auto page = Open("mine");
  EXPECT_EQ(page->Cmb_Key_KeySetList->currentText(), QStringLiteral("mine"));
  EXPECT_EQ(SetList(*page), (QStringList{QString::fromUtf8("デフォルト"), QStringLiteral("mine")}));
  page->ChooseAction(Act_Fmt_HanToZen);
  EXPECT_EQ(page->Edt_Key_ShortCut->text(), QStringLiteral("F5"));
  EXPECT_EQ(page->Lst_Key_ShortCut->currentRow(), kF5.keyIndex - 1);
  EXPECT_FALSE(page->Chk_Key_Ctrl->isChecked());
  EXPECT_TRUE(page->Btn_Key_Assign->isEnabled());

  // F5 for Lower: the page shows F5's holder, then moves the key.
  page->ChooseAction(Act_Fmt_Lower);
  EXPECT_EQ(page->Edt_Key_ShortCut->text(), QString::fromUtf8("(なし)"));
  QTest::keyClick(page->Edt_Key_Press, Qt::Key_F5);
  EXPECT_EQ(page->Lbl_Key_HeldBy->text(), QString::fromUtf8("このキーの機能: 半角->全角"));
  page->Assign();
  EXPECT_EQ(page->Edt_Key_ShortCut->text(), QStringLiteral("F5"));
  EXPECT_EQ(page->Lbl_Key_HeldBy->text(), QString::fromUtf8("このキーの機能: 小文字"));
  page->ChooseAction(Act_Fmt_HanToZen);
  EXPECT_EQ(page->Edt_Key_ShortCut->text(), QString::fromUtf8("(なし)"));

  // Ticks and the list choose a key too; Release frees it.
  page->ChooseAction(Act_Edit_Select);
  page->Chk_Key_Ctrl->setChecked(true);
  page->Lst_Key_ShortCut->setCurrentRow(kCtrlK.keyIndex - 1);
  page->Assign();
  EXPECT_EQ(page->Edt_Key_ShortCut->text(), QStringLiteral("Ctrl+K"));
  page->Release();
  EXPECT_EQ(page->Edt_Key_ShortCut->text(), QString::fromUtf8("(なし)"));

  // Nothing is written before Save.
  const std::string before = fs_.Contents("/cfg/mine.tks");
  page->ChooseAction(Act_Fmt_Lower);
  page->Assign();
  EXPECT_EQ(fs_.Contents("/cfg/mine.tks"), before);
  EXPECT_TRUE(page->Save().empty());
  TKeyTable saved;
  const std::string text = fs_.Contents("/cfg/mine.tks");
  ASSERT_EQ(saved.FromHex(text.substr(text.find("KeySet=") + 7)), TKeyHexError::None);
  EXPECT_EQ(saved.ActionAt(kF5), Act_Fmt_Lower);
  EXPECT_EQ(saved.SlotOf(Act_Fmt_HanToZen), std::nullopt);
  EXPECT_EQ(page->ChosenName(), "mine");
}

TEST_F(KeySetPageTest, TheBuiltInSetAndADamagedSetCannotBeChanged) {
  auto builtIn = Open("");
  EXPECT_EQ(builtIn->Cmb_Key_KeySetList->currentText(), QString::fromUtf8("デフォルト"));
  builtIn->ChooseAction(Act_File_save);
  EXPECT_EQ(builtIn->Edt_Key_ShortCut->text(), QStringLiteral("Ctrl+S"));
  EXPECT_FALSE(builtIn->Btn_Key_Assign->isEnabled());
  EXPECT_FALSE(builtIn->Btn_Key_Rename->isEnabled());
  EXPECT_FALSE(builtIn->Btn_Key_Delete->isEnabled());
  EXPECT_EQ(builtIn->Lbl_Key_State->text(), QString::fromUtf8(KeySetMessage(TKeySetMessage::CannotEdit)));
  EXPECT_EQ(builtIn->ChosenName(), "\x83\x66\x83\x74\x83\x48\x83\x8B\x83\x67");

  const std::string damaged = "[Info]\r\nType=KervKeySet\r\n[Data]\r\nKeySet=12XY\r\n";
  fs_.AddFile("/cfg/bad.tks", damaged);
  auto page = Open("bad");
  EXPECT_TRUE(page->Lbl_Key_State->text().contains(QStringLiteral("bad.tks"))) << page->Lbl_Key_State->text().toStdString();
  page->ChooseAction(Act_Fmt_HanToZen);
  EXPECT_EQ(page->Edt_Key_ShortCut->text(), QStringLiteral("Ctrl+D"));
  EXPECT_FALSE(page->Btn_Key_Assign->isEnabled());
  page->Assign();
  EXPECT_TRUE(page->Save().empty());
  EXPECT_EQ(fs_.Contents("/cfg/bad.tks"), damaged);
}

TEST_F(KeySetPageTest, SetsAreMadeCopiedRenamedAndDeleted) {
  AddSet("mine", {{kF5, Act_Fmt_HanToZen}});
  auto page = Open("mine");
  // Refused names change nothing.
  answers_ = {QStringLiteral("a/b"), QStringLiteral("mine"), QString()};
  page->AddSet();
  page->AddSet();
  page->AddSet();
  EXPECT_EQ(information_.errors, (std::vector<std::string>{KeySetMessage(TKeySetMessage::InvalidChars),
                                                           KeySetMessage(TKeySetMessage::AlreadyExists)}));
  EXPECT_EQ(SetList(*page).size(), 2);

  // A copy keeps the keys of the set it came from; a new set starts built-in.
  answers_ = {QStringLiteral("copy"), QString::fromUtf8("新しい")};
  page->CopySet();
  EXPECT_EQ(page->Cmb_Key_KeySetList->currentText(), QStringLiteral("copy"));
  page->ChooseAction(Act_Fmt_HanToZen);
  EXPECT_EQ(page->Edt_Key_ShortCut->text(), QStringLiteral("F5"));
  page->AddSet();
  EXPECT_EQ(page->Cmb_Key_KeySetList->currentText(), QString::fromUtf8("新しい"));
  page->ChooseAction(Act_Fmt_HanToZen);
  EXPECT_EQ(page->Edt_Key_ShortCut->text(), QStringLiteral("Ctrl+D"));

  // Renaming a stored set renames its file.
  page->ChooseSet("mine");
  answers_ = {QStringLiteral("yours")};
  page->RenameSet();
  EXPECT_EQ(page->Cmb_Key_KeySetList->currentText(), QStringLiteral("yours"));
  EXPECT_TRUE(fs_.FileExists("/cfg/yours.tks"));
  EXPECT_FALSE(fs_.FileExists("/cfg/mine.tks"));

  // Deleting asks first; No keeps it, Yes removes it and the built-in set is chosen.
  information_.answerYes = false;
  page->DeleteSet();
  EXPECT_TRUE(fs_.FileExists("/cfg/yours.tks"));
  ASSERT_EQ(information_.questions.size(), 1u);
  EXPECT_EQ(information_.questions[0],
            "yours - このキーセットを削除します。よろしいですか？\r\nキーセットファイル(*.tks)も同時に削除されます。");
  information_.answerYes = true;
  page->DeleteSet();
  EXPECT_FALSE(fs_.FileExists("/cfg/yours.tks"));
  EXPECT_EQ(page->Cmb_Key_KeySetList->currentText(), QString::fromUtf8("デフォルト"));

  // The sets made in the dialog are written by Save, under their names in UTF-8.
  EXPECT_TRUE(page->Save().empty());
  EXPECT_TRUE(fs_.FileExists("/cfg/copy.tks"));
  EXPECT_TRUE(fs_.FileExists("/cfg/新しい.tks"));
}

TEST_F(KeySetPageTest, AKeyATheToolUsesIsShownAsTheTools) {
  fs_.AddFile("/cfg/kervtool.ini",
              "[ToolLauncher]\r\nNum=1\r\nToolPath0=/bin/grep\r\nToolName0=grep\r\nShortCutKey0=114\r\n");
  auto page = Open("");
  page->ChooseAction(Act_Srch_FindNext);
  // The built-in set gave F3 to Find Next; the tool took it.
  EXPECT_EQ(page->Edt_Key_ShortCut->text(), QString::fromUtf8("(なし)"));
  QTest::keyClick(page->Edt_Key_Press, Qt::Key_F3);
  EXPECT_EQ(page->ChosenSlot(), kF3);
  EXPECT_EQ(page->Lbl_Key_HeldBy->text(), QString::fromUtf8("このキーの機能: ツール grep"));
}

}  // namespace
}  // namespace kerv
