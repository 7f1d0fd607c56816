#pragma once
// The two wrap modes of a window: word wrap at the edit mode's width, and wrap
// at the window's edge. Both panes show one row store, so the wrap is set once.

namespace kerv {

class IKervEditors;

class TKervWindowWrap {
 public:
  explicit TKervWindowWrap(IKervEditors& editors) : editors_(editors) {}

  bool WindowWrap() const { return windowWrap_; }
  // The current edit mode's wrap, remembered at every mode switch.
  void SetModeWrap(bool wordWrap, int wrapByte);
  bool ModeWordWrap() const { return modeWordWrap_; }
  int ModeWrapByte() const { return modeWrapByte_; }

  // Act_View_WordWrap: on wraps at the mode's width; off also ends window wrap.
  // False when nothing changed.
  bool SetWordWrap(bool on);
  // Act_View_WinWrap: on wraps at windowCols; off returns to the mode's wrap.
  bool SetWindowWrap(bool on, int windowCols);
  // After a resize, a splitter move or a new font, while window wrap is on.
  void Fit(int windowCols);
  // After a mode was applied: window wrap keeps its width over the mode's.
  void ModeApplied(int windowCols);

 private:
  IKervEditors& editors_;
  bool windowWrap_ = false;
  bool modeWordWrap_ = false;
  int modeWrapByte_ = 80;
};

}  // namespace kerv
