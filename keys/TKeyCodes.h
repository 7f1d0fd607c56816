#pragma once
// Key combinations as key sets store them: a modifier row (Shift 1, Ctrl 2,
// Alt 4) and a key index 1-89 standing for one virtual-key code; and as a
// shortcut value (the virtual-key code ored with 0x2000 Shift, 0x4000 Ctrl,
// 0x8000 Alt), the form the actions and the tool list carry. The portable
// text ("Ctrl+Shift+N", "Num+5") is what a window layer turns into its own
// key sequences; it names keys as a US keyboard labels them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kerv {

inline constexpr int kKeyRowCount = 8;
inline constexpr int kKeyColumnCount = 128;
// Key indices run 1..kKeyIndexCount; columns from kKeyIndexCount on are never used.
inline constexpr int kKeyIndexCount = 89;

// The bits of a row number.
inline constexpr int kKeyRowShift = 1;
inline constexpr int kKeyRowCtrl = 2;
inline constexpr int kKeyRowAlt = 4;

// The bits of a shortcut value above its virtual-key byte.
inline constexpr uint16_t kShortcutShift = 0x2000;
inline constexpr uint16_t kShortcutCtrl = 0x4000;
inline constexpr uint16_t kShortcutAlt = 0x8000;

// One cell of the key table: a modifier row 0-7 and a key index 1-89.
struct TKeySlot {
  int row = 0;
  int keyIndex = 0;
  bool operator==(const TKeySlot&) const = default;
};

constexpr int KeyRowOf(bool shift, bool ctrl, bool alt) {
  return (shift ? kKeyRowShift : 0) + (ctrl ? kKeyRowCtrl : 0) + (alt ? kKeyRowAlt : 0);
}
constexpr bool IsValidKeySlot(TKeySlot slot) {
  return slot.row >= 0 && slot.row < kKeyRowCount && slot.keyIndex >= 1 && slot.keyIndex <= kKeyIndexCount;
}

// The virtual-key code of a key index, 0 outside 1-89.
int VirtualKeyOfIndex(int keyIndex);
// The key index of a virtual-key code, 0 for a key that cannot be bound.
int KeyIndexOfVirtualKey(int virtualKey);

// The shortcut value of a slot, 0 for an invalid slot.
uint16_t ShortcutOfSlot(TKeySlot slot);
// The slot of a shortcut value; none when its key has no key index.
std::optional<TKeySlot> SlotOfShortcut(uint16_t shortcut);

// The key's portable name: "Backspace", "PgUp", "F3", "N", "Num+5", ";" ...;
// empty outside 1-89.
std::string_view KeyPortableName(int keyIndex);
// "Ctrl+Alt+Shift+" as far as the row has them, then the key's portable
// name; empty when the shortcut names no bindable key.
std::string ShortcutPortableText(uint16_t shortcut);
std::string SlotPortableText(TKeySlot slot);
// The slot of a portable text of one key combination (modifier names in any
// order and case, "Enter" and "Escape" also understood); none for Meta,
// several combinations or a key without key index.
std::optional<TKeySlot> SlotOfPortableText(std::string_view text);

// "Shift+", "Ctrl+", "Alt+" in that order, as far as the row has them: the
// key page writes the key's own name after it.
std::string KeyRowDisplayPrefix(int row);

}  // namespace kerv
