// The preview window: what it draws (before it is shown), how it covers the screen, and that a click
// closes it.
#include <windows.h>
// after windows.h
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "preview/preview_clicker.h"
#include "preview/preview_window.h"
#include "shared/fixed_files.h"
#include "support/keyboard.h"
#include "support/screen_reader.h"
#include "support/temp_folder.h"
#include "support/tool_tips.h"
#include "support/two_monitors.h"
#include "win32/bitmap_file.h"
#include "win32/com.h"
#include "win32/files.h"
#include "win32/surface.h"

namespace qr {
namespace {

using test::TempFolder;

constexpr COLORREF kRed = RGB(230, 20, 20);
constexpr COLORREF kBlue = RGB(20, 20, 230);
constexpr COLORREF kGreen = RGB(20, 200, 20);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A w x h bitmap file whose pixel (x, y) has the colour colourAt(x, y).
std::string WritePicture(const TempFolder& folder, const std::string& name, int w, int h,
                         const std::function<COLORREF(int, int)>& colourAt) {
  win::Surface picture(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const COLORREF c = colourAt(x, y);
      picture.Bits()[y * w + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
  }
  const std::string path = folder.File(name);
  return win::WriteBitmapFile(picture, path) ? path : std::string();
}

// Left half red, right half blue, with a green top-left pixel.
COLORREF Halves(int w, int x, int y) {
  if (x == 0 && y == 0) return kGreen;
  return x < w / 2 ? kRed : kBlue;
}

class PreviewWindow : public ::testing::Test {
 protected:
  // Loads the preview of the state as it is now (drawn, not shown) and returns its picture.
  const win::Surface& Draw() {
    preview = std::make_unique<Quelm_Rask_V>(state, PreviewOptions{nullptr});
    return Loaded();
  }
  // Loads the preview of a picture given from memory (drawn, not shown) and returns what it shows.
  const win::Surface& Draw(win::Surface picture) {
    preview = std::make_unique<Quelm_Rask_V>(std::move(picture), PreviewOptions{nullptr});
    return Loaded();
  }
  const win::Surface& Loaded() {
    preview->Load();
    const win::Surface* image = preview->Display().Image();
    EXPECT_NE(image, nullptr);
    static const win::Surface kNone;
    return image ? *image : kNone;
  }

  TempFolder folder;
  AppState state;
  COLORREF desktop = GetSysColor(COLOR_BACKGROUND);
  std::unique_ptr<Quelm_Rask_V> preview;
};

TEST_F(PreviewWindow, CoversTheScreenWithUnroundedSize) {
  state.Kabe_File = folder.File("missing.bmp");
  const win::Surface& image = Draw();
  EXPECT_EQ(preview->Screen_W_Px(), 1024.0);
  EXPECT_EQ(preview->Screen_H_Px(), 768.0);
  EXPECT_EQ(image.width(), 1024);
  EXPECT_EQ(image.height(), 768);
  RECT r{};
  GetWindowRect(preview->hwnd(), &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 1024);
  EXPECT_EQ(r.bottom, 768);
  EXPECT_TRUE(GetWindowLongPtrW(preview->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  const LONG_PTR style = GetWindowLongPtrW(preview->hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
  EXPECT_FALSE(IsWindowVisible(preview->hwnd()));  // drawn before it is shown
}

TEST_F(PreviewWindow, CentredPictureSitsInTheMiddleOnTheDesktopColour) {
  state.G_Pos = 0;
  state.Kabe_File =
      WritePicture(folder, "800x600.bmp", 800, 600, [](int x, int y) { return Halves(800, x, y); });
  ASSERT_FALSE(state.Kabe_File.empty());
  const win::Surface& image = Draw();
  EXPECT_EQ(image.Pixel(112, 84), kGreen);
  EXPECT_EQ(image.Pixel(113, 84), kRed);
  EXPECT_EQ(image.Pixel(911, 683), kBlue);
  EXPECT_EQ(image.Pixel(111, 84), desktop);
  EXPECT_EQ(image.Pixel(112, 83), desktop);
  EXPECT_EQ(image.Pixel(912, 683), desktop);
  EXPECT_EQ(image.Pixel(911, 684), desktop);
  EXPECT_EQ(image.Pixel(0, 0), desktop);
}

TEST_F(PreviewWindow, PortraitPictureFullScreenIsScaledToTheScreenHeight) {
  state.G_Pos = 2;
  state.Kabe_File =
      WritePicture(folder, "600x800.bmp", 600, 800, [](int x, int y) { return Halves(600, x, y); });
  ASSERT_FALSE(state.Kabe_File.empty());
  const win::Surface& image = Draw();
  // 576 x 768 at (224, 0).
  EXPECT_EQ(image.Pixel(223, 384), desktop);
  EXPECT_EQ(image.Pixel(224, 384), kRed);
  EXPECT_EQ(image.Pixel(224 + 287, 767), kRed);
  EXPECT_EQ(image.Pixel(224 + 289, 0), kBlue);
  EXPECT_EQ(image.Pixel(799, 384), kBlue);
  EXPECT_EQ(image.Pixel(800, 384), desktop);
  EXPECT_EQ(image.Pixel(1023, 767), desktop);
}

TEST_F(PreviewWindow, TiledPictureCoversTheScreenColumnByColumn) {
  state.G_Pos = 1;
  state.Kabe_File =
      WritePicture(folder, "300x200.bmp", 300, 200, [](int x, int y) { return Halves(300, x, y); });
  ASSERT_FALSE(state.Kabe_File.empty());
  const win::Surface& image = Draw();
  for (int x : {0, 300, 600, 900}) {
    for (int y : {0, 200, 400, 600}) {
      EXPECT_EQ(image.Pixel(x, y), kGreen) << x << "," << y;
      EXPECT_EQ(image.Pixel(x + 1, y + 1), kRed) << x << "," << y;
      if (x + 151 < 1024) {
        EXPECT_EQ(image.Pixel(x + 151, y + 1), kBlue) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(image.Pixel(1023, 767), kRed);  // the partial last column and row
}

// Several monitors: the picture is placed on each monitor as on one screen, and the window covers them all.
TEST_F(PreviewWindow, CentredPictureSitsInTheMiddleOfEveryMonitor) {
  const test::TwoMonitors display;
  state.G_Pos = 0;
  state.Kabe_File = WritePicture(folder, "40x30.bmp", 40, 30, [](int x, int y) { return Halves(40, x, y); });
  const win::Surface& image = Draw();
  ASSERT_EQ(image.width(), 1824);
  ASSERT_EQ(image.height(), 768);
  EXPECT_EQ(image.Pixel(800 + 492, 369), kGreen);  // the primary's centre, 800 right of the second
  EXPECT_EQ(image.Pixel(380, 100 + 285), kGreen);  // the second monitor's centre
  EXPECT_EQ(image.Pixel(379, 100 + 285), desktop);
  EXPECT_EQ(image.Pixel(10, 50), kBlack);  // above the second monitor: no screen
  RECT covered{};
  GetWindowRect(preview->hwnd(), &covered);
  EXPECT_EQ(covered.left, -800);
  EXPECT_EQ(covered.right, 1024);
}

TEST_F(PreviewWindow, ComposedBitmapSitsUnscaledAtTheTopLeftOnBlack) {
  state.Kabe_File = WritePicture(folder, "ignored.bmp", 50, 50, [](int, int) { return kBlue; });
  win::Surface composed(120, 90);
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 120; ++x) SetPixel(composed.dc(), x, y, Halves(120, x, y));
  const win::Surface& image = Draw(std::move(composed));
  EXPECT_EQ(image.Pixel(0, 0), kGreen);
  EXPECT_EQ(image.Pixel(1, 89), kRed);
  EXPECT_EQ(image.Pixel(119, 89), kBlue);
  EXPECT_EQ(image.Pixel(120, 0), kBlack);
  EXPECT_EQ(image.Pixel(0, 90), kBlack);
  EXPECT_EQ(image.Pixel(600, 400), kBlack);
}

TEST_F(PreviewWindow, ComposedBitmapIsShownFromMemoryWithoutAnyFile) {
  // No folder the program could write to: the picture is shown all the same.
  OverrideFixedFileFolders(FixedFileFolders{folder.File("missing"), folder.File("missing too")});
  win::Surface composed(30, 20, kRed);
  const win::Surface& image = Draw(std::move(composed));
  OverrideFixedFileFolders(std::nullopt);
  EXPECT_EQ(image.Pixel(29, 19), kRed);
  EXPECT_EQ(image.Pixel(30, 19), kBlack);
  EXPECT_FALSE(win::ReadFileBytes(folder.File("missing\\Quelm_Temp.bmp")));
}

TEST_F(PreviewWindow, MissingComposedBitmapLeavesBlack) {
  const win::Surface& image = Draw(win::Surface());
  EXPECT_EQ(image.Pixel(0, 0), kBlack);
  EXPECT_EQ(image.Pixel(1023, 767), kBlack);
}

TEST_F(PreviewWindow, UnreadablePictureLeavesTheDesktopColour) {
  for (int16_t pos : {0, 1, 2}) {
    state.G_Pos = pos;
    state.Kabe_File = folder.Write("broken.bmp", "BM this is not a bitmap");
    Quelm_Rask_V broken(state);
    broken.Load();
    const win::Surface* image = broken.Display().Image();
    ASSERT_NE(image, nullptr);
    for (POINT p : {POINT{0, 0}, POINT{512, 384}, POINT{1023, 767}})
      EXPECT_EQ(image->Pixel(p.x, p.y), desktop) << pos;
  }
}

TEST_F(PreviewWindow, ShowsItsToolTipAndCursorOverThePicture) {
  HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
  Quelm_Rask_V withCursor(state, PreviewOptions{cross});
  withCursor.Load();
  HWND display = withCursor.Display().hwnd();
  SendMessageW(display, WM_SETCURSOR, reinterpret_cast<WPARAM>(display), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), cross);

  // The tool tip control of the window names the picture with "クリックで戻り".
  EXPECT_TRUE(test::ThreadHasToolTip(L"クリックで戻り"));
}

TEST_F(PreviewWindow, ShownModallyUntilAClick) {
  state.G_Pos = 0;
  state.Kabe_File =
      WritePicture(folder, "800x600.bmp", 800, 600, [](int x, int y) { return Halves(800, x, y); });
  test::PreviewClicker clicker({POINT{200, 300}, POINT{800, 300}, POINT{50, 50}});
  ShowPreviewWindow(state, nullptr);
  ASSERT_TRUE(clicker.Clicked());
  EXPECT_FALSE(IsWindow(clicker.Preview()));
  EXPECT_TRUE(clicker.ExStyle() & WS_EX_TOPMOST);
  ASSERT_EQ(clicker.Seen().size(), 3u);
  EXPECT_EQ(clicker.Seen()[0], kRed);  // on the screen, as drawn
  EXPECT_EQ(clicker.Seen()[1], kBlue);
  EXPECT_EQ(clicker.Seen()[2], desktop);
}

TEST_F(PreviewWindow, EscapeClosesItOtherKeysDoNot) {
  test::KeysIntoWindow keys(L"Quelm_Rask_V", {VK_RETURN, 'A', VK_ESCAPE});
  ShowPreviewWindow(state, nullptr);
  EXPECT_FALSE(keys.TimedOut());
  EXPECT_EQ(keys.OpenBeforeEachKey(), (std::vector<bool>{true, true, true}));
}

// Announced by what it shows and how to leave it, not by its window class; the picture, its only child,
// says the same, so that a screen reader that lands on either knows where it is.
TEST_F(PreviewWindow, AScreenReaderHearsWhatItShowsAndHowToLeaveIt) {
  win::ComApartment com;
  state.Kabe_File = WritePicture(folder, "海.bmp", 40, 30, [](int, int) { return kRed; });
  test::AccessibleElement window;
  std::vector<test::AccessibleElement> tree;
  test::PreviewClicker clicker({}, [&](HWND preview) {
    window = test::WindowElement(preview);
    tree = test::AccessibleTree(preview);
  });
  ShowPreviewWindow(state, nullptr);
  ASSERT_TRUE(clicker.Clicked());
  EXPECT_EQ(window.name, "壁紙ﾌｧｲﾙのﾌﾟﾚﾋﾞｭｰ: 海.bmp");
  EXPECT_EQ(window.description, "クリックまたは Esc キーで戻ります");
  ASSERT_EQ(tree.size(), 1u);
  EXPECT_EQ(tree[0].name, window.name);
  EXPECT_EQ(tree[0].description, window.description);

  // The editor's preview of the wallpaper it would make.
  test::PreviewClicker again({}, [&](HWND preview) { window = test::WindowElement(preview); });
  ShowPreviewWindow(win::Surface(20, 20, kBlue), nullptr);
  ASSERT_TRUE(again.Clicked());
  EXPECT_EQ(window.name, "作成する壁紙のﾌﾟﾚﾋﾞｭｰ");
}

}  // namespace
}  // namespace qr
