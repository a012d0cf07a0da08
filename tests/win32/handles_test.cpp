#include "win32/handles.h"

#include <gtest/gtest.h>

#include <utility>

#include "support/temp_folder.h"
#include "win32/text.h"

namespace qr::win {
namespace {

bool IsLiveHandle(HANDLE h) {
  DWORD flags = 0;
  return GetHandleInformation(h, &flags) != 0;
}

TEST(Handles, GdiObjectsAreDeletedWhenTheirOwnerGoes) {
  HBRUSH raw = nullptr;
  {
    Brush brush(CreateSolidBrush(RGB(1, 2, 3)));
    raw = brush.get();
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
    Brush moved = std::move(brush);
    EXPECT_EQ(brush.get(), nullptr);
    EXPECT_EQ(moved.get(), raw);
  }
  EXPECT_EQ(GetObjectType(raw), 0u);
}

TEST(Handles, FileClosesOnceAndMovesOwnership) {
  test::TempFolder folder;
  const std::string path = folder.Write("f.txt", "x");
  File file(CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(file);
  const HANDLE raw = file.get();
  File other = std::move(file);
  EXPECT_FALSE(file);
  EXPECT_EQ(other.get(), raw);
  EXPECT_TRUE(IsLiveHandle(raw));
  other = File();
  EXPECT_FALSE(IsLiveHandle(raw));
  EXPECT_FALSE(File(INVALID_HANDLE_VALUE));
}

TEST(Handles, WindowIsDestroyedWithItsOwner) {
  HWND raw = nullptr;
  {
    Window wnd(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    raw = wnd.get();
    ASSERT_TRUE(IsWindow(raw));
  }
  EXPECT_FALSE(IsWindow(raw));
}

TEST(Handles, SelectionRestoresThePreviousObjectAndDcState) {
  MemoryDc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  Pen pen(CreatePen(PS_SOLID, 1, RGB(9, 9, 9)));
  const HGDIOBJ before = GetCurrentObject(dc.get(), OBJ_PEN);
  {
    Selection selected(dc.get(), pen.get());
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
  }
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), before);

  SetTextColor(dc.get(), RGB(1, 1, 1));
  {
    SavedDcState saved(dc.get());
    SetTextColor(dc.get(), RGB(200, 0, 0));
  }
  EXPECT_EQ(GetTextColor(dc.get()), RGB(1, 1, 1));
}

TEST(Handles, WindowDcIsReleased) {
  Window wnd(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
  HDC raw = nullptr;
  {
    WindowDc dc(wnd.get());
    ASSERT_TRUE(dc);
    raw = dc.get();
    EXPECT_EQ(WindowFromDC(raw), wnd.get());
  }
  // A released common DC no longer belongs to the window.
  EXPECT_NE(WindowFromDC(raw), wnd.get());
}

}  // namespace
}  // namespace qr::win
