#include "app/dialogs/TFrmEditModeSettingSupport.h"

#include "platform/qt/QtText.h"
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QVBoxLayout>

#include "document/TKervExceptionStringMaker.h"
#include "editmode/EditModeMessages.h"
#include "ui/TEditorWidget.h"

namespace kerv {

void TEditModeDialogUser::NoticeError(const std::string& text) {
  info_.Notify(Internal(text), IKervInformation::nlError);
}

void TEditModeDialogUser::ShowError(const std::string& text) { info_.ShowError(Internal(text)); }

void TEditModeDialogUser::ShowErrorCode(int code, const std::optional<std::string>& argument) {
  info_.ShowError(Internal(TKervExceptionStringMaker::Make(code, argument)));
}

bool TEditModeDialogUser::Confirm(const std::string& text) { return info_.Confirm(Internal(text)); }

void TEditModeDialogUser::RefuseName(const std::string& text) { info_.ShowError(Internal(text)); }


QColor ToQColor(TColor color) { return TEditorWidget::ToQColor(color); }

TColor FromQColor(const QColor& color) {
  return static_cast<TColor>(color.red()) | (static_cast<TColor>(color.green()) << 8) |
         (static_cast<TColor>(color.blue()) << 16);
}

void MarkRefused(QLineEdit* field) {
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, ToQColor(0x80FFFF));
  palette.setColor(QPalette::Text, Qt::black);
  field->setPalette(palette);
  field->setFocus();
}

void ResetRefused(QLineEdit* field) { field->setPalette(QPalette()); }

TColorButton::TColorButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  connect(this, &QPushButton::clicked, this, [this] { Choose(); });
  Refresh();
}

void TColorButton::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Refresh();
  emit ColorChanged(color_);
}

void TColorButton::Choose() {
  QColor chosen = QColorDialog::getColor(ToQColor(color_), this);
  if (chosen.isValid()) SetColor(FromQColor(chosen));
}

void TColorButton::Refresh() {
  QPixmap swatch(16, 16);
  swatch.fill(ToQColor(color_));
  setIcon(QIcon(swatch));
}

namespace {

QDialogButtonBox* AddOkCancel(QDialog* dialog, QLayout* layout) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  layout->addWidget(buttons);
  return buttons;
}

QCheckBox* AddCheck(QWidget* parent, QLayout* layout, const char* name, const QString& caption, bool checked) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setChecked(checked);
  layout->addWidget(box);
  return box;
}

}  // namespace

TFrmBracketPair::TFrmBracketPair(ICodePage& codePage, IEditModeUser& user, const TEditorBracketItem& pair,
                                 QWidget* parent)
    : QDialog(parent), codePage_(codePage), user_(user) {
  setObjectName(QStringLiteral("TFrmBracketPair"));
  setWindowTitle(QStringLiteral("囲み文字"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout();
  left_ = new QLineEdit(SjisToQString(codePage, pair.LeftBracket()), this);
  left_->setObjectName(QStringLiteral("Edt_LeftBracket"));
  right_ = new QLineEdit(SjisToQString(codePage, pair.RightBracket()), this);
  right_->setObjectName(QStringLiteral("Edt_RightBracket"));
  form->addRow(QStringLiteral("開始文字(&L):"), left_);
  form->addRow(QStringLiteral("終了文字(&R):"), right_);
  layout->addLayout(form);

  auto* colors = new QHBoxLayout();
  color_ = new TColorButton(QStringLiteral("文字色(&C)..."), this);
  color_->setObjectName(QStringLiteral("Btn_BracketColor"));
  color_->SetColor(pair.ItemColor().Color());
  bkColor_ = new TColorButton(QStringLiteral("背景色(&B)..."), this);
  bkColor_->setObjectName(QStringLiteral("Btn_BracketBkColor"));
  bkColor_->SetColor(pair.ItemColor().BkColor());
  colors->addWidget(color_);
  colors->addWidget(bkColor_);
  layout->addLayout(colors);
  const TFontStyles style = pair.ItemColor().Style();
  bold_ = AddCheck(this, layout, "Chk_Bold", QStringLiteral("太字(&O)"), style & fsBold);
  italic_ = AddCheck(this, layout, "Chk_Italic", QStringLiteral("斜体(&I)"), style & fsItalic);
  underline_ = AddCheck(this, layout, "Chk_Underline", QStringLiteral("下線(&U)"), style & fsUnderline);
  showReserve_ = AddCheck(this, layout, "Chk_ShowReserve",
                          Utf8(EditModeMessage(TEditModeMessage::BracketShowReserve)), pair.ShowReserve());
  AddOkCancel(this, layout);
}

void TFrmBracketPair::AssignTo(TEditorBracketItem& pair) const {
  pair.SetLeftBracket(QStringToSjis(codePage_, left_->text()));
  pair.SetRightBracket(QStringToSjis(codePage_, right_->text()));
  const TFontStyles style = (bold_->isChecked() ? fsBold : 0) | (italic_->isChecked() ? fsItalic : 0) |
                            (underline_->isChecked() ? fsUnderline : 0);
  pair.SetItemColor(TEditorColor(bkColor_->Color(), color_->Color(), style));
  pair.SetShowReserve(showReserve_->isChecked());
}

void TFrmBracketPair::accept() {
  ResetRefused(left_);
  ResetRefused(right_);
  if (left_->text().isEmpty()) {
    user_.ShowErrorCode(11210, std::nullopt);
    MarkRefused(left_);
    return;
  }
  if (right_->text().isEmpty()) {
    user_.ShowErrorCode(11211, std::nullopt);
    MarkRefused(right_);
    return;
  }
  QDialog::accept();
}

TFrmEditModeAssociation::TFrmEditModeAssociation(TKervEditModeSettingManager& modes,
                                                 const std::vector<std::string>& modeNames, const std::string& ext,
                                                 const std::string& mode, QWidget* parent)
    : QDialog(parent), modes_(modes), modeNames_(modeNames) {
  setObjectName(QStringLiteral("TFrmEditModeAssociation"));
  setWindowTitle(QStringLiteral("関連付け"));
  ICodePage& codePage = modes.CodePage();
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout();
  extField_ = new QLineEdit(SjisToQString(codePage, ext), this);
  extField_->setObjectName(QStringLiteral("Edt_Ext"));
  modeBox_ = new QComboBox(this);
  modeBox_->setObjectName(QStringLiteral("Cmb_EditMode"));
  for (const std::string& name : modeNames_) modeBox_->addItem(SjisToQString(codePage, name));
  const auto found = std::find(modeNames_.begin(), modeNames_.end(), mode);
  if (found != modeNames_.end()) modeBox_->setCurrentIndex(static_cast<int>(found - modeNames_.begin()));
  form->addRow(QStringLiteral("拡張子(&E):"), extField_);
  form->addRow(QStringLiteral("編集モード(&M):"), modeBox_);
  layout->addLayout(form);
  AddOkCancel(this, layout);
}

void TFrmEditModeAssociation::accept() {
  ResetRefused(extField_);
  QString text = extField_->text().trimmed();
  // An extension typed with its dot means the same extension.
  if (text.startsWith(QLatin1Char('.'))) text.remove(0, 1);
  const std::string ext = QStringToSjis(modes_.CodePage(), text);
  if (!modes_.CheckExtension(ext)) {
    MarkRefused(extField_);
    return;
  }
  const int index = modeBox_->currentIndex();
  if (index < 0 || index >= static_cast<int>(modeNames_.size())) return;
  ext_ = ext;
  mode_ = modeNames_[static_cast<size_t>(index)];
  QDialog::accept();
}

}  // namespace kerv
