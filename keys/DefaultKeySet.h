#pragma once
// The built-in key set "デフォルト": produced in memory, never stored.

#include <span>

#include "keys/TKeyTable.h"

namespace kerv {

// "デフォルト" in Shift_JIS, as the settings hold it.
inline constexpr const char* kDefaultKeySetName = "\x83\x66\x83\x74\x83\x48\x83\x8B\x83\x67";
// The same name in UTF-8, for a settings file written by hand on a UTF-8 desktop.
inline constexpr const char* kDefaultKeySetNameUtf8 = "デフォルト";

struct TKeyBinding {
  TKeySlot slot;
  int action;  // action number, 1-based
};

// The 35 bindings of the built-in set.
std::span<const TKeyBinding> DefaultKeyBindings();
// A table holding exactly those bindings.
TKeyTable DefaultKeyTable();

}  // namespace kerv
