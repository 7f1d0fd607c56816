#include "tools/ToolMessages.h"

#include <cstddef>
#include <string>

namespace kerv {
namespace {

struct Entry {
  TToolMessage id;
  const char* text;
};

constexpr Entry kMessages[] = {
    {TToolMessage::MenuCaption, "ツールランチャー(&L)"},
    {TToolMessage::MissingTool, "ファイルが見つかりません"},
    {TToolMessage::TempWriteFailed, "一時ファイルの書きこみに失敗しました。"},
    {TToolMessage::ProgramNotFound, "実行ファイルが見つかりません。"},
    {TToolMessage::ProgramNotExecutable, "実行ファイルに実行の許可がありません。"},
    {TToolMessage::LaunchFailed, "ツールを起動できませんでした。"},
    {TToolMessage::ListCaption, "ツールランチャーの設定"},
    {TToolMessage::ColumnName, "ツール名"},
    {TToolMessage::ColumnPath, "ファイルパス"},
    {TToolMessage::AddButton, "追加(&A)"},
    {TToolMessage::ModifyButton, "変更(&M)"},
    {TToolMessage::DeleteButton, "削除"},
    {TToolMessage::UpButton, "上へ(&U)"},
    {TToolMessage::DownButton, "下へ(&W)"},
    {TToolMessage::OkButton, "OK"},
    {TToolMessage::CancelButton, "キャンセル"},
    {TToolMessage::HelpButton, "ヘルプ(&H)"},
    {TToolMessage::DeleteQuestion, "この項目を削除します。よろしいですか？"},
    {TToolMessage::EditorCaption, "ツールの設定"},
    {TToolMessage::ChangePathButton, "変更(&C)"},
    {TToolMessage::ProgramFilter, "アプリケーション(*.exe)|*.exe|すべてのファイル(*.*)|*.*"},
    {TToolMessage::SaveFirstCheck, "編集中のファイルを保存する(&S)"},
    {TToolMessage::SpecialButton, "← 特殊(&E)"},
    {TToolMessage::EnterToolName, "ツール名を入力してください。"},
    {TToolMessage::PathLabel, "実行ファイル(&X)"},
    {TToolMessage::NameLabel, "ツール名(&T)"},
    {TToolMessage::ShortcutLabel, "ショートカットキー(&K)"},
    {TToolMessage::OptionLabel, "オプション(&O)"},
    {TToolMessage::ToolBarButtonTip, "ツールランチャー"},
};
static_assert(sizeof kMessages / sizeof kMessages[0] == static_cast<size_t>(TToolMessage::ToolBarButtonTip) + 1);

constexpr TToolPlaceholderItem kPlaceholders[] = {
    {"%f", "編集中のファイルパス(&P)"},
    {"%n", "編集中のファイル名(&N)"},
    {"%d", "編集中のファイルのフォルダー(&F)"},
    {"%tf", "一時ファイルのパス(&A)"},
    {"%tn", "一時ファイル名(&M)"},
    {"%td", "一時ファイルのフォルダー(&D)"},
};

}  // namespace

const char* ToolMessage(TToolMessage id) {
  for (const Entry& entry : kMessages) {
    if (entry.id == id) return entry.text;
  }
  return "";
}

std::span<const TToolPlaceholderItem> ToolPlaceholderMenu() { return kPlaceholders; }

std::string ToolPlaceholderCaption(const TToolPlaceholderItem& item) {
  return std::string("\"") + item.placeholder + "\" : " + item.text;
}

std::string ToolPlaceholderInsertion(const TToolPlaceholderItem& item) {
  return std::string("\"") + item.placeholder + "\" ";
}

}  // namespace kerv
