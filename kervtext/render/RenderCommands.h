#pragma once
// The commands of kervtext that draw text with the window system's fonts
// (printing to PDF, rendering images). They live in a program of their own,
// kervtext-render, so kervtext itself links the core only; kervtext hands
// these commands over to it. Each returns the process exit status.

#include <string>
#include <vector>

namespace kerv::render {

using Args = std::vector<std::string>;

int RunPrint(const Args& args);
int RunImage(const Args& args);

}  // namespace kerv::render
