#include "app/dialogs/TFrmTypeFormat.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <vector>

#include "app/dialogs/TKervFormatDialogsText.h"

namespace kerv {

TFrmTypeFormat::TFrmTypeFormat(QWidget* parent) : QDialog(parent) {
  setWindowTitle(FormatText(TFormatMessage::TypeFormatCaption));
  auto* layout = new QVBoxLayout(this);

  auto* actions = new QGroupBox(FormatText(TFormatMessage::TypeActionGroup), this);
  auto* actionLayout = new QHBoxLayout(actions);
  RB_HanToZen = new QRadioButton(FormatText(TFormatMessage::TypeHanToZen), actions);
  RB_ZenToHan = new QRadioButton(FormatText(TFormatMessage::TypeZenToHan), actions);
  RB_Del = new QRadioButton(FormatText(TFormatMessage::TypeDelete), actions);
  RB_HanToZen->setChecked(true);
  for (QRadioButton* button : {RB_HanToZen, RB_ZenToHan, RB_Del}) {
    actionLayout->addWidget(button);
    connect(button, &QRadioButton::toggled, this, [this] { UpdateEnabled(); });
  }
  layout->addWidget(actions);

  auto* kinds = new QGroupBox(FormatText(TFormatMessage::TypeKindGroup), this);
  auto* kindLayout = new QGridLayout(kinds);
  auto box = [&](TFormatMessage text, int row, int column) {
    auto* check = new QCheckBox(FormatText(text), kinds);
    kindLayout->addWidget(check, row, column);
    return check;
  };
  Chk_ELow = box(TFormatMessage::TypeELow, 0, 0);
  Chk_EUpp = box(TFormatMessage::TypeEUpp, 0, 1);
  Chk_Num = box(TFormatMessage::TypeNum, 0, 2);
  Chk_Kata = box(TFormatMessage::TypeKata, 1, 0);
  Chk_Kana = box(TFormatMessage::TypeKana, 1, 1);
  Chk_Space = box(TFormatMessage::TypeSpace, 1, 2);
  Chk_Tab = box(TFormatMessage::TypeTab, 2, 0);
  Chk_Ret = box(TFormatMessage::TypeRet, 2, 1);
  Chk_Sym = box(TFormatMessage::TypeSym, 3, 0);
  connect(Chk_Sym, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  auto* symbols = new QGridLayout;
  constexpr int kColumns = 10;
  for (int tag = 1; tag <= kSymbolTagCount; ++tag) {
    // A half-width katakana symbol is a byte of 0xA1-0xDF in Shift_JIS: shown
    // as its Unicode half-width form, never as the Latin-1 character of that byte.
    const auto byte = static_cast<unsigned char>(SymbolOfTag(tag));
    const QString symbol(byte >= 0xA1 && byte <= 0xDF ? QChar(0xFF61 + (byte - 0xA1)) : QChar::fromLatin1(static_cast<char>(byte)));
    auto* check = new QCheckBox(symbol == "&" ? QStringLiteral("&&") : symbol, kinds);
    check->setProperty("Tag", tag);
    symbols->addWidget(check, (tag - 1) / kColumns, (tag - 1) % kColumns);
    symbolBoxes[static_cast<size_t>(tag - 1)] = check;
  }
  kindLayout->addLayout(symbols, 4, 0, 1, 3);
  layout->addWidget(kinds);

  Chk_AllText = new QCheckBox(FormatText(TFormatMessage::TypeAllText), this);
  layout->addWidget(Chk_AllText);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(FormatText(TFormatMessage::OkButton), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(FormatText(TFormatMessage::CancelButton), QDialogButtonBox::RejectRole);
  ok->setObjectName("OK");
  cancel->setObjectName("Cancel");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, [this] {
    cancelled_ = true;
    reject();
  });
  layout->addWidget(buttons);
  UpdateEnabled();
}

void TFrmTypeFormat::keyPressEvent(QKeyEvent* event) {
  // Escape is the キャンセル button; only the close box applies without OK.
  if (event->key() == Qt::Key_Escape) cancelled_ = true;
  QDialog::keyPressEvent(event);
}

void TFrmTypeFormat::UpdateEnabled() {
  const bool deleting = RB_Del->isChecked();
  Chk_Tab->setEnabled(deleting);
  Chk_Ret->setEnabled(deleting);
  for (QCheckBox* check : symbolBoxes) check->setEnabled(!Chk_Sym->isChecked());
}

std::optional<TTypeFormatOptions> TFrmTypeFormat::Options() const {
  if (cancelled_) return std::nullopt;
  TTypeFormatOptions options;
  options.action = RB_Del->isChecked()       ? TTypeFormatAction::Delete
                   : RB_ZenToHan->isChecked() ? TTypeFormatAction::ZenToHan
                                              : TTypeFormatAction::HanToZen;
  const std::pair<QCheckBox*, TTypeFlags> flags[] = {
      {Chk_ELow, TypeFlag::ELow}, {Chk_EUpp, TypeFlag::EUpp},   {Chk_Num, TypeFlag::Num},
      {Chk_Kata, TypeFlag::Kata}, {Chk_Kana, TypeFlag::Kana},   {Chk_Sym, TypeFlag::Sym},
      {Chk_Space, TypeFlag::Space}, {Chk_Tab, TypeFlag::Tab}, {Chk_Ret, TypeFlag::Ret},
  };
  for (const auto& [check, flag] : flags) {
    // A disabled TAB or CR LF box means nothing for converting.
    if (check->isChecked() && check->isEnabled()) options.flags = static_cast<TTypeFlags>(options.flags | flag);
  }
  if (!Chk_Sym->isChecked()) {
    std::vector<int> tags;
    for (QCheckBox* check : symbolBoxes) {
      if (check->isChecked()) tags.push_back(check->property("Tag").toInt());
    }
    options.symbols = SymbolsOfTags(tags);
  }
  options.allText = Chk_AllText->isChecked();
  return options;
}

}  // namespace kerv
