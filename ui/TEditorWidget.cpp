#include "ui/TEditorWidget.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextCharFormat>
#include <cmath>
#include <exception>

#include "editor/TKervEditorParser.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtFontFamily.h"
#include "ui/TEditorAccessible.h"
#include "ui/UiMessages.h"

namespace kerv {

TEditorWidget::TEditorWidget(ICodePage& codePage, QWidget* parent) : QAbstractScrollArea(parent), codePage_(codePage) {
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setMouseTracking(true);
  viewport()->setCursor(Qt::IBeamCursor);
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  editor_ = std::make_unique<TEditor>(nullptr);
  planner_ = std::make_unique<TEditorPaintPlanner>(*editor_);
  editor_->SetWindow(this);
  clipboard_ = std::make_unique<QtClipboard>(codePage_);
  editor_->SetClipboard(clipboard_.get());
  charIndex_ = std::make_unique<TEditorCharIndex>(*editor_);
  charIndexStamp_ = editor_->RowStore().BulkStamp();
  // Assistive technology hears of changed text from the first changed row on.
  editor_->OnRowsChanged = [this](TEditor&, int firstRow) {
    charIndex_->Invalidate(firstRow);
    if (!QAccessible::isActive()) return;
    QAccessibleTextUpdateEvent event(this, static_cast<int>(CharIndex().OffsetOfRow(firstRow)), QString(), QString());
    QAccessible::updateAccessibility(&event);
  };
  TEditorAccessible::Install();
  editor_->OnCharsReplaced = [this](TEditor&, size_t replaced) {
    if (OnNotice) OnNotice(QString::fromUtf8(ui_messages::kCharsReplaced).arg(replaced));
  };
  viewport()->setAcceptDrops(true);
  int flash = QGuiApplication::styleHints()->cursorFlashTime();
  blink_.setInterval(flash > 0 ? flash / 2 : 500);
  connect(&blink_, &QTimer::timeout, this, &TEditorWidget::BlinkCaret);
  autoScroll_.setInterval(50);
  connect(&autoScroll_, &QTimer::timeout, this, &TEditorWidget::AutoScroll);
  idleFill_.setInterval(0);
  connect(&idleFill_, &QTimer::timeout, this, [this] {
    if (!FillIdleSlice()) idleFill_.stop();
  });
}

TEditorWidget::~TEditorWidget() {
  // The model must not call back into a half-destroyed window.
  editor_->SetWindow(nullptr);
}

// ---------------------------------------------------------------- text

char16_t TEditorWidget::GlyphCode(const char* bytes, int length) {
  // Every single byte and every double-byte code, converted once for all
  // windows of the process: painting converts no text.
  static const std::vector<char16_t> codes = [this] {
    std::vector<char16_t> table(0x10000, 0);
    for (int b = 0x20; b < 0x100; ++b) {
      if (IsLeadByte(static_cast<unsigned char>(b)) || b == 0x7F || b == 0x80 || b == 0xA0) continue;
      char one = static_cast<char>(b);
      std::u16string u = codePage_.Cp932ToUtf16(std::string_view(&one, 1));
      if (u.size() == 1) table[b] = u[0];
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        if (trail == 0x7F) continue;
        char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        std::u16string u = codePage_.Cp932ToUtf16(std::string_view(two, 2));
        if (u.size() == 1 && u[0] != 0xFFFD) table[(lead << 8) | trail] = u[0];
      }
    }
    return table;
  }();
  auto b0 = static_cast<unsigned char>(bytes[0]);
  return length == 2 ? codes[(b0 << 8) | static_cast<unsigned char>(bytes[1])] : codes[b0];
}

std::string TEditorWidget::ToInternal(const QString& text, size_t* replaced) {
  ConversionReport report;
  std::u16string u(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
  std::string out = codePage_.Utf16ToCp932(u, &report);
  if (replaced) *replaced = report.replaced;
  return out;
}

QString TEditorWidget::FromInternal(std::string_view text) {
  std::u16string u = codePage_.Cp932ToUtf16(text);
  return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

// ---------------------------------------------------------------- window services

QColor TEditorWidget::ToQColor(TColor color) {
  if (IsSystemColor(color)) {
    const QPalette palette = QGuiApplication::palette();
    switch (color & 0xFF) {
      case 5: return palette.color(QPalette::Base);          // clWindow
      case 8: return palette.color(QPalette::Text);          // clWindowText
      case 15: return palette.color(QPalette::Button);       // clBtnFace
      case 13: return palette.color(QPalette::Highlight);    // clHighlight
      case 14: return palette.color(QPalette::HighlightedText);
      default: return palette.color(QPalette::Text);
    }
  }
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

void TEditorWidget::ResolveFont() {
  const TEditorFont& font = editor_->Font();
  QFont resolved(InstalledFamily(FromInternal(font.Name())));
  resolved.setPointSize(std::max(1, font.Size()));
  resolved.setStyleHint(QFont::TypeWriter);
  resolved.setFixedPitch(true);
  resolved.setBold(font.Style() & fsBold);
  resolved.setItalic(font.Style() & fsItalic);
  resolved.setUnderline(font.Style() & fsUnderline);
  resolved.setStrikeOut(font.Style() & fsStrikeOut);
  font_ = resolved;
  for (int style = 0; style < 16; ++style) {
    QFont styled = font_;
    styled.setBold(style & fsBold);
    styled.setItalic(style & fsItalic);
    styled.setUnderline(style & fsUnderline);
    styled.setStrikeOut(style & fsStrikeOut);
    styledFonts_[style] = styled;
  }
  ascent_ = QFontMetrics(font_).ascent();
  for (int style = 0; style < 16; ++style) {
    rawFonts_[style] = QRawFont::fromFont(styledFonts_[style]);
    glyphIndexes_[style].clear();
  }
}

TFontMetrics TEditorWidget::MeasureFont(const TEditorFont&) {
  ResolveFont();
  QFontMetrics metrics(font_);
  TFontMetrics result;
  result.height = metrics.ascent() + metrics.descent();
  result.externalLeading = std::max(0, metrics.leading());
  // A cell is one byte: half of a full-width glyph, never narrower than a Latin one.
  int half = (metrics.horizontalAdvance(QChar(0x6F22)) + 1) / 2;
  result.averageWidth = std::max({1, metrics.horizontalAdvance(QLatin1Char('M')), half});
  return result;
}

int TEditorWidget::ClientWidth() const { return viewport()->width(); }
int TEditorWidget::ClientHeight() const { return viewport()->height(); }
bool TEditorWidget::HasFocus() const { return hasFocus(); }
bool TEditorWidget::LeftButtonDown() const { return QGuiApplication::mouseButtons() & Qt::LeftButton; }

QRect TEditorWidget::CaretRect() const { return caret_; }

void TEditorWidget::CreateCaret(int width, int height) {
  viewport()->update(caret_);
  caret_.setSize(QSize(width, height));
  caretExists_ = true;
  viewport()->update(caret_);
}

void TEditorWidget::DestroyCaret() {
  caretExists_ = false;
  blink_.stop();
  viewport()->update(caret_);
}

void TEditorWidget::SetCaretPos(int x, int y) {
  if (caret_.topLeft() == QPoint(x, y)) return;
  viewport()->update(caret_);
  caret_.moveTo(x, y);
  caretBlinkOn_ = true;
  viewport()->update(caret_);
  if (!preedit_.isEmpty()) viewport()->update();
}

void TEditorWidget::SetCaretVisible(bool visible) {
  if (visible == caretVisible_) return;
  caretVisible_ = visible;
  caretBlinkOn_ = true;
  if (visible && caretExists_) {
    blink_.start();
  } else {
    blink_.stop();
  }
  viewport()->update(caret_);
}

void TEditorWidget::BlinkCaret() {
  caretBlinkOn_ = !caretBlinkOn_;
  viewport()->update(caret_);
}

void TEditorWidget::MoveCompositionWindow(int, int) {
  if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImFont);
}

void TEditorWidget::InvalidateRect(const TRect& rect) {
  viewport()->update(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top));
}

void TEditorWidget::ScrollRect(const TRect& area, int dx, int dy) {
  viewport()->scroll(dx, dy, QRect(area.left, area.top, area.right - area.left, area.bottom - area.top));
  // The left bar and the ruler move with the text only in one direction each.
  const TEditorMetrics& m = editor_->Metrics();
  if (dy != 0 && editor_->Leftbar().Visible()) viewport()->update(QRect(0, m.textTop, m.textLeft, ClientHeight()));
  if (dx != 0 && editor_->Ruler().Visible()) viewport()->update(QRect(0, 0, ClientWidth(), m.textTop));
}

void TEditorWidget::SetScrollBar(TScrollBarKind kind, bool visible, int max, int page, int pos) {
  QScrollBar* bar = kind == sbVertical ? verticalScrollBar() : horizontalScrollBar();
  updatingBars_ = true;
  // The model's range includes the last page; a Qt bar's maximum is the last position.
  bar->setRange(0, std::max(0, max - page + 1));
  bar->setPageStep(std::max(1, page));
  bar->setSingleStep(1);
  bar->setValue(pos);
  updatingBars_ = false;
  Qt::ScrollBarPolicy policy = visible ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  if (kind == sbVertical && verticalScrollBarPolicy() != policy) setVerticalScrollBarPolicy(policy);
  if (kind == sbHorizontal && horizontalScrollBarPolicy() != policy) setHorizontalScrollBarPolicy(policy);
}

void TEditorWidget::Beep() { QApplication::beep(); }

TEditorCharIndex& TEditorWidget::CharIndex() {
  // Rows replaced wholesale (a load, a re-wrap, a split joining another
  // pane's rows) are counted afresh.
  const unsigned stamp = editor_->RowStore().BulkStamp();
  if (stamp != charIndexStamp_) {
    charIndex_->Invalidate(0);
    charIndexStamp_ = stamp;
  }
  return *charIndex_;
}

int TEditorWidget::CaretCharOffset() {
  const int row = editor_->Row();
  return static_cast<int>(CharIndex().OffsetOf(row, editor_->ColToByte(row, editor_->Col())));
}

void TEditorWidget::CaretMoved() {
  if (!QAccessible::isActive()) return;
  QAccessibleTextCursorEvent event(this, CaretCharOffset());
  QAccessible::updateAccessibility(&event);
}

void TEditorWidget::SelectionChanged() {
  if (!QAccessible::isActive()) return;
  QAccessibleInterface* self = QAccessible::queryAccessibleInterface(this);
  QAccessibleTextInterface* text = self ? self->textInterface() : nullptr;
  int start = 0;
  int end = 0;
  if (text) text->selection(0, &start, &end);
  QAccessibleTextSelectionEvent event(this, start, end);
  QAccessible::updateAccessibility(&event);
}

void TEditorWidget::scrollContentsBy(int, int) {
  if (updatingBars_) return;
  int rowDelta = verticalScrollBar()->value() - editor_->TopRow();
  int colDelta = horizontalScrollBar()->value() - editor_->TopCol();
  if (rowDelta != 0) editor_->ScrollBy(sbVertical, rowDelta);
  if (colDelta != 0) editor_->ScrollBy(sbHorizontal, colDelta);
}

// ---------------------------------------------------------------- painting

void TEditorWidget::paintEvent(QPaintEvent* event) {
  // Lines still waiting for their cut are cut before they are shown.
  editor_->CutShownRows();
  QPainter painter(viewport());
  PaintArea(painter, event->rect());
  // Every load and every edit is followed by a paint.
  ScheduleIdleFill();
}

void TEditorWidget::ScheduleIdleFill() {
  const TEditorScreenStrings& store = editor_->RowStore();
  if (!idleFill_.isActive() && (store.WrapPending() || store.BracketsPending())) idleFill_.start();
}

bool TEditorWidget::FillIdleSlice() {
  TEditorScreenStrings& store = editor_->RowStore();
  QElapsedTimer clock;
  clock.start();
  try {
    // The rows on screen were cut and computed when painted: the slice
    // changes nothing visible but the scroll range.
    // Bracket states first: a jump far down needs them, and lines cut later keep them.
    do {
      if (store.BracketsPending()) {
        store.FillBrackets(kIdleFillRows);
      } else {
        store.FillWrap(kIdleFillRows);
      }
    } while ((store.WrapPending() || store.BracketsPending()) && clock.elapsed() < kIdleSliceMs);
  } catch (const std::exception&) {
    // Out of memory for a row: lines are cut and states found when shown, as without the fill.
    return false;
  }
  return store.WrapPending() || store.BracketsPending();
}

QImage TEditorWidget::Render() {
  qreal ratio = devicePixelRatioF();
  QImage image(viewport()->size() * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  QPainter painter(&image);
  PaintArea(painter, QRect(QPoint(0, 0), viewport()->size()));
  return image;
}

void TEditorWidget::PaintArea(QPainter& painter, const QRect& clip) {
  TEditor& editor = *editor_;
  const TEditorMetrics& m = editor.Metrics();
  const int width = ClientWidth();
  const int height = ClientHeight();
  painter.fillRect(clip, ToQColor(editor.Color()));

  // Rows of the clip, on row boundaries.
  int top = std::max(clip.top(), m.textTop);
  int firstRow = editor.TopRow() + (top - m.textTop) / m.rowHeight;
  int lastRow = editor.TopRow() + (clip.bottom() - m.textTop) / m.rowHeight;
  painter.save();
  painter.setClipRect(QRect(m.textLeft, m.textTop, width - m.textLeft, height - m.textTop) & clip);
  for (int row = firstRow; row <= lastRow; ++row) {
    TRowPaintPlan plan = planner_->PlanRow(row);
    PaintRow(painter, plan, editor.RowToY(row), width);
  }
  // The caret-row underline, while nothing is selected.
  if (editor.Marks().Underline().Visible() && editor.UnderlineHideCount() == 0 && !editor.Selected()) {
    int y = editor.UnderlineY(editor.Row());
    if (y >= 0) {
      TColor color = editor.Marks().Underline().Color();
      painter.setPen(ToQColor(color == clNone ? editor.Font().Color() : color));
      painter.drawLine(m.textLeft, y, width, y);
    }
  }
  PaintPreedit(painter);
  painter.restore();

  if (editor.Ruler().Visible() && clip.top() < m.rulerHeight) PaintRuler(painter);
  if (editor.Leftbar().Visible() && clip.left() < m.textLeft) PaintLeftbar(painter, firstRow, lastRow);
  // The corner above the left bar.
  if (editor.Ruler().Visible() || editor.Leftbar().Visible()) {
    painter.fillRect(QRect(0, 0, m.textLeft, m.textTop) & clip, ToQColor(editor.Color()));
    if (editor.Ruler().Visible()) {
      painter.fillRect(QRect(0, 0, m.textLeft, m.rulerHeight) & clip, ToQColor(editor.Ruler().BkColor()));
    }
    int lineFrom = 0;
    if (editor.Leftbar().Visible()) {
      painter.fillRect(QRect(0, 0, m.leftbarWidth, m.textTop) & clip, ToQColor(editor.Leftbar().BkColor()));
      painter.setPen(ToQColor(editor.Leftbar().Color()));
      painter.drawLine(m.leftbarWidth - 1, 0, m.leftbarWidth - 1, m.textTop);
      lineFrom = m.leftbarWidth;
    }
    if (editor.Ruler().Visible()) {
      painter.setPen(ToQColor(editor.Ruler().Color()));
      painter.drawLine(lineFrom, m.rulerHeight - 1, m.textLeft, m.rulerHeight - 1);
    }
  }

  if (caretExists_ && caretVisible_ && caretBlinkOn_ && hasFocus() && preedit_.isEmpty() && caret_.intersects(clip)) {
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(caret_, Qt::white);
    painter.restore();
  }
  ReportPaintErrors();
}

quint32 TEditorWidget::GlyphIndex(QChar ch, int styleIndex) {
  std::vector<quint32>& indexes = glyphIndexes_[styleIndex];
  if (indexes.empty()) indexes.assign(0x10000, kUnknownGlyph);
  quint32& index = indexes[ch.unicode()];
  if (index == kUnknownGlyph) {
    QVector<quint32> found = rawFonts_[styleIndex].glyphIndexesForString(QString(ch));
    index = found.isEmpty() ? 0 : found[0];
  }
  return index;
}

void TEditorWidget::DrawCell(QPainter& painter, int x, int baseline, const char* bytes, int length) {
  char16_t code = GlyphCode(bytes, length);
  if (code != 0) painter.drawText(QPoint(x, baseline), QString(QChar(code)));
}

void TEditorWidget::PaintRow(QPainter& painter, const TRowPaintPlan& plan, int y, int clipRight) {
  TEditor& editor = *editor_;
  const TEditorMetrics& m = editor.Metrics();
  const int cw = m.charWidth;
  const int x0 = m.textLeft - editor.TopCol() * cw;
  const int band = m.fontHeight + (editor.Selected() ? 1 : 0);
  const int baseline = y + ascent_;
  QColor background = ToQColor(editor.Color());
  painter.fillRect(QRect(m.textLeft, y, clipRight - m.textLeft, band), background);
  auto drawMarkText = [&](int x, const char* text, QColor color, QColor bk) {
    for (int i = 0; text[i] != 0;) {
      int length = IsLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] ? 2 : 1;
      painter.fillRect(QRect(x, y, length * cw, m.fontHeight), bk);
      painter.setPen(color);
      painter.setFont(font_);
      DrawCell(painter, x, baseline, text + i, length);
      x += length * cw;
      i += length;
    }
  };
  if (!plan.exists) {
    if (plan.eofMarkAtStart) {
      drawMarkText(x0, "[EOF]", ToQColor(editor.Marks().EofMark().Color()), background);
    }
    return;
  }
  const std::string& text = plan.text;
  const int length = static_cast<int>(text.size());
  // Cell i of the plan stands in column plan.firstCol + i.
  const int xText = x0 + plan.firstCol * cw;
  const int rightCol = editor.TopCol() + (clipRight - m.textLeft) / cw + 2;
  // Backgrounds first, in runs of one colour; then the glyphs.
  int firstVisible = std::clamp(editor.TopCol() - 1 - plan.firstCol, 0, length);
  int limit = std::clamp(rightCol - plan.firstCol, 0, length);
  for (int i = firstVisible; i < limit;) {
    TColor bk = plan.cells[i].bkColor;
    int j = i + 1;
    while (j < limit && plan.cells[j].bkColor == bk) ++j;
    if (bk != editor.Color()) painter.fillRect(QRect(xText + i * cw, y, (j - i) * cw, band), ToQColor(bk));
    i = j;
  }
  // The selection runs on past the text on rows it passes through.
  if (plan.selRightCol > plan.rowWidth) {
    int from = std::max({plan.rowWidth, plan.selLeftCol, editor.TopCol() - 1});
    int to = std::min(plan.selRightCol, rightCol);
    if (to > from) {
      painter.fillRect(QRect(x0 + from * cw, y, (to - from) * cw, band),
                       ToQColor(editor.View().Colors().Item(ceSelect).BkColor()));
    }
  }
  // Glyphs go out as glyph runs of one style and colour, each glyph placed on
  // its own cell (no shaping, no font advances); a character the font lacks
  // is drawn as text, so the font system's fallback finds it a glyph.
  QVector<quint32> indexes;
  QVector<QPointF> positions;
  int runStyle = -1;
  TColor runColor = 0;
  auto flush = [&] {
    if (indexes.isEmpty()) return;
    QGlyphRun glyphRun;
    glyphRun.setRawFont(rawFonts_[runStyle]);
    glyphRun.setGlyphIndexes(indexes);
    glyphRun.setPositions(positions);
    glyphRun.setUnderline(runStyle & fsUnderline);
    glyphRun.setStrikeOut(runStyle & fsStrikeOut);
    painter.setPen(ToQColor(runColor));
    painter.drawGlyphRun(QPointF(0, 0), glyphRun);
    indexes.clear();
    positions.clear();
  };
  for (int i = 0; i < length;) {
    int charLength = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < length ? 2 : 1;
    if (i >= limit) break;
    if (i + charLength > firstVisible) {
      const TCellStyle& style = plan.cells[i];
      int styleIndex = style.style & 0x0F;
      char16_t code = GlyphCode(text.data() + i, charLength);
      int x = xText + i * cw;
      if (code != 0 && code != u' ') {
        if (styleIndex != runStyle || style.color != runColor) {
          flush();
          runStyle = styleIndex;
          runColor = style.color;
        }
        quint32 index = GlyphIndex(QChar(code), styleIndex);
        if (index != 0) {
          indexes.append(index);
          positions.append(QPointF(x, baseline));
        } else {
          painter.setFont(styledFonts_[styleIndex]);
          painter.setPen(ToQColor(style.color));
          painter.drawText(QPoint(x, baseline), QString(QChar(code)));
        }
      }
    }
    i += charLength;
  }
  flush();
  if (marks_.tab || marks_.space || marks_.wideSpace) PaintWhitespaceMarks(painter, plan, y, clipRight);
  if (OnDrawLine) {
    TDrawLineArgs args{plan.text, xText, y, plan.row, QRect(m.textLeft, y, clipRight - m.textLeft, m.rowHeight),
                       plan.selRightCol > plan.selLeftCol};
    OnDrawLine(painter, args);
  }
  if (plan.firstCol + length < plan.rowWidth) return;  // the row goes on out of view
  int x = x0 + plan.rowWidth * cw;
  if (x >= clipRight) return;
  if (plan.endMark == remEof) {
    drawMarkText(x, "[EOF]", ToQColor(editor.Marks().EofMark().Color()), background);
  } else if (plan.endMark == remRet && x >= m.textLeft) {
    const TEditorColors& colors = editor.View().Colors();
    painter.setPen(ToQColor(plan.endMarkSelected ? colors.Item(ceSelect).Color() : editor.Marks().RetMark().Color()));
    int cx = x + cw / 2;
    int bottom = y + m.fontHeight - 4;
    painter.drawLine(cx, y + 6, cx, bottom);
    painter.drawLine(cx, bottom, cx + 3, y + m.fontHeight - 7);
    painter.drawLine(cx, bottom, cx - 3, y + m.fontHeight - 7);
  }
}

void TEditorWidget::PaintWhitespaceMarks(QPainter& painter, const TRowPaintPlan& plan, int y, int clipRight) {
  TEditor& editor = *editor_;
  std::string_view raw = editor.RowText(plan.row);
  // A very long row planned only around the view is scanned only there (when
  // it has no tab, its columns are its bytes).
  int colBase = 0;
  bool windowed = plan.firstCol > 0 || plan.firstCol + static_cast<int>(plan.text.size()) < plan.rowWidth;
  if (windowed && raw.find('\t') == std::string_view::npos) {
    raw = raw.substr(plan.firstCol, plan.text.size());
    colBase = plan.firstCol;
  }
  if (raw.find_first_of(std::string_view("\t \x81", 3)) == std::string_view::npos) return;
  const TEditorMetrics& m = editor.Metrics();
  const int cw = m.charWidth;
  const int x0 = m.textLeft - editor.TopCol() * cw;
  const int tab = editor.Caret().TabSpaceCount();
  const int w = cw - editor.Margin().Character();
  const int yTop = y + ((editor.Font().Style() & fsBold) ? 0 : 2);
  const QColor plainColor = ToQColor(marks_.color);
  const QColor selectedColor = ToQColor(editor.View().Colors().Item(ceSelect).Color());
  // Parsed as the application's parser does: spaces come out as symbols.
  std::unique_ptr<TEditorParser> parser =
      TKervEditorParser::Create(raw.data(), raw.size(), kBracketNone, &editor.View());
  int extra = 0;  // cells the tabs before a token add beyond their own byte
  for (; parser->Token() != tkEnd; parser->NextToken()) {
    std::string_view token = parser->TokenView();
    int start = parser->TokenPos();
    for (size_t k = 0; k < token.size(); ++k) {
      int col = colBase + start + static_cast<int>(k) + extra;
      int x = x0 + col * cw;
      unsigned char b = static_cast<unsigned char>(token[k]);
      bool wide = b == 0x81 && k + 1 < token.size() && static_cast<unsigned char>(token[k + 1]) == 0x40;
      bool selected = col >= plan.selLeftCol && col < plan.selRightCol;
      painter.setPen(QPen(selected ? selectedColor : plainColor, 1));
      int cells = wide ? 2 : 1;
      bool inside = x >= m.textLeft && x + cells * cw <= clipRight;
      if (b == '\t') {
        int fill = tab - (col % tab) - 1;
        if (marks_.tab && inside) {
          int yc = y + (m.rowHeight - editor.Margin().Line()) / 2;
          bool big = cw >= 14;
          int h = big ? 5 : 1;
          int d = big ? 5 : 3;
          painter.setPen(QPen(selected ? selectedColor : plainColor, big ? 2 : 1));
          painter.drawLine(x + 2, yc - h, x + 2 + d, yc);
          painter.drawLine(x + 2, yc + h, x + 2 + d, yc);
        }
        extra += fill;
      } else if (b == ' ' && marks_.space && inside) {
        int right = x + w - 3;
        int bottom = yTop + 2 * w - 4;
        int left = std::max(x + 2, m.textLeft);
        painter.drawLine(right, yTop + (3 * w) / 2 - 3, right, bottom);
        painter.drawLine(right, bottom, left, bottom);
        painter.drawLine(left, bottom, left, yTop + (3 * w) / 2 - 4);
      } else if (wide) {
        if (marks_.wideSpace && inside) {
          QRect box(QPoint(x + 2, yTop), QPoint(x + 2 * w - 2, yTop + 2 * w - 4));
          painter.drawLine(box.topLeft(), box.topRight());
          painter.drawLine(box.topRight(), box.bottomRight());
          painter.drawLine(box.bottomLeft(), box.bottomRight());
          if (box.left() >= m.textLeft) painter.drawLine(box.topLeft(), box.bottomLeft());
        }
        ++k;
      } else if (IsLeadByte(b) && k + 1 < token.size()) {
        ++k;
      }
    }
  }
}

void TEditorWidget::PaintLeftbar(QPainter& painter, int firstRow, int lastRow) {
  TEditor& editor = *editor_;
  const TEditorMetrics& m = editor.Metrics();
  const TEditorLeftbar& bar = editor.Leftbar();
  QColor bk = ToQColor(bar.BkColor());
  QColor color = ToQColor(bar.Color());
  painter.fillRect(QRect(0, m.textTop, m.leftbarWidth - 1, ClientHeight() - m.textTop), bk);
  painter.setPen(color);
  painter.drawLine(m.leftbarWidth - 1, 0, m.leftbarWidth - 1, ClientHeight());
  if (!bar.ShowNumber()) return;
  painter.setFont(font_);
  for (int row = firstRow; row <= lastRow; ++row) {
    std::string number = planner_->LeftbarNumber(row);
    if (number.empty()) continue;
    int y = editor.RowToY(row);
    painter.save();
    painter.setClipRect(QRect(0, y, m.leftbarWidth - 1, m.rowHeight));
    for (size_t i = 0; i < number.size(); ++i) {
      DrawCell(painter, bar.LeftMargin() + static_cast<int>(i) * m.charWidth, y + ascent_, number.data() + i, 1);
    }
    painter.restore();
  }
}

void TEditorWidget::PaintRuler(QPainter& painter) {
  TEditor& editor = *editor_;
  const TEditorMetrics& m = editor.Metrics();
  const TEditorRuler& ruler = editor.Ruler();
  const int cw = m.charWidth;
  const int h = m.rulerHeight;
  const int range = ruler.GaugeRange();
  painter.save();
  painter.setClipRect(QRect(m.textLeft, 0, ClientWidth() - m.textLeft, h));
  painter.fillRect(QRect(m.textLeft, 0, ClientWidth() - m.textLeft, h), ToQColor(ruler.BkColor()));
  QColor ink = ToQColor(ruler.Color());
  painter.setPen(ink);
  int firstCol = editor.TopCol() - editor.TopCol() % range;
  int lastCol = editor.TopCol() + editor.VisibleCols() + range;
  auto drawDigits = [&](int x, int number, QColor color) {
    std::string digits = std::to_string(number);
    for (char digit : digits) {
      const char* const* rows = kRulerDigitRows[digit - '0'];
      for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 4; ++c) {
          if (rows[r][c] == '#') painter.fillRect(QRect(x + c, 1 + r, 1, 1), color);
        }
      }
      x += digit == '1' ? 3 : 5;
    }
  };
  const int columnRange = editor.ColumnRange();
  for (int col = firstCol; col <= lastCol && col <= columnRange + range; ++col) {
    int x = editor.ColToX(col);
    int d = col % range;
    if (d == 0) {
      painter.drawLine(x, 0, x, h - 1);
      if (col <= columnRange + range - 1) drawDigits(x + 1, col, ink);
    } else if (d == range / 2) {
      painter.drawLine(x, 2, x, h - 3);
    } else {
      painter.drawLine(x, 4, x, h - 5);
    }
  }
  painter.drawLine(m.textLeft, h - 1, ClientWidth(), h - 1);
  // The caret column as a block in the mark colour.
  int caretX = editor.ColToX(editor.Col());
  if (caretX >= m.textLeft) painter.fillRect(QRect(caretX + 1, 0, cw - 1, h - 1), ToQColor(ruler.MarkColor()));
  painter.restore();
}

void TEditorWidget::PaintPreedit(QPainter& painter) {
  if (preedit_.isEmpty()) return;
  const TEditorMetrics& m = editor_->Metrics();
  int y = editor_->CaretY();
  // The composition takes the cells it will take once typed: one per byte of
  // its Shift_JIS form, two for a character the code page lacks.
  std::vector<int> xs(preedit_.size() + 1, caret_.x());
  for (int i = 0; i < preedit_.size(); ++i) {
    size_t lost = 0;
    int cells = static_cast<int>(ToInternal(QString(preedit_[i]), &lost).size());
    if (lost > 0 || cells == 0) cells = 2;
    xs[i + 1] = xs[i] + cells * m.charWidth;
  }
  QColor ink = ToQColor(editor_->Font().Color());
  painter.setFont(font_);
  for (int i = 0; i < preedit_.size(); ++i) {
    painter.fillRect(QRect(xs[i], y, xs[i + 1] - xs[i], m.fontHeight), ToQColor(editor_->Color()));
    painter.setPen(ink);
    painter.drawText(QPoint(xs[i], y + ascent_), QString(preedit_[i]));
  }
  // The input method's underline, thicker under the part being converted.
  int underlineY = y + m.fontHeight - 1;
  painter.drawLine(xs.front(), underlineY, xs.back(), underlineY);
  auto xAt = [&](int index) { return xs[std::clamp(index, 0, static_cast<int>(preedit_.size()))]; };
  for (const QInputMethodEvent::Attribute& attribute : preeditAttributes_) {
    if (attribute.type != QInputMethodEvent::TextFormat) continue;
    QTextCharFormat format = qvariant_cast<QTextFormat>(attribute.value).toCharFormat();
    if (format.background().style() == Qt::NoBrush && !format.fontUnderline()) continue;
    int from = xAt(attribute.start);
    painter.fillRect(QRect(from, underlineY - 1, xAt(attribute.start + attribute.length) - from, 2), ink);
  }
  painter.fillRect(QRect(xAt(preeditCursor_), y, 2, m.fontHeight), ink);
}

void TEditorWidget::ReportPaintErrors() {
  if (planner_->Errors().empty()) return;
  // Reported after painting, once: the word is already out of the list.
  std::vector<TPaintError> errors = planner_->Errors();
  planner_->ClearErrors();
  for (const TPaintError& error : errors) {
    QString text = QString::fromUtf8(ui_messages::kBadReserveWord)
                       .arg(FromInternal(error.word), QString::fromUtf8(error.message.c_str()));
    QMetaObject::invokeMethod(
        this, [this, text] { if (OnNotice) OnNotice(text); }, Qt::QueuedConnection);
  }
}

// ---------------------------------------------------------------- keyboard and input method

bool TEditorWidget::event(QEvent* event) {
  // While the mouse holds the control (but not during a running drag, whose
  // keys go on) or while edits are locked, no shortcut reaches the
  // application either: the key press is swallowed below.
  if (event->type() == QEvent::ShortcutOverride &&
      (editLocked_ || (MouseBusy() && editor_->DragState() != dsDragging))) {
    event->accept();
    return true;
  }
  // Tab is the editor's while it wants tabs, not a focus move.
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && editor_->WantTabs()) {
      keyPressEvent(key);
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

std::string TEditorWidget::TypedBytes(const QString& text) {
  // Each character on its own: one that the code page cannot hold is refused
  // out loud (a beep and a notice naming it), the rest go in.
  std::string bytes;
  bool refused = false;
  for (int i = 0; i < text.size(); ++i) {
    int units = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QString ch = text.mid(i, units);
    i += units - 1;
    if (ch[0].unicode() < 0x20 || ch[0].unicode() == 0x7F) continue;
    size_t lost = 0;
    std::string one = ToInternal(ch, &lost);
    if (lost > 0) {
      refused = true;
      if (OnNotice) OnNotice(QString::fromUtf8(ui_messages::kCannotType).arg(ch));
      continue;
    }
    bytes += one;
  }
  if (refused) Beep();
  return bytes;
}

void TEditorWidget::TypeText(const QString& text) {
  std::string bytes = TypedBytes(text);
  // A single byte goes the way of a typed character, through the control's own key rules.
  if (bytes.size() == 1) {
    editor_->KeyPress(static_cast<unsigned char>(bytes[0]));
  } else if (!editor_->ReadOnly()) {
    editor_->InsertText(bytes);
  }
}

void TEditorWidget::keyPressEvent(QKeyEvent* event) {
  Qt::KeyboardModifiers mods = event->modifiers();
  bool shift = mods & Qt::ShiftModifier;
  bool ctrl = mods & Qt::ControlModifier;
  bool alt = mods & (Qt::AltModifier | Qt::MetaModifier);
  if (editLocked_) {
    event->accept();
    return;
  }
  const bool dragging = editor_->DragState() == dsDragging;
  if (dragging) {
    const TEditorCursors& cursors = editor_->Caret().Cursors();
    if (event->key() == Qt::Key_Escape) {
      editor_->CancelDrag();
      viewport()->setCursor(CursorOf(cursors.DefaultCursor()));
    } else if (event->key() == Qt::Key_Control) {
      viewport()->setCursor(CursorOf(cursors.DragSelCopyCursor()));
    }
  } else if (MouseBusy()) {
    // The button is held: a selection is being drawn or a drag may start.
    event->accept();
    return;
  }
  TEditorKey key;
  bool navigation = true;
  switch (event->key()) {
    case Qt::Key_PageUp: key = vkPrior; break;
    case Qt::Key_PageDown: key = vkNext; break;
    case Qt::Key_End: key = vkEnd; break;
    case Qt::Key_Home: key = vkHome; break;
    case Qt::Key_Left: key = vkLeft; break;
    case Qt::Key_Up: key = vkUp; break;
    case Qt::Key_Right: key = vkRight; break;
    case Qt::Key_Down: key = vkDown; break;
    case Qt::Key_Delete: key = vkDelete; break;
    default: navigation = false; key = vkDelete; break;
  }
  if (dragging && !navigation) {
    // During a drag the keys go on, but nothing is typed.
    QString typed = event->text();
    bool types = !typed.isEmpty() && !ctrl && !alt;
    if (types || event->key() == Qt::Key_Escape || event->key() == Qt::Key_Control) {
      event->accept();
    } else {
      event->ignore();
    }
    return;
  }
  if (navigation && !alt) {
    editor_->KeyDown(key, shift, ctrl, event->isAutoRepeat());
    if (shift && editor_->Selected()) editor_->UpdatePrimarySelection();
    event->accept();
    return;
  }
  switch (event->key()) {
    case Qt::Key_Backspace:
      if (!ctrl && !alt) {
        editor_->KeyPress(0x08);
        event->accept();
        return;
      }
      break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      editor_->KeyPress(0x09, shift || event->key() == Qt::Key_Backtab, ctrl);
      event->accept();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!ctrl && !alt) {
        editor_->KeyPress(0x0D);
        event->accept();
        return;
      }
      break;
    default:
      break;
  }
  QString text = event->text();
  if (!ctrl && !alt && !text.isEmpty() && text[0].unicode() >= 0x20 && text[0].unicode() != 0x7F) {
    TypeText(text);
    event->accept();
    return;
  }
  // Everything else is the application's (actions and key sets).
  event->ignore();
}

void TEditorWidget::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) editor_->KeyUp();
  if (editor_->DragState() == dsDragging && event->key() == Qt::Key_Control) {
    viewport()->setCursor(CursorOf(editor_->Caret().Cursors().DragSelCursor()));
    return QAbstractScrollArea::keyReleaseEvent(event);
  }
  if (MouseBusy()) {
    event->accept();
    return;
  }
  QAbstractScrollArea::keyReleaseEvent(event);
}

bool TEditorWidget::ReplacementBytes(const QInputMethodEvent& event, int& fromByte, int& toByte) const {
  if (event.replacementLength() <= 0 && event.replacementStart() == 0) return false;
  // The surrounding text offered is the caret row, one UTF-16 unit for each
  // of its characters: count characters to find the bytes.
  std::string_view text = editor_->RowText(editor_->Row());
  const int length = static_cast<int>(text.size());
  auto charEnds = [&](int byteIndex) { return IsLeadByte(static_cast<unsigned char>(text[byteIndex])) && byteIndex + 1 < length ? 2 : 1; };
  const int caretByte = std::min(length, editor_->ColToByte(editor_->Row(), editor_->Col()));
  int caretChars = 0;
  for (int b = 0; b < caretByte; b += charEnds(b)) ++caretChars;
  const int fromChar = std::max(0, caretChars + static_cast<int>(event.replacementStart()));
  const int toChar = std::max(fromChar, fromChar + static_cast<int>(event.replacementLength()));
  auto byteOfChar = [&](int chars) {
    int b = 0;
    for (int c = 0; c < chars && b < length; ++c) b += charEnds(b);
    return std::min(b, length);
  };
  fromByte = byteOfChar(fromChar);
  toByte = byteOfChar(toChar);
  return true;
}

void TEditorWidget::inputMethodEvent(QInputMethodEvent* event) {
  // Qt delivers the result once, as a commit string: nothing is echoed as key
  // events afterwards, so nothing is to be skipped. An input method that
  // reconverts or edits around the caret names the text it replaces: that
  // text and the result are one change, one undo step.
  int fromByte = 0;
  int toByte = 0;
  const bool replaces = ReplacementBytes(*event, fromByte, toByte);
  if ((!event->commitString().isEmpty() || replaces) && !editor_->ReadOnly() && !editLocked_) {
    std::string bytes = TypedBytes(event->commitString());
    if (replaces && toByte > fromByte) {
      const long long rowStart = editor_->OffsetOfRow(editor_->Row());
      editor_->SetSelStart(rowStart + fromByte);
      editor_->SetSelLength(toByte - fromByte);
    }
    if (!bytes.empty()) {
      editor_->InsertText(bytes);
    } else if (editor_->Selected()) {
      editor_->DeleteSelection();
    }
  }
  preedit_ = event->preeditString();
  preeditAttributes_ = event->attributes();
  preeditCursor_ = preedit_.size();
  for (const QInputMethodEvent::Attribute& attribute : preeditAttributes_) {
    if (attribute.type == QInputMethodEvent::Cursor) preeditCursor_ = attribute.start;
  }
  const TEditorMetrics& m = editor_->Metrics();
  viewport()->update(QRect(0, editor_->CaretY(), ClientWidth(), m.rowHeight));
  event->accept();
}

QVariant TEditorWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
  auto* self = const_cast<TEditorWidget*>(this);
  TEditor& editor = *editor_;
  std::string_view row = editor.RowText(editor.Row());
  int caretByte = std::min(static_cast<int>(row.size()), editor.ColToByte(editor.Row(), editor.Col()));
  // A read-only pane offers nothing to reconvert or to edit around the caret.
  const bool offers = !editor.ReadOnly();
  switch (query) {
    case Qt::ImEnabled:
      return true;
    case Qt::ImCursorRectangle: {
      QRect rect(caret_.x(), editor.CaretY(), std::max(2, caret_.width()), editor.Metrics().fontHeight);
      return QRectF(viewport()->mapTo(this, rect.topLeft()), rect.size());
    }
    case Qt::ImFont:
      return font_;
    case Qt::ImSurroundingText:
      return offers ? self->FromInternal(row) : QString();
    case Qt::ImCursorPosition:
      return offers ? static_cast<int>(self->FromInternal(row.substr(0, caretByte)).size()) : 0;
    case Qt::ImAnchorPosition: {
      if (!offers) return 0;
      if (!editor.Selected() || editor.Selection().startRow != editor.Selection().endRow) {
        return static_cast<int>(self->FromInternal(row.substr(0, caretByte)).size());
      }
      const TEditorSelection& sel = editor.Selection();
      int anchorByte = caretByte == sel.startByte ? sel.endByte + 1 : sel.startByte;
      anchorByte = std::clamp(anchorByte, 0, static_cast<int>(row.size()));
      return static_cast<int>(self->FromInternal(row.substr(0, anchorByte)).size());
    }
    case Qt::ImCurrentSelection: {
      // What a reconversion gets: the selection, or with nothing selected the
      // token under the caret; a selection holding a line break is refused.
      if (!offers || editor.Version() < 5.0) return QString();
      if (!editor.Selected()) return self->FromInternal(editor.WordAtCaret());
      const std::string selected = editor.SelText();
      if (selected.find("\r\n") != std::string::npos) return QString();
      return self->FromInternal(selected);
    }
    case Qt::ImHints:
      return static_cast<int>(Qt::ImhMultiLine);
    default:
      return QAbstractScrollArea::inputMethodQuery(query);
  }
}

// ---------------------------------------------------------------- mouse, wheel, focus

QCursor TEditorWidget::CursorOf(TCursor cursor) {
  switch (cursor) {
    case crRightArrow: {
      // The left bar's arrow points right, at the row it selects: the
      // standard arrow mirrored.
      static const QCursor rightArrow = [] {
        QPixmap pixmap(32, 32);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF arrow[] = {{20, 1}, {20, 18}, {16, 14}, {13, 21}, {10, 20}, {13, 13}, {7, 13}};
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(Qt::black);
        painter.drawPolygon(arrow, 7);
        return QCursor(pixmap, 20, 1);
      }();
      return rightArrow;
    }
    case crDragSelCopy: return QCursor(Qt::DragCopyCursor);
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crDrag: return QCursor(Qt::DragMoveCursor);
    case -1: return QCursor(Qt::BlankCursor);
    case -3: return QCursor(Qt::CrossCursor);
    case -6: return QCursor(Qt::SizeBDiagCursor);
    case -7: return QCursor(Qt::SizeVerCursor);
    case -8: return QCursor(Qt::SizeFDiagCursor);
    case -9: return QCursor(Qt::SizeHorCursor);
    case -10: return QCursor(Qt::UpArrowCursor);
    case -11: return QCursor(Qt::WaitCursor);
    case -13: case -18: return QCursor(Qt::ForbiddenCursor);
    case -14: return QCursor(Qt::SplitHCursor);
    case -15: return QCursor(Qt::SplitVCursor);
    case -16: return QCursor(Qt::DragMoveCursor);
    case -19: return QCursor(Qt::BusyCursor);
    case -20: return QCursor(Qt::WhatsThisCursor);
    case -21: return QCursor(Qt::PointingHandCursor);
    case -22: return QCursor(Qt::SizeAllCursor);
    default: return QCursor(Qt::ArrowCursor);
  }
}

void TEditorWidget::UpdateCursor(TEditorCursorKind kind) {
  const TEditorCaret& caret = editor_->Caret();
  const TEditorCursors& cursors = caret.Cursors();
  // The drag cursors are set whatever; the others only when the control picks
  // its cursor by what lies under the mouse.
  if (!caret.AutoCursor() && kind != ckDrag && kind != ckDragCopy) return;
  switch (kind) {
    case ckLeftMargin: viewport()->setCursor(CursorOf(cursors.LeftMarginCursor())); break;
    case ckInSelection: viewport()->setCursor(CursorOf(cursors.InSelCursor())); break;
    case ckDrag: viewport()->setCursor(CursorOf(cursors.DragSelCursor())); break;
    case ckDragCopy: viewport()->setCursor(CursorOf(cursors.DragSelCopyCursor())); break;
    default: viewport()->setCursor(CursorOf(cursors.DefaultCursor())); break;
  }
}

void TEditorWidget::mousePressEvent(QMouseEvent* event) {
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  // Locked, or another button while the left one is held: nothing happens.
  if (editLocked_ || MouseBusy()) {
    event->accept();
    return;
  }
  QPoint p = event->position().toPoint();
  if (event->button() == Qt::MiddleButton) {
    // The X11 convention: the middle button pastes the primary selection at the cell.
    TRowCol cell = editor_->PosToRowCol(p.x(), p.y(), true);
    editor_->PastePrimaryAt(cell.row, cell.col);
    event->accept();
    return;
  }
  if (event->button() == Qt::LeftButton) {
    if (!preedit_.isEmpty()) QGuiApplication::inputMethod()->reset();
    leftDown_ = true;
    bool shift = event->modifiers() & Qt::ShiftModifier;
    bool ctrl = event->modifiers() & Qt::ControlModifier;
    editor_->MouseDown(p.x(), p.y(), shift, ctrl);
    event->accept();
    return;
  }
  QAbstractScrollArea::mousePressEvent(event);
}

void TEditorWidget::mouseMoveEvent(QMouseEvent* event) {
  QPoint p = event->position().toPoint();
  bool left = event->buttons() & Qt::LeftButton;
  bool ctrl = event->modifiers() & Qt::ControlModifier;
  UpdateCursor(editor_->MouseMove(p.x(), p.y(), left, ctrl));
  lastMouse_ = p;
  lastCtrl_ = ctrl;
  const TEditorMetrics& m = editor_->Metrics();
  bool outside = p.y() < m.textTop || p.y() >= m.textTop + editor_->VisibleRows() * m.rowHeight;
  if (left && outside) {
    if (!autoScroll_.isActive()) autoScroll_.start();
  } else {
    autoScroll_.stop();
  }
  event->accept();
}

void TEditorWidget::AutoScroll() {
  if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
    autoScroll_.stop();
    return;
  }
  editor_->MouseMove(lastMouse_.x(), lastMouse_.y(), true, lastCtrl_);
}

void TEditorWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    autoScroll_.stop();
    leftDown_ = false;
    QPoint p = event->position().toPoint();
    editor_->MouseUp(p.x(), p.y(), event->modifiers() & Qt::ControlModifier);
    editor_->UpdatePrimarySelection();
    UpdateCursor(editor_->MouseMove(p.x(), p.y(), false, false));
    event->accept();
    return;
  }
  QAbstractScrollArea::mouseReleaseEvent(event);
}

void TEditorWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (editLocked_ || MouseBusy()) {
    event->accept();
    return;
  }
  // The control has no double-click action of its own: the application decides.
  if (event->button() == Qt::LeftButton && OnDblClick) {
    OnDblClick(*editor_);
    editor_->UpdatePrimarySelection();
    event->accept();
    return;
  }
  QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void TEditorWidget::dragEnterEvent(QDragEnterEvent* event) {
  // Files are the main window's to open; text is the control's.
  if (event->mimeData()->hasText() && !event->mimeData()->hasUrls() && !editor_->ReadOnly() && !editLocked_) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TEditorWidget::dragMoveEvent(QDragMoveEvent* event) {
  QPoint p = event->position().toPoint();
  TRowCol cell = editor_->PosToRowCol(p.x(), p.y(), false);
  editor_->MoveCaretTo(cell.row, cell.col);
  event->acceptProposedAction();
}

void TEditorWidget::dropEvent(QDropEvent* event) {
  if (editLocked_) {
    event->ignore();
    return;
  }
  QPoint p = event->position().toPoint();
  TRowCol cell = editor_->PosToRowCol(p.x(), p.y(), false);
  TClipboardText dropped = MimeDataToText(event->mimeData(), codePage_);
  editor_->DropTextAt(cell.row, cell.col, dropped.text, dropped.replaced);
  event->acceptProposedAction();
}

void TEditorWidget::wheelEvent(QWheelEvent* event) {
  event->accept();
  if (MouseBusy()) return;
  // Smooth wheels and touchpads send small steps: what does not make a whole
  // row yet is kept for the next event (and dropped when the direction turns).
  auto whole = [](int& kept, int delta, int unit) {
    if ((kept > 0 && delta < 0) || (kept < 0 && delta > 0)) kept = 0;
    kept += delta;
    int steps = kept / unit;
    kept -= steps * unit;
    return steps;
  };
  const QPoint pixels = event->pixelDelta();
  const QPoint angle = event->angleDelta();
  int rows = 0;
  int cols = 0;
  if (!pixels.isNull()) {
    const TEditorMetrics& m = editor_->Metrics();
    rows = whole(wheelPixelsY_, pixels.y(), std::max(1, m.rowHeight));
    cols = whole(wheelPixelsX_, pixels.x(), std::max(1, m.charWidth));
  } else {
    // A notch is 120 eighths of a degree and moves the desktop's lines per notch.
    const int lines = std::max(1, QApplication::wheelScrollLines());
    rows = whole(wheelAngleY_, angle.y() * lines, 120);
    cols = whole(wheelAngleX_, angle.x() * lines, 120);
  }
  if (rows != 0) editor_->ScrollBy(sbVertical, -rows);
  if (cols != 0) editor_->ScrollBy(sbHorizontal, -cols);
}

void TEditorWidget::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  editor_->FocusIn();
}

void TEditorWidget::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  editor_->FocusOut();
}

void TEditorWidget::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  editor_->Resized();
}

}  // namespace kerv
