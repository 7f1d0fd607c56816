// The tool dialog and the tool editor.

#include "app/dialogs/TFrmAppList.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/commands/TKervInformation.h"
#include "app/dialogs/TFrmAddApp.h"
#include "app/dialogs/TKeyCaptureEdit.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"
#include "tests/QtTestApplication.h"
#include "tests/app/dialogs/RecordingInformation.h"

namespace kerv {
namespace {

// "グレップ" in Shift_JIS.
const char* const kSjisName = "\x83\x4F\x83\x8C\x83\x62\x83\x76";

class ToolDialogTest : public ::testing::Test {
 protected:
  ToolDialogTest() {
    TestApplication<QApplication>();
    fs_.AddFolder("/cfg");
    fs_.AddFolder("/bin");
    for (const char* program : {"/bin/a", "/bin/b", "/bin/c"}) fs_.AddFile(program, "#!/bin/sh\n");
  }
  std::unique_ptr<TFrm_AddApp> Editor(const TToolLauncherItem* item) {
    auto editor = std::make_unique<TFrm_AddApp>(fs_, codePage_, information_, item);
    editor->show();
    return editor;
  }
  static TToolLauncherItem Item(const std::string& name, const std::string& path) {
    TToolLauncherItem item;
    item.name = name;
    item.path = path;
    return item;
  }

  FakeFileSystem fs_;
  IconvCodePage codePage_;
  RecordingInformation information_;
};

TEST_F(ToolDialogTest, TheEditorRefusesAnEmptyNameThenAMissingProgramMarkingTheField) {
  auto editor = Editor(nullptr);
  editor->Edt_Path->setText(QStringLiteral("/bin/none"));
  editor->Btn_OK->click();
  ASSERT_EQ(information_.errors.size(), 1u);
  EXPECT_EQ(information_.errors[0], "ツール名を入力してください。");
  EXPECT_TRUE(TFrm_AddApp::IsMarked(editor->Edt_Name));
  EXPECT_TRUE(editor->isVisible());

  editor->Edt_Name->setText(QStringLiteral("none"));
  editor->Btn_OK->click();
  ASSERT_EQ(information_.errors.size(), 2u);
  EXPECT_EQ(information_.errors[1], "/bin/none\r\n実行ファイルが見つかりません。");
  EXPECT_FALSE(TFrm_AddApp::IsMarked(editor->Edt_Name));
  EXPECT_TRUE(TFrm_AddApp::IsMarked(editor->Edt_Path));

  editor->Edt_Path->setText(QStringLiteral("/bin/a"));
  editor->InsertPlaceholder(0);
  editor->InsertPlaceholder(3);
  QTest::keyClick(editor->HtKy_ShortCut, Qt::Key_Colon, Qt::ControlModifier | Qt::ShiftModifier);
  editor->Chk_SaveFile->setChecked(true);
  editor->Btn_OK->click();
  EXPECT_FALSE(editor->isVisible());
  const std::optional<TToolLauncherItem> tool = editor->Result();
  ASSERT_TRUE(tool);
  EXPECT_EQ(tool->name, "none");
  EXPECT_EQ(tool->path, "/bin/a");
  EXPECT_EQ(tool->option, "\"%f\" \"%tf\" ");
  EXPECT_EQ(tool->shortCut, 0x4000 | 0x2000 | 186);  // Ctrl+Shift and the ';' key
  EXPECT_TRUE(tool->saveFile);
}

TEST_F(ToolDialogTest, TheEditorKeepsUntouchedTextsAsTheFileHadThemAndCancelGivesNothing) {
  TToolLauncherItem item = Item(kSjisName, "/bin/a");
  item.option = "-n %f";
  item.shortCut = 114;
  auto editor = Editor(&item);
  EXPECT_EQ(editor->Edt_Name->text(), QString::fromUtf8("グレップ"));
  EXPECT_EQ(editor->HtKy_ShortCut->text(), QStringLiteral("F3"));
  editor->Btn_OK->click();
  std::optional<TToolLauncherItem> tool = editor->Result();
  ASSERT_TRUE(tool);
  EXPECT_TRUE(tool->SameValues(item));

  // An edited name goes back to Shift_JIS; Delete empties the key field.
  editor = Editor(&item);
  editor->Edt_Name->setText(QString::fromUtf8("グレップ2"));
  QTest::keyClick(editor->HtKy_ShortCut, Qt::Key_Delete);
  editor->Btn_OK->click();
  tool = editor->Result();
  ASSERT_TRUE(tool);
  EXPECT_EQ(tool->name, std::string(kSjisName) + "2");
  EXPECT_EQ(tool->shortCut, 0);

  editor = Editor(&item);
  editor->Btn_Cancel->click();
  EXPECT_TRUE(editor->Edt_Path->text().isEmpty());
  EXPECT_FALSE(editor->Result());
}

TEST_F(ToolDialogTest, TheListShowsMissingProgramsAndOkWritesTheNewOrder) {
  fs_.AddFile("/cfg/kervtool.ini",
              "[ToolLauncher]\r\nNum=3\r\nToolPath0=/bin/a\r\nToolName0=A\r\nToolPath1=/bin/gone\r\nToolName1=Gone\r\n"
              "ToolPath2=/bin/c\r\nToolName2=C\r\n");
  TFrm_AppList dialog(fs_, codePage_, "/cfg", information_);
  ASSERT_TRUE(dialog.Loaded());
  ASSERT_EQ(dialog.Lvw_AppList->topLevelItemCount(), 3);
  EXPECT_EQ(dialog.Lvw_AppList->topLevelItem(1)->text(0), QString::fromUtf8("ファイルが見つかりません"));
  EXPECT_EQ(dialog.Lvw_AppList->topLevelItem(1)->text(1), QStringLiteral("/bin/gone"));
  EXPECT_FALSE(dialog.Btn_Up->isEnabled());

  // The second moves up; the last cannot move down.
  dialog.SetCurrentRow(1);
  dialog.Btn_Up->click();
  EXPECT_EQ(dialog.CurrentRow(), 0);
  dialog.SetCurrentRow(2);
  EXPECT_FALSE(dialog.Btn_Down->isEnabled());

  // An editor answer whose program does not exist changes nothing.
  dialog.EditTool = [](const TToolLauncherItem*) { return std::optional<TToolLauncherItem>(Item("X", "/bin/none")); };
  dialog.Add();
  EXPECT_EQ(dialog.List().Count(), 3);
  dialog.EditTool = [](const TToolLauncherItem* item) {
    TToolLauncherItem changed = *item;
    changed.name = "B";
    changed.path = "/bin/b";
    return std::optional<TToolLauncherItem>(changed);
  };
  dialog.SetCurrentRow(0);
  dialog.Modify();
  EXPECT_EQ(dialog.Lvw_AppList->topLevelItem(0)->text(0), QStringLiteral("B"));

  // Deleting asks; No keeps the tool.
  information_.answerYes = false;
  dialog.SetCurrentRow(2);
  dialog.Delete();
  EXPECT_EQ(dialog.List().Count(), 3);
  EXPECT_EQ(information_.questions, std::vector<std::string>{"この項目を削除します。よろしいですか？"});

  dialog.Btn_OK->click();
  TKervToolLauncher written({fs_, codePage_}, "/cfg");
  written.LoadList();
  ASSERT_EQ(written.Count(), 3);
  EXPECT_EQ(written.GetItem(0)->name, "B");
  EXPECT_EQ(written.GetItem(0)->path, "/bin/b");
  EXPECT_EQ(written.GetItem(1)->name, "A");
  EXPECT_EQ(written.GetItem(2)->name, "C");
}

TEST_F(ToolDialogTest, CancelWritesNothing) {
  const std::string text = "[ToolLauncher]\r\nNum=1\r\nToolPath0=/bin/a\r\nToolName0=A\r\n";
  fs_.AddFile("/cfg/kervtool.ini", text);
  TFrm_AppList dialog(fs_, codePage_, "/cfg", information_);
  information_.answerYes = true;
  dialog.SetCurrentRow(0);
  dialog.Delete();
  EXPECT_EQ(dialog.List().Count(), 0);
  dialog.Btn_Cancel->click();
  EXPECT_EQ(fs_.Contents("/cfg/kervtool.ini"), text);
}

}  // namespace
}  // namespace kerv
