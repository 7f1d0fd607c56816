#include "image/ImageMessages.h"

#include <cstddef>
#include <vector>

#include "platform/MessageTable.h"

namespace kerv {
namespace {

using Entry = TMessageEntry<TImageMessage>;

constexpr Entry kMessages[] = {
    {TImageMessage::BackgroundNotFound, "背景ファイルが見つかりません。再入力してください"},
    {TImageMessage::BackgroundOpenFailed, "背景ファイルのオープンに失敗しました"},
    {TImageMessage::NoOutputFolder, "画像の出力先フォルダが指定されていません。"},
    {TImageMessage::NoText, "変換するテキストがありません。"},
    {TImageMessage::SaveFailed, "画像の保存に失敗しました。"},
    {TImageMessage::ContinuousFailed, "連続変換に失敗しました。"},
    {TImageMessage::ContinuousConfirm, "画像への連続変換を開始します。\r\n出力先："},
    {TImageMessage::ContinuousDone, "連続変換が終了しました。"},
    {TImageMessage::Converting, "変換中..."},
    {TImageMessage::ReadFailed, "読み込みに失敗しました"},
    {TImageMessage::IniSaveFailed, "INIファイルの保存に失敗しました"},
    {TImageMessage::ClearQuestion, "画像をクリアしますか？"},
    {TImageMessage::FolderPrompt, "画像の出力先を指定してください。"},
    {TImageMessage::EmptyImage, "画像の大きさが %1 × %2 ピクセルです。幅と高さを 1 ピクセル以上にしてください。"},
    {TImageMessage::ImageTooLarge, "画像が大きすぎます（%1 × %2 ピクセル）。幅と高さを小さくしてください。"},
    {TImageMessage::OutOfMemory, "画像（%1 × %2 ピクセル）を作るためのメモリーが足りません。"},
    {TImageMessage::StemDirective,
     "ファイル名に使えない「%1」が含まれています。「%」を文字として使うときは「%%」と書いてください。"},
    {TImageMessage::JpegFailed, "JPEG の書き出しに失敗しました（%1）。"},
    {TImageMessage::JpegReadFailed, "JPEG の読み込みに失敗しました（%1）。"},
    {TImageMessage::PngFailed, "PNG の圧縮に失敗しました（%1）。"},
    {TImageMessage::TgsTooShort, "設定ファイルが短すぎます（%1 バイト。852 バイト必要です）。"},
    {TImageMessage::SettingsSaveFailed, "設定ファイルの保存に失敗しました。"},
    {TImageMessage::DialogCaption, "VuvEコンバーター"},
    {TImageMessage::ImageWindowCaption, "イメージウィンドウ"},
    {TImageMessage::TabLayout, "レイアウト"},
    {TImageMessage::TabDecoration, "飾りつけ"},
    {TImageMessage::TabContinuous, "連続変換"},
    {TImageMessage::TabText, "変換する文字列"},
    {TImageMessage::GroupRange, "変換範囲"},
    {TImageMessage::RangeAllText, "テキスト全体(&A)"},
    {TImageMessage::RangeSelection, "選択部分のみ(&S)"},
    {TImageMessage::GroupAlign, "文字の位置揃え"},
    {TImageMessage::AlignLeft, "左揃え(&L)"},
    {TImageMessage::AlignCenter, "中央揃え(&C)"},
    {TImageMessage::AlignRight, "右揃え(&R)"},
    {TImageMessage::VAlignCenter, "縦方向中央揃え(&V)"},
    {TImageMessage::GroupSize, "サイズ"},
    {TImageMessage::SizeGiven, "任意指定(&R)"},
    {TImageMessage::SizeFitText, "テキストにあわせる(&T)"},
    {TImageMessage::SizeFitPicture, "背景画像にあわせる(&G)"},
    {TImageMessage::SizeWidth, "横"},
    {TImageMessage::SizeHeight, "縦"},
    {TImageMessage::ExpandMargin, "余白分を拡張(&E)"},
    {TImageMessage::GroupMargin, "余白"},
    {TImageMessage::MarginLeft, "左"},
    {TImageMessage::MarginTop, "上"},
    {TImageMessage::MarginRight, "右"},
    {TImageMessage::MarginBottom, "下"},
    {TImageMessage::FillMargin, "余白を塗りつぶす(&D)"},
    {TImageMessage::BackColorLabel, "背景色"},
    {TImageMessage::FillColorLabel, "余白塗りつぶし色"},
    {TImageMessage::ChangeColorButton, "変更"},
    {TImageMessage::UseBackImage, "背景に画像を使用(&I)"},
    {TImageMessage::BackImagePath, "画像ファイルのフルパス(&P)"},
    {TImageMessage::TileBackImage, "並べて描写(&T)"},
    {TImageMessage::FontButton, "フォント変更(&F)"},
    {TImageMessage::FontColorLabel, "文字色"},
    {TImageMessage::ContinuousCheck, "連続変換を行なう(&C)"},
    {TImageMessage::GroupLineRange, "変換設定"},
    {TImageMessage::FirstLine, "開始行(&S)"},
    {TImageMessage::LastLine, "終了行(&E)"},
    {TImageMessage::GroupOutput, "出力設定"},
    {TImageMessage::FileNameStem, "ファイル名(&F)"},
    {TImageMessage::NumberHint, "000-xxx."},
    {TImageMessage::OutputFolder, "出力先フォルダー(&O)"},
    {TImageMessage::PreviewButton, "プレビュー更新(&R)"},
    {TImageMessage::ShowLineNum, "行番号表示(&L)"},
    {TImageMessage::ConvertButton, "変換開始"},
    {TImageMessage::CancelButton, "キャンセル"},
    {TImageMessage::LoadSettingsButton, "設定読込"},
    {TImageMessage::SaveSettingsButton, "設定保存"},
    {TImageMessage::HelpButton, "ヘルプ"},
    {TImageMessage::MenuFile, "ファイル(&F)"},
    {TImageMessage::MenuSaveAs, "名前を付けて保存(&A)..."},
    {TImageMessage::MenuClose, "閉じる(&C)"},
    {TImageMessage::MenuEdit, "編集(&E)"},
    {TImageMessage::MenuClear, "クリア(&D)"},
    {TImageMessage::MenuCopy, "クリップボードへコピー(&C)"},
    {TImageMessage::SaveImageFilter,
     "BMP:16色(*.bmp)|*.bmp|BMP:256色(*.bmp)|*.bmp|BMP:24bit(*.bmp)|*.bmp|BMP:モノクロ（*.bmp）|*.bmp|"
     "PNG(*.png)|*.png|JPEG（*.jpg）|*.jpg"},
    {TImageMessage::SettingsSaveFilter, "VuvEコンバータ設定ファイル(*.tg2)|*.tg2"},
    {TImageMessage::SettingsOpenFilter, "VuvEコンバータ設定ファイル(*.tg2;*tgs)|*.tgs;*.tg2"},
    {TImageMessage::BackgroundFilter,
     "背景画像ファイル(*.bmp;*.jpg;*.jpeg;*.png)|*.bmp;*.jpg;*.jpeg;*.png|BMPファイル(*.bmp)|*.bmp|"
     "JPEGファイル(*.jpg;*.jpeg)|*.jpg;*.jpeg|PNGファイル(*.png)|*.png"},
};
static_assert(sizeof kMessages / sizeof kMessages[0] == static_cast<size_t>(TImageMessage::BackgroundFilter) + 1);

}  // namespace

const std::string& ImageMessage(TImageMessage id) { return MessageText(kMessages, id); }

std::string FormatImageMessage(TImageMessage id, std::initializer_list<std::string> arguments) {
  return FillMessage(ImageMessage(id), arguments);
}

}  // namespace kerv
