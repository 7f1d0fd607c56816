#include "tools/TKervToolLauncher.h"

#include <algorithm>
#include <limits>

#include "tools/ToolArguments.h"
#include "tools/ToolMessages.h"

namespace kerv {
namespace {

constexpr const char* kNumKey = "Num";
constexpr const char* kPathKey = "ToolPath";
constexpr const char* kNameKey = "ToolName";
constexpr const char* kShortCutKey = "ShortCutKey";
constexpr const char* kOptionKey = "Option";
constexpr const char* kSaveFileKey = "SaveFile";

// The index a tool key names ("ToolPath12" -> 12), or -1.
int IndexOfKey(const std::string& key) {
  static constexpr const char* kPrefixes[] = {kPathKey, kNameKey, kShortCutKey, kOptionKey, kSaveFileKey};
  for (const char* prefix : kPrefixes) {
    const std::string_view name = prefix;
    if (key.size() <= name.size() || !EqualsIgnoringAsciiCase(std::string_view(key).substr(0, name.size()), name)) continue;
    const std::string_view digits = std::string_view(key).substr(name.size());
    if (digits.size() > 9 || (digits.size() > 1 && digits[0] == '0')) return -1;
    int index = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return -1;
      index = index * 10 + (c - '0');
    }
    return index;
  }
  return -1;
}

// The indices of the tools to read: those below Num of which the file holds
// at least one key, in order. A tool the file says nothing about holds
// nothing, and a damaged or huge count costs no more than the keys there are.
std::vector<int> ToolIndices(const TIniFile& ini) {
  const int num = ini.ReadInteger(TKervToolLauncher::kSection, kNumKey, 0);
  std::vector<int> indices;
  if (num <= 0) return indices;
  for (const std::string& key : ini.ReadSection(TKervToolLauncher::kSection)) {
    const int index = IndexOfKey(key);
    if (index >= 0 && index < num) indices.push_back(index);
  }
  std::sort(indices.begin(), indices.end());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  return indices;
}

uint16_t ReadShortcut(const TIniFile& ini, int index) {
  const int value = ini.ReadInteger(TKervToolLauncher::kSection, kShortCutKey + std::to_string(index), 0);
  return value >= 0 && value <= std::numeric_limits<uint16_t>::max() ? static_cast<uint16_t>(value) : 0;
}

// A line break inside a value would end the line and start a key of its own.
std::string OneLine(const std::string& value) {
  std::string line = value;
  std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return line;
}

bool IsUsableFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  constexpr std::string_view kRefused = "\\/;*?\"<>|";
  return std::none_of(name.begin(), name.end(), [&](char c) {
    return static_cast<unsigned char>(c) < 0x20 || kRefused.find(c) != std::string_view::npos;
  });
}

}  // namespace

TKervToolLauncher::TKervToolLauncher(const TKervToolPorts& ports, std::string settingFolder,
                                     TToolLaunchSettings settings)
    : fs_(ports.fs),
      codePage_(ports.codePage),
      launcher_(ports.launcher),
      host_(ports.host),
      settingFolder_(IncludeTrailingSlash(settingFolder)),
      settings_(std::move(settings)) {}

std::string TKervToolLauncher::NativeText(ICodePage& codePage, const std::string& text) {
  ConversionReport report;
  codePage.Utf8ToUtf16(text, &report);
  return report.replaced == 0 ? text : codePage.Cp932ToUtf8(text);
}

TKervToolLauncherItem& TKervToolLauncher::AddItem() {
  items_.push_back(std::make_unique<TKervToolLauncherItem>());
  return static_cast<TKervToolLauncherItem&>(*items_.back());
}

void TKervToolLauncher::DeleteItem(int index) { TToolLauncher::DeleteItem(index); }

TKervToolLauncherItem* TKervToolLauncher::GetItem(int index) {
  return static_cast<TKervToolLauncherItem*>(TToolLauncher::GetItem(index));
}

void TKervToolLauncher::ReadFrom(const TIniFile& ini) {
  Clear();
  for (int i : ToolIndices(ini)) {
    const std::string n = std::to_string(i);
    TKervToolLauncherItem& item = AddItem();
    item.path = ini.ReadString(kSection, kPathKey + n, "");
    item.name = ini.ReadString(kSection, kNameKey + n, "");
    item.shortCut = ReadShortcut(ini, i);
    item.option = ini.ReadString(kSection, kOptionKey + n, "");
    item.saveFile = ini.ReadBool(kSection, kSaveFileKey + n, false);
  }
}

void TKervToolLauncher::WriteTo(TIniFile& ini) const {
  // Keys of tools beyond the new count must not linger.
  ini.EraseSection(kSection);
  ini.WriteInteger(kSection, kNumKey, Count());
  for (size_t i = 0; i < items_.size(); ++i) {
    const std::string n = std::to_string(i);
    const TToolLauncherItem& item = *items_[i];
    ini.WriteString(kSection, kPathKey + n, OneLine(item.path));
    ini.WriteString(kSection, kNameKey + n, OneLine(item.name));
    ini.WriteInteger(kSection, kShortCutKey + n, item.shortCut);
    ini.WriteString(kSection, kOptionKey + n, OneLine(item.option));
    ini.WriteBool(kSection, kSaveFileKey + n, item.saveFile);
  }
}

void TKervToolLauncher::LoadList() { ReadFrom(TIniFile(fs_, IniPath())); }

void TKervToolLauncher::SaveList() {
  TIniFile ini(fs_, IniPath());
  WriteTo(ini);
  ini.UpdateFile();
}

std::vector<uint16_t> TKervToolLauncher::ReadShortcuts(IFileSystem& fs, const std::string& settingFolder) {
  std::vector<uint16_t> shortcuts;
  try {
    TIniFile ini(fs, IncludeTrailingSlash(settingFolder) + kFileName);
    for (int i : ToolIndices(ini)) shortcuts.push_back(ReadShortcut(ini, i));
  } catch (const EFileError&) {
    shortcuts.clear();
  }
  return shortcuts;
}

std::string TKervToolLauncher::ProgramPath(const TToolLauncherItem& item) const {
  return NativeText(codePage_, item.path);
}

bool TKervToolLauncher::Exists(int index) {
  const TToolLauncherItem* item = GetItem(index);
  return item != nullptr && !item->path.empty() && fs_.FileExists(ProgramPath(*item));
}

std::vector<TToolMenuEntry> TKervToolLauncher::MenuEntries(int limit) {
  std::vector<TToolMenuEntry> entries;
  const int count = std::min(std::max(limit, 0), Count());
  for (int i = 0; i < count; ++i) {
    const TToolLauncherItem& item = *items_[static_cast<size_t>(i)];
    TToolMenuEntry entry;
    entry.index = i;
    entry.exists = Exists(i);
    entry.programPath = ProgramPath(item);
    entry.hint = entry.programPath;
    if (entry.exists) {
      entry.caption = NativeText(codePage_, item.name);
      entry.shortCut = item.shortCut;
    } else {
      entry.caption = ToolMessage(TToolMessage::MissingTool);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string TKervToolLauncher::TempFileName(ICodePage& codePage, const TToolLaunchSettings& settings) {
  std::string name = NativeText(codePage, settings.TempFile);
  return IsUsableFileName(name) ? name : std::string(kDefaultTempFile);
}

void TKervToolLauncher::Notice(const std::string& program, const char* message, const std::string& reason) {
  std::string text = program + "\r\n" + message;
  if (!reason.empty()) text += "\r\n" + reason;
  host_->NoticeError(text);
}

bool TKervToolLauncher::Launch(int index) {
  const TToolLauncherItem* item = GetItem(index);
  if (item == nullptr || launcher_ == nullptr || host_ == nullptr) return false;
  const std::string program = ProgramPath(*item);
  // Checked before saving: a document is not saved for a tool that cannot start.
  if (program.empty() || !fs_.FileExists(program)) {
    Notice(program.empty() ? NativeText(codePage_, item->name) : program, ToolMessage(TToolMessage::ProgramNotFound));
    return false;
  }
  const int mode = fs_.FileMode(program);
  if (mode >= 0 && (mode & 0111) == 0) {
    Notice(program, ToolMessage(TToolMessage::ProgramNotExecutable));
    return false;
  }
  if (item->saveFile && !host_->SaveDocument()) return false;

  const std::vector<TToolArgumentTemplate> templates = SplitToolOptions(NativeText(codePage_, item->option));
  // Read after saving: saving an untitled document gives it its name.
  TToolPlaceholderValues values = DocumentPlaceholders(host_->DocumentPath());
  values.tempName = TempFileName(codePage_, settings_);
  values.tempFolder = settingFolder_;
  values.tempPath = settingFolder_ + values.tempName;
  const bool usesTemp = std::any_of(templates.begin(), templates.end(),
                                    [](const TToolArgumentTemplate& argument) { return UsesToolTempFile(argument.text); });
  if (usesTemp) {
    try {
      fs_.WriteFile(values.tempPath, host_->DocumentText());
      tempFileWritten_ = true;
    } catch (const EFileError&) {
      host_->NoticeError(ToolMessage(TToolMessage::TempWriteFailed));
      return false;
    }
  }
  std::string reason;
  if (!launcher_->StartProgram(program, BuildToolArguments(templates, values), reason)) {
    Notice(program, ToolMessage(TToolMessage::LaunchFailed), reason);
    return false;
  }
  return true;
}

TToolEntryProblem CheckToolEntry(IFileSystem& fs, const std::string& name, const std::string& nativePath) {
  if (name.empty()) return TToolEntryProblem::EmptyName;
  if (nativePath.empty() || !fs.FileExists(nativePath)) return TToolEntryProblem::ProgramMissing;
  return TToolEntryProblem::None;
}

std::string ToolEntryProblemMessage(TToolEntryProblem problem, const std::string& nativePath) {
  switch (problem) {
    case TToolEntryProblem::EmptyName:
      return ToolMessage(TToolMessage::EnterToolName);
    case TToolEntryProblem::ProgramMissing:
      return nativePath + "\r\n" + ToolMessage(TToolMessage::ProgramNotFound);
    case TToolEntryProblem::None:
      break;
  }
  return {};
}

bool RemoveToolTempFile(IFileSystem& fs, ICodePage& codePage, const std::string& settingFolder,
                        const TToolLaunchSettings& settings) {
  if (!settings.DelTemp) return false;
  const std::string path = IncludeTrailingSlash(settingFolder) + TKervToolLauncher::TempFileName(codePage, settings);
  return fs.FileExists(path) && fs.RemoveFile(path);
}

}  // namespace kerv
