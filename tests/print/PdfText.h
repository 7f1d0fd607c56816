#pragma once
// The text of a PDF as pdftotext (poppler-utils) reads it, page by page: how
// the tests see what a printed page carries without comparing pictures.

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace kerv::test {

inline bool HavePdfToText() { return std::system("pdftotext -v >/dev/null 2>&1") == 0; }

// The text of every page (split at form feeds), or nothing when the file
// cannot be read.
inline std::optional<std::vector<std::string>> PdfPages(const std::string& path) {
  const std::string command = "pdftotext -layout '" + path + "' - 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string text;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, got);
  if (::pclose(pipe) != 0) return std::nullopt;
  std::vector<std::string> pages;
  size_t start = 0;
  for (size_t feed = text.find('\f'); feed != std::string::npos; feed = text.find('\f', start)) {
    pages.push_back(text.substr(start, feed - start));
    start = feed + 1;
  }
  return pages;
}

}  // namespace kerv::test
