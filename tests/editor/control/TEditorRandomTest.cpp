// Random keystrokes and clicks against a plain string model of the text and a
// reference model of the selection. Every step is checked: the text, the
// selected range (normal and box), a caret on a character boundary, rows that
// never split a double-byte character. Then everything is undone to the
// start and redone to the end. KERV_RANDOM_STEPS and KERV_RANDOM_SEED run it
// longer or again.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "editor/TEditor.h"
#include "tests/editor/control/FakeEditorWindow.h"

namespace kerv {
namespace {

using testing::FakeEditorWindow;

constexpr bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The caret's offset in the whole text, from the rows as the store shows them.
long long CaretOffset(const TEditor& editor) {
  long long offset = 0;
  for (int row = 0; row < editor.Row() && row < editor.RowCount(); ++row) {
    offset += static_cast<long long>(editor.RowText(row).size()) + (editor.RowKind(row) == raCrlf ? 2 : 0);
  }
  std::string attrs = editor.ColumnAttributes(editor.RowText(editor.Row()));
  int col = editor.Col();
  int fills = 0;
  for (int c = 0; c < col && c < static_cast<int>(attrs.size()); ++c) fills += attrs[c] == kColTabFill;
  int length = static_cast<int>(editor.RowText(editor.Row()).size());
  return offset + std::min(length, col - fills);
}

// Length of the character before offset in text (a line break is one).
size_t CharBefore(const std::string& text, size_t offset) {
  if (offset >= 2 && text.compare(offset - 2, 2, "\r\n") == 0) return 2;
  size_t last = 0;
  for (size_t i = 0; i < offset;) {
    last = i;
    i += IsLead(static_cast<unsigned char>(text[i])) && i + 1 < offset ? 2 : 1;
  }
  return offset - last;
}

struct Snapshot {
  size_t undoSize;
  std::string text;
  int row;
  int col;
  bool selected;
  long long offset;  // the caret's, for runs whose rows move under it
};

class RandomRun {
 public:
  RandomRun(unsigned seed, bool modelled) : rng_(seed), modelled_(modelled) {
    editor_.SetUndoListMax(1 << 30);
    if (modelled_) {
      // The model follows the plain rules; indent rules are checked by their own tests.
      editor_.Caret().SetAutoIndent(false);
      editor_.Caret().SetBackSpaceUnIndent(false);
    }
    if (Chance(2)) {
      editor_.WrapOption().SetWrapByte(20 + Pick(30));
      editor_.WrapOption().SetFollowPunctuation(Chance(2));
      editor_.WrapOption().SetFollowRetMark(Chance(2));
      editor_.SetWordWrap(true);
      // Sometimes the text is wrapped in steps, the steps running between the keys.
      stepped_ = Chance(2);
    }
    editor_.Caret().SetTabSpaceCount(2 * (1 + Pick(4)));
    editor_.Caret().SetFreeCaret(Chance(4) != 0 || !modelled_);
    std::string start;
    int lines = Pick(6);
    for (int i = 0; i < lines; ++i) start += RandomText(Pick(30)) + "\r\n";
    if (stepped_) {
      for (int i = 0; i < 200; ++i) start += RandomText(Pick(60)) + "\r\n";
    }
    if (Chance(2)) start += RandomText(Pick(10));
    if (stepped_) {
      editor_.RowStore().SetStepWrapBytes(1);
      editor_.Lines().LoadText(std::string(start));
    } else {
      TMemoryStream stream(start);
      editor_.Lines().LoadFromStream(stream);
    }
    model_ = editor_.RowStore().GetText();
    editor_.RowStore().UndoObj().Clear();
  }

  void Run(int steps) {
    for (int step = 0; step < steps && !::testing::Test::HasFailure(); ++step) {
      Snapshot before = Snap();
      std::string action = Step();
      SCOPED_TRACE("step " + std::to_string(step) + ": " + action);
      Check();
      Snapshot after = Snap();
      if (after.undoSize != before.undoSize) {
        history_.push_back({before, after});
        actions_.push_back(action);
      }
    }
    UndoAndRedo();
  }

 private:
  int Pick(int n) { return n <= 0 ? 0 : static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  bool Chance(int n) { return Pick(n) == 0; }

  std::string RandomChar() {
    static const char* const kinds[] = {"a", "b", " ", "\t", "\xb1", "\xde", "\x82\xa0", "\x95\x5c", "\x81\x40",
                                        "\x83\x5c", "\x81\x42", "x", "(", ")"};
    return kinds[Pick(sizeof kinds / sizeof kinds[0])];
  }
  std::string RandomText(int chars) {
    std::string text;
    for (int i = 0; i < chars; ++i) text += RandomChar();
    return text;
  }

  Snapshot Snap() {
    return {editor_.RowStore().UndoObj().UndoList().size(),
            editor_.RowStore().GetText(),
            editor_.Row(),
            editor_.Col(),
            editor_.Selected(),
            CaretOffset(editor_)};
  }

  // The reference selection: where the range is anchored and whether one
  // exists. A Shift move or Shift+click with nothing selected anchors at the
  // caret; any edit, and any move without Shift, leaves nothing selected.
  struct SelectionModel {
    bool selected = false;
    long long anchor = 0;  // offset in the text
    int anchorRow = 0;
    int anchorByte = 0;
    int anchorBoxCol = 0;  // the box's fixed column
  } sel_;

  void AnchorAtCaret() {
    sel_.selected = true;
    sel_.anchor = CaretOffset(editor_);
    sel_.anchorRow = editor_.Row();
    sel_.anchorByte = std::min(static_cast<int>(editor_.RowText(editor_.Row()).size()),
                               editor_.ColToByte(editor_.Row(), editor_.Col()));
    sel_.anchorBoxCol = editor_.SelectionMode() == smBox ? editor_.Col()
                                                         : std::min(editor_.Col(), editor_.RowWidth(editor_.Row()));
  }

  std::pair<int, int> CellPoint(int row, int col) {
    return {editor_.ColToX(col) + 1, editor_.RowToY(row) + 1};
  }

  // A random click (with Shift, or a press and a drag to another cell).
  std::string Click() {
    int row = Pick(editor_.RowCount() + 1);
    // Cells left of the view's first column would be clicks in the left bar.
    int col = editor_.TopCol() + Pick(30);
    auto [x, y] = CellPoint(row, col);
    if (Chance(3)) {
      if (!sel_.selected) AnchorAtCaret();
      editor_.MouseDown(x, y, true, false);
      editor_.MouseUp(x, y, false);
      return "shift+click";
    }
    editor_.MouseDown(x, y, false, false);
    bool dragging = editor_.DragState() != dsNone;
    if (!dragging && Chance(2)) {
      // Drawing a selection from the click.
      long long pressedAt = CaretOffset(editor_);
      int pressedRow = editor_.Row();
      int pressedByte = std::min(static_cast<int>(editor_.RowText(pressedRow).size()),
                                 editor_.ColToByte(pressedRow, editor_.Col()));
      int pressedCol = editor_.Col();
      auto [x2, y2] = CellPoint(Pick(editor_.RowCount() + 1), editor_.TopCol() + Pick(30));
      editor_.MouseMove(x2, y2, true, false);
      editor_.MouseUp(x2, y2, false);
      if (editor_.Selected()) {
        sel_ = {true, pressedAt, pressedRow, pressedByte,
                editor_.SelectionMode() == smBox ? pressedCol : std::min(pressedCol, editor_.RowWidth(pressedRow))};
      } else {
        sel_.selected = false;
      }
      return "click and drag";
    }
    editor_.MouseUp(x, y, false);
    sel_.selected = false;
    return dragging ? "click in the selection" : "click";
  }

  // The editor's selection against the reference.
  void CheckSelection() {
    if (!sel_.selected) {
      ASSERT_FALSE(editor_.Selected());
      return;
    }
    ASSERT_TRUE(editor_.Selected());
    if (editor_.SelectionMode() == smNormal) {
      long long caret = CaretOffset(editor_);
      ASSERT_EQ(editor_.SelStart(), std::min(sel_.anchor, caret));
      ASSERT_EQ(editor_.SelLength(), std::max(sel_.anchor, caret) - std::min(sel_.anchor, caret));
      return;
    }
    const TEditorSelection& box = editor_.Selection();
    ASSERT_EQ(box.firstRow, std::min(sel_.anchorRow, editor_.Row()));
    ASSERT_EQ(box.lastRow, std::max(sel_.anchorRow, editor_.Row()));
    ASSERT_EQ(box.leftCol, std::min(sel_.anchorBoxCol, editor_.Col()));
    ASSERT_EQ(box.rightCol, std::max(sel_.anchorBoxCol, editor_.Col()));
    // Every covered row comes out as one line.
    std::string text = editor_.SelText();
    int lines = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) lines += text.compare(i, 2, "\r\n") == 0;
    int lastRow = std::min(box.lastRow, editor_.RowCount() - 1);
    ASSERT_EQ(lines, std::max(0, lastRow - box.firstRow + 1));
  }

  // One random action, with the selection model kept.
  std::string Step() {
    if (stepped_ && !sel_.selected && editor_.RowStore().WrapPending() && Chance(5)) {
      // A slice of idle time, or a paint: the rows move, the text and the caret's place do not.
      if (Chance(2)) {
        // A jump somewhere below, where the rows may still wait.
        editor_.MoveCaretTo(editor_.RowStore().WrapFrom() + Pick(editor_.RowCount() - editor_.RowStore().WrapFrom()), 0);
        return "jump";
      }
      long long caret = CaretOffset(editor_);
      if (Chance(2)) {
        editor_.RowStore().FillWrap(1 + Pick(8));
      } else {
        editor_.CutShownRows();
      }
      if (editor_.Col() <= editor_.RowWidth(editor_.Row())) { EXPECT_EQ(CaretOffset(editor_), caret); }
      return "fill";
    }
    return Chance(8) ? Click() : EditStep();
  }

  // One random key or edit; the text model follows where it has plain rules,
  // and is taken from the editor after actions whose rules are checked elsewhere.
  std::string EditStep() {
    bool exact = modelled_ && !editor_.OverWrite() && editor_.SelectionMode() == smNormal;
    long long caret = CaretOffset(editor_);
    int rowWidth = editor_.RowWidth(editor_.Row());
    int beyond = std::max(0, editor_.Col() - rowWidth);
    bool selected = editor_.Selected() && editor_.SelectionMode() == smNormal;
    long long selStart = selected ? editor_.SelStart() : caret;
    long long selLength = selected ? editor_.SelLength() : 0;
    if (selected) { EXPECT_EQ(editor_.SelText(), model_.substr(selStart, selLength)); }
    int kind = Pick(100);
    if (kind < 30) {
      static const TEditorKey keys[] = {vkPrior, vkNext, vkEnd, vkHome, vkLeft, vkUp, vkRight, vkDown};
      TEditorKey key = keys[Pick(8)];
      bool shift = Chance(3);
      if (shift && !sel_.selected) AnchorAtCaret();
      if (!shift) sel_.selected = false;
      editor_.KeyDown(key, shift, Chance(6), Chance(4));
      return "key " + std::to_string(key) + (shift ? " shift" : "");
    }
    if (kind < 36) {
      editor_.MoveCaretTo(Pick(editor_.RowCount() + 2), Pick(40));
      return "move";
    }
    if (kind < 39) {
      bool toBox = editor_.SelectionMode() == smNormal;
      editor_.SetSelectionMode(toBox ? smBox : smNormal);
      // In box mode the range's fixed column is the anchor's column.
      if (toBox) sel_.anchorBoxCol = editor_.ByteToCol(sel_.anchorRow, sel_.anchorByte);
      return "mode";
    }
    if (kind < 41) {
      editor_.SetOverWrite(!editor_.OverWrite());
      return "overwrite";
    }
    // Every edit below leaves nothing selected (a selection is replaced or deleted first).
    sel_.selected = false;
    if (kind < 65) {
      std::string text = RandomChar();
      if (text == "\t") text = "c";
      editor_.InsertText(text);
      if (exact) {
        if (selected) {
          model_.replace(selStart, selLength, text);
        } else {
          model_.insert(caret, std::string(beyond, ' ') + text);
        }
      }
      return "type";
    }
    if (kind < 73) {
      editor_.TypeReturn();
      if (exact) {
        if (selected) {
          model_.erase(selStart, selLength);
          caret = selStart;
        }
        model_.insert(caret, "\r\n");
      }
      return "return";
    }
    if (kind < 78) {
      editor_.TypeTab();
      if (exact) {
        if (selected) model_.replace(selStart, selLength, "\t");
        else model_.insert(caret, std::string(beyond, ' ') + "\t");
      }
      return "tab";
    }
    if (kind < 89) {
      editor_.TypeBackspace();
      if (exact) {
        if (selected) {
          model_.erase(selStart, selLength);
        } else if (beyond == 0 && caret > 0) {
          size_t length = CharBefore(model_, static_cast<size_t>(caret));
          model_.erase(caret - length, length);
        }
      }
      return "backspace";
    }
    editor_.TypeDelete();
    if (exact) {
      if (selected) {
        model_.erase(selStart, selLength);
      } else if (static_cast<size_t>(caret) < model_.size()) {
        if (beyond == 0 && model_.compare(caret, 2, "\r\n") != 0) {
          size_t length = IsLead(static_cast<unsigned char>(model_[caret])) ? 2 : 1;
          model_.erase(caret, length);
        } else if (model_.compare(caret, 2, "\r\n") == 0) {
          model_.replace(caret, 2, std::string(beyond, ' '));
        }
      }
    }
    return "delete";
  }

  void Check() {
    CheckSelection();
    if (::testing::Test::HasFailure()) return;
    std::string text = editor_.RowStore().GetText();
    if (modelled_ && editor_.SelectionMode() == smNormal && !editor_.OverWrite()) {
      ASSERT_EQ(text, model_);
    }
    model_ = text;
    int rows = editor_.RowCount();
    for (int row = 0; row < rows; ++row) {
      std::string_view rowText = editor_.RowText(row);
      ASSERT_EQ(rowText.find_first_of("\r\n"), std::string_view::npos) << "row " << row;
      for (size_t i = 0; i < rowText.size(); ++i) {
        if (IsLead(static_cast<unsigned char>(rowText[i]))) {
          ASSERT_LT(i + 1, rowText.size()) << "row " << row << " ends inside a character";
          ++i;
        }
      }
    }
    // Rows cut piece by piece are the rows a fresh cut of the whole text
    // gives (while steps are pending, the rows above the pending point).
    TEditor fresh;
    fresh.Caret().SetTabSpaceCount(editor_.Caret().TabSpaceCount());
    fresh.SetWrapOption(editor_.WrapOption());
    fresh.SetWordWrap(editor_.WordWrap());
    TMemoryStream stream(text);
    fresh.Lines().LoadFromStream(stream);
    const bool pending = editor_.RowStore().WrapPending();
    if (!pending) { ASSERT_EQ(fresh.RowCount(), rows); }
    const int cutRows = pending ? std::min(editor_.RowStore().WrapFrom(), fresh.RowCount()) : rows;
    for (int row = 0; row < cutRows; ++row) {
      ASSERT_EQ(fresh.RowText(row), editor_.RowText(row)) << "row " << row;
      ASSERT_EQ(fresh.RowKind(row), editor_.RowKind(row)) << "row " << row;
    }
    ASSERT_GE(editor_.Row(), 0);
    ASSERT_LE(editor_.Row(), rows);
    if (editor_.Row() == rows && rows > 0) {
      ASSERT_NE(editor_.RowKind(rows - 1), raEof);
    }
    std::string attrs = editor_.ColumnAttributes(editor_.RowText(editor_.Row()));
    int col = editor_.Col();
    if (col < static_cast<int>(attrs.size())) {
      ASSERT_NE(attrs[col], kColTrail) << "caret on a trail byte";
      if (!editor_.Caret().InTab()) { ASSERT_NE(attrs[col], kColTabFill) << "caret inside a tab"; }
    }
    ASSERT_EQ(editor_.CaretHideCount(), 0);
  }

  void UndoAndRedo() {
    if (::testing::Test::HasFailure()) return;
    editor_.CancelSelection();
    Snapshot end = Snap();
    // Undo to the start: each step's text and caret come back.
    std::vector<std::pair<int, int>> undoneAt(history_.size() + 1);
    undoneAt[history_.size()] = {end.row, end.col};
    for (size_t i = history_.size(); i-- > 0;) {
      const Snapshot& before = history_[i].first;
      while (editor_.RowStore().UndoObj().UndoList().size() > before.undoSize) editor_.Undo();
      undoneAt[i] = {editor_.Row(), editor_.Col()};
      ASSERT_EQ(editor_.RowStore().GetText(), before.text) << "undo of change " << i << " (" << actions_[i] << ")";
      // A change that deleted a selection first restores the caret to the selection's start.
      if (before.selected) continue;
      if (stepped_) {
        // Rows moved under the caret between the keys: its place in the text is what stays.
        ASSERT_EQ(CaretOffset(editor_), before.offset) << "undo of change " << i << " (" << actions_[i] << ")";
        continue;
      }
      ASSERT_EQ(editor_.Row(), before.row) << "undo of change " << i << " (" << actions_[i] << ")";
      ASSERT_EQ(editor_.Col(), before.col) << "undo of change " << i << " (" << actions_[i] << ")";
    }
    // Redo to the end: each change's text comes back, with the caret it had when it was undone.
    for (size_t i = 0; i < history_.size(); ++i) {
      const Snapshot& after = history_[i].second;
      while (editor_.RowStore().UndoObj().UndoList().size() < after.undoSize && editor_.CanRedo()) editor_.Redo();
      ASSERT_EQ(editor_.RowStore().GetText(), after.text) << "redo of change " << i;
      if (stepped_) continue;
      ASSERT_EQ(editor_.Row(), undoneAt[i + 1].first) << "redo of change " << i;
      ASSERT_EQ(editor_.Col(), undoneAt[i + 1].second) << "redo of change " << i;
    }
    ASSERT_EQ(editor_.RowStore().GetText(), end.text);
  }

  std::mt19937 rng_;
  bool modelled_;
  bool stepped_ = false;
  FakeEditorWindow window_;
  TEditor editor_{&window_};
  std::string model_;
  std::vector<std::pair<Snapshot, Snapshot>> history_;
  std::vector<std::string> actions_;
};

int EnvInt(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value ? std::atoi(value) : fallback;
}

TEST(TEditorRandomTest, KeystrokesMatchThePlainModelAndUndoRedoRestoreEverything) {
  int steps = EnvInt("KERV_RANDOM_STEPS", 400);
  unsigned seed = static_cast<unsigned>(EnvInt("KERV_RANDOM_SEED", 12345));
  for (int run = 0; run < 12 && !::testing::Test::HasFailure(); ++run) {
    SCOPED_TRACE("seed " + std::to_string(seed + run) + (run % 2 ? " (all rules)" : " (modelled)"));
    RandomRun(seed + run, run % 2 == 0).Run(steps);
  }
}

}  // namespace
}  // namespace kerv
