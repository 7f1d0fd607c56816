#include "app/settings/TKervSettingManager.h"

#include <algorithm>
#include <utility>

namespace kerv {
namespace {

const char* const kIniName = "kerv.ini";
const char* const kSearchHistory = "SearchHistory";
const char* const kReplaceHistory = "ReplaceHistory";

}  // namespace

TKervSettings::TKervSettings(IFileSystem& fs, std::string iniFileName) : fs_(fs), iniFileName_(std::move(iniFileName)) {}

bool TKervSettings::DocumentIsIniFile() {
  if (lock_ == nullptr) return false;
  std::string document = lock_->DocumentFileName();
  if (document.empty()) return false;
  return document == iniFileName_ || fs_.ResolveLink(document) == fs_.ResolveLink(iniFileName_);
}

void TKervSettings::BeginIniAccess() {
  // A feature's own bracket may enclose the store's: only the outermost acts,
  // so the document stays unlocked until the last access is over.
  if (accessDepth_++ > 0) return;
  if (DocumentIsIniFile()) {
    lock_->Unlock();
    unlocked_ = true;
  }
}

void TKervSettings::EndIniAccess() {
  if (accessDepth_ == 0 || --accessDepth_ > 0) return;
  if (unlocked_) {
    unlocked_ = false;
    if (lock_ != nullptr) lock_->ReapplyLock();
  }
}

TKervIniAccess::~TKervIniAccess() {
  try {
    settings_.EndIniAccess();
  } catch (const std::exception&) {
    // Taking a lock again fails silently, as every lock of a document does.
  }
}

void TKervSettings::Access(bool write, const std::function<void(TIniFile&)>& work) {
  TKervIniAccess access(*this);
  TIniFile ini(fs_, iniFileName_);
  work(ini);
  if (write) ini.UpdateFile();
}

void TKervSettings::LoadSetting(TKervSetting& setting) {
  Access(false, [&](TIniFile& ini) { setting.Load(ini); });
}

void TKervSettings::SaveSetting(TKervSetting& setting) {
  Access(true, [&](TIniFile& ini) { setting.Save(ini); });
}

TKervSettingManager::TKervSettingManager(IFileSystem& fs, const std::string& settingFolder)
    : TKervSettings(fs, IncludeTrailingSlash(settingFolder) + kIniName), systemTempFolder_(fs.TempFolder()) {
  CreateSettings();
}

TKervSettingManager::~TKervSettingManager() { FreeSettings(); }

void TKervSettingManager::CreateSettings() {
  backup_ = std::make_unique<TKervBackupSetting>(systemTempFolder_);
  eachProcess_ = std::make_unique<TKervEachProcessSetting>();
  editMode_ = std::make_unique<TKervEditModeSetting>();
  editor_ = std::make_unique<TKervEditorSetting>();
  file_ = std::make_unique<TKervFileSetting>();
  fileDialog_ = std::make_unique<TKervFileDialogSetting>();
  infoBar_ = std::make_unique<TKervInfoBarSetting>();
  keySet_ = std::make_unique<TKervKeySetSetting>();
  search_ = std::make_unique<TKervSearchSetting>();
  toolLauncher_ = std::make_unique<TKervToolLauncherSetting>();
  vuvEConverter_ = std::make_unique<TKervVuvEConverterSetting>();
  view_ = std::make_unique<TKervViewSetting>();
  window_ = std::make_unique<TKervWindowSetting>();
}

void TKervSettingManager::FreeSettings() {
  window_.reset();
  view_.reset();
  vuvEConverter_.reset();
  toolLauncher_.reset();
  search_.reset();
  keySet_.reset();
  infoBar_.reset();
  fileDialog_.reset();
  file_.reset();
  editor_.reset();
  editMode_.reset();
  eachProcess_.reset();
  backup_.reset();
}

std::vector<TKervTableSetting*> TKervSettingManager::Groups() {
  return {backup_.get(), eachProcess_.get(), editMode_.get(), editor_.get(), file_.get(),
          fileDialog_.get(), infoBar_.get(), keySet_.get(), search_.get(), toolLauncher_.get(),
          vuvEConverter_.get(), view_.get(), window_.get()};
}

void TKervSettingManager::LoadAll() {
  Access(false, [&](TIniFile& ini) {
    for (TKervTableSetting* group : Groups()) group->Load(ini);
  });
}

void TKervSettingManager::SaveAll() {
  Access(true, [&](TIniFile& ini) {
    for (TKervTableSetting* group : Groups()) {
      if (group != eachProcess_.get()) group->Save(ini);
    }
  });
}

void TKervSettingManager::ReadHistory(const TIniFile& ini, const std::string& section, const std::string& prefix,
                                      std::vector<std::string>& items) {
  items.clear();
  const int count = ini.ReadInteger(section, "Count", 0);
  for (const std::string& key : ini.NumberedKeys(section, prefix, count)) {
    std::string value = IniLineValue(ini.ReadString(section, key, std::string()));
    if (value.empty()) continue;
    // The quotes keep leading and trailing blanks through the trimming of the format.
    if (value.size() > 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    items.push_back(std::move(value));
  }
}

void TKervSettingManager::WriteHistory(TIniFile& ini, const std::string& section, const std::string& prefix,
                                       const std::vector<std::string>& items) {
  // Rewritten whole, so no entry of a longer earlier list stays behind.
  ini.EraseSection(section);
  ini.WriteInteger(section, "Count", 0);
  int count = 0;
  for (const std::string& item : items) {
    // An internal text ends at its first zero byte; an entry with a line
    // break cannot live on one line of the file.
    std::string value = item.substr(0, item.find('\0'));
    if (value.empty() || value.find_first_of("\r\n") != std::string::npos) continue;
    ini.WriteString(section, prefix + std::to_string(count++), "\"" + value + "\"");
  }
  ini.WriteInteger(section, "Count", count);
}

void TKervSettingManager::LoadHistory(std::vector<std::string>& searchItems, std::vector<std::string>& replaceItems) {
  Access(false, [&](TIniFile& ini) {
    ReadHistory(ini, kSearchHistory, "SH", searchItems);
    ReadHistory(ini, kReplaceHistory, "RH", replaceItems);
  });
}

void TKervSettingManager::SaveHistory(const std::vector<std::string>& searchItems,
                                      const std::vector<std::string>& replaceItems) {
  Access(true, [&](TIniFile& ini) {
    WriteHistory(ini, kSearchHistory, "SH", searchItems);
    WriteHistory(ini, kReplaceHistory, "RH", replaceItems);
  });
}

bool TKervSettingManager::LoadOnStartup() {
  try {
    LoadAll();
    return true;
  } catch (const EFileError&) {
    return false;
  }
}

void TKervSettingManager::AcceptDialog(bool applyWithoutSaving) {
  if (!applyWithoutSaving) SaveAll();
}

void TKervSettingManager::CollectWindowSettings(const TKervWindowSnapshot& window) {
  TKervEachProcessSetting& each = *eachProcess_;
  each.LastPosX = window.left;
  each.LastPosY = window.top;
  each.LastSizeX = window.width;
  each.LastSizeY = window.height;
  each.LastWindowState = window.minimized ? 1 : window.maximized ? 2 : 0;
  if (editor_->NoSaveMenu) return;
  if (editor_->SaveWinWrap) each.WindowWrap = window.windowWrap;
  each.BaseBar = window.baseBar;
  each.SearchBar = window.searchBar;
  each.BaseExpanded = window.baseExpanded;
  each.SearchExpanded = window.searchExpanded;
  each.ShowStatusBar = window.statusBarVisible;
  each.ShowInfoBar = window.infoBarVisible;
  each.ShowModeList = window.modeListVisible;
}

std::unique_ptr<TKervSettingManager> TKervSettingManager::Copy() {
  auto copy = std::make_unique<TKervSettingManager>(FileSystem(), ExtractFileFolder(IniFileName()));
  copy->AssignDialogGroups(*this);
  *copy->eachProcess_ = *eachProcess_;
  *copy->search_ = *search_;
  return copy;
}

void TKervSettingManager::AssignDialogGroups(TKervSettingManager& source) {
  *backup_ = *source.backup_;
  *editMode_ = *source.editMode_;
  *editor_ = *source.editor_;
  *file_ = *source.file_;
  *fileDialog_ = *source.fileDialog_;
  *infoBar_ = *source.infoBar_;
  *keySet_ = *source.keySet_;
  *toolLauncher_ = *source.toolLauncher_;
  *vuvEConverter_ = *source.vuvEConverter_;
  *view_ = *source.view_;
  *window_ = *source.window_;
}

void TKervSettingManager::SaveOnExit(const TKervWindowSnapshot& window, const std::vector<std::string>& searchItems,
                                     const std::vector<std::string>& replaceItems) {
  CollectWindowSettings(window);
  // One write instead of three: an exit that cannot write stores nothing
  // rather than the placement without the histories.
  Access(true, [&](TIniFile& ini) {
    eachProcess_->Save(ini);
    search_->Save(ini);
    WriteHistory(ini, kSearchHistory, "SH", searchItems);
    WriteHistory(ini, kReplaceHistory, "RH", replaceItems);
  });
}

// The same read as at start-up; a failed one keeps the values in use.
bool TKervSettingManager::ReloadRequested() {
  // The search options are the window's own while it runs (the search bar
  // shows them): another window's settings never overwrite them.
  const TKervSearchSetting& search = *search_;
  const bool confirm = search.Confirm, fromTop = search.FromTop, autoComplete = search.AutoComplete;
  const uint16_t flags = search.SearchFlags;
  const bool loaded = LoadOnStartup();
  search_->Confirm = confirm;
  search_->FromTop = fromTop;
  search_->AutoComplete = autoComplete;
  search_->SearchFlags = flags;
  return loaded;
}

}  // namespace kerv
