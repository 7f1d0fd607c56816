#pragma once
// The key page of the settings dialog: the key sets, the actions by
// category, and the key of the chosen action, which a press on the key field
// or the key list with the modifier ticks chooses. Edits stay in the
// key-set manager until Save, which the dialog's OK runs.

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "keys/TKervKeySetManager.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kerv {

class IKervInformation;
class TKeyCaptureEdit;

class TKervKeySetPage : public QWidget {
  Q_OBJECT

 public:
  // storedName: the active set as the settings hold it (Shift_JIS; empty
  // stands for the built-in set).
  TKervKeySetPage(IFileSystem& fs, ICodePage& codePage, const std::string& settingFolder,
                  IKervInformation& information, const std::string& storedName, QWidget* parent = nullptr);
  ~TKervKeySetPage() override;

  TKervKeySetManager& Manager() { return manager_; }
  // The set chosen now (Shift_JIS), the built-in set's name when none is.
  std::string ChosenName() const;
  // Writes every edited set; the messages of those that could not be written.
  std::vector<std::string> Save();

  // Asks for a set's name (caption, prompt); nothing when the user cancels.
  // The desktop's input box unless a test puts its answers here.
  std::function<std::optional<QString>(const QString&, const QString&)> AskName;

  // The chosen action (its number), 0 for a category or nothing.
  int CurrentAction() const;
  void ChooseAction(int action);
  // The combination the ticks and the key list say.
  TKeySlot ChosenSlot() const;

  // The user's commands.
  void Assign();
  void Release();
  void AddSet();
  void CopySet();
  void RenameSet();
  void DeleteSet();
  void ChooseSet(const std::string& name);

  QComboBox* Cmb_Key_KeySetList = nullptr;
  QPushButton *Btn_Key_Add = nullptr, *Btn_Key_Copy = nullptr, *Btn_Key_Rename = nullptr, *Btn_Key_Delete = nullptr;
  QTreeWidget* TrVw_Key_ActionList = nullptr;
  QListWidget* Lst_Key_ShortCut = nullptr;
  QCheckBox *Chk_Key_Shift = nullptr, *Chk_Key_Ctrl = nullptr, *Chk_Key_Alt = nullptr;
  QLineEdit* Edt_Key_ShortCut = nullptr;
  TKeyCaptureEdit* Edt_Key_Press = nullptr;
  QLabel* Lbl_Key_HeldBy = nullptr;
  QLabel* Lbl_Key_State = nullptr;
  QLabel* Lbl_Key_Description = nullptr;
  QPushButton *Btn_Key_Assign = nullptr, *Btn_Key_Release = nullptr;

 private:
  void BuildActionTree();
  void FillSetList();
  void SelectSet(const std::string& name);
  void ShowLoadResult(const TKeySetLoadResult& result);
  void ShowAction();
  void ShowHeldBy();
  void SetChosenSlot(TKeySlot slot);
  std::optional<std::string> AskNewName(const QString& caption, const QString& prompt);
  QString Shown(const std::string& sjis) const;

  ICodePage& codePage_;
  IKervInformation& information_;
  TKervKeySetManager manager_;
  // The tools' keys and names: a key a tool uses is the tool's.
  std::vector<std::pair<uint16_t, QString>> toolKeys_;
  std::vector<QTreeWidgetItem*> actionItems_;
  bool filling_ = false;
};

}  // namespace kerv
