#pragma once
// Two editor panes on one row store, as a split window has them, seen
// through the commands' port.

#include "app/commands/TKervEditors.h"
#include "editor/TEditor.h"
#include "tests/editor/control/FakeEditorWindow.h"

namespace kerv::testing {

class TwoPanes : public IKervEditors {
 public:
  TwoPanes() { second.ShareRowStore(main); }
  TEditor& ActiveEditor() override { return secondActive ? second : main; }
  TEditor& MainEditor() override { return main; }
  TEditor* SecondEditor() override { return &second; }
  bool EditorHasFocus() override { return true; }

  FakeEditorWindow mainWindow, secondWindow;
  TEditor main{&mainWindow};
  TEditor second{&secondWindow};
  bool secondActive = false;
};

}  // namespace kerv::testing
