// The format command over a real editor model: every action is one undo
// step, the selection is kept or dropped as KeepSel says, the line commands
// widen the selection, and the dialogs' settings go through kerv.ini.

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "app/commands/TKervEditors.h"
#include "app/commands/TKervFormatCommand.h"
#include "app/commands/TKervFormatDialogs.h"
#include "app/commands/TKervInformation.h"
#include "app/settings/TKervSettingGroups.h"
#include "app/settings/TKervSettingManager.h"
#include "document/TIniFile.h"
#include "editmode/TEditorProp.h"
#include "editor/TEditor.h"
#include "platform/fake/FakeFileSystem.h"
#include "tests/format/FormatTestSupport.h"

namespace kerv {
namespace {

using test::S;
using test::U;

const char* const kFolder = "/home/user/.config/kerv/";
const char* const kIni = "/home/user/.config/kerv/kerv.ini";

class FakeEditors : public IKervEditors {
 public:
  TEditor editor;
  bool focus = true;
  TEditor& ActiveEditor() override { return editor; }
  TEditor& MainEditor() override { return editor; }
  TEditor* SecondEditor() override { return nullptr; }
  bool EditorHasFocus() override { return focus; }
};

class FakeInformation : public IKervInformation {
 public:
  std::vector<std::string> boxes;
  Answer MessageBox(const std::string& text, int, int) override {
    boxes.push_back(text);
    return maOk;
  }
  void Notify(const std::string&, int) override {}
};

class FakeFormatDialogs : public IKervFormatDialogs {
 public:
  std::optional<TTypeFormatOptions> typeFormat;
  // Numbering: what the dialog was opened with, and what it answers.
  TNumberingOptions numberingShown;
  std::optional<TNumberingOptions> numbering;
  // Lead string: the history the dialog saw, and what is typed (nothing: cancelled).
  std::vector<std::string> historyShown;
  std::optional<std::string> typed;
  bool clearHistory = false;
  std::optional<int> returnCol;
  int opened = 0;

  std::optional<TTypeFormatOptions> AskTypeFormat() override {
    ++opened;
    return typeFormat;
  }
  bool AskNumbering(TNumberingOptions& options) override {
    ++opened;
    numberingShown = options;
    if (!numbering) return false;
    options = *numbering;
    return true;
  }
  std::optional<std::string> AskLeadString(bool, TLeadStringHistory& history) override {
    ++opened;
    historyShown = history.Items();
    if (clearHistory) history.Clear();
    if (typed) history.Add(*typed);
    return typed;
  }
  std::optional<int> AskReturnCol() override {
    ++opened;
    return returnCol;
  }
};

class FakeDocumentLock : public IKervDocumentLock {
 public:
  std::string name;
  std::vector<std::string> calls;
  std::string DocumentFileName() override { return name; }
  void Unlock() override { calls.push_back("unlock"); }
  void ReapplyLock() override { calls.push_back("lock"); }
};

class TKervFormatCommandTest : public ::testing::Test {
 protected:
  TKervFormatCommandTest() {
    fs.AddFolder("/home/user/.config/kerv");
    settings.SetDocumentLock(&lock);
    editorSetting.KeepSel = true;
  }

  TEditor& Editor() { return editors.editor; }

  // Loads text (UTF-8), selects bytes [start, start + length) of its
  // Shift_JIS form, and forgets the load's undo step.
  void Load(const char* utf8, long long start, long long length) {
    Editor().WmSetText(S(utf8));
    Editor().ClearUndo();
    Editor().SetSelStart(start);
    Editor().SetSelLength(length);
  }
  std::string Text() { return U(Editor().WmGetText()); }
  std::string Selected() { return U(Editor().SelText()); }

  // Runs the command, checks that one undo brings back the text it had and
  // that no second step was recorded; the command's text is returned.
  std::string RunAndUndo(const std::function<void()>& run) {
    const std::string before = Editor().WmGetText();
    run();
    const std::string after = Text();
    EXPECT_TRUE(Editor().CanUndo());
    Editor().Undo();
    EXPECT_EQ(Editor().WmGetText(), before);
    EXPECT_FALSE(Editor().CanUndo()) << "more than one undo step";
    return after;
  }

  FakeFileSystem fs;
  TKervSettingManager settings{fs, kFolder};
  FakeDocumentLock lock;
  TKervEditorSetting editorSetting;
  TEditorPropEx mode;
  FakeEditors editors;
  FakeInformation information;
  FakeFormatDialogs dialogs;
  TKervFormatCommand command{editors, dialogs, information, settings, editorSetting,
                             [this]() -> const TEditorPropEx& { return mode; }};
};

struct CommandCase {
  const char* name;
  void (TKervFormatCommand::*run)();
  const char* text;
  long long selStart;   // bytes of the Shift_JIS text
  long long selLength;
  const char* expected;          // the whole text afterwards
  const char* expectedSelected;  // the selection afterwards (KeepSel on)
};

TEST_F(TKervFormatCommandTest, EveryCommandIsOneUndoStepAndKeepsTheSelection) {
  using C = TKervFormatCommand;
  mode.SetNoIndentEmptyLine(true);
  mode.SetSpaceIndentSize(2);
  Editor().Caret().SetTabSpaceCount(4);
  const CommandCase cases[] = {
      // The character conversions keep the selection's extent: "ab" of "xabc".
      {"lower", &C::Lower, "xABC", 1, 2, "xabC", "ab"},
      {"upper", &C::Upper, "xabc", 1, 2, "xABc", "AB"},
      {"zen to han", &C::ZenToHan, "ガＡ", 0, 4, "ｶﾞA", "ｶﾞA"},
      {"han to zen", &C::HanToZen, "ｶﾞa1", 0, 4, "ガａ１", "ガａ１"},
      {"hiragana", &C::Hira, "アヴ", 0, 4, "あう゛", "あう゛"},
      {"katakana", &C::Kana, "あう゛", 0, 6, "アヴ", "アヴ"},
      {"tab to space", &C::TabToSpace, "\ta", 0, 2, "    a", "    a"},
      {"space to tab", &C::SpaceToTab, "      a", 0, 7, "\t  a", "\t  a"},
      // The line commands widen "b" of the middle line to the whole line.
      {"indent", &C::Indent, "a\r\nxbx\r\nc", 4, 1, "a\r\n\txbx\r\nc", "\txbx"},
      {"outdent", &C::Outdent, "a\r\n\txbx\r\nc", 5, 1, "a\r\nxbx\r\nc", "xbx"},
      {"space indent", &C::SPIndent, "a\r\n\r\nb", 0, 6, "  a\r\n\r\n  b", "  a\r\n\r\n  b"},
      {"space outdent", &C::SPOutdent, "   a\r\nb", 3, 1, " a\r\nb", " a"},
      {"delete lead", &C::DelLead, "漢字\r\nab", 3, 4, "字\r\nb", "字\r\nb"},
      {"erase empty", &C::ElaseEmpLine, "a\r\n \t\r\nb", 0, 9, "a\r\nb", "a\r\nb"},
      {"tags", &C::TagElase, "x<b>y</b>", 1, 1, "xy", "xy"},
      {"sort", &C::Sort, "c\r\nb\r\na", 1, 6, "a\r\nb\r\nc", "a\r\nb\r\nc"},
      {"reverse sort", &C::ReverseSort, "a\r\nc\r\nb", 0, 1 + 2 + 1, "c\r\na\r\nb", "c\r\na"},
  };
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.text, c.selStart, c.selLength);
    std::string selected;
    std::string after = RunAndUndo([&] {
      (command.*c.run)();
      selected = Selected();
    });
    EXPECT_EQ(after, c.expected);
    EXPECT_EQ(selected, c.expectedSelected);
  }
}

TEST_F(TKervFormatCommandTest, WithoutKeepSelTheSelectionGoes) {
  editorSetting.KeepSel = false;
  Load("abc", 0, 2);
  command.Upper();
  EXPECT_EQ(Text(), "ABc");
  EXPECT_FALSE(Editor().Selected());
}

TEST_F(TKervFormatCommandTest, NothingRunsWithoutASelectionInBoxModeOrReadOnly) {
  Load("abc", 1, 0);
  command.Upper();
  command.Indent();
  EXPECT_EQ(Text(), "abc");
  EXPECT_FALSE(Editor().CanUndo());

  Load("abc", 0, 2);
  Editor().SetReadOnly(true);
  command.Upper();
  EXPECT_EQ(Text(), "abc");
  Editor().SetReadOnly(false);

  editors.focus = false;
  EXPECT_FALSE(TKervFormatCommand::ActionsEnabled(editors));
  editors.focus = true;
  EXPECT_TRUE(TKervFormatCommand::ActionsEnabled(editors));
  Editor().SetSelectionMode(smBox);
  EXPECT_FALSE(TKervFormatCommand::ActionsEnabled(editors));
}

TEST_F(TKervFormatCommandTest, SelectionWidening) {
  struct Case {
    const char* text;
    long long start, length;
    const char* widened;
  };
  const Case cases[] = {
      {"ab\r\ncd\r\nef", 1, 4, "ab\r\ncd"},
      {"ab\r\ncd\r\nef", 1, 3, "ab"},                 // ends at the start of "cd": not taken
      {"ab\r\ncd\r\nef", 1, 7, "ab\r\ncd"},
      {"ab\r\ncd\r\nef", 1, 8, "ab\r\ncd\r\nef"},
      {"ab\r\ncd\r\nef", 4, 4, "cd"},
      {"ab\r\ncd\r\nef", 4, 5, "cd\r\nef"},
      {"ab\r\ncd\r\n", 0, 4, "ab"},
      {"ab\r\ncd\r\n", 4, 4, "cd\r\n"},                   // past the last break: it is kept
      {"ab\r\ncd", 4, 2, "cd"},
      {"ab", 0, 1, "ab"},
  };
  for (const Case& c : cases) {
    Load(c.text, c.start, c.length);
    SelectWholeLines(Editor());
    EXPECT_EQ(Selected(), c.widened) << c.text << " " << c.start << "+" << c.length;
  }
  // Wrapped rows belong to their line.
  const std::string longLine(50, 'w');
  Load((longLine + "\r\nxy").c_str(), 0, 0);
  Editor().WrapOption().SetWrapByte(20);
  Editor().SetWordWrap(true);
  Editor().SetSelStart(25);
  Editor().SetSelLength(1);
  ASSERT_GT(Editor().RowCount(), 3);
  SelectWholeLines(Editor());
  EXPECT_EQ(Selected(), longLine);
}

TEST_F(TKervFormatCommandTest, TypeFormatRunsTheChosenOperation) {
  std::vector<int> states;
  command.SetDialogStateHandler([&](int state) { states.push_back(state); });
  Load("あアabc", 0, 7);
  dialogs.typeFormat.reset();  // キャンセル
  command.TypeFormat();
  EXPECT_EQ(Text(), "あアabc");
  EXPECT_EQ(states, (std::vector<int>{8, 0}));

  Load("あアabc", 0, 7);
  dialogs.typeFormat = TTypeFormatOptions{TTypeFormatAction::Delete, TypeFlag::Kana, "", false};
  EXPECT_EQ(RunAndUndo([&] { command.TypeFormat(); }), "アabc");

  // Only the symbol chosen by its own box.
  Load("a!?", 0, 3);
  dialogs.typeFormat = TTypeFormatOptions{TTypeFormatAction::HanToZen, 0, "!", false};
  EXPECT_EQ(RunAndUndo([&] { command.TypeFormat(); }), "a！?");

  Load("a!?", 0, 3);
  dialogs.typeFormat = TTypeFormatOptions{TTypeFormatAction::HanToZen, 0, "", false};  // nothing chosen
  command.TypeFormat();
  EXPECT_FALSE(Editor().CanUndo());

  // All text: the whole document, not only the selection.
  Load("ab\r\ncd", 0, 1);
  dialogs.typeFormat = TTypeFormatOptions{TTypeFormatAction::HanToZen, TypeFlag::ELow, "", true};
  EXPECT_EQ(RunAndUndo([&] { command.TypeFormat(); }), "ａｂ\r\nｃｄ");
}

TEST_F(TKervFormatCommandTest, NumberingReadsAndWritesItsSection) {
  fs.AddFile(kIni, "[Numbering]\r\nStartNumber=9\r\nSeparateStr=)\r\nAlignment=2\r\n[Other]\r\nKey=1\r\n");
  Load("a\r\nb\r\nc", 1, 6);
  dialogs.numbering.reset();  // キャンセル
  command.Num();
  EXPECT_EQ(dialogs.numberingShown.startNumber, 9);
  EXPECT_EQ(dialogs.numberingShown.separateStr, ")");
  EXPECT_EQ(dialogs.numberingShown.alignment, TNumberAlignment::ZeroFill);
  EXPECT_EQ(Text(), "a\r\nb\r\nc");

  // The separator is text: "%s" and "%n" are written as they stand.
  dialogs.numbering = TNumberingOptions{98, "%s%n)", TNumberAlignment::Digits};
  EXPECT_EQ(RunAndUndo([&] { command.Num(); }), " 98%s%n)a\r\n 99%s%n)b\r\n100%s%n)c");
  TIniFile ini(fs, kIni);
  EXPECT_EQ(ini.ReadInteger("Numbering", "StartNumber", 0), 98);
  EXPECT_EQ(ini.ReadString("Numbering", "SeparateStr", ""), "%s%n)");
  EXPECT_EQ(ini.ReadInteger("Numbering", "Alignment", 0), 1);
  EXPECT_EQ(ini.ReadString("Other", "Key", ""), "1");
}

TEST_F(TKervFormatCommandTest, LeadAndFootStrings) {
  fs.AddFile(kIni, "[LeadStrings]\r\nCount=2\r\nLS0=old\r\nLS1=\r\n");
  Load("a\r\nb", 0, 1);
  // "ソs": the trail byte 0x5C of ソ starts no escape.
  dialogs.typed = S("ソs\\s");
  EXPECT_EQ(RunAndUndo([&] { command.LeadStr(); }), "ソs a\r\nb");
  EXPECT_EQ(dialogs.historyShown, (std::vector<std::string>{"old"}));
  TIniFile ini(fs, kIni);
  EXPECT_EQ(ini.ReadInteger("LeadStrings", "Count", 0), 2);
  EXPECT_EQ(ini.ReadString("LeadStrings", "LS0", ""), S("ソs\\s"));
  EXPECT_EQ(ini.ReadString("LeadStrings", "LS1", ""), "old");

  Load("a\r\nb\r\n", 0, 6);
  dialogs.typed = ";\\t";
  EXPECT_EQ(RunAndUndo([&] { command.FootStr(); }), "a;\t\r\nb;\t\r\n;\t");

  // Cancelled after emptying the history: nothing changes but the history.
  Load("a\r\nb\r\n", 0, 6);
  dialogs.typed.reset();
  dialogs.clearHistory = true;
  command.LeadStr();
  EXPECT_EQ(Text(), "a\r\nb\r\n");
  EXPECT_EQ(TIniFile(fs, kIni).ReadInteger("LeadStrings", "Count", -1), 0);
}

TEST_F(TKervFormatCommandTest, SettingsAccessFollowsTheDocumentLockRule) {
  lock.name = kIni;  // the window shows kerv.ini itself
  Load("a", 0, 1);
  dialogs.typed = "x";
  command.LeadStr();
  EXPECT_EQ(Text(), "xa");
  // Read and write, each with the lock released and taken again.
  EXPECT_EQ(lock.calls, (std::vector<std::string>{"unlock", "lock", "unlock", "lock"}));

  lock.calls.clear();
  lock.name = "/home/user/other.txt";
  command.LeadStr();
  EXPECT_TRUE(lock.calls.empty());
}

TEST_F(TKervFormatCommandTest, AFailedHistoryWriteIsShownAndTheCommandStillRuns) {
  fs.FailWritesTo(kIni);
  Load("a", 0, 1);
  dialogs.typed = "x";
  command.LeadStr();
  EXPECT_EQ(Text(), "xa");
  EXPECT_EQ(information.boxes, (std::vector<std::string>{"INIファイルの保存に失敗しました"}));
}

TEST_F(TKervFormatCommandTest, ReturnAtAlwaysTerminates) {
  mode.SetSpaceIndentSize(4);
  Load("一二三四五\r\nab", 0, 2);
  dialogs.returnCol = 5;
  EXPECT_EQ(RunAndUndo([&] { command.ReturnAt(); }), "一二\r\n三四\r\n五\r\nab");
  // A column below 2 from the port is clamped: every character makes progress.
  for (int col : {1, 0, -5}) {
    Load("一二三四五\r\nab", 0, 2);
    dialogs.returnCol = col;
    EXPECT_EQ(RunAndUndo([&] { command.ReturnAt(); }), "一\r\n二\r\n三\r\n四\r\n五\r\nab") << col;
  }
  Load("一二三四五\r\nab", 0, 2);
  dialogs.returnCol.reset();
  command.ReturnAt();
  EXPECT_EQ(Text(), "一二三四五\r\nab");
  EXPECT_FALSE(Editor().CanUndo());
}

class ReversedCollator : public ITextCollator {
 public:
  int Compare(std::string_view a, std::string_view b) const override { return b.compare(a); }
};

TEST_F(TKervFormatCommandTest, SortUsesTheGivenCollator) {
  ReversedCollator reversed;
  command.SetCollator(&reversed);
  Load("a\r\nc\r\nb", 0, 7);
  EXPECT_EQ(RunAndUndo([&] { command.Sort(); }), "c\r\nb\r\na");
}

}  // namespace
}  // namespace kerv
