// The toolkit's window procedure: failing handlers, windows destroyed from outside, and telling the
// toolkit's windows from others.
#include "forms/window_base.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <stdexcept>

namespace qr::forms {
namespace {

class Probe : public WindowBase {
 public:
  bool Make() {
    return RegisterClassOnce(L"QrWindowBaseProbe", 0) &&
           CreateWindowInstance(0, L"QrWindowBaseProbe", L"", WS_POPUP, 0, 0, 10, 10, nullptr);
  }
  int destroyed = 0;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_APP) throw std::runtime_error("a failing handler");
    if (msg == WM_APP + 1) return 42;
    return WindowBase::HandleMessage(msg, wp, lp);
  }
  void WindowDestroyed() override { ++destroyed; }
};

// Catches an exception thrown through the system's frames (a crash), or a window that stops working
// after one of its handlers failed.
TEST(WindowBase, AFailingHandlerIsSkippedAndTheWindowGoesOn) {
  Probe probe;
  ASSERT_TRUE(probe.Make());
  EXPECT_EQ(SendMessageW(probe.hwnd(), WM_APP, 0, 0), 0);
  EXPECT_EQ(SendMessageW(probe.hwnd(), WM_APP + 1, 0, 0), 42);
}

// Catches an object that keeps the handle of a window destroyed by someone else (its owner, say), and
// one that cannot make its window again.
TEST(WindowBase, AWindowDestroyedFromOutsideIsForgottenAndCanBeMadeAgain) {
  Probe probe;
  ASSERT_TRUE(probe.Make());
  const HWND first = probe.hwnd();
  EXPECT_TRUE(probe.Make()) << "a second call keeps the window";
  EXPECT_EQ(probe.hwnd(), first);
  DestroyWindow(first);
  EXPECT_FALSE(probe.HasWindow());
  EXPECT_EQ(probe.destroyed, 1);
  ASSERT_TRUE(probe.Make());
  EXPECT_TRUE(IsWindow(probe.hwnd()));
  EXPECT_EQ(WindowBase::FromHandle(probe.hwnd()), &probe);
}

// Catches any window's user data taken for a toolkit object, and a window left behind when the object
// goes first.
TEST(WindowBase, OnlyItsOwnWindowsAreObjectsAndTheyDieWithTheObject) {
  auto probe = std::make_unique<Probe>();
  ASSERT_TRUE(probe->Make());
  HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
  SetWindowLongPtrW(other, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(probe.get()));
  EXPECT_EQ(WindowBase::FromHandle(other), nullptr);
  DestroyWindow(other);
  const HWND own = probe->hwnd();
  probe.reset();
  EXPECT_FALSE(IsWindow(own));
}

}  // namespace
}  // namespace qr::forms
