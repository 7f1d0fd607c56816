// The key table, its byte layout, the key codes and the built-in set.

#include <gtest/gtest.h>

#include <set>

#include "keys/DefaultKeySet.h"
#include "keys/TKeyTable.h"

namespace kerv {
namespace {

TEST(KeyTableTest, CtrlNForTheFirstActionLiesAtByte588) {
  TKeyTable table;
  table.Set({2, 39}, 1);
  const std::string bytes = table.ToBytes();
  ASSERT_EQ(bytes.size(), kKeyTableBytes);
  EXPECT_EQ(bytes.substr(588, 2), std::string("\x01\x00", 2));
  const std::string hex = table.ToHex();
  ASSERT_EQ(hex.size(), kKeyTableHexDigits);
  EXPECT_EQ(hex.substr(1176, 4), "0100");
  // Every other entry is none.
  EXPECT_EQ(hex.substr(0, 8), "FFFFFFFF");
  EXPECT_EQ(std::count(hex.begin(), hex.end(), 'F'), static_cast<long>(kKeyTableHexDigits) - 4);

  EXPECT_EQ(ShortcutOfSlot({2, 39}), kShortcutCtrl | 'N');
  EXPECT_EQ(ActionShortcuts(table)[1], kShortcutCtrl | 'N');
  EXPECT_EQ(SlotPortableText({2, 39}), "Ctrl+N");
}

TEST(KeyTableTest, EntriesAreLittleEndianRowAfterRow) {
  TKeyTable table;
  table.SetEntry(7, 127, 0x1234);
  table.SetEntry(0, 0, 0xABCD);
  const std::string hex = table.ToHex();
  EXPECT_EQ(hex.substr(0, 4), "CDAB");
  EXPECT_EQ(hex.substr(kKeyTableHexDigits - 4), "3412");
  TKeyTable back;
  ASSERT_EQ(back.FromHex(hex), TKeyHexError::None);
  EXPECT_EQ(back, table);
}

TEST(KeyTableTest, HexThatCannotBeReadLeavesTheTableAlone) {
  const std::string good = TKeyTable().ToHex();
  std::string lower = good;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string badLate = good;
  badLate[4095] = 'G';
  std::string badEarly = good.substr(0, 100);
  badEarly[10] = ' ';
  const struct {
    std::string hex;
    TKeyHexError expected;
  } cases[] = {
      {"", TKeyHexError::Short},
      {good.substr(0, 4095), TKeyHexError::Short},
      {badLate, TKeyHexError::NotHex},
      {badEarly, TKeyHexError::NotHex},  // a bad digit is named before the shortness
      {lower, TKeyHexError::None},
      {good + "00garbage", TKeyHexError::None},  // text after the table is not read
  };
  for (const auto& c : cases) {
    TKeyTable table;
    table.Set({0, 1}, 5);
    const TKeyTable before = table;
    EXPECT_EQ(table.FromHex(c.hex), c.expected) << c.hex.size();
    if (c.expected != TKeyHexError::None) {
      EXPECT_EQ(table, before);
    }
  }
}

TEST(KeyTableTest, TheLaterSlotWinsWhenTwoNameOneAction) {
  TKeyTable table;
  table.Set({3, 10}, 44);
  table.Set({1, 80}, 44);   // earlier row, higher key: loses
  table.Set({3, 5}, 44);    // same row, lower key: loses
  EXPECT_EQ(table.SlotOf(44), (TKeySlot{3, 10}));
  EXPECT_EQ(ActionShortcuts(table)[44], ShortcutOfSlot({3, 10}));
  table.Set({7, 1}, 44);
  EXPECT_EQ(table.SlotOf(44), (TKeySlot{7, 1}));
}

TEST(KeyTableTest, SlotsThatNameNoActionAreNone) {
  TKeyTable table;
  table.Set({0, 1}, 114);         // one past the last action
  table.SetEntry(0, 1, 0);        // 0 also means none
  table.SetEntry(0, 100, 5);      // a column beyond the keys is never used
  EXPECT_EQ(table.ActionAt({0, 1}), 0);
  EXPECT_EQ(table.ActionAt({0, 2}), 0);
  EXPECT_FALSE(table.SlotOf(5));
  EXPECT_FALSE(table.SlotOf(114));
  const TActionShortcuts shortcuts = ActionShortcuts(table);
  EXPECT_TRUE(std::all_of(shortcuts.begin(), shortcuts.end(), [](uint16_t s) { return s == 0; }));
}

TEST(KeyCodesTest, KeyIndicesAndVirtualKeys) {
  const std::pair<int, int> cases[] = {
      {1, 8},    {2, 9},    {3, 13},   {4, 27},   {5, 32},   {6, 33},   {14, 45},  {15, 46},
      {16, 48},  {25, 57},  {26, 65},  {39, 78},  {51, 90},  {52, 96},  {61, 105}, {62, 106},
      {63, 107}, {64, 109}, {65, 110}, {66, 111}, {67, 112}, {69, 114}, {78, 123}, {79, 186},
      {85, 192}, {86, 219}, {89, 222},
  };
  for (const auto& [keyIndex, virtualKey] : cases) {
    EXPECT_EQ(VirtualKeyOfIndex(keyIndex), virtualKey) << keyIndex;
    EXPECT_EQ(KeyIndexOfVirtualKey(virtualKey), keyIndex) << virtualKey;
  }
  std::set<int> seen;
  for (int keyIndex = 1; keyIndex <= kKeyIndexCount; ++keyIndex) {
    const int virtualKey = VirtualKeyOfIndex(keyIndex);
    EXPECT_TRUE(seen.insert(virtualKey).second) << keyIndex;
    EXPECT_EQ(KeyIndexOfVirtualKey(virtualKey), keyIndex);
  }
  for (int unbound : {0, 10, 16, 17, 18, 19, 41, 44, 91, 108, 124, 145, 193, 223, 255, 256, -1}) {
    EXPECT_EQ(KeyIndexOfVirtualKey(unbound), 0) << unbound;
  }
  EXPECT_EQ(VirtualKeyOfIndex(0), 0);
  EXPECT_EQ(VirtualKeyOfIndex(90), 0);
}

TEST(KeyCodesTest, ShortcutValuesAndSlots) {
  for (int row = 0; row < kKeyRowCount; ++row) {
    for (int keyIndex = 1; keyIndex <= kKeyIndexCount; ++keyIndex) {
      const uint16_t shortcut = ShortcutOfSlot({row, keyIndex});
      ASSERT_EQ(SlotOfShortcut(shortcut), (TKeySlot{row, keyIndex}));
      ASSERT_EQ(SlotOfPortableText(SlotPortableText({row, keyIndex})), (TKeySlot{row, keyIndex}))
          << SlotPortableText({row, keyIndex});
    }
  }
  EXPECT_EQ(ShortcutOfSlot({1 | 2 | 4, 69}), 114 | 0x2000 | 0x4000 | 0x8000);
  EXPECT_EQ(ShortcutOfSlot({8, 1}), 0);
  EXPECT_EQ(ShortcutOfSlot({0, 90}), 0);
  EXPECT_FALSE(SlotOfShortcut(0));
  EXPECT_FALSE(SlotOfShortcut(kShortcutCtrl | 19));  // Pause has no key index
  EXPECT_EQ(KeyRowDisplayPrefix(7), "Shift+Ctrl+Alt+");
  EXPECT_EQ(KeyRowDisplayPrefix(0), "");
}

TEST(KeyCodesTest, PortableTexts) {
  const struct {
    const char* text;
    std::optional<TKeySlot> slot;
  } cases[] = {
      {"Ctrl+Shift+S", TKeySlot{3, 44}},
      {"shift+ctrl+s", TKeySlot{3, 44}},
      {"Alt+F4", TKeySlot{4, 70}},
      {"Num+5", TKeySlot{0, 57}},
      {"Ctrl+Num++", TKeySlot{2, 63}},
      {"Num+-", TKeySlot{0, 64}},
      {"-", TKeySlot{0, 82}},
      {"Ctrl+,", TKeySlot{2, 81}},
      {"Enter", TKeySlot{0, 3}},
      {"Num+Enter", TKeySlot{0, 3}},
      {"Num+Left", TKeySlot{0, 10}},
      {"Escape", TKeySlot{0, 4}},
      {"Shift+Return", TKeySlot{1, 3}},
      {"Meta+A", std::nullopt},
      {"Ctrl+K, Ctrl+C", std::nullopt},
      {"Ctrl+", std::nullopt},
      {"Ctrl++A", std::nullopt},
      {"+", std::nullopt},
      {"Pause", std::nullopt},
      {"", std::nullopt},
      {"F13", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(SlotOfPortableText(c.text), c.slot) << c.text;
  EXPECT_EQ(ShortcutPortableText(kShortcutAlt | kShortcutCtrl | kShortcutShift | 'A'), "Ctrl+Alt+Shift+A");
  EXPECT_EQ(ShortcutPortableText(19), "");
}

// The built-in set, as the window's action table lists it ("Ctrl+N" for action 1 …).
TEST(DefaultKeySetTest, TheThirtyFiveBindings) {
  const std::pair<const char*, int> expected[] = {
      {"Ctrl+N", 1},          {"Ctrl+Shift+N", 94},  {"Ctrl+O", 2},       {"Ctrl+S", 6},
      {"Ctrl+Shift+S", 7},    {"Ctrl+P", 8},         {"Ctrl+A", 10},      {"Ctrl+Z", 11},
      {"Ctrl+Y", 12},         {"Ctrl+X", 13},        {"Ctrl+C", 14},      {"Ctrl+V", 17},
      {"Ctrl+B", 18},         {"Ctrl+L", 24},        {"Ctrl+U", 25},      {"Ctrl+M", 30},
      {"Ctrl+D", 27},         {"Ctrl+H", 26},        {"Ctrl+Tab", 40},    {"Ctrl+Alt+Tab", 41},
      {"Ctrl+Space", 42},     {"Ctrl+Alt+Space", 43}, {"F3", 44},         {"Shift+F3", 45},
      {"Ctrl+F", 50},         {"Ctrl+Shift+F", 46},  {"F4", 47},          {"Shift+F4", 48},
      {"Shift+Return", 61},   {"Ctrl+Home", 67},     {"Ctrl+End", 69},    {"Ctrl+Shift+Tab", 107},
      {"Ctrl+E", 75},         {"F1", 102},           {"Ctrl+Shift+E", 103},
  };
  ASSERT_EQ(DefaultKeyBindings().size(), std::size(expected));
  const TKeyTable table = DefaultKeyTable();
  const TActionShortcuts shortcuts = ActionShortcuts(table);
  int bound = 0;
  for (uint16_t shortcut : shortcuts) bound += shortcut != 0;
  EXPECT_EQ(bound, 35);
  for (const auto& [text, action] : expected) {
    std::optional<TKeySlot> slot = SlotOfPortableText(text);
    ASSERT_TRUE(slot) << text;
    EXPECT_EQ(table.ActionAt(*slot), action) << text;
    EXPECT_EQ(ShortcutPortableText(shortcuts[static_cast<size_t>(action)]), text);
  }
}

TEST(DefaultKeySetTest, AToolOnF3TakesF3FromFindNext) {
  const uint16_t f3 = 114;
  const uint16_t tools[] = {0, f3, kShortcutCtrl | 19};
  const TActionShortcuts shortcuts = EffectiveShortcuts(DefaultKeyTable(), tools);
  EXPECT_EQ(shortcuts[44], 0);                            // Act_Srch_FindNext
  EXPECT_EQ(shortcuts[45], kShortcutShift | f3);          // Shift+F3 stays with Act_Srch_FindPrev
  EXPECT_EQ(shortcuts[1], kShortcutCtrl | 'N');
}

}  // namespace
}  // namespace kerv
