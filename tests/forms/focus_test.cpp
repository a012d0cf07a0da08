// Keyboard focus in the toolkit's forms, driven with real keys through the message loop: the visible
// frame of a windowless focus, Enter on the focused control, and the focus coming back after a modal
// window. (The tab order itself is pinned by the main window's and the editor's keyboard tests.)
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "forms/forms.h"
#include "support/dialog_driver.h"
#include "support/keyboard.h"

namespace qr::forms {
namespace {

using test::PressKey;
using test::PumpUntil;

class KeyForm : public Form {
 public:
  explicit KeyForm(std::function<void(KeyForm&)> design)
      : Form(FormSpec{"QrFocusTest", "focus test", FormBorder::None, 300, 240, RGB(255, 255, 255)}),
        design_(std::move(design)) {}

 protected:
  void Design() override { design_(*this); }

 private:
  std::function<void(KeyForm&)> design_;
};

bool FocusReaches(const FocusTarget& target) {
  return PumpUntil([&] { return CurrentFocus() == target; });
}

// Dark pixels on the line one pixel above a windowless control: its focus frame.
int FramePixels(const Windowless& control) {
  HDC dc = GetDC(control.Parent()->hwnd());
  int dark = 0;
  for (int x = control.Left() - 1; x <= control.Left() + control.Width(); ++x) {
    if (GetPixel(dc, x, control.Top() - 1) == RGB(0, 0, 0)) ++dark;
  }
  ReleaseDC(control.Parent()->hwnd(), dc);
  return dark;
}

// A label in a white picture box, a text box and a push button.
struct Controls {
  Label label;
  TextBox text;
  PictureBox box;
  CommandButton button;

  void Design(KeyForm& f) {
    box.Create(f, 10, 60, 200, 40);
    box.SetBackColor(RGB(255, 255, 255));  // the dotted frame inverts white to black
    label.Create(box, 120, 5, 50, 16);
    label.SetTabStop(true);
    text.Create(f, 10, 10, 80, 19);
    button.Create(f, 250, 150, 18, 18);
  }
};

TEST(Focus, TheFocusedWindowlessShowsAFrameAndEnterClicksItOnceAndAPushButtonToo) {
  Controls c;
  KeyForm form([&](KeyForm& f) { c.Design(f); });
  form.Show();
  test::MakeForeground(form.hwnd());
  std::vector<std::string> log;
  c.label.OnMouseDown = [&](const MouseEvent& e) { log.push_back("down " + std::to_string(e.button)); };
  c.label.OnMouseUp = [&](const MouseEvent&) { log.push_back("up"); };
  c.label.OnClick = [&] { log.push_back("click"); };
  int buttonClicks = 0;
  c.button.OnClick = [&] { ++buttonClicks; };

  MoveFocus({c.box.hwnd(), &c.label});
  DoEvents();
  EXPECT_GT(FramePixels(c.label), 0);
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return log.size() == 3; }));
  EXPECT_EQ(log, (std::vector<std::string>{"down 1", "up", "click"}));
  PressKey(VK_TAB);
  ASSERT_TRUE(FocusReaches({c.button.hwnd(), nullptr}));
  DoEvents();
  EXPECT_EQ(FramePixels(c.label), 0) << "the frame goes with the focus";
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return buttonClicks == 1; }));

  // A stop that became unusable while focused is not clicked, and Tab still leads on from it.
  MoveFocus({c.box.hwnd(), &c.label});
  c.label.SetEnabled(false);
  PressKey(VK_RETURN);
  PressKey(VK_TAB);
  ASSERT_TRUE(FocusReaches({c.button.hwnd(), nullptr}));
  EXPECT_EQ(log.size(), 3u);
}

TEST(Focus, TheFocusComesBackAfterAModalFormAndAfterAMessageBox) {
  Controls c;
  KeyForm owner([&](KeyForm& f) { c.Design(f); });
  owner.Show();
  test::MakeForeground(owner.hwnd());
  MoveFocus({c.box.hwnd(), &c.label});
  TextBox field;
  KeyForm dialog([&](KeyForm& f) { field.Create(f, 10, 10, 80, 19); });
  HWND focusInDialog = nullptr;
  Timer close;
  close.SetInterval(30);
  close.OnTimer = [&] {
    close.SetEnabled(false);
    focusInDialog = GetFocus();
    dialog.Unload();
  };
  close.SetEnabled(true);
  dialog.Load();
  HWND fieldWindow = field.hwnd();
  dialog.SetStartFocus(fieldWindow);
  dialog.ShowModal(owner.hwnd());
  EXPECT_EQ(focusInDialog, fieldWindow) << "the start focus";
  EXPECT_TRUE(FocusReaches({c.box.hwnd(), &c.label}));

  MoveFocus({c.text.hwnd(), nullptr});
  {
    test::DialogDriver driver;
    driver.Press(IDOK);
    MessageBoxW(owner.hwnd(), L"x", L"Quelm_Rask", MB_OK);
  }
  EXPECT_TRUE(FocusReaches({c.text.hwnd(), nullptr}));
}

}  // namespace
}  // namespace qr::forms
