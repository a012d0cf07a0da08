// Forms: re-layout on a change of display scale, modal showing and what it disables, loading again.
#include "forms/form.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "forms/test_form.h"

namespace qr::forms {
namespace {

using test::Edges;
using test::LayoutForm;
using test::PlacedAt;

int FontHeight(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return std::abs(font.lfHeight);
}

// Catches controls left at their old device size, or placed at the wrong scale, after a move to a
// monitor of another resolution, and a Form_DpiChanged that runs before the controls are laid out.
TEST(Form, DpiChangeLaysEveryControlOutAgainFromItsDesignRectangle) {
  TextBox text;
  ListBox list;
  PictureBox box;
  Label label;
  LayoutForm form([&](LayoutForm& f) {
    text.Create(f, 10, 10, 80, 19);
    list.Create(f, 10, 40, 100, 60);
    box.Create(f, 150, 40, 100, 80);
    label.Create(box, 10, 20, 50, 16);
  });
  form.Show();
  ASSERT_EQ(form.Scale().dpi, 96) << "the forms tests run in a prefix at 96 dpi";
  list.SetHorizontalExtent(630);
  const int fontAt96 = FontHeight(text.hwnd());
  std::string boxWhenCalled;
  form.onDpiChanged = [&] { boxWhenCalled = Edges(PlacedAt(box.hwnd())); };
  const RECT suggested{100, 80, 100 + 456, 80 + 306};
  form.SendDpiChange(144, suggested);

  EXPECT_EQ(form.Scale().dpi, 144);
  EXPECT_EQ(Edges(PlacedAt(text.hwnd())), "15,15,135,44");
  EXPECT_EQ(Edges(PlacedAt(list.hwnd())), "15,60,165,150");
  EXPECT_EQ(Edges(PlacedAt(box.hwnd())), "225,60,375,180");
  EXPECT_EQ(boxWhenCalled, "225,60,375,180") << "Form_DpiChanged sees the new layout";
  EXPECT_EQ(Edges(label.Bounds()), "15,30,90,54") << "a label follows its picture box's scale";
  EXPECT_EQ(text.Left(), 10) << "design values stay design values";
  EXPECT_GT(FontHeight(text.hwnd()), fontAt96 * 5 / 4) << "the font is made again at the new resolution";
  EXPECT_EQ(SendMessageW(list.hwnd(), LB_GETHORIZONTALEXTENT, 0, 0), 945);
  EXPECT_EQ(list.HorizontalExtent(), 630);
  RECT outer{};
  GetWindowRect(form.hwnd(), &outer);
  EXPECT_EQ(Edges(outer), Edges(suggested));
}

// Catches a modal form that re-enables a window it did not disable (one the program had disabled on
// purpose), or that leaves a bystander window disabled after the close box closed it.
TEST(Form, ModalClosedByItsCloseBoxReenablesExactlyWhatItDisabled) {
  LayoutForm owner, bystander, keptDisabled, dialog;
  owner.Show();
  bystander.Show();
  keptDisabled.Show();
  EnableWindow(keptDisabled.hwnd(), FALSE);
  bool bystanderEnabledDuring = true;
  UnloadMode closedBy = UnloadMode::FormCode;
  dialog.onQueryUnload = [&](UnloadMode mode) { closedBy = mode; };
  Timer close;
  close.SetInterval(10);
  close.OnTimer = [&] {
    close.SetEnabled(false);
    bystanderEnabledDuring = IsWindowEnabled(bystander.hwnd());
    PostMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
  };
  close.SetEnabled(true);
  dialog.ShowModal(owner.hwnd());
  EXPECT_FALSE(dialog.Loaded());
  EXPECT_EQ(closedBy, UnloadMode::FormControlMenu);
  EXPECT_FALSE(bystanderEnabledDuring);
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
  EXPECT_TRUE(IsWindowEnabled(bystander.hwnd()));
  EXPECT_FALSE(IsWindowEnabled(keptDisabled.hwnd()));
}

// Catches an owner destroyed under its modal form: the modal one must run its own closing first and
// its ShowModal must return instead of waiting for ever.
TEST(Form, UnloadingTheOwnerUnloadsItsModalFormFirst) {
  LayoutForm owner, dialog;
  std::vector<std::string> order;
  owner.onQueryUnload = [&](UnloadMode) { order.push_back("owner"); };
  dialog.onQueryUnload = [&](UnloadMode) { order.push_back("dialog"); };
  owner.Show();
  Timer close;
  close.SetInterval(10);
  close.OnTimer = [&] {
    close.SetEnabled(false);
    owner.Unload();
  };
  close.SetEnabled(true);
  dialog.ShowModal(owner.hwnd());
  EXPECT_EQ(order, (std::vector<std::string>{"dialog", "owner"}));
  EXPECT_FALSE(dialog.Loaded());
  EXPECT_FALSE(owner.Loaded());
}

// Catches child controls that keep a dead window after an unload, so that a form loaded again shows
// none of them or its events stop.
TEST(Form, LoadsAgainAfterUnloadWithItsControlsMadeAnew) {
  TextBox text;
  Label label;
  LayoutForm form([&](LayoutForm& f) {
    text.Create(f, 10, 10, 80, 19);
    label.Create(f, 10, 40, 50, 16);
  });
  form.Show();
  form.Unload();
  form.Show();
  ASSERT_NE(text.hwnd(), nullptr);
  EXPECT_TRUE(IsChild(form.hwnd(), text.hwnd()));
  int changes = 0;
  text.OnChange = [&] { ++changes; };
  text.SetText("再読込");
  EXPECT_EQ(changes, 1);
  int clicks = 0;
  label.OnClick = [&] { ++clicks; };
  SendMessageW(form.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 45));
  SendMessageW(form.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(20, 45));
  EXPECT_EQ(clicks, 1) << "the label still belongs to the form";
}

}  // namespace
}  // namespace qr::forms
