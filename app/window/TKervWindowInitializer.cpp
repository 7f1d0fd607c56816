#include "app/window/TKervWindowInitializer.h"

#include <algorithm>

namespace kerv {

TKervWindowPlacement TKervWindowInitializer::Apply(const TKervWindowSettings& settings, int otherWindows, int showMode) {
  TKervWindowPlacement placement;
  placement.x = settings.UseUserPos ? settings.UserPosX : settings.LastPosX;
  placement.y = settings.UseUserPos ? settings.UserPosY : settings.LastPosY;
  placement.width = settings.UseUserSize ? settings.UserSizeX : settings.LastSizeX;
  placement.height = settings.UseUserSize ? settings.UserSizeY : settings.LastSizeY;
  if (otherWindows > 0) {
    // Later windows keep the system's position and state; only the size follows the settings.
    placement.setPosition = false;
    return placement;
  }
  int state = settings.Mode == 0 ? settings.LastWindowState : settings.Mode;
  placement.state = state == 1 ? TKervShowState::Minimized : state == 2 ? TKervShowState::Maximized : TKervShowState::Normal;
  if (showMode == 1) placement.state = TKervShowState::Normal;
  if (showMode == 2) placement.state = TKervShowState::Minimized;
  return placement;
}

TKervWindowPlacement TKervWindowInitializer::FitToScreen(TKervWindowPlacement placement, const TKervScreenArea& area) {
  if (area.width <= 0 || area.height <= 0) return placement;
  placement.width = std::clamp(placement.width, 1, area.width);
  placement.height = std::clamp(placement.height, 1, area.height);
  if (placement.setPosition) {
    placement.x = std::clamp(placement.x, area.x, area.x + area.width - placement.width);
    placement.y = std::clamp(placement.y, area.y, area.y + area.height - placement.height);
  }
  return placement;
}

}  // namespace kerv
