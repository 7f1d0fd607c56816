#include "print/PrintMessages.h"

#include <cstddef>

namespace kerv {
namespace {

struct Entry {
  TPrintMessage id;
  const char* text;
};

constexpr Entry kMessages[] = {
    {TPrintMessage::ProgressPrinting, "印刷中"},
    {TPrintMessage::ProgressPreviewing, "プレビューを作成中"},
    {TPrintMessage::ProgressCaption, "TStringsPrinter"},
    {TPrintMessage::ProgressCancel, "Cancel"},
    {TPrintMessage::PrinterUnknown, "不明"},
    {TPrintMessage::PreviewCaption, "Preview"},
    {TPrintMessage::PreviewFitHeight, "高さに揃える(&H)"},
    {TPrintMessage::PreviewFitWidth, "幅に揃える(&W)"},
    {TPrintMessage::PreviewActualSize, "&100%表示"},
    {TPrintMessage::PreviewClose, "閉じる(&C)"},
    {TPrintMessage::DialogCaption, "印刷"},
    {TPrintMessage::UseEditorFont, "現在のエディターのフォントを使用する(&U)"},
    {TPrintMessage::FontButton, "フォント設定(&F)"},
    {TPrintMessage::PrinterButton, "プリンター設定(&P)"},
    {TPrintMessage::MarginGroup, "余白（mm単位）"},
    {TPrintMessage::MarginTop, "上"},
    {TPrintMessage::MarginBottom, "下"},
    {TPrintMessage::MarginLeft, "左"},
    {TPrintMessage::MarginRight, "右"},
    {TPrintMessage::ColumnGroup, "段組"},
    {TPrintMessage::ColumnCountLabel, "段数(&C)"},
    {TPrintMessage::ColumnSpaceLabel, "段間余白(&M)"},
    {TPrintMessage::MillimetreUnit, "mm"},
    {TPrintMessage::HeaderLabel, "ヘッダー文字(&H)"},
    {TPrintMessage::FooterLabel, "フッター文字(&F)"},
    {TPrintMessage::AlignNone, "印刷しない"},
    {TPrintMessage::AlignLeft, "左端に印刷"},
    {TPrintMessage::AlignCenter, "中央に印刷"},
    {TPrintMessage::AlignRight, "右端に印刷"},
    {TPrintMessage::LineNumberBox, "行番号を印刷する(&L)"},
    {TPrintMessage::CopiesLabel, "印刷部数"},
    {TPrintMessage::CopiesUnit, "部"},
    {TPrintMessage::CollateBox, "部単位で並べる(&B)"},
    {TPrintMessage::SpecialButton, "←特殊"},
    {TPrintMessage::VariablePage, "%p : ページ番号(&N)"},
    {TPrintMessage::VariableYear, "%y : 年(&Y)"},
    {TPrintMessage::VariableMonth, "%m : 月(&M)"},
    {TPrintMessage::VariableDay, "%d : 日(&D)  "},
    {TPrintMessage::VariableTime, "%t : 時刻(&T)"},
    {TPrintMessage::VariableFileName, "%F : ファイル名(&F)"},
    {TPrintMessage::VariableFullPath, "%f : ファイルフルパス(&U)"},
    {TPrintMessage::PreviewButton, "プレビュー(&W)"},
    {TPrintMessage::PrintButton, "印刷開始"},
    {TPrintMessage::CancelButton, "キャンセル"},
    {TPrintMessage::HelpButton, "ヘルプ(&H)"},
    {TPrintMessage::FontLabelName, "フォント名: "},
    {TPrintMessage::FontLabelSize, " /サイズ: "},
    {TPrintMessage::PrinterLabel, "プリンター名："},
    {TPrintMessage::PrinterSetupFailed,
     "エラーが発生しました。プリンターが正しくインストールされているか確認してください"},
    {TPrintMessage::PdfPrinterName, "PDF ファイルに出力"},
    {TPrintMessage::PdfSaveCaption, "PDF ファイルに印刷"},
    {TPrintMessage::PdfFilter, "PDF ファイル (*.pdf)"},
    {TPrintMessage::PreviewPrint, "印刷(&P)"},
    {TPrintMessage::PreviewMore, "+"},
    {TPrintMessage::NoRoomForText,
     "本文を印刷する幅がありません。余白、段数、段間余白、行番号の設定を見直してください。"},
    {TPrintMessage::NoRoomForRow,
     "本文を1行も印刷できる高さがありません。余白、行間、フォント、ヘッダーとフッターの設定を見直してください。"},
    {TPrintMessage::PrintStartFailed, "印刷を開始できませんでした。プリンターまたは出力先を確認してください。"},
    {TPrintMessage::PrintPageFailed, "印刷中にページを送れませんでした。"},
    {TPrintMessage::PrintEndFailed, "印刷を完了できませんでした。出力が書き込まれていない可能性があります。"},
};
static_assert(sizeof kMessages / sizeof kMessages[0] == static_cast<size_t>(TPrintMessage::PrintEndFailed) + 1);

}  // namespace

const char* PrintMessage(TPrintMessage id) {
  for (const Entry& entry : kMessages) {
    if (entry.id == id) return entry.text;
  }
  return "";
}

}  // namespace kerv
