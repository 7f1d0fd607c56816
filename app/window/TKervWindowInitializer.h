#pragma once
// Where and how the main window appears at start-up.

namespace kerv {

// The window-placement keys of section Window (their defaults until read).
struct TKervWindowSettings {
  int Mode = 0;             // 0 the state at the last exit, 1 minimized, 2 maximized
  int LastWindowState = 0;  // 1 minimized, 2 maximized, else normal
  bool UseUserPos = false;
  int UserPosX = 100;
  int UserPosY = 100;
  bool UseUserSize = false;
  int UserSizeX = 640;
  int UserSizeY = 450;
  int LastPosX = 100;
  int LastPosY = 100;
  int LastSizeX = 640;
  int LastSizeY = 300;
};

enum class TKervShowState { Normal, Minimized, Maximized };

struct TKervWindowPlacement {
  bool setPosition = true;  // false: only the size is set; position and state are the system's
  int x = 100;
  int y = 100;
  int width = 640;
  int height = 300;
  TKervShowState state = TKervShowState::Normal;
};

// A rectangle of the screen (the area windows may take, without panels).
struct TKervScreenArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

class TKervWindowInitializer {
 public:
  // showMode: 0 none, 1 normal (option x), 2 minimized (option n).
  static TKervWindowPlacement Apply(const TKervWindowSettings& settings, int otherWindows, int showMode);
  // The placement held inside the screen's area, whatever the settings said:
  // no larger than the area and, when placed, wholly on it (title bar and
  // menus within reach). An empty area leaves the placement as it is.
  static TKervWindowPlacement FitToScreen(TKervWindowPlacement placement, const TKervScreenArea& area);
};

}  // namespace kerv
