#pragma once
// What the editor model needs from the window that shows it: font metrics,
// the client size, the caret, invalidation and scrolling of pixels, the
// scroll bars and the focus. The Qt widget implements it; tests use a fake
// with fixed metrics. All coordinates are client pixels.

#include "editor/TEditorFont.h"

namespace kerv {

struct TRect {
  int left = 0;
  int top = 0;
  int right = 0;   // exclusive
  int bottom = 0;  // exclusive
  bool Empty() const { return right <= left || bottom <= top; }
  bool operator==(const TRect&) const = default;
};

struct TFontMetrics {
  int height = 16;          // ascent + descent
  int externalLeading = 0;
  int averageWidth = 8;     // the cell width of one byte
};

enum TScrollBarKind { sbHorizontal, sbVertical };

class IEditorWindow {
 public:
  virtual ~IEditorWindow() = default;

  virtual TFontMetrics MeasureFont(const TEditorFont& font) = 0;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  // The extent of a scroll bar across its direction (its arrow size).
  virtual int ScrollBarExtent() const = 0;

  virtual bool HasFocus() const = 0;
  virtual bool LeftButtonDown() const { return false; }

  // The caret exists only while the window has the focus.
  virtual void CreateCaret(int width, int height) = 0;
  virtual void DestroyCaret() = 0;
  virtual void SetCaretPos(int x, int y) = 0;
  virtual void SetCaretVisible(bool visible) = 0;
  // Where the input method's composition window goes (the caret cell).
  virtual void MoveCompositionWindow(int x, int y) { (void)x, (void)y; }

  virtual void InvalidateRect(const TRect& rect) = 0;
  // Moves the pixels of area by (dx, dy) and invalidates the strip uncovered.
  virtual void ScrollRect(const TRect& area, int dx, int dy) = 0;

  virtual void SetScrollBar(TScrollBarKind kind, bool visible, int max, int page, int pos) = 0;

  virtual void Beep() {}
  // The selection was set or cancelled, the caret placed (assistive
  // technology follows them).
  virtual void SelectionChanged() {}
  virtual void CaretMoved() {}
};

}  // namespace kerv
