// kervtext wrap: cuts every line of a file into rows by the editor's wrapping
// rules and writes the rows, one per line, in the file's own codes.

#include <string>
#include <vector>

#include "kervtext/KervTextCommands.h"
#include "kervtext/KervTextSupport.h"
#include "editor/TEditorLineCutter.h"

namespace kerv::cli {
namespace {

constexpr const char* kCommand = "wrap";

int Usage(const std::string& message) {
  PrintError(kCommand, message);
  std::fprintf(stderr,
               "usage: kervtext wrap [--width N] [--tab N] [--kinsoku] [--hang] [--word-break] [--follow-ret] FILE\n");
  return 1;
}

}  // namespace

int RunWrap(const Args& args) {
  TEditorWrapOption options;
  int width = 80;
  int tab = 8;
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
      files.push_back(arg);
      continue;
    }
    std::string name, value;
    bool inlineValue = SplitOption(arg, name, value);
    if (name == "--") {
      optionsEnded = true;
    } else if (name == "--kinsoku") {
      options.SetLeading(true);
    } else if (name == "--hang") {
      options.SetFollowPunctuation(true);
    } else if (name == "--word-break") {
      options.SetWordBreak(true);
    } else if (name == "--follow-ret") {
      options.SetFollowRetMark(true);
    } else if (name == "--width" || name == "--tab") {
      if (!inlineValue) {
        if (i + 1 >= args.size()) return Usage("option '" + name + "' needs a number");
        value = args[++i];
      }
      std::optional<int> number = ParseInt(value);
      if (!number || *number < 1) return Usage("option '" + name + "' needs a positive number, not '" + value + "'");
      (name == "--width" ? width : tab) = *number;
    } else {
      return Usage("unknown option '" + arg + "'");
    }
  }
  if (files.size() != 1) return Usage(files.empty() ? "no file given" : "one file at a time");

  // The editor's own limits: width 20-500, tab widths 2, 4, 6 or 8.
  options.SetWrapByte(width);
  tab = tab < 2 ? 2 : tab > 8 ? 8 : tab / 2 * 2;
  TEditorColumnRules rules;
  rules.SetTabWidth(tab);

  CliPlatform platform;
  CliFileManager files_(platform.fs, platform.codePage, platform.dialogs, false);
  std::string text;
  TReturnCode returnCode = rcCRLF;
  TCharCode charCode = ccAuto;
  TLoadReport report;
  try {
    files_.LoadText(files[0], text, false, true, returnCode, charCode, &report);
  } catch (const EFileError& error) {
    PrintError(kCommand, error.what());
    return 1;
  }
  PrintLoadWarnings(kCommand, files[0] == "-" ? "standard input" : files[0], report, "wrapped");

  TEditorLineCutter cutter(options, rules);
  std::string rows;
  rows.reserve(text.size() + text.size() / 32);
  ForEachLine(text, [&](std::string_view line) {
    cutter.CutLine(line, [&](std::string_view row, int kind) {
      if (kind == TEditorLineCutter::kLastRowEndsLine) return;
      rows.append(row).append("\r\n");
    });
  });
  try {
    files_.SaveText("-", rows, returnCode, charCode);
  } catch (const EFileError& error) {
    PrintError(kCommand, error.what());
    return 1;
  }
  return 0;
}

}  // namespace kerv::cli
