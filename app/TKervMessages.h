#pragma once
// Texts of the application core shown to the user (UTF-8).

namespace kerv::messages {

inline constexpr const char* kProductName = "KervEditor";
inline constexpr const char* kUserFolderFailed = "ユーザーフォルダーの生成に失敗しました";
inline constexpr const char* kSettingFolderFailed = "設定ファイルフォルダーの作成に失敗しました";
inline constexpr const char* kFileMissingCreate = "ファイルが存在しません。作成しますか？";
inline constexpr const char* kWelcome = "Welcome to KervEditor!";
inline constexpr const char* kUntitled = "NewDoc.txt";

// The settings dialog's button that empties the file history, and its question.
inline constexpr const char* kClearFileHistory = "ファイル履歴の削除(&H)";
inline constexpr const char* kClearFileHistoryQuestion = "「ファイル」メニューのファイル履歴を削除します。よろしいですか？";

// F1 when the user guide is not installed.
inline constexpr const char* kHelpMissing = "ヘルプファイルが見つかりません。";

// Message-box captions: the word followed by " - KervEditor".
inline constexpr const char* kCaptionWarning = "警告 - KervEditor";
inline constexpr const char* kCaptionError = "エラー - KervEditor";
inline constexpr const char* kCaptionConfirm = "確認 - KervEditor";
inline constexpr const char* kCaptionInformation = "情報 - KervEditor";

}  // namespace kerv::messages
