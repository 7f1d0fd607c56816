#include "app/commands/TKervFormatCommand.h"

#include "app/commands/TKervEditors.h"
#include "app/commands/TKervFormatDialogs.h"
#include "app/commands/TKervInformation.h"
#include "app/settings/TKervSettingGroups.h"
#include "app/settings/TKervSettingManager.h"
#include "document/TIniFile.h"
#include "editmode/TEditorProp.h"
#include "editor/TEditor.h"
#include "format/FormatMessages.h"
#include "format/TStringFormatter.h"

namespace kerv {
namespace {

using F = TStringFormatter;

// Reads kerv.ini inside the document-lock rule; a file that cannot be read
// leaves the caller's defaults.
template <class Work>
void ReadIni(TKervSettings& settings, Work work) {
  try {
    TKervIniAccess access(settings);
    const TIniFile ini(settings.FileSystem(), settings.IniFileName());
    work(ini);
  } catch (const EFileError&) {
  }
}

// Changes kerv.ini inside the document-lock rule and writes it back whole;
// false when reading or writing failed (the file is then as it was).
template <class Work>
bool WriteIni(TKervSettings& settings, Work work) {
  try {
    TKervIniAccess access(settings);
    TIniFile ini(settings.FileSystem(), settings.IniFileName());
    work(ini);
    ini.UpdateFile();
    return true;
  } catch (const EFileError&) {
    return false;
  }
}

}  // namespace

void SelectWholeLines(TEditor& editor) {
  const int rows = editor.RowCount();
  const long long start = editor.SelStart();
  const long long end = start + editor.SelLength();
  if (rows == 0 || end <= start) return;
  long long rowOffset = 0;
  long long lineOffset = 0;       // where the line of the current row starts
  long long startLineOffset = -1;
  long long widenedEnd = -1;
  bool endFound = false;
  for (int row = 0; row < rows; ++row) {
    if (row == 0 || editor.RowKind(row - 1) == raCrlf) lineOffset = rowOffset;
    const TRowAttribute kind = editor.RowKind(row);
    const long long rowEnd = rowOffset + static_cast<long long>(editor.RowText(row).size());
    const long long next = rowEnd + (kind == raCrlf ? 2 : 0);
    const bool last = row == rows - 1;
    if (startLineOffset < 0 && (start < next || last)) startLineOffset = lineOffset;
    if (!endFound && (end < next || last)) {
      endFound = true;
      if (end >= next && kind == raCrlf) {
        // The document ends with a line break and the selection reaches past
        // it, onto the empty tail that has no row: the break is kept.
        widenedEnd = next;
        break;
      }
      if (end == lineOffset && lineOffset > startLineOffset) {
        // The selection stops where this line starts: the line is not taken.
        widenedEnd = lineOffset - 2;
        break;
      }
    }
    if (endFound && kind != raWrapped) {
      widenedEnd = rowEnd;
      break;
    }
    rowOffset = next;
  }
  if (startLineOffset < 0 || widenedEnd < startLineOffset) return;
  editor.SetSelStart(startLineOffset);
  editor.SetSelLength(widenedEnd - startLineOffset);
}

TKervFormatCommand::TKervFormatCommand(IKervEditors& editors, IKervFormatDialogs& dialogs, IKervInformation& information,
                                       TKervSettings& settings, const TKervEditorSetting& editorSetting,
                                       std::function<const TEditorPropEx&()> currentMode)
    : editors_(editors),
      dialogs_(dialogs),
      information_(information),
      settings_(settings),
      editorSetting_(editorSetting),
      currentMode_(std::move(currentMode)) {}

bool TKervFormatCommand::ActionsEnabled(IKervEditors& editors) {
  if (!editors.EditorHasFocus()) return false;
  TEditor& editor = editors.ActiveEditor();
  return editor.Selected() && editor.SelectionMode() == smNormal && editor.SelLength() > 0;
}

TEditor* TKervFormatCommand::Target() {
  TEditor& editor = editors_.ActiveEditor();
  // A read-only pane would ignore the replacement, and KeepSel would then
  // select a result that is not there.
  if (editor.ReadOnly() || editor.SelectionMode() != smNormal || editor.SelLength() <= 0) return nullptr;
  return &editor;
}

void TKervFormatCommand::Apply(TEditor& editor, const Transform& transform) {
  const long long start = editor.SelStart();
  const std::string result = transform(editor.SelText());
  editor.ReplaceSelText(result);
  if (editorSetting_.KeepSel) {
    editor.SetSelStart(start);
    editor.SetSelLength(static_cast<long long>(result.size()));
  }
}

void TKervFormatCommand::RunChars(const Transform& transform) {
  if (TEditor* editor = Target()) Apply(*editor, transform);
}

void TKervFormatCommand::RunLines(const Transform& transform) {
  TEditor* editor = Target();
  if (editor == nullptr) return;
  SelectWholeLines(*editor);
  Apply(*editor, transform);
}

int TKervFormatCommand::TabWidth(TEditor& editor) const { return editor.Caret().TabSpaceCount(); }

// ---- character conversions

void TKervFormatCommand::Lower() { RunChars([](const std::string& t) { return F::ToLower(t); }); }
void TKervFormatCommand::Upper() { RunChars([](const std::string& t) { return F::ToUpper(t); }); }
void TKervFormatCommand::ZenToHan() { RunChars([](const std::string& t) { return F::ToHankaku(t); }); }
void TKervFormatCommand::HanToZen() {
  RunChars([](const std::string& t) { return F::ToZenkaku(t, TZenkakuMode::Plain); });
}
void TKervFormatCommand::Hira() {
  RunChars([](const std::string& t) { return F::ToZenkaku(t, TZenkakuMode::Hiragana); });
}
void TKervFormatCommand::Kana() {
  RunChars([](const std::string& t) { return F::ToZenkaku(t, TZenkakuMode::Katakana); });
}

void TKervFormatCommand::TabToSpace() {
  TEditor* editor = Target();
  if (editor == nullptr) return;
  const int width = TabWidth(*editor);
  Apply(*editor, [width](const std::string& t) { return F::TabToSpace(t, width); });
}

void TKervFormatCommand::SpaceToTab() {
  TEditor* editor = Target();
  if (editor == nullptr) return;
  const int width = TabWidth(*editor);
  Apply(*editor, [width](const std::string& t) { return F::SpaceToTab(t, width); });
}

void TKervFormatCommand::TypeFormat() {
  if (Target() == nullptr) return;
  if (setDialogState_) setDialogState_(8);
  std::optional<TTypeFormatOptions> options;
  try {
    options = dialogs_.AskTypeFormat();
  } catch (...) {
    if (setDialogState_) setDialogState_(0);
    throw;
  }
  if (setDialogState_) setDialogState_(0);
  if (!options || !options->HasWork()) return;
  // The dialog may have moved the focus or the selection: look again.
  TEditor* editor = Target();
  if (editor == nullptr) return;
  if (options->allText) editor->SelectAll();
  Apply(*editor, [&](const std::string& t) { return ApplyTypeFormat(t, *options); });
}

// ---- line commands

void TKervFormatCommand::Num() {
  if (Target() == nullptr) return;
  TNumberingOptions options;
  ReadIni(settings_, [&](const TIniFile& ini) { options = TNumberingOptions::Read(ini); });
  if (!dialogs_.AskNumbering(options)) return;
  if (!WriteIni(settings_, [&](TIniFile& ini) { options.Write(ini); })) {
    information_.ShowError(FormatMessage(TFormatMessage::IniSaveFailed));
  }
  RunLines([&](const std::string& t) { return options.Apply(t); });
}

void TKervFormatCommand::LeadOrFoot(bool foot) {
  if (Target() == nullptr) return;
  TLeadStringHistory history;
  ReadIni(settings_, [&](const TIniFile& ini) { history.Read(ini); });
  const std::optional<std::string> typed = dialogs_.AskLeadString(foot, history);
  // The history is written however the dialog closed (it may have been emptied).
  if (!WriteIni(settings_, [&](TIniFile& ini) { history.Write(ini); })) {
    information_.ShowError(FormatMessage(TFormatMessage::IniSaveFailed));
  }
  if (!typed) return;
  const std::string text = TLeadStringHistory::Expand(*typed);
  if (text.empty()) return;
  if (foot) RunLines([&](const std::string& t) { return F::AppendFootString(t, text); });
  else RunLines([&](const std::string& t) { return F::InsertLeadString(t, text); });
}

void TKervFormatCommand::LeadStr() { LeadOrFoot(false); }
void TKervFormatCommand::FootStr() { LeadOrFoot(true); }

void TKervFormatCommand::DelLead() { RunLines([](const std::string& t) { return F::DeleteLeadChar(t); }); }
void TKervFormatCommand::ElaseEmpLine() { RunLines([](const std::string& t) { return F::EraseEmptyLines(t); }); }
void TKervFormatCommand::TagElase() { RunLines([](const std::string& t) { return F::EraseTags(t); }); }
void TKervFormatCommand::Indent() {
  const bool noIndentEmptyLine = currentMode_().NoIndentEmptyLine();
  RunLines([=](const std::string& t) { return F::Indent(t, noIndentEmptyLine); });
}
void TKervFormatCommand::Outdent() { RunLines([](const std::string& t) { return F::Outdent(t); }); }
void TKervFormatCommand::SPIndent() {
  const TEditorPropEx& mode = currentMode_();
  const bool noIndentEmptyLine = mode.NoIndentEmptyLine();
  const int size = mode.SpaceIndentSize();
  RunLines([=](const std::string& t) { return F::SpaceIndent(t, noIndentEmptyLine, size); });
}
void TKervFormatCommand::SPOutdent() {
  const int size = currentMode_().SpaceIndentSize();
  RunLines([=](const std::string& t) { return F::SpaceOutdent(t, size); });
}

void TKervFormatCommand::ReturnAt() {
  TEditor* editor = Target();
  if (editor == nullptr) return;
  SelectWholeLines(*editor);
  const std::optional<int> col = dialogs_.AskReturnCol();
  if (!col) return;
  const int tabWidth = currentMode_().SpaceIndentSize();
  // ReturnAt clamps the column itself, so a port that lets 0 or 1 through
  // still cannot make a line that never progresses.
  Apply(*editor, [&](const std::string& t) { return F::ReturnAt(t, tabWidth, *col); });
}

void TKervFormatCommand::Sort() {
  const ITextCollator& collator = collator_ != nullptr ? *collator_ : DefaultTextCollator();
  RunLines([&](const std::string& t) { return F::SortLines(t, collator); });
}

void TKervFormatCommand::ReverseSort() {
  const ITextCollator& collator = collator_ != nullptr ? *collator_ : DefaultTextCollator();
  RunLines([&](const std::string& t) { return F::ReverseSortLines(t, collator); });
}

}  // namespace kerv
