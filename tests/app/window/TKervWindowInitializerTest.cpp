#include "app/window/TKervWindowInitializer.h"

#include <gtest/gtest.h>

namespace kerv {
namespace {

TEST(TKervWindowInitializerTest, PlacementRules) {
  TKervWindowSettings defaults;
  TKervWindowPlacement first = TKervWindowInitializer::Apply(defaults, 0, 0);
  EXPECT_TRUE(first.setPosition);
  EXPECT_EQ(first.x, 100);
  EXPECT_EQ(first.width, 640);
  EXPECT_EQ(first.height, 300);
  EXPECT_EQ(first.state, TKervShowState::Normal);

  TKervWindowSettings user;
  user.UseUserPos = true;
  user.UserPosX = 7;
  user.UseUserSize = true;
  user.UserSizeY = 450;
  user.LastWindowState = 2;
  TKervWindowPlacement placed = TKervWindowInitializer::Apply(user, 0, 0);
  EXPECT_EQ(placed.x, 7);
  EXPECT_EQ(placed.height, 450);
  EXPECT_EQ(placed.state, TKervShowState::Maximized) << "mode 0 takes the last state";
  EXPECT_EQ(TKervWindowInitializer::Apply(user, 0, 2).state, TKervShowState::Minimized) << "/n wins";
  user.Mode = 1;
  EXPECT_EQ(TKervWindowInitializer::Apply(user, 0, 0).state, TKervShowState::Minimized);
  EXPECT_EQ(TKervWindowInitializer::Apply(user, 0, 1).state, TKervShowState::Normal) << "/x wins";

  // A second window keeps the system's position; only its size follows.
  TKervWindowPlacement second = TKervWindowInitializer::Apply(user, 1, 2);
  EXPECT_FALSE(second.setPosition);
  EXPECT_EQ(second.height, 450);
}

}  // namespace
}  // namespace kerv
