#pragma once
// The main window's actions: their numbers (the order key-set files refer
// to), categories, captions, hints and the built-in key set. Texts are UTF-8.

#include <span>
#include <string_view>

namespace kerv {

// Numbered from 1 in the window's list order; key-set files store these numbers.
enum TKervAction : int {
  Act_File_New = 1, Act_File_open, Act_File_ReOpen, Act_File_AddOpen, Act_File_OpenFolder, Act_File_save,
  Act_File_SaveAs, Act_File_Print, Act_File_Exit,
  Act_Edit_Select, Act_Edit_Undo, Act_Edit_Redo, Act_Edit_Cut, Act_Edit_Copy, Act_Edit_AddCut, Act_Edit_AddCopy,
  Act_Edit_Paste, Act_Edit_BoxSelect, Act_Edit_ReadOnly, Act_Edit_CharCount, Act_Edit_AsciiCode,
  Act_Edit_AutoIndent, Act_Edit_BSUnindent,
  Act_Fmt_Lower, Act_Fmt_Upper, Act_Fmt_ZenToHan, Act_Fmt_HanToZen, Act_Fmt_Hira, Act_Fmt_Kana,
  Act_Fmt_TypeFormat, Act_Fmt_Num, Act_Fmt_LeadStr, Act_Fmt_DelLead, Act_Fmt_ElaseEmpLine, Act_Fmt_ReturnAt,
  Act_Fmt_FootStr, Act_Fmt_TagElase, Act_Fmt_TabToSpace, Act_Fmt_SpaceToTab, Act_Fmt_Indent, Act_Fmt_Outdent,
  Act_Fmt_SPIndent, Act_Fmt_SPOutndent,
  Act_Srch_FindNext, Act_Srch_FindPrev, Act_Srch_QuickSearch, Act_Srch_ReplaceDown, Act_Srch_ReplaceUp,
  Act_Srch_ReplaceAll, Act_Srch_NewWord, Act_Srch_SelSearch,
  Act_Inst_TimeDate, Act_Inst_UserName, Act_Inst_Version, Act_Inst_FileName, Act_Inst_FilePath,
  Act_Inst_Return, Act_Inst_Tab, Act_Inst_Space, Act_Inst_DSpace, Act_Inst_FootStr,
  Act_Del_Del, Act_Del_BackSpace, Act_Del_LineDel, Act_Del_PrevCursor, Act_Del_AfterCursor,
  Act_Csr_JumpFirst, Act_Csr_JumpTo, Act_Csr_JumpLast, Act_Csr_CaretUp, Act_Csr_CaretLeft, Act_Csr_Down,
  Act_Csr_Right,
  Act_Tool_ToolSet, Act_Tool_VuvE, Act_Tool_ImageWindow, Act_Tool_Setting, Act_Tool_EmSet,
  Act_View_ToolBar, Act_View_ToolBarExp, Act_View_SearchBar, Act_View_SearchBarExp, Act_View_LineNum,
  Act_View_Ruler, Act_View_Infobar, Act_View_Statusbar, Act_View_ModeList, Act_View_StayTop,
  Act_View_WordWrap, Act_View_WinWrap, Act_View_Font, Act_View_AddTmpRsv, Act_View_TmpRsvList,
  Act_Win_NewWin, Act_Win_VTile, Act_Win_HTile, Act_Win_Cascade, Act_Win_Minimize, Act_Win_Restore,
  Act_Win_HSplit, Act_Win_VSplit,
  Act_help, Act_Csr_SwichActiveEditor,
  Act_Infobar_LastInfo, Act_Infobar_Clipboard, Act_Infobar_Now,
  Act_Win_NextWindow, Act_Win_PrevWindow, Act_Srch_ClearSearchWordEmphasis, Act_Fmt_Sort, Act_Fmt_ReverseSort,
  Act_File_Change_CharCode, Act_File_Change_RetCode,
};
inline constexpr int kActionCount = 113;

struct TKervActionInfo {
  TKervAction id;
  const char* name;      // "Act_File_New"
  const char* category;  // the key-set dialog's group: "ファイル", "編集", …
  const char* caption;   // menu text with its "(&X)" mnemonic
  const char* hint;      // "short|long" or one text for both
  bool checkable;
};

// Every action in number order (index = number - 1).
std::span<const TKervActionInfo> ActionTable();
const TKervActionInfo& ActionInfo(TKervAction id);
// The tool-bar tip and the status-bar hint of a hint text.
std::string_view ShortHint(const TKervActionInfo& info);
std::string_view LongHint(const TKervActionInfo& info);

// The built-in key set "デフォルト": the shortcut of an action in portable
// text ("Ctrl+Shift+S"), or empty.
std::string_view DefaultShortcut(TKervAction id);

}  // namespace kerv
