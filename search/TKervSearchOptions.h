#pragma once
// The search options every search request reads, and the search state of one
// window that the requests share.

#include <cstdint>

#include "search/SearchFlags.h"

namespace kerv {

struct TKervSearchOptions {
  bool Confirm = false;       // ask before each single replacement
  bool FromTop = false;       // the first search after a change starts at the top
  bool AutoComplete = true;   // the search bar's boxes complete from their histories
  SearchFlags Flags = 0;
};

struct TKervSearchState {
  bool SearchedOnce = false;  // a search ran since the words or the options changed
  bool FoundOnce = false;     // one of those searches found something
  bool Searching = false;     // a single search is running
  bool FileBusy = false;      // a replace-all is running
  // 1-based document position where the last regular-expression find ended
  // its loop, so that an empty match there is stepped over next time.
  long long LastEmptyMatch = 0;
};

}  // namespace kerv
