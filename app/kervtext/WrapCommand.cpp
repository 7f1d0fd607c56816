// kervtext wrap
#include <cstdio>

#include "app/kervtext/KervTextCommands.h"

namespace kerv::cli {

int RunWrap(const Args&) {
  std::fprintf(stderr, "kervtext: 'wrap' is not available in this build\n");
  return 2;
}

}  // namespace kerv::cli
