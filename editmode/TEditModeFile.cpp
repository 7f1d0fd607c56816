#include "editmode/TEditModeFile.h"

#include <climits>
#include <iterator>
#include <unordered_map>
#include <vector>

#include "editmode/ReserveWords.h"
#include "platform/CodePage.h"

namespace kerv {
namespace {

constexpr const char* kWordsBegin = "%ReservedStrings%";
constexpr const char* kWordsEnd = "%EORS%";
constexpr const char* kOptionsBegin = "%ResStrOptions%";
constexpr const char* kOptionsEnd = "%EORSO%";
constexpr const char* kBracketsBegin = "%Brackets%";
constexpr const char* kBracketsEnd = "%EOB%";
constexpr const char* kCrLf = "\r\n";

constexpr TColor kReaderTextColor = clBlack;
constexpr TColor kReaderBkColor = clWhite;
constexpr int kMaxFontSize = 1000;
constexpr int kFallbackFontSize = 12;
constexpr int kHighestSystemColorIndex = 30;

constexpr long long kVersion20 = 2000000;
constexpr long long kVersion22 = 2200000;
constexpr long long kVersion23 = 2300000;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The fields of a line split at separator, at most maxFields (the last
// one keeps any further separators).
std::vector<std::string_view> SplitFields(std::string_view line, char separator, size_t maxFields) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (fields.size() < maxFields) {
    size_t end = line.find(separator, start);
    fields.push_back(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return fields;
}

bool IsMarkerLine(std::string_view line) {
  for (const char* marker : {kWordsBegin, kWordsEnd, kOptionsBegin, kOptionsEnd, kBracketsBegin, kBracketsEnd}) {
    if (line == marker) return true;
  }
  return false;
}

// Key names compare without regard to the case of single-byte letters; a
// trail byte is never folded.
// A value is one line and, like every text, ends at its first zero byte; so
// no value can break the file's structure, and what is read is what is written.
std::string OneLine(std::string_view value, bool stopAtTab = false) {
  size_t end = value.find_first_of(stopAtTab ? std::string_view("\r\n\0\t", 4) : std::string_view("\r\n\0", 3));
  return std::string(value.substr(0, end));
}

TColor ColorFromNumber(std::optional<long long> value, TColor fallback) {
  if (!value) return fallback;
  // Negative numbers are how 32-bit writers stored system colours.
  const TColor color = static_cast<TColor>(static_cast<unsigned long long>(*value) & 0xFFFFFFFFu);
  if (IsSystemColor(color) && (color & 0x00FFFF00u) == 0 && (color & 0xFFu) <= kHighestSystemColorIndex) {
    return color;
  }
  return color & 0x00FFFFFFu;
}

// Where the sections of words, options and bracket pairs lie: [begin, end)
// of their item lines. A section ends at its end line, at the start of
// another section (a truncated file) or at the end of the file.
struct Region {
  bool present = false;
  size_t begin = 0;
  size_t end = 0;
  bool Contains(size_t line) const { return present && line >= begin && line < end; }
};

bool IsSectionStart(std::string_view line) {
  return line == kWordsBegin || line == kOptionsBegin || line == kBracketsBegin;
}

Region FindRegion(const std::vector<std::string_view>& lines, std::string_view beginLine, std::string_view endLine) {
  Region region;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != beginLine) continue;
    region.present = true;
    region.begin = i + 1;
    region.end = region.begin;
    while (region.end < lines.size() && lines[region.end] != endLine && !IsSectionStart(lines[region.end])) {
      ++region.end;
    }
    break;
  }
  return region;
}

class KeyValues {
 public:
  KeyValues(const std::vector<std::string_view>& lines, const Region* regions, size_t regionCount) {
    for (size_t i = 0; i < lines.size(); ++i) {
      bool inSection = false;
      for (size_t r = 0; r < regionCount; ++r) inSection = inSection || regions[r].Contains(i);
      if (inSection) continue;
      size_t equal = lines[i].find('=');
      if (equal == std::string_view::npos) continue;
      std::string name = FoldedAsciiCase(TrimBlanks(lines[i].substr(0, equal)));
      if (name.empty()) continue;
      values_.emplace(std::move(name), lines[i].substr(equal + 1));  // the first line of a name wins
    }
  }

  const std::string_view* Find(const char* name) const {
    auto it = values_.find(FoldedAsciiCase(name));
    return it == values_.end() ? nullptr : &it->second;
  }
  std::optional<long long> Number(const char* name) const {
    const std::string_view* value = Find(name);
    return value ? TEditModeFile::ParseNumber(*value) : std::nullopt;
  }
  std::optional<int> Int(const char* name) const {
    std::optional<long long> value = Number(name);
    if (!value || *value < INT_MIN || *value > INT_MAX) return std::nullopt;
    return static_cast<int>(*value);
  }

 private:
  std::unordered_map<std::string, std::string_view> values_;
};

// ---- the settings keys, in the order they are written

enum class KeyType { Bool, Int, Str };

struct SettingKey {
  const char* name;
  KeyType type;
  int readerDefault;
  bool keepWhenMissing;  // a missing key leaves the property as it is
  int (*getInt)(const TEditorPropEx&);
  void (*setInt)(TEditorPropEx&, int);
  const std::string& (*getStr)(const TEditorPropEx&);
  void (*setStr)(TEditorPropEx&, const std::string&);
};

#define KERV_BOOL_KEY(key, def, getter, setter)                                                     \
  SettingKey {                                                                                      \
    key, KeyType::Bool, def, false, [](const TEditorPropEx& s) -> int { return (getter) ? 1 : 0; }, \
        [](TEditorPropEx& s, int v) { setter(v != 0); }, nullptr, nullptr                           \
  }
#define KERV_INT_KEY(key, def, keep, getter, setter)                                         \
  SettingKey {                                                                               \
    key, KeyType::Int, def, keep, [](const TEditorPropEx& s) -> int { return (getter); }, \
        [](TEditorPropEx& s, int v) { setter; }, nullptr, nullptr                            \
  }
#define KERV_STR_KEY(key, getter, setter)                                                              \
  SettingKey {                                                                                         \
    key, KeyType::Str, 0, false, nullptr, nullptr,                                                     \
        [](const TEditorPropEx& s) -> const std::string& { return getter; },                           \
        [](TEditorPropEx& s, const std::string& v) { setter(v); }                                      \
  }

const SettingKey kSettingKeys[] = {
    KERV_STR_KEY("Author", s.Author(), s.SetAuthor),
    KERV_STR_KEY("Comment", s.UserComment(), s.SetUserComment),
    // Only 31 bytes of a font name count; an empty name names no font.
    SettingKey{"FontName", KeyType::Str, 0, true, nullptr, nullptr,
               [](const TEditorPropEx& s) -> const std::string& { return s.Font().Name(); },
               [](TEditorPropEx& s, const std::string& v) {
                 if (!v.empty()) s.Font().SetName(TEditModeFile::CutAtCharBoundary(v, TEditModeFile::kMaxFontNameBytes));
               }},
    KERV_INT_KEY("FontSize", kFallbackFontSize, false, s.Font().Size(),
                 s.Font().SetSize(v >= 1 && v <= kMaxFontSize ? v : kFallbackFontSize)),
    KERV_INT_KEY("FontCharSet", 0, true, s.Font().CharSet(), if (v >= 0 && v <= 255) s.Font().SetCharSet(v)),
    KERV_BOOL_KEY("DefaultFont", 1, s.UseDafaultFont(), s.SetUseDafaultFont),
    KERV_BOOL_KEY("UnderLine", 0, s.Marks().Underline().Visible(), s.Marks().Underline().SetVisible),
    KERV_BOOL_KEY("RetMark", 1, s.Marks().RetMark().Visible(), s.Marks().RetMark().SetVisible),
    KERV_BOOL_KEY("EOFMark", 1, s.Marks().EofMark().Visible(), s.Marks().EofMark().SetVisible),
    KERV_BOOL_KEY("MailLink", 1, s.View().Mail(), s.View().SetMail),
    KERV_BOOL_KEY("URLLink", 1, s.View().Url(), s.View().SetUrl),
    KERV_BOOL_KEY("ShowTab", 0, s.ShowTab(), s.SetShowTab),
    KERV_BOOL_KEY("ShowSpace", 0, s.ShowSpace(), s.SetShowSpace),
    KERV_BOOL_KEY("ShowDoubleSpace", 0, s.ShowDoubleSpace(), s.SetShowDoubleSpace),
    KERV_BOOL_KEY("ColorBrackets", 1, s.ColorBrackets(), s.SetColorBrackets),
    KERV_BOOL_KEY("ColorReserve", 1, s.ColorReserve(), s.SetColorReserve),
    KERV_BOOL_KEY("ColorComment", 1, s.ColorComment(), s.SetColorComment),
    KERV_BOOL_KEY("ColorStr", 1, s.ColorStr(), s.SetColorStr),
    KERV_BOOL_KEY("ColorInt", 1, s.ColorHex(), s.SetColorHex),
    KERV_BOOL_KEY("ColorSearchStr", 1, s.ColorSearchStr(), s.SetColorSearchStr),
    KERV_BOOL_KEY("ColorSimpleStress", 1, s.ColorSimpleStress(), s.SetColorSimpleStress),
    KERV_STR_KEY("HexPrefix", s.View().HexPrefix(), s.View().SetHexPrefix),
    KERV_STR_KEY("Quotation", s.View().Quotation(), s.View().SetQuotation),
    KERV_STR_KEY("Commenter", s.View().Commenter(), s.View().SetCommenter),
    KERV_BOOL_KEY("ShowRuler", 1, s.Ruler().Visible(), s.Ruler().SetVisible),
    KERV_BOOL_KEY("RulerEdge", 1, s.Ruler().Edge(), s.Ruler().SetEdge),
    KERV_INT_KEY("GaugeRange", 10, false, s.Ruler().GaugeRange(), s.Ruler().SetGaugeRange(v)),
    KERV_BOOL_KEY("ShowLeftBar", 1, s.Leftbar().Visible(), s.Leftbar().SetVisible),
    KERV_INT_KEY("LineNumColumn", 4, false, s.Leftbar().Column(), s.Leftbar().SetColumn(v)),
    KERV_BOOL_KEY("LineNumZeroBase", 0, s.Leftbar().ZeroBase(), s.Leftbar().SetZeroBase),
    KERV_BOOL_KEY("LineNumZeroLead", 0, s.Leftbar().ZeroLead(), s.Leftbar().SetZeroLead),
    KERV_BOOL_KEY("LineNumEdge", 1, s.Leftbar().Edge(), s.Leftbar().SetEdge),
    KERV_INT_KEY("LineNumCountWrap", 1, false, s.Leftbar().ShowNumberMode() == nmRow ? 1 : 0,
                 s.Leftbar().SetShowNumberMode(v != 0 ? nmRow : nmLine)),
    KERV_BOOL_KEY("AutoIME", 0, s.AutoIME(), s.SetAutoIME),
    KERV_BOOL_KEY("FreeCaret", 0, s.Caret().FreeCaret(), s.Caret().SetFreeCaret),
    KERV_INT_KEY("TabCount", 8, false, s.Caret().TabSpaceCount(), s.Caret().SetTabSpaceCount(v)),
    KERV_BOOL_KEY("SoftTab", 0, s.Caret().SoftTab(), s.Caret().SetSoftTab),
    KERV_BOOL_KEY("WordWrap", 0, s.WordWrap(), s.SetWordWrap),
    KERV_INT_KEY("WrapByte", 80, false, s.WrapOption().WrapByte(), s.WrapOption().SetWrapByte(v)),
    KERV_BOOL_KEY("WordBreak", 1, s.WrapOption().WordBreak(), s.WrapOption().SetWordBreak),
    KERV_BOOL_KEY("FollowPunctuation", 1, s.WrapOption().FollowPunctuation(), s.WrapOption().SetFollowPunctuation),
    KERV_BOOL_KEY("FollowRetMark", 1, s.WrapOption().FollowRetMark(), s.WrapOption().SetFollowRetMark),
    KERV_BOOL_KEY("Leading", 1, s.WrapOption().Leading(), s.WrapOption().SetLeading),
    KERV_STR_KEY("FollowStr", s.WrapOption().FollowStr(), s.WrapOption().SetFollowStr),
    KERV_STR_KEY("LeadStr", s.WrapOption().LeadStr(), s.WrapOption().SetLeadStr),
    KERV_STR_KEY("PunctuationStr", s.WrapOption().PunctuationStr(), s.WrapOption().SetPunctuationStr),
    KERV_BOOL_KEY("AutoIndent", 0, s.AutoIndent(), s.SetAutoIndent),
    KERV_BOOL_KEY("DoubleSpaceIndent", 0, s.DSIndent(), s.SetDSIndent),
    KERV_BOOL_KEY("BSUnIndent", 0, s.Caret().BackSpaceUnIndent(), s.Caret().SetBackSpaceUnIndent),
    KERV_BOOL_KEY("NoIndentEmptyLine", 1, s.NoIndentEmptyLine(), s.SetNoIndentEmptyLine),
    KERV_INT_KEY("SpaceIndentSize", 1, false, s.SpaceIndentSize(), s.SetSpaceIndentSize(v)),
    KERV_STR_KEY("ReturnInsertStr", s.ReturnInsertStr(), s.SetReturnInsertStr),
    KERV_BOOL_KEY("BoxFreeCaret", 0, s.BoxFreeCaret(), s.SetBoxFreeCaret),
    KERV_INT_KEY("ScrollBar", 3, false, static_cast<int>(s.ScrollBars()),
                 s.SetScrollBars(v == 0 ? ssNone : v == 1 ? ssHorizontal : v == 2 ? ssVertical : ssBoth)),
};

#undef KERV_BOOL_KEY
#undef KERV_INT_KEY
#undef KERV_STR_KEY

// ---- the colour sets

using SetShape = TColorSetShape;

SetShape ShapeOf(int set) {
  switch (set) {
    case 1: case 2: case 4: return SetShape::Pair;
    case 3: case 5: case 6: case 7: case 14: return SetShape::Single;
    default: return SetShape::Full;
  }
}

// The colour entry of a full set other than 0.
TEditorColorEntry EntryOf(int set) {
  switch (set) {
    case 8: return ceUrl;
    case 9: return ceMail;
    case 10: return ceInt;
    case 11: return ceStr;
    case 12: return ceComment;
    case 13: return ceReserve;
    case 24: return ceFindStr;
    case 25: return ceStressTmp;
    default: return static_cast<TEditorColorEntry>(ceStress2 + (set - 15));  // 15..23
  }
}

// Newer versions added sets: 14 after 2.0, 15-18 from 2.2, 19-25 after 2.3.
bool SetIsRead(int set, long long version) {
  if (set <= 13) return true;
  if (set == 14) return version > kVersion20;
  if (set <= 18) return version >= kVersion22;
  return version > kVersion23;
}

using ColorFields = TColorSetValue;

ColorFields ParseColorFields(const std::string_view* value) {
  ColorFields fields;
  if (value == nullptr) return fields;
  const std::vector<std::string_view> parts = SplitFields(*value, ',', 5);
  auto number = [&](size_t i) { return i < parts.size() ? TEditModeFile::ParseNumber(parts[i]) : std::nullopt; };
  fields.color = ColorFromNumber(number(0), kReaderTextColor);
  fields.bkColor = ColorFromNumber(number(1), kReaderBkColor);
  const TFontStyles flags[] = {fsBold, fsItalic, fsUnderline};
  for (size_t i = 0; i < 3; ++i) {
    std::optional<long long> flag = number(2 + i);
    if (flag && *flag != 0) fields.style |= flags[i];
  }
  return fields;
}

void SetEntry(TEditorColor& entry, const ColorFields& fields) {
  entry.Assign(TEditorColor(fields.bkColor, fields.color, fields.style));
}

void ApplyColorSet(int set, const ColorFields& f, TEditorPropEx& s) {
  TEditorColors& colors = s.View().Colors();
  switch (set) {
    case 0:
      s.Font().SetColor(f.color);
      s.Font().SetStyle(f.style);
      s.SetColor(f.bkColor);
      SetEntry(colors.Ank(), f);
      SetEntry(colors.DBCS(), f);
      SetEntry(colors.Symbol(), f);
      return;
    case 1:
      colors.Select().SetColor(f.color);
      colors.Select().SetBkColor(f.bkColor);
      return;
    case 2:
      s.Ruler().SetColor(f.color);
      s.Ruler().SetBkColor(f.bkColor);
      return;
    case 3: s.Ruler().SetMarkColor(f.color); return;
    case 4:
      s.Leftbar().SetColor(f.color);
      s.Leftbar().SetBkColor(f.bkColor);
      return;
    case 5: s.Marks().Underline().SetColor(f.color); return;
    case 6: s.Marks().RetMark().SetColor(f.color); return;
    case 7: s.Marks().EofMark().SetColor(f.color); return;
    case 14: s.SetTabMarkColor(f.color); return;
    default: SetEntry(colors.Item(EntryOf(set)), f); return;
  }
}

ColorFields ColorSetOf(int set, const TEditorPropEx& s) {
  const TEditorColors& colors = s.View().Colors();
  ColorFields f;
  switch (set) {
    case 0: return {s.Font().Color(), s.Color(), s.Font().Style()};
    case 1: return {colors.Select().Color(), colors.Select().BkColor(), 0};
    case 2: return {s.Ruler().Color(), s.Ruler().BkColor(), 0};
    case 3: f.color = s.Ruler().MarkColor(); return f;
    case 4: return {s.Leftbar().Color(), s.Leftbar().BkColor(), 0};
    case 5: f.color = s.Marks().Underline().Color(); return f;
    case 6: f.color = s.Marks().RetMark().Color(); return f;
    case 7: f.color = s.Marks().EofMark().Color(); return f;
    case 14: f.color = s.TabMarkColor(); return f;
    default: {
      const TEditorColor& entry = colors.Item(EntryOf(set));
      return {entry.Color(), entry.BkColor(), entry.Style()};
    }
  }
}

std::string ColorText(TColor color, TSystemColorResolver resolve) {
  if (IsSystemColor(color)) color = resolve != nullptr ? resolve(color) : DefaultSystemColorRgb(color);
  return std::to_string(color & 0x00FFFFFFu);
}

const char* Flag(bool on) { return on ? "1" : "0"; }

// ---- reserved words and bracket pairs

void ReadWords(const std::vector<std::string_view>& lines, const Region& words, const Region& options,
               TEditorWordList& list) {
  for (size_t i = words.begin; i < words.end; ++i) {
    int bits = 0;
    // A word without an option line (a truncated options section) keeps
    // its word with no options instead of being dropped.
    const size_t optionLine = options.begin + (i - words.begin);
    if (options.present && optionLine < options.end) {
      std::optional<long long> value = TEditModeFile::ParseNumber(lines[optionLine]);
      bits = value ? NormalizeWordOptions(static_cast<int>(*value & 0xFFFF)) : 0;
    }
    list.push_back({OneLine(lines[i]), bits});
  }
}

void ReadBrackets(const std::vector<std::string_view>& lines, const Region& region, TEditorBracketCollection& pairs) {
  for (size_t i = region.begin; i < region.end && pairs.Count() < TEditorBracketCollection::MaxCount; ++i) {
    std::vector<std::string_view> fields = SplitFields(lines[i], '\t', 8);
    fields.resize(8);
    auto number = [&](size_t n) { return TEditModeFile::ParseNumber(fields[n]); };
    auto flag = [&](size_t n) {
      std::optional<long long> value = number(n);
      return value && *value != 0;
    };
    TEditorBracketItem& item = pairs.Add();
    // A pair missing either side never matches: both sides stay empty.
    const std::string left = OneLine(fields[0]);
    const std::string right = OneLine(fields[1]);
    if (!left.empty() && !right.empty()) {
      item.SetLeftBracket(left);
      item.SetRightBracket(right);
    }
    TFontStyles style = (flag(4) ? fsBold : 0) | (flag(5) ? fsItalic : 0) | (flag(6) ? fsUnderline : 0);
    SetEntry(item.ItemColor(), {ColorFromNumber(number(2), kReaderTextColor),
                                ColorFromNumber(number(3), kReaderBkColor), style});
    item.SetShowReserve(flag(7));
  }
}

}  // namespace

TColorSetShape TEditModeFile::ColorSetShape(int colorSet) { return ShapeOf(colorSet); }

TColorSetValue TEditModeFile::ColorSet(const TEditorPropEx& set, int colorSet) {
  if (colorSet < 0 || colorSet >= kColorSetCount) return {};
  return ColorSetOf(colorSet, set);
}

void TEditModeFile::SetColorSet(TEditorPropEx& set, int colorSet, const TColorSetValue& value) {
  if (colorSet < 0 || colorSet >= kColorSetCount) return;
  // Values a set does not store stay as they are in the property set.
  TColorSetValue stored = ColorSetOf(colorSet, set);
  stored.color = value.color;
  if (ShapeOf(colorSet) != SetShape::Single) stored.bkColor = value.bkColor;
  if (ShapeOf(colorSet) == SetShape::Full) stored.style = value.style;
  ApplyColorSet(colorSet, stored, set);
}

TColor DefaultSystemColorRgb(TColor color) {
  if (!IsSystemColor(color)) return color;
  // The usual desktop values of the system colours by index (0x00BBGGRR).
  static constexpr TColor kSystemColors[] = {
      0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000, 0x000000, 0xB4B4B4,
      0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969,
      0xE3E3E3, 0x000000, 0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0,
  };
  const size_t index = color & 0xFFu;
  return index < std::size(kSystemColors) ? kSystemColors[index] : 0x000000;
}

std::vector<std::string_view> TEditModeFile::SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    lines.push_back(line.substr(0, line.find('\0')));
    if (end == text.size()) break;
    start = end + (text.compare(end, 2, kCrLf) == 0 ? 2 : 1);
  }
  return lines;
}

std::optional<long long> TEditModeFile::ParseNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  int base = 10;
  bool negative = false;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.size() > 1 && text[0] == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text[0] == '-' || text[0] == '+') {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * base + digit;
    if (value > 0xFFFFFFFFLL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < INT_MIN) return std::nullopt;
  return value;
}

std::optional<long long> TEditModeFile::ParseVersion(std::string_view text) {
  text = TrimBlanks(text);
  size_t dot = text.find('.');
  std::string_view major = text.substr(0, dot);
  std::string_view minor = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
  auto allDigits = [](std::string_view part) {
    for (char c : part) {
      if (c < '0' || c > '9') return false;
    }
    return true;
  };
  if (major.empty() || major.size() > 6 || !allDigits(major) || !allDigits(minor)) return std::nullopt;
  if (dot != std::string_view::npos && minor.empty()) return std::nullopt;
  long long value = 0;
  for (char c : major) value = value * 10 + (c - '0');
  value *= 1000000;
  long long scale = 100000;
  for (char c : minor) {
    if (scale == 0) break;  // digits beyond the millionths do not change a comparison that matters
    value += (c - '0') * scale;
    scale /= 10;
  }
  return value;
}

std::string TEditModeFile::CutAtCharBoundary(const std::string& name, size_t maxBytes) {
  size_t end = 0;
  while (end < name.size()) {
    size_t length = IsLeadByte(static_cast<unsigned char>(name[end])) && end + 1 < name.size() ? 2 : 1;
    if (end + length > maxBytes) break;
    end += length;
  }
  return name.substr(0, end);
}

bool TEditModeFile::Read(std::string_view text, TEditorPropEx& set) {
  const std::vector<std::string_view> lines = SplitLines(text);
  const Region regions[] = {FindRegion(lines, kWordsBegin, kWordsEnd), FindRegion(lines, kOptionsBegin, kOptionsEnd),
                            FindRegion(lines, kBracketsBegin, kBracketsEnd)};
  const KeyValues keys(lines, regions, std::size(regions));

  const std::string_view* format = keys.Find("Format");
  const bool headed = !lines.empty() && lines[0] == kHeaderLine;
  if (!headed && (format == nullptr || TrimBlanks(*format) != kFormatValue)) return false;

  set.ReserveWordList().clear();
  set.View().Brackets().Clear();

  for (const SettingKey& key : kSettingKeys) {
    if (key.type == KeyType::Str) {
      const std::string_view* value = keys.Find(key.name);
      if (value == nullptr && key.keepWhenMissing) continue;
      key.setStr(set, value ? OneLine(*value) : std::string());
      continue;
    }
    std::optional<int> value = keys.Int(key.name);
    if (!value && key.keepWhenMissing) continue;
    key.setInt(set, value.value_or(key.readerDefault));
  }

  const std::string_view* versionText = keys.Find("Version");
  const long long version = (versionText ? ParseVersion(*versionText) : std::nullopt).value_or(kVersion20);
  for (int n = 0; n < kColorSetCount; ++n) {
    if (!SetIsRead(n, version)) continue;
    const std::string name = "ColorSet" + std::to_string(n);
    ApplyColorSet(n, ParseColorFields(keys.Find(name.c_str())), set);
  }

  ReadWords(lines, regions[0], regions[1], set.ReserveWordList());
  ReadBrackets(lines, regions[2], set.View().Brackets());
  return true;
}

std::string TEditModeFile::Write(const TEditorPropEx& set, TSystemColorResolver resolve) {
  std::string out;
  auto line = [&out](std::string_view text) {
    out += text;
    out += kCrLf;
  };
  line(kHeaderLine);
  line("[Settings]");
  line(std::string("Version=") + kWrittenVersion);
  line(std::string("Format=") + kFormatValue);
  for (const SettingKey& key : kSettingKeys) {
    std::string value;
    switch (key.type) {
      case KeyType::Bool: value = Flag(key.getInt(set) != 0); break;
      case KeyType::Int: value = std::to_string(key.getInt(set)); break;
      case KeyType::Str: value = OneLine(key.getStr(set)); break;
    }
    line(std::string(key.name) + "=" + value);
  }

  line("");
  for (int n = 0; n < kColorSetCount; ++n) {
    const ColorFields f = ColorSetOf(n, set);
    std::string value = ColorText(f.color, resolve);
    const SetShape shape = ShapeOf(n);
    if (shape != SetShape::Single) value += "," + ColorText(f.bkColor, resolve);
    if (shape == SetShape::Full) {
      value += std::string(",") + Flag(f.style & fsBold) + "," + Flag(f.style & fsItalic) + "," +
               Flag(f.style & fsUnderline);
    }
    line("ColorSet" + std::to_string(n) + "=" + value);
  }

  // A word that reads as a section line cannot be stored: it would end its
  // section and cut off every word after it.
  std::vector<const TEditorWord*> words;
  for (const TEditorWord& word : set.ReserveWordList()) {
    if (!IsMarkerLine(OneLine(word.text))) words.push_back(&word);
  }
  if (!words.empty()) {
    line("");
    line(kWordsBegin);
    for (const TEditorWord* word : words) line(OneLine(word->text));
    line(kWordsEnd);
    line("");
    line(kOptionsBegin);
    for (const TEditorWord* word : words) line(std::to_string(word->options));
    line(kOptionsEnd);
  }

  const TEditorBracketCollection& pairs = set.View().Brackets();
  if (pairs.Count() > 0) {
    line("");
    line(kBracketsBegin);
    for (int i = 0; i < pairs.Count(); ++i) {
      const TEditorBracketItem& item = pairs.Items(i);
      const TEditorColor& color = item.ItemColor();
      std::string left = OneLine(item.LeftBracket(), true);
      std::string right = OneLine(item.RightBracket(), true);
      // A pair missing a side is written as the empty pair it reads back as.
      if (left.empty() || right.empty()) {
        left.clear();
        right.clear();
      }
      line(left + "\t" + right + "\t" +
           ColorText(color.Color(), resolve) + "\t" + ColorText(color.BkColor(), resolve) + "\t" +
           Flag(color.Style() & fsBold) + "\t" + Flag(color.Style() & fsItalic) + "\t" +
           Flag(color.Style() & fsUnderline) + "\t" + Flag(item.ShowReserve()));
    }
    line(kBracketsEnd);
  }
  return out;
}

}  // namespace kerv
