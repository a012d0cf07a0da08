// Timers: firing until disabled, a new interval while running.
#include "forms/timer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "support/keyboard.h"

namespace qr::forms {
namespace {

using qr::test::PumpUntil;

void PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

// Catches a timer that fires only once, or keeps firing after it was disabled or given no interval.
TEST(Timer, FiresRepeatedlyUntilDisabledOrGivenNoInterval) {
  Timer timer;
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.SetInterval(5);
  timer.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  timer.SetEnabled(false);
  const int whenDisabled = ticks;
  PumpFor(100);
  EXPECT_EQ(ticks, whenDisabled);
  timer.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return ticks > whenDisabled; }));
  timer.SetInterval(0);
  const int whenStopped = ticks;
  PumpFor(100);
  EXPECT_EQ(ticks, whenStopped);
}

// Catches a new interval that waits for the old one, and a timer enabled before it had an interval
// that never starts.
TEST(Timer, ANewIntervalTakesEffectAtOnce) {
  Timer slow, late;
  int slowTicks = 0, lateTicks = 0;
  slow.OnTimer = [&] { ++slowTicks; };
  late.OnTimer = [&] { ++lateTicks; };
  slow.SetInterval(60000);
  slow.SetEnabled(true);
  late.SetEnabled(true);
  slow.SetInterval(5);
  late.SetInterval(5);
  EXPECT_TRUE(PumpUntil([&] { return slowTicks > 0 && lateTicks > 0; }, 1000));
}

}  // namespace
}  // namespace qr::forms
