#include "app/dialogs/TQtCollator.h"

#include <QLocale>
#include <algorithm>
#include <numeric>

#include "app/dialogs/TKervFormatDialogsText.h"

namespace kerv {

TQtCollator::TQtCollator(ICodePage& codePage)
    : codePage_(codePage), collator_(QLocale(QLocale::Japanese, QLocale::Japan)) {
  collator_.setCaseSensitivity(Qt::CaseInsensitive);
  collator_.setNumericMode(false);
  collator_.setIgnorePunctuation(false);
}

int TQtCollator::Compare(std::string_view a, std::string_view b) const {
  return collator_.compare(SjisToQString(codePage_, a), SjisToQString(codePage_, b));
}

bool TQtCollator::SortOrder(std::span<const std::string_view> lines, bool descending, std::vector<size_t>& order) const {
  // One conversion for all lines: LF is never part of a double-byte
  // character, so the converted text splits back into the same lines.
  std::string joined;
  size_t bytes = 0;
  for (std::string_view line : lines) bytes += line.size() + 1;
  joined.reserve(bytes);
  for (std::string_view line : lines) {
    joined += line;
    joined += '\n';
  }
  const QString all = SjisToQString(codePage_, joined);
  std::vector<QCollatorSortKey> keys;
  keys.reserve(lines.size());
  qsizetype begin = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    qsizetype end = all.indexOf(QChar(u'\n'), begin);
    if (end < 0) return false;
    keys.push_back(collator_.sortKey(all.mid(begin, end - begin)));
    begin = end + 1;
  }
  order.resize(lines.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return descending ? keys[b].compare(keys[a]) < 0 : keys[a].compare(keys[b]) < 0;
  });
  return true;
}

}  // namespace kerv
