#include "app/settings/TKervSettingMessages.h"

#include <vector>

#include "platform/MessageTable.h"

namespace kerv {
namespace {

using Entry = TMessageEntry<TKervSettingMessage>;

constexpr Entry kMessages[] = {
    {TKervSettingMessage::BackupFolderInvalid, "バックアップ作成先に無効なフォルダが指定されています。"},
    {TKervSettingMessage::TempFileInvalidChars, "次の文字は使えません「 \\ / ; * ? \" < > | 」"},
    {TKervSettingMessage::OpenFirstFolderInvalid,
     "ファイルを開くダイアログの初期表示フォルダに無効なフォルダが指定されています。"},
    {TKervSettingMessage::SaveFirstFolderInvalid,
     "ファイルを保存ダイアログの初期表示フォルダに無効なフォルダが指定されています。"},
    {TKervSettingMessage::FilterNameEmpty, "フィルタ名が入力されていません。"},
    {TKervSettingMessage::FilterDefinitionEmpty, "フィルタ定義が入力されていません。"},
    {TKervSettingMessage::FilterNameHasBar, "フィルタ名に | は使えません。"},
    {TKervSettingMessage::FilterBadExtension,
     "フィルタに拡張子では使えない文字が含まれています" "\r\n" "（次の文字は使えません   \\ / , ; \" < > | ? ）"},
    {TKervSettingMessage::ResetOpenFilterQuestion,
     "ファイルを開くダイアログ" "のフィルタ設定をデフォルトに戻します。よろしいですか？"},
    {TKervSettingMessage::ResetSaveFilterQuestion,
     "ファイルを保存ダイアログ" "のフィルタ設定をデフォルトに戻します。よろしいですか？"},
    {TKervSettingMessage::IniSaveFailed, "INIファイルの保存に失敗しました"},
    {TKervSettingMessage::ApplyWithoutSaving, "変更を保存しないで今回だけ反映する"},
    {TKervSettingMessage::SaveMenuChanges, "メインウィンドウのメニューでの設定の変更を保存する"},
    {TKervSettingMessage::BackupToChosenFolder, "指定したフォルダーにバックアップファイルを作成する"},
    {TKervSettingMessage::ResetFilterButton, "フィルターをデフォルトに戻す(&T)"},
    {TKervSettingMessage::DialogCaption, "共通設定"},
    {TKervSettingMessage::OkButton, "OK"},
    {TKervSettingMessage::CancelButton, "キャンセル"},
    {TKervSettingMessage::BrowseButton, "参照(&R)..."},
    {TKervSettingMessage::ColourButton, "色の選択(&C)..."},
    {TKervSettingMessage::FilterNameColumn, "フィルタ名"},
    {TKervSettingMessage::FilterDefinitionColumn, "フィルタ定義"},
    {TKervSettingMessage::FilterAddButton, "追加(&A)"},
    {TKervSettingMessage::FilterChangeButton, "変更(&M)"},
    {TKervSettingMessage::FilterDeleteButton, "削除(&D)"},
    {TKervSettingMessage::FilterUpButton, "上へ(&U)"},
    {TKervSettingMessage::FilterDownButton, "下へ(&W)"},
    {TKervSettingMessage::ToolListButton, "ツールランチャーの設定(&L)..."},
};

}  // namespace

const std::string& SettingMessage(TKervSettingMessage id) { return MessageText(kMessages, id); }

}  // namespace kerv
