#include "app/window/TKervWindowWrap.h"

#include "app/commands/TKervEditors.h"
#include "editor/TEditor.h"

namespace kerv {

void TKervWindowWrap::SetModeWrap(bool wordWrap, int wrapByte) {
  modeWordWrap_ = wordWrap;
  modeWrapByte_ = wrapByte;
}

bool TKervWindowWrap::SetWordWrap(bool on) {
  TEditor& editor = editors_.MainEditor();
  if (on == editor.WordWrap()) return false;
  if (on) {
    editor.WrapOption().SetWrapByte(modeWrapByte_);
  } else {
    windowWrap_ = false;
  }
  editor.SetWordWrap(on);
  return true;
}

bool TKervWindowWrap::SetWindowWrap(bool on, int windowCols) {
  if (on == windowWrap_) return false;
  windowWrap_ = on;
  TEditor& editor = editors_.MainEditor();
  if (on) {
    editor.WrapOption().SetWrapByte(windowCols);
    editor.SetWordWrap(true);
  } else {
    editor.WrapOption().SetWrapByte(modeWrapByte_);
    editor.SetWordWrap(modeWordWrap_);
  }
  return true;
}

void TKervWindowWrap::Fit(int windowCols) {
  if (!windowWrap_) return;
  TEditor& editor = editors_.MainEditor();
  if (editor.WrapOption().WrapByte() != windowCols) editor.WrapOption().SetWrapByte(windowCols);
}

void TKervWindowWrap::ModeApplied(int windowCols) {
  TEditor& editor = editors_.MainEditor();
  if (windowWrap_) {
    editor.SetWordWrap(true);
    Fit(windowCols);
  } else {
    editor.WrapOption().SetWrapByte(modeWrapByte_);
    editor.SetWordWrap(modeWordWrap_);
  }
}

}  // namespace kerv
