#pragma once
// The subcommands of kervtext. Each takes its own arguments (after the
// subcommand name) and returns the process exit status.

#include <string>
#include <vector>

namespace kerv::cli {

using Args = std::vector<std::string>;

int RunGuess(const Args& args);
int RunConvert(const Args& args);
int RunWrap(const Args& args);
int RunGrep(const Args& args);

}  // namespace kerv::cli
