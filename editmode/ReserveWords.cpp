#include "editmode/ReserveWords.h"

#include <algorithm>

#include "document/TIniFile.h"
#include "editmode/EditModeMessages.h"
#include "editmode/TEditModeFile.h"
#include "regex/ERegExpParser.h"
#include "regex/TRegularExpression.h"

namespace kerv {
namespace {

constexpr int kLevelBits[] = {WordOption::Level2, WordOption::Level3, WordOption::Level4, WordOption::Level5};

}  // namespace

int LevelOptionBits(int level) {
  level = std::clamp(level, kMinWordLevel, kMaxWordLevel);
  if (level == 1) return 0;
  if (level <= 5) return kLevelBits[level - 2];
  if (level == 6) return WordOption::PlusFive;
  return WordOption::PlusFive | kLevelBits[level - 7];
}

int WithLevel(int options, int level) { return (options & ~WordOption::LevelBits) | LevelOptionBits(level); }

int NormalizeWordOptions(int options) {
  options &= WordOption::MethodBits | WordOption::LevelBits;
  return WithLevel(options, WordLevel(options));
}

std::string WordMethodText(int options) {
  if (options & WordOption::RegExp) {
    std::string text = EditModeMessage(TEditModeMessage::MethodRegExp);
    if (options & WordOption::Fuzzy) text += EditModeMessage(TEditModeMessage::MethodFuzzy);
    return text;
  }
  std::string text;
  if (options & WordOption::MatchCase) text = EditModeMessage(TEditModeMessage::MethodMatchCase);
  if (options & WordOption::WholeWord) {
    if (!text.empty()) text += ", ";
    text += EditModeMessage(TEditModeMessage::MethodWholeWord);
  }
  return text.empty() ? EditModeMessage(TEditModeMessage::MethodNone) : text;
}

std::string WordLevelText(int options) {
  return EditModeMessage(TEditModeMessage::LevelPrefix) + std::to_string(WordLevel(options));
}

std::optional<std::string> WordCompileError(const TEditorWord& word) {
  if (!(word.options & WordOption::RegExp)) return std::nullopt;
  try {
    TAWKStr expression;
    expression.SetUseFuzzyCharDic((word.options & WordOption::Fuzzy) != 0);
    expression.SetRegExp(word.text);
  } catch (const ERegExpParser& error) {
    return std::string(error.what());
  }
  return std::nullopt;
}

std::vector<int> MovedOrder(int count, const std::vector<int>& selected, TMoveDirection direction) {
  std::vector<int> order(static_cast<size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) order[static_cast<size_t>(i)] = i;
  std::vector<bool> isSelected(order.size(), false);
  for (int index : selected) {
    if (index >= 0 && index < count) isSelected[static_cast<size_t>(index)] = true;
  }
  auto selectedAt = [&](size_t position) { return isSelected[static_cast<size_t>(order[position])]; };
  switch (direction) {
    case TMoveDirection::Up:
      // A selected entry passes one unselected neighbour; a selected run at the top stays.
      for (size_t i = 1; i < order.size(); ++i) {
        if (selectedAt(i) && !selectedAt(i - 1)) std::swap(order[i], order[i - 1]);
      }
      break;
    case TMoveDirection::Down:
      for (size_t i = order.size(); i-- > 1;) {
        if (selectedAt(i - 1) && !selectedAt(i)) std::swap(order[i], order[i - 1]);
      }
      break;
    case TMoveDirection::Top:
    case TMoveDirection::Bottom: {
      const bool toTop = direction == TMoveDirection::Top;
      std::stable_partition(order.begin(), order.end(),
                            [&](int index) { return isSelected[static_cast<size_t>(index)] == toTop; });
      break;
    }
  }
  return order;
}

std::vector<int> MoveWords(TEditorWordList& words, const std::vector<int>& selected, TMoveDirection direction) {
  const std::vector<int> order = MovedOrder(static_cast<int>(words.size()), selected, direction);
  TEditorWordList moved;
  moved.reserve(words.size());
  std::vector<int> newIndices;
  for (size_t position = 0; position < order.size(); ++position) {
    moved.push_back(words[static_cast<size_t>(order[position])]);
    if (std::find(selected.begin(), selected.end(), order[position]) != selected.end()) {
      newIndices.push_back(static_cast<int>(position));
    }
  }
  words = std::move(moved);
  return newIndices;
}

void SortWordsByLevel(TEditorWordList& words) {
  std::stable_sort(words.begin(), words.end(), [](const TEditorWord& a, const TEditorWord& b) {
    return WordLevel(a.options) > WordLevel(b.options);
  });
}

void SortWordsByMethod(TEditorWordList& words) {
  std::stable_sort(words.begin(), words.end(), [](const TEditorWord& a, const TEditorWord& b) {
    return (a.options & WordOption::MethodBits) < (b.options & WordOption::MethodBits);
  });
}

void ExportWordList(IFileSystem& fs, const std::string& path, const TEditorWordList& words) {
  std::string text;
  for (const TEditorWord& word : words) {
    text += word.text.substr(0, word.text.find_first_of(std::string_view("\r\n\0", 3)));
    text += "\r\n";
  }
  fs.WriteFile(path, text);
}

int ImportWordList(IFileSystem& fs, const std::string& path, TEditorWordList& words) {
  const std::string text = TIniFile::ReadSettingsFile(fs, path);
  int added = 0;
  for (std::string_view line : TEditModeFile::SplitLines(text)) {
    // A blank line would be an empty word, which the word dialog refuses.
    if (line.empty()) continue;
    words.push_back({std::string(line), 0});
    ++added;
  }
  return added;
}

}  // namespace kerv
