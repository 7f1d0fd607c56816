#include "format/TTypeFormatOptions.h"

#include "format/TCharTables.h"

namespace kerv {

char SymbolOfTag(int tag) {
  if (tag < 1 || tag > kSymbolTagCount) return 0;
  // The dialog lays ">" before "=": its tags swap the two.
  if (tag == 19) tag = 20;
  else if (tag == 20) tag = 19;
  return static_cast<char>(TCharTables::Get().symbolHalf[static_cast<size_t>(tag - 1)]);
}

std::string SymbolsOfTags(std::span<const int> tags) {
  std::string symbols;
  for (int tag : tags) {
    if (char symbol = SymbolOfTag(tag); symbol != 0) symbols += symbol;
  }
  return symbols;
}

std::string ApplyTypeFormat(std::string_view text, const TTypeFormatOptions& options) {
  if (!options.HasWork()) return std::string(text);
  switch (options.action) {
    case TTypeFormatAction::HanToZen: return TStringFormatter::ToZenkakuByType(text, options.symbols, options.flags);
    case TTypeFormatAction::ZenToHan: return TStringFormatter::ToHankakuByType(text, options.symbols, options.flags);
    case TTypeFormatAction::Delete: return TStringFormatter::DeleteByType(text, options.symbols, options.flags);
  }
  return std::string(text);
}

}  // namespace kerv
