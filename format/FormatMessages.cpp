#include "format/FormatMessages.h"

#include <cstddef>

namespace kerv {
namespace {

struct Entry {
  TFormatMessage id;
  const char* text;
};

constexpr Entry kMessages[] = {
    {TFormatMessage::TypeFormatCaption, "文字種別整形"},
    {TFormatMessage::NumberingCaption, "ナンバリング"},
    {TFormatMessage::AlignLeft, "左揃え"},
    {TFormatMessage::AlignDigits, "桁を揃える"},
    {TFormatMessage::AlignZeroFill, "桁を揃えて 0で埋める"},
    {TFormatMessage::InvalidStartNumber, "開始番号が不正です。0～9999の値を指定してください。"},
    {TFormatMessage::PreviewEllipsis, "           : "},
    {TFormatMessage::LeadStringCaption, "行頭文字の入力"},
    {TFormatMessage::FootStringCaption, "行末文字の入力"},
    {TFormatMessage::LeadStringPrompt, "行頭に追加する文字(&H)"},
    {TFormatMessage::FootStringPrompt, "行末に追加する文字(&F)"},
    {TFormatMessage::LeadStringHint, "（\\s: 空白  \\n: 改行  \\t: タブ文字）"},
    {TFormatMessage::ClearHistoryButton, "履歴削除(&D)"},
    {TFormatMessage::ClearHistoryQuestion, "行頭文字の履歴を削除します。よろしいですか？"},
    {TFormatMessage::IniSaveFailed, "INIファイルの保存に失敗しました"},
    {TFormatMessage::ReturnAtCaption, "改行桁指定"},
    {TFormatMessage::ReturnAtPrompt, "改行させる桁をバイト単位で指定してください (2-1000)"},
    {TFormatMessage::OkButton, "OK"},
    {TFormatMessage::CancelButton, "キャンセル"},
    {TFormatMessage::TypeActionGroup, "実行する整形"},
    {TFormatMessage::TypeHanToZen, "半角→全角(&Z)"},
    {TFormatMessage::TypeZenToHan, "全角→半角(&H)"},
    {TFormatMessage::TypeDelete, "削除(&D)"},
    {TFormatMessage::TypeKindGroup, "文字の種類"},
    {TFormatMessage::TypeELow, "英小文字(&L)"},
    {TFormatMessage::TypeEUpp, "英大文字(&U)"},
    {TFormatMessage::TypeNum, "数字(&N)"},
    {TFormatMessage::TypeKata, "カタカナ(&K)"},
    {TFormatMessage::TypeKana, "ひらがな(&I)"},
    {TFormatMessage::TypeSym, "全記号(&M)"},
    {TFormatMessage::TypeSpace, "スペース(&P)"},
    {TFormatMessage::TypeTab, "タブ(&T)"},
    {TFormatMessage::TypeRet, "改行(&R)"},
    {TFormatMessage::TypeAllText, "文章全体に対して整形する(&A)"},
    {TFormatMessage::StartNumberLabel, "開始番号(&S)"},
    {TFormatMessage::SeparatorLabel, "区切り文字(&P)"},
    {TFormatMessage::AlignmentLabel, "桁揃え(&A)"},
    {TFormatMessage::PreviewLabel, "プレビュー"},
};
static_assert(sizeof kMessages / sizeof kMessages[0] == static_cast<size_t>(TFormatMessage::PreviewLabel) + 1);

}  // namespace

const char* FormatMessage(TFormatMessage id) {
  for (const Entry& entry : kMessages) {
    if (entry.id == id) return entry.text;
  }
  return "";
}

}  // namespace kerv
