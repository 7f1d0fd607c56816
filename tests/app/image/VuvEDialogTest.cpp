// The converter dialog and the image window offscreen, over fakes: the
// kerv.ini state, the settings files (damaged ones included), both
// conversions and the image window's save, clear and copy.

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>
#include <deque>
#include <memory>

#include "app/commands/TKervInformation.h"
#include "app/image/IVuvEChoosers.h"
#include "app/image/TFrmImageWindow.h"
#include "app/image/TFrmVuvECnv.h"
#include "app/image/TVuvEPreview.h"
#include "app/settings/TKervSettingManager.h"
#include "document/TIniFile.h"
#include "editmode/TEditorProp.h"
#include "editor/TEditor.h"
#include "image/ImageMessages.h"
#include "image/TVuvESettingsFile.h"
#include "image/qt/TVuvERenderer.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"
#include "ui/TEditorWidget.h"
#include "tests/QtTestApplication.h"

namespace kerv {
namespace {

constexpr const char* kSettingFolder = "/home/user/.config/kerv";
constexpr const char* kIni = "/home/user/.config/kerv/kerv.ini";

class FakeInformation : public IKervInformation {
 public:
  std::vector<std::string> boxes;
  std::deque<Answer> answers;
  Answer MessageBox(const std::string& text, int, int buttons) override {
    boxes.push_back(text);
    if (!answers.empty()) {
      Answer answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return buttons == mbYesNo || buttons == mbYesNoCancel ? maYes : maOk;
  }
  void Notify(const std::string&, int) override {}
};

class FakeChoosers : public IVuvEChoosers {
 public:
  std::deque<std::string> files;  // answers of OpenFile and SaveFile, in turn
  int saveIndex = -1;             // the type chosen in a save dialog (-1: the one shown)
  std::vector<std::string> filters;
  std::optional<std::string> folder;
  std::optional<TColor> color;
  std::optional<TVuvEFont> font;
  std::vector<QImage> copied;

  std::optional<std::string> OpenFile(const std::string& filter, const std::string&) override {
    filters.push_back(filter);
    return Next();
  }
  std::optional<std::string> SaveFile(const std::string& filter, int& filterIndex, const std::string&) override {
    filters.push_back(filter);
    if (saveIndex >= 0) filterIndex = saveIndex;
    return Next();
  }
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override { return folder; }
  std::optional<TColor> ChooseColor(TColor) override { return color; }
  std::optional<TVuvEFont> ChooseFont(const TVuvEFont&) override { return font; }
  void CopyImage(const QImage& image) override { copied.push_back(image); }

 private:
  std::optional<std::string> Next() {
    if (files.empty()) return std::nullopt;
    std::string file = files.front();
    files.pop_front();
    return file;
  }
};

std::string Message(TImageMessage id) { return ImageMessage(id); }

class VuvEDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { TestApplication<QApplication>(); }
  VuvEDialogTest() {
    for (const char* folder : {"/home", "/home/user", "/home/user/.config", kSettingFolder, "/out", "/pics"}) {
      if (!fs.FolderExists(folder)) fs.AddFolder(folder);
    }
    main.Editor().Font().SetName("DejaVu Sans");
    main.Editor().Font().SetSize(12);
    SetText("first line\r\nsecond\r\n\r\nfourth line\r\nfifth\r\nsixth");
  }

  void SetText(const std::string& text) { main.Editor().Lines().LoadText(std::string(text)); }

  std::unique_ptr<TFrm_VuvECnv> Open() {
    TEditorPropEx properties;
    properties.Assign(main.Editor());
    return std::make_unique<TFrm_VuvECnv>(services, main.Editor(), properties);
  }
  // A PNG of width × height in the fake file system.
  std::string AddPicture(const std::string& path, int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::green);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    fs.AddFile(path, bytes.toStdString());
    return path;
  }
  QImage Decoded(const std::string& path) { return QImage::fromData(QByteArray::fromStdString(fs.Contents(path))); }
  bool Shown(TImageMessage id) const {
    for (const std::string& box : information.boxes) {
      if (box.rfind(Message(id), 0) == 0) return true;
    }
    return false;
  }

  FakeFileSystem fs;
  IconvCodePage codePage;
  FakeInformation information;
  FakeChoosers choosers;
  TKervSettingManager settings{fs, kSettingFolder};
  TEditorWidget main{codePage};
  std::unique_ptr<TFrm_ImageWindow> window;
  int windowShown = 0;
  TVuvEServices services{fs,
                         codePage,
                         information,
                         settings,
                         choosers,
                         &VuvEPlainColor,
                         96,
                         {},
                         [this]() -> TFrm_ImageWindow& {
                           if (!window)
                             window = std::make_unique<TFrm_ImageWindow>(fs, information, choosers, 0x808080, 50);
                           return *window;
                         },
                         [this] { ++windowShown; }};
};

TEST_F(VuvEDialogTest, KervIniStateComesInAtOpeningAndGoesBackInOrderAtClosing) {
  fs.AddFile(kIni,
             "[VuvEConverter]\r\nSizeSetType=0\r\nSizeX=120\r\nSizeY=80\r\nLeftMargin=3\r\nTextAlign=2\r\n"
             "BackColor=255\r\nCntCnv_FileName=abc\r\nCntCnv_FileType=5\r\n[Settings]\r\nJPEGQuality=70\r\n");
  auto dialog = Open();
  EXPECT_TRUE(dialog->RB_SizeGiven->isChecked());
  EXPECT_EQ(dialog->Edt_SizeX->value(), 120);
  EXPECT_EQ(dialog->ImageSize(), (TImageSize{120, 80}));
  EXPECT_TRUE(dialog->Edt_SizeX->isEnabled());
  EXPECT_EQ(dialog->Edt_LeftMargin->value(), 3);
  EXPECT_TRUE(dialog->RB_AlignRight->isChecked());
  EXPECT_EQ(dialog->Settings().BackColor, 255u);
  EXPECT_EQ(dialog->Edt_FileName->text(), QStringLiteral("abc"));
  EXPECT_EQ(dialog->Cmb_FileType->currentIndex(), 5);
  // No selection in the document: the whole text.
  EXPECT_TRUE(dialog->RB_AllText->isChecked());

  dialog->Edt_TopMargin->setValue(7);
  dialog->Chk_FillMargin->setChecked(true);
  dialog->Cmb_FileType->setCurrentIndex(4);
  dialog->Edt_Folder->setText(QStringLiteral("/out"));
  const TVuvESettings chosen = dialog->Settings();
  dialog->reject();

  TIniFile ini(fs, kIni);
  EXPECT_EQ(ini.ReadSection("VuvEConverter"),
            (std::vector<std::string>{
                "SizeSetType",     "SizeX",           "SizeY",      "LeftMargin",   "TextAlign",     "BackColor",
                "CntCnv_FileName", "CntCnv_FileType", "ExpMargin",  "TextVAlign",   "TopMargin",     "BottomMargin",
                "RightMargin",     "FillMargin",      "FillColor",  "UseBackImage", "BackImagePath", "TileBackImage",
                "CntCnv",          "CntCnv_Foldor",   "ShowLineNum"}));
  EXPECT_EQ(ini.ReadInteger("VuvEConverter", "TopMargin", 0), 7);
  EXPECT_EQ(ini.ReadInteger("VuvEConverter", "CntCnv_FileType", 0), 4);
  EXPECT_EQ(ini.ReadString("Settings", "JPEGQuality", ""), "70");

  auto again = Open();
  TVuvESettings reread = again->Settings();
  EXPECT_EQ(reread, chosen);
  // Closing twice (done after accept) writes once; a write that fails is told and the dialog still closes.
  fs.FailWritesTo(kIni);
  again->accept();
  EXPECT_TRUE(Shown(TImageMessage::IniSaveFailed));
  EXPECT_EQ(again->result(), QDialog::Accepted);
}

TEST_F(VuvEDialogTest, ASelectionIsWhatIsConvertedAndMeasured) {
  main.Editor().SetSelStart(12);  // "second"
  main.Editor().SetSelLength(6);
  auto dialog = Open();
  EXPECT_TRUE(dialog->RB_Selection->isChecked());
  const QFontMetrics metrics(VuvEQFont(QStringLiteral("DejaVu Sans"), dialog->Settings().Font, 96));
  EXPECT_EQ(dialog->ImageSize(), (TImageSize{metrics.horizontalAdvance(QStringLiteral("second")), metrics.height()}));
  EXPECT_EQ(dialog->Preview().Text(), QStringLiteral("second"));
  dialog->RB_AllText->setChecked(true);
  EXPECT_EQ(dialog->ImageSize().height, 6 * metrics.height());
  EXPECT_FALSE(dialog->Preview().SingleLine());
}

TEST_F(VuvEDialogTest, LineFieldsFollowEachOtherAndThePaneLines) {
  SetText("a\r\nb\r\nc");
  auto dialog = Open();
  EXPECT_EQ(dialog->Edt_LastLine->maximum(), 3);
  EXPECT_EQ(dialog->Edt_LastLine->value(), 3);
  dialog->Edt_FirstLine->setValue(2);
  EXPECT_EQ(dialog->Edt_LastLine->minimum(), 2);
  dialog->Edt_LastLine->setValue(2);
  EXPECT_EQ(dialog->Edt_FirstLine->maximum(), 2);
}

TEST_F(VuvEDialogTest, ControlsAreEnabledByTheirSwitches) {
  auto dialog = Open();
  dialog->Chk_UseBackImage->setChecked(false);
  for (QWidget* w : std::initializer_list<QWidget*>{dialog->Edt_BackImagePath, dialog->Btn_BrowseBackImage,
                                                    dialog->Chk_TileBackImage, dialog->RB_SizeFitPicture}) {
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  }
  dialog->Chk_UseBackImage->setChecked(true);
  EXPECT_TRUE(dialog->RB_SizeFitPicture->isEnabled());
  dialog->Chk_CntCnv->setChecked(false);
  EXPECT_FALSE(dialog->Edt_FileName->isEnabled());
  EXPECT_FALSE(dialog->Cmb_FileType->isEnabled());
  dialog->Chk_CntCnv->setChecked(true);
  EXPECT_TRUE(dialog->Edt_Folder->isEnabled());
  EXPECT_TRUE(dialog->Edt_FirstLine->isEnabled());
  dialog->RB_SizeFitText->setChecked(true);
  EXPECT_FALSE(dialog->Edt_SizeX->isEnabled());
}

TEST_F(VuvEDialogTest, APictureFitsTheImageWithItsMargins) {
  auto dialog = Open();
  choosers.files = {AddPicture("/pics/bg.png", 640, 480)};
  dialog->Chk_UseBackImage->setChecked(true);
  dialog->BrowseBackground();
  EXPECT_EQ(dialog->PictureSize(), (TImageSize{640, 480}));
  EXPECT_EQ(dialog->Edt_BackImagePath->text(), QStringLiteral("/pics/bg.png"));
  EXPECT_FALSE(dialog->Pbx_Thumbnail->pixmap().isNull());
  dialog->RB_SizeFitPicture->setChecked(true);
  dialog->Edt_LeftMargin->setValue(10);
  dialog->Edt_TopMargin->setValue(20);
  dialog->Edt_RightMargin->setValue(30);
  dialog->Edt_BottomMargin->setValue(40);
  dialog->Chk_ExpMargin->setChecked(true);
  EXPECT_EQ(dialog->ImageSize(), (TImageSize{680, 540}));
  EXPECT_EQ(dialog->Edt_SizeX->value(), 680);
  EXPECT_EQ(dialog->Edt_SizeY->value(), 540);
  // A path to nothing changes nothing.
  dialog->LoadBackground("/pics/none.png");
  EXPECT_EQ(dialog->PictureSize(), (TImageSize{640, 480}));
}

TEST_F(VuvEDialogTest, DamagedSettingsFilesAreToldAndTheDialogGoesOn) {
  auto dialog = Open();
  dialog->Edt_LeftMargin->setValue(9);
  const TVuvESettings before = dialog->Settings();

  // Too short: nothing is set.
  fs.AddFile("/home/user/short.tgs", std::string(100, '\0'));
  choosers.files = {"/home/user/short.tgs"};
  dialog->LoadSettingsFile();
  EXPECT_EQ(information.boxes.back(), FormatImageMessage(TImageMessage::TgsTooShort, {"100"}));
  EXPECT_EQ(dialog->Settings(), before);

  // A margin out of range: the fields before it stay set.
  std::string record(kTgsRecordBytes, '\0');
  record[272] = 5;                        // left margin
  record[276] = static_cast<char>(0x88);  // right margin 5000
  record[277] = 0x13;
  fs.AddFile("/home/user/bad.tgs", record);
  choosers.files = {"/home/user/bad.tgs"};
  dialog->LoadSettingsFile();
  EXPECT_EQ(information.boxes.back(), Message(TImageMessage::ReadFailed));
  EXPECT_EQ(dialog->Edt_LeftMargin->value(), 5);

  // A .tg2 that is no settings file.
  fs.AddFile("/home/user/bad.tg2", "\x01\x02garbage\r\n[Other]\r\nx=1\r\n");
  choosers.files = {"/home/user/bad.tg2"};
  dialog->LoadSettingsFile();
  EXPECT_EQ(information.boxes.back(), Message(TImageMessage::ReadFailed));

  // A file that cannot be read at all.
  choosers.files = {"/home/user/missing.tg2"};
  dialog->LoadSettingsFile();
  EXPECT_TRUE(Shown(TImageMessage::ReadFailed));

  // The dialog still converts.
  information.boxes.clear();
  dialog->Convert();
  ASSERT_TRUE(window);
  EXPECT_TRUE(window->HasImage());
  EXPECT_TRUE(information.boxes.empty());
}

TEST_F(VuvEDialogTest, SettingsFilesRoundTripAndCapitalTgsIsAnIniFile) {
  auto dialog = Open();
  dialog->RB_AlignCenter->setChecked(true);
  dialog->Chk_VAlign->setChecked(true);
  dialog->Edt_RightMargin->setValue(12);
  dialog->Edt_FileName->setText(QStringLiteral("pic"));
  choosers.color = 0x123456;
  dialog->Btn_BackColor->click();
  EXPECT_EQ(dialog->Settings().BackColor, 0x123456u);
  choosers.files = {"/home/user/saved.tg2"};
  dialog->SaveSettingsFile();
  ASSERT_TRUE(fs.FileExists("/home/user/saved.tg2"));
  fs.AddFile("/home/user/SAVED.TGS", fs.Contents("/home/user/saved.tg2"));

  dialog->RB_AlignLeft->setChecked(true);
  dialog->Chk_VAlign->setChecked(false);
  dialog->Edt_RightMargin->setValue(0);
  dialog->Edt_FileName->setText(QString());
  choosers.files = {"/home/user/SAVED.TGS"};
  dialog->LoadSettingsFile();
  EXPECT_TRUE(information.boxes.empty());
  EXPECT_TRUE(dialog->RB_AlignCenter->isChecked());
  EXPECT_TRUE(dialog->Chk_VAlign->isChecked());
  EXPECT_EQ(dialog->Edt_RightMargin->value(), 12);
  EXPECT_EQ(dialog->Edt_FileName->text(), QStringLiteral("pic"));
  EXPECT_EQ(dialog->Settings().BackColor, 0x123456u);
}

TEST_F(VuvEDialogTest, SingleConversionFillsTheImageWindowAndClosesTheDialog) {
  auto dialog = Open();
  dialog->Edt_LeftMargin->setValue(4);
  dialog->Chk_ExpMargin->setChecked(true);
  const TImageSize size = dialog->ImageSize();
  dialog->Convert();
  ASSERT_TRUE(window);
  EXPECT_EQ(TImageSize(window->Image().Width(), window->Image().Height()), size);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->Mnu_SaveAs->isEnabled());
  EXPECT_EQ(windowShown, 1);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(TIniFile(fs, kIni).ReadInteger("VuvEConverter", "LeftMargin", 0), 4);
  window->close();
}

TEST_F(VuvEDialogTest, SingleConversionStopsOrReportsWhatWentWrong) {
  auto dialog = Open();
  dialog->Chk_UseBackImage->setChecked(true);
  dialog->Edt_BackImagePath->setText(QStringLiteral("/pics/none.png"));
  dialog->Convert();
  EXPECT_EQ(information.boxes, (std::vector<std::string>{Message(TImageMessage::BackgroundNotFound)}));
  EXPECT_FALSE(window);
  EXPECT_NE(dialog->result(), QDialog::Accepted);

  // An empty text fitted to nothing: the error is told and no image is left to save.
  information.boxes.clear();
  dialog->Chk_UseBackImage->setChecked(false);
  dialog->Pane().Editor().Lines().SetTextStr("\r\n \r\n");
  dialog->Convert();
  ASSERT_TRUE(window);
  EXPECT_FALSE(window->HasImage());
  EXPECT_FALSE(window->Mnu_SaveAs->isEnabled());
  ASSERT_EQ(information.boxes.size(), 1u);
  EXPECT_EQ(information.boxes[0], FormatImageMessage(TImageMessage::EmptyImage, {"0", "0"}));
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(VuvEDialogTest, ContinuousConversionWritesOneFilePerNonEmptyLine) {
  auto dialog = Open();
  dialog->Chk_CntCnv->setChecked(true);
  dialog->Edt_FirstLine->setValue(2);
  dialog->Edt_LastLine->setValue(5);
  dialog->Edt_FileName->setText(QStringLiteral("img"));
  dialog->Cmb_FileType->setCurrentIndex(4);

  // No folder, then a cancelled question: nothing written, the dialog stays.
  dialog->Convert();
  EXPECT_EQ(information.boxes.back(), Message(TImageMessage::NoOutputFolder));
  dialog->Edt_Folder->setText(QStringLiteral("/out"));
  information.answers = {IKervInformation::maCancel};
  dialog->Convert();
  EXPECT_EQ(information.boxes.back(), Message(TImageMessage::ContinuousConfirm) + "/out");
  EXPECT_TRUE(fs.ListFiles("/out", "*").empty());

  information.boxes.clear();
  dialog->Convert();
  EXPECT_EQ(information.boxes, (std::vector<std::string>{Message(TImageMessage::ContinuousConfirm) + "/out",
                                                         Message(TImageMessage::ContinuousDone)}));
  for (const char* path : {"/out/img000.png", "/out/img001.png", "/out/img002.png"}) {
    EXPECT_FALSE(Decoded(path).isNull()) << path;
  }
  EXPECT_FALSE(fs.FileExists("/out/img003.png"));
  EXPECT_NE(dialog->result(), QDialog::Accepted);

  // A stem that would be a format directive is refused before anything is written.
  dialog->Edt_FileName->setText(QStringLiteral("x%n"));
  information.boxes.clear();
  dialog->Convert();
  ASSERT_EQ(information.boxes.size(), 1u);
  EXPECT_EQ(information.boxes[0], FormatImageMessage(TImageMessage::StemDirective, {"%n"}));
  EXPECT_FALSE(fs.FileExists("/out/x000.png"));

  // A failed write: both errors, the first file stays.
  dialog->Edt_FileName->setText(QStringLiteral("w"));
  fs.FailWritesTo("/out/w001.png");
  information.boxes.clear();
  dialog->Convert();
  ASSERT_EQ(information.boxes.size(), 3u);
  EXPECT_EQ(information.boxes[1].rfind(Message(TImageMessage::SaveFailed), 0), 0u);
  EXPECT_EQ(information.boxes[2], Message(TImageMessage::ContinuousFailed));
  EXPECT_TRUE(fs.FileExists("/out/w000.png"));
}

TEST_F(VuvEDialogTest, AContinuousConversionHidesTheModalDialogAndShowsItAgain) {
  auto dialog = Open();
  dialog->Chk_CntCnv->setChecked(true);
  dialog->Edt_Folder->setText(QStringLiteral("/out"));
  bool visibleAgain = false;
  bool modalAgain = false;
  QTimer::singleShot(0, dialog.get(), [&] {
    dialog->Convert();
    // Runs once the dialog is back.
    QTimer::singleShot(0, dialog.get(), [&] {
      visibleAgain = dialog->isVisible();
      modalAgain = dialog->isModal() || dialog->testAttribute(Qt::WA_ShowModal);
      dialog->reject();
    });
  });
  EXPECT_EQ(dialog->exec(), QDialog::Rejected);
  EXPECT_TRUE(visibleAgain);
  EXPECT_TRUE(modalAgain);
  EXPECT_TRUE(fs.FileExists("/out/000.bmp"));
  EXPECT_EQ(TIniFile(fs, kIni).ReadString("VuvEConverter", "CntCnv_Foldor", ""), "/out");
}

class ImageWindowTest : public VuvEDialogTest {
 protected:
  TFrm_ImageWindow& Window() {
    if (!window) window = std::make_unique<TFrm_ImageWindow>(fs, information, choosers, 0x808080, 50);
    return *window;
  }
  // Black text-like strokes with grey edges on white, 30 × 20.
  static TRasterImage Picture() {
    TRasterImage image(30, 20, TPixelFormat::Rgb24);
    image.Fill(TRgb{255, 255, 255});
    image.FillRect(5, 5, 25, 8, TRgb{0, 0, 0});
    image.FillRect(5, 8, 25, 10, TRgb{200, 200, 200});
    image.FillRect(0, 15, 30, 20, TRgb{255, 0, 0});
    return image;
  }
};

TEST_F(ImageWindowTest, SavingAsABmpTypeReducesTheWindowsOwnImage) {
  TFrm_ImageWindow& w = Window();
  EXPECT_FALSE(w.Mnu_SaveAs->isEnabled());
  EXPECT_FALSE(w.Mnu_Copy->isEnabled());
  w.SetImage(Picture());
  ASSERT_TRUE(w.Mnu_SaveAs->isEnabled());

  choosers.files = {"/out/page.png"};
  choosers.saveIndex = 4;
  w.SaveAs();
  EXPECT_EQ(Decoded("/out/page.png").size(), QSize(30, 20));
  EXPECT_EQ(w.Image().Format(), TPixelFormat::Rgb24);
  EXPECT_EQ(choosers.filters.back(), Message(TImageMessage::SaveImageFilter));

  choosers.files = {"/out/page.jpg"};
  choosers.saveIndex = 5;
  w.SaveAs();
  EXPECT_FALSE(Decoded("/out/page.jpg").isNull());

  choosers.files = {"/out/mono.bmp"};
  choosers.saveIndex = 3;
  w.SaveAs();
  EXPECT_EQ(w.Image().Format(), TPixelFormat::Indexed1);
  const QImage mono = Decoded("/out/mono.bmp");
  ASSERT_FALSE(mono.isNull());
  EXPECT_EQ(mono.depth(), 1);
  // The window shows what the file holds: only black and white.
  const QImage shown = w.ShownImage();
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      const QRgb p = shown.pixel(x, y);
      ASSERT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255)) << x << "," << y;
    }
  }

  // A name asking plainly for PNG is a PNG whatever type is shown.
  choosers.files = {"/out/typed.png"};
  choosers.saveIndex = 0;
  w.SaveAs();
  EXPECT_EQ(fs.Contents("/out/typed.png").substr(1, 3), "PNG");

  // A write that fails is told.
  fs.FailWritesTo("/out/fail.bmp");
  choosers.files = {"/out/fail.bmp"};
  choosers.saveIndex = 2;
  w.SaveAs();
  EXPECT_TRUE(Shown(TImageMessage::SaveFailed));
}

TEST_F(ImageWindowTest, EachBmpDepthIsWhatAViewerOpens) {
  struct Case {
    int index;
    int depth;
  } cases[] = {{0, 4}, {1, 8}, {2, 24}, {3, 1}};
  for (const Case& c : cases) {
    TFrm_ImageWindow& w = Window();
    w.SetImage(Picture());
    const std::string path = "/out/depth" + std::to_string(c.depth) + ".bmp";
    choosers.files = {path};
    choosers.saveIndex = c.index;
    w.SaveAs();
    const std::string bytes = fs.Contents(path);
    ASSERT_GE(bytes.size(), 30u) << path;
    EXPECT_EQ(static_cast<uint8_t>(bytes[28]), c.depth) << path;
    const QImage image = Decoded(path);
    ASSERT_FALSE(image.isNull()) << path;
    // Red is dark: monochrome makes it black.
    EXPECT_EQ(image.pixelColor(2, 17), c.depth == 1 ? QColor(0, 0, 0) : QColor(255, 0, 0)) << path;
  }
}

TEST_F(ImageWindowTest, ClearAsksAndCopyPutsTheImageOnTheClipboard) {
  TFrm_ImageWindow& w = Window();
  w.SetImage(Picture());
  w.CopyToClipboard();
  ASSERT_EQ(choosers.copied.size(), 1u);
  EXPECT_EQ(choosers.copied[0].size(), QSize(30, 20));
  EXPECT_EQ(choosers.copied[0].pixelColor(0, 19), QColor(255, 0, 0));

  information.answers = {IKervInformation::maNo};
  w.AskClear();
  EXPECT_EQ(information.boxes.back(), Message(TImageMessage::ClearQuestion));
  EXPECT_TRUE(w.HasImage());
  information.answers = {IKervInformation::maCancel};
  w.AskClear();
  EXPECT_TRUE(w.HasImage());
  w.AskClear();
  EXPECT_FALSE(w.HasImage());
  EXPECT_FALSE(w.Mnu_SaveAs->isEnabled());
  EXPECT_FALSE(w.Mnu_Copy->isEnabled());
  EXPECT_EQ(w.Pnl_Scroll->widget()->size(), QSize(18, 18));
}

TEST_F(ImageWindowTest, StaysOnTopWhileTheEditorWindowDoes) {
  TFrm_ImageWindow& w = Window();
  bool top = true;
  w.StayOnTop = [&] { return top; };
  w.SetImage(Picture());
  w.show();
  w.ApplyStayOnTop();
  QApplication::processEvents();
  EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  top = false;
  w.ApplyStayOnTop();
  QApplication::processEvents();
  EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(w.testAttribute(Qt::WA_QuitOnClose));
  EXPECT_EQ(w.parentWidget(), nullptr);
  w.close();
  EXPECT_FALSE(w.isVisible());
}

}  // namespace
}  // namespace kerv
