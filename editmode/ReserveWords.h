#pragma once
// Reserved words of an edit mode: the option bits that say how a word is
// searched and at which emphasis level it is painted, the texts the word list
// shows for them, the regular-expression check of the word dialog, the
// reordering of the list, and word-list files.

#include <optional>
#include <string>
#include <vector>

#include "editor/TEditorWordList.h"
#include "platform/FileSystem.h"

namespace kerv {

// (The option bits and WordLevel live beside the word list, in editor/.)
// The level bits of a level (clamped to 1..10): 0, 0x80, 0x100, 0x200, 0x400,
// 0x800, 0x880, 0x900, 0xA00, 0xC00.
int LevelOptionBits(int level);
// options with its level replaced.
int WithLevel(int options, int level);
// Only the defined bits, and at most one of bits 7-10 (the lowest), so that
// a damaged file cannot produce a word with two levels.
int NormalizeWordOptions(int options);

// The search method as the word list shows it (UTF-8): "正規表現" (with
// ", あいまい検索"), else "大小区別" and/or "単語単位" joined by ", ", or "条件なし".
std::string WordMethodText(int options);
// "レベル" followed by the level (UTF-8).
std::string WordLevelText(int options);

// Why a regular-expression word does not compile (UTF-8), with the fuzzy
// dictionary as its bits say; nothing when it compiles or is not a regular expression.
std::optional<std::string> WordCompileError(const TEditorWord& word);

// The list's order after moving the selected entries (indices into a list of
// count entries) one place up or down, or to the top or the bottom, keeping
// their order among themselves: the old index of each new position.
enum class TMoveDirection { Up, Down, Top, Bottom };
std::vector<int> MovedOrder(int count, const std::vector<int>& selected, TMoveDirection direction);
// Applies MovedOrder to a word list; returns the new indices of the selected words.
std::vector<int> MoveWords(TEditorWordList& words, const std::vector<int>& selected, TMoveDirection direction);
// Level 10 first down to level 1; equal levels keep their order.
void SortWordsByLevel(TEditorWordList& words);
// By the method bits (0-3 as a number) ascending; equal methods keep their order.
void SortWordsByMethod(TEditorWordList& words);

// Word-list files: one word per line (CR LF), without option bits.
void ExportWordList(IFileSystem& fs, const std::string& path, const TEditorWordList& words);
// Appends every non-empty line of the file as a word with option bits 0
// (level 1, plain search); returns how many. Raises EFileError.
int ImportWordList(IFileSystem& fs, const std::string& path, TEditorWordList& words);

}  // namespace kerv
