#include "keys/DefaultKeySet.h"

#include <iterator>

namespace kerv {
namespace {

constexpr int kNone = 0;
constexpr int kShift = kKeyRowShift;
constexpr int kCtrl = kKeyRowCtrl;
constexpr int kCtrlShift = kKeyRowCtrl | kKeyRowShift;
constexpr int kCtrlAlt = kKeyRowCtrl | kKeyRowAlt;

constexpr int Letter(char c) { return 26 + (c - 'A'); }
constexpr int kTab = 2, kEnter = 3, kSpace = 5, kEnd = 8, kHome = 9;
constexpr int Function(int n) { return 66 + n; }

// Action numbers are the file format's; the name of each follows it.
constexpr TKeyBinding kBindings[] = {
    {{kCtrl, Letter('N')}, 1},              // Act_File_New
    {{kCtrlShift, Letter('N')}, 94},        // Act_Win_NewWin
    {{kCtrl, Letter('O')}, 2},              // Act_File_open
    {{kCtrl, Letter('S')}, 6},              // Act_File_save
    {{kCtrlShift, Letter('S')}, 7},         // Act_File_SaveAs
    {{kCtrl, Letter('P')}, 8},              // Act_File_Print
    {{kCtrl, Letter('A')}, 10},             // Act_Edit_Select
    {{kCtrl, Letter('Z')}, 11},             // Act_Edit_Undo
    {{kCtrl, Letter('Y')}, 12},             // Act_Edit_Redo
    {{kCtrl, Letter('X')}, 13},             // Act_Edit_Cut
    {{kCtrl, Letter('C')}, 14},             // Act_Edit_Copy
    {{kCtrl, Letter('V')}, 17},             // Act_Edit_Paste
    {{kCtrl, Letter('B')}, 18},             // Act_Edit_BoxSelect
    {{kCtrl, Letter('L')}, 24},             // Act_Fmt_Lower
    {{kCtrl, Letter('U')}, 25},             // Act_Fmt_Upper
    {{kCtrl, Letter('M')}, 30},             // Act_Fmt_TypeFormat
    {{kCtrl, Letter('D')}, 27},             // Act_Fmt_HanToZen
    {{kCtrl, Letter('H')}, 26},             // Act_Fmt_ZenToHan
    {{kCtrl, kTab}, 40},                    // Act_Fmt_Indent
    {{kCtrlAlt, kTab}, 41},                 // Act_Fmt_Outdent
    {{kCtrl, kSpace}, 42},                  // Act_Fmt_SPIndent
    {{kCtrlAlt, kSpace}, 43},               // Act_Fmt_SPOutndent
    {{kNone, Function(3)}, 44},             // Act_Srch_FindNext
    {{kShift, Function(3)}, 45},            // Act_Srch_FindPrev
    {{kCtrl, Letter('F')}, 50},             // Act_Srch_NewWord
    {{kCtrlShift, Letter('F')}, 46},        // Act_Srch_QuickSearch
    {{kNone, Function(4)}, 47},             // Act_Srch_ReplaceDown
    {{kShift, Function(4)}, 48},            // Act_Srch_ReplaceUp
    {{kShift, kEnter}, 61},                 // Act_Inst_FootStr
    {{kCtrl, kHome}, 67},                   // Act_Csr_JumpFirst
    {{kCtrl, kEnd}, 69},                    // Act_Csr_JumpLast
    {{kCtrlShift, kTab}, 107},              // Act_Win_NextWindow
    {{kCtrl, Letter('E')}, 75},             // Act_Tool_VuvE
    {{kNone, Function(1)}, 102},            // Act_help
    {{kCtrlShift, Letter('E')}, 103},       // Act_Csr_SwichActiveEditor
};
static_assert(std::size(kBindings) == 35);

}  // namespace

std::span<const TKeyBinding> DefaultKeyBindings() { return kBindings; }

TKeyTable DefaultKeyTable() {
  TKeyTable table;
  for (const TKeyBinding& binding : kBindings) table.Set(binding.slot, binding.action);
  return table;
}

}  // namespace kerv
