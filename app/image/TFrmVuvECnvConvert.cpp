// The converter's conversions, its settings files and its kerv.ini section.

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QLabel>
#include <QVBoxLayout>
#include <new>

#include "app/commands/TKervInformation.h"
#include "app/image/IVuvEChoosers.h"
#include "app/image/TFrmImageWindow.h"
#include "app/image/TFrmVuvECnv.h"
#include "app/settings/TKervSettingManager.h"
#include "document/TIniFile.h"
#include "editor/TEditor.h"
#include "image/EImageError.h"
#include "image/ImageMessages.h"
#include "image/TImageFileWriter.h"
#include "image/TJpegCodec.h"
#include "image/TVuvESettingsFile.h"
#include "image/qt/TVuvEConverter.h"
#include "platform/FileSystem.h"
#include "platform/qt/QtText.h"
#include "ui/TEditorWidget.h"

namespace kerv {
namespace {

// Windows repaint while a conversion runs; the user's input waits, so no
// second conversion can start and the hidden dialog's text stays as it is.
void LetEventsThrough() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

// The hourglass for the length of a conversion (restored early when the
// order of the closing steps asks for it).
class TBusyCursor {
 public:
  TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { Restore(); }
  void Restore() {
    if (!active_) return;
    active_ = false;
    QApplication::restoreOverrideCursor();
  }

 private:
  bool active_ = true;
};

// The small borderless top-most "変換中..." box, centred on the dialog.
class TConvertingBox {
 public:
  explicit TConvertingBox(const QRect& around) {
    box_.setObjectName(QStringLiteral("Pnl_Converting"));
    box_.setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    box_.setAttribute(Qt::WA_QuitOnClose, false);
    auto* label = new QLabel(Utf8(ImageMessage(TImageMessage::Converting)), &box_);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    auto* layout = new QVBoxLayout(&box_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    box_.resize(160, 48);
    box_.move(around.center() - QPoint(box_.width() / 2, box_.height() / 2));
    box_.show();
    box_.repaint();
    LetEventsThrough();
  }
  ~TConvertingBox() { Close(); }
  void Close() { box_.close(); }

 private:
  QWidget box_;
};

}  // namespace

// ---------------------------------------------------------------- conversions

void TFrm_VuvECnv::Convert() {
  if (Chk_CntCnv->isChecked()) {
    ConvertContinuous();
  } else {
    ConvertSingle();
  }
}

bool TFrm_VuvECnv::BackgroundFound(const TVuvESettings& settings) {
  if (!UsesBackgroundPicture(settings) || services_.fs.FileExists(TrimmedPicturePath(settings))) return true;
  services_.information.ShowError(ImageMessage(TImageMessage::BackgroundNotFound));
  return false;
}

void TFrm_VuvECnv::ConvertSingle() {
  UpdateImageSize();
  const TVuvESettings settings = Settings();
  if (!BackgroundFound(settings)) return;
  const QRect place = frameGeometry();
  hide();
  TBusyCursor busy;
  TConvertingBox box(place);
  const std::string text = settings.AllText ? PaneText() : PaneSelection();
  TFrm_ImageWindow& window = services_.imageWindow();
  window.hide();
  std::string failure;
  try {
    TVuvEConverter converter(services_.fs, services_.codePage, settings, services_.dotsPerInch);
    converter.SetPictureSize(pictureSize_);
    converter.Renderer().LetEventsThrough = &LetEventsThrough;
    window.SetImage(converter.RenderSingle(text));
  } catch (const EImageError& error) {
    failure = error.what();
  } catch (const std::bad_alloc&) {
    failure = FormatImageMessage(TImageMessage::OutOfMemory,
                                 {std::to_string(imageSize_.width), std::to_string(imageSize_.height)});
  }
  // A failed conversion leaves no image behind: nothing to save or copy.
  if (!failure.empty()) window.ClearImage();
  box.Close();
  window.show();
  window.raise();
  if (services_.imageWindowShown) services_.imageWindowShown();
  busy.Restore();
  if (!failure.empty()) services_.information.ShowError(failure);
  accept();
}

void TFrm_VuvECnv::ConvertContinuous() {
  UpdateImageSize();
  const TVuvESettings settings = Settings();
  if (!BackgroundFound(settings)) return;
  const QRect place = frameGeometry();
  hide();
  TBusyCursor busy;
  const std::string text = PaneText();
  try {
    CheckContinuousConversion(settings, text);
  } catch (const EImageError& error) {
    services_.information.ShowError(error.what());
    ShowAgain();
    return;
  }
  if (services_.information.MessageBox(ImageMessage(TImageMessage::ContinuousConfirm) + settings.CntCnv_Foldor,
                                       IKervInformation::mkConfirm,
                                       IKervInformation::mbOkCancel) != IKervInformation::maOk) {
    ShowAgain();
    return;
  }
  TConvertingBox box(place);
  bool failed = false;
  std::string cause;
  try {
    TVuvEConverter converter(services_.fs, services_.codePage, settings, services_.dotsPerInch);
    converter.SetPictureSize(pictureSize_);
    converter.Renderer().LetEventsThrough = &LetEventsThrough;
    TImageFileWriter writer(services_.fs);
    TEventThrottle throttle;
    converter.ConvertEachLine(
        text, writer, [this] { return CurrentJpegQuality(); },
        [&throttle](int, const std::string&) {
          if (throttle.Due()) LetEventsThrough();
        });
  } catch (const EImageError& error) {
    failed = true;
    cause = error.what();
  } catch (const std::bad_alloc&) {
    failed = true;
  }
  if (failed) {
    // The images already written stay; the rest are not made.
    busy.Restore();
    ShowAgain();
    box.Close();
    if (!cause.empty()) services_.information.ShowError(cause);
    services_.information.ShowError(ImageMessage(TImageMessage::ContinuousFailed));
    return;
  }
  box.Close();
  services_.information.MessageBox(ImageMessage(TImageMessage::ContinuousDone), IKervInformation::mkInformation,
                                   IKervInformation::mbOk);
  busy.Restore();
  ShowAgain();
}

// ---------------------------------------------------------------- settings files

void TFrm_VuvECnv::LoadSettingsFile() {
  const std::optional<std::string> path =
      services_.choosers.OpenFile(ImageMessage(TImageMessage::SettingsOpenFilter), std::string());
  if (!path) return;
  TVuvESettings settings = Settings();
  try {
    LoadVuvESettingsFile(services_.fs, *path, settings, &services_.codePage);
  } catch (const EImageError& error) {
    // What was read before the damage stays set; the dialog goes on.
    services_.information.ShowError(error.what());
  }
  ShowSettings(settings);
  LoadBackground(settings.BackImagePath);
  LayoutChanged();
}

void TFrm_VuvECnv::SaveSettingsFile() {
  int filterIndex = 0;
  const std::optional<std::string> path =
      services_.choosers.SaveFile(ImageMessage(TImageMessage::SettingsSaveFilter), filterIndex, "tg2");
  if (!path) return;
  try {
    SaveTg2File(services_.fs, *path, Settings(), services_.resolveColor);
  } catch (const EImageError& error) {
    services_.information.ShowError(error.what());
  }
}

// ---------------------------------------------------------------- kerv.ini

void TFrm_VuvECnv::ReadIniSettings() {
  TVuvESettings settings;
  settings.Font = font_;
  settings.FirstLine = 1;
  settings.LastLine = PaneLineCount();
  try {
    TKervIniAccess access(services_.settings);
    const TIniFile ini(services_.fs, services_.settings.IniFileName());
    settings.ReadIni(ini);
  } catch (const EFileError&) {
    // An unreadable kerv.ini leaves the defaults; closing reports the write.
  }
  if (pane_->Editor().SelLength() > 0) settings.AllText = false;
  ShowSettings(settings);
  LoadBackground(settings.BackImagePath);
  LayoutChanged();
}

void TFrm_VuvECnv::WriteIniSettings() {
  const TVuvESettings settings = Settings();
  try {
    TKervIniAccess access(services_.settings);
    TIniFile ini(services_.fs, services_.settings.IniFileName());
    settings.WriteIni(ini, services_.resolveColor);
    ini.UpdateFile();
  } catch (const EFileError&) {
    services_.information.ShowError(ImageMessage(TImageMessage::IniSaveFailed));
  }
}

int TFrm_VuvECnv::CurrentJpegQuality() {
  try {
    TKervIniAccess access(services_.settings);
    const TIniFile ini(services_.fs, services_.settings.IniFileName());
    return ClampJpegQuality(ini.ReadInteger("Settings", "JPEGQuality", kDefaultJpegQuality));
  } catch (const EFileError&) {
    return kDefaultJpegQuality;
  }
}

int TFrm_VuvECnv::exec() {
  inExec_ = true;
  int result = QDialog::Rejected;
  do {
    showAgain_ = false;
    result = QDialog::exec();
  } while (showAgain_ && !iniWritten_);
  inExec_ = false;
  return result;
}

void TFrm_VuvECnv::ShowAgain() {
  // Hiding a modal dialog ends its run; showing it now would leave it
  // without its modality, so the run starts again instead.
  if (inExec_) {
    showAgain_ = true;
  } else {
    show();
  }
}

void TFrm_VuvECnv::done(int result) {
  if (!iniWritten_) {
    iniWritten_ = true;
    WriteIniSettings();
  }
  QDialog::done(result);
}

}  // namespace kerv
