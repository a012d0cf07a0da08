#pragma once
// A timer that runs OnTimer every Interval milliseconds while enabled (on the user-interface thread).
#include <windows.h>

#include "forms/events.h"
#include "forms/window_base.h"

namespace qr::forms {

class Timer : private WindowBase {
 public:
  Timer() = default;
  ~Timer() override;

  void SetInterval(unsigned milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  EventHandler OnTimer;

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Apply();

  unsigned interval_ = 0;
  bool enabled_ = false;
};

}  // namespace qr::forms
