#include "editor/TPointerStringList.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kerv {
namespace {

TEST(RowRecordTest, KindAndBracketArePackedApart) {
  TPointerStringList rows;
  rows.Add("a");
  EXPECT_EQ(rows.RowAttribute(0), raCrlf);
  EXPECT_EQ(rows.RowBracket(0), -2);
  EXPECT_EQ(rows.GetValue(0), 0u);
  for (int state : {-2, -1, 0, 13, 14, 49}) {
    for (TRowAttribute kind : {raCrlf, raWrapped, raEof}) {
      rows.SetRowAttribute(0, kind);
      rows.SetRowBracket(0, state);
      EXPECT_EQ(rows.RowAttribute(0), kind);
      EXPECT_EQ(rows.RowBracket(0), state);
      rows.SetRowAttribute(0, kind == raEof ? raCrlf : raEof);
      EXPECT_EQ(rows.RowBracket(0), state) << "setting the kind keeps the state";
      rows.SetRowAttribute(0, kind);
      // The kind stays in bits 0-3 and nothing beyond bit 11 is used.
      EXPECT_EQ(rows.GetValue(0) & 0x0Fu, static_cast<uint32_t>(kind));
      EXPECT_EQ(rows.GetValue(0) & ~0xFFFu, 0u);
    }
  }
  EXPECT_EQ(rows.RowAttribute(-1), raEof);
  EXPECT_EQ(rows.RowAttribute(1), raEof);
}

TEST(TPointerStringListTest, ValuesStayInStepWithTheStrings) {
  TPointerStringList list;
  list.Add("a");
  list.Add("b");
  list.SetValue(0, 7);
  list.SetValue(1, 9);
  list.Insert(1, "x");
  EXPECT_EQ(list.GetValue(1), 0u);
  EXPECT_EQ(list.GetValue(2), 9u);
  list.Put(2, "bb");
  EXPECT_EQ(list.GetValue(2), 9u);
  EXPECT_EQ(list.Get(2), "bb");
  list.Delete(0);
  EXPECT_EQ(list.Get(0), "x");
  EXPECT_EQ(list.GetValue(1), 9u);
  EXPECT_THROW(list.Get(2), EListError);
  EXPECT_THROW(list.Delete(-1), EListError);
  EXPECT_THROW(list.DeleteRange(1, 2), EListError);
  EXPECT_EQ(list.Count(), 2);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.LineEndCount(), 0);
}

// Every operation against a plain vector, across many block boundaries.
TEST(TPointerStringListTest, MatchesAPlainModelUnderRandomEdits) {
  std::mt19937 random(20261209);
  TPointerStringList list;
  std::vector<std::pair<std::string, uint32_t>> model;
  auto text = [&](int n) { return "r" + std::to_string(n) + std::string(random() % 20, 'x'); };
  auto check = [&]() {
    ASSERT_EQ(list.Count(), static_cast<int>(model.size()));
    int lineEnds = 0;
    std::vector<int> lineEndRows;
    for (size_t i = 0; i < model.size(); ++i) {
      ASSERT_EQ(list.LineEndsBefore(static_cast<int>(i)), lineEnds) << i;
      if ((model[i].second & 0xF) != raWrapped) {
        ++lineEnds;
        lineEndRows.push_back(static_cast<int>(i));
      }
    }
    ASSERT_EQ(list.LineEndCount(), lineEnds);
    // Extents: CR LF after raCrlf rows; the row holding a byte, found from the top.
    std::vector<long long> starts;
    long long extent = 0;
    for (const auto& [rowText, value] : model) {
      starts.push_back(extent);
      extent += static_cast<long long>(rowText.size()) + ((value & 0xF) == raCrlf ? 2 : 0);
    }
    ASSERT_EQ(list.TotalExtent(), extent);
    for (int probe = 0; probe < 30 && !model.empty(); ++probe) {
      size_t i = random() % model.size();
      ASSERT_EQ(list.ExtentBefore(static_cast<int>(i)), starts[i]) << i;
      long long offset = static_cast<long long>(random() % static_cast<unsigned long long>(extent + 3));
      int expected = static_cast<int>(model.size());
      for (size_t r = 0; r < model.size(); ++r) {
        long long rowEnd = r + 1 < model.size() ? starts[r + 1] : extent;
        if (offset < rowEnd || (r + 1 == model.size() && (model[r].second & 0xF) == raEof)) {
          expected = static_cast<int>(r);
          break;
        }
      }
      long long rowStart = -1;
      ASSERT_EQ(list.RowAtExtent(offset, &rowStart), expected) << offset;
      ASSERT_EQ(rowStart, expected < static_cast<int>(model.size()) ? starts[static_cast<size_t>(expected)] : extent);
    }
    for (size_t k = 0; k < lineEndRows.size(); k += 1 + random() % 7) ASSERT_EQ(list.NthLineEnd(static_cast<int>(k)), lineEndRows[k]);
    ASSERT_EQ(list.NthLineEnd(lineEnds), list.Count());
    // Random and sequential access, forward and backward.
    for (int probe = 0; probe < 50 && !model.empty(); ++probe) {
      size_t i = random() % model.size();
      ASSERT_EQ(list.Get(static_cast<int>(i)), model[i].first);
      ASSERT_EQ(list.GetValue(static_cast<int>(i)), model[i].second);
    }
    for (int i = static_cast<int>(model.size()) - 1; i >= 0; i -= 1 + static_cast<int>(random() % 3)) {
      ASSERT_EQ(list.Get(i), model[static_cast<size_t>(i)].first);
    }
  };
  int serial = 0;
  for (int step = 0; step < 3000; ++step) {
    int op = static_cast<int>(random() % 10);
    int size = static_cast<int>(model.size());
    if (op <= 2 || size == 0) {
      int at = static_cast<int>(random() % (size + 1));
      std::string s = text(serial++);
      list.Insert(at, s);
      model.insert(model.begin() + at, {s, 0});
    } else if (op == 3) {
      int at = static_cast<int>(random() % size);
      int count = static_cast<int>(random() % std::min(size - at, 3000)) + 1;
      list.DeleteRange(at, count);
      model.erase(model.begin() + at, model.begin() + at + count);
    } else if (op == 4) {
      int at = static_cast<int>(random() % size);
      uint32_t value = static_cast<uint32_t>(random() % 3) | static_cast<uint32_t>(random() % 50) << 4;
      list.SetValue(at, value);
      model[static_cast<size_t>(at)].second = value;
    } else if (op == 5) {
      int at = static_cast<int>(random() % size);
      std::string s = text(serial++);
      list.Put(at, s);
      model[static_cast<size_t>(at)].first = s;
    } else if (op == 6) {
      // Move in a batch of rows, sometimes larger than a block.
      TPointerStringList batch;
      std::vector<std::pair<std::string, uint32_t>> rows;
      int count = static_cast<int>(random() % (random() % 4 == 0 ? 2500 : 5)) + 1;
      for (int i = 0; i < count; ++i) {
        std::string s = text(serial++);
        batch.Add(s);
        uint32_t value = static_cast<uint32_t>(random() % 3);
        batch.SetValue(i, value);
        rows.push_back({s, value});
      }
      int at = static_cast<int>(random() % (size + 1));
      list.MoveIn(at, batch);
      EXPECT_EQ(batch.Count(), 0);
      model.insert(model.begin() + at, rows.begin(), rows.end());
    } else if (op == 7) {
      int from = static_cast<int>(random() % size);
      int count = static_cast<int>(random() % std::min(size - from, 40)) + 1;
      int at = static_cast<int>(random() % (size + 1));
      TPointerStringList copy;
      copy.InsertRange(0, list, from, count);
      list.InsertRange(at, copy, 0, count);
      std::vector<std::pair<std::string, uint32_t>> rows(model.begin() + from, model.begin() + from + count);
      model.insert(model.begin() + at, rows.begin(), rows.end());
    } else if (op == 8) {
      int count = static_cast<int>(random() % 3000);
      list.SetCount(count);
      model.resize(static_cast<size_t>(count), {"", 0});
    } else {
      ASSERT_EQ(list.Get(size - 1), model.back().first);
    }
    if (step % 50 == 0) check();
  }
  check();
}

TEST(TPointerStringListTest, FilledTextsSurviveEditsAroundThem) {
  TPointerStringList list;
  list.SetCount(3000);
  list.BeginFill(3000 * 4);
  for (int i = 0; i < 3000; ++i) list.FillItem(i, std::to_string(1000 + i));
  list.EndFill();
  EXPECT_EQ(list.ExtentBefore(1000), 1000 * 6);
  for (int i = 0; i < 3000; i += 2) list.Put(i, "p");
  list.DeleteRange(100, 2000);
  EXPECT_EQ(list.Get(0), "p");
  EXPECT_EQ(list.Get(1), "1001");
  EXPECT_EQ(list.Get(101), std::to_string(1000 + 2101));
  // Every arena text replaced: the arena is freed, and the list goes on working.
  for (int i = 0; i < list.Count(); ++i) list.Put(i, "q");
  list.Add("z");
  EXPECT_EQ(list.Get(list.Count() - 1), "z");
  TPointerStringList other;
  other.MoveIn(0, list);
  EXPECT_EQ(other.Get(1), "q");
}

// A load appends rows and fixes the last one's kind: the extents follow both.
TEST(TPointerStringListTest, AppendedRowsKeepTheirExtents) {
  TPointerStringList list;
  list.BeginFill(5000 * 3);
  for (int i = 0; i < 5000; ++i) list.AppendFill("abc", i % 2 == 0 ? raWrapped : raCrlf);
  list.SetLastRowAttribute(raEof);
  list.EndFill();
  EXPECT_EQ(list.TotalExtent(), 5000 * 3 + 2499 * 2);
  EXPECT_EQ(list.ExtentBefore(4), 3 + 5 + 3 + 5);
  long long rowStart = 0;
  EXPECT_EQ(list.RowAtExtent(list.TotalExtent() + 10, &rowStart), 4999);
  EXPECT_EQ(rowStart, list.TotalExtent() - 3);
}

// Fills list with rows prefix1000, prefix1001, ... in one arena, the last of
// kind lastKind; every ownEvery-th row (none for 0) then gets bytes of its own.
void FillNumberedRows(TPointerStringList& list, int rows, const std::string& prefix, TRowAttribute lastKind,
                      int ownEvery) {
  list.BeginFill(static_cast<size_t>(rows) * (prefix.size() + 4));
  for (int i = 0; i < rows; ++i) list.AppendFill(prefix + std::to_string(1000 + i), i + 1 == rows ? lastKind : raCrlf);
  list.EndFill();
  for (int i = 0; ownEvery > 0 && i < rows; i += ownEvery) list.Put(i, list.GetString(i));
}

// Splitting rows in place: the bytes stay, the index follows, and a row whose
// pieces do not add up stays whole. Filled rows share an arena, Put rows own
// their bytes: both are split, across block boundaries, with the arena
// outliving every piece of it.
TEST(TPointerStringListTest, SplitRowsKeepsTheTextAndTheIndex) {
  for (bool owned : {false, true}) {
    TPointerStringList list;
    const int rows = 3000;
    FillNumberedRows(list, rows, "ab", raEof, owned ? 1 : 0);
    const long long extent = list.TotalExtent();
    int seen = 0;
    int split = 0;
    int added = list.SplitRows(10, rows - 20, [&](std::string_view text, uint32_t value, std::vector<TRowPiece>& pieces) {
      const int step = seen++ % 3;
      if (step == 1) return;  // stays
      if (step == 2) {        // pieces that do not add up
        pieces = {{1, raWrapped}, {1, value}};
        return;
      }
      pieces = {{2, raWrapped}, {static_cast<uint32_t>(text.size() - 2), value}};
      ++split;
    });
    ASSERT_GT(split, 900);
    ASSERT_EQ(added, split) << owned;
    EXPECT_EQ(list.Count(), rows + split);
    EXPECT_EQ(list.TotalExtent(), extent);
    EXPECT_EQ(list.LineEndCount(), rows);
    std::string joined;
    for (int i = 0; i < list.Count(); ++i) {
      joined += list.Get(i);
      if (list.RowAttribute(i) == raCrlf) joined += "\n";
    }
    std::string expected;
    for (int i = 0; i < rows; ++i) expected += "ab" + std::to_string(1000 + i) + (i + 1 == rows ? "" : "\n");
    EXPECT_EQ(joined, expected) << owned;
    EXPECT_EQ(list.Get(10), "ab");
    EXPECT_EQ(list.RowAttribute(10), raWrapped);
    EXPECT_EQ(list.Get(11), "1010");
    EXPECT_EQ(list.NthLineEnd(10), 11);
    EXPECT_EQ(list.RowAtExtent(list.ExtentBefore(11)), 11);
    // Every piece can go on its own; the arena goes with the last of them.
    while (list.Count() > 1) list.Delete(list.Count() / 2);
    EXPECT_EQ(list.Get(0), "ab1000");
  }
}

// Joining a line's rows again: pieces that lie side by side become one row
// over the same bytes, others (rows of their own) are copied into one; the
// kinds, counts and extents follow, a last line cut at the end ends in raEof,
// and every row can still be freed.
TEST(TPointerStringListTest, JoinWrappedRowsUndoesASplit) {
  for (bool owned : {false, true}) {
    TPointerStringList list;
    const int rows = 3000;
    FillNumberedRows(list, rows, "ab", raEof, owned ? 2 : 0);
    auto image = [&list] {
      std::vector<std::pair<std::string, TRowAttribute>> out;
      for (int i = 0; i < list.Count(); ++i) out.emplace_back(list.GetString(i), list.RowAttribute(i));
      return out;
    };
    const auto before = image();
    const long long extent = list.TotalExtent();
    list.SplitRows(0, rows, [](std::string_view text, uint32_t value, std::vector<TRowPiece>& pieces) {
      pieces = {{1, raWrapped}, {2, raWrapped}, {static_cast<uint32_t>(text.size() - 3), value}};
    });
    ASSERT_EQ(list.Count(), 3 * rows);
    EXPECT_EQ(list.JoinWrappedRows(), 2 * rows);
    EXPECT_EQ(image(), before) << owned;
    EXPECT_EQ(list.TotalExtent(), extent);
    EXPECT_EQ(list.LineEndCount(), rows);
    EXPECT_EQ(list.ExtentBefore(rows - 1), extent - 6);
    // A list that ends inside a line.
    list.SetRowAttribute(rows - 1, raCrlf);
    list.Add("x");
    list.SetRowAttribute(rows - 1, raWrapped);
    list.SetRowAttribute(rows, raWrapped);
    EXPECT_EQ(list.JoinWrappedRows(), 1);
    EXPECT_EQ(list.Get(rows - 1), "ab" + std::to_string(999 + rows) + "x");
    EXPECT_EQ(list.RowAttribute(rows - 1), raEof);
    while (list.Count() > 0) list.Delete(list.Count() / 2);
  }
}

// A split that fails part way (here split itself throws) leaves each block
// either as it was or wholly split: the text, the counts and the extents
// still agree, and every row can still be freed.
TEST(TPointerStringListTest, AFailedSplitLeavesTheListWhole) {
  for (bool owned : {false, true}) {
    TPointerStringList list;
    const int rows = 5000;
    FillNumberedRows(list, rows, "r", raCrlf, owned ? 1 : 0);
    const long long extent = list.TotalExtent();
    int seen = 0;
    EXPECT_THROW(list.SplitRows(0, rows,
                                [&](std::string_view text, uint32_t value, std::vector<TRowPiece>& pieces) {
                                  if (++seen == 3000) throw std::runtime_error("split failed");
                                  pieces = {{1, raWrapped}, {static_cast<uint32_t>(text.size() - 1), value}};
                                }),
                 std::runtime_error);
    EXPECT_EQ(list.TotalExtent(), extent);
    EXPECT_EQ(list.LineEndCount(), rows);
    EXPECT_GT(list.Count(), rows) << "the blocks before the failure were split";
    EXPECT_LT(list.Count(), 2 * rows);
    long long sum = 0;
    std::string joined;
    for (int i = 0; i < list.Count(); ++i) {
      EXPECT_EQ(list.ExtentBefore(i), sum) << i;
      sum += static_cast<long long>(list.Get(i).size()) + (list.RowAttribute(i) == raCrlf ? 2 : 0);
      joined += list.Get(i);
    }
    std::string expected;
    for (int i = 0; i < rows; ++i) expected += "r" + std::to_string(1000 + i);
    EXPECT_EQ(joined, expected);
    while (list.Count() > 0) list.Delete(list.Count() - 1);
  }
}

}  // namespace
}  // namespace kerv
