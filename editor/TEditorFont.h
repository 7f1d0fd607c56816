#pragma once
// The editor's font as data: the core stores and compares it; the window
// resolves it to an installed font and measures it.

#include <string>

#include "editor/TEditorColors.h"
#include "editor/TNotifyPersistent.h"

namespace kerv {

class TEditorFont : public TNotifyPersistent {
 public:
  static constexpr int kDefaultCharSet = 1;  // "the default character set"

  // Shift_JIS bytes, as the settings and edit modes store it.
  const std::string& Name() const { return name_; }
  int Size() const { return size_; }  // points
  int CharSet() const { return charSet_; }
  TColor Color() const { return color_; }
  TFontStyles Style() const { return style_; }
  void SetName(const std::string& value) { SetAndNotify(name_, value); }
  void SetSize(int value) { SetAndNotify(size_, value < 1 ? 1 : value); }
  void SetCharSet(int value) { SetAndNotify(charSet_, value < 0 ? 0 : value > 255 ? 255 : value); }
  void SetColor(TColor value) { SetAndNotify(color_, value); }
  void SetStyle(TFontStyles value) { SetAndNotify(style_, value); }

  void Assign(const TEditorFont& source) {
    if (&source == this) return;
    name_ = source.name_;
    size_ = source.size_;
    charSet_ = source.charSet_;
    color_ = source.color_;
    style_ = source.style_;
    Changed();
  }
  bool SameValues(const TEditorFont& other) const {
    return name_ == other.name_ && size_ == other.size_ && charSet_ == other.charSet_ && color_ == other.color_ &&
           style_ == other.style_;
  }

 private:
  std::string name_ = "FixedSys";
  int size_ = 12;
  int charSet_ = kDefaultCharSet;
  TColor color_ = clWindowText;
  TFontStyles style_ = 0;
};

}  // namespace kerv
