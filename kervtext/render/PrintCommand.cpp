#include <cstdio>

#include "kervtext/render/RenderCommands.h"

namespace kerv::render {

int RunPrint(const Args&) {
  std::fputs("kervtext: print is not built yet\n", stderr);
  return 1;
}

}  // namespace kerv::render
