#pragma once
// The editor panes of the main window: the main control, the second control
// of a split window (created at the first split, kept hidden afterwards), the
// pane the commands act on, and the settings and edit mode applied to both.

#include <QObject>
#include <functional>
#include <memory>

#include "app/commands/TKervEditors.h"
#include "app/window/TKervWindowWrap.h"

class QSplitter;
class QWidget;

namespace kerv {

class ICodePage;
class TEditorPropEx;
class TEditorWidget;
class TKervSettingManager;
class TKervViewSetting;

class TKervEditorManager : public QObject, public IKervEditors {
  Q_OBJECT

 public:
  // The panes live in a splitter inside parent.
  TKervEditorManager(ICodePage& codePage, QWidget* parent);
  ~TKervEditorManager() override;

  QWidget* Container();
  TEditorWidget& MainWidget() { return *main_; }
  TEditorWidget* SecondWidget() { return second_; }
  TEditorWidget& ActiveWidget() { return *active_; }

  // IKervEditors
  TEditor& ActiveEditor() override;
  TEditor& MainEditor() override;
  TEditor* SecondEditor() override;
  bool EditorHasFocus() override;

  // Both panes, the main one first.
  void ForEach(const std::function<void(TEditorWidget&)>& fn);

  void Init();
  void ApplySettings(TKervSettingManager& settings);
  // The mode's look and behaviour on one pane (the edit-mode command calls it
  // for each); the font comes from the settings' default font when the mode
  // asks for it. The main pane also takes the window's wrap and auto indent.
  // The font of section DefaultFont on both panes (the current mode uses the
  // default font), with the window wrap refitted.
  void ApplyDefaultFont(TKervSettingManager& settings);
  void ApplyEditMode(TEditor& editor, const TEditorPropEx& mode, TKervSettingManager& settings);

  // 0 not split, 1 side by side, 2 one above the other.
  int SplitMode() const { return splitMode_; }
  // Toggles a split of that kind; the other kind while split switches.
  void ToggleSplit(int kind);
  void Unsplit();
  void SwitchActive();
  void Activate(TEditorWidget& pane);

  TKervWindowWrap& Wrap() { return wrap_; }
  // Whole columns visible in the main pane, one less beside a vertical scroll bar.
  int WindowColumns() const;
  void FitWindowWrap() { wrap_.Fit(WindowColumns()); }

  // Called once for the second pane when it is created, so the window hooks
  // the same events as on the main one.
  std::function<void(TEditorWidget& pane)> OnPaneCreated;
  // The active pane changed (focus moved).
  std::function<void(TEditorWidget& pane)> OnActiveChanged;

  bool AutoIndent() const { return autoIndent_; }
  void SetAutoIndent(bool on) { autoIndent_ = on; }
  std::string& LastIndent() { return lastIndent_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static void ApplyDefaultFont(TEditor& editor, const TKervViewSetting& view);
  void CreateSecond();
  void CopyToSecond();

  ICodePage& codePage_;
  QSplitter* splitter_ = nullptr;
  TEditorWidget* main_ = nullptr;
  TEditorWidget* second_ = nullptr;
  TEditorWidget* active_ = nullptr;
  int splitMode_ = 0;
  bool paneFocused_ = false;
  bool autoIndent_ = false;
  std::string lastIndent_;
  TKervWindowWrap wrap_;
};

}  // namespace kerv
