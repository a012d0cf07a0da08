#pragma once
// Watches for the canvas window while a test's thread shows it modally: records how it appeared, runs a
// test's steps on it while it is on the screen, and closes a canvas that stays longer than it should,
// so that a test fails instead of hanging. Works through a thread timer, which the canvas's own message
// loop dispatches.
#include <windows.h>

#include <chrono>
#include <functional>

namespace qr::test {

class CanvasWatch {
 public:
  using Step = std::function<void(HWND canvas, int tick)>;

  // `step` runs every 50 ms while a visible canvas exists, with the number of ticks it has been seen.
  explicit CanvasWatch(Step step = {}, std::chrono::milliseconds limit = std::chrono::seconds(10))
      : step_(std::move(step)), limitTicks_(static_cast<int>(limit.count() / kTickMs)) {
    instance_ = this;
    timer_ = SetTimer(nullptr, 0, kTickMs, &CanvasWatch::Tick);
  }
  CanvasWatch(const CanvasWatch&) = delete;
  CanvasWatch& operator=(const CanvasWatch&) = delete;
  ~CanvasWatch() {
    KillTimer(nullptr, timer_);
    instance_ = nullptr;
  }

  bool Seen() const { return seen_; }
  bool TimedOut() const { return timedOut_; }
  LONG_PTR ExStyle() const { return exStyle_; }
  LONG_PTR Style() const { return style_; }
  RECT Rect() const { return rect_; }

 private:
  static constexpr UINT kTickMs = 50;

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (instance_) instance_->Poll();
  }

  void Poll() {
    HWND canvas = FindWindowW(L"Quelm_Rask_C", nullptr);
    if (!canvas || !IsWindowVisible(canvas)) return;
    if (!seen_) {
      seen_ = true;
      exStyle_ = GetWindowLongPtrW(canvas, GWL_EXSTYLE);
      style_ = GetWindowLongPtrW(canvas, GWL_STYLE);
      GetWindowRect(canvas, &rect_);
    }
    ++ticks_;
    if (ticks_ > limitTicks_) {
      timedOut_ = true;
      PostMessageW(canvas, WM_CLOSE, 0, 0);
      return;
    }
    if (step_) step_(canvas, ticks_);
  }

  static inline CanvasWatch* instance_ = nullptr;
  Step step_;
  int limitTicks_;
  UINT_PTR timer_ = 0;
  int ticks_ = 0;
  bool seen_ = false;
  bool timedOut_ = false;
  LONG_PTR exStyle_ = 0, style_ = 0;
  RECT rect_{};
};

}  // namespace qr::test
