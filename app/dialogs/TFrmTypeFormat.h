#pragma once
// The type-format dialog: which operation, on which kinds of characters, and
// which symbols one by one.

#include <QDialog>
#include <array>
#include <optional>

#include "format/TTypeFormatOptions.h"

class QCheckBox;
class QRadioButton;

namespace kerv {

class TFrmTypeFormat : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmTypeFormat(QWidget* parent = nullptr);

  // The choices; nothing once キャンセル (or Escape) was pressed. OK and the
  // close box both apply.
  std::optional<TTypeFormatOptions> Options() const;
  bool Cancelled() const { return cancelled_; }

  QRadioButton* RB_HanToZen;
  QRadioButton* RB_ZenToHan;
  QRadioButton* RB_Del;
  QCheckBox* Chk_ELow;
  QCheckBox* Chk_EUpp;
  QCheckBox* Chk_Num;
  QCheckBox* Chk_Kata;
  QCheckBox* Chk_Kana;
  QCheckBox* Chk_Sym;
  QCheckBox* Chk_Space;
  QCheckBox* Chk_Tab;
  QCheckBox* Chk_Ret;
  QCheckBox* Chk_AllText;
  // The boxes of the single symbols; box i carries Tag i + 1.
  std::array<QCheckBox*, kSymbolTagCount> symbolBoxes{};

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void UpdateEnabled();

  bool cancelled_ = false;
};

}  // namespace kerv
