// A container's object as a screen reader uses it: a default action that opens a modal window answers at
// once and the click follows from the message loop; the window itself is named as the program says.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "forms/forms.h"
#include "forms/test_form.h"
#include "support/keyboard.h"
#include "support/screen_reader.h"
#include "win32/com.h"

namespace qr::forms {
namespace {

using qr::test::AccessibleElement;
using qr::test::FindElement;
using qr::test::PumpUntil;
using test::LayoutForm;
namespace reader = qr::test;

TEST(AccessibleContainer, ADefaultActionAnswersAtOnceAndItsClickThenOpensTheModalWindow) {
  win::ComApartment com;
  Label open;
  Label off;
  LayoutForm dialog;
  Timer close;
  std::vector<std::string> happened;
  LayoutForm owner([&](LayoutForm& f) {
    open.Create(f, 10, 10, 60, 20);
    open.SetCaption("開く");
    open.SetTabStop(true);
    open.OnClick = [&] {
      happened.push_back("click");
      close.SetEnabled(true);
      dialog.ShowModal(f.hwnd());
      happened.push_back("closed");
    };
    off.Create(f, 10, 40, 60, 20);
    off.SetCaption("使えない");
    off.SetTabStop(true);
    off.SetEnabled(false);
    off.OnClick = [&] { happened.push_back("disabled click"); };
  });
  close.SetInterval(30);
  close.OnTimer = [&] {
    close.SetEnabled(false);
    happened.push_back(dialog.Loaded() ? "shown" : "not shown");
    dialog.Unload();
  };
  owner.Show();
  const std::vector<AccessibleElement> tree = reader::AccessibleTree(owner.hwnd());

  ASSERT_EQ(reader::DoDefaultAction(FindElement(tree, "開く", ROLE_SYSTEM_PUSHBUTTON)), S_OK);
  EXPECT_TRUE(happened.empty()) << "the caller is answered before the click runs";
  EXPECT_TRUE(PumpUntil([&] { return happened.size() == 3; }));
  EXPECT_EQ(happened, (std::vector<std::string>{"click", "shown", "closed"}));

  EXPECT_TRUE(FAILED(reader::DoDefaultAction(FindElement(tree, "使えない", ROLE_SYSTEM_PUSHBUTTON))));
  reader::Pump(200);
  EXPECT_EQ(happened.size(), 3u) << "a disabled control does nothing";
}

TEST(AccessibleContainer, TheWindowIsNamedAndDescribedAsTheProgramSaysOrElseByItsText) {
  win::ComApartment com;
  LayoutForm form;
  form.Show();
  EXPECT_EQ(reader::WindowElement(form.hwnd()).name, "layout test") << "the system's answer: the window text";
  form.SetAccessibleName("海の写真");
  form.SetAccessibleDescription("Esc で戻ります");
  const AccessibleElement named = reader::WindowElement(form.hwnd());
  EXPECT_EQ(named.name, "海の写真");
  EXPECT_EQ(named.description, "Esc で戻ります");
  EXPECT_EQ(named.role, ROLE_SYSTEM_CLIENT);
}

}  // namespace
}  // namespace qr::forms
