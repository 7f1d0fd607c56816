// kervtext grep
#include <cstdio>

#include "app/kervtext/KervTextCommands.h"

namespace kerv::cli {

int RunGrep(const Args&) {
  std::fprintf(stderr, "kervtext: 'grep' is not available in this build\n");
  return 2;
}

}  // namespace kerv::cli
