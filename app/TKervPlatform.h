#pragma once
// The platform services one process uses, handed to the application root.

#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Launcher.h"

namespace kerv {

struct TKervPlatform {
  IFileSystem& fs;
  ICodePage& codePage;
  IDialogs& dialogs;
  ILauncher& launcher;
};

}  // namespace kerv
