#pragma once
// The thirteen settings groups of kerv.ini that the setting manager owns. Each
// field is named after its key; the keys, their types, defaults and the
// settings dialog's ranges are one table (SettingKeys), which Load, Save and
// the defaults all read.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/settings/TKervSetting.h"
#include "search/SearchFlags.h"

namespace kerv {

// In the order the manager creates and loads them.
enum class TKervSettingGroup : int {
  Backup,
  EachProcess,
  EditMode,
  Editor,
  File,
  FileDialog,
  InfoBar,
  KeySet,
  Search,
  ToolLauncher,
  VuvEConverter,
  View,
  Window,
};
inline constexpr int kSettingGroupCount = 13;

// Every key of the manager's groups, group by group, each group's keys in the
// order they are written.
std::span<const TKervSettingKey> SettingKeys();
std::span<const TKervSettingKey> SettingKeys(TKervSettingGroup group);
// The descriptor of one key (names match without regard to case), or null.
const TKervSettingKey* FindSettingKey(std::string_view section, std::string_view key);

// The filter lists the file dialogs start with, and what the settings dialog's
// back-to-default button restores (Shift_JIS).
const std::string& DefaultOpenDlgFilter();
const std::string& DefaultSaveDlgFilter();

// Section Backup.
class TKervBackupSetting : public TKervTableSetting {
 public:
  // systemTempFolder (with trailing '/') is the default backup folder.
  explicit TKervBackupSetting(std::string systemTempFolder);
  bool SaveBackup;
  bool DelphiName;
  bool SaveSameDir;
  std::string SaveTarget;
  int RegBackupType;  // 0 none, 1 overwrite-save the file, 2 use the save-backup settings
  bool RegBackupNewFile;
  int Interval;  // minutes

 protected:
  std::string MachineDefault(const TKervSettingKey& key) const override;

 private:
  std::string systemTempFolder_;
};

// The keys only the first window in the window list writes, at its exit.
class TKervEachProcessSetting : public TKervTableSetting {
 public:
  TKervEachProcessSetting();
  bool WindowWrap;
  bool BaseBar;
  bool SearchBar;
  bool BaseExpanded;
  bool SearchExpanded;
  bool ShowStatusBar;
  bool ShowInfoBar;
  bool ShowModeList;
  int LastPosX;
  int LastPosY;
  int LastSizeX;
  int LastSizeY;
  int LastWindowState;  // 0 normal, 1 minimized, 2 maximized
};

class TKervEditModeSetting : public TKervTableSetting {
 public:
  TKervEditModeSetting();
  bool CheckEditMode;
  bool SaveCheckEditMode;
  bool NoticeUndoClear;
};

class TKervEditorSetting : public TKervTableSetting {
 public:
  TKervEditorSetting();
  bool NoSaveMenu;
  bool SaveWinWrap;
  bool SelDrag;
  bool KeepCaret;
  bool KeepRow;
  bool KeepSel;
  int UndoNum;
};

class TKervFileSetting : public TKervTableSetting {
 public:
  TKervFileSetting();
  bool AllowDoubleOpen;
  bool BigFileNoWrap;
  bool CheckModification;
  bool UTF8NCheck;
  bool CheckNull;
  bool CheckFileSize;
  int BigFileSize;  // MB
  int HistoryNum;
  int FileLockMode;  // 0 none, 2 others may read, 3 others may do nothing
};

class TKervFileDialogSetting : public TKervTableSetting {
 public:
  TKervFileDialogSetting();
  std::string OpenDlgFilter;
  std::string SaveDlgFilter;
  std::string OpenFirstFolder;
  std::string SaveFirstFolder;
  bool DialogPlaceBar;
};

class TKervInfoBarSetting : public TKervTableSetting {
 public:
  TKervInfoBarSetting();
  bool UseInfoBar;
  bool ShowSelSize;
  int InfoBarTime;  // seconds
};

class TKervKeySetSetting : public TKervTableSetting {
 public:
  TKervKeySetSetting();
  std::string KeySet;
};

// Section SearchOptions. SearchFlags keeps the stored bits and the two that
// are never stored (Down, SelectionOnly), which loading clears.
class TKervSearchSetting : public TKervTableSetting {
 public:
  TKervSearchSetting();
  void Load(const TIniFile& ini) override;
  bool Confirm;
  bool FromTop;
  bool AutoComplete;
  uint16_t SearchFlags;  // a SearchFlags word
};

class TKervToolLauncherSetting : public TKervTableSetting {
 public:
  TKervToolLauncherSetting();
  bool ShowIcon;
  int AppListNum;
  std::string TempFile;
  bool DelTemp;
};

class TKervVuvEConverterSetting : public TKervTableSetting {
 public:
  TKervVuvEConverterSetting();
  int ImgWinColor;  // 0x00BBGGRR
  int JPEGQuality;
  bool PEncoding;
};

// Section Settings (margins, caret, fold buttons) and DefaultFont.
class TKervViewSetting : public TKervTableSetting {
 public:
  TKervViewSetting();
  int Margin_Left;
  int Margin_Top;
  int Margin_Char;
  int Margin_Line;
  bool CaretStyle;
  int NNToolBarBtn;
  std::string FontName;  // key Name
  int FontSize;          // key Size, points
  int FontStyle;         // key Style: bit 0 bold, bit 1 italic, bit 2 underline
};

class TKervWindowSetting : public TKervTableSetting {
 public:
  TKervWindowSetting();
  bool NewKerv_New;
  bool NewKerv_Open;
  bool UseUserPos;
  int UserPosX;
  int UserPosY;
  bool UseUserSize;
  int UserSizeX;
  int UserSizeY;
  int Mode;  // 0 the last state, 1 minimized, 2 maximized
  bool SaveLastWindow;
};

}  // namespace kerv
