#include "app/commands/TKervSearchCommand.h"

#include <chrono>

#include "app/commands/TKervEditorSearchTarget.h"
#include "app/settings/TKervSettingManager.h"
#include "editor/TEditor.h"
#include "platform/CodePage.h"
#include "regex/ERegExpParser.h"
#include "search/SearchMessages.h"
#include "search/TKervSearcher.h"

namespace kerv {

namespace {

int64_t SteadyMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

TKervSearchCommand::TKervSearchCommand(IKervEditors& editors, IKervInformation& information,
                                       TKervSettingManager& settings, ICodePage& codePage, IKervSearchWindow& window,
                                       IKervSearchProgress& progress, Clock clock)
    : editors_(editors),
      information_(information),
      settings_(settings),
      codePage_(codePage),
      window_(window),
      progress_(progress),
      clock_(clock ? std::move(clock) : Clock(&SteadyMilliseconds)) {}

TKervSearchOptions TKervSearchCommand::Options() const {
  TKervSearchSetting& setting = settings_.Search();
  TKervSearchOptions options;
  options.Confirm = setting.Confirm;
  options.FromTop = setting.FromTop;
  options.AutoComplete = setting.AutoComplete;
  options.Flags = setting.SearchFlags;
  return options;
}

void TKervSearchCommand::ApplyOptions(const TKervSearchOptions& options, bool changed) {
  TKervSearchSetting& setting = settings_.Search();
  setting.Confirm = options.Confirm;
  setting.FromTop = options.FromTop;
  setting.AutoComplete = options.AutoComplete;
  setting.SearchFlags = options.Flags;
  window_.SearchOptionsChanged();
  if (changed) ResetSearchState();
}

template <typename Request>
bool TKervSearchCommand::RunSearcher(bool forcePlain, Request request) {
  TKervSearchOptions options = Options();
  // The searcher's changes of the option word count also when it fails.
  struct WriteBack {
    TKervSearchOptions& options;
    TKervSearchSetting& setting;
    ~WriteBack() { setting.SearchFlags = options.Flags; }
  } writeBack{options, settings_.Search()};
  TKervEditorSearchTarget target(editors_, window_);
  IKervSearchHost& host = *this;
  std::unique_ptr<TKervSearcher> searcher;
  if (forcePlain) {
    searcher = std::make_unique<TKervNormalSearcher>(options, state_, target, host);
  } else {
    searcher = CreateSearcher(options, state_, target, host);
  }
  try {
    request(*searcher);
  } catch (const ERegExpParser& error) {
    information_.ShowError(error.what());
    return false;
  }
  return true;
}

bool TKervSearchCommand::Find(const std::string& pattern, bool down) {
  bool found = false;
  if (!RunSearcher(false, [&](TKervSearcher& searcher) { found = searcher.Find(pattern, down); })) return false;
  AddSearchHistory(pattern, true);
  return found;
}

bool TKervSearchCommand::Replace(const std::string& pattern, const std::string& replacement, bool down) {
  // Editing is prohibited: nothing is replaced, and nothing claims it was.
  if (editors_.ActiveEditor().ReadOnly()) return false;
  bool replaced = false;
  if (!RunSearcher(false, [&](TKervSearcher& searcher) { replaced = searcher.Replace(pattern, replacement, down); })) {
    return false;
  }
  AddSearchHistory(pattern, true);
  AddReplaceHistory(replacement, true);
  return replaced;
}

int TKervSearchCommand::ReplaceAll(const std::string& pattern, const std::string& replacement) {
  if (editors_.ActiveEditor().ReadOnly()) return 0;
  int count = 0;
  state_.FileBusy = true;
  bool ran = false;
  try {
    ran = RunSearcher(false, [&](TKervSearcher& searcher) { count = searcher.ReplaceAll(pattern, replacement); });
  } catch (...) {
    state_.FileBusy = false;
    throw;
  }
  state_.FileBusy = false;
  if (!ran) return 0;
  if (count >= 0) {
    information_.Notify(std::string(searchmessages::kReplaceAllDone) + std::to_string(count) +
                            searchmessages::kReplaceAllDoneEnd,
                        IKervInformation::nlInformation);
  } else {
    information_.Notify(searchmessages::kReplaceAllCancelled, IKervInformation::nlInformation);
  }
  AddSearchHistory(pattern, true);
  AddReplaceHistory(replacement, true);
  return count;
}

void TKervSearchCommand::QuickSearch() {
  TKervEditorSearchTarget target(editors_, window_);
  std::string word = target.SelLength() == 0 ? target.WordAtCaret() : QuickSearchWord(target.SelText());
  // Quick search is plain text, and stays so afterwards.
  settings_.Search().SearchFlags = static_cast<SearchFlags>(settings_.Search().SearchFlags & ~SearchFlag::RegExp);
  window_.SearchOptionsChanged();
  bool found = false;
  if (!RunSearcher(true, [&](TKervSearcher& searcher) { found = searcher.Find(word, true); })) return;
  AddSearchHistory(word, true);
  window_.SetSearchText(word);
}

void TKervSearchCommand::ToggleSelectionOnly() {
  settings_.Search().SearchFlags = static_cast<SearchFlags>(settings_.Search().SearchFlags ^ SearchFlag::SelectionOnly);
  window_.SearchOptionsChanged();
}

bool TKervSearchCommand::SelectionOnly() const { return (settings_.Search().SearchFlags & SearchFlag::SelectionOnly) != 0; }

void TKervSearchCommand::ClearEmphasis() {
  if (editors_.ActiveEditor().FindString().empty()) return;
  TKervEditorSearchTarget target(editors_, window_);
  target.SetEmphasis(std::string(), settings_.Search().SearchFlags);
}

void TKervSearchCommand::ResetSearchState() {
  state_.SearchedOnce = false;
  state_.FoundOnce = false;
}

void TKervSearchCommand::AddSearchHistory(const std::string& word, bool notify) {
  if (!searchHistory_.Add(word)) return;
  window_.SetSearchItems(searchHistory_.Items());
  if (notify) window_.SendHistoryWord(kSearchWordKind, TKervSearchHistory::EntryOf(word));
}

void TKervSearchCommand::AddReplaceHistory(const std::string& word, bool notify) {
  if (!replaceHistory_.Add(word)) return;
  window_.SetReplaceItems(replaceHistory_.Items());
  if (notify) window_.SendHistoryWord(kReplaceWordKind, TKervSearchHistory::EntryOf(word));
}

void TKervSearchCommand::ClearSearchHistory() {
  searchHistory_.Clear();
  window_.SetSearchItems(searchHistory_.Items());
}

void TKervSearchCommand::ClearReplaceHistory() {
  replaceHistory_.Clear();
  window_.SetReplaceItems(replaceHistory_.Items());
}

void TKervSearchCommand::LoadHistories() {
  std::vector<std::string> searchItems;
  std::vector<std::string> replaceItems;
  settings_.LoadHistory(searchItems, replaceItems);
  searchHistory_.Assign(searchItems);
  replaceHistory_.Assign(replaceItems);
  window_.SetSearchItems(searchHistory_.Items());
  window_.SetReplaceItems(replaceHistory_.Items());
}

void TKervSearchCommand::SaveHistories() { settings_.SaveHistory(searchHistory_.Items(), replaceHistory_.Items()); }

// ---------------------------------------------------------------- the searchers' host

bool TKervSearchCommand::ConfirmReplace() {
  window_.QuestionBeep();
  return information_.MessageBox(searchmessages::kConfirmReplace, IKervInformation::mkConfirm,
                                 IKervInformation::mbYesNo) == IKervInformation::maYes;
}

void TKervSearchCommand::NotifyInformation(const std::string& text) {
  information_.Notify(text, IKervInformation::nlInformation);
}

std::string TKervSearchCommand::DisplayText(std::string_view text) { return codePage_.Cp932ToUtf8(text); }

bool TKervSearchCommand::KeepSel() { return settings_.Editor().KeepSel; }

void TKervSearchCommand::BeginProgress() {
  progress_.Start();
  lastStep_ = clock_();
}

bool TKervSearchCommand::ProgressCancelled(int count) {
  int64_t now = clock_();
  if (now - lastStep_ < kProgressIntervalMs) return false;
  lastStep_ = now;
  progress_.Step(count);
  return progress_.Cancelled();
}

void TKervSearchCommand::EndProgress() { progress_.End(); }

}  // namespace kerv
