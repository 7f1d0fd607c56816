#pragma once
// The key table of a key set: 8 modifier rows of 128 16-bit entries, each
// the number (1-based, in the order of the main window's action list) of
// the action bound to that key combination, or kKeyNone. Stored row after
// row with every entry little-endian, 2048 bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "keys/TKeyCodes.h"

namespace kerv {

inline constexpr uint16_t kKeyNone = 0xFFFF;
// Action numbers 1..kKeyActionCount name actions; 0 and larger numbers are none.
inline constexpr int kKeyActionCount = 113;
inline constexpr size_t kKeyTableBytes = 2048;
inline constexpr size_t kKeyTableHexDigits = 2 * kKeyTableBytes;

// What is wrong with the hexadecimal text of a key table.
enum class TKeyHexError { None, Short, NotHex };

class TKeyTable {
 public:
  TKeyTable() { Clear(); }

  // Every entry none.
  void Clear() { entries_.fill(kKeyNone); }

  // The raw entry of a row 0-7 and a column 0-127 (kKeyNone outside).
  uint16_t Entry(int row, int column) const;
  void SetEntry(int row, int column, uint16_t value);

  // The action a valid slot holds, 0 for none (also for numbers that name no action).
  int ActionAt(TKeySlot slot) const;
  // The slot that gives an action its shortcut: when several slots name it,
  // the last in row and key order.
  std::optional<TKeySlot> SlotOf(int action) const;
  // Puts the action number into a valid slot (kKeyNone for 0); nothing else changes.
  void Set(TKeySlot slot, int action);

  // The 2048 bytes in file order.
  std::string ToBytes() const;
  // The bytes as 4096 upper-case hexadecimal digits.
  std::string ToHex() const;
  // Reads the first 4096 digits (either case) of hex into the table; text
  // after them is ignored. On an error the table is left as it was.
  TKeyHexError FromHex(std::string_view hex);

  bool operator==(const TKeyTable&) const = default;

 private:
  static constexpr size_t Position(int row, int column) {
    return static_cast<size_t>(row) * kKeyColumnCount + static_cast<size_t>(column);
  }
  std::array<uint16_t, kKeyRowCount * kKeyColumnCount> entries_;
};

// The shortcut value of every action, by action number (index 0 unused; 0 for none).
using TActionShortcuts = std::array<uint16_t, kKeyActionCount + 1>;

// Frees the keys that tools use: each shortcut value's slot becomes none.
void RemoveToolKeys(TKeyTable& table, std::span<const uint16_t> toolShortcuts);
// The shortcut of every action the table binds; where several slots name
// one action, the last in row and key order wins.
TActionShortcuts ActionShortcuts(const TKeyTable& table);
// The shortcuts the window gives its actions: the table's, less every key a
// tool of the tool list uses (a tool's shortcut takes its key away from the
// action that had it).
TActionShortcuts EffectiveShortcuts(const TKeyTable& table, std::span<const uint16_t> toolShortcuts);

}  // namespace kerv
