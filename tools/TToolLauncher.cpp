#include "tools/TToolLauncher.h"

#include <utility>

namespace kerv {

bool TToolLauncher::MoveUp(int index) {
  if (index <= 0 || index >= Count()) return false;
  std::swap(items_[static_cast<size_t>(index)], items_[static_cast<size_t>(index - 1)]);
  return true;
}

bool TToolLauncher::MoveDown(int index) {
  if (index < 0 || index + 1 >= Count()) return false;
  std::swap(items_[static_cast<size_t>(index)], items_[static_cast<size_t>(index + 1)]);
  return true;
}

void TToolLauncher::DeleteItem(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
}

TToolLauncherItem* TToolLauncher::GetItem(int index) {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

}  // namespace kerv
