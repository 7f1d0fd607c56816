#pragma once
// The searchers' view of the window's editor panes: the active pane's text
// and selection, and the search-word emphasis of both panes.

#include "app/commands/TKervEditors.h"
#include "search/TKervSearchTarget.h"

namespace kerv {

class IKervSearchWindow;

class TKervEditorSearchTarget : public IKervSearchTarget {
 public:
  TKervEditorSearchTarget(IKervEditors& editors, IKervSearchWindow& window) : editors_(editors), window_(window) {}

  long long SelStart() override;
  long long SelLength() override;
  std::string SelText() override;
  long long TextLength() override;
  TKervTextWindow TextWindow(long long offset, long long minBytes) override;
  std::string WordAtCaret() override;
  void Select(long long start, long long length) override;
  bool SearchText(std::string_view pattern, SearchFlags flags) override;
  void ReplaceSelection(std::string_view text) override;
  void ReplaceRange(long long start, long long length, std::string_view text, long long selStart,
                    long long selLength) override;
  void SetModified() override;
  void Focus() override;
  std::string EmphasisWord() override;
  void SetEmphasis(const std::string& word, SearchFlags flags) override;

 private:
  IKervEditors& editors_;
  IKervSearchWindow& window_;
};

}  // namespace kerv
