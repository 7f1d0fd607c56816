#include "app/commands/TKervActionTable.h"

#include <array>
#include <string>
#include <utility>

#include "keys/DefaultKeySet.h"
#include "keys/TKeyTable.h"

namespace kerv {

// Key-set files number the actions as this table does.
static_assert(kActionCount == kKeyActionCount);

namespace {

constexpr const char* kFile = "ファイル";
constexpr const char* kEdit = "編集";
constexpr const char* kFormat = "整形";
constexpr const char* kSearch = "検索";
constexpr const char* kInsert = "挿入";
constexpr const char* kDelete = "削除";
constexpr const char* kCaret = "キャレット移動";
constexpr const char* kTool = "ツール";
constexpr const char* kView = "表示";
constexpr const char* kWindow = "ウィンドウ";
constexpr const char* kHelp = "ヘルプ";
constexpr const char* kInfobar = "インフォバー";

constexpr TKervActionInfo kActions[] = {
    {Act_File_New, "Act_File_New", kFile, "新規作成(&N)", "新規作成|新規に文章を作成します", false},
    {Act_File_open, "Act_File_open", kFile, "開く(&O)...", "開く|ファイルを開きます", false},
    {Act_File_ReOpen, "Act_File_ReOpen", kFile, "開き直す(&R)", "開き直す|ファイルを読み込み直します", false},
    {Act_File_AddOpen, "Act_File_AddOpen", kFile, "追加読み込み(&C)...", "追加読み込み|キャレットの位置にファイルを読み込みます", false},
    {Act_File_OpenFolder, "Act_File_OpenFolder", kFile, "フォルダーを開く(&L)", "フォルダーを開く|ファイルのあるフォルダーを開きます", false},
    {Act_File_save, "Act_File_save", kFile, "上書き保存(&S)", "上書き保存|ファイルを上書き保存します", false},
    {Act_File_SaveAs, "Act_File_SaveAs", kFile, "名前を付けて保存(&A)", "名前を付けて保存|名前と文字コードを指定して保存します", false},
    {Act_File_Print, "Act_File_Print", kFile, "印刷(&P)...", "印刷|文章を印刷します", false},
    {Act_File_Exit, "Act_File_Exit", kFile, "終了(&X)", "終了|ウィンドウを閉じます", false},
    {Act_Edit_Select, "Act_Edit_Select", kEdit, "すべて選択(&A)", "すべて選択|文章全体を選択します", false},
    {Act_Edit_Undo, "Act_Edit_Undo", kEdit, "元に戻す(&U)", "元に戻す|直前の操作を取り消します", false},
    {Act_Edit_Redo, "Act_Edit_Redo", kEdit, "やり直し(&O)", "やり直し|取り消した操作をやり直します", false},
    {Act_Edit_Cut, "Act_Edit_Cut", kEdit, "切り取り(&T)", "切り取り|選択範囲を切り取ります", false},
    {Act_Edit_Copy, "Act_Edit_Copy", kEdit, "コピー(&C)", "コピー|選択範囲をコピーします", false},
    {Act_Edit_AddCut, "Act_Edit_AddCut", kEdit, "追加切り取り(&W)", "追加切り取り|選択範囲をクリップボードの文字列に追加して切り取ります", false},
    {Act_Edit_AddCopy, "Act_Edit_AddCopy", kEdit, "追加コピー(&D)", "追加コピー|選択範囲をクリップボードの文字列に追加します", false},
    {Act_Edit_Paste, "Act_Edit_Paste", kEdit, "貼り付け(&P)", "貼り付け|クリップボードの内容を貼り付けます", false},
    {Act_Edit_BoxSelect, "Act_Edit_BoxSelect", kEdit, "矩形選択(&R)", "矩形選択|矩形選択モードを切り替えます", true},
    {Act_Edit_ReadOnly, "Act_Edit_ReadOnly", kEdit, "編集禁止(&Y)", "編集禁止|編集禁止を切り替えます", true},
    {Act_Edit_CharCount, "Act_Edit_CharCount", kEdit, "文字数カウンター(&C)", "文字数カウンター|文字数とバイト数を数えます", false},
    {Act_Edit_AsciiCode, "Act_Edit_AsciiCode", kEdit, "&ASCIIコード表示", "ASCIIコード表示|選択範囲の文字コードを表示します", false},
    {Act_Edit_AutoIndent, "Act_Edit_AutoIndent", kEdit, "オートインデント(&N)", "オートインデント|オートインデントを切り替えます", true},
    {Act_Edit_BSUnindent, "Act_Edit_BSUnindent", kEdit, "&BSアンイントデント", "BSアンインデント|バックスペースでのアンインデントを切り替えます", true},
    {Act_Fmt_Lower, "Act_Fmt_Lower", kFormat, "小文字(&L)", "小文字|選択範囲の英字を小文字にします", false},
    {Act_Fmt_Upper, "Act_Fmt_Upper", kFormat, "大文字(&U)", "大文字|選択範囲の英字を大文字にします", false},
    {Act_Fmt_ZenToHan, "Act_Fmt_ZenToHan", kFormat, "全角->半角(&H)", "全角->半角|選択範囲の全角文字を半角にします", false},
    {Act_Fmt_HanToZen, "Act_Fmt_HanToZen", kFormat, "半角->全角(&Z)", "半角->全角|選択範囲の半角文字を全角にします", false},
    {Act_Fmt_Hira, "Act_Fmt_Hira", kFormat, "全角ひらがな(&I)", "全角ひらがな|選択範囲のカタカナをひらがなにします", false},
    {Act_Fmt_Kana, "Act_Fmt_Kana", kFormat, "全角カタカナ(&K)", "全角カタカナ|選択範囲のひらがなをカタカナにします", false},
    {Act_Fmt_TypeFormat, "Act_Fmt_TypeFormat", kFormat, "文字種別整形(&F)...", "文字種別整形|文字の種類を選んで変換します", false},
    {Act_Fmt_Num, "Act_Fmt_Num", kFormat, "ナンバリング(&M)...", "ナンバリング|選択範囲の行頭に番号を付けます", false},
    {Act_Fmt_LeadStr, "Act_Fmt_LeadStr", kFormat, "行頭文字入力(&N)...", "行頭文字入力|選択範囲の行頭に文字列を入れます", false},
    {Act_Fmt_DelLead, "Act_Fmt_DelLead", kFormat, "行頭文字削除(&E)", "行頭文字削除|選択範囲の行頭の一文字を削除します", false},
    {Act_Fmt_ElaseEmpLine, "Act_Fmt_ElaseEmpLine", kFormat, "空行除去(&Y)", "空行除去|選択範囲の空行を取り除きます", false},
    {Act_Fmt_ReturnAt, "Act_Fmt_ReturnAt", kFormat, "指定桁改行(&C)...", "指定桁改行|指定した桁で改行します", false},
    {Act_Fmt_FootStr, "Act_Fmt_FootStr", kFormat, "行末文字入力(&O)...", "行末文字入力|選択範囲の行末に文字列を入れます", false},
    {Act_Fmt_TagElase, "Act_Fmt_TagElase", kFormat, "HTMLタグ除去(&T)", "HTMLタグ除去|選択範囲のHTMLタグを取り除きます", false},
    {Act_Fmt_TabToSpace, "Act_Fmt_TabToSpace", kFormat, "タブをスペースに置換(&T)", "タブをスペースに置換|選択範囲のタブをスペースにします", false},
    {Act_Fmt_SpaceToTab, "Act_Fmt_SpaceToTab", kFormat, "スペースをタブに置換(&S）", "スペースをタブに置換|選択範囲のスペースをタブにします", false},
    {Act_Fmt_Indent, "Act_Fmt_Indent", kFormat, "インデント(&I)", "インデント|選択範囲をタブで字下げします", false},
    {Act_Fmt_Outdent, "Act_Fmt_Outdent", kFormat, "アウトデント(&R)", "アウトデント|選択範囲の字下げを戻します", false},
    {Act_Fmt_SPIndent, "Act_Fmt_SPIndent", kFormat, "スペースインデント(&P)", "スペースインデント|選択範囲をスペースで字下げします", false},
    {Act_Fmt_SPOutndent, "Act_Fmt_SPOutndent", kFormat, "スペースアウトデント(&A)", "スペースアウトデント|選択範囲のスペースの字下げを戻します", false},
    {Act_Srch_FindNext, "Act_Srch_FindNext", kSearch, "次を検索(&N)", "次を検索|キーワードを下へ検索します", false},
    {Act_Srch_FindPrev, "Act_Srch_FindPrev", kSearch, "前を検索(&P)", "前を検索|キーワードを上へ検索します", false},
    {Act_Srch_QuickSearch, "Act_Srch_QuickSearch", kSearch, "クイックサーチ(&Q)", "クイックサーチ|選択範囲かキャレットの単語を検索します", false},
    {Act_Srch_ReplaceDown, "Act_Srch_ReplaceDown", kSearch, "次を置換(&D)", "次を置換|下へ検索して置換します", false},
    {Act_Srch_ReplaceUp, "Act_Srch_ReplaceUp", kSearch, "前を置換(&P)", "前を置換|上へ検索して置換します", false},
    {Act_Srch_ReplaceAll, "Act_Srch_ReplaceAll", kSearch, "全置換(&A)", "全置換|すべて置換します", false},
    {Act_Srch_NewWord, "Act_Srch_NewWord", kSearch, "新規検索キーワード", "新規検索キーワード|検索キーワードを入力します", false},
    {Act_Srch_SelSearch, "Act_Srch_SelSearch", kSearch, "選択範囲のみを検索", "選択範囲のみを検索|選択範囲の中だけを検索します", true},
    {Act_Inst_TimeDate, "Act_Inst_TimeDate", kInsert, "日付と時刻(&T)", "日付と時刻|現在の日付と時刻を挿入します", false},
    {Act_Inst_UserName, "Act_Inst_UserName", kInsert, "ユーザー名(&U)", "ユーザー名|ユーザー名を挿入します", false},
    {Act_Inst_Version, "Act_Inst_Version", kInsert, "バージョン情報(&A)", "バージョン情報|バージョン情報を挿入します", false},
    {Act_Inst_FileName, "Act_Inst_FileName", kInsert, "ファイル名(&F)", "ファイル名|ファイル名を挿入します", false},
    {Act_Inst_FilePath, "Act_Inst_FilePath", kInsert, "ファイルパス(&P)", "ファイルパス|ファイルのフルパスを挿入します", false},
    {Act_Inst_Return, "Act_Inst_Return", kInsert, "改行を入力", "改行を入力|改行を入力します", false},
    {Act_Inst_Tab, "Act_Inst_Tab", kInsert, "タブを入力", "タブを入力|タブを入力します", false},
    {Act_Inst_Space, "Act_Inst_Space", kInsert, "スペースを入力", "スペースを入力|半角スペースを入力します", false},
    {Act_Inst_DSpace, "Act_Inst_DSpace", kInsert, "全角スペースを入力", "全角スペースを入力|全角スペースを入力します", false},
    {Act_Inst_FootStr, "Act_Inst_FootStr", kInsert, "行末文字付改行", "行末文字付改行|行末文字を付けて改行します", false},
    {Act_Del_Del, "Act_Del_Del", kDelete, "削除(&D)", "削除|キャレットの文字か選択範囲を削除します", false},
    {Act_Del_BackSpace, "Act_Del_BackSpace", kDelete, "バックスペース", "バックスペース|キャレットの前の文字を削除します", false},
    {Act_Del_LineDel, "Act_Del_LineDel", kDelete, "行削除(&L)", "行削除|キャレットの行を削除します", false},
    {Act_Del_PrevCursor, "Act_Del_PrevCursor", kDelete, "現在位置から文頭まで削除", "現在位置から文頭まで削除|文頭からキャレットまでを削除します", false},
    {Act_Del_AfterCursor, "Act_Del_AfterCursor", kDelete, "現在位置から文末まで削除", "現在位置から文末まで削除|キャレットから文末までを削除します", false},
    {Act_Csr_JumpFirst, "Act_Csr_JumpFirst", kCaret, "文頭に移動(&T)", "文頭に移動|キャレットを文頭に移動します", false},
    {Act_Csr_JumpTo, "Act_Csr_JumpTo", kCaret, "指定行に移動(&L)...", "指定行に移動|指定した行に移動します", false},
    {Act_Csr_JumpLast, "Act_Csr_JumpLast", kCaret, "文末に移動(&B)", "文末に移動|キャレットを文末に移動します", false},
    {Act_Csr_CaretUp, "Act_Csr_CaretUp", kCaret, "上へ移動", "上へ移動|キャレットを上へ移動します", false},
    {Act_Csr_CaretLeft, "Act_Csr_CaretLeft", kCaret, "左へ移動", "左へ移動|キャレットを左へ移動します", false},
    {Act_Csr_Down, "Act_Csr_Down", kCaret, "下へ移動", "下へ移動|キャレットを下へ移動します", false},
    {Act_Csr_Right, "Act_Csr_Right", kCaret, "右へ移動", "右へ移動|キャレットを右へ移動します", false},
    {Act_Tool_ToolSet, "Act_Tool_ToolSet", kTool, "ツールランチャーの設定(&E)...", "ツールランチャーの設定|ツールランチャーのメニューに並べるツールを設定します", false},
    {Act_Tool_VuvE, "Act_Tool_VuvE", kTool, "&VuvEコンバーター...", "VuvEコンバーター|文章を画像に変換します", false},
    {Act_Tool_ImageWindow, "Act_Tool_ImageWindow", kTool, "イメージウィンドウ(&I)...", "イメージウィンドウ|イメージウィンドウを手前に表示します", false},
    {Act_Tool_Setting, "Act_Tool_Setting", kTool, "共通設定(&S)...", "共通設定|共通設定を変更します", false},
    {Act_Tool_EmSet, "Act_Tool_EmSet", kTool, "編集モード設定(&E)", "編集モード設定|編集モードを設定します", false},
    {Act_View_ToolBar, "Act_View_ToolBar", kView, "ツールバー表示(&B)", "ツールバー表示|ツールバーの表示を切り替えます", true},
    {Act_View_ToolBarExp, "Act_View_ToolBarExp", kView, "ツールバー展開(&E)", "ツールバー展開|ツールバーの展開と折りたたみを切り替えます", true},
    {Act_View_SearchBar, "Act_View_SearchBar", kView, "サーチバー表示(&S)", "サーチバー表示|サーチバーの表示を切り替えます", true},
    {Act_View_SearchBarExp, "Act_View_SearchBarExp", kView, "サーチバー展開(&S)", "サーチバー展開|サーチバーの展開と折りたたみを切り替えます", true},
    {Act_View_LineNum, "Act_View_LineNum", kView, "行番号(&L)", "行番号|行番号の表示を切り替えます", true},
    {Act_View_Ruler, "Act_View_Ruler", kView, "ルーラー(&R)", "ルーラー|ルーラーの表示を切り替えます", true},
    {Act_View_Infobar, "Act_View_Infobar", kView, "インフォバー(&F)", "インフォバー|インフォバーの表示を切り替えます", true},
    {Act_View_Statusbar, "Act_View_Statusbar", kView, "ステータスバー(&S)", "ステータスバー|ステータスバーの表示を切り替えます", true},
    {Act_View_ModeList, "Act_View_ModeList", kView, "編集モードリスト(&M)", "編集モードリスト|編集モードリストの表示を切り替えます", true},
    {Act_View_StayTop, "Act_View_StayTop", kView, "常に手前に表示(&T)", "常に手前に表示|ウィンドウを常に手前に表示します", true},
    {Act_View_WordWrap, "Act_View_WordWrap", kView, "ワードラップを行なう(&W)", "ワードラップ|編集モードの桁で折り返します", true},
    {Act_View_WinWrap, "Act_View_WinWrap", kView, "右端で折り返す(&E)", "右端で折り返す|ウィンドウの右端で折り返します", true},
    {Act_View_Font, "Act_View_Font", kView, "一時的なフォントの変更(&F)...", "一時的なフォントの変更|保存しないフォントに変更します", false},
    {Act_View_AddTmpRsv, "Act_View_AddTmpRsv", kView, "簡易強調文字に追加(&A)", "簡易強調文字に追加|選択範囲を簡易強調文字にします", false},
    {Act_View_TmpRsvList, "Act_View_TmpRsvList", kView, "簡易強調文字リスト(&P)...", "簡易強調文字リスト|簡易強調文字を編集します", false},
    {Act_Win_NewWin, "Act_Win_NewWin", kWindow, "新しいウィンドウ(&W)", "新しいウィンドウ|新しいウィンドウを開きます", false},
    {Act_Win_VTile, "Act_Win_VTile", kWindow, "縦に並べる(&V)", "縦に並べる|エディタのウィンドウを上下に並べます", false},
    {Act_Win_HTile, "Act_Win_HTile", kWindow, "横に並べる(&H)", "横に並べる|エディタのウィンドウを左右に並べます", false},
    {Act_Win_Cascade, "Act_Win_Cascade", kWindow, "重ねて表示(&C)", "重ねて表示|エディタのウィンドウを少しずつずらして重ねます", false},
    {Act_Win_Minimize, "Act_Win_Minimize", kWindow, "全て最小化(&I)", "全て最小化|エディタのウィンドウをすべて最小化します", false},
    {Act_Win_Restore, "Act_Win_Restore", kWindow, "全て表示(&S)", "全て表示|最小化したエディタのウィンドウをすべて元に戻します", false},
    {Act_Win_HSplit, "Act_Win_HSplit", kWindow, "横に分割(&O)", "横に分割|ウィンドウを上下に分割します", true},
    {Act_Win_VSplit, "Act_Win_VSplit", kWindow, "縦に分割(&R)", "縦に分割|ウィンドウを左右に分割します", true},
    {Act_help, "Act_help", kHelp, "ヘルプ目次(&C)", "ヘルプ目次|使い方の説明を開きます", false},
    {Act_Csr_SwichActiveEditor, "Act_Csr_SwichActiveEditor", kCaret, "分割エディタ切り替え", "分割エディタ切り替え|分割したエディタを切り替えます", false},
    {Act_Infobar_LastInfo, "Act_Infobar_LastInfo", kInfobar, "直前の情報", "直前の情報|直前の情報をもう一度表示します", false},
    {Act_Infobar_Clipboard, "Act_Infobar_Clipboard", kInfobar, "クリップボード上の文字列", "クリップボード上の文字列|クリップボードの文字列を表示します", false},
    {Act_Infobar_Now, "Act_Infobar_Now", kInfobar, "現在日時", "現在日時|現在の日付と時刻を表示します", false},
    {Act_Win_NextWindow, "Act_Win_NextWindow", kWindow, "次のウィンドウ(&N)", "次のウィンドウ|次のエディタのウィンドウを手前に表示します", false},
    {Act_Win_PrevWindow, "Act_Win_PrevWindow", kWindow, "前のウィンドウ(&P)", "前のウィンドウ|前のエディタのウィンドウを手前に表示します", false},
    {Act_Srch_ClearSearchWordEmphasis, "Act_Srch_ClearSearchWordEmphasis", kSearch, "検索文字の強調の解除", "検索文字の強調の解除|検索文字の強調表示を消します", false},
    {Act_Fmt_Sort, "Act_Fmt_Sort", kFormat, "昇順でソート(&Q)", "昇順でソート|選択範囲の行を昇順に並べます", false},
    {Act_Fmt_ReverseSort, "Act_Fmt_ReverseSort", kFormat, "降順でソート(&D)", "降順でソート|選択範囲の行を降順に並べます", false},
    {Act_File_Change_CharCode, "Act_File_Change_CharCode", kFile, "文字コードの変更(&C)", "文字コードの変更|保存する文字コードを選びます", false},
    {Act_File_Change_RetCode, "Act_File_Change_RetCode", kFile, "改行文字の変更(&C)", "改行文字の変更|保存する改行文字を選びます", false},
};
static_assert(std::size(kActions) == kActionCount);


}  // namespace

std::span<const TKervActionInfo> ActionTable() { return kActions; }

const TKervActionInfo& ActionInfo(TKervAction id) { return kActions[static_cast<int>(id) - 1]; }

std::string_view ShortHint(const TKervActionInfo& info) {
  std::string_view hint = info.hint;
  size_t bar = hint.find('|');
  return bar == std::string_view::npos ? hint : hint.substr(0, bar);
}

std::string_view LongHint(const TKervActionInfo& info) {
  std::string_view hint = info.hint;
  size_t bar = hint.find('|');
  return bar == std::string_view::npos ? hint : hint.substr(bar + 1);
}

std::string_view DefaultShortcut(TKervAction id) {
  // The key sets own the built-in bindings; the texts are made once from them.
  static const std::array<std::string, kActionCount + 1> texts = [] {
    std::array<std::string, kActionCount + 1> made;
    const TActionShortcuts shortcuts = ActionShortcuts(DefaultKeyTable());
    for (size_t action = 1; action <= kActionCount; ++action) made[action] = ShortcutPortableText(shortcuts[action]);
    return made;
  }();
  const int number = static_cast<int>(id);
  return number >= 1 && number <= kActionCount ? std::string_view(texts[static_cast<size_t>(number)]) : std::string_view();
}

}  // namespace kerv
