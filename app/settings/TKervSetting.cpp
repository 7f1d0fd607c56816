#include "app/settings/TKervSetting.h"

#include <algorithm>
#include <type_traits>

namespace kerv {
namespace {

int RuledValue(const TKervSettingKey& key, int value) {
  switch (key.rule) {
    case TKervValueRule::LockMode: return (value == 2 || value == 3) ? value : 0;
    case TKervValueRule::RegBackupKind: return (value >= 0 && value <= 2) ? value : 0;
    case TKervValueRule::AtLeastOne: return value >= 1 ? value : key.defaultValue;
    case TKervValueRule::NotNegative: return value >= 0 ? value : key.defaultValue;
    case TKervValueRule::StyleBits: return value & 7;
    case TKervValueRule::AsRead: break;
  }
  return value;
}

uint16_t SetBit(uint16_t word, uint16_t bit, bool set) {
  return static_cast<uint16_t>(set ? (word | bit) : (word & ~bit));
}

}  // namespace

std::string IniLineValue(const std::string& value) {
  size_t end = value.find_first_of(std::string_view("\r\n\0", 3));
  return end == std::string::npos ? value : value.substr(0, end);
}

std::string TKervTableSetting::MachineDefault(const TKervSettingKey&) const { return std::string(); }

std::string TKervTableSetting::DefaultText(const TKervSettingKey& key) const {
  if (key.type != TKervKeyType::Str) return std::to_string(key.defaultValue);
  return key.defaultText != nullptr ? std::string(key.defaultText) : MachineDefault(key);
}

void TKervTableSetting::SetDefaults() {
  for (const TKervSettingKey& key : keys_) ReadKey(nullptr, key);
}

void TKervTableSetting::ReadKey(const TIniFile* ini, const TKervSettingKey& key) {
  auto readBool = [&] {
    bool fallback = key.defaultValue != 0;
    return ini != nullptr ? ini->ReadBool(key.section, key.key, fallback) : fallback;
  };
  std::visit(
      [&](auto field) {
        using Field = decltype(field);
        if constexpr (std::is_same_v<Field, bool*>) {
          *field = readBool();
        } else if constexpr (std::is_same_v<Field, int*>) {
          int value = ini != nullptr ? RuledValue(key, ini->ReadInteger(key.section, key.key, key.defaultValue))
                                     : key.defaultValue;
          // A value beyond the key's range (a hand-edited or damaged file) is
          // held to it, as the settings dialog would: a timer or a size never
          // overflows.
          if (key.HasRange()) value = std::clamp(value, key.minValue, key.maxValue);
          *field = value;
        } else if constexpr (std::is_same_v<Field, std::string*>) {
          if (ini != nullptr && ini->ValueExists(key.section, key.key)) {
            // Cut at a zero byte, the text ends as the reader trims it, so
            // that writing it back and reading it again gives the same text.
            std::string text = IniLineValue(ini->ReadString(key.section, key.key, std::string()));
            while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
            *field = std::move(text);
          } else {
            *field = DefaultText(key);
          }
        } else {
          *field.word = SetBit(*field.word, field.bit, readBool());
        }
      },
      key.field(*this));
}

void TKervTableSetting::Load(const TIniFile& ini) {
  for (const TKervSettingKey& key : keys_) ReadKey(&ini, key);
}

void TKervTableSetting::Save(TIniFile& ini) {
  for (const TKervSettingKey& key : keys_) {
    std::visit(
        [&](auto field) {
          using Field = decltype(field);
          if constexpr (std::is_same_v<Field, bool*>) {
            ini.WriteBool(key.section, key.key, *field);
          } else if constexpr (std::is_same_v<Field, int*>) {
            // Only the style mask applies on writing; other values are stored as set.
            int value = key.rule == TKervValueRule::StyleBits ? RuledValue(key, *field) : *field;
            ini.WriteInteger(key.section, key.key, value);
          } else if constexpr (std::is_same_v<Field, std::string*>) {
            ini.WriteString(key.section, key.key, IniLineValue(*field));
          } else {
            ini.WriteBool(key.section, key.key, (*field.word & field.bit) != 0);
          }
        },
        key.field(*this));
  }
}

}  // namespace kerv
