#pragma once
// The program's key sets: each named set lives in "<name>.tks" in the
// settings folder, typed "KervKeySet"; the built-in set "デフォルト" is never
// stored. Set names are Shift_JIS like every text inside the program and
// become UTF-8 only in file names. A set saved under its bare name (no
// extension) by an older writer still loads and is listed; it moves to
// "<name>.tks" when it is next saved.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "keys/TKeySet.h"
#include "platform/CodePage.h"

namespace kerv {

// What applying a set gives the window.
struct TKeySetApplication {
  // The shortcut of every action by its number; 0: the action has none.
  TActionShortcuts shortcuts{};
  // How the set's file read; a Damaged result's error is for the user.
  TKeySetLoadResult load;
};

class TKervKeySet : public TKeySet {
 public:
  static constexpr const char* kTypeMark = "KervKeySet";
  static constexpr const char* kFileExt = ".tks";
  // A bare-named file larger than this is no key set (the probe reads it whole).
  static constexpr int64_t kBareFileLimit = 64 * 1024;

  // settingFolder is a native path; a trailing '/' is added when missing.
  TKervKeySet(IFileSystem& fs, ICodePage& codePage, std::string settingFolder);

  const std::string& SettingFolder() const { return settingFolder_; }

  // The built-in set's name, and the empty name that stands for it.
  static bool IsDefaultName(std::string_view name);
  // A name a set can be stored under: not empty and without any of
  // \ / ; * ? " < > | (trail bytes of double-byte characters are not
  // characters of their own).
  static bool IsValidName(std::string_view name);

  // Where the set is written: the settings folder, the name, ".tks".
  std::string FilePath(const std::string& name) const;
  // The same without the extension.
  std::string BareFilePath(const std::string& name) const;
  // The file the set loads from: its ".tks" file when there is one, else a
  // key-set file under its bare name; empty when it has neither.
  std::string StoredFile(const std::string& name);
  // Whether the file exists and carries the key-set type mark.
  bool IsKeySetFile(const std::string& path);
  // The names of the stored sets, sorted, each once, without the built-in set.
  std::vector<std::string> StoredNames();

  // Reads the named set; the built-in set for "デフォルト", an empty or
  // invalid name, a missing or a damaged file. Keys that tools use are free.
  TKeySetLoadResult LoadSet(const std::string& name, TKeyTable& table);
  // Writes the set to "<name>.tks", starting from the bare-named file when
  // that is where the set lay. Raises EFileError or EKeySetError.
  void SaveSet(const std::string& name, const TKeyTable& table);
  // The built-in set with the keys tools use freed.
  TKeyTable DefaultTable();
  // Loads the named set and gives every action its shortcut or none.
  TKeySetApplication Apply(const std::string& name);
  // The shortcut values of the tools in kervtool.ini (none when it cannot be read).
  std::vector<uint16_t> ToolShortcuts();

 protected:
  void AfterLoad(TKeyTable& table) override;
  void WriteHeader(TIniFile& ini) override;
  bool CheckHeader(const TIniFile& ini) override;
  void FillDefaults(TKeyTable& table) override;

 private:
  // The set's name in a file name (UTF-8).
  std::string FileName(const std::string& name) const { return codePage_.Cp932ToUtf8(name); }
  // The set name of a file name without its extension; empty when it has no Shift_JIS form.
  std::string SetName(const std::string& fileName) const;

  ICodePage& codePage_;
  std::string settingFolder_;
};

}  // namespace kerv
