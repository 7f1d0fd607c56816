#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

#include <string>

namespace kerv {
namespace {

TClipboardText FromUnicode(const QString& text, ICodePage& codePage) {
  TClipboardText out;
  if (text.isEmpty()) return out;
  QByteArray utf8 = text.toUtf8();
  ConversionReport report;
  std::string sjis = codePage.Utf8ToCp932(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())), &report);
  out.text = CrLfLineBreaks(sjis);
  out.replaced = report.replaced;
  return out;
}

// Converted straight into the string's own units (no Shift_JIS character
// takes more units than bytes). Other programs on this platform expect LF
// between lines: the CR of each CR LF goes, in place (the text may be big).
QString ToUnicode(std::string_view text, ICodePage& codePage) {
  QString unicode(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
  char16_t* units = reinterpret_cast<char16_t*>(unicode.data());
  const size_t count = codePage.Cp932ToUtf16Into(text, units);
  size_t kept = 0;
  for (size_t i = 0; i < count; ++i) {
    if (units[i] == u'\r' && i + 1 < count && units[i + 1] == u'\n') continue;
    units[kept++] = units[i];
  }
  unicode.truncate(static_cast<qsizetype>(kept));
  return unicode;
}

}  // namespace

QMimeData* TextToMimeData(std::string_view text, bool box, ICodePage& codePage) {
  auto* data = new QMimeData;
  data->setText(ToUnicode(text, codePage));
  // The mark needs no payload: the text beside it is the box.
  if (box) data->setData(QString::fromLatin1(kBoxMimeType), QByteArray("1"));
  return data;
}

TClipboardText MimeDataToText(const QMimeData* data, ICodePage& codePage) {
  if (data == nullptr || !data->hasText()) return {};
  TClipboardText out = FromUnicode(data->text(), codePage);
  out.box = data->hasFormat(QString::fromLatin1(kBoxMimeType));
  return out;
}

QtClipboard::QtClipboard(ICodePage& codePage, QClipboard* clipboard)
    : codePage_(codePage), clipboard_(clipboard ? clipboard : QGuiApplication::clipboard()) {}

void QtClipboard::SetText(std::string_view text, bool box) {
  // The clipboard takes ownership of the data.
  clipboard_->setMimeData(TextToMimeData(text, box, codePage_), QClipboard::Clipboard);
}

bool QtClipboard::HasText() const {
  const QMimeData* data = clipboard_->mimeData(QClipboard::Clipboard);
  return data != nullptr && data->hasText();
}

bool QtClipboard::HasBox() const {
  const QMimeData* data = clipboard_->mimeData(QClipboard::Clipboard);
  return data != nullptr && data->hasText() && data->hasFormat(QString::fromLatin1(kBoxMimeType));
}

TClipboardText QtClipboard::Text() const {
  return MimeDataToText(clipboard_->mimeData(QClipboard::Clipboard), codePage_);
}

void QtClipboard::Clear() { clipboard_->setText(QString(), QClipboard::Clipboard); }

void QtClipboard::SetPrimaryText(std::string_view text) {
  if (!clipboard_->supportsSelection()) return;
  clipboard_->setMimeData(TextToMimeData(text, false, codePage_), QClipboard::Selection);
}

TClipboardText QtClipboard::PrimaryText() const {
  if (!clipboard_->supportsSelection()) return {};
  TClipboardText out = MimeDataToText(clipboard_->mimeData(QClipboard::Selection), codePage_);
  out.box = false;
  return out;
}

}  // namespace kerv
