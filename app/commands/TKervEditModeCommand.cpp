#include "app/commands/TKervEditModeCommand.h"

#include <algorithm>
#include <exception>

#include "document/TKervExceptionStringMaker.h"
#include "editmode/EditModeMessages.h"

namespace kerv {

TKervEditModeCommand::TKervEditModeCommand(TKervEditModeManager& modes, IKervEditors& editors, IKervInformation& info,
                                           ApplyToEditor apply)
    : modes_(modes), editors_(editors), info_(info), apply_(std::move(apply)) {}

void TKervEditModeCommand::ApplyCurrentMode() {
  if (!apply_) return;
  TEditor* panes[] = {&editors_.MainEditor(), editors_.SecondEditor()};
  for (TEditor* pane : panes) {
    if (pane == nullptr) continue;
    // A failure stops that pane's steps only; the other pane still gets the mode.
    try {
      apply_(*pane, modes_.Current());
    } catch (const std::exception&) {
    }
  }
}

TKervModeCommandResult TKervEditModeCommand::Finish(TModeSwitch outcome) {
  TKervModeCommandResult result{outcome, false};
  if (outcome == TModeSwitch::Changed) {
    ApplyCurrentMode();
    result.applied = true;
  }
  // Declined or failed: the box goes back to the mode that stays.
  SelectInModeBox(modes_.CurrentName());
  return result;
}

TKervModeCommandResult TKervEditModeCommand::ChangeMode(const std::string& name, bool ask, bool force) {
  return Finish(modes_.ChangeMode(name, ask && Ask(), force));
}

TKervModeCommandResult TKervEditModeCommand::ChangeModeForFile(const std::string& fileName, bool ask) {
  return Finish(modes_.ChangeModeForFile(fileName, ask && Ask()));
}

void TKervEditModeCommand::BoxChanged() {
  if (OnModeBoxChange) OnModeBoxChange(box_);
}

bool TKervEditModeCommand::FillModeBox(bool force) {
  if (box_.filled && !force) return false;
  box_.names = modes_.ModeNames();
  box_.selected = -1;
  box_.filled = true;
  const std::string& current = modes_.CurrentName().empty() ? std::string(kDefaultModeName) : modes_.CurrentName();
  const auto found = std::find(box_.names.begin(), box_.names.end(), current);
  if (found != box_.names.end()) box_.selected = static_cast<int>(found - box_.names.begin());
  BoxChanged();
  return true;
}

bool TKervEditModeCommand::SelectInModeBox(const std::string& name) {
  const std::string wanted = name.empty() ? std::string(kDefaultModeName) : name;
  const auto found = std::find(box_.names.begin(), box_.names.end(), wanted);
  if (found != box_.names.end()) {
    box_.selected = static_cast<int>(found - box_.names.begin());
  } else if (box_.filled) {
    // Boxes take UTF-8, as the message table is written.
    info_.ShowError(TKervExceptionStringMaker::Make(25000, modes_.InvalidModeMessage(wanted)));
    return false;
  } else {
    box_.names.push_back(wanted);
    box_.selected = static_cast<int>(box_.names.size()) - 1;
  }
  BoxChanged();
  return true;
}

}  // namespace kerv
