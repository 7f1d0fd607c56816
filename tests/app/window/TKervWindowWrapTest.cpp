#include "app/window/TKervWindowWrap.h"

#include <gtest/gtest.h>

#include "tests/app/commands/TwoPanes.h"

namespace kerv {
namespace {

using testing::TwoPanes;

TEST(TKervWindowWrapTest, WordWrapAndWindowWrapStateMachine) {
  TwoPanes panes;
  TKervWindowWrap wrap(panes);
  wrap.SetModeWrap(false, 60);
  // Window wrap on: word wrap at the window's width.
  EXPECT_TRUE(wrap.SetWindowWrap(true, 90));
  EXPECT_TRUE(panes.main.WordWrap());
  EXPECT_EQ(panes.main.WrapOption().WrapByte(), 90);
  // A wider window re-wraps.
  wrap.Fit(120);
  EXPECT_EQ(panes.main.WrapOption().WrapByte(), 120);
  // Word wrap off turns both off.
  EXPECT_TRUE(wrap.SetWordWrap(false));
  EXPECT_FALSE(wrap.WindowWrap());
  EXPECT_FALSE(panes.main.WordWrap());
  // Word wrap on uses the mode's width; window wrap off afterwards restores the mode's wrap.
  EXPECT_TRUE(wrap.SetWordWrap(true));
  EXPECT_EQ(panes.main.WrapOption().WrapByte(), 60);
  EXPECT_FALSE(wrap.SetWordWrap(true));
  wrap.SetWindowWrap(true, 100);
  wrap.SetWindowWrap(false, 100);
  EXPECT_FALSE(panes.main.WordWrap());
  EXPECT_EQ(panes.main.WrapOption().WrapByte(), 60);
  // A mode applied while window wrap is on keeps the window's width.
  wrap.SetWindowWrap(true, 100);
  wrap.SetModeWrap(true, 40);
  wrap.ModeApplied(100);
  EXPECT_EQ(panes.main.WrapOption().WrapByte(), 100);
  EXPECT_TRUE(panes.second.WordWrap());
}

}  // namespace
}  // namespace kerv
