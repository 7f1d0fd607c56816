#include "app/image/TFrmImageWindow.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QTimer>

#include "app/commands/TKervInformation.h"
#include "app/image/IVuvEChoosers.h"
#include "image/EImageError.h"
#include "image/ImageMessages.h"
#include "image/TImageFileWriter.h"
#include "image/TImageOutputType.h"
#include "image/qt/TVuvERenderer.h"
#include "platform/qt/QtText.h"

namespace kerv {
namespace {

// The image sits this far from the pane's top-left corner.
constexpr int kImageOffset = 4;
// The image area without an image.
constexpr int kEmptyArea = 10;

QString Text(TImageMessage id) { return Utf8(ImageMessage(id)); }

// The type a save writes: the chosen one, unless the name typed asks
// plainly for another ("x.png" with a BMP type chosen is a PNG file; "x.bmp"
// with PNG chosen a 24-bit BMP).
int SaveTypeFor(const std::string& path, int chosenIndex) {
  const std::optional<TImageEncoding> named = EncodingOfExtension(path);
  if (named == TImageEncoding::Png) return 4;
  if (named == TImageEncoding::Jpeg) return 5;
  if (named == TImageEncoding::Bmp24 && !IsBmpEncoding(ImageOutputType(chosenIndex).encoding)) return kDefaultOutputType;
  return chosenIndex;
}

}  // namespace

// The scrolled area: the window colour, the image at (4, 4).
class TImagePane : public QWidget {
 public:
  TImagePane(QColor backColor, QWidget* parent) : QWidget(parent), backColor_(backColor) {
    setObjectName(QStringLiteral("Pbx_Image"));
    SetImage(QImage());
  }
  void SetImage(QImage image) {
    image_ = std::move(image);
    const QSize area = image_.isNull() ? QSize(kEmptyArea, kEmptyArea) : image_.size();
    resize(area + QSize(2 * kImageOffset, 2 * kImageOffset));
    update();
  }
  const QImage& Image() const { return image_; }
  std::function<void()> OnPainted;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    painter.fillRect(event->rect(), backColor_);
    if (!image_.isNull()) painter.drawImage(QPoint(kImageOffset, kImageOffset), image_);
    if (OnPainted) OnPainted();
  }

 private:
  QColor backColor_;
  QImage image_;
};

TFrm_ImageWindow::TFrm_ImageWindow(IFileSystem& fs, IKervInformation& information, IVuvEChoosers& choosers,
                                   TColor backColor, int jpegQuality)
    : QMainWindow(nullptr), fs_(fs), information_(information), choosers_(choosers), jpegQuality_(jpegQuality) {
  setObjectName(QStringLiteral("TFrm_ImageWindow"));
  setWindowTitle(Text(TImageMessage::ImageWindowCaption));
  // The editor window decides when the program ends; this one only hides.
  setAttribute(Qt::WA_QuitOnClose, false);
  const QColor back = VuvEQColor(backColor);

  Pnl_Scroll = new QScrollArea(this);
  Pnl_Scroll->setObjectName(QStringLiteral("Pnl_Scroll"));
  QPalette palette = Pnl_Scroll->palette();
  palette.setColor(QPalette::Window, back);
  Pnl_Scroll->setPalette(palette);
  Pnl_Scroll->setBackgroundRole(QPalette::Window);
  pane_ = new TImagePane(back, Pnl_Scroll);
  pane_->OnPainted = [this] { ApplyStayOnTop(); };
  Pnl_Scroll->setWidget(pane_);
  Pnl_Scroll->setWidgetResizable(false);
  setCentralWidget(Pnl_Scroll);

  QMenu* file = menuBar()->addMenu(Text(TImageMessage::MenuFile));
  file->setObjectName(QStringLiteral("Mnu_File"));
  Mnu_SaveAs = file->addAction(Text(TImageMessage::MenuSaveAs), this, [this] { SaveAs(); });
  Mnu_SaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  Mnu_Close = file->addAction(Text(TImageMessage::MenuClose), this, [this] { close(); });
  Mnu_Close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
  QMenu* edit = menuBar()->addMenu(Text(TImageMessage::MenuEdit));
  edit->setObjectName(QStringLiteral("Mnu_Edit"));
  Mnu_Clear = edit->addAction(Text(TImageMessage::MenuClear), this, [this] { AskClear(); });
  Mnu_Clear->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
  Mnu_Copy = edit->addAction(Text(TImageMessage::MenuCopy), this, [this] { CopyToClipboard(); });
  Mnu_Copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  resize(480, 360);
  Refresh();
}

TFrm_ImageWindow::~TFrm_ImageWindow() = default;

void TFrm_ImageWindow::SetImage(TRasterImage image) {
  image_ = std::move(image);
  Refresh();
}

void TFrm_ImageWindow::ClearImage() {
  image_ = TRasterImage();
  Refresh();
}

QImage TFrm_ImageWindow::PaneImage() {
  expanded_ = TRasterImage();
  if (image_.IsEmpty()) return {};
  // A reduced image is shown as it now looks, through its palette.
  if (image_.Format() != TPixelFormat::Rgb24) expanded_ = ToRgb24(image_);
  TRasterImage& source = expanded_.IsEmpty() ? image_ : expanded_;
  return QImage(source.Bits(), source.Width(), source.Height(), static_cast<qsizetype>(source.Stride()),
                QImage::Format_RGB888);
}

QImage TFrm_ImageWindow::ShownImage() const {
  // The pane's image borrows the window's pixels; whoever keeps it (the
  // clipboard) gets pixels of its own.
  return pane_->Image().copy();
}

void TFrm_ImageWindow::Refresh() {
  // The pane lets go of the old pixels before they go.
  pane_->SetImage(QImage());
  pane_->SetImage(PaneImage());
  Mnu_SaveAs->setEnabled(HasImage());
  Mnu_Copy->setEnabled(HasImage());
}

void TFrm_ImageWindow::SaveAs() {
  if (!HasImage()) return;
  int index = saveFilterIndex_;
  const std::optional<std::string> path =
      choosers_.SaveFile(ImageMessage(TImageMessage::SaveImageFilter), index, "bmp");
  if (!path) return;
  if (index < 0 || index >= kSaveDialogTypeCount) index = kDefaultOutputType;
  saveFilterIndex_ = index;
  const TImageOutputType& type = ImageOutputType(SaveTypeFor(*path, index));
  try {
    // A BMP type reduces the window's own image: the window then shows
    // what the file holds.
    if (IsBmpEncoding(type.encoding)) {
      image_ = ReduceForEncoding(image_, type.encoding);
      Refresh();
    }
    TImageFileWriter(fs_).Save(*path, image_, type.encoding, jpegQuality_);
  } catch (const EImageError& error) {
    information_.ShowError(error.what());
  }
}

void TFrm_ImageWindow::AskClear() {
  if (information_.MessageBox(ImageMessage(TImageMessage::ClearQuestion), IKervInformation::mkConfirm,
                              IKervInformation::mbYesNoCancel) != IKervInformation::maYes) {
    return;
  }
  ClearImage();
}

void TFrm_ImageWindow::CopyToClipboard() {
  if (!HasImage()) return;
  choosers_.CopyImage(ShownImage());
}

void TFrm_ImageWindow::ApplyStayOnTop() {
  const bool top = StayOnTop && StayOnTop();
  if (top == windowFlags().testFlag(Qt::WindowStaysOnTopHint) || stayOnTopQueued_) return;
  // Changing the flags re-creates the native window: never inside a paint.
  stayOnTopQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    stayOnTopQueued_ = false;
    const bool wanted = StayOnTop && StayOnTop();
    if (wanted == windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, wanted);
    if (visible) show();
  });
}

}  // namespace kerv
