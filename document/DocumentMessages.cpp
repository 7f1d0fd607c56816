#include "document/DocumentMessages.h"

#include <initializer_list>
#include <vector>

namespace kerv {
namespace {

struct Entry {
  TDocumentMessage id;
  const char* text;
};

constexpr Entry kMessages[] = {
    {TDocumentMessage::SpecialChars,
     "ファイル内に特殊な文字が含まれています。このまま読み込みますか？" "\r\n" "(特殊な文字は半角スペースに変換され、そのまま保存すると元データが変更されます。)"},
    {TDocumentMessage::SJISOrEUC,
     "Shift-JISとEUCの判別ができませんでした。" "\r\n" "Shift-JISで読み込みますか？(「いいえ」を選択した場合、EUCとして読み込みます。)"},
    {TDocumentMessage::ReplacedChars, "Shift-JISで表せない文字が%1個あったため、「?」に置き換えました。(最初の文字: %2行目)"},
    {TDocumentMessage::EndedAtZero, "%1行目にNULL文字があるため、それ以降は読み込まれていません。"},
    {TDocumentMessage::SaveWarning, "このまま保存すると元データが変更されます。"},
};

}  // namespace

const std::string& DocumentMessage(TDocumentMessage id) {
  // Built once: callers keep references to the strings.
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> result(sizeof kMessages / sizeof kMessages[0]);
    for (const Entry& entry : kMessages) result[static_cast<size_t>(entry.id)] = entry.text;
    return result;
  }();
  return texts[static_cast<size_t>(id)];
}

std::string FormatDocumentMessage(TDocumentMessage id, std::initializer_list<std::string> arguments) {
  const std::string& pattern = DocumentMessage(id);
  std::vector<std::string> values(arguments);
  std::string text;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
      size_t index = static_cast<size_t>(pattern[i + 1] - '1');
      if (index < values.size()) text += values[index];
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

}  // namespace kerv
