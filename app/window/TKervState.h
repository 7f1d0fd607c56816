#pragma once
// The state and view records of one window.

namespace kerv {

class TFrm_ImageWindow;

// Which modal thing the window shows (the dialog-state values other windows ask for).
enum TKervDialogState : int {
  dlgNone = 0,
  dlgSetting = 1,
  dlgEditModeSetting = 2,
  dlgImage = 3,
  dlgPrint = 4,
  dlgSearchOption = 6,
  dlgFileDialog = 7,
  dlgMessage = 8,
};

struct TKervState {
  int DialogState = dlgNone;
  bool FileBusy = false;
  bool Searching = false;
  int SplitMode = 0;  // 0 not split, 1 side by side, 2 one above the other
  // The window's image window once a single conversion made it (the dialog command owns it).
  TFrm_ImageWindow* ImageWindow = nullptr;
  int ImageCount = 0;
};

struct TKervView {
  bool BaseBar = true;
  bool SearchBar = true;
  bool BaseExpanded = true;
  bool SearchExpanded = true;
  bool StayOnTop = false;
};

}  // namespace kerv
