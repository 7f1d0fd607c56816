// Any bytes as a key-set file and as kervtool.ini. Reading must never fail
// or crash: a set that reads gives valid shortcuts and survives a rewrite
// unchanged; a damaged one gives the built-in set and is never written over.
// The tool list read back from what it wrote is the same list, and its
// options always expand into arguments.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "keys/DefaultKeySet.h"
#include "keys/TKervKeySet.h"
#include "platform/fake/FakeCodePage.h"
#include "platform/fake/FakeFileSystem.h"
#include "tools/TKervToolLauncher.h"
#include "tools/ToolArguments.h"

namespace {

using namespace kerv;

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz_keyset: %s\n", what);
    std::abort();
  }
}

void CheckShortcuts(const TActionShortcuts& shortcuts) {
  Check(shortcuts[0] == 0, "a shortcut for action 0");
  for (uint16_t shortcut : shortcuts) {
    if (shortcut != 0) Check(SlotOfShortcut(shortcut).has_value(), "a shortcut on a key without key index");
  }
}

void KeySetFile(const std::string& bytes) {
  FakeFileSystem fs;
  FakeCodePage codePage;
  fs.AddFolder("/cfg");
  fs.AddFile("/cfg/mine.tks", bytes);
  TKervKeySet keySet(fs, codePage, "/cfg");

  TKeyTable table;
  const TKeySetLoadResult result = keySet.LoadSet("mine", table);
  const TKeySetApplication applied = keySet.Apply("mine");
  CheckShortcuts(applied.shortcuts);
  if (result.Loaded()) {
    keySet.SaveSet("copy", table);
    TKeyTable back;
    Check(keySet.LoadSet("copy", back).Loaded(), "a written set does not read");
    Check(back == table, "a set changed through a rewrite");
    keySet.SaveSet("mine", table);
    Check(keySet.LoadSet("mine", back).Loaded() && back == table, "a set changed through a rewrite in place");
  } else {
    Check(result.status == TKeySetLoadStatus::Damaged && !result.error.empty(), "a present file read quietly as none");
    Check(table == DefaultKeyTable(), "a damaged set did not give the built-in set");
    Check(applied.shortcuts == ActionShortcuts(DefaultKeyTable()), "a damaged set applied other keys");
    if (fs.FileSize("/cfg/mine.tks") > 0) {
      try {
        keySet.SaveSet("mine", TKeyTable());
        Check(false, "a damaged set was written over");
      } catch (const EKeySetError&) {
      }
      Check(fs.Contents("/cfg/mine.tks") == bytes, "a damaged set changed");
    }
  }
}

void ToolFile(const std::string& bytes) {
  FakeFileSystem fs;
  FakeCodePage codePage;
  fs.AddFolder("/cfg");
  fs.AddFile("/cfg/kervtool.ini", bytes);
  TKervToolLauncher first({fs, codePage}, "/cfg");
  first.LoadList();
  Check(first.Count() <= static_cast<int>(bytes.size()), "more tools than bytes");
  const TToolPlaceholderValues values = DocumentPlaceholders("/home/user/a b/%d.txt");
  for (int i = 0; i < first.Count(); ++i) {
    BuildToolArguments(first.GetItem(i)->option, values);
  }
  first.MenuEntries(first.Count());

  first.SaveList();
  const std::string written = fs.Contents("/cfg/kervtool.ini");
  TKervToolLauncher second({fs, codePage}, "/cfg");
  second.LoadList();
  Check(second.Count() == first.Count(), "the tool count changed through a save");
  for (int i = 0; i < first.Count(); ++i) {
    Check(second.GetItem(i)->SameValues(*first.GetItem(i)), "a tool changed through a save");
  }
  second.SaveList();
  Check(fs.Contents("/cfg/kervtool.ini") == written, "a second save wrote other text");

  // The tools' keys are free in every set.
  TKervKeySet keySet(fs, codePage, "/cfg");
  const TKeySetApplication applied = keySet.Apply(kDefaultKeySetName);
  CheckShortcuts(applied.shortcuts);
  for (uint16_t tool : TKervToolLauncher::ReadShortcuts(fs, "/cfg")) {
    const std::optional<TKeySlot> slot = SlotOfShortcut(tool);
    if (!slot) continue;
    for (uint16_t shortcut : applied.shortcuts) Check(shortcut != ShortcutOfSlot(*slot), "a tool's key kept");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  KeySetFile(bytes);
  ToolFile(bytes);
  return 0;
}
