#include <gtest/gtest.h>

#include <string>

#include "editor/TEditorBracketCollection.h"
#include "editor/TEditorColors.h"
#include "editor/TEditorViewInfo.h"

namespace kerv {
namespace {

// Counts the change events an option object raises.
struct ChangeCounter {
  int count = 0;
  void Watch(TNotifyPersistent& target) {
    target.SetOnChange([this](TNotifyPersistent*) { ++count; });
  }
};

TEST(TEditorColorTest, DefaultsSettersAndAssign) {
  TEditorColor color;
  EXPECT_EQ(color.BkColor(), 0xFF000005u);
  EXPECT_EQ(color.Color(), 0xFF000008u);
  EXPECT_EQ(color.Style(), 0);
  ChangeCounter counter;
  counter.Watch(color);
  color.SetColor(0xFF000008u);  // same value: no event
  color.SetStyle(0);
  EXPECT_EQ(counter.count, 0);
  color.SetColor(0x0000FFu);
  color.SetStyle(fsBold | fsUnderline);
  EXPECT_EQ(counter.count, 2);

  TEditorColor source(0x112233u, 0x445566u, fsItalic);
  color.Assign(source);
  EXPECT_EQ(counter.count, 3);
  EXPECT_TRUE(color.SameValues(source));
}

TEST(TEditorColorsTest, EntriesNotifyTheSetOnce) {
  TEditorColors colors;
  EXPECT_EQ(colors.Select().BkColor(), 0x800000u);
  EXPECT_EQ(colors.Select().Color(), 0xFFFFFFu);
  for (int entry = 0; entry < ceCount; ++entry) {
    if (entry == ceSelect) continue;
    EXPECT_TRUE(colors.Item(static_cast<TEditorColorEntry>(entry)).SameValues(TEditorColor())) << entry;
  }
  ChangeCounter counter;
  counter.Watch(colors);
  colors.Stress7().SetBkColor(0x123456u);
  EXPECT_EQ(counter.count, 1);

  TEditorColors source;
  for (int entry = 0; entry < ceCount; ++entry) {
    source.Item(static_cast<TEditorColorEntry>(entry)).SetColor(static_cast<TColor>(entry + 1));
  }
  counter.count = 0;
  colors.Assign(source);
  EXPECT_EQ(counter.count, 1);
  for (int entry = 0; entry < ceCount; ++entry) {
    EXPECT_EQ(colors.Item(static_cast<TEditorColorEntry>(entry)).Color(), static_cast<TColor>(entry + 1));
  }
}

TEST(TEditorColorsTest, SetAllTouchesTheNineTokenEntries) {
  TEditorColors colors;
  ChangeCounter counter;
  counter.Watch(colors);
  colors.SetAllColor(0x00FF00u);
  colors.SetAllBkColor(0x0000FFu);
  colors.SetAllStyle(fsStrikeOut);
  EXPECT_EQ(counter.count, 3);
  for (TEditorColorEntry entry : {ceAnk, ceComment, ceDBCS, ceInt, ceMail, ceStr, ceSymbol, ceReserve, ceUrl}) {
    EXPECT_TRUE(colors.Item(entry).SameValues(TEditorColor(0x0000FFu, 0x00FF00u, fsStrikeOut))) << entry;
  }
  EXPECT_EQ(colors.Select().Color(), 0xFFFFFFu);
  for (TEditorColorEntry entry : {ceStress2, ceStress10, ceFindStr, ceStressTmp}) {
    EXPECT_TRUE(colors.Item(entry).SameValues(TEditorColor())) << entry;
  }
}

TEST(TEditorBracketCollectionTest, FiftyPairsAtMost) {
  TEditorBracketCollection brackets;
  for (int i = 0; i < 50; ++i) brackets.Add().SetLeftBracket(std::to_string(i));
  try {
    brackets.Add();
    FAIL() << "no exception";
  } catch (const EEditorBracketCollection& error) {
    EXPECT_STREQ(error.what(), "TEditorBracketCollection\r\nYou can not add item over 50");
  }
  EXPECT_THROW(brackets.Insert(0), EEditorBracketCollection);
  EXPECT_EQ(brackets.Count(), 50);
  EXPECT_EQ(brackets.Items(0).LeftBracket(), "0");
  EXPECT_EQ(brackets.Items(49).Index(), 49);
}

TEST(TEditorBracketCollectionTest, ItemChangesReachTheViewOptions) {
  TEditorViewInfo view;
  ChangeCounter counter;
  counter.Watch(view);
  TEditorBracketItem& item = view.Brackets().Add();
  EXPECT_EQ(counter.count, 1);
  item.SetLeftBracket("/*");
  item.SetLeftBracket("/*");
  item.SetRightBracket("*/");
  item.SetShowReserve(true);
  item.ItemColor().SetColor(0x808080u);
  EXPECT_EQ(counter.count, 5);

  TEditorBracketItem other;
  other.SetLeftBracket("{");
  other.SetRightBracket("}");
  other.ItemColor().SetStyle(fsBold);
  item.Assign(other);
  EXPECT_EQ(counter.count, 6);
  EXPECT_EQ(item.LeftBracket(), "{");
  EXPECT_FALSE(item.ShowReserve());
  EXPECT_EQ(item.ItemColor().Style(), fsBold);

  view.Brackets().SetAllBkColor(0x00FFFFu);
  EXPECT_EQ(counter.count, 7);
  EXPECT_EQ(item.ItemColor().BkColor(), 0x00FFFFu);
  view.Colors().Url().SetColor(1);
  EXPECT_EQ(counter.count, 8);
}

TEST(TEditorBracketCollectionTest, AssignReplacesAllPairsOnce) {
  TEditorBracketCollection source;
  source.Add().SetLeftBracket("a");
  source.Add().SetLeftBracket("b");
  TEditorBracketCollection target;
  target.Add().SetLeftBracket("old");
  ChangeCounter counter;
  counter.Watch(target);
  target.Assign(source);
  EXPECT_EQ(counter.count, 1);
  ASSERT_EQ(target.Count(), 2);
  EXPECT_EQ(target.Items(1).LeftBracket(), "b");
  EXPECT_EQ(target.Items(1).Collection(), &target);
  target.Move(1, 0);
  EXPECT_EQ(target.Items(0).LeftBracket(), "b");
  target.Delete(0);
  EXPECT_EQ(target.Items(0).LeftBracket(), "a");
  EXPECT_THROW(target.Delete(5), std::out_of_range);
}

TEST(TEditorViewInfoTest, QuotationKeepsOneByte) {
  TEditorViewInfo view;
  view.SetQuotation("\"'");
  EXPECT_EQ(view.Quotation(), "\"");
  view.SetQuotation("");
  EXPECT_EQ(view.Quotation(), "");
}

TEST(TEditorViewInfoTest, AssignCopiesEverythingOnce) {
  TEditorViewInfo source;
  source.SetCommenter("//");
  source.SetControlCode(true);
  source.SetHexPrefix("0x");
  source.SetMail(true);
  source.SetQuotation("'");
  source.SetUrl(true);
  source.Brackets().Add().SetLeftBracket("<!--");
  source.Colors().Comment().SetColor(0x008000u);

  TEditorViewInfo view;
  ChangeCounter counter;
  counter.Watch(view);
  view.SetCommenter("");  // unchanged: no event
  EXPECT_EQ(counter.count, 0);
  view.Assign(source);
  EXPECT_EQ(counter.count, 1);
  EXPECT_EQ(view.Commenter(), "//");
  EXPECT_TRUE(view.ControlCode());
  EXPECT_EQ(view.HexPrefix(), "0x");
  EXPECT_TRUE(view.Mail());
  EXPECT_EQ(view.Quotation(), "'");
  EXPECT_TRUE(view.Url());
  ASSERT_EQ(view.Brackets().Count(), 1);
  EXPECT_EQ(view.Brackets().Items(0).LeftBracket(), "<!--");
  EXPECT_EQ(view.Colors().Comment().Color(), 0x008000u);
}

}  // namespace
}  // namespace kerv
