#pragma once
// The editor control on screen: a Qt widget that owns one TEditor, gives it
// the window it needs (metrics, caret, invalidation, scroll bars, focus),
// paints its rows from paint plans on a fixed grid, and turns Qt's key,
// mouse, wheel and input-method events into the model's operations.

#include <QAbstractScrollArea>
#include <QCursor>
#include <QFont>
#include <QInputMethodEvent>
#include <QRawFont>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "editor/IEditorWindow.h"
#include "editor/TEditor.h"
#include "editor/TEditorCharIndex.h"
#include "editor/TEditorPaintPlan.h"
#include "platform/Clipboard.h"
#include "platform/CodePage.h"

namespace kerv {

// What OnDrawLine hands over after a row is painted.
struct TDrawLineArgs {
  std::string_view lineStr;  // the row's text, tabs expanded
  int x = 0;                 // x of column 0
  int y = 0;
  int row = 0;
  QRect rect;                // the piece painted
  bool selected = false;     // whether any of it is selected
};

// Marks for blanks the application asks for (from the edit mode).
struct TWhitespaceMarks {
  bool tab = false;
  bool space = false;
  bool wideSpace = false;
  TColor color = 0x00808080;
};

class TEditorWidget : public QAbstractScrollArea, public IEditorWindow {
  Q_OBJECT

 public:
  explicit TEditorWidget(ICodePage& codePage, QWidget* parent = nullptr);
  ~TEditorWidget() override;

  TEditor& Editor() { return *editor_; }
  ICodePage& CodePage() { return codePage_; }
  // The Qt font the grid is drawn with (the editor's font name resolved to an installed font).
  const QFont& GridFont() const { return font_; }
  // Where notices for the info bar go (a character that cannot be typed, a
  // reserved word that does not compile).
  std::function<void(const QString& text)> OnNotice;
  // After each painted row, for marks the application adds.
  std::function<void(QPainter& painter, const TDrawLineArgs& args)> OnDrawLine;
  // The blank marks drawn over every row (tabs, spaces, double-byte spaces).
  void SetWhitespaceMarks(const TWhitespaceMarks& marks) {
    marks_ = marks;
    viewport()->update();
  }
  const TWhitespaceMarks& WhitespaceMarks() const { return marks_; }
  // A double click: the application decides (it selects the word by default).
  std::function<void(TEditor& editor)> OnDblClick;

  // Unicode to the internal code page: characters it cannot hold become "?".
  std::string ToInternal(const QString& text, size_t* replaced = nullptr);
  QString FromInternal(std::string_view text);

  // Paints the visible rows into an image of the widget's size (benchmarks, tests).
  QImage Render();
  // While set (a replace-all runs over the text), the user's keys, mouse
  // presses, drops and input-method results leave the document alone.
  void SetEditLocked(bool locked) { editLocked_ = locked; }
  bool EditLocked() const { return editLocked_; }
  // The Qt cursor a cursor identifier of the caret options stands for.
  static QCursor CursorOf(TCursor cursor);

  // IEditorWindow
  TFontMetrics MeasureFont(const TEditorFont& font) override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  int ScrollBarExtent() const override { return 0; }
  bool HasFocus() const override;
  bool LeftButtonDown() const override;
  void CreateCaret(int width, int height) override;
  void DestroyCaret() override;
  void SetCaretPos(int x, int y) override;
  void SetCaretVisible(bool visible) override;
  void MoveCompositionWindow(int x, int y) override;
  void InvalidateRect(const TRect& rect) override;
  void ScrollRect(const TRect& area, int dx, int dy) override;
  void SetScrollBar(TScrollBarKind kind, bool visible, int max, int page, int pos) override;
  void Beep() override;
  void SelectionChanged() override;
  void CaretMoved() override;

  // Character offsets for assistive technology (counted afresh from the
  // first changed row on), and the caret's.
  TEditorCharIndex& CharIndex();
  int CaretCharOffset();

  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  // The colour a stored colour value stands for (system colours resolved).
  static QColor ToQColor(TColor color);

  // One idle slice of what a big text still waits for after it was loaded:
  // first the bracket states below the computed rows, then the cutting of
  // its lines when word wrap goes in steps. Pieces of kIdleFillRows rows
  // until about kIdleSliceMs have passed, so keys wait no longer than that.
  // Returns whether rows remain.
  bool FillIdleSlice();
  static constexpr int kIdleFillRows = 4096;
  static constexpr int kIdleSliceMs = 5;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void PaintArea(QPainter& painter, const QRect& clip);
  void PaintRow(QPainter& painter, const TRowPaintPlan& plan, int y, int clipRight);
  void PaintLeftbar(QPainter& painter, int firstRow, int lastRow);
  void PaintRuler(QPainter& painter);
  void PaintPreedit(QPainter& painter);
  void PaintWhitespaceMarks(QPainter& painter, const TRowPaintPlan& plan, int y, int clipRight);
  void DrawCell(QPainter& painter, int x, int baseline, const char* bytes, int length);
  void ReportPaintErrors();
  void TypeText(const QString& text);
  // Typed or committed text in the internal code page; refused characters are announced.
  std::string TypedBytes(const QString& text);
  void ResolveFont();
  void BlinkCaret();
  // Starts the idle cutting of lines and computing of bracket states still missing.
  void ScheduleIdleFill();
  QRect CaretRect() const;
  void UpdateCursor(TEditorCursorKind kind);
  // True while the user holds the left button in the control or a drag of
  // the selection is pending or running: keys and other buttons wait.
  bool MouseBusy() const { return leftDown_ || editor_->DragState() != dsNone; }
  // The replacement range of an input-method event, as bytes of the caret row.
  bool ReplacementBytes(const QInputMethodEvent& event, int& fromByte, int& toByte) const;
  void AutoScroll();
  // The character of the internal code page (1 or 2 bytes) as UTF-16 (0: none).
  char16_t GlyphCode(const char* bytes, int length);
  // The glyph of a character in one of the sixteen styles (0: the font has
  // none), cached.
  quint32 GlyphIndex(QChar ch, int styleIndex);

  ICodePage& codePage_;
  std::unique_ptr<TEditor> editor_;
  std::unique_ptr<TEditorPaintPlanner> planner_;
  std::unique_ptr<IClipboard> clipboard_;
  std::unique_ptr<TEditorCharIndex> charIndex_;
  unsigned charIndexStamp_ = 0;
  TWhitespaceMarks marks_;
  QFont font_;
  std::array<QFont, 16> styledFonts_;
  int ascent_ = 12;

  bool caretExists_ = false;
  bool caretVisible_ = false;
  bool caretBlinkOn_ = true;
  QRect caret_;
  QTimer blink_;
  // While the button is held outside the text area, the selection keeps
  // moving (and the view scrolling) without the mouse having to move.
  QTimer autoScroll_;
  QPoint lastMouse_;
  // Between events, lines still uncut and bracket states below the computed
  // ones are done a slice at a time, so that a jump far down does not wait for them.
  QTimer idleFill_;
  bool lastCtrl_ = false;
  bool leftDown_ = false;
  bool editLocked_ = false;
  // Wheel movement not yet turned into whole rows or columns: eighths of a
  // degree times the desktop's lines per notch, and pixels.
  int wheelAngleY_ = 0;
  int wheelAngleX_ = 0;
  int wheelPixelsY_ = 0;
  int wheelPixelsX_ = 0;

  // The input method's composition, drawn at the caret (the document is untouched).
  QString preedit_;
  int preeditCursor_ = 0;
  QList<QInputMethodEvent::Attribute> preeditAttributes_;

  bool updatingBars_ = false;
  static constexpr quint32 kUnknownGlyph = 0xFFFFFFFF;
  std::array<QRawFont, 16> rawFonts_;
  std::array<std::vector<quint32>, 16> glyphIndexes_;
};

}  // namespace kerv
