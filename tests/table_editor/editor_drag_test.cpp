// Dragging the editor by its background: the grabbed point stays under the pointer, and only the left
// button drags.
#include <gtest/gtest.h>
#include <windows.h>

#include "support/editor_fixture.h"

namespace qr::test {
namespace {

RECT WindowPixels(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return r;
}

TEST_F(EditorTest, DraggingTheBackgroundKeepsTheGrabbedPointUnderThePointer) {
  auto editor = Open();
  const LPARAM grab = MAKELPARAM(250, 42);
  ASSERT_EQ(ChildWindowFromPoint(editor->hwnd(), POINT{250, 42}), editor->hwnd());
  ASSERT_EQ(editor->WindowlessAt(POINT{250, 42}), nullptr);
  SendMessageW(editor->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, grab);
  cursor = {500, 300};
  SendMessageW(editor->hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
  RECT r = WindowPixels(editor->hwnd());
  EXPECT_EQ(r.left, 250);
  EXPECT_EQ(r.top, 258);
  cursor = {100, 80};
  SendMessageW(editor->hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
  r = WindowPixels(editor->hwnd());
  EXPECT_EQ(r.left, -150);
  EXPECT_EQ(r.top, 38);
  SendMessageW(editor->hwnd(), WM_LBUTTONUP, 0, grab);
  cursor = {600, 600};
  SendMessageW(editor->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(WindowPixels(editor->hwnd()).left, -150) << "no dragging after the release";

  SendMessageW(editor->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, grab);
  SendMessageW(editor->hwnd(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(10, 10));
  SendMessageW(editor->hwnd(), WM_RBUTTONUP, 0, grab);
  EXPECT_EQ(WindowPixels(editor->hwnd()).left, -150) << "only the left button drags";
}

}  // namespace
}  // namespace qr::test
