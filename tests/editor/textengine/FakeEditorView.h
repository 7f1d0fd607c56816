#pragma once
// An editor view over a row store for tests: it records what the store asks
// of it and keeps a caret, with byte columns for text without tabs.

#include <algorithm>
#include <vector>

#include "editor/TEditorScreenStrings.h"
#include "editor/TEditorStrings.h"
#include "editor/TEditorView.h"
#include "editor/TEditorViewInfo.h"

namespace kerv::testing {

class FakeEditorView : public TEditorView, public TEditorLinesOwner {
 public:
  explicit FakeEditorView(TEditorScreenStrings& store) : store_(&store) { store_->RegisterView(this); }
  ~FakeEditorView() override { store_->UnregisterView(this); }

  TEditorColumnRules rules;
  TEditorViewInfo viewInfo;
  int screenRows = 10;
  int topRow = 0;
  bool focused = false;
  int caretRow = 0;
  int caretCol = 0;
  int hidden = 0;
  int rowsChanged = 0;
  int selectionDrops = 0;
  std::vector<int> repainted;
  TEditorChangeRecord lastChange;

  const TEditorColumnRules& ColumnRules() const override { return rules; }
  TEditorParserFactory ParserClass() const override { return &TEditorParser::Create; }
  const TEditorViewInfo* ViewInfo() const override { return &viewInfo; }
  int ScreenRows() const override { return screenRows; }
  int TopRow() const override { return topRow; }
  bool Focused() const override { return focused; }
  int CaretRow() const override { return caretRow; }
  int CaretCol() const override { return caretCol; }

  void RowsChanged() override {
    ++rowsChanged;
    lastChange = store_->ChangeRecord();
  }
  void CleanSelection() override { ++selectionDrops; }
  void SetCaretRow(int row) override { caretRow = row; }
  void SetCaretCol(int col) override { caretCol = col; }
  void SetCaretByOffset(int row, int byteOffset) override {
    // Walk rows: each counts its bytes, plus 2 when raCrlf, plus 1 when raEof.
    while (row < store_->Count()) {
      int length = static_cast<int>(store_->Get(row).size());
      TRowAttribute kind = store_->RowAttribute(row);
      int extent = length + (kind == raCrlf ? 2 : kind == raEof ? 1 : 0);
      if (byteOffset < extent || (kind == raWrapped && byteOffset == length && row + 1 >= store_->Count())) break;
      byteOffset -= extent;
      ++row;
    }
    caretRow = row;
    caretCol = byteOffset;
    ClampToStore();
  }
  void RepaintRow(int row) override { repainted.push_back(row); }
  void SetTopRow(int row) override { topRow = row; }
  void ClampToStore() override {
    int rows = store_->Count();
    int max = rows > 0 && store_->RowAttribute(rows - 1) == raEof ? rows - 1 : rows;
    caretRow = std::clamp(caretRow, 0, std::max(0, max));
    topRow = std::clamp(topRow, 0, std::max(0, max));
  }
  void Refresh() override {}
  void HideCaret() override { ++hidden; }
  void ShowCaret() override { --hidden; }
  void HideUnderline() override {}
  void ShowUnderline() override {}
  void SetLinesUpdating(bool) override {}

  TEditorScreenStrings& RowStore() override { return *store_; }
  TEditorView& View() override { return *this; }

 private:
  TEditorScreenStrings* store_;
};

}  // namespace kerv::testing
