// Random .em2 files. Reading must never fail on what the file holds; a file
// that is accepted must write out as a file that reads back to the same set
// (the writer's output is a fixed point of read-then-write), and the values
// read must lie inside their documented ranges.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "editmode/ReserveWords.h"
#include "editmode/TEditModeFile.h"
#include "editmode/TKervEditModeAssociationList.h"

namespace {

using namespace kerv;

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz_editmode: %s\n", what);
    std::abort();
  }
}

void CheckRanges(const TEditorPropEx& set) {
  Check(set.View().Brackets().Count() <= TEditorBracketCollection::MaxCount, "too many bracket pairs");
  Check(set.WrapOption().WrapByte() >= 20 && set.WrapOption().WrapByte() <= 500, "WrapByte out of range");
  Check(set.SpaceIndentSize() >= TEditorPropEx::kMinSpaceIndentSize &&
            set.SpaceIndentSize() <= TEditorPropEx::kMaxSpaceIndentSize,
        "SpaceIndentSize out of range");
  Check(set.Ruler().GaugeRange() == 8 || set.Ruler().GaugeRange() == 10, "GaugeRange not 8 or 10");
  const int tab = set.Caret().TabSpaceCount();
  Check(tab == 2 || tab == 4 || tab == 6 || tab == 8, "TabCount not 2, 4, 6 or 8");
  Check(set.Font().Size() >= 1 && set.Font().Size() <= 1000, "FontSize out of range");
  const std::string& name = set.Font().Name();
  Check(name.size() <= static_cast<size_t>(TEditModeFile::kMaxFontNameBytes), "FontName longer than 31 bytes");
  Check(TEditModeFile::CutAtCharBoundary(name, name.size()) == name, "FontName ends inside a character");
  for (const TEditorWord& word : set.ReserveWordList()) {
    Check(NormalizeWordOptions(word.options) == word.options, "word options not normalized");
    const int level = WordLevel(word.options);
    Check(level >= kMinWordLevel && level <= kMaxWordLevel, "word level out of range");
  }
}

// The same bytes as an editmode.ini: every extension named once, found
// again by its name, and the written list reads back to itself.
void CheckAssociations(std::string_view text) {
  TKervEditModeAssociationList list;
  list.LoadText(text);
  for (const TKervEditModeAssociation& pair : list) {
    Check(!pair.ext.empty(), "empty extension");
    Check(list.ModeOfExt(pair.ext) == pair.mode, "extension not found again");
  }
  const std::string written = list.Text();
  TKervEditModeAssociationList again;
  again.LoadText(written);
  Check(again.Text() == written, "association list read-write is not stable");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckAssociations(text);
  TEditorPropEx set;
  if (!TEditModeFile::Read(text, set)) {
    // A rejected file leaves the set as it was.
    Check(TEditModeFile::Write(set) == TEditModeFile::Write(TEditorPropEx()), "rejected file changed the set");
    return 0;
  }
  CheckRanges(set);
  const std::string once = TEditModeFile::Write(set);
  TEditorPropEx reread;
  Check(TEditModeFile::Read(once, reread), "written file not accepted");
  CheckRanges(reread);
  Check(TEditModeFile::Write(reread) == once, "read-write is not stable");
  return 0;
}

