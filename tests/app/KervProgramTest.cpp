// kerv as a whole process: what it answers before any window exists.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

struct Result {
  int status = -1;
  std::string out;
};

// Runs kerv with no display at all, as on a server or in a script.
Result RunKerv(const std::string& arguments) {
  const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + std::string(KERV_PATH) + " " +
                              arguments + " 2>&1";
  Result result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TEST(KervProgramTest, VersionAndHelpNeedNoDisplay) {
  const Result version = RunKerv("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "kerv (KervEditor) " KERV_VERSION "\n");
  for (const char* help : {"--help", "-h"}) {
    const Result usage = RunKerv(help);
    EXPECT_EQ(usage.status, 0) << help;
    EXPECT_EQ(usage.out.rfind("Usage: kerv ", 0), 0u) << help;
    EXPECT_NE(usage.out.find("/eMODE"), std::string::npos) << help;
  }
}

}  // namespace
