#pragma once
// Pieces the edit-mode settings dialog and its small dialogs share: the
// manager's questions routed to the window's message boxes, the colour
// button, the marking of a refused field, and the bracket-pair and
// association dialogs.

#include <QDialog>
#include <QPushButton>
#include <QString>

#include "platform/qt/QtText.h"
#include <string>
#include <vector>

#include "app/commands/TKervInformation.h"
#include "editmode/TKervEditModeSettingManager.h"
#include "editor/TEditorBracketCollection.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace kerv {

// The edit-mode manager speaks UTF-8; the window's boxes take Shift_JIS.
class TEditModeDialogUser : public IEditModeUser {
 public:
  TEditModeDialogUser(IKervInformation& info, ICodePage& codePage) : info_(info), codePage_(codePage) {}
  void NoticeError(const std::string& text) override;
  void ShowError(const std::string& text) override;
  void ShowErrorCode(int code, const std::optional<std::string>& argument) override;
  bool Confirm(const std::string& text) override;
  void RefuseName(const std::string& text) override;

 private:
  std::string Internal(const std::string& utf8) { return codePage_.Utf8ToCp932(utf8, nullptr); }
  IKervInformation& info_;
  ICodePage& codePage_;
};

QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

// A refused field: light-yellow background, black text and the focus; the
// next check resets it.
void MarkRefused(QLineEdit* field);
void ResetRefused(QLineEdit* field);

// A button that shows a colour and offers the colour dialog on a click.
class TColorButton : public QPushButton {
  Q_OBJECT

 public:
  explicit TColorButton(const QString& caption, QWidget* parent = nullptr);
  TColor Color() const { return color_; }
  // Sets the colour; emits ColorChanged when it differs.
  void SetColor(TColor color);

 signals:
  void ColorChanged(kerv::TColor color);

 private:
  void Choose();
  void Refresh();
  TColor color_ = clBlack;
};

// The pair dialog of the bracket page: left and right bracket, colours,
// style and whether reserved words inside are emphasised.
class TFrmBracketPair : public QDialog {
  Q_OBJECT

 public:
  TFrmBracketPair(ICodePage& codePage, IEditModeUser& user, const TEditorBracketItem& pair, QWidget* parent = nullptr);
  // The edited values into pair.
  void AssignTo(TEditorBracketItem& pair) const;
  void accept() override;

 private:
  ICodePage& codePage_;
  IEditModeUser& user_;
  QLineEdit* left_;
  QLineEdit* right_;
  TColorButton* color_;
  TColorButton* bkColor_;
  QCheckBox* bold_;
  QCheckBox* italic_;
  QCheckBox* underline_;
  QCheckBox* showReserve_;
};

// The association dialog: an extension and one of the modes (never the
// default mode, which needs no association).
class TFrmEditModeAssociation : public QDialog {
  Q_OBJECT

 public:
  TFrmEditModeAssociation(TKervEditModeSettingManager& modes, const std::vector<std::string>& modeNames,
                          const std::string& ext, const std::string& mode, QWidget* parent = nullptr);
  const std::string& Ext() const { return ext_; }
  const std::string& Mode() const { return mode_; }
  void accept() override;

 private:
  TKervEditModeSettingManager& modes_;
  std::vector<std::string> modeNames_;
  QLineEdit* extField_;
  QComboBox* modeBox_;
  std::string ext_;
  std::string mode_;
};

}  // namespace kerv
