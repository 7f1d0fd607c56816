#pragma once
// The editor pane as assistive technology sees it: an editable text whose
// offsets count characters of the document's Unicode text (a double-byte
// character is one, a line break is one "\n", a wrapped row's end nothing).
// Every answer is made from the rows around the offset asked about; the
// document is never converted whole.

#include <QAccessibleWidget>

namespace kerv {

class TEditorWidget;

class TEditorAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit TEditorAccessible(TEditorWidget* widget);

  // Installs the factory that gives every editor pane this interface (once).
  static void Install();

  void* interface_cast(QAccessible::InterfaceType type) override;
  QAccessible::Role role() const override { return QAccessible::EditableText; }
  QAccessible::State state() const override;
  QString text(QAccessible::Text kind) const override;

  // QAccessibleTextInterface
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  int selectionCount() const override;
  void addSelection(int startOffset, int endOffset) override;
  void removeSelection(int selectionIndex) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(int startOffset, int endOffset) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                           int* endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                          int* endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                       int* endOffset) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int startIndex, int endIndex) override;
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

 private:
  TEditorWidget* Pane() const;
  // The unit (row, word, character, line) holding offset, as [start, end).
  void Boundary(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const;
};

}  // namespace kerv
