// Containers: hit testing and mouse coordinates at a display scale, tool-tip areas, a pressed control
// going away.
#include "forms/container.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/test_form.h"

namespace qr::forms {
namespace {

using test::Edges;
using test::LayoutForm;

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

MouseHandler Record(std::vector<std::string>& log, const std::string& name) {
  return [&log, name](const MouseEvent& e) {
    log.push_back(name + " " + std::to_string(e.x) + "," + std::to_string(e.y) + " device " +
                  std::to_string(e.deviceX) + "," + std::to_string(e.deviceY));
  };
}

// Catches hit testing or event coordinates in the wrong unit once the window is scaled: the control
// lies at its design rectangle times 1.5, events report design pixels relative to it.
TEST(Container, AtOneAndAHalfTimesHitsAndReportsInDesignPixels) {
  Label label;
  LayoutForm form([&](LayoutForm& f) { label.Create(f, 10, 20, 50, 16); });
  form.Show();
  form.SendDpiChange(144, RECT{0, 0, 450, 300});
  std::vector<std::string> log;
  label.OnMouseDown = Record(log, "label");
  form.OnMouseDown = Record(log, "form");
  auto press = [&](int x, int y) {
    SendMessageW(form.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    SendMessageW(form.hwnd(), WM_LBUTTONUP, 0, At(x, y));
  };
  press(16, 31);
  press(14, 31);
  press(90, 40);  // the right edge belongs to the neighbour
  EXPECT_EQ(log, (std::vector<std::string>{"label 1,1 device 1,1", "form 9,21 device 14,31",
                                           "form 60,27 device 90,40"}));
  EXPECT_EQ(form.WindowlessAt({89, 53}), &label);
  EXPECT_EQ(form.WindowlessAt({60, 54}), nullptr);
}

HWND ToolTipOf(HWND owner) {
  struct Search {
    HWND owner, tip;
  } search{owner, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM lp) CALLBACK -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t cls[64]{};
        GetClassNameW(w, cls, 64);
        if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0 && GetWindow(w, GW_OWNER) == s->owner) s->tip = w;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.tip;
}

// Catches a tip that keeps its 96 dpi area after a change of scale (it would show over the wrong part
// of the window).
TEST(Container, ToolTipAreasFollowTheScale) {
  Label label;
  LayoutForm form([&](LayoutForm& f) { label.Create(f, 100, 40, 60, 20); });
  form.Show();
  label.SetToolTip("ﾌｧｲﾙを開く");
  form.SendDpiChange(144, RECT{0, 0, 450, 300});
  HWND tip = ToolTipOf(form.hwnd());
  ASSERT_NE(tip, nullptr);
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = form.hwnd();
  info.uId = reinterpret_cast<UINT_PTR>(&label);
  ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(Edges(info.rect), "150,60,240,90");
}

// Catches a use of a destroyed control: the release after its press goes nowhere, and the capture ends.
TEST(Container, AControlDestroyedWhilePressedGetsNothingMore) {
  auto label = std::make_unique<Label>();
  LayoutForm form([&](LayoutForm& f) { label->Create(f, 10, 10, 50, 16); });
  form.Show();
  std::vector<std::string> log;
  form.OnMouseUp = Record(log, "form-up");
  form.OnClick = [&] { log.push_back("form-click"); };
  SendMessageW(form.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(15, 15));
  label.reset();
  SendMessageW(form.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, At(16, 16));
  SendMessageW(form.hwnd(), WM_LBUTTONUP, 0, At(15, 15));
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(form.WindowlessControls().empty());
}

}  // namespace
}  // namespace qr::forms
