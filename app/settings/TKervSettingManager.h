#pragma once
// The settings store: kerv.ini in the settings folder, the groups read from
// and written to it, the search and replace histories, and the document-lock
// rule that lets a window edit kerv.ini itself.
//
// Every operation reads the file afresh and writes it back whole (through a
// temporary file that replaces it only once complete), so a failed write
// leaves the previous file as it was and two windows saving at once each
// leave one whole file: the last writer wins.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/settings/TKervSetting.h"
#include "app/settings/TKervSettingGroups.h"
#include "document/TIniFile.h"
#include "platform/FileSystem.h"

namespace kerv {

// What the document-lock rule needs from the window's file manager.
class IKervDocumentLock {
 public:
  virtual ~IKervDocumentLock() = default;
  // Full name of the document open in the window; empty when it has none.
  virtual std::string DocumentFileName() = 0;
  virtual void Unlock() = 0;
  // Takes the document's lock again with the current lock mode.
  virtual void ReapplyLock() = 0;
};

class TKervSettings {
 public:
  TKervSettings(IFileSystem& fs, std::string iniFileName);
  virtual ~TKervSettings() = default;
  TKervSettings(const TKervSettings&) = delete;
  TKervSettings& operator=(const TKervSettings&) = delete;

  // A C++ constructor or destructor cannot reach a derived class's override,
  // so the derived manager calls CreateSettings and FreeSettings itself.
  virtual void CreateSettings() = 0;
  virtual void FreeSettings() = 0;
  // Read errors (and for SaveAll write errors) raise EFileError; a failed read
  // leaves every group as it was, a failed write leaves the file as it was.
  virtual void LoadAll() = 0;
  virtual void SaveAll() = 0;

  // Any single group, also those other features create on demand.
  void LoadSetting(TKervSetting& setting);
  void SaveSetting(TKervSetting& setting);

  // The two halves of the document-lock rule, for every feature that opens a
  // settings file with an ini object of its own (TKervIniAccess pairs them).
  // They nest; only the outermost pair acts, and only while the window's
  // document is kerv.ini.
  void BeginIniAccess();
  void EndIniAccess();
  // The window's file manager, once it exists (null: no document to unlock).
  void SetDocumentLock(IKervDocumentLock* lock) { lock_ = lock; }
  IKervDocumentLock* DocumentLock() const { return lock_; }

  const std::string& IniFileName() const { return iniFileName_; }
  // The folder kerv.ini lies in, with its trailing '/': every settings file's.
  std::string SettingFolder() const { return iniFileName_.substr(0, iniFileName_.rfind('/') + 1); }
  IFileSystem& FileSystem() { return fs_; }

 protected:
  // Opens kerv.ini inside the document-lock rule, lets work read or change it
  // and, when write is set, writes it back whole.
  void Access(bool write, const std::function<void(TIniFile&)>& work);

 private:
  bool DocumentIsIniFile();

  IFileSystem& fs_;
  std::string iniFileName_;
  IKervDocumentLock* lock_ = nullptr;
  int accessDepth_ = 0;
  bool unlocked_ = false;
};

// Brackets one access to a settings file with the document-lock rule; the
// lock is taken again also when the access fails.
class TKervIniAccess {
 public:
  explicit TKervIniAccess(TKervSettings& settings) : settings_(settings) { settings_.BeginIniAccess(); }
  ~TKervIniAccess();
  TKervIniAccess(const TKervIniAccess&) = delete;
  TKervIniAccess& operator=(const TKervIniAccess&) = delete;

 private:
  TKervSettings& settings_;
};

// The main window's placement and bars at exit, as the per-window group keeps them.
struct TKervWindowSnapshot {
  int left = 0;  // the normal (restored) rectangle
  int top = 0;
  int width = 0;
  int height = 0;
  bool minimized = false;
  bool maximized = false;
  bool windowWrap = false;  // wrapping at the window edge
  bool baseBar = true;
  bool searchBar = true;
  bool baseExpanded = true;
  bool searchExpanded = true;
  bool statusBarVisible = true;
  bool infoBarVisible = true;
  bool modeListVisible = true;
};

class TKervSettingManager : public TKervSettings {
 public:
  // kerv.ini lives in settingFolder; the backup folder defaults to the
  // system's temporary folder.
  TKervSettingManager(IFileSystem& fs, const std::string& settingFolder);
  ~TKervSettingManager() override;

  void CreateSettings() override;
  void FreeSettings() override;
  // Every group, in creation order.
  void LoadAll() override;
  // Every group but the per-window one, which only the first window writes at exit.
  void SaveAll() override;

  // The search-word and replace-word lists, newest first.
  void LoadHistory(std::vector<std::string>& searchItems, std::vector<std::string>& replaceItems);
  void SaveHistory(const std::vector<std::string>& searchItems, const std::vector<std::string>& replaceItems);

  // The moments the window reads and writes the store.
  // Start-up: every group; false when kerv.ini exists but cannot be read
  // (the defaults stay; the caller shows error 19001).
  bool LoadOnStartup();
  // Settings dialog OK, after it copied its controls into the groups.
  // Raises EFileError when the write fails: the values are in use, not stored.
  void AcceptDialog(bool applyWithoutSaving);
  // Exit of the first window in the window list: its placement and bars, the
  // search options and both histories, in one write. Raises EFileError.
  void SaveOnExit(const TKervWindowSnapshot& window, const std::vector<std::string>& searchItems,
                  const std::vector<std::string>& replaceItems);
  // Another window asked for a reload; false (values kept) when the file cannot be read.
  bool ReloadRequested();
  // The per-window group from the window (NoSaveMenu keeps the bars as read).
  void CollectWindowSettings(const TKervWindowSnapshot& window);

  // A copy of every group for the settings dialog to edit; it reads and
  // writes the same kerv.ini but never unlocks the window's document, so it
  // is only edited, never saved.
  std::unique_ptr<TKervSettingManager> Copy();
  // Takes the values of the groups the settings dialog edits (all but the
  // per-window group and the search options, which the window keeps).
  void AssignDialogGroups(TKervSettingManager& source);

  TKervBackupSetting& Backup() { return *backup_; }
  TKervEachProcessSetting& EachProcess() { return *eachProcess_; }
  TKervEditModeSetting& EditMode() { return *editMode_; }
  TKervEditorSetting& Editor() { return *editor_; }
  TKervFileSetting& File() { return *file_; }
  TKervFileDialogSetting& FileDialog() { return *fileDialog_; }
  TKervInfoBarSetting& InfoBar() { return *infoBar_; }
  TKervKeySetSetting& KeySet() { return *keySet_; }
  TKervSearchSetting& Search() { return *search_; }
  TKervToolLauncherSetting& ToolLauncher() { return *toolLauncher_; }
  TKervVuvEConverterSetting& VuvEConverter() { return *vuvEConverter_; }
  TKervViewSetting& View() { return *view_; }
  TKervWindowSetting& Window() { return *window_; }
  // Every group, in creation order.
  std::vector<TKervTableSetting*> Groups();

  // One history section: integer Count and the entries prefix0, prefix1, ...
  static void ReadHistory(const TIniFile& ini, const std::string& section, const std::string& prefix,
                          std::vector<std::string>& items);
  static void WriteHistory(TIniFile& ini, const std::string& section, const std::string& prefix,
                           const std::vector<std::string>& items);

 private:
  std::string systemTempFolder_;
  std::unique_ptr<TKervBackupSetting> backup_;
  std::unique_ptr<TKervEachProcessSetting> eachProcess_;
  std::unique_ptr<TKervEditModeSetting> editMode_;
  std::unique_ptr<TKervEditorSetting> editor_;
  std::unique_ptr<TKervFileSetting> file_;
  std::unique_ptr<TKervFileDialogSetting> fileDialog_;
  std::unique_ptr<TKervInfoBarSetting> infoBar_;
  std::unique_ptr<TKervKeySetSetting> keySet_;
  std::unique_ptr<TKervSearchSetting> search_;
  std::unique_ptr<TKervToolLauncherSetting> toolLauncher_;
  std::unique_ptr<TKervVuvEConverterSetting> vuvEConverter_;
  std::unique_ptr<TKervViewSetting> view_;
  std::unique_ptr<TKervWindowSetting> window_;
};

}  // namespace kerv
