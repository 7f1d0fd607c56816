#include "app/settings/TKervSettingGroups.h"

#include <array>
#include <utility>

namespace kerv {
namespace {

// Shift_JIS, as kerv.ini holds them; one filter (name and patterns) a line.
const char* const kOpenDlgFilter =
    "\x83\x65\x83\x4C\x83\x58\x83\x67\x83\x74\x83\x40\x83\x43\x83\x8B(*.txt;*.htm;*.html;*.css;*.xml)|*.txt;*.htm;*.html;*.css;*.xml|"  // テキストファイル
    "\x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x7E\x83\x93\x83\x4F\x8A\xD6\x98\x41(*.vbp;*.frm;*.cls;*.pas;*.dpr;*.c;*.cpp;*.h;*.hpp;*.java;*.php;*.uva;*.as;*.cgi;*.pl;*.vb;*.cs;*.vbs;*.js)|*.vbp;*.frm;*.cls;*.pas;*.dpr;*.c;*.cpp;*.h;*.hpp;*.java;*.php;*.uva;*.as;*.cgi;*.pl;*.vb;*.cs;*.vbs;*.js|"  // プログラミング関連
    "\x83\x56\x83\x58\x83\x65\x83\x80\x8A\xD6\x98\x41(*.ini;*.inf;*.bat;*.log)|*.ini;*.inf;*.bat;*.log|"  // システム関連
    "\x83\x65\x83\x4C\x83\x58\x83\x67(*.txt)|*.txt|"  // テキスト
    "HTML(*.htm;*.html)|*.htm;*.html|"
    "\x83\x58\x83\x5E\x83\x43\x83\x8B\x83\x56\x81\x5B\x83\x67(*.css)|*.css|"  // スタイルシート
    "XML(*.xml)|*.xml|"
    "CGI(*.cgi;*pl)|*.cgi;*.pl|"
    "VisualBasic(*.vbp;*.frm;*.bas;*.cls)|*.vbp;*.frm;*.bas;*.cls|"
    "VisualBasic.NET(*.vb)|*.vb|"
    "Delphi(*.pas;*.dpr)|*.pas;*.dpr|"
    "C/C++(*.c;*.cpp;*.h;*.hpp)|*.c;*.cpp;*.h;*.hpp|"
    "C#(*.cs)|*.cs|"
    "JAVA(*.java)|*.java|"
    "JavaScript(*.js)|*.js|"
    "VBScript(*.vbs)|*.vbs|"
    "PHP(*.php)|*.php|"
    "Uva(*.uva)|*.uva|"
    "HSP(*.as)|*.as|"
    "\x90\xDD\x92\xE8\x83\x74\x83\x40\x83\x43\x83\x8B(*.ini;*.inf;*.bat)|*.ini;*.inf;*.bat|"  // 設定ファイル
    "\x83\x8D\x83\x4F\x83\x74\x83\x40\x83\x43\x83\x8B(*.log)|*.log|"  // ログファイル
    "\x82\xB7\x82\xD7\x82\xC4\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B(*.*)|*.*"  // すべてのファイル
    ;
const char* const kSaveDlgFilter =
    "\x83\x65\x83\x4C\x83\x58\x83\x67(*.txt)|*.txt|"  // テキスト
    "HTML(*.html)|*.html|"
    "HTML(*.htm)|*.htm|"
    "\x83\x58\x83\x5E\x83\x43\x83\x8B\x83\x56\x81\x5B\x83\x67(*.css)|*.css|"  // スタイルシート
    "XML(*.xml)|*.xml|"
    "CGI(*.cgi)|*.cgi|"
    "Perl(*.pl)|*.pl|"
    "VB\x83\x76\x83\x8D\x83\x57\x83\x46\x83\x4E\x83\x67(*.vbp)|*.vbp|"  // VBプロジェクト
    "VB\x83\x74\x83\x48\x81\x5B\x83\x80(*.frm)|*.frm|"  // VBフォーム
    "VB\x95\x57\x8F\x80\x83\x82\x83\x57\x83\x85\x81\x5B\x83\x8B(*.bas)|*.bas|"  // VB標準モジュール
    "VB\x83\x4E\x83\x89\x83\x58(*.cls)|*.cls|"  // VBクラス
    "VisualBasic.NET(*.vb)|*.vb|"
    "Delphi\x83\x76\x83\x8D\x83\x57\x83\x46\x83\x4E\x83\x67(*.dpr)|*.dpr|"  // Delphiプロジェクト
    "Delphi\x83\x86\x83\x6A\x83\x62\x83\x67(*.pas)|*.pas|"  // Delphiユニット
    "C(*.c)|*.c|"
    "C++(*.cpp)|*.cpp|"
    "C/C++\x83\x77\x83\x62\x83\x5F(*.h)|*.h|"  // C/C++ヘッダ
    "C#(*.cs)|*.cs|"
    "JAVA(*.java)|*.java|"
    "JavaScript(*.js)|*.js|"
    "VBScript(*.vbs)|*.vbs|"
    "PHP(*.php)|*.php|"
    "Uva(*.uva)|*.uva|"
    "HSP(*.as)|*.as|"
    "\x90\xDD\x92\xE8\x83\x74\x83\x40\x83\x43\x83\x8B(*.ini)|*.ini|"  // 設定ファイル
    "\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5B\x83\x8B\x8F\xEE\x95\xF1(*.inf)|*.inf|"  // インストール情報
    "\x83\x6F\x83\x62\x83\x60\x83\x74\x83\x40\x83\x43\x83\x8B(*.bat)|*.bat|"  // バッチファイル
    "\x83\x56\x83\x58\x83\x65\x83\x80\x83\x74\x83\x40\x83\x43\x83\x8B(*.sys)|*.sys|"  // システムファイル
    "\x83\x8D\x83\x4F\x83\x74\x83\x40\x83\x43\x83\x8B(*.log)|*.log|"  // ログファイル
    "\x82\xB7\x82\xD7\x82\xC4\x82\xCC\x83\x74\x83\x40\x83\x43\x83\x8B(*.*)|*.*"  // すべてのファイル
    ;
const char* const kDefaultKeySet = "\x83\x66\x83\x74\x83\x48\x83\x8B\x83\x67";      // デフォルト
const char* const kDefaultFontName = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック

using G = TKervSettingGroup;
using R = TKervValueRule;

// The field accessor checks at compile time that the field has the key's type.
#define KERV_FIELD(GROUP, FIELD, TYPE)                                                          \
  [](TKervSetting& s) {                                                                         \
    return TKervFieldRef(std::in_place_type<TYPE*>, &static_cast<TKerv##GROUP##Setting&>(s).FIELD); \
  }
#define KERV_KEY(GROUP, SECTION, NAME, FIELD, KIND, TYPE, DEF, TEXT, MIN, MAX, RULE) \
  {static_cast<int>(G::GROUP), SECTION, NAME, TKervKeyType::KIND, DEF, TEXT, MIN, MAX, RULE, KERV_FIELD(GROUP, FIELD, TYPE)}
#define KEY_B(GROUP, SECTION, FIELD, DEF) \
  KERV_KEY(GROUP, SECTION, #FIELD, FIELD, Bool, bool, DEF, nullptr, kNoMin, kNoMax, R::AsRead)
#define KEY_I(GROUP, SECTION, FIELD, DEF, MIN, MAX, RULE) \
  KERV_KEY(GROUP, SECTION, #FIELD, FIELD, Int, int, DEF, nullptr, MIN, MAX, RULE)
#define KEY_S(GROUP, SECTION, FIELD, TEXT) \
  KERV_KEY(GROUP, SECTION, #FIELD, FIELD, Str, std::string, 0, TEXT, kNoMin, kNoMax, R::AsRead)
#define KEY_FLAG(NAME, BIT)                                                                        \
  {static_cast<int>(G::Search), "SearchOptions", NAME, TKervKeyType::Bool, 0, nullptr, kNoMin, kNoMax, R::AsRead, \
   [](TKervSetting& s) {                                                                           \
     return TKervFieldRef(TKervFlagBit{&static_cast<TKervSearchSetting&>(s).SearchFlags, BIT});   \
   }}

// Every key of kerv.ini that the manager's groups own. Within a group the
// order is the order of writing (the search options' order is the file's).
const TKervSettingKey kKeys[] = {
    KEY_B(Backup, "Backup", SaveBackup, 0),
    KEY_B(Backup, "Backup", DelphiName, 0),
    KEY_B(Backup, "Backup", SaveSameDir, 0),
    KEY_S(Backup, "Backup", SaveTarget, nullptr),  // the system's temporary folder
    KEY_I(Backup, "Backup", RegBackupType, 0, kNoMin, kNoMax, R::RegBackupKind),
    KEY_B(Backup, "Backup", RegBackupNewFile, 1),
    KEY_I(Backup, "Backup", Interval, 30, 5, 60, R::AtLeastOne),

    KEY_B(EachProcess, "Settings", WindowWrap, 0),
    KEY_B(EachProcess, "Settings", BaseBar, 1),
    KEY_B(EachProcess, "Settings", SearchBar, 1),
    KEY_B(EachProcess, "Settings", BaseExpanded, 1),
    KEY_B(EachProcess, "Settings", SearchExpanded, 1),
    KEY_B(EachProcess, "Settings", ShowStatusBar, 1),
    KEY_B(EachProcess, "Settings", ShowInfoBar, 1),
    KEY_B(EachProcess, "Settings", ShowModeList, 1),
    KEY_I(EachProcess, "Window", LastPosX, 100, kNoMin, kNoMax, R::AsRead),
    KEY_I(EachProcess, "Window", LastPosY, 100, kNoMin, kNoMax, R::AsRead),
    KEY_I(EachProcess, "Window", LastSizeX, 640, kNoMin, kNoMax, R::NotNegative),
    KEY_I(EachProcess, "Window", LastSizeY, 300, kNoMin, kNoMax, R::NotNegative),
    KEY_I(EachProcess, "Window", LastWindowState, 0, kNoMin, kNoMax, R::AsRead),

    KEY_B(EditMode, "Settings", CheckEditMode, 1),
    KEY_B(EditMode, "Settings", SaveCheckEditMode, 0),
    KEY_B(EditMode, "Settings", NoticeUndoClear, 0),

    KEY_B(Editor, "Settings", NoSaveMenu, 0),
    KEY_B(Editor, "Settings", SaveWinWrap, 0),
    KEY_B(Editor, "Settings", SelDrag, 1),
    KEY_B(Editor, "Settings", KeepCaret, 0),
    KEY_B(Editor, "Settings", KeepRow, 1),
    KEY_B(Editor, "Settings", KeepSel, 1),
    KEY_I(Editor, "Settings", UndoNum, 30000, 64, 32767, R::NotNegative),

    KEY_B(File, "Settings", AllowDoubleOpen, 0),
    KEY_B(File, "Settings", BigFileNoWrap, 0),
    KEY_B(File, "Settings", CheckModification, 1),
    KEY_B(File, "Settings", UTF8NCheck, 1),
    KEY_B(File, "Settings", CheckNull, 0),
    KEY_B(File, "Settings", CheckFileSize, 0),
    KEY_I(File, "Settings", BigFileSize, 10, 1, 1000, R::AtLeastOne),
    KEY_I(File, "Settings", HistoryNum, 8, 0, 20, R::NotNegative),
    KEY_I(File, "Settings", FileLockMode, 0, kNoMin, kNoMax, R::LockMode),

    KEY_S(FileDialog, "Settings", OpenDlgFilter, kOpenDlgFilter),
    KEY_S(FileDialog, "Settings", SaveDlgFilter, kSaveDlgFilter),
    KEY_S(FileDialog, "Settings", OpenFirstFolder, ""),
    KEY_S(FileDialog, "Settings", SaveFirstFolder, ""),
    KEY_B(FileDialog, "Settings", DialogPlaceBar, 1),

    KEY_B(InfoBar, "Settings", UseInfoBar, 1),
    KEY_B(InfoBar, "Settings", ShowSelSize, 1),
    KEY_I(InfoBar, "Settings", InfoBarTime, 10, 1, 15, R::AtLeastOne),

    KEY_S(KeySet, "Settings", KeySet, kDefaultKeySet),

    KEY_B(Search, "SearchOptions", Confirm, 0),
    KEY_B(Search, "SearchOptions", FromTop, 0),
    KEY_B(Search, "SearchOptions", AutoComplete, 1),
    KEY_FLAG("WholeWord", SearchFlag::WholeWord),
    KEY_FLAG("MatchCase", SearchFlag::MatchCase),
    KEY_FLAG("NoMatchZenkaku", SearchFlag::NoMatchZenkaku),
    KEY_FLAG("IncludeRet", SearchFlag::IncludeRet),
    KEY_FLAG("IncludeSpace", SearchFlag::IncludeSpace),
    KEY_FLAG("LoopSearch", SearchFlag::LoopSearch),
    KEY_FLAG("RegExp", SearchFlag::RegExp),
    KEY_FLAG("RegFuzzy", SearchFlag::RegFuzzy),

    KEY_B(ToolLauncher, "Settings", ShowIcon, 0),
    KEY_I(ToolLauncher, "Settings", AppListNum, 15, 1, 30, R::NotNegative),
    KEY_S(ToolLauncher, "Settings", TempFile, "app_open.tmp"),
    KEY_B(ToolLauncher, "Settings", DelTemp, 1),

    KEY_I(VuvEConverter, "Settings", ImgWinColor, 8421504, kNoMin, kNoMax, R::AsRead),
    KEY_I(VuvEConverter, "Settings", JPEGQuality, 50, 1, 100, R::AsRead),
    KEY_B(VuvEConverter, "Settings", PEncoding, 0),

    KEY_I(View, "Settings", Margin_Left, 2, 0, 100, R::NotNegative),
    KEY_I(View, "Settings", Margin_Top, 2, 0, 100, R::NotNegative),
    KEY_I(View, "Settings", Margin_Char, 0, 0, 100, R::NotNegative),
    KEY_I(View, "Settings", Margin_Line, 0, 0, 100, R::NotNegative),
    KEY_B(View, "Settings", CaretStyle, 0),
    KEY_I(View, "Settings", NNToolBarBtn, 0, kNoMin, kNoMax, R::AsRead),
    KERV_KEY(View, "DefaultFont", "Name", FontName, Str, std::string, 0, kDefaultFontName, kNoMin, kNoMax, R::AsRead),
    KERV_KEY(View, "DefaultFont", "Size", FontSize, Int, int, 12, nullptr, kNoMin, kNoMax, R::AtLeastOne),
    KERV_KEY(View, "DefaultFont", "Style", FontStyle, Int, int, 0, nullptr, kNoMin, kNoMax, R::StyleBits),

    KEY_B(Window, "Settings", NewKerv_New, 0),
    KEY_B(Window, "Settings", NewKerv_Open, 0),
    KEY_B(Window, "Window", UseUserPos, 0),
    KEY_I(Window, "Window", UserPosX, 100, 0, 2000, R::AsRead),
    KEY_I(Window, "Window", UserPosY, 100, 0, 2000, R::AsRead),
    KEY_B(Window, "Window", UseUserSize, 0),
    KEY_I(Window, "Window", UserSizeX, 640, 0, 2000, R::NotNegative),
    KEY_I(Window, "Window", UserSizeY, 450, 0, 2000, R::NotNegative),
    KEY_I(Window, "Window", Mode, 0, kNoMin, kNoMax, R::AsRead),
    KEY_B(Window, "Window", SaveLastWindow, 0),
};

#undef KEY_FLAG
#undef KEY_S
#undef KEY_I
#undef KEY_B
#undef KERV_KEY
#undef KERV_FIELD

// Each group's keys are one run of the table.
const std::array<std::span<const TKervSettingKey>, kSettingGroupCount>& GroupSpans() {
  static const auto spans = [] {
    std::array<std::span<const TKervSettingKey>, kSettingGroupCount> result{};
    std::span<const TKervSettingKey> all(kKeys);
    size_t begin = 0;
    while (begin < all.size()) {
      size_t end = begin;
      while (end < all.size() && all[end].group == all[begin].group) ++end;
      result[static_cast<size_t>(all[begin].group)] = all.subspan(begin, end - begin);
      begin = end;
    }
    return result;
  }();
  return spans;
}

}  // namespace

std::span<const TKervSettingKey> SettingKeys() { return kKeys; }

std::span<const TKervSettingKey> SettingKeys(TKervSettingGroup group) {
  return GroupSpans()[static_cast<size_t>(group)];
}

const TKervSettingKey* FindSettingKey(std::string_view section, std::string_view key) {
  for (const TKervSettingKey& entry : kKeys) {
    if (TIniFile::SameName(entry.section, std::string(section)) && TIniFile::SameName(entry.key, std::string(key))) {
      return &entry;
    }
  }
  return nullptr;
}

const std::string& DefaultOpenDlgFilter() {
  static const std::string text = kOpenDlgFilter;
  return text;
}

const std::string& DefaultSaveDlgFilter() {
  static const std::string text = kSaveDlgFilter;
  return text;
}

TKervBackupSetting::TKervBackupSetting(std::string systemTempFolder)
    : TKervTableSetting(SettingKeys(G::Backup)), systemTempFolder_(std::move(systemTempFolder)) {
  SetDefaults();
}

std::string TKervBackupSetting::MachineDefault(const TKervSettingKey&) const { return systemTempFolder_; }

// Fields get their values only here: the table's accessors reach them, so
// they must exist before SetDefaults runs.
TKervEachProcessSetting::TKervEachProcessSetting() : TKervTableSetting(SettingKeys(G::EachProcess)) { SetDefaults(); }
TKervEditModeSetting::TKervEditModeSetting() : TKervTableSetting(SettingKeys(G::EditMode)) { SetDefaults(); }
TKervEditorSetting::TKervEditorSetting() : TKervTableSetting(SettingKeys(G::Editor)) { SetDefaults(); }
TKervFileSetting::TKervFileSetting() : TKervTableSetting(SettingKeys(G::File)) { SetDefaults(); }
TKervFileDialogSetting::TKervFileDialogSetting() : TKervTableSetting(SettingKeys(G::FileDialog)) { SetDefaults(); }
TKervInfoBarSetting::TKervInfoBarSetting() : TKervTableSetting(SettingKeys(G::InfoBar)) { SetDefaults(); }
TKervKeySetSetting::TKervKeySetSetting() : TKervTableSetting(SettingKeys(G::KeySet)) { SetDefaults(); }
TKervToolLauncherSetting::TKervToolLauncherSetting() : TKervTableSetting(SettingKeys(G::ToolLauncher)) { SetDefaults(); }
TKervVuvEConverterSetting::TKervVuvEConverterSetting() : TKervTableSetting(SettingKeys(G::VuvEConverter)) {
  SetDefaults();
}
TKervViewSetting::TKervViewSetting() : TKervTableSetting(SettingKeys(G::View)) { SetDefaults(); }
TKervWindowSetting::TKervWindowSetting() : TKervTableSetting(SettingKeys(G::Window)) { SetDefaults(); }

TKervSearchSetting::TKervSearchSetting() : TKervTableSetting(SettingKeys(G::Search)), SearchFlags(0) { SetDefaults(); }

void TKervSearchSetting::Load(const TIniFile& ini) {
  // Down and SelectionOnly are per search, never stored: a load starts them cleared.
  SearchFlags = 0;
  TKervTableSetting::Load(ini);
}

}  // namespace kerv
