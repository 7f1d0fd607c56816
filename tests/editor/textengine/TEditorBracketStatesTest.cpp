// The row store's bracket states against a from-scratch reading of every
// row: after a load, the idle fill, a jump far down and random edits and
// undos, with and without word wrap, every row computed holds the state a
// new parser carried down from the first row gives it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "editor/TEditorParser.h"
#include "editor/TEditorScreenStrings.h"
#include "tests/editor/textengine/FakeEditorView.h"

namespace kerv {
namespace {

using testing::FakeEditorView;

// Every row's state read from the top with a new parser for each row (the
// next row's first token read along where the wrap continues the line).
std::vector<int> FromScratch(const TEditorScreenStrings& store, const TEditorViewInfo& view) {
  std::vector<int> states;
  int state = kBracketNone;
  for (int row = 0; row < store.Count(); ++row) {
    states.push_back(state);
    std::string text(store.Get(row));
    if (text.empty()) continue;
    if (view.Brackets().Count() == 0) {
      state = kBracketNone;
      continue;
    }
    if (store.WordWrap() && store.RowAttribute(row) == raWrapped && row + 1 < store.Count()) {
      std::string next(store.Get(row + 1));
      size_t take = 0;
      while (take < next.size() && (next[take] == ' ' || next[take] == '\t')) ++take;
      if (take == 0 && !next.empty()) {
        TEditorParser probe(next, kBracketNone, &view);
        take = static_cast<size_t>(probe.TokenPos() + probe.TokenLength());
        while (take < next.size() && (next[take] == ' ' || next[take] == '\t')) ++take;
      }
      text += next.substr(0, take);
    }
    TEditorParser parser(text, state, &view);
    while (parser.Token() != tkEnd) parser.NextToken();
    state = parser.BracketState();
  }
  return states;
}

struct Options {
  const char* name;
  std::vector<std::pair<std::string, std::string>> brackets;
  std::string quotation;
};

void PrintTo(const Options& options, std::ostream* out) { *out << options.name; }

class TEditorBracketStatesTest : public ::testing::TestWithParam<std::tuple<Options, bool>> {
 protected:
  void SetUp() override {
    const auto& [options, wrap] = GetParam();
    view_.viewInfo.SetCommenter("//");
    view_.viewInfo.SetQuotation(options.quotation);
    for (const auto& [left, right] : options.brackets) {
      TEditorBracketItem& pair = view_.viewInfo.Brackets().Add();
      pair.SetLeftBracket(left);
      pair.SetRightBracket(right);
    }
    view_.screenRows = 5;
    if (wrap) {
      store_.WrapOption().SetWrapByte(12);
      store_.SetWordWrap(true);
    }
  }

  void SetText(const std::string& text) {
    TMemoryStream stream(text);
    TEditorStrings(view_).LoadFromStream(stream);
  }

  // Every computed row holds the state from scratch; "not computed" rows
  // only follow the computed ones.
  void ExpectComputedStatesRight(const std::string& when) {
    std::vector<int> expected = FromScratch(store_, view_.viewInfo);
    bool computed = true;
    for (int row = 0; row < store_.Count(); ++row) {
      int state = store_.BracketState(row);
      if (state == kBracketNotComputed) {
        computed = false;
        continue;
      }
      ASSERT_TRUE(computed) << when << ": row " << row << " computed below one that is not";
      ASSERT_EQ(state, expected[static_cast<size_t>(row)]) << when << ": row " << row << " [" << store_.Get(row) << "]";
    }
  }

  void FillAll() {
    for (int slices = 0; store_.BracketsPending(); ++slices) {
      ASSERT_LT(slices, store_.Count() + 1) << "the fill does not end";
      ASSERT_GT(store_.FillBrackets(7), 0);
    }
    for (int row = 0; row < store_.Count(); ++row) ASSERT_NE(store_.BracketState(row), kBracketNotComputed) << row;
  }

  std::string RandomLines(std::mt19937& random, int lines) {
    static const std::vector<std::string> pieces = {"int a;", " ", "/*", "*/", "/* x */", "// c /*", "\"s /*\"",
                                                    "\x81\x75", "\x81\x76", "\x82\xA0\x82\xA2", "\x81/*", "b = 2;",
                                                    "\t", "''", "'", "long_identifier_name"};
    std::string text;
    for (int line = 0; line < lines; ++line) {
      for (int i = static_cast<int>(random() % 6); i > 0; --i) text += pieces[random() % pieces.size()];
      text += "\r\n";
    }
    return text;
  }

  TEditorScreenStrings store_;
  FakeEditorView view_{store_};
};

TEST_P(TEditorBracketStatesTest, TheIdleFillGivesEveryRowItsState) {
  std::mt19937 random(7);
  SetText(RandomLines(random, 300));
  const bool pairs = !std::get<0>(GetParam()).brackets.empty();
  EXPECT_EQ(store_.BracketsPending(), pairs) << "with pairs, only the first screens are computed at the load";
  ExpectComputedStatesRight("after the load");
  FillAll();
  ExpectComputedStatesRight("after the fill");
  EXPECT_FALSE(store_.BracketsPending());
  EXPECT_EQ(store_.FillBrackets(100), 0);
}

TEST_P(TEditorBracketStatesTest, AJumpBeforeTheFillFindsTheStatesAFullScanFinds) {
  std::mt19937 random(11);
  SetText(RandomLines(random, 300));
  // A paint of the last screen asks for its first row.
  int last = store_.Count() - 1;
  store_.UpdateBrackets(last - 3, false);
  ExpectComputedStatesRight("after the jump");
  for (int row = 0; row < store_.Count(); ++row) ASSERT_NE(store_.BracketState(row), kBracketNotComputed) << row;
  // A jump into the middle with part of the fill done.
  SetText(RandomLines(random, 300));
  store_.FillBrackets(40);
  store_.UpdateBrackets(150, false);
  ExpectComputedStatesRight("after a fill slice and a jump");
  FillAll();
  ExpectComputedStatesRight("after the rest of the fill");
}

// Edits and undos anywhere, with the fill running now and then in between:
// what the edits leave computed is right, and the fill completes it rightly.
// KERV_RANDOM_SEED and KERV_RANDOM_STEPS vary and lengthen the run.
TEST_P(TEditorBracketStatesTest, RandomEditsKeepTheStatesRight) {
  const char* seedEnv = std::getenv("KERV_RANDOM_SEED");
  std::mt19937 random(seedEnv ? static_cast<unsigned>(std::atoi(seedEnv)) : 5150u);
  const char* stepsEnv = std::getenv("KERV_RANDOM_STEPS");
  const int steps = stepsEnv ? std::atoi(stepsEnv) : 300;
  store_.UndoObj().SetUndoListMax(100000);
  SetText(RandomLines(random, 120));
  for (int step = 0; step < steps; ++step) {
    const std::string when = "step " + std::to_string(step);
    const unsigned action = random() % 10;
    const int rows = store_.Count();
    if (action < 6) {
      // Lines in, lines out, or a row changed: at the top, at the end or anywhere.
      int row = random() % 3 == 0 || rows == 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(rows));
      int count = std::min(rows - row, static_cast<int>(random() % 3));
      std::string text = RandomLines(random, static_cast<int>(random() % 3));
      if (random() % 2 && !text.empty()) text.resize(text.size() - 2);  // no line break: joins the next line
      store_.ReplaceRows(row, count, text);
    } else if (action < 8) {
      store_.Undo();
    } else if (action < 9) {
      store_.FillBrackets(1 + static_cast<int>(random() % 50));
    } else {
      store_.UpdateBrackets(static_cast<int>(random() % static_cast<unsigned>(std::max(1, store_.Count()))), false);
    }
    ExpectComputedStatesRight(when);
    if (HasFatalFailure()) return;
    if (step % 25 == 0) {
      FillAll();
      ExpectComputedStatesRight(when + " and a fill");
      if (HasFatalFailure()) return;
    }
  }
}

// A text wrapped in steps: the bracket fill, the cutting of lines (in order
// and where a view shows them) and jumps run in any order, and every state
// known stays right as lines are cut under it.
TEST_P(TEditorBracketStatesTest, LinesCutInStepsKeepTheStatesRight) {
  if (!std::get<1>(GetParam())) return;  // steps are for word wrap
  store_.SetStepWrapBytes(1);
  std::mt19937 random(23);
  TEditorStrings(view_).LoadText(RandomLines(random, 400));
  ASSERT_TRUE(store_.WrapPending());
  ExpectComputedStatesRight("after the load");
  for (int step = 0; store_.WrapPending() || store_.BracketsPending(); ++step) {
    ASSERT_LT(step, 100000) << "the fills do not end";
    const int row = static_cast<int>(random() % static_cast<unsigned>(store_.Count()));
    switch (random() % 4) {
      case 0: store_.FillBrackets(1 + static_cast<int>(random() % 40)); break;
      case 1: store_.FillWrap(1 + static_cast<int>(random() % 20)); break;
      case 2: store_.CutShownRows(row, 5); break;
      default: store_.UpdateBrackets(row, false); break;
    }
    ExpectComputedStatesRight("step " + std::to_string(step));
    if (HasFatalFailure()) return;
  }
  for (int row = 0; row < store_.Count(); ++row) ASSERT_NE(store_.BracketState(row), kBracketNotComputed) << row;
}

// Typing an opening bracket at the top recolours the rows below as they come
// into view, and taking it back restores them, fill or no fill.
TEST_P(TEditorBracketStatesTest, AnOpenedCommentAtTheTopReachesTheRowsBelow) {
  // Every set of options here with pairs has the C pair first.
  const bool pairs = !std::get<0>(GetParam()).brackets.empty();
  const int opened = pairs ? 0 : kBracketNone;
  std::string text;
  for (int i = 0; i < 200; ++i) text += "int line" + std::to_string(i) + ";\r\n";
  SetText(text);
  FillAll();
  store_.ReplaceRows(0, 1, "/*int line0;\r\n");
  ExpectComputedStatesRight("after the opening");
  EXPECT_EQ(store_.BracketsPending(), pairs) << "the rows below are computed again";
  int last = store_.Count() - 1;
  store_.UpdateBrackets(last, false);
  EXPECT_EQ(store_.BracketState(last), opened);
  ExpectComputedStatesRight("after the jump");
  store_.Undo();
  ExpectComputedStatesRight("after the undo");
  FillAll();
  EXPECT_EQ(store_.BracketState(last), kBracketNone);
  ExpectComputedStatesRight("after the fill");
}

const Options kC{"C", {{"/*", "*/"}}, "\""};
const Options kSeveral{"several pairs", {{"/*", "*/"}, {"\x81\x75", "\x81\x76"}, {"'", "'"}}, "\""};
// An empty right bracket closes at a row's first token: the parser reads those rows.
const Options kParsed{"read by the parser", {{"/*", "*/"}, {"'", ""}}, "\""};
const Options kNone{"no pairs", {}, "\""};

INSTANTIATE_TEST_SUITE_P(, TEditorBracketStatesTest,
                         ::testing::Combine(::testing::Values(kC, kSeveral, kParsed, kNone), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<Options, bool>>& info) {
                           std::string name = std::get<0>(info.param).name;
                           for (char& c : name) {
                             if (c == ' ') c = '_';
                           }
                           return name + (std::get<1>(info.param) ? "_wrap" : "_nowrap");
                         });

}  // namespace
}  // namespace kerv
