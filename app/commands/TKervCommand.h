#pragma once
// The base of the window's command families: each belongs to the process's
// root object, which owns it and frees the commands before its managers.

namespace kerv {

class TKervSystem;

// The families in the order the root object keeps them.
enum class TKervCommandFamily : int {
  Action, Dialog, EditMode, Editor, File, Format, Information, Search, ToolLauncher, View, Window,
  MessageHandler, EditorEvent,
};
inline constexpr int kCommandFamilyCount = 13;

class TKervCommand {
 public:
  // The process's root object, when there is one (tests may run without).
  TKervCommand();
  explicit TKervCommand(TKervSystem& system) : system_(&system) {}
  virtual ~TKervCommand() = default;
  TKervCommand(const TKervCommand&) = delete;
  TKervCommand& operator=(const TKervCommand&) = delete;

  TKervSystem* System() const { return system_; }

  // The root object announces itself here (and withdraws with null), so the
  // commands created while it lives belong to it without reaching up for it.
  static void SetProcessSystem(TKervSystem* system);

 private:
  TKervSystem* system_;
};

}  // namespace kerv
