// The toolkit's accessible objects: a container lists its visible, non-decorative windowless controls
// and its child windows in reading order, and a control's changes reach screen readers as events.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "forms/forms.h"
#include "forms/test_form.h"
#include "support/keyboard.h"
#include "support/screen_reader.h"
#include "win32/com.h"

namespace qr::forms::test {
namespace {

using qr::test::AccessibleElement;
using qr::test::AccessibleEvents;
using qr::test::PumpUntil;

std::vector<std::string> Names(const std::vector<AccessibleElement>& tree) {
  std::vector<std::string> names;
  for (const AccessibleElement& e : tree) names.push_back(e.name);
  return names;
}

TEST(Accessible, ReadingOrderWithoutDecorationOrHiddenControls) {
  win::ComApartment com;
  Label below, above, hidden, option;
  Image face, icon;
  ListBox list;
  LayoutForm form([&](LayoutForm& f) {
    face.Create(f, 10, 100, 40, 20);  // a button's face: decoration
    below.Create(f, 10, 100, 40, 20);
    TransparentCaption(below, "下");
    above.Create(f, 200, 10, 40, 20);
    above.SetCaption("上");
    hidden.Create(f, 10, 10, 40, 20);
    hidden.SetCaption("隠れ");
    hidden.SetVisible(false);
    icon.Create(f, 100, 10, 16, 16);
    icon.SetAccessibleName("絵");
    option.Create(f, 10, 150, 60, 16);
    option.SetCaption("選択肢");
    option.SetAccessibleRole(AccessibleRole::RadioButton);
    list.Create(f, 10, 50, 100, 40);
    list.SetAccessibleName("一覧");
  });
  form.Show();
  const std::vector<AccessibleElement> tree = qr::test::AccessibleTree(form.hwnd());
  EXPECT_EQ(Names(tree), (std::vector<std::string>{"絵", "上", "一覧", "下", "選択肢"}));
  ASSERT_EQ(tree.size(), 5u);
  EXPECT_EQ(tree[0].role, ROLE_SYSTEM_GRAPHIC);
  EXPECT_EQ(tree[1].role, ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(tree[2].role, ROLE_SYSTEM_LIST);
  EXPECT_EQ(tree[4].role, ROLE_SYSTEM_RADIOBUTTON);
  EXPECT_TRUE(tree[1].defaultAction.empty()) << "a caption offers no action";
}

TEST(Accessible, CaptionCheckAndEnablingChangesAreAnnounced) {
  win::ComApartment com;
  Label label;
  LayoutForm form([&](LayoutForm& f) {
    label.Create(f, 10, 10, 200, 16);
    label.SetCaption("前");
  });
  form.Show();
  AccessibleEvents names(EVENT_OBJECT_NAMECHANGE);
  AccessibleEvents states(EVENT_OBJECT_STATECHANGE);
  label.SetCaption("C:\\壁紙\\新しい.jpg");
  ASSERT_TRUE(PumpUntil([&] { return names.LastName() == "C:\\壁紙\\新しい.jpg"; })) << names.LastName();
  label.SetChecked(true);
  label.SetEnabled(false);
  ASSERT_TRUE(PumpUntil([&] { return states.Heard().size() == 2; }));
  const AccessibleElement now = qr::test::AccessibleTree(form.hwnd()).at(0);
  EXPECT_EQ(now.state & (STATE_SYSTEM_CHECKED | STATE_SYSTEM_UNAVAILABLE),
            STATE_SYSTEM_CHECKED | STATE_SYSTEM_UNAVAILABLE);
  label.SetCaption("C:\\壁紙\\新しい.jpg");  // no change, no event
  qr::test::Pump(100);
  EXPECT_EQ(names.Heard().size(), 1u);
}

}  // namespace
}  // namespace qr::forms::test
