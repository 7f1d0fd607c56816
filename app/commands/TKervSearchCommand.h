#pragma once
// The search command object: everything the search actions, the search bar
// and the options panel ask for, over one searcher per request.

#include "app/commands/TKervCommand.h"
#include <cstdint>
#include <functional>
#include <string>

#include "app/commands/TKervEditors.h"
#include "app/commands/TKervInformation.h"
#include "app/commands/TKervSearchWindow.h"
#include "search/TKervSearchHistory.h"
#include "search/TKervSearchOptions.h"
#include "search/TKervSearchTarget.h"

namespace kerv {

class ICodePage;
class TKervSettingManager;

class TKervSearchCommand : public TKervCommand, private IKervSearchHost {
 public:
  // Milliseconds of a steady clock; the progress window is stepped at most
  // this often so that the replace loop does not wait on repaints.
  using Clock = std::function<int64_t()>;
  static constexpr int64_t kProgressIntervalMs = 100;
  // History words sent to the other windows.
  static constexpr int kSearchWordKind = 3;
  static constexpr int kReplaceWordKind = 4;

  TKervSearchCommand(IKervEditors& editors, IKervInformation& information, TKervSettingManager& settings,
                     ICodePage& codePage, IKervSearchWindow& window, IKervSearchProgress& progress,
                     Clock clock = nullptr);
  ~TKervSearchCommand() override = default;
  TKervSearchCommand(const TKervSearchCommand&) = delete;
  TKervSearchCommand& operator=(const TKervSearchCommand&) = delete;

  // Act_Srch_FindNext (down), Act_Srch_FindPrev (up), Enter in Cmb_SearchStr (down).
  bool Find(const std::string& pattern, bool down);
  // Act_Srch_ReplaceDown, Act_Srch_ReplaceUp, Enter in Cmb_ReplaceStr (down).
  bool Replace(const std::string& pattern, const std::string& replacement, bool down);
  // Act_Srch_ReplaceAll: the count, or -1 when cancelled.
  int ReplaceAll(const std::string& pattern, const std::string& replacement);
  // Act_Srch_QuickSearch: the selection (or the word at the caret), searched down as plain text.
  void QuickSearch();
  // Act_Srch_SelSearch.
  void ToggleSelectionOnly();
  bool SelectionOnly() const;
  // Act_Srch_ClearSearchWordEmphasis.
  void ClearEmphasis();
  // A change of either search-bar box, or the options panel closing after a change.
  void ResetSearchState();
  // The options panel closed: its values become the options.
  void ApplyOptions(const TKervSearchOptions& options, bool changed);
  TKervSearchOptions Options() const;

  void AddSearchHistory(const std::string& word, bool notify);
  void AddReplaceHistory(const std::string& word, bool notify);
  // The options panel's history buttons, after their question.
  void ClearSearchHistory();
  void ClearReplaceHistory();
  const TKervSearchHistory& SearchHistory() const { return searchHistory_; }
  const TKervSearchHistory& ReplaceHistory() const { return replaceHistory_; }
  // Start-up, and closing of the first window.
  void LoadHistories();
  void SaveHistories();

  // The window's search state (Searching and FileBusy keep the modification
  // check and the periodic backup away).
  TKervSearchState& State() { return state_; }

 private:
  // IKervSearchHost
  bool ConfirmReplace() override;
  void NotifyInformation(const std::string& text) override;
  std::string DisplayText(std::string_view text) override;
  bool KeepSel() override;
  void BeginProgress() override;
  bool ProgressCancelled(int count) override;
  void EndProgress() override;

  // Runs a searcher on the options of the settings store and writes the
  // options back (searchers change Down and SelectionOnly). A regular
  // expression that does not parse is shown as an error; returns false then.
  template <typename Request>
  bool RunSearcher(bool forcePlain, Request request);

  IKervEditors& editors_;
  IKervInformation& information_;
  TKervSettingManager& settings_;
  ICodePage& codePage_;
  IKervSearchWindow& window_;
  IKervSearchProgress& progress_;
  Clock clock_;
  int64_t lastStep_ = 0;
  TKervSearchState state_;
  TKervSearchHistory searchHistory_;
  TKervSearchHistory replaceHistory_;
};

}  // namespace kerv
