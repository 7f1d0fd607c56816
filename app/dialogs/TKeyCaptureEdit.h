#pragma once
// A field that takes one key combination as it is pressed (the hot-key field
// of the tool editor, the key field of the key page) and the translation of
// Qt's keys into the key sets' slots.

#include <QLineEdit>
#include <functional>
#include <optional>

#include "keys/TKeyCodes.h"

class QKeyEvent;

namespace kerv {

// The slot of a pressed key; none for a modifier alone, Meta or a key
// without a key index. Shift with a punctuation key or a digit reports the
// unshifted key, as a US keyboard labels it ("Shift+;" for ':').
std::optional<TKeySlot> SlotOfKey(int qtKey, Qt::KeyboardModifiers modifiers);
// "Shift+", "Ctrl+", "Alt+" as far as the row has them, then the desktop's
// name of the key ("Ctrl+PgDown"); empty for an invalid slot.
QString SlotDisplayText(TKeySlot slot);
// The desktop's name of a key index alone.
QString KeyDisplayName(int keyIndex);

class TKeyCaptureEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TKeyCaptureEdit(QWidget* parent = nullptr);

  // With clearKeys, Backspace or Delete pressed alone empty the field
  // instead of being taken (a hot-key field's way to say "none").
  void SetClearKeys(bool on) { clearKeys_ = on; }
  std::optional<TKeySlot> Slot() const { return slot_; }
  void SetSlot(std::optional<TKeySlot> slot);

  // After every key taken or cleared by the user.
  std::function<void(std::optional<TKeySlot>)> OnChanged;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::optional<TKeySlot> slot_;
  bool clearKeys_ = false;
};

}  // namespace kerv
