#include "keys/TKeyCodes.h"

#include <array>

namespace kerv {
namespace {

struct TKeyCode {
  int virtualKey;
  const char* name;
};

// Index 0 is key index 1. The order is part of the key-set file format.
constexpr TKeyCode kKeyCodes[kKeyIndexCount] = {
    {8, "Backspace"}, {9, "Tab"}, {13, "Return"}, {27, "Esc"},
    {32, "Space"}, {33, "PgUp"}, {34, "PgDown"}, {35, "End"}, {36, "Home"}, {37, "Left"}, {38, "Up"},
    {39, "Right"}, {40, "Down"}, {45, "Ins"}, {46, "Del"},
    {48, "0"}, {49, "1"}, {50, "2"}, {51, "3"}, {52, "4"}, {53, "5"}, {54, "6"}, {55, "7"}, {56, "8"}, {57, "9"},
    {65, "A"}, {66, "B"}, {67, "C"}, {68, "D"}, {69, "E"}, {70, "F"}, {71, "G"}, {72, "H"}, {73, "I"},
    {74, "J"}, {75, "K"}, {76, "L"}, {77, "M"}, {78, "N"}, {79, "O"}, {80, "P"}, {81, "Q"}, {82, "R"},
    {83, "S"}, {84, "T"}, {85, "U"}, {86, "V"}, {87, "W"}, {88, "X"}, {89, "Y"}, {90, "Z"},
    {96, "Num+0"}, {97, "Num+1"}, {98, "Num+2"}, {99, "Num+3"}, {100, "Num+4"}, {101, "Num+5"},
    {102, "Num+6"}, {103, "Num+7"}, {104, "Num+8"}, {105, "Num+9"},
    {106, "Num+*"}, {107, "Num++"}, {109, "Num+-"}, {110, "Num+."}, {111, "Num+/"},
    {112, "F1"}, {113, "F2"}, {114, "F3"}, {115, "F4"}, {116, "F5"}, {117, "F6"}, {118, "F7"}, {119, "F8"},
    {120, "F9"}, {121, "F10"}, {122, "F11"}, {123, "F12"},
    {186, ";"}, {187, "="}, {188, ","}, {189, "-"}, {190, "."}, {191, "/"}, {192, "`"},
    {219, "["}, {220, "\\"}, {221, "]"}, {222, "'"},
};

constexpr std::array<uint8_t, 256> MakeIndexOfVirtualKey() {
  std::array<uint8_t, 256> table{};
  for (int i = 0; i < kKeyIndexCount; ++i) table[static_cast<size_t>(kKeyCodes[i].virtualKey)] = static_cast<uint8_t>(i + 1);
  return table;
}
constexpr std::array<uint8_t, 256> kIndexOfVirtualKey = MakeIndexOfVirtualKey();

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

// The key index of a name without modifiers; keypad says whether "Num+" was given.
int KeyIndexOfName(std::string_view name, bool keypad) {
  if (SameWord(name, "Enter")) return 3;
  if (SameWord(name, "Escape")) return 4;
  for (int i = 0; i < kKeyIndexCount; ++i) {
    std::string_view known = kKeyCodes[i].name;
    const bool knownKeypad = known.starts_with("Num+");
    if (knownKeypad) known.remove_prefix(4);
    if (knownKeypad == keypad && SameWord(known, name)) return i + 1;
  }
  // A window system may mark the keypad's other keys (arrows, Home ...) as keypad keys too.
  return keypad ? KeyIndexOfName(name, false) : 0;
}

}  // namespace

int VirtualKeyOfIndex(int keyIndex) {
  return keyIndex >= 1 && keyIndex <= kKeyIndexCount ? kKeyCodes[keyIndex - 1].virtualKey : 0;
}

int KeyIndexOfVirtualKey(int virtualKey) {
  return virtualKey >= 0 && virtualKey < 256 ? kIndexOfVirtualKey[static_cast<size_t>(virtualKey)] : 0;
}

uint16_t ShortcutOfSlot(TKeySlot slot) {
  if (!IsValidKeySlot(slot)) return 0;
  uint16_t value = static_cast<uint16_t>(VirtualKeyOfIndex(slot.keyIndex));
  if (slot.row & kKeyRowShift) value |= kShortcutShift;
  if (slot.row & kKeyRowCtrl) value |= kShortcutCtrl;
  if (slot.row & kKeyRowAlt) value |= kShortcutAlt;
  return value;
}

std::optional<TKeySlot> SlotOfShortcut(uint16_t shortcut) {
  const int keyIndex = KeyIndexOfVirtualKey(shortcut & 0xFF);
  if (keyIndex == 0) return std::nullopt;
  return TKeySlot{KeyRowOf(shortcut & kShortcutShift, shortcut & kShortcutCtrl, shortcut & kShortcutAlt), keyIndex};
}

std::string_view KeyPortableName(int keyIndex) {
  return keyIndex >= 1 && keyIndex <= kKeyIndexCount ? kKeyCodes[keyIndex - 1].name : std::string_view();
}

std::string SlotPortableText(TKeySlot slot) {
  if (!IsValidKeySlot(slot)) return {};
  std::string text;
  if (slot.row & kKeyRowCtrl) text += "Ctrl+";
  if (slot.row & kKeyRowAlt) text += "Alt+";
  if (slot.row & kKeyRowShift) text += "Shift+";
  text += KeyPortableName(slot.keyIndex);
  return text;
}

std::string ShortcutPortableText(uint16_t shortcut) {
  std::optional<TKeySlot> slot = SlotOfShortcut(shortcut);
  return slot ? SlotPortableText(*slot) : std::string();
}

std::optional<TKeySlot> SlotOfPortableText(std::string_view text) {
  // Several combinations ("Ctrl+K, Ctrl+C") are no key of a key set.
  if (text.empty() || text.find(", ") != std::string_view::npos) return std::nullopt;
  std::string_view key, modifiers;
  if (text == "+") {
    key = text;
  } else if (text.ends_with("++")) {
    key = "+";
    modifiers = text.substr(0, text.size() - 2);
  } else {
    const size_t plus = text.rfind('+');
    key = plus == std::string_view::npos ? text : text.substr(plus + 1);
    modifiers = plus == std::string_view::npos ? std::string_view() : text.substr(0, plus);
  }
  if (key.empty() || modifiers.ends_with('+')) return std::nullopt;
  int row = 0;
  bool keypad = false;
  while (!modifiers.empty()) {
    const size_t plus = modifiers.find('+');
    const std::string_view word = modifiers.substr(0, plus);
    if (SameWord(word, "Shift")) {
      row |= kKeyRowShift;
    } else if (SameWord(word, "Ctrl")) {
      row |= kKeyRowCtrl;
    } else if (SameWord(word, "Alt")) {
      row |= kKeyRowAlt;
    } else if (SameWord(word, "Num")) {
      keypad = true;
    } else {
      return std::nullopt;  // Meta, an empty word and anything unknown cannot be bound
    }
    modifiers = plus == std::string_view::npos ? std::string_view() : modifiers.substr(plus + 1);
  }
  const int keyIndex = KeyIndexOfName(key, keypad);
  if (keyIndex == 0) return std::nullopt;
  return TKeySlot{row, keyIndex};
}

std::string KeyRowDisplayPrefix(int row) {
  std::string text;
  if (row & kKeyRowShift) text += "Shift+";
  if (row & kKeyRowCtrl) text += "Ctrl+";
  if (row & kKeyRowAlt) text += "Alt+";
  return text;
}

}  // namespace kerv
