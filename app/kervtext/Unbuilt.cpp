// Subcommands whose engines are not in this build yet.
#include <cstdio>

#include "app/kervtext/KervTextCommands.h"

namespace kerv::cli {
namespace {
int NotYet(const char* name) {
  std::fprintf(stderr, "kervtext: '%s' is not available in this build\n", name);
  return 2;
}
}  // namespace

int RunGuess(const Args&) { return NotYet("guess"); }
int RunConvert(const Args&) { return NotYet("convert"); }
int RunWrap(const Args&) { return NotYet("wrap"); }
int RunGrep(const Args&) { return NotYet("grep"); }

}  // namespace kerv::cli
