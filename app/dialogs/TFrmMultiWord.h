#pragma once
// The reserved-word dialog of the edit-mode settings: one word with its
// search method and emphasis level, or several selected words at once
// ("複数予約語のプロパティ"), where an option box left mixed keeps each word's
// own bit and the level changes only when asked to.

#include <QDialog>
#include <vector>

#include "editmode/TKervEditModeManager.h"
#include "editor/TEditorWordList.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace kerv {

class TFrmMultiWord : public QDialog {
  Q_OBJECT

 public:
  // words: the word to edit (a new one is an empty word), or the selected words.
  TFrmMultiWord(ICodePage& codePage, IEditModeUser& user, std::vector<TEditorWord> words, QWidget* parent = nullptr);

  bool Multiple() const { return words_.size() > 1; }
  // The words with the dialog's choices applied (valid after OK).
  const std::vector<TEditorWord>& Words() const { return words_; }
  // Refuses an empty word and a regular expression that does not compile.
  void accept() override;

 private:
  void UpdateEnabled();
  // The words as the dialog's boxes would leave them.
  std::vector<TEditorWord> Applied() const;

  ICodePage& codePage_;
  IEditModeUser& user_;
  std::vector<TEditorWord> words_;
  QLineEdit* word_;
  QCheckBox* matchCase_;
  QCheckBox* wholeWord_;
  QCheckBox* regExp_;
  QCheckBox* fuzzy_;
  QCheckBox* setLevel_ = nullptr;
  QComboBox* level_;
};

}  // namespace kerv
