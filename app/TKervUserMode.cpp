#include "app/TKervUserMode.h"

#include "app/TKervMessages.h"
#include "document/TIniFile.h"

namespace kerv {
namespace {

// Settings files hold Shift_JIS; a path typed in UTF-8 by a Linux user is taken as it is.
std::string NativePath(ICodePage& codePage, const std::string& bytes) {
  ConversionReport report;
  codePage.Utf8ToUtf16(bytes, &report);
  if (report.replaced == 0) return bytes;
  return codePage.Cp932ToUtf8(bytes);
}

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return std::string();
  size_t end = text.find_last_not_of(' ');
  return text.substr(begin, end - begin + 1);
}

}  // namespace

std::string DataFolderOf(IFileSystem& fs, const std::string& programFolder) {
  std::string folder = IncludeTrailingSlash(programFolder);
  constexpr std::string_view kBin = "/bin/";
  if (folder.size() > kBin.size() && folder.ends_with(kBin)) {
    std::string data = folder.substr(0, folder.size() - kBin.size()) + "/share/kerv/";
    if (fs.FolderExists(data)) return data;
  }
  return folder;
}

TKervUserMode::TKervUserMode(TKervPlatform& platform, std::string programFolder)
    : platform_(platform), programFolder_(IncludeTrailingSlash(programFolder)) {}

std::string TKervUserMode::GetSettingFolder() {
  IFileSystem& fs = platform_.fs;
  std::string iniPath = programFolder_ + "usermode.ini";
  if (!fs.FileExists(iniPath)) return InstalledFolder();

  TIniFile ini(fs, iniPath);
  settingPath_ = ini.ReadString("MultiUser", "SettingPath", "");
  switch (ini.ReadInteger("MultiUser", "MultiUserMode", 0)) {
    case 1: return PerUserFolder();
    case 2: return FixedFolder();
    default: return programFolder_;
  }
}

std::string TKervUserMode::InstalledFolder() {
  // An installed program never writes into its own folders (root could):
  // its settings go to the user's configuration folder, made and seeded from
  // the data folder. A build tree or a portable folder keeps them beside the
  // program while it can write there.
  IFileSystem& fs = platform_.fs;
  const std::string dataFolder = DataFolderOf(fs, programFolder_);
  const bool installed = dataFolder != programFolder_;
  if (!installed && fs.IsWritableFolder(programFolder_)) return programFolder_;
  std::string configRoot = fs.UserConfigFolder();
  std::string folder = configRoot + "kerv/";
  if (fs.FolderExists(folder)) return folder;
  if (!fs.FolderExists(configRoot)) fs.CreateFolder(configRoot);
  return PrepareFolder(folder, dataFolder) ? folder : std::string();
}

std::string TKervUserMode::PerUserFolder() {
  IFileSystem& fs = platform_.fs;
  std::string base = programFolder_ + "userset/";
  std::string folder;
  if (fs.FolderExists(base) || fs.CreateFolder(base)) {
    // The name as the system reports it, limited as a 129-byte buffer would.
    std::string user = Trim(fs.UserName().substr(0, 128));
    if (!user.empty()) folder = base + user + "/";
  }
  if (!folder.empty() && !fs.FolderExists(folder) && !PrepareFolder(folder, programFolder_)) folder.clear();
  if (folder.empty()) platform_.dialogs.ShowStandardError(messages::kUserFolderFailed);
  return folder;
}

std::string TKervUserMode::FixedFolder() {
  if (settingPath_.empty()) return programFolder_;
  std::string folder = IncludeTrailingSlash(AbsolutePath(NativePath(platform_.codePage, settingPath_), programFolder_));
  if (!platform_.fs.FolderExists(folder) && !PrepareFolder(folder, programFolder_)) return std::string();
  return folder;
}

bool TKervUserMode::PrepareFolder(const std::string& folder, const std::string& source) {
  IFileSystem& fs = platform_.fs;
  std::string target = IncludeTrailingSlash(folder);
  std::string from = IncludeTrailingSlash(source);
  if (!fs.FolderExists(target) && !fs.CreateFolder(target)) {
    platform_.dialogs.ShowStandardError(messages::kSettingFolderFailed);
    return false;
  }
  // Seeding copies are best effort: a failed copy leaves the default to the program.
  for (const char* name : {"kerv.ini", "kervtool.ini", "editmode.ini"}) {
    if (fs.FileExists(from + name)) fs.CopyFile(from + name, target + name);
  }
  for (const char* pattern : {"*.em2", "*.tks"}) {
    for (const std::string& name : fs.ListFiles(from, pattern)) fs.CopyFile(from + name, target + name);
  }
  return true;
}

}  // namespace kerv
