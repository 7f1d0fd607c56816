#pragma once
// A focused window of 60 rows by 200 columns that draws nothing, for the
// benchmarks that drive the editor model without Qt.

#include "editor/IEditorWindow.h"

namespace kerv::bench {

class QuietWindow : public IEditorWindow {
 public:
  TFontMetrics MeasureFont(const TEditorFont&) override { return {16, 0, 8}; }
  int ClientWidth() const override { return 19 + 200 * 8 + 4; }
  int ClientHeight() const override { return 2 + 60 * 16 + 5; }
  int ScrollBarExtent() const override { return 16; }
  bool HasFocus() const override { return true; }
  void CreateCaret(int, int) override {}
  void DestroyCaret() override {}
  void SetCaretPos(int, int) override {}
  void SetCaretVisible(bool) override {}
  void InvalidateRect(const TRect&) override {}
  void ScrollRect(const TRect&, int, int) override {}
  void SetScrollBar(TScrollBarKind, bool, int, int, int) override {}
};

}  // namespace kerv::bench
