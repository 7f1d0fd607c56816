#pragma once
// The dialogs of the formatting commands as the format command sees them, so
// that the command runs (and is tested) without a window system. The Qt forms
// implement it in app/dialogs; texts handed across are Shift_JIS.

#include <optional>
#include <string>

#include "format/TLeadStringHistory.h"
#include "format/TNumberingOptions.h"
#include "format/TTypeFormatOptions.h"

namespace kerv {

class IKervFormatDialogs {
 public:
  virtual ~IKervFormatDialogs() = default;

  // The type-format dialog. Nothing when キャンセル was pressed; OK and the
  // close box both give the choices.
  virtual std::optional<TTypeFormatOptions> AskTypeFormat() = 0;

  // The numbering dialog, opened with options (as stored). True when OK was
  // accepted with a valid start number; options then hold the choices.
  virtual bool AskNumbering(TNumberingOptions& options) = 0;

  // The lead-string dialog (foot: captioned for the foot string). The dialog
  // works on history: OK moves the typed text to its top, 履歴削除 empties it
  // after the question. Returns the typed text as typed (escapes not yet
  // expanded), or nothing when cancelled.
  virtual std::optional<std::string> AskLeadString(bool foot, TLeadStringHistory& history) = 0;

  // The column question, asked again while OK is pressed with a value that is
  // not an integer from 2 to 1000. Nothing when cancelled.
  virtual std::optional<int> AskReturnCol() = 0;
};

}  // namespace kerv
