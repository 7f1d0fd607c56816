#pragma once
// The settings dialog's layout as data: its pages in order and, for each key
// it edits, the page, the kind of control and the label (UTF-8). The ranges
// of number fields are the key table's; the dialog builds every control from
// these two tables, so adding a key to a page is one line here.

#include <span>
#include <string_view>

#include "app/settings/TKervSetting.h"

namespace kerv {

// In the order the dialog lists them.
enum class TKervSettingPage : int {
  File,
  FileDialog,
  Backup,
  Editor,
  View,
  InfoBar,
  Window,
  EditMode,
  Tools,
  VuvEConverter,
  Keys,  // the key-set page, filled in by the key sets' own dialog part
};
inline constexpr int kSettingPageCount = 11;

enum class TKervFieldKind {
  Check,         // a check box: the boolean as shown
  NegatedCheck,  // a check box whose label asks the opposite of the key
  Number,        // a spin box limited to the key's range
  Choice,        // a drop-down list of values (an integer or a boolean key)
  Radio,         // a group of radio buttons, one a value
  Text,          // a line of Shift_JIS text
  FileName,      // a native file name
  Folder,        // a native folder name, with a button to pick one
  Colour,        // a 0x00BBGGRR colour, with a button to pick one
  StyleBits,     // bold, italic and underline as three check boxes
  FilterList,    // a filter list, edited row by row in the filter editor
};

struct TKervChoice {
  int value;
  const char* label;
};

struct TKervSettingField {
  TKervSettingPage page;
  const char* section;
  const char* key;
  TKervFieldKind kind;
  const char* label;
  std::span<const TKervChoice> choices;  // Choice, Radio (in the order shown), StyleBits (the bits)
  // Radio: the value when no button is checked. Number without a range in
  // the key table: the widget's bounds (the key's stored range stays none).
  int noneValue;
  int widgetMin;
  int widgetMax;
};

struct TKervSettingPageInfo {
  TKervSettingPage page;
  const char* caption;
};

std::span<const TKervSettingPageInfo> SettingPages();
std::span<const TKervSettingField> SettingFields();
// The field of one key (names match without regard to case), or null when the dialog does not show it.
const TKervSettingField* FindSettingField(std::string_view section, std::string_view key);
// The key-table entry behind a field.
const TKervSettingKey& FieldKey(const TKervSettingField& field);

}  // namespace kerv
