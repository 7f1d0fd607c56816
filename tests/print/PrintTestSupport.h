#pragma once
// Fakes and helpers of the printing tests: Shift_JIS literals, a fixed clock,
// a progress window that can cancel, a print job that records, and a
// printer with a fixed-width font laid out on the fake A4 printer.

#include <string>
#include <string_view>
#include <vector>

#include "print/TStringsPrinter.h"
#include "print/fake/FakePrinterDevice.h"
#include "print/fake/FixedWidthMeasurer.h"
#include "platform/posix/IconvCodePage.h"

namespace kerv::test {

inline IconvCodePage& TestCodePage() {
  static IconvCodePage codePage;
  return codePage;
}
inline std::string S(std::string_view utf8) { return TestCodePage().Utf8ToCp932(utf8, nullptr); }
inline std::string U(std::string_view sjis) { return TestCodePage().Cp932ToUtf8(sjis); }

class FixedClock : public IKervClock {
 public:
  TKervLocalTime now{2024, 3, 5, 9, 7, 3, 0};
  TKervLocalTime Now() override { return now; }
};

class FakeProgress : public IStringsPrinterProgress {
 public:
  struct Step {
    std::string text;
    int64_t total;
    int64_t done;
  };
  std::vector<std::string> shown;
  std::vector<Step> steps;
  int closed = 0;
  int64_t cancelAtDone = -1;  // Cancel is pressed during this update
  bool cancelled = false;

  void Show(const std::string& text) override { shown.push_back(text); }
  void Update(const std::string& text, int64_t total, int64_t done) override {
    steps.push_back({text, total, done});
    if (done == cancelAtDone) cancelled = true;
  }
  bool Cancelled() override { return cancelled; }
  void Close() override { ++closed; }
};

// A fixture-like bundle: the fake A4 printer at 10 dots per millimetre, a
// font 10 dots per byte and 20 dots per row, and the printer on top.
struct PrinterRig {
  FakePrinterDevice device;
  FixedWidthMeasurer measurer;
  FixedClock clock;
  FakeProgress progress;
  TStringsPrinter printer{device, measurer, clock};

  TMetaFileList Lay(const std::vector<std::string>& lines) {
    TMetaFileList pages;
    printer.MakePages(lines, pages, "progress");
    return pages;
  }
};

// The texts (UTF-8) of a page's ops of one role, in drawing order.
inline std::vector<std::string> Texts(const TPagePicture& page, TPrintTextRole role) {
  std::vector<std::string> texts;
  for (const TPrintTextOp& op : page.Ops()) {
    if (op.role == role) texts.push_back(U(page.Text(op)));
  }
  return texts;
}

inline std::vector<const TPrintTextOp*> Ops(const TPagePicture& page, TPrintTextRole role) {
  std::vector<const TPrintTextOp*> ops;
  for (const TPrintTextOp& op : page.Ops()) {
    if (op.role == role) ops.push_back(&op);
  }
  return ops;
}

inline std::vector<std::string> NumberedLines(int count, const std::string& text = "x") {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back(text);
  return lines;
}

}  // namespace kerv::test
