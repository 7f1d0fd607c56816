#pragma once
// Every text the searchers, the search command and their windows show (UTF-8).

namespace kerv::searchmessages {

// The kind words that start the not-found notices (each ends with a blank).
inline constexpr const char* kKindNormal = "文字列 ";
inline constexpr const char* kKindRegExp = "正規表現 ";
inline constexpr const char* kSearchedToEnd = " を文末まで検索しました。";
inline constexpr const char* kNotFound = " は見つかりませんでした。";

inline constexpr const char* kConfirmReplace = "置換を行ないますか？";
inline constexpr const char* kReplaceAllInterrupted = "全置換処理を中断しました。";
inline constexpr const char* kReplaceAllDone = "全置換が完了しました。 (置換された数：";
inline constexpr const char* kReplaceAllDoneEnd = ")";
inline constexpr const char* kReplaceAllCancelled = "全置換を中断しました。";

// The progress window.
inline constexpr const char* kReplacingCaption = "全置換処理中";
inline constexpr const char* kReplacingCount = "置換数：";
inline constexpr const char* kCancel = "キャンセル";

// The options panel.
inline constexpr const char* kOptionsTitle = "検索・置換オプション";
inline constexpr const char* kGroupBasic = "基本オプション";
inline constexpr const char* kGroupCondition = "検索条件";
inline constexpr const char* kGroupRegExp = "正規表現";
inline constexpr const char* kGroupRange = "検索の範囲";
inline constexpr const char* kGroupHistory = "履歴のクリア";
inline constexpr const char* kSearchAll = "テキスト全体(&A)";
inline constexpr const char* kSelSearch = "選択範囲のみ(&L)";
inline constexpr const char* kClearSearchHistoryQuestion = "検索文字列の履歴を削除します。よろしいですか？";
inline constexpr const char* kClearReplaceHistoryQuestion = "置換文字列の履歴を削除します。よろしいですか？";

}  // namespace kerv::searchmessages
