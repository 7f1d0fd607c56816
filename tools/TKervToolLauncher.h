#pragma once
// The program's tool list, kept in kervtool.ini in the settings folder, and
// the launch of a tool on the current document: save first when asked,
// write the temporary copy when the options use it, and start the program
// with its arguments directly (never through a shell).
//
// Items hold the file's text as it is, so a list read and written again is
// the same file. Settings files are Shift_JIS; a path or option a Linux user
// typed in UTF-8 is taken as it is (see NativeText).

#include <cstdint>
#include <string>
#include <vector>

#include "document/TIniFile.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Launcher.h"
#include "tools/TToolLauncher.h"

namespace kerv {

class TKervToolLauncherItem : public TToolLauncherItem {};

// The tool settings of kerv.ini's section Settings.
struct TToolLaunchSettings {
  bool ShowIcon = false;                 // program icons in the menu
  int AppListNum = 15;                   // at most this many tools in the menu
  std::string TempFile = "app_open.tmp"; // the temporary copy's name (Shift_JIS)
  bool DelTemp = true;                   // delete the temporary copy when the program ends
};

// What a launch needs of the window it runs in.
class IKervToolHost {
 public:
  virtual ~IKervToolHost() = default;
  // The document's full native path; empty for an untitled document.
  virtual std::string DocumentPath() = 0;
  // The editor's whole text: Shift_JIS, CR LF after every line.
  virtual std::string DocumentText() = 0;
  // Saves the document; false when the user declined or saving failed.
  virtual bool SaveDocument() = 0;
  // An error notice of the information service (UTF-8).
  virtual void NoticeError(const std::string& text) = 0;
};

struct TKervToolPorts {
  IFileSystem& fs;
  ICodePage& codePage;
  // Both are needed by Launch only: a list that is just edited may go without.
  ILauncher* launcher = nullptr;
  IKervToolHost* host = nullptr;
};

// One entry of the tool menu (or of the tool dialog's list).
struct TToolMenuEntry {
  int index = 0;            // the tool's index, for LaunchTool
  bool exists = false;      // false: "ファイルが見つかりません", no action, no shortcut
  std::string caption;      // the tool's name (UTF-8), or the missing text
  std::string hint;         // the program's path (UTF-8)
  uint16_t shortCut = 0;    // the tool's shortcut value, 0 for a missing tool
  std::string programPath;  // native path, for the program's icon
};

class TKervToolLauncher : public TToolLauncher {
 public:
  static constexpr const char* kFileName = "kervtool.ini";
  static constexpr const char* kSection = "ToolLauncher";
  static constexpr const char* kDefaultTempFile = "app_open.tmp";

  // settingFolder is a native path; a trailing '/' is added when missing.
  TKervToolLauncher(const TKervToolPorts& ports, std::string settingFolder, TToolLaunchSettings settings = {});

  TKervToolLauncherItem& AddItem() override;
  void DeleteItem(int index) override;
  // Starts the tool on the host's document. False, with an error notice
  // naming the program, when it is missing, not executable or does not
  // start; false without a notice when saving first was declined.
  bool Launch(int index) override;
  // Reads kervtool.ini (a missing file is an empty list): the tools 0 to
  // Num - 1, a missing key giving its default, leaving out only a tool of
  // which the file holds no key at all. Raises EFileError.
  void LoadList() override;
  // Writes the list into kervtool.ini, other sections kept; raises EFileError.
  void SaveList() override;
  TKervToolLauncherItem* GetItem(int index) override;

  // The list of an ini in memory, and the list into one.
  void ReadFrom(const TIniFile& ini);
  void WriteTo(TIniFile& ini) const;
  // The shortcut values of the tools of kervtool.ini, in list order; an
  // unreadable file gives none.
  static std::vector<uint16_t> ReadShortcuts(IFileSystem& fs, const std::string& settingFolder);

  std::string IniPath() const { return settingFolder_ + kFileName; }
  // The tool's program as a native path.
  std::string ProgramPath(const TToolLauncherItem& item) const;
  // Whether the tool's path is not empty and names an existing file.
  bool Exists(int index);
  // The first min(limit, Count) tools as menu entries.
  std::vector<TToolMenuEntry> MenuEntries(int limit);
  std::vector<TToolMenuEntry> MenuEntries() { return MenuEntries(settings_.AppListNum); }

  // The temporary copy's name: the setting, or the default when the setting
  // is empty or could leave the settings folder.
  static std::string TempFileName(ICodePage& codePage, const TToolLaunchSettings& settings);
  std::string TempFilePath() const { return settingFolder_ + TempFileName(codePage_, settings_); }
  // Whether a launch of this list wrote the temporary copy.
  bool TempFileWritten() const { return tempFileWritten_; }

  // Text of a settings file as a native string: valid UTF-8 as it is, else
  // Shift_JIS converted.
  static std::string NativeText(ICodePage& codePage, const std::string& text);

 private:
  void Notice(const std::string& program, const char* message, const std::string& reason = {});

  IFileSystem& fs_;
  ICodePage& codePage_;
  ILauncher* launcher_;
  IKervToolHost* host_;
  std::string settingFolder_;
  TToolLaunchSettings settings_;
  bool tempFileWritten_ = false;
};

// What the tool editor's OK refuses, in the order it checks.
enum class TToolEntryProblem {
  None,
  EmptyName,       // "ツール名を入力してください。"; mark the name field
  ProgramMissing,  // the path, a line break, "実行ファイルが見つかりません。"; mark the path field
};
TToolEntryProblem CheckToolEntry(IFileSystem& fs, const std::string& name, const std::string& nativePath);
// The message of a refusal (UTF-8), empty for None.
std::string ToolEntryProblemMessage(TToolEntryProblem problem, const std::string& nativePath);

// At the end of the program: deletes the temporary copy when DelTemp is on.
// True when a file was deleted.
bool RemoveToolTempFile(IFileSystem& fs, ICodePage& codePage, const std::string& settingFolder,
                        const TToolLaunchSettings& settings);

}  // namespace kerv
