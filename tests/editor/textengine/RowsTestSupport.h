#pragma once
// Row lists written out compactly for comparisons: "text|kind" per row with
// kind c (raCrlf), w (raWrapped) or e (raEof).

#include <string>
#include <vector>

#include "editor/TPointerStringList.h"

namespace kerv::testing {

inline std::vector<std::string> Rows(const TPointerStringList& list) {
  std::vector<std::string> rows;
  for (int i = 0; i < list.Count(); ++i) {
    const char kinds[] = {'c', 'w', 'e', '?'};
    int kind = list.RowAttribute(i);
    rows.push_back(std::string(list.Get(i)) + "|" + kinds[kind < 3 ? kind : 3]);
  }
  return rows;
}

}  // namespace kerv::testing
