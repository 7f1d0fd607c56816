#include "app/commands/TKervCommand.h"

namespace kerv {

namespace {
TKervSystem* g_processSystem = nullptr;
}

TKervCommand::TKervCommand() : system_(g_processSystem) {}

void TKervCommand::SetProcessSystem(TKervSystem* system) { g_processSystem = system; }

}  // namespace kerv
