#include "app/dialogs/TKervKeySetPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>
#include <iterator>

#include "app/commands/TKervActionTable.h"
#include "app/commands/TKervInformation.h"
#include "app/dialogs/TKeyCaptureEdit.h"
#include "keys/DefaultKeySet.h"
#include "keys/KeySetMessages.h"
#include "platform/qt/QtText.h"
#include "tools/TKervToolLauncher.h"

namespace kerv {
namespace {

QString Text(TKeySetMessage id) { return QString::fromUtf8(KeySetMessage(id)); }

constexpr TKeySetMessage kCategories[] = {
    TKeySetMessage::CategoryFile,    TKeySetMessage::CategoryEdit,   TKeySetMessage::CategoryFormat,
    TKeySetMessage::CategorySearch,  TKeySetMessage::CategoryInsert, TKeySetMessage::CategoryDelete,
    TKeySetMessage::CategoryCaret,   TKeySetMessage::CategoryTool,   TKeySetMessage::CategoryView,
    TKeySetMessage::CategoryWindow,  TKeySetMessage::CategoryInfobar, TKeySetMessage::CategoryHelp,
};

// The node of an action's category. The action table names its formatting
// category "整形", the page "整形機能"; the others are the same words.
int CategoryNode(const TKervActionInfo& info) {
  if (std::strcmp(info.category, "整形") == 0) return 2;
  for (size_t i = 0; i < std::size(kCategories); ++i) {
    if (std::strcmp(info.category, KeySetMessage(kCategories[i])) == 0) return static_cast<int>(i);
  }
  return 0;
}

// The caption without its mnemonic: the first '&' goes, and six characters
// from the first '(' on ("次を検索(&N)" shows as 次を検索).
QString TreeCaption(const char* caption) {
  QString text = QString::fromUtf8(caption);
  const qsizetype amp = text.indexOf(QLatin1Char('&'));
  if (amp >= 0) text.remove(amp, 1);
  const qsizetype paren = text.indexOf(QLatin1Char('('));
  if (paren >= 0) text.remove(paren, 6);
  return text;
}

constexpr int kActionRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole;

}  // namespace

TKervKeySetPage::TKervKeySetPage(IFileSystem& fs, ICodePage& codePage, const std::string& settingFolder,
                                 IKervInformation& information, const std::string& storedName, QWidget* parent)
    : QWidget(parent), codePage_(codePage), information_(information), manager_(fs, codePage, settingFolder) {
  setObjectName(QStringLiteral("Pnl_KeySet"));
  auto* layout = new QVBoxLayout(this);

  auto* setRow = new QHBoxLayout();
  Cmb_Key_KeySetList = new QComboBox(this);
  Cmb_Key_KeySetList->setObjectName(QStringLiteral("Cmb_Key_KeySetList"));
  auto* setLabel = new QLabel(Text(TKeySetMessage::KeySetLabel), this);
  setLabel->setBuddy(Cmb_Key_KeySetList);
  setRow->addWidget(setLabel);
  setRow->addWidget(Cmb_Key_KeySetList, 1);
  auto button = [this, setRow](TKeySetMessage caption, void (TKervKeySetPage::*run)()) {
    auto* made = new QPushButton(Text(caption), this);
    made->setAutoDefault(false);
    connect(made, &QPushButton::clicked, this, [this, run] { (this->*run)(); });
    setRow->addWidget(made);
    return made;
  };
  Btn_Key_Add = button(TKeySetMessage::AddButton, &TKervKeySetPage::AddSet);
  Btn_Key_Copy = button(TKeySetMessage::CopyButton, &TKervKeySetPage::CopySet);
  Btn_Key_Rename = button(TKeySetMessage::RenameButton, &TKervKeySetPage::RenameSet);
  Btn_Key_Delete = button(TKeySetMessage::DeleteButton, &TKervKeySetPage::DeleteSet);
  layout->addLayout(setRow);
  Lbl_Key_State = new QLabel(this);
  Lbl_Key_State->setObjectName(QStringLiteral("Lbl_Key_State"));
  Lbl_Key_State->setWordWrap(true);
  Lbl_Key_State->setTextFormat(Qt::PlainText);
  layout->addWidget(Lbl_Key_State);

  auto* body = new QHBoxLayout();
  TrVw_Key_ActionList = new QTreeWidget(this);
  TrVw_Key_ActionList->setObjectName(QStringLiteral("TrVw_Key_ActionList"));
  TrVw_Key_ActionList->setHeaderLabel(Text(TKeySetMessage::ActionTreeLabel));
  body->addWidget(TrVw_Key_ActionList, 1);

  auto* keyBox = new QGroupBox(Text(TKeySetMessage::KeyListLabel), this);
  auto* keyLayout = new QVBoxLayout(keyBox);
  auto* bindingRow = new QHBoxLayout();
  bindingRow->addWidget(new QLabel(Text(TKeySetMessage::BindingLabel), keyBox));
  Edt_Key_ShortCut = new QLineEdit(keyBox);
  Edt_Key_ShortCut->setObjectName(QStringLiteral("Edt_Key_ShortCut"));
  Edt_Key_ShortCut->setReadOnly(true);
  Edt_Key_ShortCut->setFocusPolicy(Qt::NoFocus);
  bindingRow->addWidget(Edt_Key_ShortCut, 1);
  keyLayout->addLayout(bindingRow);
  auto* pressRow = new QHBoxLayout();
  Edt_Key_Press = new TKeyCaptureEdit(keyBox);
  Edt_Key_Press->setObjectName(QStringLiteral("Edt_Key_Press"));
  auto* pressLabel = new QLabel(Text(TKeySetMessage::PressKeyLabel), keyBox);
  pressLabel->setBuddy(Edt_Key_Press);
  pressRow->addWidget(pressLabel);
  pressRow->addWidget(Edt_Key_Press, 1);
  keyLayout->addLayout(pressRow);
  auto* tickRow = new QHBoxLayout();
  Chk_Key_Shift = new QCheckBox(QStringLiteral("Shift"), keyBox);
  Chk_Key_Ctrl = new QCheckBox(QStringLiteral("Ctrl"), keyBox);
  Chk_Key_Alt = new QCheckBox(QStringLiteral("Alt"), keyBox);
  for (QCheckBox* tick : {Chk_Key_Shift, Chk_Key_Ctrl, Chk_Key_Alt}) {
    tickRow->addWidget(tick);
    connect(tick, &QCheckBox::toggled, this, [this] { ShowHeldBy(); });
  }
  tickRow->addStretch(1);
  keyLayout->addLayout(tickRow);
  Lst_Key_ShortCut = new QListWidget(keyBox);
  Lst_Key_ShortCut->setObjectName(QStringLiteral("Lst_Key_ShortCut"));
  // Every bindable key in virtual-key order, which is key-index order.
  for (int keyIndex = 1; keyIndex <= kKeyIndexCount; ++keyIndex) Lst_Key_ShortCut->addItem(KeyDisplayName(keyIndex));
  connect(Lst_Key_ShortCut, &QListWidget::currentRowChanged, this, [this] { ShowHeldBy(); });
  keyLayout->addWidget(Lst_Key_ShortCut, 1);
  Lbl_Key_HeldBy = new QLabel(keyBox);
  Lbl_Key_HeldBy->setObjectName(QStringLiteral("Lbl_Key_HeldBy"));
  Lbl_Key_HeldBy->setTextFormat(Qt::PlainText);
  keyLayout->addWidget(Lbl_Key_HeldBy);
  auto* assignRow = new QHBoxLayout();
  Btn_Key_Assign = new QPushButton(Text(TKeySetMessage::AssignButton), keyBox);
  Btn_Key_Release = new QPushButton(Text(TKeySetMessage::ReleaseButton), keyBox);
  for (QPushButton* made : {Btn_Key_Assign, Btn_Key_Release}) {
    made->setAutoDefault(false);
    assignRow->addWidget(made);
  }
  connect(Btn_Key_Assign, &QPushButton::clicked, this, [this] { Assign(); });
  connect(Btn_Key_Release, &QPushButton::clicked, this, [this] { Release(); });
  keyLayout->addLayout(assignRow);
  body->addWidget(keyBox, 1);
  layout->addLayout(body, 1);

  auto* description = new QGroupBox(Text(TKeySetMessage::DescriptionLabel), this);
  auto* descriptionLayout = new QVBoxLayout(description);
  Lbl_Key_Description = new QLabel(description);
  Lbl_Key_Description->setWordWrap(true);
  Lbl_Key_Description->setTextFormat(Qt::PlainText);
  descriptionLayout->addWidget(Lbl_Key_Description);
  layout->addWidget(description);

  Edt_Key_Press->OnChanged = [this](std::optional<TKeySlot> slot) {
    if (slot) SetChosenSlot(*slot);
  };
  connect(TrVw_Key_ActionList, &QTreeWidget::currentItemChanged, this, [this] { ShowAction(); });
  connect(Cmb_Key_KeySetList, &QComboBox::activated, this, [this](int index) {
    if (filling_ || index < 0) return;
    SelectSet(Cmb_Key_KeySetList->itemData(index, kNameRole).toByteArray().toStdString());
  });

  // A key a tool uses is the tool's whatever the set says.
  TKervToolLauncher tools({fs, codePage}, settingFolder);
  try {
    tools.LoadList();
  } catch (const std::exception&) {
    tools.Clear();
  }
  for (int i = 0; i < tools.Count(); ++i) {
    const TToolLauncherItem& item = *tools.GetItem(i);
    if (item.shortCut != 0) toolKeys_.emplace_back(item.shortCut, Utf8(TKervToolLauncher::NativeText(codePage, item.name)));
  }

  BuildActionTree();
  if (TKervKeySet::IsDefaultName(storedName)) {
    manager_.SelectDefault();
    FillSetList();
    ShowLoadResult({});
  } else {
    SelectSet(storedName);
  }
}

TKervKeySetPage::~TKervKeySetPage() = default;

QString TKervKeySetPage::Shown(const std::string& sjis) const { return SjisToQString(codePage_, sjis); }

void TKervKeySetPage::BuildActionTree() {
  std::vector<QTreeWidgetItem*> nodes;
  for (TKeySetMessage category : kCategories) {
    auto* node = new QTreeWidgetItem(TrVw_Key_ActionList, {Text(category)});
    node->setData(0, kActionRole, 0);
    nodes.push_back(node);
  }
  for (const TKervActionInfo& info : ActionTable()) {
    auto* item = new QTreeWidgetItem(nodes[static_cast<size_t>(CategoryNode(info))], {TreeCaption(info.caption)});
    item->setData(0, kActionRole, static_cast<int>(info.id));
    actionItems_.push_back(item);
  }
  TrVw_Key_ActionList->expandAll();
}

void TKervKeySetPage::FillSetList() {
  filling_ = true;
  Cmb_Key_KeySetList->clear();
  int current = 0;
  for (const std::string& name : manager_.SetNames()) {
    if (name == manager_.CurrentName()) current = Cmb_Key_KeySetList->count();
    Cmb_Key_KeySetList->addItem(Shown(name), QByteArray::fromStdString(name));
  }
  Cmb_Key_KeySetList->setCurrentIndex(current);
  filling_ = false;
  const bool builtIn = TKervKeySet::IsDefaultName(manager_.CurrentName());
  Btn_Key_Rename->setEnabled(!builtIn);
  Btn_Key_Delete->setEnabled(!builtIn);
}

void TKervKeySetPage::ShowLoadResult(const TKeySetLoadResult& result) {
  QPalette palette = Lbl_Key_State->palette();
  palette.setColor(QPalette::WindowText, result.error.empty() ? QPalette().color(QPalette::WindowText) : Qt::red);
  Lbl_Key_State->setPalette(palette);
  if (!result.error.empty()) {
    Lbl_Key_State->setText(Utf8(result.error));
  } else if (!manager_.CanEdit()) {
    Lbl_Key_State->setText(Text(TKeySetMessage::CannotEdit));
  } else {
    Lbl_Key_State->clear();
  }
}

void TKervKeySetPage::SelectSet(const std::string& name) {
  const TKeySetLoadResult result = manager_.Select(name);
  FillSetList();
  ShowLoadResult(result);
  TrVw_Key_ActionList->setCurrentItem(TrVw_Key_ActionList->topLevelItem(0));
  ShowAction();
}

void TKervKeySetPage::ChooseSet(const std::string& name) { SelectSet(name); }

std::string TKervKeySetPage::ChosenName() const {
  const std::string& name = manager_.CurrentName();
  return TKervKeySet::IsDefaultName(name) ? std::string(kDefaultKeySetName) : name;
}

std::vector<std::string> TKervKeySetPage::Save() { return manager_.SaveAll(); }

int TKervKeySetPage::CurrentAction() const {
  const QTreeWidgetItem* item = TrVw_Key_ActionList->currentItem();
  return item == nullptr ? 0 : item->data(0, kActionRole).toInt();
}

void TKervKeySetPage::ChooseAction(int action) {
  for (QTreeWidgetItem* item : actionItems_) {
    if (item->data(0, kActionRole).toInt() == action) TrVw_Key_ActionList->setCurrentItem(item);
  }
}

TKeySlot TKervKeySetPage::ChosenSlot() const {
  return {KeyRowOf(Chk_Key_Shift->isChecked(), Chk_Key_Ctrl->isChecked(), Chk_Key_Alt->isChecked()),
          std::max(0, Lst_Key_ShortCut->currentRow()) + 1};
}

void TKervKeySetPage::SetChosenSlot(TKeySlot slot) {
  {
    const QSignalBlocker shift(Chk_Key_Shift), ctrl(Chk_Key_Ctrl), alt(Chk_Key_Alt), list(Lst_Key_ShortCut);
    Chk_Key_Shift->setChecked(slot.row & kKeyRowShift);
    Chk_Key_Ctrl->setChecked(slot.row & kKeyRowCtrl);
    Chk_Key_Alt->setChecked(slot.row & kKeyRowAlt);
    Lst_Key_ShortCut->setCurrentRow(slot.keyIndex - 1);
  }
  ShowHeldBy();
}

void TKervKeySetPage::ShowAction() {
  const int action = CurrentAction();
  Btn_Key_Assign->setEnabled(action != 0 && manager_.CanEdit());
  Btn_Key_Release->setEnabled(action != 0 && manager_.CanEdit());
  if (action == 0) {
    Lbl_Key_Description->clear();
    Edt_Key_ShortCut->setText(Text(TKeySetMessage::NoBinding));
    ShowHeldBy();
    return;
  }
  Lbl_Key_Description->setText(Utf8(LongHint(ActionInfo(static_cast<TKervAction>(action)))));
  const std::optional<TKeySlot> binding = manager_.GetBinding(action);
  Edt_Key_ShortCut->setText(binding ? SlotDisplayText(*binding) : Text(TKeySetMessage::NoBinding));
  SetChosenSlot(binding.value_or(TKeySlot{0, 1}));
}

void TKervKeySetPage::ShowHeldBy() {
  const TKeySlot slot = ChosenSlot();
  QString holder;
  for (const auto& [shortcut, name] : toolKeys_) {
    if (SlotOfShortcut(shortcut) == slot) holder = Text(TKeySetMessage::HeldByTool) + name;
  }
  if (holder.isEmpty()) {
    if (const int action = manager_.ActionAt(slot)) holder = TreeCaption(ActionInfo(static_cast<TKervAction>(action)).caption);
  }
  Lbl_Key_HeldBy->setText(Text(TKeySetMessage::HeldByLabel) + (holder.isEmpty() ? Text(TKeySetMessage::NoBinding) : holder));
}

void TKervKeySetPage::Assign() {
  const int action = CurrentAction();
  if (action == 0 || !manager_.Assign(action, ChosenSlot())) return;
  ShowAction();
}

void TKervKeySetPage::Release() {
  const int action = CurrentAction();
  if (action == 0 || !manager_.Release(action)) return;
  ShowAction();
}

std::optional<std::string> TKervKeySetPage::AskNewName(const QString& caption, const QString& prompt) {
  std::optional<QString> answer;
  if (AskName) {
    answer = AskName(caption, prompt);
  } else {
    bool ok = false;
    const QString typed = QInputDialog::getText(this, caption, prompt, QLineEdit::Normal, QString(), &ok);
    if (ok) answer = typed;
  }
  if (!answer || answer->isEmpty()) return std::nullopt;
  // A character Shift_JIS lacks would become '?', which the name check refuses.
  const std::string name = QStringToSjis(codePage_, *answer);
  const TKeySetNameProblem problem = manager_.CheckNewName(name);
  if (problem != TKeySetNameProblem::None) {
    information_.ShowError(TKervKeySetManager::NameProblemMessage(problem));
    return std::nullopt;
  }
  return name;
}

void TKervKeySetPage::AddSet() {
  const std::optional<std::string> name =
      AskNewName(Text(TKeySetMessage::CreateCaption), Text(TKeySetMessage::CreatePrompt));
  if (!name || !manager_.Create(*name)) return;
  FillSetList();
  ShowLoadResult({});
  ShowAction();
}

void TKervKeySetPage::CopySet() {
  const std::optional<std::string> name =
      AskNewName(Text(TKeySetMessage::CopyCaption), Text(TKeySetMessage::CopyPrompt));
  if (!name || !manager_.Copy(*name)) return;
  FillSetList();
  ShowLoadResult({});
  ShowAction();
}

void TKervKeySetPage::RenameSet() {
  if (TKervKeySet::IsDefaultName(manager_.CurrentName())) return;
  const std::optional<std::string> name =
      AskNewName(Text(TKeySetMessage::RenameCaption), Text(TKeySetMessage::RenamePrompt));
  if (!name) return;
  if (!manager_.Rename(*name)) {
    information_.ShowError(KeySetMessage(TKeySetMessage::RenameFailed));
    return;
  }
  FillSetList();
}

void TKervKeySetPage::DeleteSet() {
  const std::string name = manager_.CurrentName();
  if (TKervKeySet::IsDefaultName(name)) return;
  const std::string shown = codePage_.Cp932ToUtf8(name);
  if (!information_.Confirm(shown + KeySetMessage(TKeySetMessage::DeleteQuestion) + "\r\n" +
                            KeySetMessage(TKeySetMessage::DeleteWarning))) {
    return;
  }
  // A set made in this dialog and never saved has nothing to delete but its edits.
  if (!manager_.Delete() && (manager_.Exists(name) || manager_.IsCached(name))) {
    information_.ShowError(shown + KeySetMessage(TKeySetMessage::DeleteFailed));
    return;
  }
  manager_.SelectDefault();
  FillSetList();
  ShowLoadResult({});
  TrVw_Key_ActionList->setCurrentItem(TrVw_Key_ActionList->topLevelItem(0));
  ShowAction();
}

}  // namespace kerv
