#pragma once
// What the type-format dialog yields, and the one call that applies it.

#include <span>
#include <string>
#include <string_view>

#include "format/TStringFormatter.h"

namespace kerv {

enum class TTypeFormatAction {
  HanToZen,  // RB_HanToZen "半角→全角(&Z)", chosen when the dialog opens
  ZenToHan,  // RB_ZenToHan "全角→半角(&H)"
  Delete,    // RB_Del "削除(&D)"
};

struct TTypeFormatOptions {
  TTypeFormatAction action = TTypeFormatAction::HanToZen;
  TTypeFlags flags = 0;  // TypeFlag bits of the ticked kind boxes
  // The half-width symbols whose boxes are ticked (SymbolsOfTags); ignored
  // while flags hold TypeFlag::Sym.
  std::string symbols;
  // Chk_AllText: the command formats the whole document instead of the
  // selection. The conversion itself is the same.
  bool allText = false;

  // Whether the command has anything to do (after OK or the close box).
  bool HasWork() const { return flags != 0 || !symbols.empty(); }
};

// Chk_Tab and Chk_Ret only mean something when deleting.
constexpr bool TabAndRetEnabled(TTypeFormatAction action) { return action == TTypeFormatAction::Delete; }

constexpr int kSymbolTagCount = 40;
// The half-width symbol of the box with Tag tag (1-40), or 0 for another tag.
// The tags follow the symbol row, except that 19 is ">" and 20 is "=".
char SymbolOfTag(int tag);
// The symbol string of the ticked boxes, in the order of the tags given.
std::string SymbolsOfTags(std::span<const int> tags);

// Runs the chosen operation; text unchanged when there is nothing to do.
std::string ApplyTypeFormat(std::string_view text, const TTypeFormatOptions& options);

}  // namespace kerv
