#include "editor/TEditorCaret.h"

#include "editor/TEditorColors.h"

namespace kerv {

void TEditorCursors::Assign(const TEditorCursors& source) {
  if (&source == this) return;
  defaultCursor_ = source.defaultCursor_;
  dragSelCursor_ = source.dragSelCursor_;
  dragSelCopyCursor_ = source.dragSelCopyCursor_;
  inSelCursor_ = source.inSelCursor_;
  leftMarginCursor_ = source.leftMarginCursor_;
  Changed();
}

TEditorCaret::TEditorCaret() {
  // A cursor change is a caret change for the owner.
  cursors_.SetOnChange([this](TNotifyPersistent*) { Changed(); });
}

void TEditorCaret::SetTabSpaceCount(int value) {
  if (value < 2) value = 2;
  if (value > 8) value = 8;
  SetAndNotify(tabSpaceCount_, value & ~1);
}

void TEditorCaret::Assign(const TEditorCaret& source) {
  if (&source == this) return;
  TNotifyUpdateBatch batch(*this);
  autoCursor_ = source.autoCursor_;
  autoIndent_ = source.autoIndent_;
  backSpaceUnIndent_ = source.backSpaceUnIndent_;
  cursors_.Assign(source.cursors_);
  freeCaret_ = source.freeCaret_;
  inTab_ = source.inTab_;
  keepCaret_ = source.keepCaret_;
  lockScroll_ = source.lockScroll_;
  nextLine_ = source.nextLine_;
  prevSpaceIndent_ = source.prevSpaceIndent_;
  rowSelect_ = source.rowSelect_;
  selDragMode_ = source.selDragMode_;
  selMove_ = source.selMove_;
  softTab_ = source.softTab_;
  style_ = source.style_;
  tabIndent_ = source.tabIndent_;
  tabSpaceCount_ = source.tabSpaceCount_;
}

}  // namespace kerv
