#pragma once
// The platform services one process uses, handed to the application root.

#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/FileDialogs.h"
#include "platform/FileLock.h"
#include "platform/FileSystem.h"
#include "platform/Launcher.h"
#include "platform/WindowChannel.h"

namespace kerv {

struct TKervPlatform {
  IFileSystem& fs;
  ICodePage& codePage;
  IDialogs& dialogs;
  ILauncher& launcher;
  // How the windows reach each other; none: this window runs alone.
  IWindowChannel* channel = nullptr;
  // The document dialogs and the document lock; none: the window makes the
  // desktop's own (tests hand in fakes).
  IFileDialogs* fileDialogs = nullptr;
  IFileLock* fileLock = nullptr;
};

}  // namespace kerv
