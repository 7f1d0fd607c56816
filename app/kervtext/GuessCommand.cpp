// kervtext guess
#include <cstdio>

#include "app/kervtext/KervTextCommands.h"

namespace kerv::cli {

int RunGuess(const Args&) {
  std::fprintf(stderr, "kervtext: 'guess' is not available in this build\n");
  return 2;
}

}  // namespace kerv::cli
