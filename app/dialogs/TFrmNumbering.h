#pragma once
// The numbering dialog: first number, separator and alignment, with a
// preview of the first and the last line of a 100-line sample.

#include <QDialog>

#include "format/TNumberingOptions.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace kerv {

class ICodePage;
class IKervInformation;

class TFrmNumbering : public QDialog {
  Q_OBJECT

 public:
  TFrmNumbering(ICodePage& codePage, IKervInformation& information, const TNumberingOptions& options,
                QWidget* parent = nullptr);

  // The choices after OK (the start number as checked by OK).
  const TNumberingOptions& Options() const { return options_; }
  // The choices as the controls show them now.
  TNumberingOptions CurrentOptions() const;

  QLineEdit* Edt_StartNum;
  QSpinBox* UpDwn_StartNum;
  QLineEdit* Edt_SeparateStr;
  QComboBox* Cmb_Type;
  QLabel* Lbl_Preview;

 public slots:
  // Checks the start number: an error and the dialog stays open, or the
  // choices are taken and the dialog closes.
  void accept() override;

 private:
  void UpdatePreview();

  ICodePage& codePage_;
  IKervInformation& information_;
  TNumberingOptions options_;
};

}  // namespace kerv
