#pragma once
// The tool editor ("ツールの設定"): a tool's program, name, shortcut,
// options and save-first flag. OK refuses an empty name and a program that
// does not exist, marking the field to correct; Cancel gives no tool.

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "tools/TToolLauncher.h"

class QCheckBox;
class QLineEdit;
class QMenu;
class QPushButton;

namespace kerv {

class ICodePage;
class IFileSystem;
class IKervInformation;
class TKeyCaptureEdit;

class TFrm_AddApp : public QDialog {
  Q_OBJECT

 public:
  // item: the tool to change, or null for a new one.
  TFrm_AddApp(IFileSystem& fs, ICodePage& codePage, IKervInformation& information, const TToolLauncherItem* item,
              QWidget* parent = nullptr);
  ~TFrm_AddApp() override;

  // The tool as the fields say it (the texts kervtool.ini keeps); nothing
  // after Cancel, which empties the path.
  std::optional<TToolLauncherItem> Result() const;

  // Help topic of the dialog; the window shows it.
  std::function<void()> OnHelp;
  // Chooses a program file, starting at the given one; empty when the user
  // cancels. The desktop's file dialog unless a test puts its answer here.
  std::function<QString(const QString&)> ChooseProgram;

  // Adds a placeholder of the "← 特殊(&E)" menu (its index there) to the options.
  void InsertPlaceholder(int index);
  // Whether a check marked the field.
  static bool IsMarked(const QWidget* field);

  QLineEdit* Edt_Path = nullptr;
  QLineEdit* Edt_Name = nullptr;
  TKeyCaptureEdit* HtKy_ShortCut = nullptr;
  QLineEdit* Edt_Option = nullptr;
  QCheckBox* Chk_SaveFile = nullptr;
  QPushButton *Btn_ChangePath = nullptr, *Btn_Special = nullptr;
  QPushButton *Btn_OK = nullptr, *Btn_Cancel = nullptr, *Btn_Help = nullptr;
  QMenu* PMnu_Special = nullptr;

 public slots:
  void accept() override;
  void reject() override;

 private:
  void Browse();
  void Mark(QWidget* field);
  void Unmark(QWidget* field);
  std::string NameBytes() const;
  std::string PathBytes() const;
  std::string OptionBytes() const;

  IFileSystem& fs_;
  ICodePage& codePage_;
  IKervInformation& information_;
  // The texts as the file had them: an untouched field keeps its bytes.
  TToolLauncherItem original_;
  QString shownName_, shownPath_, shownOption_;
};

}  // namespace kerv
