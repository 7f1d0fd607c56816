#include "EditModeTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/posix/IconvCodePage.h"

namespace kerv::test {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string Sjis(const std::string& utf8) {
  static IconvCodePage codePage;
  return codePage.Utf8ToCp932(utf8, nullptr);
}

bool ReadTestFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

std::string GoldenPath(const std::string& name) { return std::string(KERV_TEST_DATA_DIR) + "/golden/" + name; }

void ExpectGolden(const std::string& name, const std::string& actual) {
  const std::string expectedPath = GoldenPath(name);
  const std::string actualPath = expectedPath + ".actual";
  const char* update = std::getenv("KERV_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    std::ofstream(expectedPath, std::ios::binary | std::ios::trunc) << actual;
  }
  std::string expected;
  const bool haveExpected = ReadTestFile(expectedPath, expected);
  if (!haveExpected || actual != expected) {
    std::ofstream(actualPath, std::ios::binary | std::ios::trunc) << actual;
    ADD_FAILURE() << name << (haveExpected ? ": differs from the expectation" : ": no expectation") << "; see "
                  << actualPath;
    return;
  }
  std::remove(actualPath.c_str());
}

}  // namespace kerv::test
