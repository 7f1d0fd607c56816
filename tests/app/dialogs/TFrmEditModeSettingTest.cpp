#include "app/dialogs/TFrmEditModeSetting.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <deque>
#include <map>

#include "app/dialogs/TFrmMultiWord.h"
#include "editmode/EditModeMessages.h"
#include "editmode/TEditModeFile.h"
#include "editor/TEditorPaintPlan.h"
#include "platform/posix/IconvCodePage.h"
#include "platform/posix/PosixFileSystem.h"
#include "ui/TEditorWidget.h"
#include "tests/QtTestApplication.h"

namespace kerv {
namespace {

// The window's boxes: records every text (as UTF-8) and answers questions from a script.
class FakeInformation : public IKervInformation {
 public:
  explicit FakeInformation(ICodePage& codePage) : codePage_(codePage) {}
  Answer MessageBox(const std::string& text, int, int) override {
    shown.push_back(codePage_.Cp932ToUtf8(text));
    if (answers.empty()) return maYes;
    Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Notify(const std::string& text, int) override { shown.push_back(codePage_.Cp932ToUtf8(text)); }

  std::deque<Answer> answers;
  std::vector<std::string> shown;

 private:
  ICodePage& codePage_;
};

class SilentUser : public IEditModeUser {
 public:
  void NoticeError(const std::string&) override {}
  void ShowError(const std::string&) override {}
  void ShowErrorCode(int, const std::optional<std::string>&) override {}
  bool Confirm(const std::string&) override { return true; }
  void RefuseName(const std::string&) override {}
};

// Runs action on the modal dialog that the next step opens.
void OnModal(std::function<void(QDialog&)> action) {
  QTimer::singleShot(0, [action] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    action(*dialog);
  });
}

class TFrmEditModeSettingTest : public testing::Test {
 protected:
  void SetUp() override {
    TestApplication<QApplication>();
    ASSERT_TRUE(dir_.isValid());
    folder_ = dir_.path().toStdString() + "/";
  }

  std::string Sjis(const char* utf8) { return codePage_.Utf8ToCp932(utf8, nullptr); }
  std::string File(const char* name) { return folder_ + name; }
  bool Exists(const char* name) { return fs_.FileExists(File(name)); }
  std::string Read(const char* name) { return fs_.ReadFile(File(name)); }
  // Every file of the settings folder with its contents.
  std::map<std::string, std::string> Snapshot() {
    std::map<std::string, std::string> files;
    for (const std::string& name : fs_.ListFiles(folder_, "*")) files[name] = fs_.ReadFile(folder_ + name);
    return files;
  }
  void WriteMode(const char* utf8Name) {
    TEditorPropEx set;
    set.ApplyFactorySettings();
    manager_.SaveMode(set, Sjis(utf8Name));
  }
  std::unique_ptr<TFrmEditModeSetting> Open(const char* currentUtf8 = "デフォルト") {
    auto dialog = std::make_unique<TFrmEditModeSetting>(manager_, Sjis(currentUtf8), info_);
    dialog->AskName = [this](const QString&, const QString&, const QString& proposal) -> std::optional<QString> {
      if (names_.empty()) return std::nullopt;
      QString name = names_.front();
      names_.pop_front();
      return name == QStringLiteral("<proposal>") ? proposal : name;
    };
    return dialog;
  }
  static void Click(QWidget& dialog, const char* button) {
    auto* found = dialog.findChild<QPushButton*>(QString::fromLatin1(button));
    ASSERT_NE(found, nullptr) << button;
    found->click();
  }
  static QStringList ModeList(QWidget& dialog) {
    QStringList names;
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("LB_EditMode"));
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
  }

  QTemporaryDir dir_;
  std::string folder_;
  PosixFileSystem fs_;
  IconvCodePage codePage_;
  SilentUser user_;
  TKervEditModeManager manager_{fs_, codePage_, user_, dir_.path().toStdString()};
  FakeInformation info_{codePage_};
  std::deque<QString> names_;
};

TEST_F(TFrmEditModeSettingTest, ModesAreCreatedCopiedRenamedAndDeletedOnDisk) {
  auto dialog = Open();
  EXPECT_TRUE(Exists("デフォルト.em2"));  // the dialog writes the default mode it lists first
  EXPECT_FALSE(dialog->ModesChanged());

  names_ = {QString(), QStringLiteral("a/b"), QStringLiteral("Cモード")};
  Click(*dialog, "Btn_ModeNew");  // an empty name is nothing
  Click(*dialog, "Btn_ModeNew");  // refused
  EXPECT_FALSE(Exists(".em2"));
  EXPECT_FALSE(Exists("a/b.em2"));
  EXPECT_EQ(info_.shown.back(), EditModeMessage(TEditModeMessage::InvalidChars));
  Click(*dialog, "Btn_ModeNew");
  EXPECT_TRUE(Exists("Cモード.em2"));
  EXPECT_EQ(ModeList(*dialog), QStringList({QStringLiteral("デフォルト"), QStringLiteral("Cモード")}));
  EXPECT_EQ(dialog->Modes().Selected(), Sjis("Cモード"));

  names_ = {QStringLiteral("<proposal>")};
  Click(*dialog, "Btn_ModeCopy");
  EXPECT_TRUE(Exists("Cモードのコピー.em2"));
  EXPECT_EQ(dialog->Modes().Selected(), Sjis("Cモードのコピー"));

  // Renaming onto another mode is refused and leaves both files.
  names_ = {QStringLiteral("Cモード")};
  Click(*dialog, "Btn_ModeRename");
  EXPECT_EQ(info_.shown.back(), EditModeMessage(TEditModeMessage::AlreadyExists));
  EXPECT_TRUE(Exists("Cモードのコピー.em2"));
  names_ = {QStringLiteral("Perl")};
  Click(*dialog, "Btn_ModeRename");
  EXPECT_FALSE(Exists("Cモードのコピー.em2"));
  EXPECT_TRUE(Exists("Perl.em2"));
  EXPECT_EQ(ModeList(*dialog),
            QStringList({QStringLiteral("デフォルト"), QStringLiteral("Cモード"), QStringLiteral("Perl")}));

  info_.answers = {IKervInformation::maNo, IKervInformation::maYes};
  Click(*dialog, "Btn_ModeDelete");  // declined
  EXPECT_TRUE(Exists("Perl.em2"));
  Click(*dialog, "Btn_ModeDelete");
  EXPECT_FALSE(Exists("Perl.em2"));
  EXPECT_EQ(dialog->Modes().Selected(), Sjis("デフォルト"));
  Click(*dialog, "Btn_ModeDelete");  // the default mode stays
  EXPECT_EQ(info_.shown.back(), EditModeMessage(TEditModeMessage::CannotDelete));
  EXPECT_TRUE(Exists("デフォルト.em2"));

  dialog->reject();
  EXPECT_TRUE(dialog->ModesChanged());  // the files changed even though the dialog was cancelled
}

TEST_F(TFrmEditModeSettingTest, TheWindowsModeFollowsARenameAndFallsBackAfterADelete) {
  WriteMode("Text");
  auto dialog = Open("Text");
  EXPECT_EQ(dialog->Modes().Selected(), Sjis("Text"));
  names_ = {QStringLiteral("Plain")};
  Click(*dialog, "Btn_ModeRename");
  EXPECT_EQ(dialog->CurrentModeName(), Sjis("Plain"));
  Click(*dialog, "Btn_ModeDelete");
  EXPECT_EQ(dialog->CurrentModeName(), Sjis("デフォルト"));
}

TEST_F(TFrmEditModeSettingTest, AnAssociationIsCheckedAndWrittenToEditmodeIniOnOk) {
  WriteMode("Text");
  auto dialog = Open();
  OnModal([this](QDialog& pair) {
    auto* ext = pair.findChild<QLineEdit*>(QStringLiteral("Edt_Ext"));
    pair.accept();  // no extension yet: refused, the dialog stays
    EXPECT_TRUE(pair.isVisible());
    EXPECT_EQ(info_.shown.back(), EditModeMessage(TEditModeMessage::EnterExtension));
    ext->setText(QStringLiteral("t*t"));
    pair.accept();
    EXPECT_EQ(info_.shown.back(), EditModeMessage(TEditModeMessage::InvalidChars));
    ext->setText(QStringLiteral("TXT"));
    auto* mode = pair.findChild<QComboBox*>(QStringLiteral("Cmb_EditMode"));
    EXPECT_EQ(mode->count(), 1);  // never the default mode
    mode->setCurrentIndex(0);
    pair.accept();
  });
  Click(*dialog, "Btn_AssocAdd");
  auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("LV_Association"));
  ASSERT_EQ(list->topLevelItemCount(), 1);
  EXPECT_FALSE(Exists("editmode.ini"));  // nothing before OK

  dialog->accept();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(Read("editmode.ini"), "TXT=Text\r\n");
  manager_.LoadAssociations();
  EXPECT_EQ(manager_.ModeForFile("/tmp/note.txt", false), "Text");
}

TEST_F(TFrmEditModeSettingTest, AColourChangeReachesThePreviewAtOnceAndTheFileOnOk) {
  auto dialog = Open();
  const auto entries = ColorPageEntries();
  int level3 = -1;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].colorSet == 16) level3 = static_cast<int>(i);
  }
  ASSERT_GE(level3, 0);
  dialog->SelectColorEntry(level3);
  auto* textColor = dialog->findChild<TColorButton*>(QStringLiteral("Btn_TextColor"));
  textColor->SetColor(0x123456);

  TEditor& preview = dialog->Preview().Editor();
  EXPECT_EQ(preview.View().Colors().Stress3().Color(), 0x123456u);
  // The sample word of level 3 is painted in it; level 10 keeps its own colour.
  TEditorPaintPlanner planner(preview);
  const TRowPaintPlan levels = planner.PlanRow(5);
  const std::string word3 = Sjis("強調レベル3");
  const size_t at = preview.Lines().Get(5).find(word3);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(levels.cells.at(at).color, 0x123456u);
  const size_t at10 = preview.Lines().Get(6).find(Sjis("強調レベル10"));
  ASSERT_NE(at10, std::string::npos);
  EXPECT_EQ(planner.PlanRow(6).cells.at(at10).color, preview.View().Colors().Stress10().Color());
  EXPECT_EQ(Read("デフォルト.em2").find("ColorSet16=1193046,"), std::string::npos);

  dialog->accept();
  EXPECT_NE(Read("デフォルト.em2").find("\r\nColorSet16=1193046,"), std::string::npos);
  TEditorPropEx reread;
  ASSERT_TRUE(reread.LoadFromFile(fs_, File("デフォルト.em2")));
  EXPECT_EQ(reread.View().Colors().Stress3().Color(), 0x123456u);
}

TEST_F(TFrmEditModeSettingTest, AWordAddedAtLevelThreePaintsInThePreview) {
  auto dialog = Open();
  OnModal([](QDialog& words) {
    words.findChild<QLineEdit*>(QStringLiteral("Edt_Word"))->setText(QStringLiteral("foo"));
    words.findChild<QComboBox*>(QStringLiteral("Cmb_Level"))->setCurrentIndex(2);
    words.accept();
  });
  Click(*dialog, "Btn_WordAdd");
  ASSERT_EQ(dialog->Modes().SelectedSet().ReserveWordList().size(), 1u);
  EXPECT_EQ(dialog->Modes().SelectedSet().ReserveWordList()[0], (TEditorWord{"foo", 0x100}));
  auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("LV_ReserveWord"));
  EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("レベル3"));
  EXPECT_EQ(list->topLevelItem(0)->text(2), QStringLiteral("条件なし"));

  TEditor& preview = dialog->Preview().Editor();
  const int last = preview.Lines().GetCount() - 1;
  ASSERT_EQ(preview.Lines().Get(last), "foo");
  TEditorPaintPlanner planner(preview);
  EXPECT_EQ(planner.PlanRow(preview.RowCount() - 1).cells.at(0).color, preview.View().Colors().Stress3().Color());
}

TEST_F(TFrmEditModeSettingTest, CancelWritesNoFile) {
  WriteMode("Text");
  auto dialog = Open("Text");
  const auto before = Snapshot();
  dialog->findChild<TColorButton*>(QStringLiteral("Btn_TextColor"))->SetColor(0x00FF00);
  dialog->findChild<QCheckBox*>(QStringLiteral("Chk_ShowTab"))->toggle();
  OnModal([](QDialog& pair) {
    pair.findChild<QLineEdit*>(QStringLiteral("Edt_Ext"))->setText(QStringLiteral("txt"));
    pair.accept();
  });
  Click(*dialog, "Btn_AssocAdd");
  dialog->reject();
  EXPECT_EQ(Snapshot(), before);
  EXPECT_FALSE(dialog->ModesChanged());
}

TEST_F(TFrmEditModeSettingTest, PropertyPagesEditTheSelectedModeOnly) {
  WriteMode("Text");
  auto dialog = Open("Text");
  dialog->findChild<QCheckBox*>(QStringLiteral("Chk_WordWrap"))->setChecked(true);
  dialog->findChild<QComboBox*>(QStringLiteral("Cmb_TabCount"))->setCurrentIndex(3);
  dialog->findChild<QListWidget*>(QStringLiteral("LB_EditMode"))->setCurrentRow(0);
  EXPECT_EQ(dialog->Modes().Selected(), Sjis("デフォルト"));
  EXPECT_FALSE(dialog->findChild<QCheckBox*>(QStringLiteral("Chk_WordWrap"))->isChecked());
  dialog->accept();
  TEditorPropEx text;
  ASSERT_TRUE(text.LoadFromFile(fs_, File("Text.em2")));
  EXPECT_TRUE(text.WordWrap());
  EXPECT_EQ(text.Caret().TabSpaceCount(), 8);
  TEditorPropEx standard;
  ASSERT_TRUE(standard.LoadFromFile(fs_, File("デフォルト.em2")));
  EXPECT_FALSE(standard.WordWrap());
}

// ---- the word dialog

class TFrmMultiWordTest : public TFrmEditModeSettingTest {
 protected:
  struct Recorder : IEditModeUser {
    void NoticeError(const std::string& text) override { shown.push_back(text); }
    void ShowError(const std::string& text) override { shown.push_back(text); }
    void ShowErrorCode(int code, const std::optional<std::string>&) override {
      shown.push_back(std::to_string(code));
    }
    bool Confirm(const std::string&) override { return true; }
    void RefuseName(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
  } recorder_;
};

TEST_F(TFrmMultiWordTest, OneWordIsRefusedWhenEmptyOrNotARegularExpression) {
  TFrmMultiWord dialog(codePage_, recorder_, {TEditorWord{}});
  auto* word = dialog.findChild<QLineEdit*>(QStringLiteral("Edt_Word"));
  dialog.accept();
  EXPECT_EQ(recorder_.shown, std::vector<std::string>{"11205"});
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  word->setText(QStringLiteral("(a"));
  dialog.findChild<QCheckBox*>(QStringLiteral("Chk_RegExp"))->setChecked(true);
  EXPECT_FALSE(dialog.findChild<QCheckBox*>(QStringLiteral("Chk_MatchCase"))->isEnabled());
  EXPECT_TRUE(dialog.findChild<QCheckBox*>(QStringLiteral("Chk_Fuzzy"))->isEnabled());
  dialog.accept();
  EXPECT_EQ(recorder_.shown.size(), 2u);
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  word->setText(QStringLiteral("a+"));
  dialog.findChild<QComboBox*>(QStringLiteral("Cmb_Level"))->setCurrentIndex(7);  // level 8
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Words().front(), (TEditorWord{"a+", WordOption::RegExp | 0x900}));
}

TEST_F(TFrmMultiWordTest, SeveralWordsKeepTheirOwnBitsWhereABoxStaysMixed) {
  TFrmMultiWord dialog(codePage_, recorder_,
                       {{"a", WordOption::MatchCase | 0x80}, {"b", WordOption::WholeWord | 0xC00}});
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("複数予約語のプロパティ"));
  EXPECT_FALSE(dialog.findChild<QLineEdit*>(QStringLiteral("Edt_Word"))->isEnabled());
  auto* matchCase = dialog.findChild<QCheckBox*>(QStringLiteral("Chk_MatchCase"));
  EXPECT_EQ(matchCase->checkState(), Qt::PartiallyChecked);
  dialog.findChild<QCheckBox*>(QStringLiteral("Chk_WholeWord"))->setCheckState(Qt::Checked);
  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  // Levels unchanged without the level check box.
  EXPECT_EQ(dialog.Words()[0], (TEditorWord{"a", WordOption::MatchCase | WordOption::WholeWord | 0x80}));
  EXPECT_EQ(dialog.Words()[1], (TEditorWord{"b", WordOption::WholeWord | 0xC00}));
}

TEST_F(TFrmMultiWordTest, SeveralWordsBecomeRegularExpressionsOnlyWhenAllCompile) {
  TFrmMultiWord dialog(codePage_, recorder_, {{"ok", 0}, {"[bad", 0}});
  dialog.findChild<QCheckBox*>(QStringLiteral("Chk_RegExp"))->setCheckState(Qt::Checked);
  dialog.findChild<QCheckBox*>(QStringLiteral("Chk_SetLevel"))->setChecked(true);
  dialog.accept();
  EXPECT_EQ(recorder_.shown, std::vector<std::string>{"11206"});
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Words()[0], (TEditorWord{"ok", 0}));
}

}  // namespace
}  // namespace kerv
