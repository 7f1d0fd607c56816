// kervtext: the editor's text engine without the window, for scripts.

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "kervtext/KervTextCommands.h"

namespace {

void PrintUsage(FILE* out) {
  std::fputs(
      "Usage: kervtext COMMAND [OPTIONS] ARGS...\n"
      "Commands:\n"
      "  guess [--no-utf8n] FILE...      print the character code and return code of each file\n"
      "  convert [--from CODE] [--ambiguous sjis|euc] --to CODE [--ret crlf|lf|cr] [--lossy] IN OUT\n"
      "                                  convert IN to OUT (OUT may be - for standard output);\n"
      "                                  every byte the codes can carry is kept (control bytes,\n"
      "                                  a 0x1A inside the text), and every line break becomes --ret\n"
      "                                  or the return code found first in IN\n"
      "  wrap [--width N] [--tab N] [--kinsoku] [--hang] [--word-break] [--follow-ret] FILE\n"
      "                                  cut every line into rows by the wrapping rules\n"
      "  grep [-e|--regex] [--fuzzy] [--match-case] [--whole-word] [--zenkaku] [-n] PATTERN FILE...\n"
      "                                  print the matching lines as UTF-8\n"
      "  print [--settings KERV_INI] [--from CODE] --pdf OUT.pdf FILE\n"
      "                                  lay FILE out on A4 pages as the print dialog does, into a PDF\n"
      "  image [--settings FILE.tg2|FILE.tgs] [--format png|jpeg|bmp24|bmp8|bmp4|bmp1] FILE OUT\n"
      "  image --each-line [--lines FIRST-LAST] [--settings ...] [--format ...] FILE FOLDER\n"
      "                                  draw the text, or each line, into image files\n"
      "  --help, --version               this help; the version\n"
      "Codes: sjis jis euc utf16le utf16be utf8 utf8n\n"
      "Files: - is standard input (or output). A file named on the command line must be a\n"
      "  regular file; a pipe or a device is refused, except a FIFO given as IN to convert.\n"
      "Exit status: 0 success; 1 an error (grep: 1 no match, 2 an error); 2 an unknown command;\n"
      "  3 (convert) the target code cannot hold some characters: one line on standard error\n"
      "  counts them, they are written as '?' (half-width katakana in JIS as full-width), and\n"
      "  OUT is written unless it is IN, which a lossy result never replaces; with --lossy\n"
      "  it is written in any case and the status is 0.\n",
      out);
}

// print and image draw with the window system's fonts, so they live in
// kervtext-render, which links Qt while kervtext does not: beside this
// program in a build tree, in ../libexec/kerv/ once installed. Returns only
// when it cannot be started.
int HandOver(const std::string& command, int argc, char** argv) {
  char self[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) {
    std::fprintf(stderr, "kervtext: %s: cannot find kervtext-render (the program's own path is unknown)\n",
                 command.c_str());
    return 1;
  }
  const std::string program(self, static_cast<size_t>(length));
  const std::string folder = program.substr(0, program.rfind('/') + 1);
  for (const std::string& candidate : {folder + "kervtext-render", folder + "../libexec/kerv/kervtext-render"}) {
    if (::access(candidate.c_str(), X_OK) != 0) continue;
    std::vector<char*> arguments;
    arguments.push_back(const_cast<char*>(candidate.c_str()));
    for (int i = 1; i < argc; ++i) arguments.push_back(argv[i]);
    arguments.push_back(nullptr);
    ::execv(candidate.c_str(), arguments.data());
    std::fprintf(stderr, "kervtext: %s: cannot start %s: %s\n", command.c_str(), candidate.c_str(),
                 std::strerror(errno));
    return 1;
  }
  std::fprintf(stderr, "kervtext: %s: kervtext-render was found neither beside %s nor in %s../libexec/kerv/\n",
               command.c_str(), program.c_str(), folder.c_str());
  return 1;
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
  if (command == "--version") {
    std::printf("kervtext (KervEditor) %s\n", KERV_VERSION);
    return 0;
  }
  if (command == "guess") return kerv::cli::RunGuess(args);
  if (command == "convert") return kerv::cli::RunConvert(args);
  if (command == "wrap") return kerv::cli::RunWrap(args);
  if (command == "grep") return kerv::cli::RunGrep(args);
  if (command == "print" || command == "image") return HandOver(command, argc, argv);
  std::fprintf(stderr, "kervtext: unknown command '%s'\n", command.c_str());
  PrintUsage(stderr);
  return 2;
}
