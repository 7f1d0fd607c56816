#pragma once
// What painting a row of an editor means, worked out without a window: the
// row's display text cut to the grid, one resolved style per byte (token
// colours, emphasis of reserved, temporary and search words, the
// selection), and the mark after the text. A renderer draws a plan cell by
// cell; tests read the plan.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/TEditorColors.h"

namespace kerv {

class TEditor;
class TAWKStr;

struct TCellStyle {
  TColor color = clWindowText;
  TColor bkColor = clWindow;
  TFontStyles style = 0;
  bool operator==(const TCellStyle&) const = default;
};

// Emphasis kinds of a byte: 0 none; 1-5 and 8-12 reserved-word levels; 6 in a
// comment; 7 in a bracket pair; 13 a search hit; 14 a temporary word.
enum TEmphasisKind : unsigned char {
  ekNone = 0,
  ekComment = 6,
  ekBracket = 7,
  ekFindString = 13,
  ekTmpWord = 14,
};

enum TRowEndMark { remNone, remRet, remEof };

struct TRowPaintPlan {
  int row = 0;
  bool exists = false;           // a row of the store (else the band is blank)
  // The display text (tabs expanded) of the columns planned: the whole row,
  // or for a very long row the part around the view, from column firstCol.
  std::string text;
  int firstCol = 0;
  int rowWidth = 0;              // display columns of the whole row
  std::vector<TCellStyle> cells; // one per byte of text
  std::vector<unsigned char> emphasis;  // the emphasis kind of each byte (for tests and marks)
  TRowEndMark endMark = remNone;
  bool endMarkSelected = false;
  // The selected display columns of the row (right exclusive; both 0: none),
  // covering also the cells after the text for a row the selection runs
  // through (INT_MAX: to the right edge).
  int selLeftCol = 0;
  int selRightCol = 0;
  bool eofMarkAtStart = false;   // the first row after the last: "[EOF]" at its start
};

// A reserved word whose pattern does not compile.
struct TPaintError {
  int wordIndex = -1;
  std::string word;
  std::string message;
};

// The search options and emphasis kind of a reserved word's option bits.
int ReserveWordSearchFlags(int options);
int ReserveWordEmphasisKind(int options);

class TEditorPaintPlanner {
 public:
  explicit TEditorPaintPlanner(TEditor& editor);
  ~TEditorPaintPlanner();

  // The plan of one row (also of rows past the end). A reserved word that does
  // not compile is blanked in the editor's list and reported in errors.
  TRowPaintPlan PlanRow(int row);
  const std::vector<TPaintError>& Errors() const { return errors_; }
  void ClearErrors() { errors_.clear(); }

  // Emphasis kinds of every byte of text. lineStart: a line starts at the
  // text's first byte; continues: the line goes on past its end.
  std::vector<unsigned char> EmphasisOf(std::string_view text, bool lineStart = true, bool continues = false);

  // Left bar: the text of row's number in a field of the bar's digits, or
  // empty for a row that shows none.
  std::string LeftbarNumber(int row) const;

 private:
  // A compiled regular-expression word (fuzzy or plain), kept between paints.
  TAWKStr& Regex(const std::string& pattern, bool fuzzy);
  static constexpr size_t kRegexCacheSize = 64;

  TEditor& editor_;
  std::vector<TPaintError> errors_;
  std::map<std::string, std::unique_ptr<TAWKStr>> regexes_;
};

// The ruler's digit glyphs: 7 rows of 4 pixels for each digit, '#' for ink.
extern const char* const kRulerDigitRows[10][7];

}  // namespace kerv
