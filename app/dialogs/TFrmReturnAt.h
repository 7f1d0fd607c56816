#pragma once
// The column question of the break-at-column command.

#include <QDialog>
#include <optional>

class QLineEdit;

namespace kerv {

class TFrmReturnAt : public QDialog {
  Q_OBJECT

 public:
  explicit TFrmReturnAt(QWidget* parent = nullptr);

  // The column after OK; nothing when cancelled.
  std::optional<int> Column() const { return column_; }

  QLineEdit* Edt_Column;

 public slots:
  // A text that is not an integer from 2 to 1000 asks again: the dialog
  // stays open with the text selected.
  void accept() override;

 private:
  std::optional<int> column_;
};

}  // namespace kerv
