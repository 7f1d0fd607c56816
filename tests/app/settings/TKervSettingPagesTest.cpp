#include "app/settings/TKervSettingPages.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <variant>

#include "app/settings/TKervSettingGroups.h"
#include "app/settings/TKervSettingManager.h"
#include "platform/fake/FakeFileSystem.h"

namespace kerv {
namespace {

// The dialog is built from the page table; these hold it to the key table.
TEST(TKervSettingPagesTest, EveryFieldIsAKeyOfAGroupTheDialogEdits) {
  FakeFileSystem fs;
  TKervSettingManager manager(fs, "/home/user/");
  std::set<std::string> seen;
  for (const TKervSettingField& field : SettingFields()) {
    const TKervSettingKey& key = FieldKey(field);
    EXPECT_TRUE(seen.insert(std::string(field.section) + "." + field.key).second) << field.key << " twice";
    auto group = static_cast<TKervSettingGroup>(key.group);
    EXPECT_NE(group, TKervSettingGroup::EachProcess) << field.key;
    EXPECT_NE(group, TKervSettingGroup::Search) << field.key;
    ASSERT_NE(field.label, nullptr) << field.key;
    EXPECT_GT(std::string(field.label).size(), 0u) << field.key;

    // The control fits the field's type.
    TKervFieldRef ref = key.field(*manager.Groups()[static_cast<size_t>(key.group)]);
    switch (field.kind) {
      case TKervFieldKind::Check:
      case TKervFieldKind::NegatedCheck:
        EXPECT_TRUE(std::holds_alternative<bool*>(ref)) << field.key;
        break;
      case TKervFieldKind::Number:
        EXPECT_TRUE(std::holds_alternative<int*>(ref)) << field.key;
        EXPECT_TRUE(key.HasRange() || field.widgetMin <= field.widgetMax) << field.key;
        break;
      case TKervFieldKind::Radio:
      case TKervFieldKind::Choice:
        EXPECT_FALSE(field.choices.empty()) << field.key;
        EXPECT_FALSE(std::holds_alternative<std::string*>(ref)) << field.key;
        break;
      case TKervFieldKind::Text:
      case TKervFieldKind::FileName:
      case TKervFieldKind::Folder:
      case TKervFieldKind::FilterList:
        EXPECT_TRUE(std::holds_alternative<std::string*>(ref)) << field.key;
        break;
      case TKervFieldKind::Colour:
      case TKervFieldKind::StyleBits:
        EXPECT_TRUE(std::holds_alternative<int*>(ref)) << field.key;
        break;
    }
  }
  EXPECT_EQ(FindSettingField("settings", "undonum"), FindSettingField("Settings", "UndoNum"));
  EXPECT_EQ(FindSettingField("Settings", "KeySet"), nullptr);  // its page comes with the key sets
}

TEST(TKervSettingPagesTest, TheChoicesAreTheStoredValues) {
  struct Case {
    const char* key;
    std::vector<int> values;
    int noneValue;
  };
  // The lock mode gives 0, 2 or 3; the regular backup 1, 2 or 0, and 1 when none is checked.
  const Case cases[] = {{"FileLockMode", {0, 2, 3}, 0}, {"RegBackupType", {1, 2, 0}, 1}, {"Mode", {0, 1, 2}, 0},
                        {"NNToolBarBtn", {0, 1}, 0},     {"CaretStyle", {0, 1}, 0}};
  for (const Case& c : cases) {
    const TKervSettingField* field = nullptr;
    for (const char* section : {"Settings", "Backup", "Window"}) {
      if (field == nullptr) field = FindSettingField(section, c.key);
    }
    ASSERT_NE(field, nullptr) << c.key;
    std::vector<int> values;
    for (const TKervChoice& choice : field->choices) values.push_back(choice.value);
    EXPECT_EQ(values, c.values) << c.key;
    if (field->kind == TKervFieldKind::Radio) {
      EXPECT_EQ(field->noneValue, c.noneValue) << c.key;
    }
  }
  EXPECT_STREQ(FindSettingField("Settings", "NoSaveMenu")->label, "メインウィンドウのメニューでの設定の変更を保存する");
  EXPECT_EQ(FindSettingField("Settings", "NoSaveMenu")->kind, TKervFieldKind::NegatedCheck);
  EXPECT_STREQ(FindSettingField("Backup", "SaveSameDir")->label, "指定したフォルダーにバックアップファイルを作成する");
  EXPECT_EQ(FindSettingField("Backup", "SaveSameDir")->kind, TKervFieldKind::NegatedCheck);
  EXPECT_EQ(SettingPages().size(), static_cast<size_t>(kSettingPageCount));
}

}  // namespace
}  // namespace kerv
