#include "keys/TKeySet.h"

#include "keys/KeySetMessages.h"

namespace kerv {
namespace {

constexpr const char* kDataSection = "Data";
constexpr const char* kKeySetKey = "KeySet";

std::string DamageMessage(const std::string& fileName, const std::string& reason) {
  return "\"" + fileName + "\"\r\n" + reason + "\r\n" + KeySetMessage(TKeySetMessage::UsingDefault);
}

}  // namespace

void TKeySet::WriteHeader(TIniFile&) {}

bool TKeySet::CheckHeader(const TIniFile&) { return true; }

std::string TKeySet::Examine(const TIniFile& ini, TKeyTable* table) {
  if (!CheckHeader(ini)) return KeySetMessage(TKeySetMessage::DamagedType);
  TKeyTable read;
  switch (read.FromHex(ini.ReadString(kDataSection, kKeySetKey, ""))) {
    case TKeyHexError::Short:
      return KeySetMessage(TKeySetMessage::DamagedShort);
    case TKeyHexError::NotHex:
      return KeySetMessage(TKeySetMessage::DamagedNotHex);
    case TKeyHexError::None:
      break;
  }
  if (table != nullptr) *table = read;
  return {};
}

TKeySetLoadResult TKeySet::Load(const std::string& fileName, TKeyTable& table) {
  TKeySetLoadResult result;
  if (fs_.FileExists(fileName)) {
    std::string problem;
    try {
      TIniFile ini(fs_, fileName);
      problem = Examine(ini, &table);
    } catch (const EFileError& error) {
      problem = std::string(KeySetMessage(TKeySetMessage::Unreadable)) + "\r\n" + error.what();
    }
    if (problem.empty()) {
      result.status = TKeySetLoadStatus::Loaded;
    } else {
      result.status = TKeySetLoadStatus::Damaged;
      result.error = DamageMessage(fileName, problem);
    }
  }
  if (!result.Loaded()) FillDefaults(table);
  AfterLoad(table);
  return result;
}

void TKeySet::Save(const std::string& fileName, const TKeyTable& table) {
  TIniFile ini(fs_, fileName);
  SaveIni(ini, table, fs_.FileExists(fileName) && fs_.FileSize(fileName) > 0);
}

void TKeySet::SaveIni(TIniFile& ini, const TKeyTable& table, bool existing) {
  if (existing) {
    std::string problem = Examine(ini, nullptr);
    if (!problem.empty()) {
      throw EKeySetError("\"" + ini.FileName() + "\"\r\n" + problem + "\r\n" +
                         KeySetMessage(TKeySetMessage::NotOverwritten));
    }
  }
  WriteHeader(ini);
  ini.WriteString(kDataSection, kKeySetKey, table.ToHex());
  ini.UpdateFile();
}

}  // namespace kerv
