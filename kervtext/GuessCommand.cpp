// kervtext guess: the character code and return code of each file, as the
// editor detects them when it opens the file.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "document/CharCode.h"
#include "document/TStringCodeConverter.h"
#include "kervtext/KervTextCommands.h"
#include "kervtext/KervTextSupport.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv::cli {

int RunGuess(const Args& args) {
  bool utf8nCheck = true;
  bool optionsEnded = false;
  std::vector<std::string> files;
  for (const std::string& arg : args) {
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg == "--no-utf8n") {
      utf8nCheck = false;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "kervtext guess: unknown option '%s'\n", arg.c_str());
      return 1;
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "kervtext guess: no file given (usage: kervtext guess [--no-utf8n] FILE...)\n");
    return 1;
  }

  CliFileSystem fs;
  std::optional<IconvCodePage> codePage;
  try {
    codePage.emplace();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kervtext guess: %s\n", error.what());
    return 1;
  }
  TStringCodeConverter converter(*codePage);
  int status = 0;
  for (const std::string& file : files) {
    std::string bytes;
    try {
      // A pipe or a device named here is refused: its reading might never end.
      bytes = fs.ReadRegularFile(file, INT64_MAX);
    } catch (const EFileError& error) {
      std::fprintf(stderr, "kervtext guess: %s\n", error.what());
      status = 1;
      continue;
    }
    TCharCode code = TStringCodeConverter::DetectCode(bytes, utf8nCheck);
    // The return code is the one of the text as it would be read: UTF-16
    // returns are only found once decoded.
    TCharCode readAs = code == ccSJISOrEUC ? ccShiftJIS : (code == ccJIS78 || code == ccJIS83) ? ccJIS : code;
    TReturnCode returnCode = TStringCodeConverter::DetectReturnCode(converter.ToInternal(bytes, readAs));
    std::printf("%s\t%d\t%s\t%s\n", file.c_str(), static_cast<int>(code), DetectionName(code), ReturnCodeName(returnCode));
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::perror("kervtext guess: standard output");
    status = 1;
  }
  return status;
}

}  // namespace kerv::cli
