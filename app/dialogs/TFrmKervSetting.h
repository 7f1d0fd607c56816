#pragma once
// The settings dialog ("共通設定"): one page per settings group, every
// control built from the key table and the page table, so each range the key
// table gives is the range its spin box allows. It edits a copy of the
// window's settings; OK runs the checks, hands the values to the window's
// settings and saves them (unless "apply without saving" is set).

#include <QDialog>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "app/commands/TKervInformation.h"
#include "app/settings/TKervSettingManager.h"
#include "app/settings/TKervSettingPages.h"
#include "platform/CodePage.h"

class QCheckBox;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QFormLayout;

namespace kerv {

class TKervKeySetPage;

class TFrm_KervSetting : public QDialog {
  Q_OBJECT

 public:
  // manager: the window's settings, untouched until OK; information: the
  // window's error boxes and questions.
  TFrm_KervSetting(TKervSettingManager& manager, ICodePage& codePage, IKervInformation& information,
                   QWidget* parent = nullptr);
  ~TFrm_KervSetting() override;

  // Whether the window's settings now hold the dialog's values: after OK, and
  // also after an OK whose save failed (the values are in use, not stored),
  // so the caller applies them to the window in both cases.
  bool ValuesTaken() const { return valuesTaken_; }
  bool ApplyWithoutSaving() const;

  // The copy the controls edit (its values are the controls' only after OK or WriteControls).
  TKervSettingManager& Edited() { return *copy_; }

  // Room for the pages later features fill in (the key sets, the tool list):
  // the page's widget and its form.
  QWidget* Page(TKervSettingPage page) const;
  QFormLayout* PageLayout(TKervSettingPage page) const;
  void ShowPage(TKervSettingPage page);
  TKervSettingPage CurrentPage() const;

  // The control of one key (the one the checks mark), or null.
  QWidget* FieldWidget(std::string_view section, std::string_view key) const;
  // Whether a check marked the control as the one to correct.
  static bool IsMarked(const QWidget* widget);
  QPushButton* OkButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }
  QCheckBox* ApplyWithoutSavingBox() const { return applyOnlyBox_; }
  // The key page, its key sets edited until OK writes them.
  TKervKeySetPage* KeySetPage() const { return keyPage_; }
  QPushButton* ToolListButton() const { return toolListButton_; }
  // Whether the tool dialog opened from the tools page wrote kervtool.ini
  // (also when this dialog is then cancelled).
  bool ToolsChanged() const { return toolsChanged_; }
  // Shows the tool dialogs' help topic.
  std::function<void()> OnToolHelp;

  // Copies every control into the edited copy.
  void WriteControls();

 public slots:
  void accept() override;

 private:
  struct Control;
  class FilterEditor;

  void BuildPages();
  void EditTools();
  void BuildField(const TKervSettingField& field);
  void ReadControls();
  void Mark(QWidget* widget);
  void ClearMarks();
  TKervFieldRef FieldOf(const TKervSettingField& field);
  QString FromSjis(const std::string& text) const;
  std::string ToSjis(const QString& text) const;

  TKervSettingManager& manager_;
  ICodePage& codePage_;
  IKervInformation& information_;
  std::unique_ptr<TKervSettingManager> copy_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<QWidget*> pages_;
  QListWidget* pageList_ = nullptr;
  QStackedWidget* pageStack_ = nullptr;
  QCheckBox* applyOnlyBox_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  TKervKeySetPage* keyPage_ = nullptr;
  QPushButton* toolListButton_ = nullptr;
  bool valuesTaken_ = false;
  bool toolsChanged_ = false;
};

}  // namespace kerv
