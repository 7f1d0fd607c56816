#pragma once
// What the row store and the line view need from an editor that shows the
// store. The editor control implements it; tests use a fake.

#include "editor/TEditorColumnRules.h"
#include "editor/TEditorParser.h"

namespace kerv {

class TEditorViewInfo;

class TEditorView {
 public:
  virtual ~TEditorView() = default;

  // Owner services (asked of the first view attached to a store).
  virtual const TEditorColumnRules& ColumnRules() const = 0;
  virtual TEditorParserFactory ParserClass() const = 0;
  virtual const TEditorViewInfo* ViewInfo() const = 0;
  // True while the editor is still being built from a stored form description.
  virtual bool IsLoading() const { return false; }
  // Rows one screen holds: the screen height over the row height, at least 1.
  virtual int ScreenRows() const = 0;
  virtual int TopRow() const = 0;
  virtual bool Focused() const = 0;
  virtual int CaretRow() const = 0;
  virtual int CaretCol() const = 0;

  // Notifications and requests from the store.
  virtual void RowsChanged() = 0;
  virtual void CleanSelection() = 0;
  virtual void SetCaretRow(int row) = 0;
  virtual void SetCaretCol(int col) = 0;
  // Puts the caret byteOffset bytes after the start of row (a row counts its
  // bytes plus 2 when raCrlf, plus 1 when raEof).
  virtual void SetCaretByOffset(int row, int byteOffset) = 0;
  virtual void RepaintRow(int row) = 0;
  virtual void SetTopRow(int row) = 0;
  // Clamps caret row and top row to the store.
  virtual void ClampToStore() = 0;
  // Recomputes scroll ranges and caret, and repaints.
  virtual void Refresh() = 0;
  virtual void HideCaret() = 0;
  virtual void ShowCaret() = 0;
  virtual void HideUnderline() = 0;
  virtual void ShowUnderline() = 0;
  // The line view's batch: set while lines are being updated.
  virtual void SetLinesUpdating(bool updating) = 0;
  // The caret's place in the text as a document byte offset, asked before a
  // re-wrap and given back after it (-1: the view keeps no such place), so
  // the caret stays on its character and comes into view.
  virtual long long CaretOffset() const { return -1; }
  virtual void RestoreCaretOffset(long long) {}
  // Around cutting lines that wrap in steps (the text stays, rows from
  // fromRow on move): the view holds its places as text offsets and finds
  // them again, so neither its caret, its selection nor its top row moves.
  virtual void HoldPlaces(int fromRow) { (void)fromRow; }
  virtual void RestorePlaces() {}
};

}  // namespace kerv
