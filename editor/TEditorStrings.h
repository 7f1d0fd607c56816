#pragma once
// The line view of an editor's rows (its Lines): every operation is carried
// out on the row store of the owning editor. With word wrap on, a line is
// all the rows it was cut into.

#include <string>
#include <string_view>

#include "editor/TByteStream.h"
#include "editor/TStrings.h"

namespace kerv {

class TEditorScreenStrings;
class TEditorView;
class IFileSystem;

// What the line view needs of its editor beyond TEditorView: the row store
// it currently shows (a split window's panes share one), and whether it is visible.
class TEditorLinesOwner {
 public:
  virtual ~TEditorLinesOwner() = default;
  virtual TEditorScreenStrings& RowStore() = 0;
  virtual TEditorView& View() = 0;
  virtual bool Visible() const { return true; }
  // Switches the window's own redraw off and on around a batch.
  virtual void SetRedraw(bool on) { (void)on; }
};

class TEditorStrings : public TStrings {
 public:
  explicit TEditorStrings(TEditorLinesOwner& owner) : owner_(owner) {}

  int GetCount() const override;
  std::string Get(int index) const override;
  void Put(int index, std::string_view text) override;
  void Insert(int index, std::string_view text) override;
  int Add(std::string_view text) override;
  void Delete(int index) override;
  void Clear() override;
  std::string GetTextStr() const override;
  void SetTextStr(std::string_view text) override;
  // Also puts the caret after the last line, column 0.
  void Assign(const TStrings& source) override;

  void LoadFromStream(IByteStream& stream);
  // The same for a whole text in memory, whose bytes the rows take over;
  // false when the row store's adopt progress gave it up (nothing changed).
  bool LoadText(std::string&& text);
  // Reads the file whole and loads it as a stream; throws EFileError.
  void LoadFromFile(IFileSystem& fs, const std::string& fileName);

  // The first row of line (the row count for the line count).
  int LineToRow(int line) const;

 protected:
  void SetUpdateState(bool updating) override;

 private:
  void CheckLine(int line) const;
  int RowsOfLine(int line, int firstRow) const;
  // The frame of every change: drop the selection, hide the caret, replace,
  // place the caret caretOffset bytes after row's start, show the caret.
  void Replace(int row, int count, std::string_view text, int caretOffset);
  TEditorScreenStrings& Store() const { return owner_.RowStore(); }

  TEditorLinesOwner& owner_;
};

}  // namespace kerv
