#include "platform/posix/PosixFileSystem.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sys/file.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

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

TEST_F(PosixFileSystemTest, OnlyRegularFilesAreReadAsFiles) {
  const std::string fifo = dir_ + "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs_.WriteFile(dir_ + "a.txt", "text");
  EXPECT_EQ(fs_.FileKind(fifo), TFileKind::Fifo);
  EXPECT_EQ(fs_.FileKind(dir_ + "a.txt"), TFileKind::Regular);
  EXPECT_EQ(fs_.FileKind(dir_), TFileKind::Folder);
  EXPECT_EQ(fs_.FileKind(dir_ + "none"), TFileKind::Missing);
  EXPECT_EQ(fs_.ReadRegularFile(dir_ + "a.txt", 4), "text");

  // A pipe with no writer would block a plain read for ever; /dev/zero never ends.
  auto refused = [&](const std::string& path, EFileError::Kind kind) {
    auto read = std::async(std::launch::async, [&] {
      try {
        fs_.ReadRegularFile(path, 1 << 20);
        return std::string("read");
      } catch (const EFileError& error) {
        return std::string(error.kind() == kind ? "refused" : error.what());
      }
    });
    if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
      // Unblock the reader so the test can end.
      ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
      std::ofstream(fifo) << "x";
      return std::string("hung");
    }
    return read.get();
  };
  EXPECT_EQ(refused(fifo, EFileError::Kind::NotRegular), "refused");
  if (fs_.FileExists("/dev/zero")) {
    EXPECT_EQ(fs_.FileKind("/dev/zero"), TFileKind::Other);
    EXPECT_EQ(refused("/dev/zero", EFileError::Kind::NotRegular), "refused");
  }
  EXPECT_EQ(refused(dir_, EFileError::Kind::NotRegular), "refused");
  EXPECT_EQ(refused(dir_ + "none", EFileError::Kind::NotFound), "refused");
  fs_.WriteFile(dir_ + "big", std::string((1 << 20) + 1, 'b'));
  EXPECT_EQ(refused(dir_ + "big", EFileError::Kind::TooBig), "refused");
  // Copies read regular files only.
  EXPECT_FALSE(fs_.CopyFile(fifo, dir_ + "copy"));
}

TEST_F(PosixFileSystemTest, InPlaceWriteKeepsTheFileAndItsOtherNames) {
  const std::string path = dir_ + "a.txt";
  const std::string other = dir_ + "b.txt";
  fs_.WriteFile(path, "the old text, longer than the new");
  ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
  struct stat before;
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  // A new file renamed over it would leave b.txt with the old text.
  EXPECT_FALSE(fs_.ReplacesWhole(path));
  fs_.WriteFileInPlace(path, "shorter");
  EXPECT_EQ(fs_.ReadFile(other), "shorter");
  fs_.WriteFileInPlace(path, std::string(10000, 'L'));
  EXPECT_EQ(fs_.ReadFile(other), std::string(10000, 'L'));
  struct stat after;
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_nlink, 2u);
  EXPECT_THROW(fs_.WriteFileInPlace(dir_ + "none", "x"), EFileError);

  fs_.WriteFile(dir_ + "single.txt", "x");
  EXPECT_TRUE(fs_.ReplacesWhole(dir_ + "single.txt"));
  EXPECT_TRUE(fs_.ReplacesWhole(dir_ + "none"));
}

TEST_F(PosixFileSystemTest, InPlaceWriteThatFindsNoSpaceLeavesTheOldText) {
  // The space is claimed before a byte is overwritten: a file-size limit
  // refuses it as a full disk would.
  const std::string path = dir_ + "a.txt";
  fs_.WriteFile(path, "original");
  struct rlimit old;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(fs_.WriteFileInPlace(path, std::string(100000, 'x')), EFileError);
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(fs_.ReadFile(path), "original");
}

TEST_F(PosixFileSystemTest, ReplacingNeedsTheFolderAndTheOwnership) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes any folder and keeps any owner";
  const std::string folder = dir_ + "ro/";
  ASSERT_TRUE(fs_.CreateFolder(folder));
  fs_.WriteFile(folder + "a.txt", "old");
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  EXPECT_FALSE(fs_.ReplacesWhole(folder + "a.txt"));
  fs_.WriteFileInPlace(folder + "a.txt", "new");
  EXPECT_EQ(fs_.ReadFile(folder + "a.txt"), "new");
  ::chmod(folder.c_str(), 0755);
}

// A process that has ended: its pid names no running writer.
pid_t DeadPid() {
  pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

TEST_F(PosixFileSystemTest, SaveRemovesStaleTemporariesOfItsFileOnly) {
  const std::string dead = std::to_string(DeadPid());
  const std::string alive = std::to_string(::getpid());
  auto make = [&](const std::string& name, time_t age = 0) {
    std::ofstream(dir_ + name) << std::string(1000, 't');
    if (age != 0) {
      struct timespec times[2] = {{::time(nullptr) - age, 0}, {::time(nullptr) - age, 0}};
      ::utimensat(AT_FDCWD, (dir_ + name).c_str(), times, 0);
    }
  };
  make(".a.txt.kerv" + dead + "-123456.tmp");   // its writer was killed: stale
  make(".a.txt.kerv" + alive + "-111111.tmp");  // its writer still runs
  make(".a.txt.kerv123456.tmp", 7200);          // the older form, untouched for two hours: stale
  make(".a.txt.kerv654321.tmp");                // the older form, just written
  make(".b.txt.kerv" + dead + "-1.tmp");        // another document's
  make(".a.txt.kervnot-a-number.tmp");          // not ours
  // A dead pid whose file is still locked (a writer in another pid namespace) stays.
  make(".a.txt.kerv" + dead + "-222222.tmp");
  int held = ::open((dir_ + ".a.txt.kerv" + dead + "-222222.tmp").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  fs_.WriteFile(dir_ + "a.txt", "saved");
  ::close(held);
  std::vector<std::string> expected{".a.txt.kerv" + alive + "-111111.tmp", ".a.txt.kerv" + dead + "-222222.tmp",
                                    ".a.txt.kerv654321.tmp", ".a.txt.kervnot-a-number.tmp",
                                    ".b.txt.kerv" + dead + "-1.tmp", "a.txt"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(fs_.ListFiles(dir_, "*"), expected);
  EXPECT_EQ(fs_.ReadFile(dir_ + "a.txt"), "saved");
}

TEST_F(PosixFileSystemTest, ErrorsCarryTheSystemsReason) {
  try {
    fs_.ReadFile(dir_ + "missing");
    FAIL();
  } catch (const EFileError& e) {
    EXPECT_EQ(e.errorNumber(), ENOENT);
    EXPECT_EQ(e.reason(), std::strerror(ENOENT));
  }
  if (!fs_.FileExists("/dev/full")) return;
  try {
    fs_.WriteFile("/dev/full", "x");
    FAIL();
  } catch (const EFileError& e) {
    EXPECT_EQ(e.errorNumber(), ENOSPC);
  }
}

// ---------------------------------------------------------------- reading ahead

TEST_F(PosixFileSystemTest, ReadAheadGivesTheFileAsItIsWhenRead) {
  // Whatever happens to the file after the read ahead started, the read
  // returns what the file holds then, never bytes of an older version.
  struct Change {
    const char* name;
    void (*apply)(const std::string& path);
  };
  const Change changes[] = {
      {"none", [](const std::string&) {}},
      {"same size, in place",
       [](const std::string& path) {
         // Past the tick of a coarse file clock, so that the change shows in the time.
         std::this_thread::sleep_for(std::chrono::milliseconds(20));
         std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
         file.seekp(0);
         file << "NEW";
       }},
      {"replaced by another file",
       [](const std::string& path) {
         std::ofstream(path + ".tmp", std::ios::binary) << std::string(300000, 'r');
         std::filesystem::rename(path + ".tmp", path);
       }},
      {"appended to", [](const std::string& path) { std::ofstream(path, std::ios::app | std::ios::binary) << "tail"; }},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.name);
    const std::string path = dir_ + "a.txt";
    const std::string other = dir_ + "b.txt";
    std::ofstream(path, std::ios::binary) << std::string(300000, 'o');
    std::ofstream(other, std::ios::binary) << "other";
    PosixFileSystem fs;
    fs.ReadAhead(path);
    change.apply(path);
    std::ifstream in(path, std::ios::binary);
    const std::string expected((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Another file read first (the settings) is read as itself and leaves the read ahead waiting.
    EXPECT_EQ(fs.ReadRegularFile(other, INT64_MAX), "other");
    EXPECT_EQ(fs.ReadRegularFile(path, INT64_MAX), expected);
    // Taken once: a second read reads again.
    EXPECT_EQ(fs.ReadRegularFile(path, INT64_MAX), expected);
  }
}

TEST_F(PosixFileSystemTest, ReadAheadKeepsTheLimitsAndErrorsOfTheRead) {
  const std::string path = dir_ + "big.txt";
  std::ofstream(path, std::ios::binary) << std::string(5000, 'x');
  PosixFileSystem fs;
  fs.ReadAhead(path);
  EXPECT_THROW(fs.ReadRegularFile(path, 4000), EFileError);
  fs.ReadAhead(path);
  fs.DropReadAhead();
  EXPECT_EQ(fs.ReadRegularFile(path, 5000).size(), 5000u);
  // A name that is missing, or a folder, reads ahead nothing and fails as before.
  fs.ReadAhead(dir_ + "missing");
  fs.ReadAhead(dir_);
  EXPECT_THROW(fs.ReadRegularFile(dir_ + "missing", INT64_MAX), EFileError);
}

TEST_F(PosixFileSystemTest, AReadWithProgressTellsItAndCanBeStopped) {
  const std::string path = dir_ + "long.txt";
  const std::string bytes(size_t{40} << 20, 'z');
  std::ofstream(path, std::ios::binary) << bytes;
  std::vector<int64_t> seen;
  std::string got = fs_.ReadRegularFileWithProgress(path, INT64_MAX, [&](int64_t done, int64_t total) {
    EXPECT_EQ(total, static_cast<int64_t>(bytes.size()));
    seen.push_back(done);
    return true;
  });
  EXPECT_TRUE(got == bytes);
  ASSERT_GE(seen.size(), 3u);  // every few megabytes
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  int calls = 0;
  try {
    fs_.ReadRegularFileWithProgress(path, INT64_MAX, [&](int64_t, int64_t) { return ++calls < 2; });
    ADD_FAILURE() << "not stopped";
  } catch (const EFileError& error) {
    EXPECT_EQ(error.kind(), EFileError::Kind::Cancelled);
  }
}

}  // namespace
}  // namespace kerv
