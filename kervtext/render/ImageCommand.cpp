#include <cstdio>

#include "kervtext/render/RenderCommands.h"

namespace kerv::render {

int RunImage(const Args&) {
  std::fputs("kervtext: image is not built yet\n", stderr);
  return 1;
}

}  // namespace kerv::render
