#include "app/dialogs/TFrmAppList.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/commands/TKervInformation.h"
#include "app/dialogs/TFrmAddApp.h"
#include "platform/qt/QtProgramIcon.h"
#include "platform/qt/QtText.h"
#include "tools/ToolMessages.h"

namespace kerv {
namespace {

QString Text(TToolMessage id) { return QString::fromUtf8(ToolMessage(id)); }

}  // namespace

QIcon MissingToolIcon(QStyle& style) {
  return QIcon::fromTheme(QStringLiteral("dialog-warning"), style.standardIcon(QStyle::SP_MessageBoxWarning));
}

QIcon GenericToolIcon(QStyle& style) {
  return QIcon::fromTheme(QStringLiteral("application-x-executable"), style.standardIcon(QStyle::SP_FileIcon));
}

QIcon ToolEntryIcon(const TToolMenuEntry& entry, bool programIcons, QStyle& style) {
  if (!entry.exists) return MissingToolIcon(style);
  if (programIcons) {
    QIcon icon = ProgramIcon(entry.programPath);
    if (!icon.isNull()) return icon;
  }
  return GenericToolIcon(style);
}

TFrm_AppList::TFrm_AppList(IFileSystem& fs, ICodePage& codePage, const std::string& settingFolder,
                           IKervInformation& information, QWidget* parent)
    : QDialog(parent), fs_(fs), codePage_(codePage), information_(information), list_({fs, codePage}, settingFolder) {
  setObjectName(QStringLiteral("TFrm_AppList"));
  setWindowTitle(Text(TToolMessage::ListCaption));
  auto* layout = new QHBoxLayout(this);
  Lvw_AppList = new QTreeWidget(this);
  Lvw_AppList->setObjectName(QStringLiteral("Lvw_AppList"));
  Lvw_AppList->setColumnCount(2);
  Lvw_AppList->setHeaderLabels({Text(TToolMessage::ColumnName), Text(TToolMessage::ColumnPath)});
  Lvw_AppList->setRootIsDecorated(false);
  Lvw_AppList->setSelectionMode(QAbstractItemView::SingleSelection);
  Lvw_AppList->header()->setStretchLastSection(true);
  Lvw_AppList->setColumnWidth(0, 160);
  layout->addWidget(Lvw_AppList, 1);

  auto* column = new QVBoxLayout();
  auto button = [this, column](TToolMessage caption, void (TFrm_AppList::*run)()) {
    auto* made = new QPushButton(Text(caption), this);
    made->setAutoDefault(false);
    connect(made, &QPushButton::clicked, this, [this, run] { (this->*run)(); });
    column->addWidget(made);
    return made;
  };
  Btn_Add = button(TToolMessage::AddButton, &TFrm_AppList::Add);
  Btn_Modify = button(TToolMessage::ModifyButton, &TFrm_AppList::Modify);
  Btn_Delete = button(TToolMessage::DeleteButton, &TFrm_AppList::Delete);
  column->addSpacing(12);
  Btn_Up = button(TToolMessage::UpButton, &TFrm_AppList::MoveUp);
  Btn_Down = button(TToolMessage::DownButton, &TFrm_AppList::MoveDown);
  column->addStretch(1);
  Btn_OK = new QPushButton(Text(TToolMessage::OkButton), this);
  Btn_OK->setDefault(true);
  Btn_Cancel = new QPushButton(Text(TToolMessage::CancelButton), this);
  Btn_Cancel->setAutoDefault(false);
  Btn_Help = new QPushButton(Text(TToolMessage::HelpButton), this);
  Btn_Help->setAutoDefault(false);
  connect(Btn_OK, &QPushButton::clicked, this, &TFrm_AppList::accept);
  connect(Btn_Cancel, &QPushButton::clicked, this, &TFrm_AppList::reject);
  connect(Btn_Help, &QPushButton::clicked, this, [this] {
    if (OnHelp) OnHelp();
  });
  for (QPushButton* made : {Btn_OK, Btn_Cancel, Btn_Help}) column->addWidget(made);
  layout->addLayout(column);

  connect(Lvw_AppList, &QTreeWidget::currentItemChanged, this, [this] { RefreshButtons(); });
  connect(Lvw_AppList, &QTreeWidget::itemDoubleClicked, this, [this] { Modify(); });

  try {
    list_.LoadList();
    loaded_ = true;
  } catch (const std::exception& error) {
    information_.ShowError(error.what());
  }
  Fill(list_.Count() > 0 ? 0 : -1);
  resize(600, 360);
}

TFrm_AppList::~TFrm_AppList() = default;

int TFrm_AppList::CurrentRow() const {
  QTreeWidgetItem* item = Lvw_AppList->currentItem();
  return item == nullptr ? -1 : Lvw_AppList->indexOfTopLevelItem(item);
}

void TFrm_AppList::SetCurrentRow(int row) {
  if (row >= 0 && row < Lvw_AppList->topLevelItemCount()) Lvw_AppList->setCurrentItem(Lvw_AppList->topLevelItem(row));
}

void TFrm_AppList::Fill(int current) {
  Lvw_AppList->clear();
  for (const TToolMenuEntry& entry : list_.MenuEntries(list_.Count())) {
    auto* item = new QTreeWidgetItem(Lvw_AppList, {Utf8(entry.caption), Utf8(entry.hint)});
    item->setIcon(0, ToolEntryIcon(entry, true, *style()));
  }
  Lvw_AppList->resizeColumnToContents(0);
  SetCurrentRow(current);
  RefreshButtons();
}

void TFrm_AppList::RefreshButtons() {
  const int row = CurrentRow();
  Btn_Modify->setEnabled(row >= 0);
  Btn_Delete->setEnabled(row >= 0);
  Btn_Up->setEnabled(row > 0);
  Btn_Down->setEnabled(row >= 0 && row < list_.Count() - 1);
}

std::optional<TToolLauncherItem> TFrm_AppList::RunEditor(const TToolLauncherItem* item) {
  if (EditTool) return EditTool(item);
  TFrm_AddApp editor(fs_, codePage_, information_, item, this);
  editor.OnHelp = OnHelp;
  editor.exec();
  return editor.Result();
}

bool TFrm_AppList::Usable(const TToolLauncherItem& item) {
  const std::string path = TKervToolLauncher::NativeText(codePage_, item.path);
  return !path.empty() && fs_.FileExists(path);
}

void TFrm_AppList::Add() {
  const std::optional<TToolLauncherItem> edited = RunEditor(nullptr);
  if (!edited || !Usable(*edited)) return;
  static_cast<TToolLauncherItem&>(list_.AddItem()) = *edited;
  Fill(list_.Count() - 1);
}

void TFrm_AppList::Modify() {
  const int row = CurrentRow();
  TToolLauncherItem* item = list_.GetItem(row);
  if (item == nullptr) return;
  const std::optional<TToolLauncherItem> edited = RunEditor(item);
  if (!edited || !Usable(*edited)) return;
  *item = *edited;
  Fill(row);
}

void TFrm_AppList::Delete() {
  const int row = CurrentRow();
  if (row < 0) return;
  if (!information_.Confirm(ToolMessage(TToolMessage::DeleteQuestion))) return;
  list_.DeleteItem(row);
  Fill(std::min(row, list_.Count() - 1));
}

void TFrm_AppList::MoveUp() {
  const int row = CurrentRow();
  if (list_.MoveUp(row)) Fill(row - 1);
}

void TFrm_AppList::MoveDown() {
  const int row = CurrentRow();
  if (list_.MoveDown(row)) Fill(row + 1);
}

void TFrm_AppList::accept() {
  if (!loaded_) {
    QDialog::reject();
    return;
  }
  // No exception may leave a Qt event handler; a failed write keeps the dialog open.
  try {
    list_.SaveList();
  } catch (const std::exception& error) {
    information_.ShowError(error.what());
    return;
  }
  QDialog::accept();
}

}  // namespace kerv
