#include "document/DocumentMessages.h"

#include <cerrno>
#include <initializer_list>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/MessageTable.h"

namespace kerv {
namespace {

using Entry = TMessageEntry<TDocumentMessage>;

constexpr Entry kMessages[] = {
    {TDocumentMessage::SpecialChars,
     "ファイル内に特殊な文字が含まれています。このまま読み込みますか？" "\r\n" "(特殊な文字は半角スペースに変換され、そのまま保存すると元データが変更されます。)"},
    {TDocumentMessage::SJISOrEUC,
     "Shift-JISとEUCの判別ができませんでした。" "\r\n" "Shift-JISで読み込みますか？(「いいえ」を選択した場合、EUCとして読み込みます。)"},
    {TDocumentMessage::ReplacedChars, "Shift-JISで表せない文字が%1個あったため、「?」に置き換えました。(最初の文字: %2行目)"},
    {TDocumentMessage::EndedAtZero, "%1行目にNULL文字があるため、それ以降は読み込まれていません。"},
    {TDocumentMessage::EndedAtEof, "%1行目にEOF文字(0x1A)があるため、それ以降は読み込まれていません。"},
    {TDocumentMessage::BlankedChars, "制御文字(0x00～0x07)が%1個あったため、半角スペースに置き換えました。(最初の文字: %2行目)"},
    {TDocumentMessage::OddLastByte, "ファイルの最後の1バイトはUTF-16の文字の半分のため、読み込まれていません。"},
    {TDocumentMessage::SaveWillAsk, "このファイルに上書き保存するときは、保存する前に確認します。"},
    {TDocumentMessage::LossyLoadSave,
     "\"%1\"" "\r\n" "このファイルは読み込んだときに内容の一部が失われています。上書き保存すると、次の内容はファイルからも失われます。" "\r\n" "%2" "\r\n" "上書き保存しますか？"},
    {TDocumentMessage::LossTextAfter, "・%1行目の%2から後のテキスト"},
    {TDocumentMessage::EofByteName, "EOF文字(0x1A)"},
    {TDocumentMessage::ZeroByteName, "NULL文字"},
    {TDocumentMessage::LossReplaced, "・Shift-JISで表せない%1個の文字(「?」に置き換わっています。最初の文字: %2行目)"},
    {TDocumentMessage::LossBlanked, "・%1個の制御文字(半角スペースに置き換わっています。最初の文字: %2行目)"},
    {TDocumentMessage::LossOddByte, "・ファイルの最後の半端な1バイト"},
    {TDocumentMessage::QuerySave, "\"%1\"" "\r\n" "編集中のファイル内容が変更されています。保存しますか？"},
    {TDocumentMessage::BigFile,
     "\"%1\"" "\r\n" "ファイルサイズが%2MBを超えています。" "\r\n" "読み込みに時間がかかることがありますが、このまま読み込みますか？"},
    {TDocumentMessage::ReloadQuestion,
     "\"%1\"" "\r\n" "現在編集中のファイルを再読み込みします。" "\r\n" "編集中の内容はすべて破棄されますがよろしいですか？"},
    {TDocumentMessage::ChangedOutside,
     "\"%1\"" "\r\n" "現在編集中のファイルが他のアプリケーションによって更新されました。" "\r\n" "編集中の内容を破棄して、ファイルを開きなおしますか？"},
    {TDocumentMessage::NewerOnDisk,
     "\"%1\"" "\r\n" "ファイルは読み込んだ後に他のアプリケーションによって更新されています。" "\r\n" "上書きして保存しますか？"},
    {TDocumentMessage::LossySave, "\"%1\"" "\r\n" "%2" "\r\n" "このまま保存しますか？"},
    {TDocumentMessage::SaveLosesChars, "%1で表せない文字が%2個あります。保存するとそれらは「?」に置き換わります。"},
    {TDocumentMessage::SaveWidensKana,
     "JISには半角カタカナがないため、%1個の半角カタカナは全角カタカナで保存されます。(最初の文字: %2行目)"},
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
    {TDocumentMessage::ReasonNoSpace, "ディスクの空き容量が足りません。"},
    {TDocumentMessage::ReasonQuota, "ディスクの使用量が上限を超えています。"},
    {TDocumentMessage::ReasonDenied, "アクセスが拒否されました。(アクセス権がありません)"},
    {TDocumentMessage::ReasonReadOnlyFs, "読み取り専用のファイルシステムです。"},
    {TDocumentMessage::ReasonIsFolder, "ファイルではなくフォルダーです。"},
    {TDocumentMessage::ReasonNotFound, "ファイルまたはフォルダーが見つかりません。"},
    {TDocumentMessage::ReasonTooBig, "ファイルが大きすぎます。"},
    {TDocumentMessage::ReasonIo, "入出力エラーが発生しました。"},
    {TDocumentMessage::ReasonNotRegular, "通常のファイルではありません。(パイプやデバイスは開けません)"},
    {TDocumentMessage::ReasonLocked, "ファイルは他のプログラムによってロックされています。"},
    {TDocumentMessage::ReasonNoBackupCopy, "保存する前の内容のコピーをバックアップフォルダーに作れなかったため、保存していません。"},
    {TDocumentMessage::InPlaceCopyKept, "保存する前の内容は次のファイルに残してあります。" "\r\n" "%1"},
    {TDocumentMessage::ReadingCaption, "読み込み"},
    {TDocumentMessage::Reading, "ファイルを読み込んでいます..."},
    {TDocumentMessage::ReadingCancelled, "%1 の読み込みを中止しました"},
};

}  // namespace

const std::string& DocumentMessage(TDocumentMessage id) { return MessageText(kMessages, id); }

std::string FormatDocumentMessage(TDocumentMessage id, std::initializer_list<std::string> arguments) {
  return FillMessage(DocumentMessage(id), arguments);
}

std::string FileErrorReason(const EFileError& error) {
  switch (error.errorNumber()) {
    case ENOSPC: return DocumentMessage(TDocumentMessage::ReasonNoSpace);
    case EDQUOT: return DocumentMessage(TDocumentMessage::ReasonQuota);
    case EACCES:
    case EPERM: return DocumentMessage(TDocumentMessage::ReasonDenied);
    case EROFS: return DocumentMessage(TDocumentMessage::ReasonReadOnlyFs);
    case EISDIR: return DocumentMessage(TDocumentMessage::ReasonIsFolder);
    case ENOENT:
    case ENOTDIR: return DocumentMessage(TDocumentMessage::ReasonNotFound);
    case EFBIG: return DocumentMessage(TDocumentMessage::ReasonTooBig);
    case EIO: return DocumentMessage(TDocumentMessage::ReasonIo);
    default: break;
  }
  if (error.kind() == EFileError::Kind::NotRegular) return DocumentMessage(TDocumentMessage::ReasonNotRegular);
  return error.reason();
}

}  // namespace kerv
