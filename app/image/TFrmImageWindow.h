#pragma once
// The image window: the last single conversion's image in a scrolling pane,
// saved in the six output types, cleared, or copied to the clipboard. A
// top-level window of its own (its own task-bar entry), one per editor
// window; closing hides it.

#include <QMainWindow>
#include <functional>

#include "image/TRasterImage.h"

class QAction;
class QScrollArea;

namespace kerv {

class IFileSystem;
class IKervInformation;
class IVuvEChoosers;
class TImagePane;

class TFrm_ImageWindow : public QMainWindow {
  Q_OBJECT

 public:
  // backColor is the pane's colour (ImgWinColor); jpegQuality is used for
  // every JPEG this window writes.
  TFrm_ImageWindow(IFileSystem& fs, IKervInformation& information, IVuvEChoosers& choosers, TColor backColor,
                   int jpegQuality);
  ~TFrm_ImageWindow() override;

  // The window shows image; saving and copying become possible.
  void SetImage(TRasterImage image);
  // No image: the area shrinks to 10 × 10 pixels; saving and copying are off.
  void ClearImage();
  bool HasImage() const { return !image_.IsEmpty(); }
  const TRasterImage& Image() const { return image_; }
  int JpegQuality() const { return jpegQuality_; }
  // The image as the window shows it, 24 bits, a copy of its own.
  QImage ShownImage() const;

  // The menus' commands.
  void SaveAs();
  void AskClear();
  void CopyToClipboard();

  // Whether the main window stays on top: the image window then makes
  // itself top-most whenever it is painted.
  std::function<bool()> StayOnTop;
  void ApplyStayOnTop();

  QAction *Mnu_SaveAs, *Mnu_Close, *Mnu_Clear, *Mnu_Copy;
  QScrollArea* Pnl_Scroll;

 private:
  void Refresh();
  // The image for the pane without a copy: a reduced image's colours are
  // kept in expanded_ while it is shown.
  QImage PaneImage();

  IFileSystem& fs_;
  IKervInformation& information_;
  IVuvEChoosers& choosers_;
  int jpegQuality_;
  // The type the save dialog shows first: the last one chosen, 24-bit BMP at first.
  int saveFilterIndex_ = 2;
  TRasterImage image_;
  TRasterImage expanded_;
  TImagePane* pane_;
  bool stayOnTopQueued_ = false;
};

}  // namespace kerv
