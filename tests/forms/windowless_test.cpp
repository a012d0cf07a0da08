// Windowless controls: the keyboard's click, repainting when moved, a label sized to its caption.
#include "forms/windowless.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "forms/test_form.h"

namespace qr::forms {
namespace {

using test::LayoutForm;

// Catches a keyboard click on a hidden or disabled control, and one whose coordinates are device
// pixels where design pixels are due.
TEST(Windowless, PerformClickActsOnlyOnUsableControlsAtTheirCentre) {
  Label label;
  LayoutForm form([&](LayoutForm& f) { label.Create(f, 10, 10, 50, 16); });
  form.Show();
  form.SendDpiChange(144, RECT{0, 0, 450, 300});
  std::vector<std::string> log;
  label.OnMouseDown = [&](const MouseEvent& e) {
    log.push_back("down " + std::to_string(e.x) + "," + std::to_string(e.y) + " device " +
                  std::to_string(e.deviceX) + "," + std::to_string(e.deviceY));
  };
  label.OnClick = [&] { log.push_back("click"); };
  label.SetVisible(false);
  label.PerformClick();
  label.SetVisible(true);
  label.SetEnabled(false);
  label.PerformClick();
  EXPECT_TRUE(log.empty());
  label.SetEnabled(true);
  label.PerformClick();
  EXPECT_EQ(log, (std::vector<std::string>{"down 25,8 device 37,12", "click"}));
}

// Catches a click run after the press's own command closed the window.
TEST(Windowless, NoClickAfterTheReleaseClosedTheForm) {
  Label label;
  LayoutForm form([&](LayoutForm& f) { label.Create(f, 10, 10, 50, 16); });
  form.Show();
  int clicks = 0;
  label.OnMouseUp = [&](const MouseEvent&) { form.Unload(); };
  label.OnClick = [&] { ++clicks; };
  label.PerformClick();
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(clicks, 0);
}

COLORREF ScreenPixel(HWND wnd, int x, int y) {
  HDC dc = GetDC(wnd);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(wnd, dc);
  return c;
}

// Catches a move that repaints only the new place, leaving the control's old image on the window.
TEST(Windowless, MovingRepaintsWhereTheControlWasAndWhereItIs) {
  Label label;
  LayoutForm form([&](LayoutForm& f) { label.Create(f, 10, 10, 40, 20); });
  form.Show();
  label.SetBackColor(RGB(255, 0, 0));
  UpdateWindow(form.hwnd());
  ASSERT_EQ(ScreenPixel(form.hwnd(), 20, 20), RGB(255, 0, 0));
  label.Move(100, 10);
  UpdateWindow(form.hwnd());
  EXPECT_EQ(ScreenPixel(form.hwnd(), 20, 20), RGB(255, 255, 255));
  EXPECT_EQ(ScreenPixel(form.hwnd(), 110, 20), RGB(255, 0, 0));
}

// Catches an auto-sized label that shrinks below its design size, or that stores its measured
// (device) size as design pixels in a scaled window, growing by the scale on every caption.
TEST(Label, AutoSizeFitsTheCaptionInDesignPixels) {
  Label plain, scaled;
  LayoutForm form([&](LayoutForm& f) {
    plain.Create(f, 0, 0, 10, 30);
    scaled.Create(f, 0, 50, 10, 30);
  });
  form.Show();
  plain.SetAutoSize(true);
  plain.SetCaption("ｲﾝﾌﾟｯﾄﾌｧｲﾙの再生");
  EXPECT_GT(plain.Width(), 60);
  EXPECT_EQ(plain.Height(), 30) << "never smaller than designed";
  form.SendDpiChange(144, RECT{0, 0, 450, 300});
  scaled.SetAutoSize(true);
  scaled.SetCaption("ｲﾝﾌﾟｯﾄﾌｧｲﾙの再生");
  EXPECT_NEAR(scaled.Width(), plain.Width(), 3);
}

}  // namespace
}  // namespace qr::forms
