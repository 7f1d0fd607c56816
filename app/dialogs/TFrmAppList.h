#pragma once
// The tool dialog ("ツールランチャーの設定"): the tools of kervtool.ini with
// their names, programs and icons, added, changed, deleted and reordered on
// a copy of the list that OK writes back whole.

#include <QDialog>
#include <QIcon>
#include <functional>
#include <optional>
#include <string>

#include "tools/TKervToolLauncher.h"

class QPushButton;
class QStyle;
class QTreeWidget;

namespace kerv {

class IKervInformation;

// The images of the tool menu and of the dialog's list: a missing program's,
// the generic tool's, and the program's own where the desktop has one and
// programIcons asks for it.
QIcon MissingToolIcon(QStyle& style);
QIcon GenericToolIcon(QStyle& style);
QIcon ToolEntryIcon(const TToolMenuEntry& entry, bool programIcons, QStyle& style);

class TFrm_AppList : public QDialog {
  Q_OBJECT

 public:
  TFrm_AppList(IFileSystem& fs, ICodePage& codePage, const std::string& settingFolder, IKervInformation& information,
               QWidget* parent = nullptr);
  ~TFrm_AppList() override;

  // False when kervtool.ini could not be read (the error was shown): the
  // dialog must not open, or OK would write an empty list over the file.
  bool Loaded() const { return loaded_; }
  TKervToolLauncher& List() { return list_; }
  // The chosen row, -1 for none.
  int CurrentRow() const;
  void SetCurrentRow(int row);

  // Help topic of the dialog; the window shows it.
  std::function<void()> OnHelp;
  // Runs the tool editor on a tool (null: a new one); nothing when it was
  // cancelled. The tool editor unless a test puts its answers here.
  std::function<std::optional<TToolLauncherItem>(const TToolLauncherItem*)> EditTool;

  void Add();
  void Modify();
  void Delete();
  void MoveUp();
  void MoveDown();

  QTreeWidget* Lvw_AppList = nullptr;
  QPushButton *Btn_Add = nullptr, *Btn_Modify = nullptr, *Btn_Delete = nullptr;
  QPushButton *Btn_Up = nullptr, *Btn_Down = nullptr;
  QPushButton *Btn_OK = nullptr, *Btn_Cancel = nullptr, *Btn_Help = nullptr;

 public slots:
  void accept() override;

 private:
  void Fill(int current);
  void RefreshButtons();
  std::optional<TToolLauncherItem> RunEditor(const TToolLauncherItem* item);
  bool Usable(const TToolLauncherItem& item);

  IFileSystem& fs_;
  ICodePage& codePage_;
  IKervInformation& information_;
  TKervToolLauncher list_;
  bool loaded_ = false;
};

}  // namespace kerv
