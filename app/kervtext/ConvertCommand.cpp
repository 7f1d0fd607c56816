// kervtext convert
#include <cstdio>

#include "app/kervtext/KervTextCommands.h"

namespace kerv::cli {

int RunConvert(const Args&) {
  std::fprintf(stderr, "kervtext: 'convert' is not available in this build\n");
  return 2;
}

}  // namespace kerv::cli
