#pragma once
// One settings group of kerv.ini, and the key descriptors that drive reading,
// writing, defaults and the settings dialog's ranges from a single table.

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "document/TIniFile.h"

namespace kerv {

class TKervSetting {
 public:
  virtual ~TKervSetting() = default;
  // Takes every value of the group from ini; a missing key or an unreadable
  // value gives its default.
  virtual void Load(const TIniFile& ini) = 0;
  virtual void Save(TIniFile& ini) = 0;

 protected:
  // Groups are values: the settings dialog edits a copy and hands it back.
  TKervSetting() = default;
  TKervSetting(const TKervSetting&) = default;
  TKervSetting& operator=(const TKervSetting&) = default;
};

// The types of the file format: B boolean ("1"/"0"), I decimal integer, S text.
enum class TKervKeyType : char { Bool = 'B', Int = 'I', Str = 'S' };

// What reading or writing does to a value beyond the format's own rules.
enum class TKervValueRule : uint8_t {
  AsRead,
  LockMode,       // 0, 2 or 3; any other value reads as 0 (no lock)
  RegBackupKind,  // 0, 1 or 2; any other value reads as 0 (none)
  AtLeastOne,     // a value below 1 would stop a timer or a size from working: the default instead
  NotNegative,    // a negative count or size is unusable: the default instead
  StyleBits,      // font style: bold, italic and underline only, as read and as written
};

// A bit of a flag word stored as a boolean key of its own.
struct TKervFlagBit {
  uint16_t* word;
  uint16_t bit;
};
using TKervFieldRef = std::variant<bool*, int*, std::string*, TKervFlagBit>;

struct TKervSettingKey {
  int group;  // which group of its table the key belongs to
  const char* section;
  const char* key;
  TKervKeyType type;
  int defaultValue;         // B (0 or 1) and I
  const char* defaultText;  // S; null when the default depends on the machine
  int minValue;             // the settings dialog's range of an I key, inclusive;
  int maxValue;             //   minValue > maxValue when the dialog has none
  TKervValueRule rule;
  // The field of a group object that holds the value.
  TKervFieldRef (*field)(TKervSetting& setting);

  bool HasRange() const { return minValue <= maxValue; }
  bool InRange(int value) const { return !HasRange() || (value >= minValue && value <= maxValue); }
};

inline constexpr int kNoMin = 0;
inline constexpr int kNoMax = -1;

// A group whose keys are all described by a table: Load, Save and the
// defaults are the table's, so no group repeats a key name or a default.
class TKervTableSetting : public TKervSetting {
 public:
  void Load(const TIniFile& ini) override;
  void Save(TIniFile& ini) override;
  // Every field to its default, as a missing file gives.
  void SetDefaults();
  std::span<const TKervSettingKey> Keys() const { return keys_; }
  // The default of one key as the file would hold it ("1"/"0", decimal or text).
  std::string DefaultText(const TKervSettingKey& key) const;

 protected:
  explicit TKervTableSetting(std::span<const TKervSettingKey> keys) : keys_(keys) {}
  // The default of a text key whose table entry has none (one that depends on the machine).
  virtual std::string MachineDefault(const TKervSettingKey& key) const;

 private:
  // Without an ini (or without the key in it) the field takes its default.
  void ReadKey(const TIniFile* ini, const TKervSettingKey& key);

  std::span<const TKervSettingKey> keys_;
};

// A text value as one line of the file can hold it: internal texts end at
// their first zero byte, and a line break would start a new entry (or a
// section) of its own.
std::string IniLineValue(const std::string& value);

}  // namespace kerv
