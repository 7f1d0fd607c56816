#pragma once
// The edit-mode settings dialog: the list of modes (new, copy, rename,
// delete, import), the associations of extensions, and the pages of the
// selected mode (view, caret and indent, wrapping, ruler and line numbers,
// colours and font with a live preview, reserved words, bracket pairs).
// The pages edit in-memory copies kept by its own setting manager; OK writes
// them and editmode.ini, Cancel writes nothing (creating, copying, renaming,
// deleting and importing act on the files at once).

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/commands/TKervInformation.h"
#include "app/dialogs/TFrmEditModeSettingSupport.h"
#include "editmode/EditModeMessages.h"
#include "editmode/ReserveWords.h"
#include "editmode/TKervEditModeSettingManager.h"

class QCheckBox;
class QFormLayout;
class QLabel;
class QListWidget;
class QTabWidget;
class QTreeWidget;

namespace kerv {

class TEditorWidget;

class TFrmEditModeSetting : public QDialog {
  Q_OBJECT

 public:
  // manager: the window's edit-mode manager (its folder, files and code
  // page are used; its current mode is not touched). currentName: the mode
  // selected first. info: the window's message boxes.
  TFrmEditModeSetting(TKervEditModeManager& manager, const std::string& currentName, IKervInformation& info,
                      QWidget* parent = nullptr);
  ~TFrmEditModeSetting() override;

  // Whether mode files or editmode.ini changed (OK, or a mode created,
  // copied, renamed, deleted or imported): the window then re-applies its
  // mode (CurrentModeName) and refills its mode box.
  bool ModesChanged() const { return modesChanged_; }
  // The window's mode after the dialog: follows a rename, and falls back to
  // the default mode when the mode was deleted.
  const std::string& CurrentModeName() const { return currentName_; }

  // The platform dialogs the pages open; tests replace them. Texts UTF-8.
  // A name for a mode (nothing when cancelled), as the user typed it.
  std::function<std::optional<QString>(const QString& caption, const QString& prompt, const QString& proposal)>
      AskName;
  // A file to read (save false) or write; empty when cancelled.
  std::function<QString(bool save, const QString& filter)> ChooseFile;
  // The font dialog; false when cancelled.
  std::function<bool(TEditorFont& font, bool proportional)> ChooseFont;

  TKervEditModeSettingManager& Modes() { return *modes_; }
  TEditorWidget& Preview() { return *preview_; }

  // The colour page's entry (index into ColorPageEntries()) and its values.
  void SelectColorEntry(int index);

  void accept() override;

 private:
  struct Binding;

  QWidget* CreateModePanel();
  QWidget* CreateViewPage();
  QWidget* CreateCaretPage();
  QWidget* CreateWrapPage();
  QWidget* CreateRulerPage();
  QWidget* CreateColorPage();
  QWidget* CreateWordPage();
  QWidget* CreateBracketPage();
  QWidget* CreateAssociationPage();

  // Bound controls: each reads its value from the selected set and writes
  // it back when the user changes it.
  QCheckBox* BindCheck(QFormLayout* form, const char* name, const QString& caption,
                       std::function<bool(const TEditorPropEx&)> get, std::function<void(TEditorPropEx&, bool)> set);
  QWidget* BindNumber(QFormLayout* form, const char* name, const QString& caption, int min, int max,
                      std::function<int(const TEditorPropEx&)> get, std::function<void(TEditorPropEx&, int)> set);
  // A choice of items; get and set speak in item indices.
  QWidget* BindChoice(QFormLayout* form, const char* name, const QString& caption, const QStringList& items,
                      std::function<int(const TEditorPropEx&)> get, std::function<void(TEditorPropEx&, int)> set);
  QWidget* BindText(QFormLayout* form, const char* name, const QString& caption,
                    std::function<std::string(const TEditorPropEx&)> get,
                    std::function<void(TEditorPropEx&, const std::string&)> set);

  TEditorPropEx& Set() { return modes_->SelectedSet(); }
  // A page changed the selected set.
  void Edited();
  // Shows the selected mode on every page.
  void LoadPages();
  void FillModeList();
  void FillAssociations();
  void FillWords(const std::vector<int>& selectedRows = {});
  void FillBrackets(int selectedRow = -1);
  void LoadColorEntry();
  void StoreColorEntry();
  void UpdatePreview();
  void UpdateFontLabel();

  void ModeSelected(int row);
  std::optional<std::string> AskModeName(TEditModeMessage caption, TEditModeMessage prompt, const std::string& proposal);
  void NewMode();
  void CopyMode();
  void RenameMode();
  void DeleteMode();
  void ImportMode();

  std::vector<int> SelectedWordRows() const;
  void AddWord();
  void EditWords();
  void CopyWords();
  void DeleteWords();
  void MoveWordRows(TMoveDirection direction);
  void SortWords(int column);
  void ImportWords();
  void ExportWords();

  int SelectedBracketRow() const;
  void AddBracket();
  void EditBracket();
  void CopyBracket();
  void DeleteBracket();
  void MoveBracket(TMoveDirection direction);

  void AddAssociation();
  void EditAssociation();
  void DeleteAssociation();

  ICodePage& codePage_;
  TEditModeDialogUser user_;
  std::unique_ptr<TKervEditModeSettingManager> modes_;
  std::string currentName_;
  bool modesChanged_ = false;
  bool loading_ = false;
  std::string previewText_;
  std::vector<std::unique_ptr<Binding>> bindings_;

  QListWidget* modeList_ = nullptr;
  QTabWidget* pages_ = nullptr;
  QListWidget* colorList_ = nullptr;
  TColorButton* textColor_ = nullptr;
  TColorButton* bkColor_ = nullptr;
  QCheckBox* bold_ = nullptr;
  QCheckBox* italic_ = nullptr;
  QCheckBox* underline_ = nullptr;
  QCheckBox* useEditorColors_ = nullptr;
  QCheckBox* proportional_ = nullptr;
  QLabel* fontLabel_ = nullptr;
  TEditorWidget* preview_ = nullptr;
  QTreeWidget* words_ = nullptr;
  QTreeWidget* brackets_ = nullptr;
  QTreeWidget* associations_ = nullptr;
};

}  // namespace kerv
