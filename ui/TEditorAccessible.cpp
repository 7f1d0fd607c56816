#include "ui/TEditorAccessible.h"

#include <QAccessible>
#include <QTextBoundaryFinder>
#include <algorithm>

#include "editor/TEditor.h"
#include "editor/TEditorCharIndex.h"
#include "editor/TEditorScreenStrings.h"
#include "ui/TEditorWidget.h"

namespace kerv {
namespace {

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className == QLatin1String("kerv::TEditorWidget") && object && object->isWidgetType()) {
    return new TEditorAccessible(static_cast<TEditorWidget*>(object));
  }
  return nullptr;
}


}  // namespace

TEditorAccessible::TEditorAccessible(TEditorWidget* widget) : QAccessibleWidget(widget, QAccessible::EditableText) {}

void TEditorAccessible::Install() {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
}

TEditorWidget* TEditorAccessible::Pane() const { return static_cast<TEditorWidget*>(widget()); }

void* TEditorAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TEditorAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.editable = !Pane()->Editor().ReadOnly();
  state.readOnly = Pane()->Editor().ReadOnly();
  state.multiLine = true;
  state.focusable = true;
  state.selectableText = true;
  return state;
}

QString TEditorAccessible::text(QAccessible::Text kind) const {
  // The value would be the whole document: readers ask for ranges instead.
  if (kind == QAccessible::Value) return QString();
  return QAccessibleWidget::text(kind);
}

// ---------------------------------------------------------------- selection and caret

int TEditorAccessible::selectionCount() const { return Pane()->Editor().Selected() ? 1 : 0; }

void TEditorAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = 0;
  const TEditor& editor = Pane()->Editor();
  if (selectionIndex != 0 || !editor.Selected()) return;
  TEditorCharIndex& index = Pane()->CharIndex();
  const TEditorSelection& sel = editor.Selection();
  if (editor.SelectionMode() == smBox) {
    *startOffset = static_cast<int>(index.OffsetOf(sel.firstRow, editor.ColToByte(sel.firstRow, sel.leftCol)));
    *endOffset = static_cast<int>(index.OffsetOf(sel.lastRow, editor.ColToByte(sel.lastRow, sel.rightCol)));
    return;
  }
  *startOffset = static_cast<int>(index.OffsetOf(sel.startRow, sel.startByte));
  *endOffset = static_cast<int>(index.OffsetOf(sel.endRow, sel.endByte + 1));
}

void TEditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex != 0) return;
  TEditor& editor = Pane()->Editor();
  TEditorCharIndex& index = Pane()->CharIndex();
  const TCharPosition first = index.PositionOf(std::min(startOffset, endOffset));
  const TCharPosition last = index.PositionOf(std::max(startOffset, endOffset));
  const long long from = editor.OffsetOfRow(first.row, first.byteIndex);
  const long long to = editor.OffsetOfRow(last.row, last.byteIndex);
  editor.SetSelStart(from);
  if (to > from) editor.SetSelLength(to - from);
}

void TEditorAccessible::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void TEditorAccessible::removeSelection(int selectionIndex) {
  if (selectionIndex == 0) Pane()->Editor().CancelSelection();
}

int TEditorAccessible::cursorPosition() const { return Pane()->CaretCharOffset(); }

void TEditorAccessible::setCursorPosition(int position) {
  TEditor& editor = Pane()->Editor();
  const TCharPosition at = Pane()->CharIndex().PositionOf(position);
  editor.SetSelStart(editor.OffsetOfRow(at.row, at.byteIndex));
}

// ---------------------------------------------------------------- text

int TEditorAccessible::characterCount() const { return static_cast<int>(Pane()->CharIndex().Count()); }

QString TEditorAccessible::text(int startOffset, int endOffset) const {
  TEditorWidget* pane = Pane();
  const TEditor& editor = pane->Editor();
  TEditorCharIndex& index = pane->CharIndex();
  startOffset = std::max(0, startOffset);
  if (endOffset < 0) endOffset = characterCount();
  if (endOffset <= startOffset) return QString();
  const TCharPosition at = index.PositionOf(startOffset);
  QString out;
  const int wanted = endOffset - startOffset;
  for (int row = at.row, from = at.byteIndex; row < editor.RowCount() && out.size() < wanted; ++row, from = 0) {
    // Never more than two bytes a character: the rest of a long row is not converted.
    const size_t bytes = 2 * static_cast<size_t>(wanted - out.size());
    out += pane->FromInternal(editor.RowText(row).substr(static_cast<size_t>(from), bytes));
    if (editor.RowKind(row) == raCrlf) out += QLatin1Char('\n');
  }
  return out.left(wanted);
}

void TEditorAccessible::Boundary(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const {
  TEditorWidget* pane = Pane();
  const TEditor& editor = pane->Editor();
  TEditorCharIndex& index = pane->CharIndex();
  const int count = characterCount();
  offset = std::clamp(offset, 0, count);
  if (type == QAccessible::NoBoundary) {
    *start = 0;
    *end = count;
    return;
  }
  if (type == QAccessible::CharBoundary) {
    *start = offset;
    *end = std::min(count, offset + 1);
    return;
  }
  const int row = index.PositionOf(offset).row;
  int firstRow = row;
  int lastRow = row;
  if (type == QAccessible::ParagraphBoundary && row < editor.RowCount()) {
    // A paragraph is a line of the document, however many rows it wraps into.
    firstRow = editor.RowStore().FirstRowOfLine(row);
    lastRow = editor.RowStore().LastRowOfLine(row);
  }
  const int rowStart = static_cast<int>(index.OffsetOfRow(firstRow));
  const int rowEnd = static_cast<int>(index.OffsetOfRow(lastRow + 1));
  if (type == QAccessible::LineBoundary || type == QAccessible::ParagraphBoundary) {
    *start = rowStart;
    *end = std::max(rowStart, rowEnd);
    return;
  }
  // Words and sentences, found within the row's own text.
  const QString rowText = text(rowStart, rowEnd);
  QTextBoundaryFinder finder(type == QAccessible::WordBoundary ? QTextBoundaryFinder::Word : QTextBoundaryFinder::Sentence,
                             rowText);
  finder.setPosition(offset - rowStart);
  const int inRow = offset - rowStart;
  int before = finder.isAtBoundary() ? inRow : finder.toPreviousBoundary();
  finder.setPosition(inRow);
  int after = finder.toNextBoundary();
  if (before < 0) before = 0;
  if (after < 0) after = static_cast<int>(rowText.size());
  *start = rowStart + before;
  *end = rowStart + std::max(before, after);
}

QString TEditorAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                        int* endOffset) const {
  Boundary(offset, boundaryType, startOffset, endOffset);
  return text(*startOffset, *endOffset);
}

QString TEditorAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                            int* endOffset) const {
  int start = 0;
  int end = 0;
  Boundary(offset, boundaryType, &start, &end);
  if (start <= 0) {
    *startOffset = *endOffset = 0;
    return QString();
  }
  Boundary(start - 1, boundaryType, startOffset, endOffset);
  return text(*startOffset, *endOffset);
}

QString TEditorAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                           int* endOffset) const {
  int start = 0;
  int end = 0;
  Boundary(offset, boundaryType, &start, &end);
  if (end >= characterCount()) {
    *startOffset = *endOffset = characterCount();
    return QString();
  }
  Boundary(end, boundaryType, startOffset, endOffset);
  return text(*startOffset, *endOffset);
}

// ---------------------------------------------------------------- geometry

QRect TEditorAccessible::characterRect(int offset) const {
  TEditorWidget* pane = Pane();
  const TEditor& editor = pane->Editor();
  const TCharPosition at = pane->CharIndex().PositionOf(offset);
  const TEditorMetrics& m = editor.Metrics();
  std::string_view row = editor.RowText(at.row);
  const bool wide = at.byteIndex + 1 < static_cast<int>(row.size()) &&
                    IsLeadByte(static_cast<unsigned char>(row[static_cast<size_t>(at.byteIndex)]));
  const int col = editor.ByteToCol(at.row, at.byteIndex);
  const QRect cell(editor.ColToX(col), editor.RowToY(at.row), m.charWidth * (wide ? 2 : 1), m.rowHeight);
  return QRect(pane->viewport()->mapToGlobal(cell.topLeft()), cell.size());
}

int TEditorAccessible::offsetAtPoint(const QPoint& point) const {
  TEditorWidget* pane = Pane();
  const TEditor& editor = pane->Editor();
  const QPoint local = pane->viewport()->mapFromGlobal(point);
  const TRowCol cell = editor.PosToRowCol(local.x(), local.y(), false);
  if (cell.row >= editor.RowCount()) return -1;
  return static_cast<int>(pane->CharIndex().OffsetOf(cell.row, editor.ColToByte(cell.row, cell.col)));
}

void TEditorAccessible::scrollToSubstring(int startIndex, int) {
  TEditor& editor = Pane()->Editor();
  const TCharPosition at = Pane()->CharIndex().PositionOf(startIndex);
  if (at.row < editor.TopRow() || at.row >= editor.TopRow() + editor.VisibleRows()) editor.SetTopRow(at.row);
}

QString TEditorAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = offset;
  return QString();
}

}  // namespace kerv
