#include "app/settings/TKervSettingPages.h"

#include <array>
#include <stdexcept>
#include <string>

#include "app/settings/TKervSettingGroups.h"
#include "app/settings/TKervSettingMessages.h"
#include "platform/CodePage.h"

namespace kerv {
namespace {

using P = TKervSettingPage;
using K = TKervFieldKind;

const TKervSettingPageInfo kPages[] = {
    {P::File, "ファイル"},
    {P::FileDialog, "ファイルダイアログ"},
    {P::Backup, "バックアップ"},
    {P::Editor, "エディタ"},
    {P::View, "表示"},
    {P::InfoBar, "インフォバー"},
    {P::Window, "ウィンドウ"},
    {P::EditMode, "編集モード"},
    {P::Tools, "ツール"},
    {P::VuvEConverter, "VuvEコンバーター"},
    {P::Keys, "キー設定"},
};

const TKervChoice kLockModes[] = {
    {0, "ロックしない"},
    {2, "他のプログラムからの書き込みを禁止する"},
    {3, "他のプログラムからの読み書きを禁止する"},
};
// Listed as the dialog shows them: the save kinds first, "none" last.
const TKervChoice kRegBackupKinds[] = {
    {1, "ファイルを上書き保存する"},
    {2, "バックアップの設定に従ってバックアップファイルを作成する"},
    {0, "定期バックアップをしない"},
};
const TKervChoice kCaretStyles[] = {{0, "縦棒"}, {1, "下線"}};
const TKervChoice kFoldButtonStyles[] = {{0, "標準"}, {1, "別のスタイル"}};
const TKervChoice kStartModes[] = {{0, "指定しない(前回の状態)"}, {1, "最小化"}, {2, "最大化"}};
const TKervChoice kStyleBits[] = {{1, "太字"}, {2, "斜体"}, {4, "下線"}};

constexpr std::span<const TKervChoice> kNone;

constexpr TKervSettingField Field(P page, const char* section, const char* key, K kind, const char* label,
                                  std::span<const TKervChoice> choices = kNone, int noneValue = 0) {
  return {page, section, key, kind, label, choices, noneValue, 0, -1};
}

const TKervSettingField kFields[] = {
    Field(P::File, "Settings", "AllowDoubleOpen", K::Check, "同じファイルを複数のウィンドウで開くことを許可する"),
    Field(P::File, "Settings", "CheckModification", K::Check, "ファイルが他のプログラムで変更されたら再読み込みを確認する"),
    Field(P::File, "Settings", "UTF8NCheck", K::Check, "文字コードの判別でUTF-8N(BOMなし)を調べる"),
    Field(P::File, "Settings", "CheckNull", K::Check, "制御文字を含むファイルを開くときに確認する"),
    Field(P::File, "Settings", "CheckFileSize", K::Check, "大きなファイルを開くときに確認する"),
    Field(P::File, "Settings", "BigFileSize", K::Number, "大きなファイルとみなすサイズ(MB)"),
    Field(P::File, "Settings", "BigFileNoWrap", K::Check, "大きなファイルでは折り返しをしない"),
    Field(P::File, "Settings", "HistoryNum", K::Number, "ファイル履歴の表示数"),
    Field(P::File, "Settings", "FileLockMode", K::Radio, "開いているファイルのロック", kLockModes),

    Field(P::FileDialog, "Settings", "OpenDlgFilter", K::FilterList, "ファイルを開くダイアログのフィルタ"),
    Field(P::FileDialog, "Settings", "SaveDlgFilter", K::FilterList, "ファイルを保存ダイアログのフィルタ"),
    Field(P::FileDialog, "Settings", "OpenFirstFolder", K::Folder, "ファイルを開くダイアログの初期表示フォルダ"),
    Field(P::FileDialog, "Settings", "SaveFirstFolder", K::Folder, "ファイルを保存ダイアログの初期表示フォルダ"),
    Field(P::FileDialog, "Settings", "DialogPlaceBar", K::Check, "ファイルダイアログにプレースバーを表示する"),

    Field(P::Backup, "Backup", "SaveBackup", K::Check, "上書き保存するときにバックアップファイルを作成する"),
    Field(P::Backup, "Backup", "DelphiName", K::Check, "バックアップファイル名を「~」の形式にする"),
    {P::Backup, "Backup", "SaveSameDir", K::NegatedCheck, nullptr, kNone, 0, 0, -1},  // label from the messages
    Field(P::Backup, "Backup", "SaveTarget", K::Folder, "バックアップ作成先"),
    // No button checked means overwrite-save, as a value the list does not know would.
    Field(P::Backup, "Backup", "RegBackupType", K::Radio, "定期バックアップ", kRegBackupKinds, 1),
    Field(P::Backup, "Backup", "RegBackupNewFile", K::Check, "一度も保存していない文書も定期バックアップする"),
    Field(P::Backup, "Backup", "Interval", K::Number, "定期バックアップの間隔(分)"),

    {P::Editor, "Settings", "NoSaveMenu", K::NegatedCheck, nullptr, kNone, 0, 0, -1},  // label from the messages
    Field(P::Editor, "Settings", "SaveWinWrap", K::Check, "ウィンドウ端での折り返しの状態を終了時に保存する"),
    Field(P::Editor, "Settings", "SelDrag", K::Check, "選択範囲をマウスでドラッグして移動できるようにする"),
    Field(P::Editor, "Settings", "KeepCaret", K::Check, "スクロールに合わせてキャレットも移動する"),
    Field(P::Editor, "Settings", "KeepRow", K::Check, "上下の移動でキャレットの桁位置を保つ"),
    Field(P::Editor, "Settings", "KeepSel", K::Check, "編集や整形の後も選択範囲を保つ"),
    Field(P::Editor, "Settings", "UndoNum", K::Number, "元に戻せる回数"),

    Field(P::View, "Settings", "Margin_Left", K::Number, "左の余白"),
    Field(P::View, "Settings", "Margin_Top", K::Number, "上の余白"),
    Field(P::View, "Settings", "Margin_Char", K::Number, "文字の間隔"),
    Field(P::View, "Settings", "Margin_Line", K::Number, "行の間隔"),
    Field(P::View, "Settings", "CaretStyle", K::Choice, "キャレットの形", kCaretStyles),
    Field(P::View, "Settings", "NNToolBarBtn", K::Choice, "ツールバーの折りたたみボタンの形", kFoldButtonStyles),
    Field(P::View, "DefaultFont", "Name", K::Text, "標準のフォント"),
    // Points: the key table has no range for it, the spin box needs one.
    {P::View, "DefaultFont", "Size", K::Number, "標準のフォントのサイズ", kNone, 0, 1, 999},
    Field(P::View, "DefaultFont", "Style", K::StyleBits, "標準のフォントのスタイル", kStyleBits),

    Field(P::InfoBar, "Settings", "UseInfoBar", K::Check, "インフォバーにお知らせを表示する"),
    Field(P::InfoBar, "Settings", "ShowSelSize", K::Check, "選択範囲の文字数とバイト数を表示する"),
    Field(P::InfoBar, "Settings", "InfoBarTime", K::Number, "お知らせを表示する時間(秒)"),

    Field(P::Window, "Settings", "NewKerv_New", K::Check, "新規作成で新しいウィンドウを開く"),
    Field(P::Window, "Settings", "NewKerv_Open", K::Check, "ファイルを開くときに新しいウィンドウを開く"),
    Field(P::Window, "Window", "UseUserPos", K::Check, "起動時の位置を指定する"),
    Field(P::Window, "Window", "UserPosX", K::Number, "左"),
    Field(P::Window, "Window", "UserPosY", K::Number, "上"),
    Field(P::Window, "Window", "UseUserSize", K::Check, "起動時の大きさを指定する"),
    Field(P::Window, "Window", "UserSizeX", K::Number, "幅"),
    Field(P::Window, "Window", "UserSizeY", K::Number, "高さ"),
    Field(P::Window, "Window", "Mode", K::Choice, "起動時のウィンドウの状態", kStartModes),
    Field(P::Window, "Window", "SaveLastWindow", K::Check, "終了時のウィンドウの状態を保存する"),

    Field(P::EditMode, "Settings", "CheckEditMode", K::Check, "ファイルを開いたとき拡張子で編集モードを切り替える"),
    Field(P::EditMode, "Settings", "SaveCheckEditMode", K::Check, "ファイルを保存したとき拡張子で編集モードを切り替える"),
    Field(P::EditMode, "Settings", "NoticeUndoClear", K::Check, "編集モードの切り替えで元に戻す履歴が消えるときに確認する"),

    Field(P::Tools, "Settings", "ShowIcon", K::Check, "ツールメニューにプログラムのアイコンを表示する"),
    Field(P::Tools, "Settings", "AppListNum", K::Number, "ツールメニューに表示するツールの数"),
    Field(P::Tools, "Settings", "TempFile", K::FileName, "一時ファイル名"),
    Field(P::Tools, "Settings", "DelTemp", K::Check, "終了時に一時ファイル削除する"),

    Field(P::VuvEConverter, "Settings", "ImgWinColor", K::Colour, "イメージウィンドウの背景色"),
    Field(P::VuvEConverter, "Settings", "JPEGQuality", K::Number, "JPEGの画質"),
    Field(P::VuvEConverter, "Settings", "PEncoding", K::Check, "プログレッシブJPEGで保存する"),
};

}  // namespace

std::span<const TKervSettingPageInfo> SettingPages() { return kPages; }

std::span<const TKervSettingField> SettingFields() {
  // The two labels the stored keys negate are the messages table's.
  static const auto fields = [] {
    std::array<TKervSettingField, std::size(kFields)> result{};
    for (size_t i = 0; i < std::size(kFields); ++i) {
      result[i] = kFields[i];
      if (result[i].label != nullptr) continue;
      std::string_view key = result[i].key;
      result[i].label = SettingMessage(key == "NoSaveMenu" ? TKervSettingMessage::SaveMenuChanges
                                                          : TKervSettingMessage::BackupToChosenFolder)
                            .c_str();
    }
    return result;
  }();
  return fields;
}

const TKervSettingField* FindSettingField(std::string_view section, std::string_view key) {
  for (const TKervSettingField& field : SettingFields()) {
    if (EqualsIgnoringAsciiCase(field.section, section) && EqualsIgnoringAsciiCase(field.key, key)) return &field;
  }
  return nullptr;
}

const TKervSettingKey& FieldKey(const TKervSettingField& field) {
  const TKervSettingKey* key = FindSettingKey(field.section, field.key);
  // Every field names a key of the table; the tests hold the two tables together.
  if (key == nullptr) throw std::logic_error(std::string("settings field without a key: ") + field.key);
  return *key;
}

}  // namespace kerv
