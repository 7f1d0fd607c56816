#include "app/dialogs/TFrmKervSetting.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include "app/settings/TKervSettingChecks.h"
#include "app/settings/TKervSettingMessages.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"
#include "tests/QtTestApplication.h"
#include "tests/app/dialogs/RecordingInformation.h"

namespace kerv {
namespace {

using ::testing::ElementsAre;

const char* const kFolder = "/home/user/.config/kerv/";
const char* const kIni = "/home/user/.config/kerv/kerv.ini";

class TFrmKervSettingTest : public ::testing::Test {
 protected:
  TFrmKervSettingTest() {
    TestApplication<QApplication>();
    fs_.AddFolder("/home/user/.config/kerv");
    fs_.AddFolder("/home/user/backup");
  }

  std::unique_ptr<TFrm_KervSetting> Open() {
    auto dialog = std::make_unique<TFrm_KervSetting>(manager_, codePage_, information_);
    dialog->show();
    return dialog;
  }
  template <typename Widget>
  Widget* Field(TFrm_KervSetting& dialog, const char* section, const char* key) {
    auto* widget = qobject_cast<Widget*>(dialog.FieldWidget(section, key));
    EXPECT_NE(widget, nullptr) << key;
    return widget;
  }
  void Type(QLineEdit* edit, const QString& text) {
    edit->clear();
    QTest::keyClicks(edit, text);
  }
  void ClickOk(TFrm_KervSetting& dialog) { QTest::mouseClick(dialog.OkButton(), Qt::LeftButton); }

  FakeFileSystem fs_;
  IconvCodePage codePage_;
  RecordingInformation information_;
  TKervSettingManager manager_{fs_, kFolder};
};

TEST_F(TFrmKervSettingTest, EveryRangeOfTheKeyTableIsTheSpinBoxRange) {
  auto dialog = Open();
  int numbers = 0;
  for (const TKervSettingField& field : SettingFields()) {
    if (field.kind != TKervFieldKind::Number) continue;
    ++numbers;
    auto* spin = Field<QSpinBox>(*dialog, field.section, field.key);
    const TKervSettingKey& key = FieldKey(field);
    if (!key.HasRange()) continue;
    EXPECT_EQ(spin->minimum(), key.minValue) << field.key;
    EXPECT_EQ(spin->maximum(), key.maxValue) << field.key;
  }
  EXPECT_EQ(numbers, 16);

  // The ranges as the settings' documentation gives them; a value past either
  // end never reaches the settings.
  struct Case {
    const char* section;
    const char* key;
    int min, max;
  };
  const Case cases[] = {
      {"Backup", "Interval", 5, 60},        {"Settings", "UndoNum", 64, 32767},  {"Settings", "BigFileSize", 1, 1000},
      {"Settings", "HistoryNum", 0, 20},    {"Settings", "InfoBarTime", 1, 15},  {"Settings", "AppListNum", 1, 30},
      {"Settings", "JPEGQuality", 1, 100},  {"Settings", "Margin_Left", 0, 100}, {"Settings", "Margin_Top", 0, 100},
      {"Settings", "Margin_Char", 0, 100},  {"Settings", "Margin_Line", 0, 100}, {"Window", "UserPosX", 0, 2000},
      {"Window", "UserPosY", 0, 2000},      {"Window", "UserSizeX", 0, 2000},    {"Window", "UserSizeY", 0, 2000},
  };
  TKervSettingManager& edited = dialog->Edited();
  for (const Case& c : cases) {
    auto* spin = Field<QSpinBox>(*dialog, c.section, c.key);
    const TKervSettingKey* key = FindSettingKey(c.section, c.key);
    int* stored = std::get<int*>(key->field(*edited.Groups()[static_cast<size_t>(key->group)]));
    spin->setValue(c.max + 1);
    dialog->WriteControls();
    EXPECT_EQ(*stored, c.max) << c.key;
    spin->setValue(c.min - 1);
    dialog->WriteControls();
    EXPECT_EQ(*stored, c.min) << c.key;
  }
  // Typing past the end is refused key by key.
  auto* undo = Field<QSpinBox>(*dialog, "Settings", "UndoNum");
  undo->selectAll();
  QTest::keyClicks(undo, "99999");
  EXPECT_LE(undo->value(), 32767);

  // Enumerations are lists of their values only.
  auto* mode = Field<QComboBox>(*dialog, "Window", "Mode");
  ASSERT_EQ(mode->count(), 3);
  EXPECT_EQ(mode->itemData(2).toInt(), 2);
  EXPECT_EQ(Field<QComboBox>(*dialog, "Settings", "NNToolBarBtn")->count(), 2);
  EXPECT_EQ(Field<QComboBox>(*dialog, "Settings", "CaretStyle")->count(), 2);
  auto* lock = Field<QGroupBox>(*dialog, "Settings", "FileLockMode");
  EXPECT_EQ(lock->findChildren<QRadioButton*>().size(), 3);
}

TEST_F(TFrmKervSettingTest, TheThreeChecksRefuseAndMarkTheField) {
  auto dialog = Open();
  Field<QCheckBox>(*dialog, "Backup", "SaveBackup")->setChecked(true);
  // "Backups to a chosen folder" is SaveSameDir negated.
  Field<QCheckBox>(*dialog, "Backup", "SaveSameDir")->setChecked(true);
  Type(Field<QLineEdit>(*dialog, "Backup", "SaveTarget"), "/nowhere/");
  Type(Field<QLineEdit>(*dialog, "Settings", "TempFile"), "a*b.tmp");
  Type(Field<QLineEdit>(*dialog, "Settings", "OpenFirstFolder"), "/no/open");
  Type(Field<QLineEdit>(*dialog, "Settings", "SaveFirstFolder"), "/no/save");

  struct Step {
    const char* section;
    const char* key;
    TKervSettingPage page;
    const char* message;
    const char* correction;
  };
  const Step steps[] = {
      {"Backup", "SaveTarget", TKervSettingPage::Backup, "バックアップ作成先に無効なフォルダが指定されています。",
       "/home/user/backup/"},
      {"Settings", "TempFile", TKervSettingPage::Tools, "次の文字は使えません「 \\ / ; * ? \" < > | 」", "ok.tmp"},
      {"Settings", "OpenFirstFolder", TKervSettingPage::FileDialog,
       "ファイルを開くダイアログの初期表示フォルダに無効なフォルダが指定されています。", "/home/user/backup"},
      {"Settings", "SaveFirstFolder", TKervSettingPage::FileDialog,
       "ファイルを保存ダイアログの初期表示フォルダに無効なフォルダが指定されています。", "/home/user/backup/"},
  };
  for (const Step& step : steps) {
    information_.errors.clear();
    dialog->ShowPage(TKervSettingPage::File);
    ClickOk(*dialog);
    EXPECT_THAT(information_.errors, ElementsAre(step.message));
    EXPECT_TRUE(dialog->isVisible()) << step.key;
    EXPECT_EQ(dialog->CurrentPage(), step.page) << step.key;
    auto* edit = Field<QLineEdit>(*dialog, step.section, step.key);
    EXPECT_TRUE(TFrm_KervSetting::IsMarked(edit)) << step.key;
    EXPECT_TRUE(edit->styleSheet().contains("yellow")) << step.key;
    EXPECT_FALSE(manager_.Backup().SaveBackup);  // nothing handed back yet
    EXPECT_FALSE(fs_.FileExists(kIni));
    Type(edit, QString::fromUtf8(step.correction));
    EXPECT_FALSE(TFrm_KervSetting::IsMarked(edit));
  }
  information_.errors.clear();
  ClickOk(*dialog);
  EXPECT_TRUE(information_.errors.empty());
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_TRUE(manager_.Backup().SaveBackup);
  EXPECT_EQ(manager_.Backup().SaveTarget, "/home/user/backup/");
  EXPECT_EQ(manager_.ToolLauncher().TempFile, "ok.tmp");

  // Each refused character of a temporary file name; a Japanese name passes.
  for (const char* name : {"a\\b", "a/b", "a;b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"}) {
    EXPECT_TRUE(CheckTempFileName(name).has_value()) << name;
  }
  EXPECT_FALSE(CheckTempFileName("ソフト表.tmp").has_value());
}

TEST_F(TFrmKervSettingTest, CancelChangesNothing) {
  fs_.AddFile(kIni, "[Settings]\r\nInfoBarTime=4\r\n");
  manager_.LoadAll();
  auto dialog = Open();
  Field<QSpinBox>(*dialog, "Settings", "InfoBarTime")->setValue(12);
  Field<QCheckBox>(*dialog, "Settings", "BigFileNoWrap")->setChecked(true);
  Type(Field<QLineEdit>(*dialog, "Settings", "TempFile"), "other.tmp");
  QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_FALSE(dialog->ValuesTaken());
  EXPECT_EQ(manager_.InfoBar().InfoBarTime, 4);
  EXPECT_FALSE(manager_.File().BigFileNoWrap);
  EXPECT_EQ(manager_.ToolLauncher().TempFile, "app_open.tmp");
  EXPECT_EQ(fs_.Contents(kIni), "[Settings]\r\nInfoBarTime=4\r\n");
}

TEST_F(TFrmKervSettingTest, OkHandsBackTheEditedValuesAndSavesThem) {
  manager_.EachProcess().BaseBar = false;  // the window's own state is not the dialog's
  manager_.Search().SearchFlags = SearchFlag::RegExp;
  auto dialog = Open();
  EXPECT_TRUE(Field<QCheckBox>(*dialog, "Settings", "NoSaveMenu")->isChecked());  // NoSaveMenu 0, negated
  Field<QSpinBox>(*dialog, "Settings", "InfoBarTime")->setValue(3);
  auto* caret = Field<QComboBox>(*dialog, "Settings", "CaretStyle");
  caret->setCurrentIndex(caret->findData(1));
  Field<QCheckBox>(*dialog, "Settings", "BigFileNoWrap")->setChecked(true);
  Field<QCheckBox>(*dialog, "Settings", "NoSaveMenu")->setChecked(false);
  for (QRadioButton* radio : Field<QGroupBox>(*dialog, "Settings", "FileLockMode")->findChildren<QRadioButton*>()) {
    if (radio->text() == QString::fromUtf8("他のプログラムからの読み書きを禁止する")) radio->setChecked(true);
  }
  auto* mode = Field<QComboBox>(*dialog, "Window", "Mode");
  mode->setCurrentIndex(mode->findData(2));
  Field<QLineEdit>(*dialog, "DefaultFont", "Name")->setText(QString::fromUtf8("ＭＳ 明朝"));
  ClickOk(*dialog);

  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_TRUE(dialog->ValuesTaken());
  EXPECT_EQ(manager_.InfoBar().InfoBarTime, 3);
  EXPECT_TRUE(manager_.View().CaretStyle);
  EXPECT_TRUE(manager_.File().BigFileNoWrap);
  EXPECT_TRUE(manager_.Editor().NoSaveMenu);
  EXPECT_EQ(manager_.File().FileLockMode, 3);
  EXPECT_EQ(manager_.Window().Mode, 2);
  EXPECT_EQ(manager_.View().FontName, "\x82\x6C\x82\x72 \x96\xBE\x92\xA9");  // Shift_JIS
  EXPECT_FALSE(manager_.EachProcess().BaseBar);
  EXPECT_EQ(manager_.Search().SearchFlags, SearchFlag::RegExp);

  TKervSettingManager reader(fs_, kFolder);
  reader.LoadAll();
  EXPECT_EQ(reader.InfoBar().InfoBarTime, 3);
  EXPECT_TRUE(reader.View().CaretStyle);
  EXPECT_TRUE(reader.File().BigFileNoWrap);
  EXPECT_EQ(reader.View().FontName, manager_.View().FontName);
  TIniFile ini(fs_, kIni);
  EXPECT_FALSE(ini.ValueExists("Settings", "BaseBar"));  // SaveAll leaves the per-window group
}

TEST_F(TFrmKervSettingTest, ApplyWithoutSavingTakesTheValuesButWritesNothing) {
  auto dialog = Open();
  EXPECT_EQ(dialog->ApplyWithoutSavingBox()->text(), QString::fromUtf8("変更を保存しないで今回だけ反映する"));
  Field<QSpinBox>(*dialog, "Settings", "InfoBarTime")->setValue(7);
  dialog->ApplyWithoutSavingBox()->setChecked(true);
  ClickOk(*dialog);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(manager_.InfoBar().InfoBarTime, 7);
  EXPECT_FALSE(fs_.FileExists(kIni));
}

TEST_F(TFrmKervSettingTest, AFailedSaveKeepsTheDialogOpenWithTheValuesInUse) {
  fs_.AddFile(kIni, "[Settings]\r\nUndoNum=100\r\n");
  manager_.LoadAll();
  fs_.FailWritesTo(kIni);
  auto dialog = Open();
  Field<QSpinBox>(*dialog, "Settings", "UndoNum")->setValue(500);
  ClickOk(*dialog);
  ASSERT_EQ(information_.errors.size(), 1u);
  EXPECT_NE(information_.errors[0].find("No space left on device"), std::string::npos);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(dialog->ValuesTaken());
  EXPECT_EQ(manager_.Editor().UndoNum, 500);
  EXPECT_EQ(fs_.Contents(kIni), "[Settings]\r\nUndoNum=100\r\n");
}

TEST_F(TFrmKervSettingTest, UntouchedFieldsKeepTheirBytes) {
  // A Shift_JIS folder from a file written elsewhere, and values outside the
  // lists and ranges: OK without a change writes them back as they were,
  // except where a range is enforced.
  const std::string sjisFolder = "/tmp/\x83\x5C\x83\x74\x83\x67/";  // ソフト
  fs_.AddFile(kIni, "[Backup]\r\nSaveTarget=" + sjisFolder + "\r\n[Window]\r\nMode=7\r\n");
  manager_.LoadAll();
  auto dialog = Open();
  dialog->WriteControls();
  EXPECT_EQ(dialog->Edited().Backup().SaveTarget, sjisFolder);
  EXPECT_EQ(dialog->Edited().Window().Mode, 7);
  EXPECT_EQ(dialog->Edited().FileDialog().OpenDlgFilter, DefaultOpenDlgFilter() + "|");
  EXPECT_EQ(dialog->Edited().View().FontName, manager_.View().FontName);
  EXPECT_EQ(dialog->Edited().ToolLauncher().TempFile, "app_open.tmp");
  EXPECT_EQ(dialog->Edited().Backup().RegBackupType, 0);
}

TEST_F(TFrmKervSettingTest, TheFilterEditorChecksEachRow) {
  auto dialog = Open();
  auto* list = Field<QTreeWidget>(*dialog, "Settings", "SaveDlgFilter");
  auto* editor = qobject_cast<QGroupBox*>(list->parentWidget());
  ASSERT_NE(editor, nullptr);
  QList<QLineEdit*> edits = editor->findChildren<QLineEdit*>();
  ASSERT_EQ(edits.size(), 2);
  QLineEdit* name = edits[0];
  QLineEdit* definition = edits[1];
  auto button = [&](const char* caption) {
    for (QPushButton* b : editor->findChildren<QPushButton*>()) {
      if (b->text() == QString::fromUtf8(caption)) return b;
    }
    ADD_FAILURE() << caption;
    return static_cast<QPushButton*>(nullptr);
  };
  int rows = list->topLevelItemCount();
  EXPECT_EQ(rows, 30);

  Type(name, "");
  Type(definition, "*.md");
  QTest::mouseClick(button("追加(&A)"), Qt::LeftButton);
  EXPECT_THAT(information_.errors, ElementsAre("フィルタ名が入力されていません。"));
  EXPECT_TRUE(TFrm_KervSetting::IsMarked(name));

  information_.errors.clear();
  name->setText(QString::fromUtf8("マークダウン"));
  Type(definition, "*.m|d");
  QTest::mouseClick(button("追加(&A)"), Qt::LeftButton);
  ASSERT_EQ(information_.errors.size(), 1u);
  EXPECT_TRUE(TFrm_KervSetting::IsMarked(definition));
  EXPECT_FALSE(TFrm_KervSetting::IsMarked(name));

  information_.errors.clear();
  Type(definition, "*.md");
  QTest::mouseClick(button("追加(&A)"), Qt::LeftButton);
  EXPECT_TRUE(information_.errors.empty());
  EXPECT_EQ(list->topLevelItemCount(), rows + 1);
  QTest::mouseClick(button("上へ(&U)"), Qt::LeftButton);
  dialog->WriteControls();
  std::vector<TKervFilterRow> written = ParseFilterList(dialog->Edited().FileDialog().SaveDlgFilter);
  ASSERT_EQ(written.size(), 31u);
  EXPECT_EQ(written[29], (TKervFilterRow{codePage_.Utf8ToCp932("マークダウン", nullptr), "*.md"}));
  EXPECT_EQ(dialog->Edited().FileDialog().SaveDlgFilter.back(), '|');

  // Back to the default list after the question; "No" keeps the rows.
  information_.answerYes = false;
  QTest::mouseClick(button("フィルターをデフォルトに戻す(&T)"), Qt::LeftButton);
  EXPECT_THAT(information_.questions,
              ElementsAre("ファイルを保存ダイアログのフィルタ設定をデフォルトに戻します。よろしいですか？"));
  EXPECT_EQ(list->topLevelItemCount(), 31);
  information_.answerYes = true;
  QTest::mouseClick(button("フィルターをデフォルトに戻す(&T)"), Qt::LeftButton);
  EXPECT_EQ(list->topLevelItemCount(), 30);
}

TEST_F(TFrmKervSettingTest, EveryPageIsThereAndLaterPagesHaveRoom) {
  auto dialog = Open();
  EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("共通設定"));
  for (const TKervSettingPageInfo& page : SettingPages()) {
    dialog->ShowPage(page.page);
    EXPECT_EQ(dialog->CurrentPage(), page.page);
    ASSERT_NE(dialog->PageLayout(page.page), nullptr);
  }
  // Every key of the groups the dialog edits has a control, except the key
  // set, which its own page will edit.
  for (const TKervSettingKey& key : SettingKeys()) {
    auto group = static_cast<TKervSettingGroup>(key.group);
    bool shown = dialog->FieldWidget(key.section, key.key) != nullptr;
    bool expected = group != TKervSettingGroup::EachProcess && group != TKervSettingGroup::Search &&
                    group != TKervSettingGroup::KeySet;
    EXPECT_EQ(shown, expected) << key.section << "." << key.key;
  }
}

}  // namespace
}  // namespace kerv
