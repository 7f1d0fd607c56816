// Any bytes as kerv.ini. Loading must never fail or crash and must keep every
// value within the rules a reader applies; what is then written must read back
// as exactly the same values and histories, and the dialog's list and name
// checks and the settings dialog's copy must take whatever was read.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "app/settings/TKervPrinterSetting.h"
#include "app/settings/TKervSettingChecks.h"
#include "app/settings/TKervSettingManager.h"
#include "platform/fake/FakeFileSystem.h"

namespace {

using namespace kerv;

const char* const kFolder = "/home/user/.config/kerv/";
const char* const kIni = "/home/user/.config/kerv/kerv.ini";

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz_settings: %s\n", what);
    std::abort();
  }
}

bool SameValue(TKervFieldRef a, TKervFieldRef b) {
  return std::visit(
      [&](auto first) {
        using Field = decltype(first);
        auto second = std::get<Field>(b);
        if constexpr (std::is_same_v<Field, TKervFlagBit>) {
          return ((*first.word ^ *second.word) & first.bit) == 0;
        } else {
          return *first == *second;
        }
      },
      a);
}

void CheckRules(TKervSettingManager& manager) {
  int lockMode = manager.File().FileLockMode;
  Check(lockMode == 0 || lockMode == 2 || lockMode == 3, "lock mode outside 0, 2, 3");
  Check(manager.Backup().RegBackupType >= 0 && manager.Backup().RegBackupType <= 2, "backup kind outside 0-2");
  Check(manager.Backup().Interval >= 1 && manager.InfoBar().InfoBarTime >= 1, "a timer of no time");
  Check(manager.Editor().UndoNum >= 0 && manager.File().HistoryNum >= 0, "a negative count");
  Check((manager.Search().SearchFlags & (SearchFlag::Down | SearchFlag::SelectionOnly)) == 0, "unstored bits loaded");
  for (TKervTableSetting* group : manager.Groups()) {
    for (const TKervSettingKey& key : group->Keys()) {
      TKervFieldRef field = key.field(*group);
      if (auto text = std::get_if<std::string*>(&field)) {
        Check((*text)->find_first_of(std::string("\r\n\0", 3)) == std::string::npos, "a text with a line break");
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FakeFileSystem fs;
  fs.AddFolder("/home/user/.config/kerv");
  fs.AddFile(kIni, std::string(reinterpret_cast<const char*>(data), size));

  TKervSettingManager first(fs, kFolder);
  Check(first.LoadOnStartup(), "a damaged file could not be loaded");
  std::vector<std::string> search, replace;
  first.LoadHistory(search, replace);
  CheckRules(first);
  for (const auto* items : {&search, &replace}) {
    for (const std::string& item : *items) Check(!item.empty(), "an empty history entry");
  }

  // The dialog's checks and the filter rows take whatever was read.
  for (const std::string* list : {&first.FileDialog().OpenDlgFilter, &first.FileDialog().SaveDlgFilter}) {
    std::vector<TKervFilterRow> rows = ParseFilterList(*list);
    Check(ParseFilterList(BuildFilterList(rows)) == rows, "a filter list does not survive its own rebuilding");
    CheckFilterList(*list);
  }
  CheckSettingsBeforeOk(first.Backup(), first.ToolLauncher(), first.FileDialog(), fs);
  CheckTempFileName(first.ToolLauncher().TempFile);

  // The settings dialog's copy holds exactly what was read, and handing it
  // back changes nothing.
  std::unique_ptr<TKervSettingManager> copy = first.Copy();
  first.AssignDialogGroups(*copy);
  std::vector<TKervTableSetting*> original = first.Groups(), copied = copy->Groups();
  for (size_t g = 0; g < original.size(); ++g) {
    for (const TKervSettingKey& key : original[g]->Keys()) {
      Check(SameValue(key.field(*original[g]), key.field(*copied[g])), "the dialog's copy differs");
    }
  }

  first.SaveAll();
  first.SaveOnExit(TKervWindowSnapshot{}, search, replace);
  TKervSettingManager second(fs, kFolder);
  second.LoadAll();
  std::vector<std::string> search2, replace2;
  second.LoadHistory(search2, replace2);
  Check(search2 == search && replace2 == replace, "the histories changed through a save");
  std::vector<TKervTableSetting*> a = first.Groups(), b = second.Groups();
  for (size_t g = 0; g < a.size(); ++g) {
    for (const TKervSettingKey& key : a[g]->Keys()) {
      Check(SameValue(key.field(*a[g]), key.field(*b[g])), key.key);
    }
  }

  // The print dialog's section reads back as it was written; with the
  // editor's font in use the font keys are written as no font.
  TKervPrinterSetting printer(TPrintFont{});
  first.LoadSetting(printer);
  first.SaveSetting(printer);
  TKervPrinterSetting again(TPrintFont{});
  second.LoadSetting(again);
  for (const TKervSettingKey& key : TKervPrinterSetting::Keys()) {
    if (printer.UseEditorFont && std::string(key.key).rfind("Font", 0) == 0) continue;
    Check(SameValue(key.field(printer), key.field(again)), key.key);
  }
  return 0;
}
