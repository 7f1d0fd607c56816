#include "document/TKervFileDialogs.h"

#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace kerv {
namespace {

constexpr const char* kOpenCodes[] = {"自動判別", "Shift-JIS", "JIS", "EUC", "Unicode", "Unicode(Big-Endian)", "UTF-8", "UTF-8N"};
constexpr const char* kSaveCodes[] = {"Shift-JIS", "JIS", "EUC", "Unicode", "Unicode(BigEndian)", "UTF-8", "UTF-8N"};
constexpr const char* kReturnCodes[] = {"CRLF (Windows)", "LF (UNIX)", "CR (Mac)"};

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(separator, start);
    parts.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

template <size_t N>
TDialogChoice Choice(TDocumentMessage label, const char* const (&items)[N], int index) {
  TDialogChoice choice;
  choice.label = DocumentMessage(label);
  choice.items.assign(items, items + N);
  choice.index = index >= 0 && index < static_cast<int>(N) ? index : 0;
  return choice;
}

}  // namespace

std::vector<TFilterRow> FilterRows(std::string_view list) {
  std::string text(list);
  if (text.empty() || text.back() != '|') text += '|';
  std::vector<std::string> fields = Split(text, '|');
  fields.pop_back();  // what follows the final "|"
  std::vector<TFilterRow> rows;
  for (size_t i = 0; i + 1 < fields.size(); i += 2) rows.push_back({fields[i], fields[i + 1]});
  return rows;
}

std::string FilterListText(const std::vector<TFilterRow>& rows) {
  std::string text;
  for (const TFilterRow& row : rows) text += row.name + "|" + row.definition + "|";
  return text;
}

std::optional<TDocumentMessage> CheckFilterRow(const TFilterRow& row) {
  if (row.name.empty()) return TDocumentMessage::FilterNameEmpty;
  if (row.definition.empty()) return TDocumentMessage::FilterDefinitionEmpty;
  if (row.name.find('|') != std::string::npos) return TDocumentMessage::FilterNameBar;
  for (const std::string& pattern : Split(row.definition, ';')) {
    // The raw text after the last dot: a slash there is refused, not taken for a folder.
    size_t dot = pattern.rfind('.');
    if (dot != std::string::npos && pattern.find_first_of("\\/,;\"<>|?", dot + 1) != std::string::npos) {
      return TDocumentMessage::FilterBadExtension;
    }
  }
  return std::nullopt;
}

std::string FilterExtension(std::string_view definition) {
  std::string extension = ExtractFileExt(std::string(definition));
  return extension == ".*" ? std::string() : extension;
}

std::vector<TFileFilter> DialogFilters(std::string_view list, ICodePage& codePage) {
  std::vector<TFileFilter> filters;
  for (const TFilterRow& row : FilterRows(list)) {
    TFileFilter filter;
    filter.name = codePage.Cp932ToUtf8(row.name);
    filter.patterns = Split(row.definition, ';');
    filter.extension = FilterExtension(row.definition);
    filters.push_back(std::move(filter));
  }
  return filters;
}

int InitialSaveFilter(const std::vector<TFileFilter>& filters, const std::string& fileName) {
  const std::string extension = ExtractFileExt(fileName);
  for (size_t i = 0; i < filters.size(); ++i) {
    for (const std::string& pattern : filters[i].patterns) {
      bool match = extension.empty() ? pattern == "*.*" : ExtractFileExt(pattern) == extension;
      if (match) return static_cast<int>(i);
    }
  }
  return 0;
}

std::string SaveDialogFileName(const TSaveDialogResult& result, const std::vector<TFileFilter>& filters) {
  if (!result.filterChanged || !ExtractFileExt(result.fileName).empty()) return result.fileName;
  if (result.filterIndex < 0 || result.filterIndex >= static_cast<int>(filters.size())) return result.fileName;
  return result.fileName + filters[static_cast<size_t>(result.filterIndex)].extension;
}

TDialogChoice OpenCodeChoice() { return Choice(TDocumentMessage::OpenCodeLabel, kOpenCodes, 0); }

TDialogChoice SaveCodeChoice(TCharCode charCode) {
  return Choice(TDocumentMessage::SaveCodeLabel, kSaveCodes, static_cast<int>(charCode) - 1);
}

TDialogChoice ReturnCodeChoice(TReturnCode returnCode) {
  return Choice(TDocumentMessage::ReturnCodeLabel, kReturnCodes, static_cast<int>(returnCode) - 1);
}

TCharCode OpenCodeAt(int index) {
  return index >= 1 && index <= 7 ? static_cast<TCharCode>(index) : ccAuto;
}

TCharCode SaveCodeAt(int index) {
  return index >= 0 && index < 7 ? static_cast<TCharCode>(index + 1) : ccShiftJIS;
}

TReturnCode ReturnCodeAt(int index) {
  return index >= 0 && index < 3 ? static_cast<TReturnCode>(index + 1) : rcCRLF;
}

}  // namespace kerv
