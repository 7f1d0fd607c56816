#pragma once
// A TKervSystem over fakes, as every application test needs one.

#include "app/TKervSystem.h"
#include "platform/fake/FakeDialogs.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv::testing {

struct FakeApp {
  FakeFileSystem fs;
  IconvCodePage codePage;
  FakeDialogs dialogs;
  FakeLauncher launcher;
  TKervPlatform platform{fs, codePage, dialogs, launcher};
  TKervSystem system{platform};

  std::vector<std::string> DialogTexts() const {
    std::vector<std::string> texts;
    for (const auto& shown : dialogs.shown) texts.push_back(shown.kind + ":" + shown.text);
    return texts;
  }
};

}  // namespace kerv::testing
