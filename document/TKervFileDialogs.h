#pragma once
// The rules of the document file dialogs that do not depend on the platform:
// the filter lists of the settings ("name|*.a;*.b|..."), the filter a save
// dialog starts with, the extension a picked filter gives a bare name, the
// code lists and their entries, and the checks of the settings dialog's
// filter rows.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/CharCode.h"
#include "document/DocumentMessages.h"
#include "platform/FileDialogs.h"

namespace kerv {

class ICodePage;

// One row of the settings dialog's filter table.
struct TFilterRow {
  std::string name;
  std::string definition;  // "*.a;*.b"
  bool operator==(const TFilterRow&) const = default;
};

// Name and definition pairs of a filter list: a final "|" is added when
// missing; the fields 2i and 2i + 1 make row i. A dangling name is dropped.
std::vector<TFilterRow> FilterRows(std::string_view list);
// The rows as a filter list, "|" after every field.
std::string FilterListText(const std::vector<TFilterRow>& rows);
// Why the settings dialog refuses a row, or nothing.
std::optional<TDocumentMessage> CheckFilterRow(const TFilterRow& row);

// The pattern list taken as one name, from its last dot on ("*.htm;*.html"
// gives ".html"); ".*" and a list without a dot give none.
std::string FilterExtension(std::string_view definition);
// A filter list for the dialogs: names converted from Shift_JIS, patterns
// split at ";", each filter's extension filled in.
std::vector<TFileFilter> DialogFilters(std::string_view list, ICodePage& codePage);
// The save dialog's first filter for fileName: without an extension the
// first with a "*.*" pattern, otherwise the first with a pattern of exactly
// that extension (case-sensitive); else 0.
int InitialSaveFilter(const std::vector<TFileFilter>& filters, const std::string& fileName);
// The name a save dialog returned: a name typed without an extension gets the
// picked filter's extension when the user picked one.
std::string SaveDialogFileName(const TSaveDialogResult& result, const std::vector<TFileFilter>& filters);

// The code lists. Open: "自動判別" and the seven codes (entry 0 detects);
// save: the seven codes preset from charCode (others preset entry 0); return
// codes CRLF, LF, CR preset from returnCode.
TDialogChoice OpenCodeChoice();
TDialogChoice SaveCodeChoice(TCharCode charCode);
TDialogChoice ReturnCodeChoice(TReturnCode returnCode);
TCharCode OpenCodeAt(int index);
TCharCode SaveCodeAt(int index);
TReturnCode ReturnCodeAt(int index);

}  // namespace kerv
