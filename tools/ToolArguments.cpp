#include "tools/ToolArguments.h"

namespace kerv {
namespace {

enum class TPlaceholder { None, FilePath, FileName, Folder, TempPath, TempName, TempFolder };

// The placeholder starting at text[at] (a '%') and its length.
TPlaceholder PlaceholderAt(std::string_view text, size_t at, size_t& length) {
  const std::string_view rest = text.substr(at);
  struct Known {
    std::string_view token;
    TPlaceholder kind;
  };
  // The longer "%t…" forms come first so that "%tf" is never read as "%t" and "f".
  static constexpr Known kKnown[] = {
      {"%tf", TPlaceholder::TempPath}, {"%tn", TPlaceholder::TempName}, {"%td", TPlaceholder::TempFolder},
      {"%f", TPlaceholder::FilePath},  {"%n", TPlaceholder::FileName},  {"%d", TPlaceholder::Folder},
  };
  for (const Known& known : kKnown) {
    if (rest.starts_with(known.token)) {
      length = known.token.size();
      return known.kind;
    }
  }
  length = 1;
  return TPlaceholder::None;
}

const std::string& ValueOf(TPlaceholder kind, const TToolPlaceholderValues& values) {
  switch (kind) {
    case TPlaceholder::FilePath:
      return values.filePath;
    case TPlaceholder::FileName:
      return values.fileName;
    case TPlaceholder::Folder:
      return values.folder;
    case TPlaceholder::TempPath:
      return values.tempPath;
    case TPlaceholder::TempName:
      return values.tempName;
    case TPlaceholder::TempFolder:
    case TPlaceholder::None:
      break;
  }
  return values.tempFolder;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

TToolPlaceholderValues DocumentPlaceholders(const std::string& documentPath) {
  TToolPlaceholderValues values;
  values.filePath = documentPath;
  if (documentPath.empty()) return values;
  const size_t slash = documentPath.rfind('/');
  if (slash == std::string::npos) {
    values.fileName = documentPath;
    return values;
  }
  values.fileName = documentPath.substr(slash + 1);
  values.folder = slash == 0 ? std::string("/") : documentPath.substr(0, slash);
  return values;
}

std::vector<TToolArgumentTemplate> SplitToolOptions(std::string_view options) {
  std::vector<TToolArgumentTemplate> arguments;
  TToolArgumentTemplate current;
  bool inArgument = false;
  bool inQuotes = false;
  for (char c : options) {
    if (c == '"') {
      inQuotes = !inQuotes;
      current.quoted = true;
      inArgument = true;
    } else if (IsBlank(c) && !inQuotes) {
      if (inArgument) arguments.push_back(std::move(current));
      current = {};
      inArgument = false;
    } else {
      current.text.push_back(c);
      inArgument = true;
    }
  }
  // An unclosed quote groups everything up to the end.
  if (inArgument) arguments.push_back(std::move(current));
  return arguments;
}

std::string ExpandToolPlaceholders(std::string_view text, const TToolPlaceholderValues& values) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    if (text[at] != '%') {
      out.push_back(text[at++]);
      continue;
    }
    size_t length = 0;
    const TPlaceholder kind = PlaceholderAt(text, at, length);
    if (kind == TPlaceholder::None) {
      out.push_back('%');
    } else {
      out += ValueOf(kind, values);
    }
    at += length;
  }
  return out;
}

bool UsesToolTempFile(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    if (text[at] != '%') {
      ++at;
      continue;
    }
    size_t length = 0;
    const TPlaceholder kind = PlaceholderAt(text, at, length);
    if (kind == TPlaceholder::TempPath || kind == TPlaceholder::TempName || kind == TPlaceholder::TempFolder) {
      return true;
    }
    at += length;
  }
  return false;
}

std::vector<std::string> BuildToolArguments(std::string_view options, const TToolPlaceholderValues& values) {
  return BuildToolArguments(SplitToolOptions(options), values);
}

std::vector<std::string> BuildToolArguments(const std::vector<TToolArgumentTemplate>& templates,
                                            const TToolPlaceholderValues& values) {
  std::vector<std::string> arguments;
  for (const TToolArgumentTemplate& argument : templates) {
    std::string expanded = ExpandToolPlaceholders(argument.text, values);
    if (expanded.empty() && !argument.quoted) continue;
    arguments.push_back(std::move(expanded));
  }
  return arguments;
}

}  // namespace kerv
