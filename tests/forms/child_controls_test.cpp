// Controls with windows of their own: list box extent and keyboard selection, text box change events
// and margins, the slider's range, the picture button's face at a display scale.
#include "forms/child_controls.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "forms/test_form.h"

namespace qr::forms {
namespace {

using test::LayoutForm;

// Catches an extent given to the list box in design pixels at a scale (the last part of long names
// could not be scrolled to), or read back in device pixels.
TEST(ListBox, HorizontalExtentIsDesignPixelsAtEveryScale) {
  ListBox list;
  LayoutForm form([&](LayoutForm& f) { list.Create(f, 0, 0, 200, 100); });
  form.Show();
  form.SendDpiChange(120, RECT{0, 0, 375, 250});
  list.SetHorizontalExtent(400);
  EXPECT_EQ(SendMessageW(list.hwnd(), LB_GETHORIZONTALEXTENT, 0, 0), 500);
  EXPECT_EQ(list.HorizontalExtent(), 400);
}

// Catches entries added in bulk out of order or unseen by the list, the whole list read back other than
// entry by entry (order, an empty entry, a path longer than MAX_PATH), and a selection moved with the
// keyboard that does not run OnClick.
TEST(ListBox, BulkEntriesAndKeyboardSelection) {
  ListBox list;
  LayoutForm form([&](LayoutForm& f) { list.Create(f, 0, 0, 200, 100); });
  form.Show();
  list.AddItem("先頭.bmp");
  list.AddItems({"b.jpg", "a.png", "c.gif"});
  ASSERT_EQ(list.ListCount(), 4);
  EXPECT_EQ(list.List(1), "b.jpg");
  EXPECT_EQ(list.List(3), "c.gif");
  EXPECT_EQ(list.List(4), "") << "past the end";
  const std::string longPath = "C:\\" + std::string(300, 'x') + "\\壁紙.bmp";
  list.AddItems({"", longPath});
  const std::vector<std::string> items = list.Items();
  ASSERT_EQ(items.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(items[static_cast<size_t>(i)], list.List(i)) << i;
  EXPECT_EQ(items[0], "先頭.bmp");
  EXPECT_EQ(items[5], longPath);
  list.RemoveItem(4);
  list.RemoveItem(4);
  std::vector<int> clicks;
  list.OnClick = [&] { clicks.push_back(list.ListIndex()); };
  list.SetListIndex(7);
  EXPECT_TRUE(clicks.empty()) << "an index past the end changes nothing";
  list.SetListIndex(0);
  SendMessageW(list.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
  SendMessageW(list.hwnd(), WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(clicks, (std::vector<int>{0, 1, 3}));
}

// Catches a control and its window that do not let go of each other: a control let go first must take its
// window with it, and a window destroyed first (its form unloaded) must leave the control without one and
// its later messages with the class's own procedure.
TEST(ChildControl, WhicheverGoesFirstTheOtherIsLeftClean) {
  HWND window = nullptr;
  {
    TextBox text;
    LayoutForm form([&](LayoutForm& f) { text.Create(f, 0, 0, 120, 19); });
    form.Show();
    window = text.hwnd();
    ASSERT_TRUE(IsWindow(window));
  }
  EXPECT_FALSE(IsWindow(window));

  TextBox text;
  LayoutForm form([&](LayoutForm& f) { text.Create(f, 0, 0, 120, 19); });
  form.Show();
  window = text.hwnd();
  text.SetText("残る");
  form.Unload();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(text.hwnd(), nullptr);
  EXPECT_EQ(text.Text(), "");
}

// A window that keeps something else in its user data (another library's control, the form's own
// window) is no control, whatever that data is.
TEST(ChildControl, OnlyAControlsWindowIsTakenForOne) {
  TextBox text;
  LayoutForm form([&](LayoutForm& f) { text.Create(f, 0, 0, 120, 19); });
  form.Show();
  EXPECT_EQ(ChildControl::FromWindow(text.hwnd()), &text);
  HWND other =
      CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, form.hwnd(), nullptr, nullptr, nullptr);
  ASSERT_TRUE(other);
  SetWindowLongPtrW(other, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&text));
  EXPECT_EQ(ChildControl::FromWindow(other), nullptr);
  EXPECT_EQ(ChildControl::FromWindow(form.hwnd()), nullptr);
  DestroyWindow(other);
}

// Catches typed characters and deletions that do not run OnChange.
TEST(TextBox, TypingAndDeletingRunOnChange) {
  TextBox text;
  LayoutForm form([&](LayoutForm& f) { text.Create(f, 0, 0, 120, 19); });
  form.Show();
  std::vector<std::string> seen;
  text.OnChange = [&] { seen.push_back(text.Text()); };
  for (wchar_t c : std::wstring(L"a日")) SendMessageW(text.hwnd(), WM_CHAR, c, 1);
  SendMessageW(text.hwnd(), EM_SETSEL, 0, 1);
  SendMessageW(text.hwnd(), WM_CLEAR, 0, 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "a日", "日"}));
}

// Catches margins lost when the text box takes another font (the system then gives that font's own).
TEST(TextBox, MarginsOutliveAChangeOfFont) {
  TextBox text;
  LayoutForm form([&](LayoutForm& f) { text.Create(f, 0, 0, 120, 19); });
  form.Show();
  text.SetMargins(3, 7);
  FontSpec big = CaptionFont();
  big.size = 20;
  text.SetFont(big);
  EXPECT_EQ(SendMessageW(text.hwnd(), EM_GETMARGINS, 0, 0), MAKELONG(3, 7));
}

// Catches a value left outside a narrowed range (the thumb and the value disagreeing) without an
// OnChange.
TEST(HScrollBar, NarrowingTheRangeClampsTheValueAndReportsIt) {
  HScrollBar bar;
  LayoutForm form([&](LayoutForm& f) { bar.Create(f, 0, 0, 150, 13); });
  form.Show();
  bar.SetRange(0, 1000);
  bar.SetValue(900);
  std::vector<int> changes;
  bar.OnChange = [&] { changes.push_back(bar.Value()); };
  bar.SetMax(500);
  bar.SetMin(100);
  SendMessageW(form.hwnd(), WM_HSCROLL, MAKEWPARAM(SB_LEFT, 0), reinterpret_cast<LPARAM>(bar.hwnd()));
  EXPECT_EQ(changes, (std::vector<int>{500, 100}));
  SCROLLINFO info{sizeof(info), SIF_ALL};
  GetScrollInfo(bar.hwnd(), SB_CTL, &info);
  EXPECT_EQ(info.nMin, 100);
  EXPECT_EQ(info.nMax, 500);
  EXPECT_EQ(info.nPos, 100);
}

// Catches a button face drawn at its 96 dpi size in a scaled window.
TEST(CommandButton, ThePictureIsScaledAndCentredWithTheWindow) {
  CommandButton button;
  LayoutForm form([&](LayoutForm& f) { button.Create(f, 0, 0, 18, 18); });
  form.Show();
  button.SetPicture(Picture::FromSurface(win::Surface(12, 12, RGB(0, 0, 255))));
  form.SendDpiChange(144, RECT{0, 0, 450, 300});
  RECT r{};
  GetClientRect(button.hwnd(), &r);
  ASSERT_EQ(r.right, 27);
  win::Surface face(27, 27, RGB(1, 2, 3));
  SendMessageW(button.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(face.dc()), PRF_CLIENT);
  GdiFlush();
  EXPECT_EQ(face.Pixel(5, 5), RGB(0, 0, 255));
  EXPECT_EQ(face.Pixel(21, 21), RGB(0, 0, 255)) << "18 pixels wide, from 4 to 21";
  EXPECT_NE(face.Pixel(23, 13), RGB(0, 0, 255));
}

}  // namespace
}  // namespace qr::forms
