#pragma once
// The editor panes of one window as the commands see them: the main pane,
// the second pane of a split window, and the one the commands act on.

namespace kerv {

class TEditor;

class IKervEditors {
 public:
  virtual ~IKervEditors() = default;
  // The pane the commands act on: the second one while it has the focus.
  virtual TEditor& ActiveEditor() = 0;
  virtual TEditor& MainEditor() = 0;
  // Null until the window has been split once.
  virtual TEditor* SecondEditor() = 0;
  // Whether one of the panes has the keyboard focus.
  virtual bool EditorHasFocus() = 0;
};

}  // namespace kerv
