#pragma once
// The format command's dialogs as Qt forms, each modal over the window.

#include "app/commands/TKervFormatDialogs.h"

class QWidget;

namespace kerv {

class ICodePage;
class IKervInformation;

class TKervFormatDialogsQt : public IKervFormatDialogs {
 public:
  // parent: the main window (null: centred on the screen); information shows
  // the numbering error and the history question.
  TKervFormatDialogsQt(QWidget* parent, ICodePage& codePage, IKervInformation& information)
      : parent_(parent), codePage_(codePage), information_(information) {}

  std::optional<TTypeFormatOptions> AskTypeFormat() override;
  bool AskNumbering(TNumberingOptions& options) override;
  std::optional<std::string> AskLeadString(bool foot, TLeadStringHistory& history) override;
  std::optional<int> AskReturnCol() override;

 private:
  QWidget* parent_;
  ICodePage& codePage_;
  IKervInformation& information_;
};

}  // namespace kerv
