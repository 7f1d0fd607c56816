#include <gtest/gtest.h>

#include "platform/FileSystem.h"

namespace kerv {
namespace {

TEST(PathsTest, AbsolutePathFoldsDotsAgainstBase) {
  struct Case {
    const char* name;
    const char* base;
    const char* expected;
  } cases[] = {
      {"a.txt", "/home/user/", "/home/user/a.txt"},
      {"./a.txt", "/home/user", "/home/user/a.txt"},
      {"../b/a.txt", "/home/user/", "/home/b/a.txt"},
      {"/etc/../tmp//x", "/home/", "/tmp/x"},
      {"../../../..", "/a/", "/"},
      {"sub/", "/a/", "/a/sub/"},
  };
  for (const Case& c : cases) EXPECT_EQ(AbsolutePath(c.name, c.base), c.expected) << c.name;
}

TEST(PathsTest, NamePartsSplitAtTheLastSlashAndDot) {
  EXPECT_EQ(ExtractFileName("/a/b.c/d"), "d");
  EXPECT_EQ(ExtractFileFolder("/a/b.c/d"), "/a/b.c/");
  EXPECT_EQ(ExtractFileFolder("d"), "");
  EXPECT_EQ(ExtractFileExt("/a/b.c/d"), "");
  EXPECT_EQ(ExtractFileExt("/a/x.tar.gz"), ".gz");
  EXPECT_EQ(IncludeTrailingSlash("/a"), "/a/");
  EXPECT_EQ(IncludeTrailingSlash("/a/"), "/a/");
}

TEST(PathsTest, PatternsMatchWithStarsAndQuestionMarks) {
  EXPECT_TRUE(MatchesPattern("c.em2", "*.em2"));
  EXPECT_TRUE(MatchesPattern(".em2", "*.em2"));
  EXPECT_FALSE(MatchesPattern("c.em2.bak", "*.em2"));
  EXPECT_TRUE(MatchesPattern("abc", "a?c"));
  EXPECT_FALSE(MatchesPattern("ac", "a?c"));
  EXPECT_TRUE(MatchesPattern("aXbXc", "a*b*c"));
  EXPECT_TRUE(MatchesPattern("anything", "*"));
  EXPECT_FALSE(MatchesPattern("x.TKS", "*.tks"));
}

}  // namespace
}  // namespace kerv
