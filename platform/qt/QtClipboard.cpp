#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

#include <string>

namespace kerv {
namespace {

// Other programs on this platform expect LF between lines: the CR of each
// CR LF goes, in place (the text may be big).
void DropCarriageReturns(std::string& text) {
  size_t from = text.find("\r\n");
  if (from == std::string::npos) return;
  size_t to = from;
  for (size_t i = from; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    text[to++] = text[i];
  }
  text.resize(to);
}

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

QString ToUnicode(std::string_view text, ICodePage& codePage) {
  std::string utf8 = codePage.Cp932ToUtf8(text);
  DropCarriageReturns(utf8);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
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
