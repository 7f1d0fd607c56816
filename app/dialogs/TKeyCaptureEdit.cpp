#include "app/dialogs/TKeyCaptureEdit.h"

#include <QKeyEvent>
#include <QKeySequence>

#include "platform/qt/QtText.h"

namespace kerv {
namespace {

// What Shift makes of the keys of a US keyboard's punctuation and digit row;
// the key set binds the key, not the character it gives.
constexpr std::pair<int, int> kShifted[] = {
    {Qt::Key_Colon, Qt::Key_Semicolon},     {Qt::Key_Plus, Qt::Key_Equal},
    {Qt::Key_Less, Qt::Key_Comma},          {Qt::Key_Underscore, Qt::Key_Minus},
    {Qt::Key_Greater, Qt::Key_Period},      {Qt::Key_Question, Qt::Key_Slash},
    {Qt::Key_AsciiTilde, Qt::Key_QuoteLeft}, {Qt::Key_BraceLeft, Qt::Key_BracketLeft},
    {Qt::Key_Bar, Qt::Key_Backslash},       {Qt::Key_BraceRight, Qt::Key_BracketRight},
    {Qt::Key_QuoteDbl, Qt::Key_Apostrophe}, {Qt::Key_Exclam, Qt::Key_1},
    {Qt::Key_At, Qt::Key_2},                {Qt::Key_NumberSign, Qt::Key_3},
    {Qt::Key_Dollar, Qt::Key_4},            {Qt::Key_Percent, Qt::Key_5},
    {Qt::Key_AsciiCircum, Qt::Key_6},       {Qt::Key_Ampersand, Qt::Key_7},
    {Qt::Key_Asterisk, Qt::Key_8},          {Qt::Key_ParenLeft, Qt::Key_9},
    {Qt::Key_ParenRight, Qt::Key_0},
};

bool IsModifierKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_unknown:
    case 0:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::optional<TKeySlot> SlotOfKey(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (IsModifierKey(qtKey) || (modifiers & Qt::MetaModifier)) return std::nullopt;
  // Shift+Tab arrives as its own key.
  if (qtKey == Qt::Key_Backtab) {
    qtKey = Qt::Key_Tab;
    modifiers |= Qt::ShiftModifier;
  }
  // The keypad's '*', '+' ... keep their own keys: only the main keyboard's
  // shifted characters go back to their key.
  if ((modifiers & Qt::ShiftModifier) && !(modifiers & Qt::KeypadModifier)) {
    for (const auto& [shifted, base] : kShifted) {
      if (qtKey == shifted) qtKey = base;
    }
  }
  const Qt::KeyboardModifiers kept =
      modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier);
  const QString text = QKeySequence(QKeyCombination(kept, static_cast<Qt::Key>(qtKey))).toString(QKeySequence::PortableText);
  return SlotOfPortableText(text.toStdString());
}

QString KeyDisplayName(int keyIndex) {
  const std::string_view portable = KeyPortableName(keyIndex);
  if (portable.empty()) return {};
  const QKeySequence sequence = QKeySequence::fromString(Utf8(portable), QKeySequence::PortableText);
  const QString native = sequence.toString(QKeySequence::NativeText);
  return native.isEmpty() ? Utf8(portable) : native;
}

QString SlotDisplayText(TKeySlot slot) {
  if (!IsValidKeySlot(slot)) return {};
  return Utf8(KeyRowDisplayPrefix(slot.row)) + KeyDisplayName(slot.keyIndex);
}

TKeyCaptureEdit::TKeyCaptureEdit(QWidget* parent) : QLineEdit(parent) {
  setReadOnly(true);
  // Read-only fields give up Tab; this one takes it like any other key.
  setFocusPolicy(Qt::StrongFocus);
}

void TKeyCaptureEdit::SetSlot(std::optional<TKeySlot> slot) {
  slot_ = slot && IsValidKeySlot(*slot) ? slot : std::nullopt;
  setText(slot_ ? SlotDisplayText(*slot_) : QString());
}

bool TKeyCaptureEdit::event(QEvent* event) {
  // Every key belongs to the field while it has the focus: no shortcut or
  // button mnemonic of the dialog, and no focus move on Tab.
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      keyPressEvent(key);
      return true;
    }
  }
  return QLineEdit::event(event);
}

void TKeyCaptureEdit::keyPressEvent(QKeyEvent* event) {
  event->accept();
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  const bool alone = (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
  if (clearKeys_ && alone && (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)) {
    SetSlot(std::nullopt);
    if (OnChanged) OnChanged(slot_);
    return;
  }
  std::optional<TKeySlot> slot = SlotOfKey(event->key(), modifiers);
  if (!slot) return;
  SetSlot(slot);
  if (OnChanged) OnChanged(slot_);
}

}  // namespace kerv
