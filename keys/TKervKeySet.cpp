#include "keys/TKervKeySet.h"

#include <algorithm>

#include "keys/DefaultKeySet.h"
#include "keys/KeySetMessages.h"
#include "tools/TKervToolLauncher.h"

namespace kerv {
namespace {

constexpr const char* kInfoSection = "Info";
constexpr const char* kTypeKey = "Type";

}  // namespace

TKervKeySet::TKervKeySet(IFileSystem& fs, ICodePage& codePage, std::string settingFolder)
    : TKeySet(fs), codePage_(codePage), settingFolder_(IncludeTrailingSlash(settingFolder)) {}

bool TKervKeySet::IsDefaultName(std::string_view name) { return name.empty() || name == kDefaultKeySetName; }

bool TKervKeySet::IsValidName(std::string_view name) {
  if (name.empty()) return false;
  constexpr std::string_view kRefused = "\\/;*?\"<>|";
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(c) && i + 1 < name.size()) {
      ++i;
      continue;
    }
    // A control byte would make a file name nobody can type.
    if (c < 0x20 || kRefused.find(static_cast<char>(c)) != std::string_view::npos) return false;
  }
  return true;
}

std::string TKervKeySet::FilePath(const std::string& name) const {
  return settingFolder_ + FileName(name) + kFileExt;
}

std::string TKervKeySet::BareFilePath(const std::string& name) const { return settingFolder_ + FileName(name); }

bool TKervKeySet::IsKeySetFile(const std::string& path) {
  const int64_t size = fs_.FileSize(path);
  if (size <= 0 || size > kBareFileLimit) return false;
  try {
    return CheckHeader(TIniFile(fs_, path));
  } catch (const EFileError&) {
    return false;
  }
}

std::string TKervKeySet::StoredFile(const std::string& name) {
  if (IsDefaultName(name) || !IsValidName(name)) return {};
  std::string path = FilePath(name);
  if (fs_.FileExists(path)) return path;
  path = BareFilePath(name);
  return IsKeySetFile(path) ? path : std::string();
}

std::string TKervKeySet::SetName(const std::string& fileName) const {
  ConversionReport report;
  std::string name = codePage_.Utf8ToCp932(fileName, &report);
  // A name that does not come back to the same file name could not address it.
  if (report.replaced != 0 || FileName(name) != fileName) return {};
  return name;
}

std::vector<std::string> TKervKeySet::StoredNames() {
  std::vector<std::string> names;
  const std::string_view ext = kFileExt;
  for (const std::string& file : fs_.ListFiles(settingFolder_, "*.tks")) {
    std::string name = SetName(file.substr(0, file.size() - ext.size()));
    if (!IsDefaultName(name) && IsValidName(name)) names.push_back(std::move(name));
  }
  for (const std::string& file : fs_.ListFiles(settingFolder_, "*")) {
    if (file.ends_with(ext) || file.find('.') == 0) continue;
    std::string name = SetName(file);
    if (IsDefaultName(name) || !IsValidName(name) || !IsKeySetFile(settingFolder_ + file)) continue;
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

TKeySetLoadResult TKervKeySet::LoadSet(const std::string& name, TKeyTable& table) {
  const std::string path = StoredFile(name);
  if (path.empty()) {
    FillDefaults(table);
    AfterLoad(table);
    return {};
  }
  return Load(path, table);
}

void TKervKeySet::SaveSet(const std::string& name, const TKeyTable& table) {
  if (IsDefaultName(name) || !IsValidName(name)) throw EKeySetError(KeySetMessage(TKeySetMessage::CannotEdit));
  const std::string path = FilePath(name);
  const std::string stored = StoredFile(name);
  if (!stored.empty() && stored != path) {
    // The bare-named file's other sections come along to the new file; it stays as it was.
    TIniFile ini = TIniFile::FromText(fs_, path, TIniFile::ReadSettingsFile(fs_, stored));
    SaveIni(ini, table, true);
    return;
  }
  Save(path, table);
}

TKeyTable TKervKeySet::DefaultTable() {
  TKeyTable table;
  FillDefaults(table);
  AfterLoad(table);
  return table;
}

TKeySetApplication TKervKeySet::Apply(const std::string& name) {
  TKeySetApplication application;
  TKeyTable table;
  application.load = LoadSet(name, table);
  application.shortcuts = ActionShortcuts(table);
  return application;
}

std::vector<uint16_t> TKervKeySet::ToolShortcuts() {
  return TKervToolLauncher::ReadShortcuts(fs_, settingFolder_);
}

void TKervKeySet::AfterLoad(TKeyTable& table) { RemoveToolKeys(table, ToolShortcuts()); }

void TKervKeySet::WriteHeader(TIniFile& ini) { ini.WriteString(kInfoSection, kTypeKey, kTypeMark); }

bool TKervKeySet::CheckHeader(const TIniFile& ini) { return ini.ReadString(kInfoSection, kTypeKey, "") == kTypeMark; }

void TKervKeySet::FillDefaults(TKeyTable& table) { table = DefaultKeyTable(); }

}  // namespace kerv
