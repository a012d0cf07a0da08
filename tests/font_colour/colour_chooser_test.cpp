// The colour chooser with the real colour dialog, answered by the dialog driver: what each call starts
// with and returns, where the dialog opens, and that its centring hook is gone after every call.
#include "font_colour/colour_chooser.h"

#include <windows.h>
// after windows.h
#include <colordlg.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/dialog_driver.h"
#include "win32/handles.h"

namespace qr {
namespace {

constexpr COLORREF kUnset = 0xFEFEFEFE;

// What the dialog showed when the driver met it: its starting colour as "red,green,blue" and its place.
struct Opened {
  std::string start;
  RECT rect{};
};

void SetColour(HWND dialog, COLORREF colour) {
  test::SetControlText(dialog, COLOR_RED, std::to_string(GetRValue(colour)));
  test::SetControlText(dialog, COLOR_GREEN, std::to_string(GetGValue(colour)));
  test::SetControlText(dialog, COLOR_BLUE, std::to_string(GetBValue(colour)));
}

// Reads the dialog; then adds `custom` to its custom colours, sets `colour` (each when given) and presses
// the button.
test::DialogDriver::Action Answer(Opened& seen, int button, std::optional<COLORREF> colour = std::nullopt,
                                  std::optional<COLORREF> custom = std::nullopt) {
  return [&seen, button, colour, custom](HWND dialog) {
    seen.start = test::ControlText(dialog, COLOR_RED) + "," + test::ControlText(dialog, COLOR_GREEN) + "," +
                 test::ControlText(dialog, COLOR_BLUE);
    GetWindowRect(dialog, &seen.rect);
    if (custom) {
      SetColour(dialog, *custom);
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(COLOR_ADD, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, COLOR_ADD)));
    }
    if (colour) SetColour(dialog, *colour);
    test::ClickButton(dialog, button);
  };
}

// The real dialog and hook, recording each call's record as handed over and each hook installed.
struct Recorder {
  std::vector<CHOOSECOLORW> records;
  std::vector<std::vector<COLORREF>> customs;
  std::vector<HHOOK> hooks;
  ColourDialogCalls Calls(std::function<BOOL(CHOOSECOLORW&)> choose = ChooseRecorded()) {
    return {[this, choose](CHOOSECOLORW& record) {
              records.push_back(record);
              customs.emplace_back(record.lpCustColors, record.lpCustColors + 16);
              return choose(record);
            },
            [this](HOOKPROC procedure) {
              hooks.push_back(SetWindowsHookExW(WH_CBT, procedure, nullptr, GetCurrentThreadId()));
              return hooks.back();
            }};
  }
  static std::function<BOOL(CHOOSECOLORW&)> ChooseRecorded() {
    return [](CHOOSECOLORW& record) { return ChooseColorW(&record); };
  }
};

// A hook already removed cannot be removed again.
bool StillInstalled(HHOOK hook) { return UnhookWindowsHookEx(hook) != FALSE; }

// start + extent / 2 - dialogExtent / 2, halves to even: where the dialog's edge belongs.
LONG Centred(double start, double extent, const RECT& dialog, bool horizontal) {
  const double dialogExtent = horizontal ? dialog.right - dialog.left : dialog.bottom - dialog.top;
  return static_cast<LONG>(std::nearbyint(start + extent / 2 - dialogExtent / 2));
}

class ColourChooserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner.reset(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"owner", WS_POPUP | WS_BORDER | WS_VISIBLE, 200,
                                150, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_NE(owner.get(), nullptr);
  }
  HWND Owner() const { return owner.get(); }

  win::Window owner;
  Recorder recorder;
  test::DialogDriver driver;
};

TEST_F(ColourChooserTest, RemembersTheLastColourAndTheCustomColoursForTheRun) {
  ColourChooser chooser(recorder.Calls());
  Opened first, cancelled, third;
  driver.Do(Answer(first, IDOK, RGB(200, 100, 50), RGB(10, 20, 30)))
      .Do(Answer(cancelled, IDCANCEL, RGB(50, 60, 70)))
      .Do(Answer(third, IDOK));
  const Color_Result chosen = chooser.Show_Color_Dialog(Owner(), kCentreOverOwner);
  const Color_Result none = chooser.Show_Color_Dialog(Owner(), kCentreOverOwner);
  const Color_Result again = chooser.Show_Color_Dialog(Owner(), kCentreOverOwner);
  ASSERT_TRUE(driver.WaitUntilDone());

  // The first call: black, sixteen unset custom colours, the record as the dialog needs it.
  EXPECT_EQ(first.start, "0,0,0");
  ASSERT_EQ(recorder.records.size(), 3u);
  const CHOOSECOLORW& record = recorder.records[0];
  EXPECT_EQ(record.lStructSize, sizeof(CHOOSECOLORW));
  EXPECT_EQ(record.hwndOwner, Owner());
  EXPECT_EQ(record.hInstance, nullptr);
  EXPECT_EQ(record.Flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR));
  EXPECT_EQ(record.lpfnHook, nullptr);
  EXPECT_EQ(recorder.customs[0], std::vector<COLORREF>(16, kUnset));
  EXPECT_FALSE(chosen.Canceled);
  EXPECT_EQ(chosen.Value, RGB(200, 100, 50));
  // The cancelled call: the chosen colour to start with; nothing returned, nothing forgotten.
  EXPECT_EQ(cancelled.start, "200,100,50");
  EXPECT_TRUE(none.Canceled);
  EXPECT_EQ(none.Value, 0u);
  // The third call starts where the first ended, with its custom colour.
  EXPECT_EQ(third.start, "200,100,50");
  const std::vector<COLORREF>& custom = recorder.customs[2];
  EXPECT_EQ(std::count(custom.begin(), custom.end(), RGB(10, 20, 30)), 1);
  EXPECT_EQ(std::count(custom.begin(), custom.end(), kUnset), 15);
  EXPECT_FALSE(again.Canceled);
  EXPECT_EQ(again.Value, RGB(200, 100, 50));
}

TEST_F(ColourChooserTest, OpensCentredOverTheOwnerWhereverItStandsOrOnTheScreen) {
  ColourChooser chooser;
  // Odd sizes give halves; the last two owners lie at the screen's edges, so the dialog runs off it.
  const RECT owners[] = {{200, 150, 500, 350}, {0, 0, 301, 201}, {850, 650, 1183, 801}, {-120, -40, 131, 59}};
  std::vector<Opened> opened(5);
  for (size_t i = 0; i < 4; ++i) {
    const RECT& place = owners[i];
    MoveWindow(Owner(), place.left, place.top, place.right - place.left, place.bottom - place.top, FALSE);
    driver.Do(Answer(opened[i], IDCANCEL));
    chooser.Show_Color_Dialog(Owner(), kCentreOverOwner);
    ASSERT_TRUE(driver.WaitUntilDone());
    EXPECT_EQ(opened[i].rect.left, Centred(place.left, place.right - place.left, opened[i].rect, true)) << i;
    EXPECT_EQ(opened[i].rect.top, Centred(place.top, place.bottom - place.top, opened[i].rect, false)) << i;
  }
  EXPECT_GT(opened[2].rect.bottom, GetSystemMetrics(SM_CYSCREEN));  // nothing pulls it back
  EXPECT_LT(opened[3].rect.top, 0);

  driver.Do(Answer(opened[4], IDCANCEL));
  chooser.Show_Color_Dialog(Owner(), kCentreOnScreen);
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_EQ(opened[4].rect.left, Centred(0, GetSystemMetrics(SM_CXSCREEN), opened[4].rect, true));
  EXPECT_EQ(opened[4].rect.top, Centred(0, GetSystemMetrics(SM_CYSCREEN), opened[4].rect, false));
}

TEST_F(ColourChooserTest, NoHookOutlivesItsCallChosenCancelledOrFailed) {
  ColourChooser real(recorder.Calls());
  driver.SetTextsAndPress({{COLOR_RED, "9"}}, IDOK).Press(IDCANCEL);
  EXPECT_FALSE(real.Show_Color_Dialog(Owner(), kCentreOverOwner).Canceled);
  EXPECT_TRUE(real.Show_Color_Dialog(Owner(), kCentreOnScreen).Canceled);
  ASSERT_TRUE(driver.WaitUntilDone());

  // For an owner that is gone the dialog answers -1 without showing anything: a failure, not a choice.
  HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  const Color_Result failed = real.Show_Color_Dialog(gone, kCentreOverOwner);
  EXPECT_TRUE(failed.Canceled);
  EXPECT_EQ(failed.Value, 0u);
  EXPECT_EQ(real.LastColour(), RGB(9, 0, 0));

  // A dialog that fails before it is shown, whatever it left in the record.
  ColourChooser failing(recorder.Calls([](CHOOSECOLORW& record) {
    record.rgbResult = RGB(1, 1, 1);
    return FALSE;
  }));
  EXPECT_TRUE(failing.Show_Color_Dialog(Owner(), kCentreOverOwner).Canceled);
  EXPECT_EQ(failing.LastColour(), RGB(0, 0, 0));

  ASSERT_EQ(recorder.hooks.size(), 4u);
  for (HHOOK hook : recorder.hooks) EXPECT_FALSE(hook == nullptr || StillInstalled(hook));
}

TEST_F(ColourChooserTest, OnlyTheFirstWindowActivatedDuringTheCallIsMoved) {
  MoveWindow(Owner(), 201, 100, 300, 200, FALSE);
  std::vector<RECT> seen;
  ColourChooser chooser(recorder.Calls([&seen](CHOOSECOLORW&) {
    for (int i = 0; i < 2; ++i) {
      const win::Window popup(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 100, 50,
                                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
      ShowWindow(popup.get(), SW_SHOW);  // and so activated
      seen.emplace_back();
      GetWindowRect(popup.get(), &seen.back());
    }
    return FALSE;
  }));
  chooser.Show_Color_Dialog(Owner(), kCentreOverOwner);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].left, 301);  // 201 + 300 / 2 - 100 / 2
  EXPECT_EQ(seen[0].top, 175);   // 100 + 200 / 2 - 50 / 2
  EXPECT_EQ(seen[1].left, 0);
  EXPECT_EQ(seen[1].top, 0);
  ASSERT_EQ(recorder.hooks.size(), 1u);
  EXPECT_FALSE(StillInstalled(recorder.hooks[0]));
}

}  // namespace
}  // namespace qr
