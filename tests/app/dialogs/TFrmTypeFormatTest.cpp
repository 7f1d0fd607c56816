// The formatting dialogs offscreen: values in, options out.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "app/commands/TKervInformation.h"
#include "app/dialogs/TFrmLeadString.h"
#include "app/dialogs/TFrmNumbering.h"
#include "app/dialogs/TFrmReturnAt.h"
#include "app/dialogs/TFrmTypeFormat.h"
#include "app/dialogs/TKervFormatDialogsText.h"
#include "tests/format/FormatTestSupport.h"
#include "tests/QtTestApplication.h"

namespace kerv {
namespace {

using test::S;

class FakeInformation : public IKervInformation {
 public:
  std::vector<std::string> boxes;
  Answer answer = maYes;
  Answer MessageBox(const std::string& text, int, int) override { return boxes.push_back(text), answer; }
  void Notify(const std::string&, int) override {}
};

class FormatDialogsTest : public ::testing::Test {
 protected:
  FormatDialogsTest() { TestApplication<QApplication>(); }
  ICodePage& CodePage() { return test::TestCodePage(); }
  FakeInformation information;
};

TEST_F(FormatDialogsTest, TypeFormatChoices) {
  TFrmTypeFormat form;
  EXPECT_TRUE(form.RB_HanToZen->isChecked());
  EXPECT_FALSE(form.Chk_Tab->isEnabled());
  EXPECT_FALSE(form.Chk_Ret->isEnabled());
  form.RB_Del->setChecked(true);
  EXPECT_TRUE(form.Chk_Tab->isEnabled());
  EXPECT_TRUE(form.Chk_Ret->isEnabled());

  form.Chk_Kana->setChecked(true);
  form.Chk_Tab->setChecked(true);
  form.symbolBoxes[0]->setChecked(true);   // Tag 1 "!"
  form.symbolBoxes[18]->setChecked(true);  // Tag 19 ">"
  EXPECT_EQ(form.symbolBoxes[18]->property("Tag").toInt(), 19);
  std::optional<TTypeFormatOptions> options = form.Options();
  ASSERT_TRUE(options);
  EXPECT_EQ(options->action, TTypeFormatAction::Delete);
  EXPECT_EQ(options->flags, TypeFlag::Kana | TypeFlag::Tab);
  EXPECT_EQ(options->symbols, "!>");

  // Converting again: the TAB box means nothing.
  form.RB_ZenToHan->setChecked(true);
  EXPECT_EQ(form.Options()->flags, TypeFlag::Kana);

  // All symbols: the single boxes are disabled and their string ignored.
  form.Chk_Sym->setChecked(true);
  EXPECT_FALSE(form.symbolBoxes[0]->isEnabled());
  options = form.Options();
  EXPECT_EQ(options->flags, TypeFlag::Kana | TypeFlag::Sym);
  EXPECT_EQ(options->symbols, "");
  form.Chk_Sym->setChecked(false);
  EXPECT_TRUE(form.symbolBoxes[0]->isEnabled());
}

TEST_F(FormatDialogsTest, TypeFormatOnlyCancelAbandons) {
  TFrmTypeFormat closed;
  closed.show();
  closed.close();  // the close box applies
  EXPECT_TRUE(closed.Options());

  TFrmTypeFormat cancelled;
  cancelled.show();
  cancelled.findChild<QPushButton*>("Cancel")->click();
  EXPECT_FALSE(cancelled.Options());
}

TEST_F(FormatDialogsTest, NumberingValuesPreviewAndStartCheck) {
  TNumberingOptions stored{9, S("："), TNumberAlignment::ZeroFill};
  TFrmNumbering form(CodePage(), information, stored);
  EXPECT_EQ(form.Edt_StartNum->text(), "9");
  EXPECT_EQ(form.UpDwn_StartNum->value(), 9);
  EXPECT_EQ(form.Edt_SeparateStr->text(), QString::fromUtf8("："));
  EXPECT_EQ(form.Cmb_Type->currentIndex(), 2);
  // 100 sample lines from 9: the last number, 108, has three digits.
  EXPECT_EQ(form.Lbl_Preview->text(),
            QString::fromUtf8("009：これはサンプルです。\n           : \n108：これはサンプルです。"));

  form.Cmb_Type->setCurrentIndex(1);
  form.Edt_SeparateStr->setText("%d.");
  EXPECT_TRUE(form.Lbl_Preview->text().startsWith("  9%d.")) << form.Lbl_Preview->text().toStdString();
  form.UpDwn_StartNum->setValue(20);
  EXPECT_EQ(form.Edt_StartNum->text(), "20");

  form.Edt_StartNum->setText("x1");
  form.accept();
  EXPECT_NE(form.result(), QDialog::Accepted);
  EXPECT_EQ(information.boxes, (std::vector<std::string>{"開始番号が不正です。0～9999の値を指定してください。"}));

  form.Edt_StartNum->setText("9999");
  form.accept();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.Options().startNumber, 9999);
  EXPECT_EQ(form.Options().separateStr, "%d.");
  EXPECT_EQ(form.Options().alignment, TNumberAlignment::Digits);
}

TEST_F(FormatDialogsTest, LeadStringHistory) {
  TLeadStringHistory history;
  history.Add("b");
  history.Add(S("ソs"));
  TFrmLeadString form(CodePage(), information, true, history);
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("行末文字の入力"));
  EXPECT_EQ(form.Lbl_Prompt->text(), QString::fromUtf8("行末に追加する文字(&F)"));
  ASSERT_EQ(form.Cmb_Strings->count(), 2);
  EXPECT_EQ(form.Cmb_Strings->itemText(0), QString::fromUtf8("ソs"));

  // An item equal without regard to case moves to the top.
  form.Cmb_Strings->setEditText("B");
  form.accept();
  ASSERT_TRUE(form.Typed());
  EXPECT_EQ(*form.Typed(), "B");
  EXPECT_EQ(history.Items(), (std::vector<std::string>{"b", S("ソs")}));

  TFrmLeadString again(CodePage(), information, false, history);
  EXPECT_EQ(again.windowTitle(), QString::fromUtf8("行頭文字の入力"));
  information.answer = IKervInformation::maNo;
  again.ClearHistory();
  EXPECT_EQ(history.Items().size(), 2u);
  information.answer = IKervInformation::maYes;
  again.ClearHistory();
  EXPECT_TRUE(history.Items().empty());
  EXPECT_EQ(again.Cmb_Strings->count(), 0);
  again.reject();
  EXPECT_FALSE(again.Typed());
}

TEST_F(FormatDialogsTest, ReturnAtAsksAgainUntilTheColumnIsValid) {
  TFrmReturnAt form;
  for (const char* bad : {"1", "1001", "", "5x"}) {
    form.Edt_Column->setText(bad);
    form.accept();
    EXPECT_NE(form.result(), QDialog::Accepted) << bad;
  }
  form.Edt_Column->setText("40");
  form.accept();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.Column(), 40);
}

}  // namespace
}  // namespace kerv
