// Keyboard focus in the toolkit's forms, driven with real keys through the message loop: the tab order
// over windowed and windowless stops, Enter and Space on the focused control, the form's own preview of
// the keys, the visible focus frame and the focus coming back after a modal form.
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
  std::function<bool(const KeyEvent&)> preview;

 protected:
  void Design() override { design_(*this); }
  bool Form_KeyPreview(const KeyEvent& e) override { return preview && preview(e); }

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

struct Controls {
  Label first, disabled, inner, zeroSized, plain;
  TextBox text, hiddenText, innerText, insideHidden;
  PictureBox box, hiddenBox;
  ListBox list;
  CommandButton button;

  void Design(KeyForm& f) {
    list.Create(f, 10, 150, 100, 40);  // created first, placed last
    first.Create(f, 10, 10, 60, 16);
    text.Create(f, 100, 10, 80, 19);
    plain.Create(f, 200, 10, 40, 16);  // no tab stop
    disabled.Create(f, 250, 10, 40, 16);
    disabled.SetEnabled(false);
    hiddenText.Create(f, 10, 30, 80, 19);
    hiddenText.SetVisible(false);
    zeroSized.Create(f, 10, 40, 0, 16);
    box.Create(f, 10, 60, 200, 40);
    box.SetBackColor(RGB(255, 255, 255));  // the dotted frame inverts white to black
    inner.Create(box, 120, 5, 50, 16);
    innerText.Create(box, 5, 5, 80, 19);
    hiddenBox.Create(f, 10, 110, 100, 30);
    insideHidden.Create(hiddenBox, 5, 5, 50, 19);
    hiddenBox.SetVisible(false);
    button.Create(f, 250, 150, 18, 18);
    for (Label* l : {&first, &disabled, &inner, &zeroSized}) l->SetTabStop(true);
  }
};

TEST(Focus, TabWalksTheUsableStopsInReadingOrderRoundTheFormAndShiftTabBack) {
  Controls c;
  KeyForm form([&](KeyForm& f) { c.Design(f); });
  form.Show();
  test::MakeForeground(form.hwnd());
  const std::vector<FocusTarget> expected = {{form.hwnd(), &c.first},       {c.text.hwnd(), nullptr},
                                             {c.innerText.hwnd(), nullptr}, {c.box.hwnd(), &c.inner},
                                             {c.list.hwnd(), nullptr},      {c.button.hwnd(), nullptr}};
  EXPECT_EQ(TabOrder(form.hwnd()), expected);
  for (const FocusTarget& stop : expected) {
    PressKey(VK_TAB);
    ASSERT_TRUE(FocusReaches(stop));
  }
  PressKey(VK_TAB);
  ASSERT_TRUE(FocusReaches(expected.front()));
  PressKey(VK_TAB, true);
  ASSERT_TRUE(FocusReaches(expected.back()));
  PressKey(VK_TAB, true);
  ASSERT_TRUE(FocusReaches(expected[4]));

  // A stop that became unusable while focused still leads on to the next one.
  MoveFocus({c.box.hwnd(), &c.inner});
  c.inner.SetEnabled(false);
  PressKey(VK_TAB);
  ASSERT_TRUE(FocusReaches(expected[4]));
}

TEST(Focus, EnterAndSpaceClickTheFocusedControlAndTheFrameShowsIt) {
  Controls c;
  KeyForm form([&](KeyForm& f) { c.Design(f); });
  form.Show();
  test::MakeForeground(form.hwnd());
  std::vector<std::string> log;
  c.inner.OnMouseDown = [&](const MouseEvent& e) { log.push_back("down " + std::to_string(e.button)); };
  c.inner.OnMouseUp = [&](const MouseEvent&) { log.push_back("up"); };
  c.inner.OnClick = [&] { log.push_back("click"); };
  int buttonClicks = 0;
  c.button.OnClick = [&] { ++buttonClicks; };

  MoveFocus({c.box.hwnd(), &c.inner});
  DoEvents();
  EXPECT_GT(FramePixels(c.inner), 0);
  PressKey(VK_RETURN);
  PressKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return log.size() == 6; }));
  EXPECT_EQ(log, (std::vector<std::string>{"down 1", "up", "click", "down 1", "up", "click"}));

  PressKey(VK_TAB);
  ASSERT_TRUE(FocusReaches({c.list.hwnd(), nullptr}));
  DoEvents();
  EXPECT_EQ(FramePixels(c.inner), 0) << "the frame goes with the focus";
  MoveFocus({c.button.hwnd(), nullptr});
  PressKey(VK_RETURN);
  PressKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return buttonClicks == 2; }));

  // Reached by the keyboard, a text box has its text selected.
  c.text.SetText("old");
  MoveFocus({c.text.hwnd(), nullptr});
  test::TypeText(L"新");
  ASSERT_TRUE(PumpUntil([&] { return c.text.Text() == "新"; }));
}

TEST(Focus, TheFormPreviewsKeysFirstAndAWindowlessFocusIsNeverClickedWhenDisabled) {
  Controls c;
  KeyForm form([&](KeyForm& f) { c.Design(f); });
  form.Show();
  test::MakeForeground(form.hwnd());
  std::vector<int> seen;
  form.preview = [&](const KeyEvent& e) {
    seen.push_back(e.keyCode);
    return e.keyCode == VK_TAB && e.focus == c.text.hwnd();  // Tab is spent in the text box
  };
  MoveFocus({c.text.hwnd(), nullptr});
  PressKey(VK_TAB);
  test::Pump();
  EXPECT_EQ(GetFocus(), c.text.hwnd());
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), VK_TAB);

  int clicks = 0;
  c.inner.OnMouseDown = [&](const MouseEvent&) { ++clicks; };
  MoveFocus({c.box.hwnd(), &c.inner});
  c.inner.SetEnabled(false);
  PressKey(VK_RETURN);
  test::Pump();
  EXPECT_EQ(clicks, 0);
}

TEST(Focus, TheOwnersFocusComesBackWhenAModalFormCloses) {
  Controls c;
  KeyForm owner([&](KeyForm& f) { c.Design(f); });
  owner.Show();
  test::MakeForeground(owner.hwnd());
  MoveFocus({c.box.hwnd(), &c.inner});
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
  EXPECT_TRUE(FocusReaches({c.box.hwnd(), &c.inner}));
}

TEST(Focus, TheFocusComesBackAfterAMessageBoxOverTheForm) {
  Controls c;
  KeyForm form([&](KeyForm& f) { c.Design(f); });
  form.Show();
  test::MakeForeground(form.hwnd());
  MoveFocus({c.innerText.hwnd(), nullptr});
  {
    test::DialogDriver driver;
    driver.Press(IDOK);
    MessageBoxW(form.hwnd(), L"x", L"Quelm_Rask", MB_OK);
  }
  EXPECT_TRUE(FocusReaches({c.innerText.hwnd(), nullptr}));
}

}  // namespace
}  // namespace qr::forms
