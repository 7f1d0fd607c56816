#include "platform/qt/QtFileDialogs.h"

#include "platform/qt/QtText.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>

namespace kerv {
namespace {


std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

// Adds a labelled list in a new row of the dialog's grid; the non-native
// dialog's layout is a grid whose last rows hold the name and file-type rows.
QComboBox* AddChoice(QFileDialog& dialog, const TDialogChoice& choice) {
  auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
  auto* label = new QLabel(Utf8(choice.label), &dialog);
  auto* combo = new QComboBox(&dialog);
  for (const std::string& item : choice.items) combo->addItem(Utf8(item));
  if (choice.index >= 0 && choice.index < combo->count()) combo->setCurrentIndex(choice.index);
  label->setBuddy(combo);
  if (grid != nullptr) {
    int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(combo, row, 1);
  } else if (dialog.layout() != nullptr) {
    dialog.layout()->addWidget(label);
    dialog.layout()->addWidget(combo);
  }
  return combo;
}

void Prepare(QFileDialog& dialog, const std::vector<TFileFilter>& filters, const std::string& folder, bool placesBar) {
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  QStringList names = QtFileDialogs::NameFilters(filters);
  if (!names.isEmpty()) dialog.setNameFilters(names);
  if (!folder.empty()) dialog.setDirectory(Utf8(folder));
  if (!placesBar) dialog.setSidebarUrls({});
}

}  // namespace

QStringList QtFileDialogs::NameFilters(const std::vector<TFileFilter>& filters) {
  QStringList names;
  for (const TFileFilter& filter : filters) {
    QStringList patterns;
    for (const std::string& pattern : filter.patterns) patterns << Utf8(pattern);
    names << Utf8(filter.name) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return names;
}

std::optional<TOpenDialogResult> QtFileDialogs::OpenFile(const TOpenDialogRequest& request) {
  QFileDialog dialog(owner_);
  Prepare(dialog, request.filters, request.initialFolder, request.placesBar);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  QComboBox* code = AddChoice(dialog, request.code);
  QCheckBox* readOnly = nullptr;
  if (request.showReadOnly) {
    readOnly = new QCheckBox(Utf8(request.readOnlyLabel), &dialog);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) grid->addWidget(readOnly, grid->rowCount(), 1);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  TOpenDialogResult result;
  result.fileName = ToUtf8(dialog.selectedFiles().first());
  result.codeIndex = code->currentIndex();
  result.readOnly = readOnly != nullptr && readOnly->isChecked();
  return result;
}

std::optional<TSaveDialogResult> QtFileDialogs::SaveFile(const TSaveDialogRequest& request) {
  QFileDialog dialog(owner_);
  Prepare(dialog, request.filters, request.initialFolder, request.placesBar);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  QStringList names = NameFilters(request.filters);
  if (request.filterIndex >= 0 && request.filterIndex < names.size()) dialog.selectNameFilter(names[request.filterIndex]);
  if (!request.fileName.empty()) dialog.selectFile(Utf8(request.fileName));
  QComboBox* code = AddChoice(dialog, request.code);
  QComboBox* returnCode = AddChoice(dialog, request.returnCode);

  // Picking a filter gives a name typed without extension that filter's
  // extension, also for the dialog's own question about replacing a file.
  TSaveDialogResult result;
  result.filterIndex = request.filterIndex;
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& selected) {
    int index = static_cast<int>(names.indexOf(selected));
    if (index < 0) return;
    result.filterIndex = index;
    result.filterChanged = true;
    const std::string& extension = request.filters[static_cast<size_t>(index)].extension;
    dialog.setDefaultSuffix(extension.empty() ? QString() : Utf8(extension.substr(1)));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  result.fileName = ToUtf8(dialog.selectedFiles().first());
  result.codeIndex = code->currentIndex();
  result.returnCodeIndex = returnCode->currentIndex();
  return result;
}

}  // namespace kerv
