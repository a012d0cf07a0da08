// The colour chooser with the real colour dialog, answered by the dialog driver: the colour and custom
// colours each call starts with, what it returns, where the dialog opens, and that its centring hook is
// gone after every call.
#include "font_colour/colour_chooser.h"

#include <windows.h>
// after windows.h
#include <colordlg.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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

// What the dialog showed when the driver met it: the starting colour in its red, green and blue boxes,
// and where it stood.
struct Opened {
  std::string red, green, blue;
  RECT rect{};
};

void SetColour(HWND dialog, COLORREF colour) {
  test::SetControlText(dialog, COLOR_RED, std::to_string(GetRValue(colour)));
  test::SetControlText(dialog, COLOR_GREEN, std::to_string(GetGValue(colour)));
  test::SetControlText(dialog, COLOR_BLUE, std::to_string(GetBValue(colour)));
}

// Reads the dialog, then (when given) sets a colour, then presses the button.
test::DialogDriver::Action ReadAndAnswer(Opened& seen, std::optional<COLORREF> colour, int button) {
  return [&seen, colour, button](HWND dialog) {
    seen.red = test::ControlText(dialog, COLOR_RED);
    seen.green = test::ControlText(dialog, COLOR_GREEN);
    seen.blue = test::ControlText(dialog, COLOR_BLUE);
    GetWindowRect(dialog, &seen.rect);
    if (colour) SetColour(dialog, *colour);
    test::ClickButton(dialog, button);
  };
}

// Adds `custom` to the dialog's custom colours, then chooses `chosen`.
test::DialogDriver::Action AddCustomThenChoose(COLORREF custom, COLORREF chosen) {
  return [custom, chosen](HWND dialog) {
    SetColour(dialog, custom);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(COLOR_ADD, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, COLOR_ADD)));
    SetColour(dialog, chosen);
    test::ClickButton(dialog, IDOK);
  };
}

// The record and custom colours each call handed to the real dialog.
struct RecordLog {
  std::vector<CHOOSECOLORW> records;
  std::vector<std::array<COLORREF, 16>> customs;
};

ColourDialogCalls LoggingRealDialog(RecordLog& log) {
  ColourDialogCalls calls;
  calls.chooseColor = [&log](CHOOSECOLORW& record) {
    log.records.push_back(record);
    std::array<COLORREF, 16> custom{};
    std::copy_n(record.lpCustColors, 16, custom.begin());
    log.customs.push_back(custom);
    return ChooseColorW(&record);
  };
  return calls;
}

// x + w / 2 - dialogW / 2, halves to even, as the dialog's left edge (likewise the top).
LONG Centred(double start, double extent, double dialogExtent) {
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
};

TEST_F(ColourChooserTest, FirstCallStartsBlackWithUnsetCustomColoursAndReturnsTheChoice) {
  RecordLog log;
  ColourChooser chooser(LoggingRealDialog(log));
  EXPECT_EQ(chooser.LastColour(), RGB(0, 0, 0));
  Opened opened;
  test::DialogDriver driver;
  driver.Do(ReadAndAnswer(opened, RGB(200, 100, 50), IDOK));
  const Color_Result result = chooser.Show_Color_Dialog(Owner(), kCentreOverOwner);
  ASSERT_TRUE(driver.WaitUntilDone());

  EXPECT_FALSE(result.Canceled);
  EXPECT_EQ(result.Value, RGB(200, 100, 50));
  EXPECT_EQ(chooser.LastColour(), RGB(200, 100, 50));
  EXPECT_EQ((std::vector<std::string>{opened.red, opened.green, opened.blue}),
            (std::vector<std::string>{"0", "0", "0"}));
  ASSERT_EQ(log.records.size(), 1u);
  const CHOOSECOLORW& record = log.records[0];
  EXPECT_EQ(record.lStructSize, sizeof(CHOOSECOLORW));
  EXPECT_EQ(record.hwndOwner, Owner());
  EXPECT_EQ(record.hInstance, nullptr);
  EXPECT_EQ(record.rgbResult, RGB(0, 0, 0));
  EXPECT_EQ(record.Flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR));
  EXPECT_EQ(record.lCustData, 0);
  EXPECT_EQ(record.lpfnHook, nullptr);
  EXPECT_EQ(record.lpTemplateName, nullptr);
  EXPECT_EQ(std::count(log.customs[0].begin(), log.customs[0].end(), kUnset), 16);
}

TEST_F(ColourChooserTest, NextCallStartsWithTheChosenColourAndKeepsTheCustomColours) {
  RecordLog log;
  ColourChooser chooser(LoggingRealDialog(log));
  test::DialogDriver driver;
  driver.Do(AddCustomThenChoose(RGB(10, 20, 30), RGB(200, 100, 50)));
  EXPECT_EQ(chooser.Show_Color_Dialog(Owner(), kCentreOverOwner).Value, RGB(200, 100, 50));
  ASSERT_TRUE(driver.WaitUntilDone());
  const auto& custom = chooser.Cust_Colors();
  EXPECT_EQ(std::count(custom.begin(), custom.end(), RGB(10, 20, 30)), 1);
  EXPECT_EQ(std::count(custom.begin(), custom.end(), kUnset), 15);

  Opened opened;
  driver.Do(ReadAndAnswer(opened, std::nullopt, IDOK));
  const Color_Result again = chooser.Show_Color_Dialog(Owner(), kCentreOverOwner);
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_EQ((std::vector<std::string>{opened.red, opened.green, opened.blue}),
            (std::vector<std::string>{"200", "100", "50"}));
  ASSERT_EQ(log.records.size(), 2u);
  EXPECT_EQ(log.records[1].rgbResult, RGB(200, 100, 50));
  EXPECT_EQ(log.customs[1], custom);
  EXPECT_FALSE(again.Canceled);
  EXPECT_EQ(again.Value, RGB(200, 100, 50));
  EXPECT_EQ(chooser.Cust_Colors(), custom);
}

TEST_F(ColourChooserTest, CancellingReturnsZeroAndKeepsTheRememberedColour) {
  ColourChooser chooser;
  Opened opened;
  test::DialogDriver driver;
  driver.Do(ReadAndAnswer(opened, RGB(1, 2, 3), IDOK));
  chooser.Show_Color_Dialog(Owner(), kCentreOverOwner);
  driver.Do(ReadAndAnswer(opened, RGB(50, 60, 70), IDCANCEL));
  const Color_Result cancelled = chooser.Show_Color_Dialog(Owner(), kCentreOverOwner);
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_TRUE(cancelled.Canceled);
  EXPECT_EQ(cancelled.Value, 0u);
  EXPECT_EQ(chooser.LastColour(), RGB(1, 2, 3));

  driver.Do(ReadAndAnswer(opened, std::nullopt, IDCANCEL));
  chooser.Show_Color_Dialog(Owner(), kCentreOverOwner);
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_EQ((std::vector<std::string>{opened.red, opened.green, opened.blue}),
            (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(ColourChooserTest, OpensCentredOverTheOwnerWhereverItStandsOrOnTheScreen) {
  ColourChooser chooser;
  // Odd sizes give halves; the last two owners lie at the screen's edges, so the dialog runs off it.
  const RECT owners[] = {{200, 150, 500, 350}, {0, 0, 301, 201}, {850, 650, 1183, 801}, {-120, -40, 131, 59}};
  std::vector<RECT> dialogs;
  for (const RECT& place : owners) {
    SCOPED_TRACE(place.left);
    MoveWindow(Owner(), place.left, place.top, place.right - place.left, place.bottom - place.top, FALSE);
    Opened opened;
    test::DialogDriver driver;
    driver.Do(ReadAndAnswer(opened, std::nullopt, IDCANCEL));
    chooser.Show_Color_Dialog(Owner(), kCentreOverOwner);
    ASSERT_TRUE(driver.WaitUntilDone());
    const double w = opened.rect.right - opened.rect.left, h = opened.rect.bottom - opened.rect.top;
    ASSERT_GT(w, 0);
    EXPECT_EQ(opened.rect.left, Centred(place.left, place.right - place.left, w));
    EXPECT_EQ(opened.rect.top, Centred(place.top, place.bottom - place.top, h));
    dialogs.push_back(opened.rect);
  }
  // Nothing pulls it back onto the screen.
  EXPECT_GT(dialogs[2].bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_LT(dialogs[3].top, 0);

  Opened opened;
  test::DialogDriver driver;
  driver.Do(ReadAndAnswer(opened, std::nullopt, IDCANCEL));
  chooser.Show_Color_Dialog(Owner(), kCentreOnScreen);
  ASSERT_TRUE(driver.WaitUntilDone());
  const double w = opened.rect.right - opened.rect.left, h = opened.rect.bottom - opened.rect.top;
  EXPECT_EQ(opened.rect.left, Centred(0, GetSystemMetrics(SM_CXSCREEN), w));
  EXPECT_EQ(opened.rect.top, Centred(0, GetSystemMetrics(SM_CYSCREEN), h));
}

// Records the hook each call installs, to ask afterwards whether it is still there.
ColourDialogCalls RecordingHooks(std::vector<HHOOK>& hooks, std::function<BOOL(CHOOSECOLORW&)> choose = {}) {
  ColourDialogCalls calls;
  calls.chooseColor = std::move(choose);
  calls.setCbtHook = [&hooks](HOOKPROC procedure) {
    hooks.push_back(SetWindowsHookExW(WH_CBT, procedure, nullptr, GetCurrentThreadId()));
    return hooks.back();
  };
  return calls;
}

// A hook already removed cannot be removed again.
bool StillInstalled(HHOOK hook) { return UnhookWindowsHookEx(hook) != FALSE; }

TEST_F(ColourChooserTest, NoHookOutlivesItsCallChosenCancelledOrFailed) {
  std::vector<HHOOK> hooks;
  ColourChooser real(RecordingHooks(hooks));
  test::DialogDriver driver;
  driver.SetTextsAndPress({{COLOR_RED, "9"}}, IDOK).Press(IDCANCEL);
  EXPECT_FALSE(real.Show_Color_Dialog(Owner(), kCentreOverOwner).Canceled);
  EXPECT_TRUE(real.Show_Color_Dialog(Owner(), kCentreOnScreen).Canceled);
  ASSERT_TRUE(driver.WaitUntilDone());

  // A dialog that fails before it is ever shown: FALSE, or -1 when it could not be created.
  auto failWith = [](BOOL answer) {
    return [answer](CHOOSECOLORW& record) {
      record.rgbResult = RGB(9, 9, 9);
      return answer;
    };
  };
  ColourChooser failing(RecordingHooks(hooks, failWith(FALSE)));
  ColourChooser notCreated(RecordingHooks(hooks, failWith(-1)));
  for (ColourChooser* chooser : {&failing, &notCreated}) {
    const Color_Result result = chooser->Show_Color_Dialog(Owner(), kCentreOverOwner);
    EXPECT_TRUE(result.Canceled);
    EXPECT_EQ(result.Value, 0u);
    EXPECT_EQ(chooser->LastColour(), RGB(0, 0, 0));
  }
  ASSERT_EQ(hooks.size(), 4u);
  for (HHOOK hook : hooks) {
    EXPECT_NE(hook, nullptr);
    EXPECT_FALSE(StillInstalled(hook));
  }
}

// A popup window of this thread at (0, 0), 100 x 50, shown and so activated.
win::Window ActivatedPopup() {
  win::Window popup(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 100, 50, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr));
  ShowWindow(popup.get(), SW_SHOW);
  return popup;
}

RECT WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

TEST_F(ColourChooserTest, OnlyTheFirstWindowActivatedDuringTheCallIsMoved) {
  MoveWindow(Owner(), 201, 100, 300, 200, FALSE);
  std::vector<HHOOK> hooks;
  std::vector<RECT> seen;
  ColourChooser chooser(RecordingHooks(hooks, [&seen](CHOOSECOLORW&) {
    const win::Window first = ActivatedPopup();
    const win::Window second = ActivatedPopup();
    seen = {WindowRect(first.get()), WindowRect(second.get())};
    return FALSE;
  }));
  chooser.Show_Color_Dialog(Owner(), kCentreOverOwner);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].left, 301);  // 201 + 300 / 2 - 100 / 2
  EXPECT_EQ(seen[0].top, 175);   // 100 + 200 / 2 - 50 / 2
  EXPECT_EQ(seen[1].left, 0);
  EXPECT_EQ(seen[1].top, 0);
  ASSERT_EQ(hooks.size(), 1u);
  EXPECT_FALSE(StillInstalled(hooks[0]));
}

}  // namespace
}  // namespace qr
