// Timers of the toolkit.
#include "forms/timer.h"

namespace qr::forms {

namespace {
constexpr UINT_PTR kTimerId = 1;
const std::wstring kClassName = L"QrTimerSink";
}  // namespace

Timer::~Timer() {
  if (hwnd()) KillTimer(hwnd(), kTimerId);
}

void Timer::SetInterval(unsigned milliseconds) {
  interval_ = milliseconds;
  Apply();
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Apply();
}

void Timer::Apply() {
  if (!hwnd()) {
    if (!enabled_ || interval_ == 0) return;
    // A message-only window receives the ticks.
    if (!RegisterClassOnce(kClassName, 0)) return;
    if (!CreateWindowInstance(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE)) return;
  }
  KillTimer(hwnd(), kTimerId);
  if (enabled_ && interval_ > 0) SetTimer(hwnd(), kTimerId, interval_, nullptr);
}

LRESULT Timer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kTimerId) {
    if (enabled_ && OnTimer) {
      EventHandler handler = OnTimer;
      handler();
    }
    return 0;
  }
  return WindowBase::HandleMessage(msg, wp, lp);
}

}  // namespace qr::forms
