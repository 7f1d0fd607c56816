#include "app/dialogs/TFrmAddApp.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/commands/TKervInformation.h"
#include "app/dialogs/TKeyCaptureEdit.h"
#include "platform/qt/QtText.h"
#include "tools/TKervToolLauncher.h"
#include "tools/ToolMessages.h"

namespace kerv {
namespace {

QString Text(TToolMessage id) { return QString::fromUtf8(ToolMessage(id)); }

const char* const kMarkedProperty = "kervMarked";
// The field lengths kervtool.ini's reader was made for.
constexpr int kMaxName = 255;
constexpr int kMaxPath = 2048;
constexpr int kMaxOption = 1024;

// The filter list "caption|patterns|..." as the desktop's dialog takes it.
// "*.*" means every file, as it does where the list comes from; here a name
// needs no dot.
QStringList DialogFilters(const char* list) {
  const QStringList parts = QString::fromUtf8(list).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
    filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return filters;
}

QString FromNative(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

}  // namespace

TFrm_AddApp::TFrm_AddApp(IFileSystem& fs, ICodePage& codePage, IKervInformation& information,
                         const TToolLauncherItem* item, QWidget* parent)
    : QDialog(parent), fs_(fs), codePage_(codePage), information_(information) {
  setObjectName(QStringLiteral("TFrm_AddApp"));
  setWindowTitle(Text(TToolMessage::EditorCaption));
  if (item != nullptr) original_ = *item;
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout();

  auto* pathRow = new QHBoxLayout();
  Edt_Path = new QLineEdit(this);
  Edt_Path->setObjectName(QStringLiteral("Edt_Path"));
  Edt_Path->setMaxLength(kMaxPath);
  Btn_ChangePath = new QPushButton(Text(TToolMessage::ChangePathButton), this);
  Btn_ChangePath->setAutoDefault(false);
  connect(Btn_ChangePath, &QPushButton::clicked, this, [this] { Browse(); });
  pathRow->addWidget(Edt_Path, 1);
  pathRow->addWidget(Btn_ChangePath);
  // A row whose field is a layout gets its label's buddy by hand, or the mnemonic shows as "&".
  auto labelFor = [this](TToolMessage caption, QWidget* buddy) {
    auto* label = new QLabel(Text(caption), this);
    label->setBuddy(buddy);
    return label;
  };
  form->addRow(labelFor(TToolMessage::PathLabel, Edt_Path), pathRow);

  Edt_Name = new QLineEdit(this);
  Edt_Name->setObjectName(QStringLiteral("Edt_Name"));
  Edt_Name->setMaxLength(kMaxName);
  form->addRow(Text(TToolMessage::NameLabel), Edt_Name);

  HtKy_ShortCut = new TKeyCaptureEdit(this);
  HtKy_ShortCut->setObjectName(QStringLiteral("HtKy_ShortCut"));
  HtKy_ShortCut->SetClearKeys(true);
  form->addRow(Text(TToolMessage::ShortcutLabel), HtKy_ShortCut);

  auto* optionRow = new QHBoxLayout();
  Edt_Option = new QLineEdit(this);
  Edt_Option->setObjectName(QStringLiteral("Edt_Option"));
  Edt_Option->setMaxLength(kMaxOption);
  Btn_Special = new QPushButton(Text(TToolMessage::SpecialButton), this);
  Btn_Special->setAutoDefault(false);
  PMnu_Special = new QMenu(this);
  PMnu_Special->setObjectName(QStringLiteral("PMnu_Special"));
  const auto placeholders = ToolPlaceholderMenu();
  for (size_t i = 0; i < placeholders.size(); ++i) {
    QAction* entry = PMnu_Special->addAction(Utf8(ToolPlaceholderCaption(placeholders[i])));
    const int index = static_cast<int>(i);
    connect(entry, &QAction::triggered, this, [this, index] { InsertPlaceholder(index); });
    if (i == 2) PMnu_Special->addSeparator();
  }
  connect(Btn_Special, &QPushButton::clicked, this,
          [this] { PMnu_Special->popup(Btn_Special->mapToGlobal(QPoint(0, Btn_Special->height()))); });
  optionRow->addWidget(Edt_Option, 1);
  optionRow->addWidget(Btn_Special);
  form->addRow(labelFor(TToolMessage::OptionLabel, Edt_Option), optionRow);
  layout->addLayout(form);

  Chk_SaveFile = new QCheckBox(Text(TToolMessage::SaveFirstCheck), this);
  layout->addWidget(Chk_SaveFile);

  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  Btn_OK = new QPushButton(Text(TToolMessage::OkButton), this);
  Btn_OK->setDefault(true);
  Btn_Cancel = new QPushButton(Text(TToolMessage::CancelButton), this);
  Btn_Help = new QPushButton(Text(TToolMessage::HelpButton), this);
  Btn_Cancel->setAutoDefault(false);
  Btn_Help->setAutoDefault(false);
  connect(Btn_OK, &QPushButton::clicked, this, &TFrm_AddApp::accept);
  connect(Btn_Cancel, &QPushButton::clicked, this, &TFrm_AddApp::reject);
  connect(Btn_Help, &QPushButton::clicked, this, [this] {
    if (OnHelp) OnHelp();
  });
  for (QPushButton* button : {Btn_OK, Btn_Cancel, Btn_Help}) buttons->addWidget(button);
  layout->addLayout(buttons);

  shownName_ = Utf8(TKervToolLauncher::NativeText(codePage_, original_.name));
  shownPath_ = FromNative(TKervToolLauncher::NativeText(codePage_, original_.path));
  shownOption_ = Utf8(TKervToolLauncher::NativeText(codePage_, original_.option));
  Edt_Name->setText(shownName_);
  Edt_Path->setText(shownPath_);
  Edt_Option->setText(shownOption_);
  HtKy_ShortCut->SetSlot(SlotOfShortcut(original_.shortCut));
  Chk_SaveFile->setChecked(original_.saveFile);
  resize(520, sizeHint().height());
}

TFrm_AddApp::~TFrm_AddApp() = default;

void TFrm_AddApp::InsertPlaceholder(int index) {
  const auto placeholders = ToolPlaceholderMenu();
  if (index < 0 || static_cast<size_t>(index) >= placeholders.size()) return;
  Edt_Option->setText(Edt_Option->text() + Utf8(ToolPlaceholderInsertion(placeholders[static_cast<size_t>(index)])));
}

void TFrm_AddApp::Browse() {
  QString chosen;
  if (ChooseProgram) {
    chosen = ChooseProgram(Edt_Path->text());
  } else {
    const QStringList filters = DialogFilters(ToolMessage(TToolMessage::ProgramFilter));
    // Programs here have no ".exe": every file is what a user looks through.
    QString selected = filters.value(1, filters.value(0));
    chosen = QFileDialog::getOpenFileName(this, QString(), Edt_Path->text(), filters.join(QStringLiteral(";;")),
                                          &selected);
  }
  if (!chosen.isEmpty()) Edt_Path->setText(chosen);
}

std::string TFrm_AddApp::NameBytes() const {
  if (Edt_Name->text() == shownName_) return original_.name;
  // kervtool.ini keeps names in Shift_JIS; a name it cannot hold stays UTF-8.
  ConversionReport report;
  const QString text = Edt_Name->text();
  std::string sjis = codePage_.Utf16ToCp932(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())), &report);
  return report.replaced == 0 ? sjis : text.toStdString();
}

std::string TFrm_AddApp::PathBytes() const {
  if (Edt_Path->text() == shownPath_) return original_.path;
  return QFile::encodeName(Edt_Path->text()).toStdString();
}

std::string TFrm_AddApp::OptionBytes() const {
  if (Edt_Option->text() == shownOption_) return original_.option;
  return Edt_Option->text().toStdString();
}

std::optional<TToolLauncherItem> TFrm_AddApp::Result() const {
  if (result() != QDialog::Accepted) return std::nullopt;
  TToolLauncherItem item;
  item.name = NameBytes();
  item.path = PathBytes();
  item.option = OptionBytes();
  const std::optional<TKeySlot> slot = HtKy_ShortCut->Slot();
  item.shortCut = slot ? ShortcutOfSlot(*slot) : 0;
  item.saveFile = Chk_SaveFile->isChecked();
  return item;
}

bool TFrm_AddApp::IsMarked(const QWidget* field) {
  return field != nullptr && field->property(kMarkedProperty).toBool();
}

void TFrm_AddApp::Mark(QWidget* field) {
  field->setProperty(kMarkedProperty, true);
  field->setStyleSheet(QStringLiteral("background-color: rgb(255, 255, 128); color: black;"));
  field->setFocus();
}

void TFrm_AddApp::Unmark(QWidget* field) {
  field->setProperty(kMarkedProperty, false);
  field->setStyleSheet(QString());
}

void TFrm_AddApp::accept() {
  Unmark(Edt_Name);
  Unmark(Edt_Path);
  const std::string nativePath = TKervToolLauncher::NativeText(codePage_, PathBytes());
  const TToolEntryProblem problem = CheckToolEntry(fs_, NameBytes(), nativePath);
  if (problem != TToolEntryProblem::None) {
    information_.ShowError(ToolEntryProblemMessage(problem, nativePath));
    Mark(problem == TToolEntryProblem::EmptyName ? Edt_Name : Edt_Path);
    return;
  }
  QDialog::accept();
}

void TFrm_AddApp::reject() {
  // The caller takes an empty path as "no change".
  Edt_Path->clear();
  QDialog::reject();
}

}  // namespace kerv
