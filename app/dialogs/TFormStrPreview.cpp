#include "app/dialogs/TFormStrPreview.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "app/dialogs/TFormStrProgress.h"
#include "platform/qt/QtText.h"
#include "print/PrintMessages.h"
#include "print/TPageLayout.h"

namespace kerv {
namespace {

// How long one idle turn of the layout may keep the window from its events.
constexpr int kIdleSliceMs = 20;

QString Text(TPrintMessage id) { return Utf8(PrintMessage(id)); }

}  // namespace

TFormStrPreview::TFormStrPreview(TMetaFileList& pages, TPageLayout* layout, const TPrintOffsets& strips,
                                 double screenRatio, ICodePage& codePage, QWidget* parent)
    : QDialog(parent), pages_(pages), layout_(layout), strips_(strips), screenRatio_(screenRatio), replay_(codePage) {
  setWindowTitle(Text(TPrintMessage::PreviewCaption));
  setSizeGripEnabled(true);
  auto* layoutBox = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  Lbl_Page = new QLabel(this);
  Lbl_Page->setFont(QFont(QStringLiteral("monospace")));
  Lbl_Page->setTextFormat(Qt::PlainText);
  auto tool = [this](QStyle::StandardPixmap icon, const char* name) {
    auto* button = new QToolButton(this);
    button->setIcon(style()->standardIcon(icon));
    button->setObjectName(QString::fromLatin1(name));
    return button;
  };
  Btn_First = tool(QStyle::SP_MediaSkipBackward, "Btn_First");
  Btn_Prev = tool(QStyle::SP_MediaSeekBackward, "Btn_Prev");
  Btn_Next = tool(QStyle::SP_MediaSeekForward, "Btn_Next");
  Btn_Last = tool(QStyle::SP_MediaSkipForward, "Btn_Last");
  Btn_FitHeight = new QPushButton(Text(TPrintMessage::PreviewFitHeight), this);
  Btn_FitWidth = new QPushButton(Text(TPrintMessage::PreviewFitWidth), this);
  Btn_ActualSize = new QPushButton(Text(TPrintMessage::PreviewActualSize), this);
  Btn_Print = new QPushButton(Text(TPrintMessage::PreviewPrint), this);
  Btn_Close = new QPushButton(Text(TPrintMessage::PreviewClose), this);
  for (QPushButton* button : {Btn_FitHeight, Btn_FitWidth, Btn_ActualSize, Btn_Print, Btn_Close}) {
    button->setAutoDefault(false);
  }
  bar->addWidget(Lbl_Page);
  for (QWidget* widget : std::initializer_list<QWidget*>{Btn_First, Btn_Prev, Btn_Next, Btn_Last, Btn_FitHeight,
                                                         Btn_FitWidth, Btn_ActualSize, Btn_Print, Btn_Close}) {
    bar->addWidget(widget);
  }
  bar->addStretch(1);
  layoutBox->addLayout(bar);

  Scb_Page = new QScrollArea(this);
  Scb_Page->setAlignment(Qt::AlignCenter);
  Scb_Page->setBackgroundRole(QPalette::Dark);
  Img_Page = new QLabel;
  Img_Page->setMouseTracking(true);
  Img_Page->installEventFilter(this);
  Scb_Page->setWidget(Img_Page);
  layoutBox->addWidget(Scb_Page, 1);

  connect(Btn_First, &QToolButton::clicked, this, [this] { GoToPage(0); });
  connect(Btn_Prev, &QToolButton::clicked, this, [this] { GoToPage(static_cast<long long>(pageIndex_) - 1); });
  connect(Btn_Next, &QToolButton::clicked, this, [this] { GoToPage(static_cast<long long>(pageIndex_) + 1); });
  connect(Btn_Last, &QToolButton::clicked, this, [this] {
    if (!FinishLayout()) return;
    GoToPage(static_cast<long long>(PageCount()) - 1);
  });
  connect(Btn_FitHeight, &QPushButton::clicked, this, [this] { SetZoom(TPreviewZoom::FitHeight); });
  connect(Btn_FitWidth, &QPushButton::clicked, this, [this] { SetZoom(TPreviewZoom::FitWidth); });
  connect(Btn_ActualSize, &QPushButton::clicked, this, [this] { SetZoom(TPreviewZoom::ActualSize); });
  connect(Btn_Print, &QPushButton::clicked, this, [this] {
    if (OnPrint && FinishLayout()) OnPrint();
  });
  connect(Btn_Close, &QPushButton::clicked, this, &QDialog::accept);

  idle_.setInterval(0);
  connect(&idle_, &QTimer::timeout, this, &TFormStrPreview::ContinueLayout);
  if (layout_ && !layout_->Finished()) idle_.start();
  GoToPage(0);
}

size_t TFormStrPreview::PageCount() const {
  // Without a running layout every page is complete.
  return layout_ ? std::max<size_t>(1, layout_->CompletePages()) : pages_.Count();
}

void TFormStrPreview::EnsurePage(size_t pageIndex) {
  if (layout_ && !layout_->Finished()) layout_->LayOutPages(pageIndex + 1);
}

bool TFormStrPreview::FinishLayout() {
  if (!layout_ || layout_->Finished()) return true;
  TFormStrProgress progress(this);
  const std::string text = PrintMessage(TPrintMessage::ProgressPreviewing);
  progress.Show(text);
  const int64_t total = static_cast<int64_t>(layout_->LineCount()) - 1;
  while (!layout_->Finished()) {
    progress.Update(text, total, static_cast<int64_t>(layout_->LinesDone()));
    if (progress.Cancelled()) break;
    layout_->Step();
  }
  progress.Close();
  RefreshBar();
  return layout_->Finished();
}

void TFormStrPreview::ContinueLayout() {
  if (!layout_ || layout_->Finished()) {
    idle_.stop();
    return;
  }
  QElapsedTimer slice;
  slice.start();
  while (!layout_->Finished() && slice.elapsed() < kIdleSliceMs) {
    for (int line = 0; line < 64 && !layout_->Finished(); ++line) layout_->Step();
  }
  if (layout_->Finished()) idle_.stop();
  RefreshBar();
}

void TFormStrPreview::RefreshBar() {
  const bool more = layout_ && !layout_->Finished();
  const size_t count = PageCount();
  TPreviewPage state = PreviewGoTo(static_cast<long long>(pageIndex_), count);
  QString label = QString::fromStdString(state.label);
  // While pages are still being laid out the count can only grow.
  if (more) label += Text(TPrintMessage::PreviewMore);
  Lbl_Page->setText(label);
  Btn_First->setEnabled(state.firstEnabled);
  Btn_Prev->setEnabled(state.previousEnabled);
  Btn_Next->setEnabled(state.nextEnabled || more);
  Btn_Last->setEnabled(state.lastEnabled || more);
  Btn_Print->setVisible(static_cast<bool>(OnPrint));
}

void TFormStrPreview::GoToPage(long long pageIndex) {
  EnsurePage(static_cast<size_t>(std::max(0LL, pageIndex)));
  pageIndex_ = PreviewGoTo(pageIndex, PageCount()).pageIndex;
  RefreshBar();
  DrawPage();
}

void TFormStrPreview::SetZoom(TPreviewZoom zoom) {
  zoom_ = zoom;
  DrawPage();
}

void TFormStrPreview::DrawPage() {
  if (pageIndex_ >= pages_.Count()) return;
  const TPagePicture& page = pages_.Items(pageIndex_);
  const TPreviewSize sheet = PreviewSheetSize(page, strips_);
  const int frame = 2 * Scb_Page->frameWidth();
  const TPreviewSize box{Scb_Page->width() - frame, Scb_Page->height() - frame};
  const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  TPreviewSize size = PreviewImageSize(zoom_, sheet, screenRatio_, box, scrollBar, scrollBar);
  // An image is at most what a window could ever show, however the zoom came out.
  size.width = std::clamp<int64_t>(size.width, 1, 8192);
  size.height = std::clamp<int64_t>(size.height, 1, 8192);
  image_ = QImage(static_cast<int>(size.width), static_cast<int>(size.height), QImage::Format_RGB32);
  image_.fill(Qt::white);
  {
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const TPrintRect target = PreviewPictureRect(size, page, strips_);
    replay_.Draw(painter, page,
                 QRectF(static_cast<double>(target.left), static_cast<double>(target.top),
                        static_cast<double>(target.Width()), static_cast<double>(target.Height())));
  }
  Img_Page->setPixmap(QPixmap::fromImage(image_));
  Img_Page->resize(image_.size());
  Centre();
}

void TFormStrPreview::Centre() {
  // The scroll area centres an image smaller than itself; a larger one
  // starts at its top left.
  Scb_Page->horizontalScrollBar()->setValue(0);
  Scb_Page->verticalScrollBar()->setValue(0);
  UpdateCursor();
}

void TFormStrPreview::UpdateCursor() {
  const QSize view = Scb_Page->viewport()->size();
  const bool larger = image_.width() > view.width() || image_.height() > view.height();
  if (larger) {
    Img_Page->setCursor(panning_ ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
  } else {
    Img_Page->unsetCursor();
  }
}

void TFormStrPreview::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  RefreshBar();
  if (sized_) return;
  sized_ = true;
  const QScreen* screen = this->screen();
  const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  // Wide enough for the page at actual size beside a vertical scroll bar:
  // the window's own margins and the box's frame come on top.
  const QMargins margins = layout()->contentsMargins();
  const int chrome = margins.left() + margins.right() + 2 * Scb_Page->frameWidth();
  const int width = std::min(available.width(), image_.width() + scrollBar + chrome);
  const int height = (available.height() / 6) * 5;
  resize(std::max(width, minimumSizeHint().width()), height);
  move(available.center() - rect().center());
  // The first page was drawn before the window had its size.
  if (zoom_ != TPreviewZoom::ActualSize) DrawPage();
  Centre();
}

bool TFormStrPreview::eventFilter(QObject* watched, QEvent* event) {
  if (watched != Img_Page) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton || Img_Page->cursor().shape() != Qt::OpenHandCursor) break;
      panning_ = true;
      panStart_ = mouse->globalPosition().toPoint();
      scrollStart_ = QPoint(Scb_Page->horizontalScrollBar()->value(), Scb_Page->verticalScrollBar()->value());
      UpdateCursor();
      return true;
    }
    case QEvent::MouseMove: {
      if (!panning_) {
        UpdateCursor();
        break;
      }
      const QPoint moved = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - panStart_;
      Scb_Page->horizontalScrollBar()->setValue(scrollStart_.x() - moved.x());
      Scb_Page->verticalScrollBar()->setValue(scrollStart_.y() - moved.y());
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (!panning_) break;
      panning_ = false;
      UpdateCursor();
      return true;
    default: break;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kerv
