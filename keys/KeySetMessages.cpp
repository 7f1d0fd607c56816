#include "keys/KeySetMessages.h"

#include <cstddef>

namespace kerv {
namespace {

struct Entry {
  TKeySetMessage id;
  const char* text;
};

constexpr Entry kMessages[] = {
    {TKeySetMessage::DamagedType, "キーセットファイルではありません（種類の記録が違います）。"},
    {TKeySetMessage::DamagedShort, "キーセットファイルのキー設定が足りません（ファイルが壊れています）。"},
    {TKeySetMessage::DamagedNotHex, "キーセットファイルのキー設定に不正な文字があります（ファイルが壊れています）。"},
    {TKeySetMessage::Unreadable, "キーセットファイルを読み込めませんでした。"},
    {TKeySetMessage::UsingDefault, "デフォルトのキー設定を使います。"},
    {TKeySetMessage::NotOverwritten, "壊れたキーセットファイルは上書きしません。"},
    {TKeySetMessage::SaveFailed, "キーセットファイルの保存に失敗しました。"},
    {TKeySetMessage::CannotEdit, "このキーセットは変更できません。"},
    {TKeySetMessage::NoBinding, "(なし)"},
    {TKeySetMessage::AssignButton, "↑変更"},
    {TKeySetMessage::ReleaseButton, "↓解除"},
    {TKeySetMessage::DescriptionLabel, "この機能の説明"},
    {TKeySetMessage::AddButton, "追加(&A)"},
    {TKeySetMessage::RenameButton, "名前を変更(&R)"},
    {TKeySetMessage::DeleteButton, "削除(&D)"},
    {TKeySetMessage::CreateCaption, "キー設定定義ファイルの作成"},
    {TKeySetMessage::CreatePrompt, "キー設定の名前を入力してください"},
    {TKeySetMessage::CopyCaption, "キー設定のコピー"},
    {TKeySetMessage::CopyPrompt, "コピー後のキー設定の名前を入力してください"},
    {TKeySetMessage::RenameCaption, "キー設定の名前の変更"},
    {TKeySetMessage::RenamePrompt, "新しいキー設定の名前を入力してください。"},
    {TKeySetMessage::AlreadyExists, "この名前のキーセットは既に存在します。"},
    {TKeySetMessage::InvalidChars, "次の文字は使えません「 \\ / ; * ? \" < > | 」"},
    {TKeySetMessage::DeleteQuestion, " - このキーセットを削除します。よろしいですか？"},
    {TKeySetMessage::DeleteWarning, "キーセットファイル(*.tks)も同時に削除されます。"},
    {TKeySetMessage::DeleteFailed, " - キーセットファイルの削除に失敗しました。"},
    {TKeySetMessage::RenameFailed, "キーセットの名前の変更に失敗しました。"},
    {TKeySetMessage::CategoryFile, "ファイル"},
    {TKeySetMessage::CategoryEdit, "編集"},
    {TKeySetMessage::CategoryFormat, "整形機能"},
    {TKeySetMessage::CategorySearch, "検索"},
    {TKeySetMessage::CategoryInsert, "挿入"},
    {TKeySetMessage::CategoryDelete, "削除"},
    {TKeySetMessage::CategoryCaret, "キャレット移動"},
    {TKeySetMessage::CategoryTool, "ツール"},
    {TKeySetMessage::CategoryView, "表示"},
    {TKeySetMessage::CategoryWindow, "ウィンドウ"},
    {TKeySetMessage::CategoryInfobar, "インフォバー"},
    {TKeySetMessage::CategoryHelp, "ヘルプ"},
    {TKeySetMessage::CopyButton, "コピー(&C)"},
    {TKeySetMessage::KeySetLabel, "キーセット(&K)"},
    {TKeySetMessage::ActionTreeLabel, "機能"},
    {TKeySetMessage::KeyListLabel, "キー"},
    {TKeySetMessage::BindingLabel, "割り当て"},
    {TKeySetMessage::PressKeyLabel, "キーを押して選ぶ(&P)"},
    {TKeySetMessage::HeldByLabel, "このキーの機能: "},
    {TKeySetMessage::HeldByTool, "ツール "},
};
static_assert(sizeof kMessages / sizeof kMessages[0] == static_cast<size_t>(TKeySetMessage::HeldByTool) + 1);

}  // namespace

const char* KeySetMessage(TKeySetMessage id) {
  for (const Entry& entry : kMessages) {
    if (entry.id == id) return entry.text;
  }
  return "";
}

}  // namespace kerv
