#include "keys/TKeyTable.h"

#include <algorithm>

namespace kerv {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

uint16_t TKeyTable::Entry(int row, int column) const {
  if (row < 0 || row >= kKeyRowCount || column < 0 || column >= kKeyColumnCount) return kKeyNone;
  return entries_[Position(row, column)];
}

void TKeyTable::SetEntry(int row, int column, uint16_t value) {
  if (row < 0 || row >= kKeyRowCount || column < 0 || column >= kKeyColumnCount) return;
  entries_[Position(row, column)] = value;
}

int TKeyTable::ActionAt(TKeySlot slot) const {
  if (!IsValidKeySlot(slot)) return 0;
  const int value = entries_[Position(slot.row, slot.keyIndex - 1)];
  return value >= 1 && value <= kKeyActionCount ? value : 0;
}

std::optional<TKeySlot> TKeyTable::SlotOf(int action) const {
  if (action < 1 || action > kKeyActionCount) return std::nullopt;
  for (int row = kKeyRowCount - 1; row >= 0; --row) {
    for (int keyIndex = kKeyIndexCount; keyIndex >= 1; --keyIndex) {
      if (entries_[Position(row, keyIndex - 1)] == action) return TKeySlot{row, keyIndex};
    }
  }
  return std::nullopt;
}

void TKeyTable::Set(TKeySlot slot, int action) {
  if (!IsValidKeySlot(slot)) return;
  entries_[Position(slot.row, slot.keyIndex - 1)] =
      action >= 1 && action < kKeyNone ? static_cast<uint16_t>(action) : kKeyNone;
}

std::string TKeyTable::ToBytes() const {
  std::string bytes;
  bytes.reserve(kKeyTableBytes);
  for (uint16_t entry : entries_) {
    bytes.push_back(static_cast<char>(entry & 0xFF));
    bytes.push_back(static_cast<char>(entry >> 8));
  }
  return bytes;
}

std::string TKeyTable::ToHex() const {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const std::string bytes = ToBytes();
  std::string hex;
  hex.reserve(kKeyTableHexDigits);
  for (unsigned char byte : bytes) {
    hex.push_back(kDigits[byte >> 4]);
    hex.push_back(kDigits[byte & 0x0F]);
  }
  return hex;
}

TKeyHexError TKeyTable::FromHex(std::string_view hex) {
  const size_t digits = std::min(hex.size(), kKeyTableHexDigits);
  for (size_t i = 0; i < digits; ++i) {
    if (HexValue(hex[i]) < 0) return TKeyHexError::NotHex;
  }
  if (digits < kKeyTableHexDigits) return TKeyHexError::Short;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const size_t at = 4 * i;
    const int low = HexValue(hex[at]) * 16 + HexValue(hex[at + 1]);
    const int high = HexValue(hex[at + 2]) * 16 + HexValue(hex[at + 3]);
    entries_[i] = static_cast<uint16_t>(high << 8 | low);
  }
  return TKeyHexError::None;
}

void RemoveToolKeys(TKeyTable& table, std::span<const uint16_t> toolShortcuts) {
  for (uint16_t shortcut : toolShortcuts) {
    if (shortcut == 0) continue;
    if (std::optional<TKeySlot> slot = SlotOfShortcut(shortcut)) table.Set(*slot, 0);
  }
}

TActionShortcuts ActionShortcuts(const TKeyTable& table) {
  TActionShortcuts shortcuts{};
  // Walking in row and key order lets a later slot overwrite an earlier one.
  for (int row = 0; row < kKeyRowCount; ++row) {
    for (int keyIndex = 1; keyIndex <= kKeyIndexCount; ++keyIndex) {
      const TKeySlot slot{row, keyIndex};
      if (int action = table.ActionAt(slot)) shortcuts[static_cast<size_t>(action)] = ShortcutOfSlot(slot);
    }
  }
  return shortcuts;
}

TActionShortcuts EffectiveShortcuts(const TKeyTable& table, std::span<const uint16_t> toolShortcuts) {
  TKeyTable effective = table;
  RemoveToolKeys(effective, toolShortcuts);
  return ActionShortcuts(effective);
}

}  // namespace kerv
