#include "platform/posix/PosixFileSystem.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

namespace kerv {
namespace {

class PosixFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kervfsXXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = std::string(pattern) + "/";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string dir_;
  PosixFileSystem fs_;
};

TEST_F(PosixFileSystemTest, WriteReplacesWholeAndKeepsPermissions) {
  std::string path = dir_ + "a.txt";
  fs_.WriteFile(path, "first");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  fs_.WriteFile(path, std::string("sec\0nd", 6));
  EXPECT_EQ(fs_.ReadFile(path), std::string("sec\0nd", 6));
  struct stat info;
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  // No temporary file is left behind.
  EXPECT_EQ(fs_.ListFiles(dir_, "*"), std::vector<std::string>{"a.txt"});
}

TEST_F(PosixFileSystemTest, WriteThroughSymbolicLinkKeepsTheLink) {
  std::string target = dir_ + "target.txt";
  std::string link = dir_ + "link.txt";
  fs_.WriteFile(target, "old");
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  fs_.WriteFile(link, "new");
  struct stat info;
  ASSERT_EQ(::lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(fs_.ReadFile(target), "new");
  EXPECT_EQ(fs_.ResolveLink(link), target);
}

TEST_F(PosixFileSystemTest, FailedWriteLeavesOriginal) {
  std::string folder = dir_ + "ro/";
  ASSERT_TRUE(fs_.CreateFolder(folder));
  fs_.WriteFile(folder + "a.txt", "keep");
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  EXPECT_THROW(fs_.WriteFile(folder + "a.txt", "lost"), EFileError);
  EXPECT_EQ(fs_.ReadFile(folder + "a.txt"), "keep");
  ::chmod(folder.c_str(), 0755);
}

TEST_F(PosixFileSystemTest, ReadOnlyFileRefusesTheWrite) {
  // The write goes through a temporary file and a rename, which a read-only
  // file would not stop by itself.
  std::string path = dir_ + "ro.txt";
  fs_.WriteFile(path, "keep");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  if (::geteuid() == 0) GTEST_SKIP() << "root may write read-only files";
  EXPECT_THROW(fs_.WriteFile(path, "lost"), EFileError);
  EXPECT_EQ(fs_.ReadFile(path), "keep");
}

TEST_F(PosixFileSystemTest, WriteThatRunsOutOfSpaceLeavesOriginal) {
  // A file-size limit makes the write fail part-way, as a full disk would,
  // and works for root too.
  std::string path = dir_ + "big.txt";
  fs_.WriteFile(path, "original");
  struct rlimit old;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(fs_.WriteFile(path, std::string(100000, 'x')), EFileError);
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(fs_.ReadFile(path), "original");
  EXPECT_EQ(fs_.ListFiles(dir_, "*"), std::vector<std::string>{"big.txt"});
}

TEST_F(PosixFileSystemTest, BatchedWritesAreWholeAndAFailureInsideLeavesTheOriginal) {
  // Inside a batch the flushing waits for its end; the files, their
  // replacement and the failures are the same as outside one.
  fs_.WriteFile(dir_ + "kept.txt", "original");
  {
    TFileWriteBatch outer(fs_);
    {
      TFileWriteBatch inner(fs_);
      for (int n = 0; n < 20; ++n) fs_.WriteFile(dir_ + "f" + std::to_string(n), std::string(1000 + n, 'a'));
    }
    fs_.WriteFile(dir_ + "f0", "replaced");
    struct rlimit old;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(fs_.WriteFile(dir_ + "kept.txt", std::string(100000, 'x')), EFileError);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
  }
  EXPECT_EQ(fs_.ReadFile(dir_ + "f0"), "replaced");
  EXPECT_EQ(fs_.FileSize(dir_ + "f19"), 1019);
  EXPECT_EQ(fs_.ReadFile(dir_ + "kept.txt"), "original");
  EXPECT_EQ(fs_.ListFiles(dir_, "*.tmp"), std::vector<std::string>{});
  EXPECT_EQ(fs_.ListFiles(dir_, "*").size(), 21u);
  // An end without a beginning changes nothing.
  fs_.EndWriteBatch();
  fs_.WriteFile(dir_ + "after", "x");
  EXPECT_EQ(fs_.ReadFile(dir_ + "after"), "x");
}

TEST_F(PosixFileSystemTest, DevicesAreWrittenInPlace) {
  // /dev/full fails every write: the error must surface, and the device stays a device.
  if (!fs_.FileExists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  EXPECT_THROW(fs_.WriteFile("/dev/full", "x"), EFileError);
  struct stat info;
  ASSERT_EQ(::stat("/dev/full", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  fs_.WriteFile("/dev/null", "gone");
}

TEST_F(PosixFileSystemTest, FileBytesOfFilesOfEverySize) {
  fs_.WriteFile(dir_ + "big", std::string(300000, 'b') + "end");
  fs_.WriteFile(dir_ + "empty", "");
  EXPECT_EQ(fs_.ReadFileBytes(dir_ + "big").View(), std::string(300000, 'b') + "end");
  EXPECT_EQ(fs_.ReadFileBytes(dir_ + "empty").size, 0u);
  EXPECT_THROW(fs_.ReadFileBytes(dir_ + "missing"), EFileError);
  EXPECT_THROW(fs_.ReadFileBytes(dir_), EFileError);
}

TEST_F(PosixFileSystemTest, FoldersAreCreatedOneLevelOnly) {
  EXPECT_FALSE(fs_.CreateFolder(dir_ + "x/y/"));
  EXPECT_TRUE(fs_.CreateFolder(dir_ + "x/"));
  EXPECT_TRUE(fs_.CreateFolder(dir_ + "x/y"));
  EXPECT_TRUE(fs_.FolderExists(dir_ + "x/y/"));
  EXPECT_FALSE(fs_.FileExists(dir_ + "x"));
}

TEST_F(PosixFileSystemTest, ReadErrorsNameTheKind) {
  try {
    fs_.ReadFile(dir_ + "missing");
    FAIL();
  } catch (const EFileError& e) {
    EXPECT_EQ(e.kind(), EFileError::Kind::NotFound);
  }
  EXPECT_EQ(fs_.FileSize(dir_ + "missing"), -1);
  EXPECT_THROW(fs_.ReadFile(dir_), EFileError);
}

TEST_F(PosixFileSystemTest, ListAndCopy) {
  fs_.WriteFile(dir_ + "b.em2", "b");
  fs_.WriteFile(dir_ + "a.em2", "a");
  fs_.WriteFile(dir_ + "c.tks", "c");
  EXPECT_EQ(fs_.ListFiles(dir_, "*.em2"), (std::vector<std::string>{"a.em2", "b.em2"}));
  EXPECT_TRUE(fs_.CopyFile(dir_ + "c.tks", dir_ + "d.tks"));
  EXPECT_EQ(fs_.ReadFile(dir_ + "d.tks"), "c");
  EXPECT_FALSE(fs_.CopyFile(dir_ + "none", dir_ + "e"));
}

TEST_F(PosixFileSystemTest, TimeStampsInNanosecondsAndModeBits) {
  std::string path = dir_ + "t.txt";
  EXPECT_EQ(fs_.FileTime(path), -1);
  EXPECT_EQ(fs_.FileMode(path), -1);
  EXPECT_EQ(fs_.FileTime(dir_), -1);  // a folder is no file
  fs_.WriteFile(path, "x");
  ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
  EXPECT_EQ(fs_.FileMode(path), 0604);
  struct timespec times[2] = {{1700000000, 123456789}, {1700000000, 123456789}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  EXPECT_EQ(fs_.FileTime(path), 1700000000123456789LL);
  // A write changes the stamp even within the same second.
  fs_.WriteFile(path, "y");
  EXPECT_NE(fs_.FileTime(path), 1700000000123456789LL);
  EXPECT_EQ(fs_.FileMode(path), 0604);
}

TEST_F(PosixFileSystemTest, UserNameIsTheProcessOwner) {
  ::setenv("USER", "somebody-else", 1);
  EXPECT_NE(fs_.UserName(), "somebody-else");
  EXPECT_FALSE(fs_.UserName().empty());
}

}  // namespace
}  // namespace kerv
