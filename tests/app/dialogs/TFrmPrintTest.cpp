#include "app/dialogs/TFrmPrint.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

#include "app/commands/TKervInformation.h"
#include "app/dialogs/TFormStrPreview.h"
#include "app/dialogs/TFormStrProgress.h"
#include "app/settings/TKervSettingManager.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"
#include "print/PrintMessages.h"
#include "print/TPageLayout.h"
#include "print/TStringsPrinter.h"
#include "tests/print/PdfText.h"
#include "tests/QtTestApplication.h"

namespace kerv {
namespace {

const char* const kFolder = "/home/user/.config/kerv/";
const char* const kIni = "/home/user/.config/kerv/kerv.ini";

class FakeInformation : public IKervInformation {
 public:
  std::vector<std::string> errors;
  Answer MessageBox(const std::string& text, int, int) override {
    errors.push_back(text);
    return maOk;
  }
  void Notify(const std::string&, int) override {}
};

// kerv.ini that cannot be read, when asked.
class PrintFileSystem : public FakeFileSystem {
 public:
  bool failReads = false;
  std::string ReadFile(const std::string& path) override {
    if (failReads && path == kIni) throw EFileError(EFileError::Kind::Read, path, "unreadable");
    return FakeFileSystem::ReadFile(path);
  }
};

class TFrmPrintTest : public ::testing::Test {
 protected:
  TFrmPrintTest() {
    TestApplication<QApplication>();
    fs_.AddFolder("/home/user/.config/kerv");
    char pattern[] = "/tmp/kervprintdlgXXXXXX";
    EXPECT_NE(::mkdtemp(pattern), nullptr);
    dir_ = std::string(pattern) + "/";
    source_.fileName = "/home/user/文書/memo.txt";
    source_.editorFont.name = Sjis("ＭＳ ゴシック");
    source_.editorFont.size = 10;
    source_.lines = [this] { return lines_; };
  }
  ~TFrmPrintTest() override { std::filesystem::remove_all(dir_); }

  std::string Sjis(const std::string& utf8) { return codePage_.Utf8ToCp932(utf8, nullptr); }
  std::unique_ptr<TFrm_Print> Open() {
    auto dialog = std::make_unique<TFrm_Print>(manager_, codePage_, information_, source_);
    dialog->AskPdfFileName = [this](const QString& suggested) -> std::optional<QString> {
      suggested_ = suggested;
      return pdfName_;
    };
    return dialog;
  }
  void Lines(int count) {
    lines_.clear();
    for (int i = 1; i <= count; ++i) lines_.push_back(Sjis("メモ " + std::to_string(i) + " 行目"));
  }

  PrintFileSystem fs_;
  IconvCodePage codePage_;
  FakeInformation information_;
  TKervSettingManager manager_{fs_, kFolder};
  TPrintSource source_;
  std::vector<std::string> lines_;
  std::string dir_;
  std::optional<QString> pdfName_;
  QString suggested_;
};

TEST_F(TFrmPrintTest, ControlsShowTheStoredSettingsAndClosingWritesThemBack) {
  fs_.AddFile(kIni, "[Printer]\r\nFontName=Serif\r\nFontSize=9\r\nFontItalic=1\r\nTopMargin=5\r\nBottomMargin=6\r\n"
                    "LeftMargin=7\r\nRightMargin=8\r\nColumnNum=2\r\nColumnSpace=3\r\nLineNum=1\r\nHeader=H %p\r\n"
                    "HeaderAlign=2\r\nFooter=F\r\nFooterAlign=3\r\nCopies=4\r\nCollate=1\r\n[Other]\r\nKey=kept\r\n");
  auto dialog = Open();
  ASSERT_TRUE(dialog->Loaded());
  EXPECT_FALSE(dialog->Chk_UseEditorFont->isChecked());
  EXPECT_TRUE(dialog->Btn_Font->isEnabled());
  EXPECT_EQ(dialog->Lbl_Font->text(), QString::fromUtf8("フォント名: Serif /サイズ: 9"));
  EXPECT_TRUE(dialog->DialogFont().italic);
  EXPECT_EQ(dialog->Lbl_Printer->text(), QString::fromUtf8("プリンター名：PDF ファイルに出力"));
  EXPECT_EQ(dialog->Edt_TopMargin->value(), 5);
  EXPECT_EQ(dialog->Edt_BottomMargin->value(), 6);
  EXPECT_EQ(dialog->Edt_LeftMargin->value(), 7);
  EXPECT_EQ(dialog->Edt_RightMargin->value(), 8);
  EXPECT_EQ(dialog->Cmb_Column->currentText(), QStringLiteral("3"));
  EXPECT_EQ(dialog->Edt_ColumnSpace->value(), 3);
  EXPECT_TRUE(dialog->Chk_LineNum->isChecked());
  EXPECT_EQ(dialog->Edt_Header->text(), QStringLiteral("H %p"));
  EXPECT_EQ(dialog->Cmb_HeaderAlign->currentText(), QString::fromUtf8("中央に印刷"));
  EXPECT_EQ(dialog->Cmb_FooterAlign->currentText(), QString::fromUtf8("右端に印刷"));
  EXPECT_EQ(dialog->Edt_Copies->value(), 4);
  EXPECT_TRUE(dialog->Chk_Collate->isChecked());

  dialog->Edt_TopMargin->setValue(12);
  dialog->Edt_Footer->setText(QString::fromUtf8("頁 %p"));
  dialog->Cmb_Column->setCurrentIndex(0);
  dialog->Chk_UseEditorFont->setChecked(true);
  QTest::mouseClick(dialog->Btn_Cancel, Qt::LeftButton);  // closing by any way writes
  EXPECT_FALSE(dialog->isVisible());
  TIniFile ini(fs_, kIni);
  EXPECT_EQ(ini.ReadInteger("Printer", "TopMargin", 0), 12);
  EXPECT_EQ(ini.ReadString("Printer", "Footer", ""), Sjis("頁 %p"));
  EXPECT_EQ(ini.ReadInteger("Printer", "ColumnNum", -1), 0);
  EXPECT_TRUE(ini.ReadBool("Printer", "UseEditorFont", false));
  EXPECT_EQ(ini.ReadString("Printer", "FontName", "x"), "");
  EXPECT_EQ(ini.ReadString("Printer", "FontSize", "x"), "0");
  EXPECT_EQ(ini.ReadString("Other", "Key", ""), "kept");
}

TEST_F(TFrmPrintTest, WithoutAFileTheDefaultsAreShownAndTheEditorFontTakesOver) {
  auto dialog = Open();
  ASSERT_TRUE(dialog->Loaded());
  EXPECT_EQ(dialog->Edt_TopMargin->value(), 15);
  EXPECT_EQ(dialog->Edt_LeftMargin->value(), 10);
  EXPECT_EQ(dialog->Edt_BottomMargin->value(), 20);
  EXPECT_EQ(dialog->Edt_RightMargin->value(), 10);
  EXPECT_EQ(dialog->Edt_Header->text(), QStringLiteral("%F %y/%m/%d %t"));
  EXPECT_EQ(dialog->Edt_Footer->text(), QStringLiteral("- %p -"));
  EXPECT_EQ(dialog->Cmb_HeaderAlign->currentText(), QString::fromUtf8("印刷しない"));
  EXPECT_EQ(dialog->Edt_Copies->value(), 1);
  EXPECT_EQ(dialog->Lbl_Font->text(), QString::fromUtf8("フォント名: ＭＳ ゴシック /サイズ: 10"));

  // Another font first, then the editor's again: the button follows the box.
  dialog->AskFont = [](const QFont& initial, QFont& chosen) {
    chosen = initial;
    chosen.setPointSize(14);
    chosen.setBold(true);
    return true;
  };
  QTest::mouseClick(dialog->Btn_Font, Qt::LeftButton);
  EXPECT_EQ(dialog->DialogFont().size, 14);
  EXPECT_TRUE(dialog->DialogFont().bold);
  EXPECT_TRUE(dialog->Lbl_Font->text().endsWith(QStringLiteral("14")));
  dialog->Chk_UseEditorFont->setChecked(true);
  EXPECT_FALSE(dialog->Btn_Font->isEnabled());
  EXPECT_EQ(dialog->DialogFont(), source_.editorFont);
  EXPECT_TRUE(dialog->Lbl_Font->text().endsWith(QStringLiteral("10")));
}

TEST_F(TFrmPrintTest, AnUnreadableSettingsFileClosesTheDialogWithError19001) {
  fs_.AddFile(kIni, "");
  fs_.failReads = true;
  auto dialog = Open();
  EXPECT_FALSE(dialog->Loaded());
  EXPECT_EQ(information_.errors, std::vector<std::string>{"kerv.iniの読み込みに失敗しました。"});
  // Closing a dialog that never read its settings writes nothing over them.
  fs_.failReads = false;
  dialog->reject();
  EXPECT_EQ(fs_.Contents(kIni), "");
}

TEST_F(TFrmPrintTest, TheVariablesMenuAppendsToTheFieldItWasOpenedFor) {
  auto dialog = Open();
  QStringList items;
  for (QAction* action : dialog->PMnu_Special->actions()) items << (action->isSeparator() ? QStringLiteral("-") : action->text());
  EXPECT_EQ(items, QStringList({QString::fromUtf8("%p : ページ番号(&N)"), QStringLiteral("-"),
                                QString::fromUtf8("%y : 年(&Y)"), QString::fromUtf8("%m : 月(&M)"),
                                QString::fromUtf8("%d : 日(&D)  "), QString::fromUtf8("%t : 時刻(&T)"),
                                QStringLiteral("-"), QString::fromUtf8("%F : ファイル名(&F)"),
                                QString::fromUtf8("%f : ファイルフルパス(&U)")}));
  dialog->show();
  dialog->Edt_Footer->setText(QStringLiteral("-"));
  QTest::mouseClick(dialog->Btn_FooterSpecial, Qt::LeftButton);
  EXPECT_TRUE(dialog->PMnu_Special->isVisible());
  // Below the button.
  EXPECT_GE(dialog->PMnu_Special->pos().y(), dialog->Btn_FooterSpecial->mapToGlobal(QPoint(0, 0)).y());
  dialog->PMnu_Special->actions().at(0)->trigger();
  dialog->PMnu_Special->hide();
  EXPECT_EQ(dialog->Edt_Footer->text(), QStringLiteral("- %p"));
  QTest::mouseClick(dialog->Btn_HeaderSpecial, Qt::LeftButton);
  dialog->PMnu_Special->actions().at(8)->trigger();
  dialog->PMnu_Special->hide();
  EXPECT_EQ(dialog->Edt_Header->text(), QStringLiteral("%F %y/%m/%d %t %f"));
  EXPECT_EQ(dialog->Edt_Footer->text(), QStringLiteral("- %p"));
}

TEST_F(TFrmPrintTest, ControlsReachThePrinterAsPrintingUsesThem) {
  auto dialog = Open();
  dialog->Cmb_Column->setCurrentIndex(2);
  dialog->Edt_ColumnSpace->setValue(6);
  dialog->Cmb_HeaderAlign->setCurrentIndex(3);
  dialog->Cmb_FooterAlign->setCurrentIndex(1);
  dialog->Chk_LineNum->setChecked(true);
  dialog->Edt_Copies->setValue(3);
  dialog->CopyToPrinter();
  const TStringsPrinter& printer = dialog->StringsPrinter();
  EXPECT_EQ(printer.ColumnCount(), 3);
  EXPECT_EQ(printer.ColumnSpace(), 6);
  EXPECT_EQ(printer.HeaderAlign(), TStringsPrinterHeaderAlign::haRight);
  EXPECT_EQ(printer.FooterAlign(), TStringsPrinterHeaderAlign::haLeft);
  EXPECT_TRUE(printer.LineNumber());
  EXPECT_EQ(printer.Copies(), 3);
  EXPECT_EQ(printer.MarginTop(), 15);
  EXPECT_EQ(printer.FileName(), Sjis("/home/user/文書/memo.txt"));
  EXPECT_EQ(printer.Header(), "%F %y/%m/%d %t");
  // What the dialog does not show keeps its default.
  EXPECT_EQ(printer.MarginLine(), 0);
  EXPECT_EQ(printer.FirstPageNumber(), 1);
  EXPECT_EQ(printer.RangeOption(), TStringsPrinterRangeOption::roWhole);
}

TEST_F(TFrmPrintTest, PrintingWritesThePdfAndCloses) {
  if (!test::HavePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  Lines(150);
  auto dialog = Open();
  dialog->Chk_LineNum->setChecked(true);
  dialog->Cmb_Column->setCurrentIndex(1);
  dialog->Cmb_HeaderAlign->setCurrentIndex(1);
  dialog->Cmb_FooterAlign->setCurrentIndex(2);
  dialog->Edt_Header->setText(QStringLiteral("%F"));
  const std::string path = dir_ + "printed.pdf";
  pdfName_ = QString::fromStdString(path);
  dialog->show();
  QTest::mouseClick(dialog->Btn_Print, Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_TRUE(information_.errors.empty());
  // The document's folder does not exist here: the home folder instead.
  EXPECT_EQ(suggested_, QDir::homePath() + QStringLiteral("/memo.pdf"));
  const auto pages = test::PdfPages(path);
  ASSERT_TRUE(pages.has_value());
  ASSERT_FALSE(pages->empty());
  const std::string& first = pages->front();
  EXPECT_NE(first.find("memo.txt"), std::string::npos);
  EXPECT_NE(first.find("- 1 -"), std::string::npos);
  EXPECT_NE(first.find("1:メモ 1 行目"), std::string::npos);
  // Two columns side by side: the second one's first line shares a text line with the first column's.
  const size_t lineStart = first.find("1:メモ 1 行目");
  const std::string firstLine = first.substr(lineStart, first.find('\n', lineStart) - lineStart);
  EXPECT_NE(firstLine.find(":メモ", 5), std::string::npos) << firstLine;
  EXPECT_NE(pages->back().find("150:メモ 150 行目"), std::string::npos);
}

TEST_F(TFrmPrintTest, APdfThatCannotBeWrittenIsReportedNotTakenForSuccess) {
  Lines(10);
  auto dialog = Open();
  pdfName_ = QString::fromStdString(dir_ + "missing/folder/out.pdf");
  dialog->show();
  QTest::mouseClick(dialog->Btn_Print, Qt::LeftButton);
  EXPECT_EQ(information_.errors, std::vector<std::string>{PrintMessage(TPrintMessage::PrintStartFailed)});
  EXPECT_FALSE(std::filesystem::exists(dir_ + "missing"));
  EXPECT_FALSE(dialog->isVisible());

  // No file chosen: nothing printed, the dialog stays.
  information_.errors.clear();
  auto again = Open();
  pdfName_.reset();
  again->show();
  QTest::mouseClick(again->Btn_Print, Qt::LeftButton);
  EXPECT_TRUE(again->isVisible());
  EXPECT_TRUE(information_.errors.empty());
}

TEST_F(TFrmPrintTest, SettingsWithoutRoomAreRefusedWithTheirMessage) {
  Lines(10);
  auto dialog = Open();
  dialog->Edt_LeftMargin->setValue(100);
  dialog->Edt_RightMargin->setValue(100);
  dialog->Cmb_Column->setCurrentIndex(2);
  dialog->Edt_ColumnSpace->setValue(100);
  bool shown = false;
  dialog->ShowPreview = [&](TFormStrPreview&) { shown = true; };
  QTest::mouseClick(dialog->Btn_Preview, Qt::LeftButton);
  EXPECT_FALSE(shown);
  EXPECT_EQ(information_.errors, std::vector<std::string>{PrintMessage(TPrintMessage::NoRoomForText)});
  // The same for printing; no file is asked for, and the dialog stays to mend it.
  dialog->show();
  QTest::mouseClick(dialog->Btn_Print, Qt::LeftButton);
  EXPECT_EQ(information_.errors.size(), 2u);
  EXPECT_TRUE(suggested_.isEmpty());
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(TFrmPrintTest, AnEmptyDocumentPreviewsAsPageOneOfOne) {
  auto dialog = Open();
  std::string label;
  std::vector<bool> enabled;
  dialog->ShowPreview = [&](TFormStrPreview& preview) {
    label = preview.Lbl_Page->text().toStdString();
    for (QToolButton* button : {preview.Btn_First, preview.Btn_Prev, preview.Btn_Next, preview.Btn_Last}) {
      enabled.push_back(button->isEnabled());
    }
  };
  QTest::mouseClick(dialog->Btn_Preview, Qt::LeftButton);
  EXPECT_EQ(label, "  1 /   1");
  EXPECT_EQ(enabled, std::vector<bool>(4, false));
  EXPECT_TRUE(dialog->isVisible() || dialog->result() == 0);  // the dialog stays open
}

TEST_F(TFrmPrintTest, ThePreviewShowsItsFirstPageBeforeTheRestIsLaidOut) {
  Lines(20000);
  auto dialog = Open();
  size_t pagesWhenShown = 0;
  std::string firstLabel, lastLabel;
  size_t pageCount = 0;
  QSize actual, fitted;
  dialog->ShowPreview = [&](TFormStrPreview& preview) {
    preview.show();
    firstLabel = preview.Lbl_Page->text().toStdString();
    pagesWhenShown = preview.PageCount();
    actual = preview.PageImage().size();
    // Next lays out the page it needs; Last finishes the layout.
    QTest::mouseClick(preview.Btn_Next, Qt::LeftButton);
    EXPECT_EQ(preview.PageIndex(), 1u);
    QTest::mouseClick(preview.Btn_Last, Qt::LeftButton);
    pageCount = preview.PageCount();
    lastLabel = preview.Lbl_Page->text().toStdString();
    QTest::mouseClick(preview.Btn_FitWidth, Qt::LeftButton);
    fitted = preview.PageImage().size();
    EXPECT_FALSE(preview.Btn_Next->isEnabled());
    preview.close();
  };
  QTest::mouseClick(dialog->Btn_Preview, Qt::LeftButton);
  EXPECT_TRUE(information_.errors.empty());
  // At most the pages of the first idle turns were ready, not the 300-odd of the whole text.
  EXPECT_LT(pagesWhenShown, 50u);
  EXPECT_EQ(firstLabel.substr(0, 6), "  1 / ");
  EXPECT_EQ(firstLabel.back(), '+');
  EXPECT_GT(pageCount, 200u);
  char expected[32];
  std::snprintf(expected, sizeof expected, "%3zu / %3zu", pageCount, pageCount);
  EXPECT_EQ(lastLabel, expected);
  // Actual size is the sheet at the screen's resolution: A4 at 96 dpi.
  EXPECT_NEAR(actual.width(), 794, 2);
  EXPECT_NEAR(actual.height(), 1123, 2);
  EXPECT_NE(fitted, actual);
  EXPECT_NEAR(static_cast<double>(fitted.height()) / fitted.width(), 297.0 / 210.0, 0.01);
}

TEST_F(TFrmPrintTest, PrintingFromThePreviewWritesItsPagesAndClosesBoth) {
  if (!test::HavePdfToText()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  Lines(300);
  auto dialog = Open();
  dialog->Cmb_FooterAlign->setCurrentIndex(2);
  const std::string path = dir_ + "preview.pdf";
  pdfName_ = QString::fromStdString(path);
  size_t previewPages = 0;
  dialog->ShowPreview = [&](TFormStrPreview& preview) {
    EXPECT_TRUE(preview.OnPrint != nullptr);
    QTest::mouseClick(preview.Btn_Print, Qt::LeftButton);
    previewPages = preview.PageCount();
    EXPECT_EQ(preview.result(), QDialog::Accepted);
  };
  dialog->show();
  QTest::mouseClick(dialog->Btn_Preview, Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  const auto pages = test::PdfPages(path);
  ASSERT_TRUE(pages.has_value());
  EXPECT_EQ(pages->size(), previewPages);
  EXPECT_NE(pages->back().find("300 行目"), std::string::npos);
}

// Presses Cancel on the progress window as soon as it lets events through.
void CancelTheProgressWindow(QObject* context) {
  QTimer::singleShot(0, context, [] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* progress = qobject_cast<TFormStrProgress*>(widget); progress && progress->isVisible()) {
        QTest::mouseClick(progress->Btn_Cancel, Qt::LeftButton);
      }
    }
  });
}

TEST_F(TFrmPrintTest, CancelDuringTheLayoutOpensNoPreviewAndPrintsNothing) {
  Lines(200000);
  auto dialog = Open();
  bool shown = false;
  dialog->ShowPreview = [&](TFormStrPreview&) { shown = true; };
  CancelTheProgressWindow(dialog.get());
  QTest::mouseClick(dialog->Btn_Preview, Qt::LeftButton);
  EXPECT_FALSE(shown);

  const std::string path = dir_ + "cancelled.pdf";
  pdfName_ = QString::fromStdString(path);
  CancelTheProgressWindow(dialog.get());
  QTest::mouseClick(dialog->Btn_Print, Qt::LeftButton);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(information_.errors.empty());

  // In the preview, a cancelled finish keeps the pages made so far.
  auto again = Open();
  bool finished = true;
  again->ShowPreview = [&](TFormStrPreview& preview) {
    CancelTheProgressWindow(&preview);
    finished = preview.FinishLayout();
    EXPECT_EQ(preview.Lbl_Page->text().back(), QLatin1Char('+'));
    EXPECT_GE(preview.PageCount(), 1u);
  };
  QTest::mouseClick(again->Btn_Preview, Qt::LeftButton);
  EXPECT_FALSE(finished);
}

TEST(TFormStrProgressTest, TheBarFollowsTheLinesAndCancelIsNoted) {
  TestApplication<QApplication>();
  TFormStrProgress progress(nullptr);
  progress.Show("プレビューを作成中");
  EXPECT_EQ(progress.windowTitle(), QStringLiteral("TStringsPrinter"));
  EXPECT_EQ(progress.Lbl_Text->text(), QString::fromUtf8("プレビューを作成中"));
  EXPECT_EQ(progress.ProgressBar->value(), 0);
  progress.Update("印刷中", 199, 99);
  EXPECT_EQ(progress.ProgressBar->value(), 50);
  EXPECT_EQ(progress.Lbl_Text->text(), QString::fromUtf8("印刷中"));
  progress.Update("印刷中", 0, 0);
  EXPECT_EQ(progress.ProgressBar->value(), 100);
  EXPECT_FALSE(progress.Cancelled());
  QTest::mouseClick(progress.Btn_Cancel, Qt::LeftButton);
  EXPECT_TRUE(progress.Cancelled());
  progress.Close();
  EXPECT_FALSE(progress.isVisible());
}

}  // namespace
}  // namespace kerv
