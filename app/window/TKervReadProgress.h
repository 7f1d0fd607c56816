#pragma once
// The progress of a long read in the window: once a read has taken half a
// second, a bar with Cancel (Esc) while the read can still be given up. Not
// shown before the window is: a start file is read while it is being built.

#include <QElapsedTimer>
#include <memory>

class QWidget;

namespace kerv {

class TFormStrProgress;

class TKervReadProgress {
 public:
  static constexpr int kShowAfterMs = 500;

  explicit TKervReadProgress(QWidget& window);
  ~TKervReadProgress();
  TKervReadProgress(const TKervReadProgress&) = delete;
  TKervReadProgress& operator=(const TKervReadProgress&) = delete;

  // A read begins; it ends at Finish.
  void Start();
  // False when the user gave the read up (only while cancellable).
  bool Step(int permille, bool cancellable);
  void Finish();

 private:
  QWidget& window_;
  QElapsedTimer clock_;
  std::unique_ptr<TFormStrProgress> dialog_;
};

}  // namespace kerv
