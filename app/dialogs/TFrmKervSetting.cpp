#include "app/dialogs/TFrmKervSetting.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "app/dialogs/TFrmAppList.h"
#include "app/dialogs/TKervKeySetPage.h"
#include "app/settings/TKervSettingChecks.h"
#include "app/settings/TKervSettingMessages.h"

namespace kerv {
namespace {

QString Text(TKervSettingMessage id) { return QString::fromStdString(SettingMessage(id)); }

// A control's background while a check refuses its value.
const char* const kMarkedProperty = "kervMarked";

int IntOf(TKervFieldRef ref) {
  if (auto* flag = std::get_if<bool*>(&ref)) return **flag ? 1 : 0;
  if (auto* number = std::get_if<int*>(&ref)) return **number;
  return 0;
}

void SetInt(TKervFieldRef ref, int value) {
  if (auto* flag = std::get_if<bool*>(&ref)) **flag = value != 0;
  if (auto* number = std::get_if<int*>(&ref)) **number = value;
}

std::string& TextOf(TKervFieldRef ref) { return *std::get<std::string*>(ref); }

QColor ColourOf(int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }
int BgrOf(const QColor& colour) { return colour.red() | (colour.green() << 8) | (colour.blue() << 16); }

void ShowColour(QPushButton* button, int bgr) {
  button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; }").arg(ColourOf(bgr).name()));
}

// A native file or folder name as the file holds it: UTF-8 as a Linux user
// types it, else Shift_JIS from a file written elsewhere.
QString FromNative(ICodePage& codePage, const std::string& bytes) {
  ConversionReport report;
  std::u16string text = codePage.Utf8ToUtf16(bytes, &report);
  if (report.replaced == 0) return QString::fromStdU16String(text);
  return QString::fromStdU16String(codePage.Cp932ToUtf16(bytes));
}

}  // namespace

// One control of the dialog: where its value lives and how it moves between
// the control and the edited copy.
struct TFrm_KervSetting::Control {
  const TKervSettingField* field;
  QWidget* markable;  // what a check marks
  std::function<void()> read;
  std::function<void()> write;
};

// The rows of one filter list, edited one row at a time: the row editor
// checks every row before it goes into the list, so the list written is always
// one the file dialogs can use.
class TFrm_KervSetting::FilterEditor : public QGroupBox {
 public:
  FilterEditor(TFrm_KervSetting& owner, const TKervSettingField& field) : QGroupBox(QString::fromUtf8(field.label)),
                                                                          owner_(owner), field_(field) {
    auto* layout = new QVBoxLayout(this);
    list_ = new QTreeWidget(this);
    list_->setColumnCount(2);
    list_->setHeaderLabels({Text(TKervSettingMessage::FilterNameColumn),
                            Text(TKervSettingMessage::FilterDefinitionColumn)});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(list_);
    auto* edits = new QFormLayout();
    name_ = new QLineEdit(this);
    definition_ = new QLineEdit(this);
    edits->addRow(Text(TKervSettingMessage::FilterNameColumn), name_);
    edits->addRow(Text(TKervSettingMessage::FilterDefinitionColumn), definition_);
    layout->addLayout(edits);
    auto* buttons = new QHBoxLayout();
    auto addButton = [&](TKervSettingMessage caption, void (FilterEditor::*run)()) {
      auto* button = new QPushButton(Text(caption), this);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, [this, run] { (this->*run)(); });
      buttons->addWidget(button);
      return button;
    };
    addButton(TKervSettingMessage::FilterAddButton, &FilterEditor::AddRow);
    addButton(TKervSettingMessage::FilterChangeButton, &FilterEditor::ChangeRow);
    addButton(TKervSettingMessage::FilterDeleteButton, &FilterEditor::DeleteRow);
    addButton(TKervSettingMessage::FilterUpButton, &FilterEditor::MoveUp);
    addButton(TKervSettingMessage::FilterDownButton, &FilterEditor::MoveDown);
    buttons->addStretch();
    addButton(TKervSettingMessage::ResetFilterButton, &FilterEditor::ResetRows);
    layout->addLayout(buttons);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] {
      int row = CurrentRow();
      if (row < 0) return;
      name_->setText(owner_.FromSjis(rows_[static_cast<size_t>(row)].name));
      definition_->setText(owner_.FromSjis(rows_[static_cast<size_t>(row)].definition));
    });
  }

  void SetList(const std::string& list) {
    rows_ = ParseFilterList(list);
    Show(rows_.empty() ? -1 : 0);
  }
  // Unchanged rows keep their bytes: only a row the user edited is converted.
  std::string List() const { return BuildFilterList(rows_); }

  QLineEdit* NameEdit() const { return name_; }
  QLineEdit* DefinitionEdit() const { return definition_; }
  QTreeWidget* ListWidget() const { return list_; }
  const std::vector<TKervFilterRow>& Rows() const { return rows_; }

  void AddRow() {
    if (auto row = CheckedRow()) {
      rows_.push_back(*row);
      Show(static_cast<int>(rows_.size()) - 1);
    }
  }
  void ChangeRow() {
    int current = CurrentRow();
    if (current < 0) return;
    if (auto row = CheckedRow()) {
      rows_[static_cast<size_t>(current)] = *row;
      Show(current);
    }
  }

 private:
  int CurrentRow() const {
    QTreeWidgetItem* item = list_->currentItem();
    return item == nullptr ? -1 : list_->indexOfTopLevelItem(item);
  }

  void Show(int current) {
    list_->clear();
    for (const TKervFilterRow& row : rows_) {
      new QTreeWidgetItem(list_, {owner_.FromSjis(row.name), owner_.FromSjis(row.definition)});
    }
    if (current >= 0 && current < list_->topLevelItemCount()) list_->setCurrentItem(list_->topLevelItem(current));
  }

  // The row in the two edits, or nothing after the refusal was shown and the
  // field concerned marked.
  std::optional<TKervFilterRow> CheckedRow() {
    owner_.ClearMarks();
    TKervFilterRow row{owner_.ToSjis(name_->text()), owner_.ToSjis(definition_->text())};
    auto refusal = CheckFilterRow(row.name, row.definition);
    if (!refusal) return row;
    bool nameField = *refusal == TKervSettingMessage::FilterNameEmpty || *refusal == TKervSettingMessage::FilterNameHasBar;
    QLineEdit* edit = nameField ? name_ : definition_;
    owner_.information_.ShowError(SettingMessage(*refusal));
    owner_.Mark(edit);
    edit->setFocus();
    return std::nullopt;
  }

  void DeleteRow() {
    int current = CurrentRow();
    if (current < 0) return;
    rows_.erase(rows_.begin() + current);
    Show(std::min(current, static_cast<int>(rows_.size()) - 1));
  }
  void Move(int delta) {
    int current = CurrentRow();
    int target = current + delta;
    if (current < 0 || target < 0 || target >= static_cast<int>(rows_.size())) return;
    std::swap(rows_[static_cast<size_t>(current)], rows_[static_cast<size_t>(target)]);
    Show(target);
  }
  void MoveUp() { Move(-1); }
  void MoveDown() { Move(1); }
  void ResetRows() {
    bool open = std::string_view(field_.key) == "OpenDlgFilter";
    if (!owner_.information_.Confirm(SettingMessage(open ? TKervSettingMessage::ResetOpenFilterQuestion
                                                         : TKervSettingMessage::ResetSaveFilterQuestion))) {
      return;
    }
    SetList(open ? DefaultOpenDlgFilter() : DefaultSaveDlgFilter());
  }

  TFrm_KervSetting& owner_;
  const TKervSettingField& field_;
  QTreeWidget* list_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* definition_ = nullptr;
  std::vector<TKervFilterRow> rows_;
};

TFrm_KervSetting::TFrm_KervSetting(TKervSettingManager& manager, ICodePage& codePage, IKervInformation& information,
                                   QWidget* parent)
    : QDialog(parent), manager_(manager), codePage_(codePage), information_(information), copy_(manager.Copy()) {
  setWindowTitle(Text(TKervSettingMessage::DialogCaption));
  auto* layout = new QVBoxLayout(this);
  auto* body = new QHBoxLayout();
  pageList_ = new QListWidget(this);
  pageList_->setMaximumWidth(160);
  pageStack_ = new QStackedWidget(this);
  body->addWidget(pageList_);
  body->addWidget(pageStack_, 1);
  layout->addLayout(body, 1);

  applyOnlyBox_ = new QCheckBox(Text(TKervSettingMessage::ApplyWithoutSaving), this);
  layout->addWidget(applyOnlyBox_);
  auto* buttons = new QDialogButtonBox(this);
  okButton_ = buttons->addButton(Text(TKervSettingMessage::OkButton), QDialogButtonBox::AcceptRole);
  cancelButton_ = buttons->addButton(Text(TKervSettingMessage::CancelButton), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &TFrm_KervSetting::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TFrm_KervSetting::reject);
  layout->addWidget(buttons);

  BuildPages();
  connect(pageList_, &QListWidget::currentRowChanged, pageStack_, &QStackedWidget::setCurrentIndex);
  ReadControls();
  ShowPage(TKervSettingPage::File);
}

TFrm_KervSetting::~TFrm_KervSetting() = default;

QString TFrm_KervSetting::FromSjis(const std::string& text) const {
  return QString::fromStdU16String(codePage_.Cp932ToUtf16(text));
}

std::string TFrm_KervSetting::ToSjis(const QString& text) const {
  return codePage_.Utf16ToCp932(text.toStdU16String(), nullptr);
}

void TFrm_KervSetting::BuildPages() {
  for (const TKervSettingPageInfo& info : SettingPages()) {
    auto* page = new QWidget(pageStack_);
    auto* form = new QFormLayout(page);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    pages_.push_back(page);
    pageStack_->addWidget(page);
    pageList_->addItem(QString::fromUtf8(info.caption));
  }
  for (const TKervSettingField& field : SettingFields()) BuildField(field);
  toolListButton_ = new QPushButton(Text(TKervSettingMessage::ToolListButton), Page(TKervSettingPage::Tools));
  toolListButton_->setAutoDefault(false);
  connect(toolListButton_, &QPushButton::clicked, this, [this] { EditTools(); });
  PageLayout(TKervSettingPage::Tools)->addRow(toolListButton_);
  keyPage_ = new TKervKeySetPage(manager_.FileSystem(), codePage_, manager_.SettingFolder(), information_,
                                 copy_->KeySet().KeySet, Page(TKervSettingPage::Keys));
  PageLayout(TKervSettingPage::Keys)->addRow(keyPage_);
}

void TFrm_KervSetting::EditTools() {
  TFrm_AppList dialog(manager_.FileSystem(), codePage_, manager_.SettingFolder(), information_, this);
  if (!dialog.Loaded()) return;
  dialog.OnHelp = OnToolHelp;
  if (dialog.exec() == QDialog::Accepted) toolsChanged_ = true;
}

TKervFieldRef TFrm_KervSetting::FieldOf(const TKervSettingField& field) {
  const TKervSettingKey& key = FieldKey(field);
  return key.field(*copy_->Groups()[static_cast<size_t>(key.group)]);
}

void TFrm_KervSetting::BuildField(const TKervSettingField& field) {
  QWidget* page = Page(field.page);
  QFormLayout* form = PageLayout(field.page);
  const TKervSettingKey& key = FieldKey(field);
  QString label = QString::fromUtf8(field.label);
  auto control = std::make_unique<Control>();
  control->field = &field;

  switch (field.kind) {
    case TKervFieldKind::Check:
    case TKervFieldKind::NegatedCheck: {
      auto* box = new QCheckBox(label, page);
      form->addRow(box);
      bool negated = field.kind == TKervFieldKind::NegatedCheck;
      control->markable = box;
      control->read = [=, this] { box->setChecked((IntOf(FieldOf(field)) != 0) != negated); };
      control->write = [=, this] { SetInt(FieldOf(field), box->isChecked() != negated ? 1 : 0); };
      break;
    }
    case TKervFieldKind::Number: {
      auto* spin = new QSpinBox(page);
      if (key.HasRange()) {
        spin->setRange(key.minValue, key.maxValue);
      } else {
        spin->setRange(field.widgetMin, field.widgetMax);
      }
      form->addRow(label, spin);
      control->markable = spin;
      control->read = [=, this] { spin->setValue(IntOf(FieldOf(field))); };
      control->write = [=, this] { SetInt(FieldOf(field), spin->value()); };
      break;
    }
    case TKervFieldKind::Choice: {
      auto* combo = new QComboBox(page);
      for (const TKervChoice& choice : field.choices) combo->addItem(QString::fromUtf8(choice.label), choice.value);
      form->addRow(label, combo);
      control->markable = combo;
      control->read = [=, this] { combo->setCurrentIndex(combo->findData(IntOf(FieldOf(field)))); };
      // A value the list does not know stays as read until one is chosen.
      control->write = [=, this] {
        if (combo->currentIndex() >= 0) SetInt(FieldOf(field), combo->currentData().toInt());
      };
      break;
    }
    case TKervFieldKind::Radio: {
      auto* group = new QGroupBox(label, page);
      auto* groupLayout = new QVBoxLayout(group);
      auto* buttons = new QButtonGroup(group);
      for (const TKervChoice& choice : field.choices) {
        auto* radio = new QRadioButton(QString::fromUtf8(choice.label), group);
        buttons->addButton(radio, choice.value);
        groupLayout->addWidget(radio);
      }
      form->addRow(group);
      control->markable = group;
      control->read = [=, this] {
        // Unchecking one by one needs the group non-exclusive for a moment.
        buttons->setExclusive(false);
        for (QAbstractButton* button : buttons->buttons()) button->setChecked(false);
        buttons->setExclusive(true);
        if (QAbstractButton* button = buttons->button(IntOf(FieldOf(field)))) button->setChecked(true);
      };
      control->write = [=, this] {
        int checked = buttons->checkedId();
        SetInt(FieldOf(field), checked == -1 ? field.noneValue : checked);
      };
      break;
    }
    case TKervFieldKind::Text:
    case TKervFieldKind::FileName:
    case TKervFieldKind::Folder: {
      auto* edit = new QLineEdit(page);
      bool native = field.kind != TKervFieldKind::Text;
      QWidget* row = edit;
      if (field.kind == TKervFieldKind::Folder) {
        row = new QWidget(page);
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        edit->setParent(row);
        rowLayout->addWidget(edit, 1);
        auto* browse = new QPushButton(Text(TKervSettingMessage::BrowseButton), row);
        browse->setAutoDefault(false);
        rowLayout->addWidget(browse);
        connect(browse, &QPushButton::clicked, this, [=, this] {
          QString folder = QFileDialog::getExistingDirectory(this, label, edit->text());
          if (!folder.isEmpty()) edit->setText(folder.endsWith('/') ? folder : folder + '/');
        });
      }
      form->addRow(label, row);
      control->markable = edit;
      // Typing a correction takes the mark away.
      connect(edit, &QLineEdit::textEdited, this, [edit] {
        edit->setProperty(kMarkedProperty, false);
        edit->setStyleSheet(QString());
      });
      // The shown text and the bytes it came from: an untouched text keeps
      // its bytes, so no round trip through a conversion changes it.
      auto shown = std::make_shared<std::pair<QString, std::string>>();
      control->read = [=, this] {
        const std::string& bytes = TextOf(FieldOf(field));
        *shown = {native ? FromNative(codePage_, bytes) : FromSjis(bytes), bytes};
        edit->setText(shown->first);
      };
      control->write = [=, this] {
        if (edit->text() == shown->first) {
          TextOf(FieldOf(field)) = shown->second;
        } else {
          TextOf(FieldOf(field)) = native ? std::string(QFile::encodeName(edit->text()).toStdString())
                                          : ToSjis(edit->text());
        }
      };
      break;
    }
    case TKervFieldKind::Colour: {
      auto* button = new QPushButton(Text(TKervSettingMessage::ColourButton), page);
      button->setAutoDefault(false);
      auto value = std::make_shared<int>(0);
      connect(button, &QPushButton::clicked, this, [=, this] {
        QColor chosen = QColorDialog::getColor(ColourOf(*value), this, label);
        if (!chosen.isValid()) return;
        *value = BgrOf(chosen);
        ShowColour(button, *value);
      });
      form->addRow(label, button);
      control->markable = button;
      control->read = [=, this] {
        *value = IntOf(FieldOf(field));
        ShowColour(button, *value);
      };
      control->write = [=, this] { SetInt(FieldOf(field), *value); };
      break;
    }
    case TKervFieldKind::StyleBits: {
      auto* row = new QWidget(page);
      auto* rowLayout = new QHBoxLayout(row);
      rowLayout->setContentsMargins(0, 0, 0, 0);
      std::vector<std::pair<QCheckBox*, int>> boxes;
      for (const TKervChoice& choice : field.choices) {
        auto* box = new QCheckBox(QString::fromUtf8(choice.label), row);
        rowLayout->addWidget(box);
        boxes.emplace_back(box, choice.value);
      }
      rowLayout->addStretch();
      form->addRow(label, row);
      control->markable = row;
      control->read = [=, this] {
        int bits = IntOf(FieldOf(field));
        for (auto [box, bit] : boxes) box->setChecked((bits & bit) != 0);
      };
      control->write = [=, this] {
        int bits = 0;
        for (auto [box, bit] : boxes) bits |= box->isChecked() ? bit : 0;
        SetInt(FieldOf(field), bits);
      };
      break;
    }
    case TKervFieldKind::FilterList: {
      auto* editor = new FilterEditor(*this, field);
      editor->setParent(page);
      form->addRow(editor);
      control->markable = editor->ListWidget();
      control->read = [=, this] { editor->SetList(TextOf(FieldOf(field))); };
      control->write = [=, this] { TextOf(FieldOf(field)) = editor->List(); };
      break;
    }
  }
  controls_.push_back(std::move(control));
}

void TFrm_KervSetting::ReadControls() {
  for (const auto& control : controls_) control->read();
}

void TFrm_KervSetting::WriteControls() {
  for (const auto& control : controls_) control->write();
}

QWidget* TFrm_KervSetting::Page(TKervSettingPage page) const { return pages_[static_cast<size_t>(page)]; }

QFormLayout* TFrm_KervSetting::PageLayout(TKervSettingPage page) const {
  return static_cast<QFormLayout*>(Page(page)->layout());
}

void TFrm_KervSetting::ShowPage(TKervSettingPage page) { pageList_->setCurrentRow(static_cast<int>(page)); }

TKervSettingPage TFrm_KervSetting::CurrentPage() const {
  return static_cast<TKervSettingPage>(pageStack_->currentIndex());
}

QWidget* TFrm_KervSetting::FieldWidget(std::string_view section, std::string_view key) const {
  const TKervSettingField* field = FindSettingField(section, key);
  for (const auto& control : controls_) {
    if (control->field == field) return control->markable;
  }
  return nullptr;
}

bool TFrm_KervSetting::IsMarked(const QWidget* widget) {
  return widget != nullptr && widget->property(kMarkedProperty).toBool();
}

void TFrm_KervSetting::Mark(QWidget* widget) {
  widget->setProperty(kMarkedProperty, true);
  widget->setStyleSheet(QStringLiteral("background-color: yellow;"));
}

void TFrm_KervSetting::ClearMarks() {
  for (QWidget* widget : findChildren<QWidget*>()) {
    if (!IsMarked(widget)) continue;
    widget->setProperty(kMarkedProperty, false);
    widget->setStyleSheet(QString());
  }
}

bool TFrm_KervSetting::ApplyWithoutSaving() const { return applyOnlyBox_->isChecked(); }

void TFrm_KervSetting::accept() {
  // No exception may leave a Qt event handler: every failure is shown here.
  try {
    ClearMarks();
    WriteControls();
    if (auto problem = CheckSettingsBeforeOk(copy_->Backup(), copy_->ToolLauncher(), copy_->FileDialog(),
                                             manager_.FileSystem())) {
      information_.ShowError(SettingMessage(problem->message));
      const TKervSettingField* field = FindSettingField(problem->key->section, problem->key->key);
      if (field != nullptr) ShowPage(field->page);
      QWidget* widget = FieldWidget(problem->key->section, problem->key->key);
      if (widget != nullptr) {
        Mark(widget);
        widget->setFocus();
      }
      return;
    }
    // The key sets are written before the settings that name the active one.
    {
      TKervIniAccess access(manager_);
      for (const std::string& message : keyPage_->Save()) information_.ShowError(message);
    }
    copy_->KeySet().KeySet = keyPage_->ChosenName();
    manager_.AssignDialogGroups(*copy_);
    valuesTaken_ = true;
    // A failed write leaves the values in use but not stored, and the dialog open.
    manager_.AcceptDialog(ApplyWithoutSaving());
  } catch (const std::exception& error) {
    information_.ShowError(error.what());
    return;
  }
  QDialog::accept();
}

}  // namespace kerv
