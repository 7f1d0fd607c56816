// kervtext: the editor's text engine without the window, for scripts.

#include <cstdio>
#include <cstring>
#include <string>

#include "kervtext/KervTextCommands.h"

namespace {

void PrintUsage(FILE* out) {
  std::fputs(
      "Usage: kervtext COMMAND [OPTIONS] ARGS...\n"
      "Commands:\n"
      "  guess [--no-utf8n] FILE...      print the character code and return code of each file\n"
      "  convert [--from CODE] [--ambiguous sjis|euc] --to CODE [--ret crlf|lf|cr] IN OUT\n"
      "                                  convert IN to OUT (OUT may be - for standard output)\n"
      "  wrap [--width N] [--tab N] [--kinsoku] [--hang] [--word-break] [--follow-ret] FILE\n"
      "                                  cut every line into rows by the wrapping rules\n"
      "  grep [-e|--regex] [--fuzzy] [--match-case] [--whole-word] [--zenkaku] [-n] PATTERN FILE...\n"
      "                                  print the matching lines as UTF-8\n"
      "Codes: sjis jis euc utf16le utf16be utf8 utf8n\n",
      out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return 2;
  }
  std::string command = argv[1];
  kerv::cli::Args args(argv + 2, argv + argc);
  if (command == "--help" || command == "-h" || command == "help") {
    PrintUsage(stdout);
    return 0;
  }
  if (command == "guess") return kerv::cli::RunGuess(args);
  if (command == "convert") return kerv::cli::RunConvert(args);
  if (command == "wrap") return kerv::cli::RunWrap(args);
  if (command == "grep") return kerv::cli::RunGrep(args);
  std::fprintf(stderr, "kervtext: unknown command '%s'\n", command.c_str());
  PrintUsage(stderr);
  return 2;
}
