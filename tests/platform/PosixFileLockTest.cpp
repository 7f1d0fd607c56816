#include "platform/posix/PosixFileLock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/fake/FakeFileLock.h"
#include "platform/posix/PosixFileSystem.h"

namespace kerv {
namespace {

class PosixFileLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kervlockXXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = std::string(pattern) + "/";
    path_ = dir_ + "doc.txt";
    fs_.WriteFile(path_, "text");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // What another process sees: 0 free, 1 refused.
  int RefusedInChild(bool forWriting) {
    pid_t pid = ::fork();
    if (pid == 0) {
      PosixFileLock other;
      ::_exit(other.Refused(path_, forWriting) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string dir_;
  std::string path_;
  PosixFileSystem fs_;
};

TEST_F(PosixFileLockTest, ModesRefuseWhatTheyShould) {
  struct Case {
    int mode;
    bool held;
    int readRefused;
    int writeRefused;
  } cases[] = {
      {IFileLock::lmNone, false, 0, 0},
      {IFileLock::lmDenyWrite, true, 0, 1},
      {IFileLock::lmDenyAll, true, 1, 1},
      {1, false, 0, 0},
  };
  for (const Case& c : cases) {
    PosixFileLock lock;
    EXPECT_EQ(lock.Lock(path_, c.mode), c.held) << c.mode;
    EXPECT_EQ(lock.Held(), c.held);
    EXPECT_EQ(RefusedInChild(false), c.readRefused) << c.mode;
    EXPECT_EQ(RefusedInChild(true), c.writeRefused) << c.mode;
    lock.Unlock();
    EXPECT_EQ(RefusedInChild(true), 0);
  }
}

TEST_F(PosixFileLockTest, SecondHolderIsRefusedAndMissingFileIsNotLocked) {
  PosixFileLock first;
  ASSERT_TRUE(first.Lock(path_, IFileLock::lmDenyAll));
  PosixFileLock second;  // another window of this process: its own open file
  EXPECT_FALSE(second.Lock(path_, IFileLock::lmDenyWrite));
  EXPECT_TRUE(second.Refused(path_, false));
  first.Unlock();
  EXPECT_TRUE(second.Lock(path_, IFileLock::lmDenyWrite));
  // Re-locking releases the old lock first.
  EXPECT_FALSE(second.Lock(dir_ + "missing.txt", IFileLock::lmDenyAll));
  EXPECT_FALSE(second.Held());
  EXPECT_FALSE(first.Refused(path_, true));
}

TEST(FakeFileLockTest, SharedLocksGoTogether) {
  FakeLockTable table;
  FakeFileLock a(table), b(table);
  EXPECT_TRUE(a.Lock("/f", IFileLock::lmDenyWrite));
  EXPECT_TRUE(b.Lock("/f", IFileLock::lmDenyWrite));
  EXPECT_TRUE(a.Refused("/f", true));
  EXPECT_FALSE(a.Refused("/f", false));
  b.Unlock();
  EXPECT_FALSE(a.Refused("/f", true));
  EXPECT_FALSE(b.Lock("/g", 0));
  EXPECT_EQ(table.ModeHeld("/f", &a), 2);
}

}  // namespace
}  // namespace kerv
