#include "app/image/TQtVuvEChoosers.h"

#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGuiApplication>
#include <QImage>
#include <vector>

#include "image/qt/TVuvERenderer.h"
#include "platform/FileDialogs.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtText.h"

namespace kerv {
namespace {

std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

// "name|pattern;pattern|name|pattern" as the file dialogs' filter list; the
// extension a name typed without one receives is the first pattern's.
std::vector<TFileFilter> ParseFilter(const std::string& filter) {
  std::vector<TFileFilter> filters;
  size_t start = 0;
  std::vector<std::string> parts;
  for (;;) {
    const size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    TFileFilter entry;
    entry.name = parts[i];
    size_t from = 0;
    for (;;) {
      const size_t semicolon = parts[i + 1].find(';', from);
      entry.patterns.push_back(
          parts[i + 1].substr(from, semicolon == std::string::npos ? std::string::npos : semicolon - from));
      if (semicolon == std::string::npos) break;
      from = semicolon + 1;
    }
    const std::string& first = entry.patterns.front();
    if (first.rfind("*.", 0) == 0 && first.find_first_of("*?", 2) == std::string::npos)
      entry.extension = first.substr(1);
    filters.push_back(std::move(entry));
  }
  return filters;
}

}  // namespace

std::optional<std::string> TQtVuvEChoosers::OpenFile(const std::string& filter, const std::string& initialPath) {
  QFileDialog dialog(owner_);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(QtFileDialogs::NameFilters(ParseFilter(filter)));
  if (!initialPath.empty()) {
    const QFileInfo initial(Utf8(initialPath));
    dialog.setDirectory(initial.isDir() ? initial.absoluteFilePath() : initial.absolutePath());
    if (initial.isFile()) dialog.selectFile(initial.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ToUtf8(dialog.selectedFiles().first());
}

std::optional<std::string> TQtVuvEChoosers::SaveFile(const std::string& filter, int& filterIndex,
                                                     const std::string& defaultExtension) {
  const std::vector<TFileFilter> filters = ParseFilter(filter);
  const QStringList names = QtFileDialogs::NameFilters(filters);
  QFileDialog dialog(owner_);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(names);
  // A name typed without extension takes the chosen type's, also for the
  // dialog's own question about replacing a file.
  int chosen = filterIndex >= 0 && filterIndex < names.size() ? filterIndex : 0;
  auto applySuffix = [&](int index) {
    const std::string& extension =
        index < static_cast<int>(filters.size()) ? filters[static_cast<size_t>(index)].extension : std::string();
    dialog.setDefaultSuffix(extension.empty() ? Utf8(defaultExtension) : Utf8(extension.substr(1)));
  };
  if (!names.isEmpty()) dialog.selectNameFilter(names[chosen]);
  applySuffix(chosen);
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& selected) {
    const int index = static_cast<int>(names.indexOf(selected));
    if (index < 0) return;
    chosen = index;
    applySuffix(index);
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  filterIndex = chosen;
  return ToUtf8(dialog.selectedFiles().first());
}

std::optional<std::string> TQtVuvEChoosers::ChooseFolder(const std::string& prompt, const std::string& initialFolder) {
  const QString folder = QFileDialog::getExistingDirectory(
      owner_, Utf8(prompt), Utf8(initialFolder), QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  if (folder.isEmpty()) return std::nullopt;
  return ToUtf8(folder);
}

std::optional<TColor> TQtVuvEChoosers::ChooseColor(TColor current) {
  const QColor chosen =
      QColorDialog::getColor(VuvEQColor(current), owner_, QString(), QColorDialog::DontUseNativeDialog);
  if (!chosen.isValid()) return std::nullopt;
  return TRgb{static_cast<uint8_t>(chosen.red()), static_cast<uint8_t>(chosen.green()),
              static_cast<uint8_t>(chosen.blue())}
      .ToColor();
}

std::optional<TVuvEFont> TQtVuvEChoosers::ChooseFont(const TVuvEFont& current) {
  QFont initial(SjisToQString(codePage_, current.Name));
  initial.setPointSize(std::max(1, current.Size));
  initial.setBold(current.Bold);
  initial.setItalic(current.Italic);
  initial.setUnderline(current.UnderLine);
  initial.setStrikeOut(current.StrikeOut);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, initial, owner_, QString(), QFontDialog::DontUseNativeDialog);
  if (!ok) return std::nullopt;
  TVuvEFont font = current;
  font.Name = QStringToSjis(codePage_, chosen.family());
  font.Size = std::clamp(chosen.pointSize() > 0 ? chosen.pointSize() : current.Size, TVuvESettings::kMinFontSize,
                         TVuvESettings::kMaxFontSize);
  font.Bold = chosen.bold();
  font.Italic = chosen.italic();
  font.UnderLine = chosen.underline();
  font.StrikeOut = chosen.strikeOut();
  return font;
}

void TQtVuvEChoosers::CopyImage(const QImage& image) { QGuiApplication::clipboard()->setImage(image); }

}  // namespace kerv
