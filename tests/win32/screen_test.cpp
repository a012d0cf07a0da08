#include "win32/screen.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "win32/display.h"

namespace qr::win {
namespace {

TEST(Screen, MetricsFollowTheScreenDpiAndSize) {
  const ScreenMetrics m = GetScreenMetrics();
  HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
  const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_DOUBLE_EQ(m.twipsPerPixelX, 1440.0 / dpiX);
  EXPECT_DOUBLE_EQ(m.twipsPerPixelY, 1440.0 / dpiY);
  EXPECT_EQ(m.widthPx, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(m.heightPx, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_DOUBLE_EQ(m.widthTwips, m.widthPx * m.twipsPerPixelX);
  EXPECT_DOUBLE_EQ(m.heightTwips, m.heightPx * m.twipsPerPixelY);
}

TEST(Screen, CursorPosReportsWhereTheCursorWasPut) {
  ASSERT_TRUE(SetCursorPos(123, 45));
  const std::optional<POINT> p = CursorPos();
  ASSERT_TRUE(p);
  EXPECT_EQ(p->x, 123);
  EXPECT_EQ(p->y, 45);
}

// Catches a display read ahead on its own thread that differs from the one read in place, a second start
// or an invalidation while it reads that hangs or loses it, and an override that it displaces.
TEST(Screen, TheDisplayReadAheadIsTheDisplayAndAnOverrideStillWins) {
  InvalidateDisplay();
  const DisplayLayout inPlace = ReadDisplayLayout();
  ASSERT_FALSE(inPlace.monitors.empty());
  StartReadingDisplay();
  StartReadingDisplay();
  EXPECT_EQ(CurrentDisplay(), inPlace);

  InvalidateDisplay();
  StartReadingDisplay();
  InvalidateDisplay();  // while it may still be reading
  DisplayLayout given = inPlace;
  given.monitors[0].rect.w += 100;
  OverrideDisplay(given);
  StartReadingDisplay();
  EXPECT_EQ(CurrentDisplay(), given);
  OverrideDisplay(std::nullopt);
  EXPECT_EQ(CurrentDisplay(), inPlace);
}

// A refresh holds the display it started from while messages run: a change of the display meanwhile (a
// layout put in place, another read after WM_DISPLAYCHANGE, from this thread or another) must not rewrite
// or free what it holds.
TEST(Screen, TheDisplayHeldStaysAsItWasWhenTheDisplayChanges) {
  const DisplayLayout system = ReadDisplayLayout();
  DisplayLayout before = system, after = system;
  after.monitors[0].rect.w += 100;
  OverrideDisplay(before);
  const DisplayLayout& held = CurrentDisplay();
  OverrideDisplay(after);
  EXPECT_EQ(held, before);

  OverrideDisplay(std::nullopt);
  std::atomic<bool> stop = false;
  std::thread changes([&] {
    while (!stop) InvalidateDisplay();
  });
  for (int i = 0; i < 200; ++i) EXPECT_EQ(CurrentDisplay().monitors.size(), system.monitors.size());
  stop = true;
  changes.join();
}

}  // namespace
}  // namespace qr::win
