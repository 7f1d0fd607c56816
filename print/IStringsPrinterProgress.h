#pragma once
// The progress window shown while pages are laid out (TFormStrProgress): a
// text, a bar and a Cancel button that only notes the cancel.

#include <cstdint>
#include <string>

namespace kerv {

class IStringsPrinterProgress {
 public:
  virtual ~IStringsPrinterProgress() = default;
  // Shows the window with text and the bar at 0 per cent.
  virtual void Show(const std::string& text) = 0;
  // Sets the text and the bar to ProgressPercent(total, done), then lets
  // pending window events run so that Cancel can be pressed.
  virtual void Update(const std::string& text, int64_t total, int64_t done) = 0;
  // Whether Cancel has been pressed since Show.
  virtual bool Cancelled() = 0;
  virtual void Close() = 0;
};

// round(done / total x 100), a half to the even neighbour; a total of 0 or
// less counts as 1 of 1. Clamped to 0..100.
int ProgressPercent(int64_t total, int64_t done);

}  // namespace kerv
