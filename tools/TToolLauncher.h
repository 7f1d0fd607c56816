#pragma once
// The tool list: an ordered list of external programs, each with its menu
// name, options and shortcut, that owns its items. How the list is stored
// and how a tool is started belong to the derived launcher.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kerv {

class TToolLauncherItem {
 public:
  virtual ~TToolLauncherItem() = default;

  std::string name;        // menu caption
  std::string path;        // program file
  std::string option;      // command-line options with placeholders
  uint16_t shortCut = 0;   // virtual key | 0x2000 Shift | 0x4000 Ctrl | 0x8000 Alt; 0 for none
  bool saveFile = false;   // save the document before starting the tool

  bool SameValues(const TToolLauncherItem& other) const {
    return name == other.name && path == other.path && option == other.option && shortCut == other.shortCut &&
           saveFile == other.saveFile;
  }
};

class TToolLauncher {
 public:
  TToolLauncher() = default;
  virtual ~TToolLauncher() = default;
  TToolLauncher(const TToolLauncher&) = delete;
  TToolLauncher& operator=(const TToolLauncher&) = delete;

  void Clear() { items_.clear(); }
  int Count() const { return static_cast<int>(items_.size()); }
  // Swap with the neighbour; false at the end of the list or out of range.
  bool MoveUp(int index);
  bool MoveDown(int index);

  // Appends a new empty item and returns it.
  virtual TToolLauncherItem& AddItem() = 0;
  // Removes the item; an index out of range is ignored.
  virtual void DeleteItem(int index);
  virtual bool Launch(int index) = 0;
  virtual void LoadList() = 0;
  virtual void SaveList() = 0;
  // The item, or null for an index out of range.
  virtual TToolLauncherItem* GetItem(int index);

 protected:
  std::vector<std::unique_ptr<TToolLauncherItem>> items_;
};

}  // namespace kerv
