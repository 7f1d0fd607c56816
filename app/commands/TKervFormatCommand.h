#pragma once
// The format command: every action of the "整形" menu. Each takes the
// selected text of the active pane, runs one operation of the text formatter
// on it and puts the result in place of the selection in one editing
// operation (one undo step); with KeepSel the result stays selected. The line
// commands first widen the selection to whole lines.

#include "app/commands/TKervCommand.h"
#include <functional>

#include "format/ITextCollator.h"

namespace kerv {

class IKervEditors;
class IKervFormatDialogs;
class IKervInformation;
class TEditor;
class TEditorPropEx;
class TKervEditorSetting;
class TKervSettings;

// Widens the editor's (normal) selection to whole lines and selects them: from
// the start of the line holding its start to the end of the line holding its
// end, without that line's break. An end at the very start of a line (past
// the start's line) leaves that line out; an end past the document's last
// line break keeps that break. Lines are cut by line breaks, not by wrapping.
void SelectWholeLines(TEditor& editor);

class TKervFormatCommand : public TKervCommand {
 public:
  // settings: kerv.ini and the document-lock rule (the Numbering and
  // LeadStrings sections); editorSetting: KeepSel; currentMode: the edit
  // mode in use (NoIndentEmptyLine, SpaceIndentSize), asked at each command.
  TKervFormatCommand(IKervEditors& editors, IKervFormatDialogs& dialogs, IKervInformation& information,
                     TKervSettings& settings, const TKervEditorSetting& editorSetting,
                     std::function<const TEditorPropEx&()> currentMode);

  // The comparison of the sorts; null (the default) is the core's
  // locale-free DefaultTextCollator. Not owned.
  void SetCollator(const ITextCollator* collator) { collator_ = collator; }
  // Told the window's DialogState around the type-format dialog (8, then 0).
  void SetDialogStateHandler(std::function<void(int state)> handler) { setDialogState_ = std::move(handler); }

  // The enable rule of every formatting action: a pane has the focus, the
  // selection is not empty and box mode is off.
  static bool ActionsEnabled(IKervEditors& editors);

  // ---- character conversions (the selection keeps its extent)
  void Lower();       // Act_Fmt_Lower
  void Upper();       // Act_Fmt_Upper
  void ZenToHan();    // Act_Fmt_ZenToHan
  void HanToZen();    // Act_Fmt_HanToZen
  void Hira();        // Act_Fmt_Hira
  void Kana();        // Act_Fmt_Kana
  void TypeFormat();  // Act_Fmt_TypeFormat
  void TabToSpace();  // Act_Fmt_TabToSpace
  void SpaceToTab();  // Act_Fmt_SpaceToTab

  // ---- line commands (the selection is widened to whole lines)
  void Num();           // Act_Fmt_Num
  void LeadStr();       // Act_Fmt_LeadStr
  void FootStr();       // Act_Fmt_FootStr
  void DelLead();       // Act_Fmt_DelLead
  void ElaseEmpLine();  // Act_Fmt_ElaseEmpLine
  void ReturnAt();      // Act_Fmt_ReturnAt
  void TagElase();      // Act_Fmt_TagElase
  void Indent();        // Act_Fmt_Indent
  void Outdent();       // Act_Fmt_Outdent
  void SPIndent();      // Act_Fmt_SPIndent
  void SPOutdent();     // Act_Fmt_SPOutndent
  void Sort();          // Act_Fmt_Sort
  void ReverseSort();   // Act_Fmt_ReverseSort

 private:
  using Transform = std::function<std::string(const std::string& text)>;

  // The pane to format, or null when the command cannot run there (read
  // only, box mode, nothing selected).
  TEditor* Target();
  // The apply step: replace the selection by transform(selected text) and,
  // with KeepSel, select the result.
  void Apply(TEditor& editor, const Transform& transform);
  void RunChars(const Transform& transform);
  void RunLines(const Transform& transform);
  void LeadOrFoot(bool foot);
  int TabWidth(TEditor& editor) const;

  IKervEditors& editors_;
  IKervFormatDialogs& dialogs_;
  IKervInformation& information_;
  TKervSettings& settings_;
  const TKervEditorSetting& editorSetting_;
  std::function<const TEditorPropEx&()> currentMode_;
  const ITextCollator* collator_ = nullptr;
  std::function<void(int)> setDialogState_;
};

}  // namespace kerv
