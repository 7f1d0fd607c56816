#pragma once
// A tool's options become the program's arguments in two steps: the
// template is split into arguments first (blanks separate, double quotes
// group and are removed), then the placeholders are replaced inside each
// argument in one left-to-right pass. An inserted value is never looked at
// again, so nothing in a file name (blanks, quotes, ";", "$", "%d") can split
// an argument, start another command or be expanded a second time; no shell
// ever sees the arguments.

#include <string>
#include <string_view>
#include <vector>

namespace kerv {

// What each placeholder stands for (native text).
struct TToolPlaceholderValues {
  std::string filePath;    // %f: the document's full path, empty when untitled
  std::string fileName;    // %n: its name after the last '/'
  std::string folder;      // %d: its folder without a trailing '/' ("/" for the root)
  std::string tempPath;    // %tf: the temporary copy's full path
  std::string tempName;    // %tn: the temporary copy's name
  std::string tempFolder;  // %td: the temporary copy's folder, with its trailing '/'
};

// %f, %n and %d of a document's path.
TToolPlaceholderValues DocumentPlaceholders(const std::string& documentPath);

// One argument of a template: its text with quotes removed and placeholders
// kept, and whether any of it was quoted (a quoted argument is passed even
// when it expands to nothing).
struct TToolArgumentTemplate {
  std::string text;
  bool quoted = false;
  bool operator==(const TToolArgumentTemplate&) const = default;
};

std::vector<TToolArgumentTemplate> SplitToolOptions(std::string_view options);
// Replaces %tf, %tn, %td, %f, %n and %d in one pass; any other '%' stays.
std::string ExpandToolPlaceholders(std::string_view text, const TToolPlaceholderValues& values);
// Whether a template argument uses the temporary copy (%tf, %tn or %td).
bool UsesToolTempFile(std::string_view text);
// The arguments of a template: split, then expanded; an unquoted argument
// that expands to nothing is left out, as it would be on a command line.
std::vector<std::string> BuildToolArguments(std::string_view options, const TToolPlaceholderValues& values);
std::vector<std::string> BuildToolArguments(const std::vector<TToolArgumentTemplate>& templates,
                                            const TToolPlaceholderValues& values);

}  // namespace kerv
