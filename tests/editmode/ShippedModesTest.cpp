// The shipped modes: the committed files are what the generator writes, each
// loads, its regular expressions compile, and each colours a sample of its
// kind of file as expected. A sample's expectation (golden/shipped/<sample>.colours)
// lists, row by row, the runs of bytes the painter gives one colour entry;
// on a difference <sample>.colours.actual is written for review, and
// KERV_UPDATE_GOLDEN=1 rewrites the expectations.

#include "editmode/ShippedModes.h"

#include <gtest/gtest.h>

#include <sstream>

#include "EditModeTestSupport.h"
#include "editmode/EditModeMessages.h"
#include "editmode/ReserveWords.h"
#include "editmode/TEditModeFile.h"
#include "editmode/TKervEditModeManager.h"
#include "editor/TEditor.h"
#include "editor/TEditorPaintPlan.h"
#include "platform/posix/PosixFileSystem.h"

namespace kerv {
namespace {

std::string ModesFolder() { return std::string(KERV_TEST_DATA_DIR) + "/../../editmode/modes/"; }

std::unique_ptr<TEditorPropEx> LoadShipped(const std::string& name) {
  PosixFileSystem fs;
  auto set = std::make_unique<TEditorPropEx>();
  EXPECT_TRUE(set->LoadFromFile(fs, ModesFolder() + name + kEditModeExt)) << name;
  return set;
}

TEST(ShippedModesTest, CommittedFilesAreWhatTheGeneratorWrites) {
  PosixFileSystem fs;
  for (const TShippedMode& mode : ShippedModes()) {
    EXPECT_EQ(fs.ReadFile(ModesFolder() + mode.name + kEditModeExt),
              TEditModeFile::Write(*BuildShippedMode(mode), &DefaultSystemColorRgb))
        << mode.name << ": run kerv_editmode_gen over editmode/modes";
  }
  EXPECT_EQ(fs.ReadFile(ModesFolder() + kAssociationFileName), ShippedAssociationText());
  EXPECT_EQ(fs.ListFiles(ModesFolder(), "*.em2").size(), ShippedModes().size());
}

TEST(ShippedModesTest, EveryModeLoadsWithWordsThatCompileAndOwnExtensions) {
  TKervEditModeAssociationList associations;
  associations.LoadText(ShippedAssociationText());
  int extensions = 0;
  for (const TShippedMode& mode : ShippedModes()) {
    auto set = LoadShipped(mode.name);
    EXPECT_TRUE(TKervEditModeManager::IsValidName(mode.name)) << mode.name;
    EXPECT_FALSE(set->ReserveWordList().empty()) << mode.name;
    for (const TEditorWord& word : set->ReserveWordList()) {
      std::optional<std::string> error = WordCompileError(word);
      EXPECT_FALSE(error) << mode.name << ": " << word.text << ": " << error.value_or("");
    }
    for (const char* ext : mode.extensions) {
      EXPECT_EQ(associations.ModeOfExt(ext), mode.name) << ext;
      ++extensions;
    }
  }
  EXPECT_EQ(associations.Count(), extensions);  // no extension is claimed twice
}

// The colour entry a painted cell shows, by name; plain text is ".".
std::string EntryName(const TCellStyle& cell, const TEditorPropEx& set) {
  const TEditorColors& colors = set.View().Colors();
  struct Named {
    const char* name;
    const TEditorColor& entry;
  } entries[] = {{"Comment", colors.Comment()}, {"Str", colors.Str()},         {"Int", colors.Int()},
                 {"Url", colors.Url()},         {"Mail", colors.Mail()},       {"Reserve", colors.Reserve()},
                 {"Stress2", colors.Stress2()}, {"Stress3", colors.Stress3()}, {"Stress4", colors.Stress4()},
                 {"Stress5", colors.Stress5()}};
  for (const Named& named : entries) {
    if (cell.color == named.entry.Color() && cell.bkColor == named.entry.BkColor() &&
        cell.style == named.entry.Style()) {
      return named.name;
    }
  }
  if (cell.color == set.Font().Color() && cell.style == set.Font().Style()) return ".";
  std::ostringstream out;
  out << std::hex << cell.color << "/" << cell.bkColor << "/" << int(cell.style);
  return out.str();
}

std::string ColourListing(const std::string& sample, const TEditorPropEx& set) {
  std::string text;
  for (char c : sample) {
    if (c == '\n') text += '\r';
    text += c;
  }
  TEditor editor;
  set.AssignTo(editor);
  editor.Lines().SetTextStr(text);
  TEditorPaintPlanner planner(editor);
  std::ostringstream out;
  for (int row = 0; row < editor.RowCount(); ++row) {
    TRowPaintPlan plan = planner.PlanRow(row);
    out << row;
    size_t start = 0;
    while (start < plan.cells.size()) {
      size_t end = start + 1;
      while (end < plan.cells.size() && plan.cells[end] == plan.cells[start]) ++end;
      const std::string name = EntryName(plan.cells[start], set);
      if (name != ".") out << ' ' << name << '@' << start << '+' << (end - start);
      start = end;
    }
    out << '\n';
  }
  for (const TPaintError& error : planner.Errors()) out << "error: " << error.word << '\n';
  return out.str();
}

struct Sample {
  const char* file;
  const char* mode;
};

void PrintTo(const Sample& sample, std::ostream* out) { *out << sample.file; }

class ShippedSampleTest : public testing::TestWithParam<Sample> {};

TEST_P(ShippedSampleTest, ColoursMatchTheExpectation) {
  const Sample& sample = GetParam();
  std::string text;
  ASSERT_TRUE(test::ReadTestFile(test::GoldenPath(std::string("shipped/") + sample.file), text));
  // The sample's extension chooses the mode, as it would for a document.
  TKervEditModeAssociationList associations;
  associations.LoadText(ShippedAssociationText());
  ASSERT_EQ(associations.ModeOf(sample.file), sample.mode);
  auto set = LoadShipped(sample.mode);
  test::ExpectGolden(std::string("shipped/") + sample.file + ".colours", ColourListing(text, *set));
}

const Sample kSamples[] = {
    {"sample.c", "C-C++"},    {"sample.java", "Java"},    {"sample.ts", "JavaScript"}, {"sample.py", "Python"},
    {"sample.sh", "Shell"},   {"sample.html", "HTML"},    {"sample.xml", "XML"},       {"sample.css", "CSS"},
    {"sample.md", "Markdown"}, {"sample.ini", "INI"},     {"sample.conf", "Conf"},
};

INSTANTIATE_TEST_SUITE_P(Samples, ShippedSampleTest, testing::ValuesIn(kSamples),
                         [](const testing::TestParamInfo<Sample>& info) {
                           return std::string(info.param.file).substr(std::string("sample.").size());
                         });

}  // namespace
}  // namespace kerv
