#pragma once
// The print preview: one page at a time on a white sheet, where the printer
// would put it, at actual size or fitted to the window's width or height;
// a page larger than the window is dragged with the hand. The pages can be
// handed on to the printer from here.
//
// A long text is still being laid out when the window opens: the window
// continues the layout while idle, lays out at once the page asked for, and
// finishes it (with the progress window) before the last page is shown or
// the pages are printed.

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QTimer>
#include <functional>

#include "platform/CodePage.h"
#include "platform/qt/print/QtPageReplay.h"
#include "print/TPreviewGeometry.h"

class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace kerv {

class TPageLayout;

class TFormStrPreview : public QDialog {
  Q_OBJECT

 public:
  // layout is the one filling pages, or null when pages are complete; both
  // must outlive the window.
  TFormStrPreview(TMetaFileList& pages, TPageLayout* layout, const TPrintOffsets& strips, double screenRatio,
                  ICodePage& codePage, QWidget* parent);

  void GoToPage(long long pageIndex);
  void SetZoom(TPreviewZoom zoom);
  // Lays out what is left, with the progress window; false when cancelled.
  bool FinishLayout();

  size_t PageIndex() const { return pageIndex_; }
  TPreviewZoom Zoom() const { return zoom_; }
  const QImage& PageImage() const { return image_; }
  // Pages the window can show now.
  size_t PageCount() const;

  // Runs when the print button is pressed, after the layout was finished;
  // without it the button is hidden.
  std::function<void()> OnPrint;

  QLabel* Lbl_Page;
  QToolButton* Btn_First;
  QToolButton* Btn_Prev;
  QToolButton* Btn_Next;
  QToolButton* Btn_Last;
  QPushButton* Btn_FitHeight;
  QPushButton* Btn_FitWidth;
  QPushButton* Btn_ActualSize;
  QPushButton* Btn_Print;
  QPushButton* Btn_Close;
  QScrollArea* Scb_Page;
  QLabel* Img_Page;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void DrawPage();
  void Centre();
  void RefreshBar();
  void UpdateCursor();
  void ContinueLayout();
  // Lays out until page index pageIndex is complete (as far as the text goes).
  void EnsurePage(size_t pageIndex);

  TMetaFileList& pages_;
  TPageLayout* layout_;
  TPrintOffsets strips_;
  double screenRatio_;
  QtPageReplay replay_;
  size_t pageIndex_ = 0;
  TPreviewZoom zoom_ = TPreviewZoom::ActualSize;
  QImage image_;
  QTimer idle_;
  bool sized_ = false;
  // Panning: where the button went down and the scroll positions then.
  bool panning_ = false;
  QPoint panStart_;
  QPoint scrollStart_;
};

}  // namespace kerv
