#include "editmode/EditModeMessages.h"

#include <iterator>
#include <vector>

#include "platform/MessageTable.h"

namespace kerv {
namespace {

using Entry = TMessageEntry<TEditModeMessage>;

constexpr Entry kMessages[] = {
    {TEditModeMessage::AssociatedNotFound,
     "関連付けられた編集モードが見つかりませんでした。デフォルトの編集モードを使用します。"},
    {TEditModeMessage::AssociatedNotLoaded,
     "関連付けられた編集モードがロードできませんでした。デフォルトの編集モードを使用します。"},
    {TEditModeMessage::LoadFailed, "編集モードのロードに失敗しました。"},
    {TEditModeMessage::UndoClearQuestion,
     "この編集モードに変更すると「元に戻す」がクリアされます。変更してよろしいですか？"},
    {TEditModeMessage::InvalidModeUsed, "不正な編集モードを使おうとしました。 - "},
    {TEditModeMessage::NewCaption, "編集モードの新規作成"},
    {TEditModeMessage::NewPrompt, "作成する編集モードの名前を入力してください。"},
    {TEditModeMessage::CopyCaption, "編集モードのコピー"},
    {TEditModeMessage::CopyPrompt, "コピー後の編集モードの名前を入力してください。"},
    {TEditModeMessage::CopySuffix, "のコピー"},
    {TEditModeMessage::RenameCaption, "編集モードの名前の変更"},
    {TEditModeMessage::RenamePrompt, "新しい編集モードの名前を入力してください。\r\n(変更後の取り消しできません。)"},
    {TEditModeMessage::AlreadyExists, "この名前の編集モードは既に存在します。"},
    {TEditModeMessage::OverwriteQuestion, "この名前の編集モードは既に存在します。上書きしますか？"},
    {TEditModeMessage::CreateFailed, "編集モードの作成に失敗しました。"},
    {TEditModeMessage::CannotDelete, "この編集モードは削除できません"},
    {TEditModeMessage::DeleteQuestion, " - この編集モードを削除します。よろしいですか？"},
    {TEditModeMessage::DeleteWarning, "編集モード定義ファイル(*.em2)も同時に削除され、元に戻すことはできません。"},
    {TEditModeMessage::DeleteFailed, " - 編集モードの削除に失敗しました"},
    {TEditModeMessage::RenameFailed, "編集モードの名前の変更に失敗しました。"},
    {TEditModeMessage::ImportOverwrite, "同じ名前の編集モードがすでに存在します。上書きしてもよろしいですか？"},
    {TEditModeMessage::EnterExtension, "拡張子を入力してください。"},
    {TEditModeMessage::InvalidChars, "次の文字は使えません「 \\ / ; * ? \" < > | 」"},
    {TEditModeMessage::MethodRegExp, "正規表現"},
    {TEditModeMessage::MethodFuzzy, ", あいまい検索"},
    {TEditModeMessage::MethodMatchCase, "大小区別"},
    {TEditModeMessage::MethodWholeWord, "単語単位"},
    {TEditModeMessage::MethodNone, "条件なし"},
    {TEditModeMessage::LevelPrefix, "レベル"},
    {TEditModeMessage::MultiWordCaption, "複数予約語のプロパティ"},
    {TEditModeMessage::SetLevelForAll, "強調レベルの一括設定(&L)"},
    {TEditModeMessage::UseEditorColors, "「エディタ」の配色を使う(&S)"},
    {TEditModeMessage::ShowProportionalFonts, "プロポーショナルフォントも表示(&P)"},
    {TEditModeMessage::BracketShowReserve, "囲み文字内の強調文字を強調表示する(&S)"},
    {TEditModeMessage::SampleSearchString, "検索文字"},
    {TEditModeMessage::SampleTempWord, "簡易強調"},
};

// The colour page lists the entries in this order; each edits one colour set.
constexpr TColorPageEntry kColorPageEntries[] = {
    {"エディター", 0}, {"選択範囲", 1}, {"ルーラー", 2}, {"ルーラー マーク", 3}, {"行番号", 4},
    {"編集行下線", 5}, {"改行マーク", 6}, {"EOF マーク", 7}, {"スペース・タブマーク", 14}, {"URL", 8},
    {"E-Mailアドレス", 9}, {"数値", 10}, {"文字列", 11}, {"コメント", 12}, {"強調レベル1", 13},
    {"強調レベル2", 15}, {"強調レベル3", 16}, {"強調レベル4", 17}, {"強調レベル5", 18}, {"強調レベル6", 19},
    {"強調レベル7", 20}, {"強調レベル8", 21}, {"強調レベル9", 22}, {"強調レベル10", 23}, {"検索文字", 24},
    {"簡易強調", 25},
};

}  // namespace

const std::string& EditModeMessage(TEditModeMessage id) { return MessageText(kMessages, id); }

std::span<const TColorPageEntry> ColorPageEntries() { return kColorPageEntries; }

}  // namespace kerv
