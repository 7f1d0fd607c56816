#pragma once
// The caret options of an editor: how the caret moves, indents and looks,
// and the mouse cursors the control shows. A change re-creates the caret.

#include "editor/TNotifyPersistent.h"

namespace kerv {

// Mouse cursor identifiers. Negative values are the platform's stock
// cursors; positive values are slots of cursors the program registers.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crIBeam = -4;
constexpr TCursor crDrag = -12;
// The slots of the two cursors loaded at start-up ("RightArrow", "DragSelCopy").
constexpr TCursor crRightArrow = 1;
constexpr TCursor crDragSelCopy = 2;

class TEditorCursors : public TNotifyPersistent {
 public:
  TCursor DefaultCursor() const { return defaultCursor_; }
  TCursor DragSelCursor() const { return dragSelCursor_; }
  TCursor DragSelCopyCursor() const { return dragSelCopyCursor_; }
  TCursor InSelCursor() const { return inSelCursor_; }
  TCursor LeftMarginCursor() const { return leftMarginCursor_; }
  void SetDefaultCursor(TCursor value) { SetAndNotify(defaultCursor_, value); }
  void SetDragSelCursor(TCursor value) { SetAndNotify(dragSelCursor_, value); }
  void SetDragSelCopyCursor(TCursor value) { SetAndNotify(dragSelCopyCursor_, value); }
  void SetInSelCursor(TCursor value) { SetAndNotify(inSelCursor_, value); }
  void SetLeftMarginCursor(TCursor value) { SetAndNotify(leftMarginCursor_, value); }
  void Assign(const TEditorCursors& source);

 private:
  TCursor defaultCursor_ = crIBeam;
  TCursor dragSelCursor_ = crDrag;
  TCursor dragSelCopyCursor_ = crDragSelCopy;
  TCursor inSelCursor_ = crDefault;
  TCursor leftMarginCursor_ = crRightArrow;
};

enum TEditorCaretStyle { csDefault, csBrief };
enum TEditorDragMode { dmManual, dmAutomatic };

class TEditorCaret : public TNotifyPersistent {
 public:
  TEditorCaret();

  bool AutoCursor() const { return autoCursor_; }
  bool AutoIndent() const { return autoIndent_; }
  bool BackSpaceUnIndent() const { return backSpaceUnIndent_; }
  TEditorCursors& Cursors() { return cursors_; }
  const TEditorCursors& Cursors() const { return cursors_; }
  bool FreeCaret() const { return freeCaret_; }
  bool InTab() const { return inTab_; }
  bool KeepCaret() const { return keepCaret_; }
  bool LockScroll() const { return lockScroll_; }
  bool NextLine() const { return nextLine_; }
  bool PrevSpaceIndent() const { return prevSpaceIndent_; }
  bool RowSelect() const { return rowSelect_; }
  TEditorDragMode SelDragMode() const { return selDragMode_; }
  bool SelMove() const { return selMove_; }
  bool SoftTab() const { return softTab_; }
  TEditorCaretStyle Style() const { return style_; }
  bool TabIndent() const { return tabIndent_; }
  int TabSpaceCount() const { return tabSpaceCount_; }

  void SetAutoCursor(bool value) { SetAndNotify(autoCursor_, value); }
  void SetAutoIndent(bool value) { SetAndNotify(autoIndent_, value); }
  void SetBackSpaceUnIndent(bool value) { SetAndNotify(backSpaceUnIndent_, value); }
  void SetCursors(const TEditorCursors& value) { cursors_.Assign(value); }
  void SetFreeCaret(bool value) { SetAndNotify(freeCaret_, value); }
  void SetInTab(bool value) { SetAndNotify(inTab_, value); }
  void SetKeepCaret(bool value) { SetAndNotify(keepCaret_, value); }
  void SetLockScroll(bool value) { SetAndNotify(lockScroll_, value); }
  void SetNextLine(bool value) { SetAndNotify(nextLine_, value); }
  void SetPrevSpaceIndent(bool value) { SetAndNotify(prevSpaceIndent_, value); }
  void SetRowSelect(bool value) { SetAndNotify(rowSelect_, value); }
  void SetSelDragMode(TEditorDragMode value) { SetAndNotify(selDragMode_, value); }
  void SetSelMove(bool value) { SetAndNotify(selMove_, value); }
  void SetSoftTab(bool value) { SetAndNotify(softTab_, value); }
  void SetStyle(TEditorCaretStyle value) { SetAndNotify(style_, value); }
  void SetTabIndent(bool value) { SetAndNotify(tabIndent_, value); }
  // Limited to 2..8 and rounded down to an even number: 2, 4, 6 or 8.
  void SetTabSpaceCount(int value);

  // Copies every value (the cursors too) and notifies once.
  void Assign(const TEditorCaret& source);

 private:
  bool autoCursor_ = true;
  bool autoIndent_ = true;
  bool backSpaceUnIndent_ = true;
  TEditorCursors cursors_;
  bool freeCaret_ = true;
  bool inTab_ = false;
  bool keepCaret_ = false;
  bool lockScroll_ = false;
  bool nextLine_ = false;
  bool prevSpaceIndent_ = false;
  bool rowSelect_ = true;
  TEditorDragMode selDragMode_ = dmAutomatic;
  bool selMove_ = true;
  bool softTab_ = false;
  TEditorCaretStyle style_ = csDefault;
  bool tabIndent_ = false;
  int tabSpaceCount_ = 8;
};

}  // namespace kerv
