#pragma once
// The search-options panel under the search bar's options button: the
// option ticks with their enable rules, the search range, and the history
// buttons. It takes effect when it closes.

#include <QDialog>
#include <functional>

#include "search/TKervSearchOptions.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kerv {

class IKervInformation;
class TKervSearchCommand;

class TFrm_SearchOp : public QDialog {
  Q_OBJECT
 public:
  // selectionEmpty chooses the range button: the whole text when the
  // editor has no selection, else the selection.
  TFrm_SearchOp(QWidget* parent, TKervSearchCommand& command, IKervInformation& information, bool selectionEmpty);

  // Opens 26 pixels below the button's top edge (screen coordinates): left
  // aligned with the button when the panel is wider than the button's left
  // edge is far from the screen's, else right aligned with it.
  void PlaceBelow(const QRect& buttonOnScreen);
  // The options as the ticks say.
  TKervSearchOptions Options() const;
  bool Changed() const { return changed_; }
  // Runs once when the panel closes (the window's dialog state returns to 0).
  std::function<void()> OnClosed;

  QCheckBox *Chk_FromTop, *Chk_Loop, *Chk_ConfirmRep, *Chk_AutoComplete;
  QCheckBox *Chk_WholeWord, *Chk_MatchCase, *Chk_NoMatchZenkaku, *Chk_IncludeRet, *Chk_IncludeSpace;
  QCheckBox *Chk_RegExp, *Chk_Fuzzy;
  QRadioButton *RB_SearchAll, *RB_SelSearch;
  QPushButton *Btn_ClearSearch, *Btn_ClearReplace, *FltBtn_Close;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ApplyEnableRules();
  void Fill(const TKervSearchOptions& options, bool selectionEmpty);
  void Finish();

  TKervSearchCommand& command_;
  IKervInformation& information_;
  bool changed_ = false;
  bool finished_ = false;
};

}  // namespace kerv
