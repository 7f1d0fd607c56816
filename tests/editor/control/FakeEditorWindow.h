#pragma once
// A window for the editor model in tests: fixed metrics (8 x 16 pixel cells),
// a fixed client size, the focus, and a record of what the model asked for.

#include <vector>

#include "editor/IEditorWindow.h"

namespace kerv::testing {

class FakeEditorWindow : public IEditorWindow {
 public:
  int width = 8 * 80 + 19 + 4;  // 80 columns at the default left margin
  int height = 16 * 25 + 2 + 5;  // 25 rows at the default top margin
  bool focus = true;
  bool leftButton = false;
  TFontMetrics metrics{16, 0, 8};

  bool caretExists = false;
  bool caretVisible = false;
  int caretX = 0;
  int caretY = 0;
  int caretWidth = 0;
  int caretHeight = 0;
  int beeps = 0;
  // Where the input method's composition window was last moved, and how often.
  int compositionMoves = 0;
  int compositionX = -1;
  std::vector<TRect> invalidated;
  struct Scroll {
    TRect area;
    int dx;
    int dy;
  };
  std::vector<Scroll> scrolled;
  struct Bar {
    bool visible = false;
    int max = 0;
    int page = 0;
    int pos = 0;
  };
  Bar bars[2];

  TFontMetrics MeasureFont(const TEditorFont&) override { return metrics; }
  int ClientWidth() const override { return width; }
  int ClientHeight() const override { return height; }
  int ScrollBarExtent() const override { return 16; }
  bool HasFocus() const override { return focus; }
  bool LeftButtonDown() const override { return leftButton; }
  void CreateCaret(int w, int h) override {
    caretExists = true;
    caretWidth = w;
    caretHeight = h;
  }
  void DestroyCaret() override { caretExists = false; }
  void SetCaretPos(int x, int y) override {
    caretX = x;
    caretY = y;
  }
  void SetCaretVisible(bool visible) override { caretVisible = visible; }
  void MoveCompositionWindow(int x, int) override {
    ++compositionMoves;
    compositionX = x;
  }
  void InvalidateRect(const TRect& rect) override { invalidated.push_back(rect); }
  void ScrollRect(const TRect& area, int dx, int dy) override { scrolled.push_back({area, dx, dy}); }
  void SetScrollBar(TScrollBarKind kind, bool visible, int max, int page, int pos) override {
    bars[kind] = {visible, max, page, pos};
  }
  void Beep() override { ++beeps; }
};

}  // namespace kerv::testing
