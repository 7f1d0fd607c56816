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
    {TDocumentMessage::EndedAtEof, "%1行目にEOF文字(0x1A)があるため、それ以降は読み込まれていません。"},
    {TDocumentMessage::SaveWarning, "このまま保存すると元データが変更されます。"},
    {TDocumentMessage::QuerySave, "\"%1\"" "\r\n" "編集中のファイル内容が変更されています。保存しますか？"},
    {TDocumentMessage::BigFile,
     "\"%1\"" "\r\n" "ファイルサイズが%2MBを超えています。" "\r\n" "読み込みに時間がかかることがありますが、このまま読み込みますか？"},
    {TDocumentMessage::ReloadQuestion,
     "\"%1\"" "\r\n" "現在編集中のファイルを再読み込みします。" "\r\n" "編集中の内容はすべて破棄されますがよろしいですか？"},
    {TDocumentMessage::ChangedOutside,
     "\"%1\"" "\r\n" "現在編集中のファイルが他のアプリケーションによって更新されました。" "\r\n" "編集中の内容を破棄して、ファイルを開きなおしますか？"},
    {TDocumentMessage::NewerOnDisk,
     "\"%1\"" "\r\n" "ファイルは読み込んだ後に他のアプリケーションによって更新されています。" "\r\n" "上書きして保存しますか？"},
    {TDocumentMessage::LossySave,
     "\"%1\"" "\r\n" "%2で表せない文字が%3個あります。保存するとそれらは「?」に置き換わります。" "\r\n" "このまま保存しますか？"},
    {TDocumentMessage::Opened, "%1 - %2 を開きました"},
    {TDocumentMessage::Saved, "%1 - %2 を保存しました"},
    {TDocumentMessage::NewDocument, "%1 新規文章を作成"},
    {TDocumentMessage::BackupSaved, "%1 - バックアップを保存しました。"},
    {TDocumentMessage::OpenCodeLabel, "文字コード判別:"},
    {TDocumentMessage::SaveCodeLabel, "文字コード:"},
    {TDocumentMessage::ReturnCodeLabel, "改行コード:"},
    {TDocumentMessage::ReadOnlyBox, "読み取り専用で開く(&R)"},
    {TDocumentMessage::HistoryNone, "（なし）"},
    {TDocumentMessage::HistoryClear, "「ファイル」メニューのファイル履歴を削除します。よろしいですか？"},
    {TDocumentMessage::FilterNameEmpty, "フィルタ名が入力されていません。"},
    {TDocumentMessage::FilterDefinitionEmpty, "フィルタ定義が入力されていません。"},
    {TDocumentMessage::FilterNameBar, "フィルタ名に | は使えません。"},
    {TDocumentMessage::FilterBadExtension,
     "フィルタに拡張子では使えない文字が含まれています" "\r\n" "（次の文字は使えません   \\ / , ; \" < > | ? ）"},
    {TDocumentMessage::TitleSuffix, " - KervEditor"},
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
