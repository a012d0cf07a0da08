#pragma once
// The create command's test fixture: a real editor with a small skin, a stand-in for the main window's
// list, and pixel counting on the bitmaps it builds.
#include <windows.h>

#include "wallpaper/refresh.h"
#include "wallpaper/remember.h"
#include "wallpaper_creation/create_wallpaper.h"
// after windows.h
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/run_command_line.h"
#include "canvas/canvas_window_test_driver.h"
#include "core/app_state.h"
#include "core/geometry.h"
#include "core/settings.h"
#include "core/table_record.h"
#include "forms/forms.h"
#include "main_window/wallpaper_list.h"
#include "shared/fixed_files.h"
#include "shared/profile_store.h"
#include "support/dialog_driver.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/two_monitors.h"
#include "support/write_faults.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/handles.h"
#include "win32/image.h"
#include "win32/image_test_pictures.h"
#include "win32/text.h"
#include "win32/wallpaper.h"
#include "win32/wallpaper_test_settings.h"

namespace qr::test {

inline constexpr COLORREF kGreen = RGB(0, 200, 0);
inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kBlue = RGB(0, 0, 255);

inline COLORREF Desk() { return GetSysColor(COLOR_BACKGROUND); }

inline forms::Picture Plain(int w, int h, COLORREF colour) {
  return forms::Picture::FromSurface(win::Surface(w, h, colour));
}

inline EditorSkin TestSkin() {
  EditorSkin skin;
  skin.Img_On = Plain(21, 20, RGB(200, 0, 0));
  skin.Img_Off = Plain(21, 20, RGB(0, 200, 0));
  skin.Img_Ra = {Plain(13, 13, RGB(250, 250, 250)), Plain(13, 13, RGB(10, 10, 10))};
  for (size_t i = 2; i <= 6; ++i) skin.toolbar[i] = Plain(16, 16, RGB(0, 0, 40 * i));
  for (size_t i = 0; i <= 3; ++i) skin.rowsAndColumns[i] = Plain(10, 10, RGB(60 * i, 60, 60));
  skin.cursor = LoadCursorW(nullptr, IDC_HAND);
  return skin;
}

// Stands in for the main window: its list box and command labels, with the real list behind them.
class ListHost : public forms::Form {
 public:
  ListHost() : Form({"QrTestListHost", "list", forms::FormBorder::None, 300, 200}) {}
  forms::ListBox List_Kabe;
  std::array<forms::Label, 8> lbl_Cmd;

 protected:
  void Design() override {
    List_Kabe.Create(*this, 0, 0, 300, 150);
    for (forms::Label& label : lbl_Cmd) label.Create(*this, 0, 160, 10, 10);
  }
};

// Number of pixels of the colour in the rectangle, clipped to the surface.
inline int CountColour(const win::Surface& s, const RECT& r, COLORREF colour) {
  int n = 0;
  for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, s.height()); ++y)
    for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, s.width()); ++x)
      n += s.Pixel(x, y) == colour;
  return n;
}

inline int Area(const RECT& r, int w, int h) {
  const int width = std::min<int>(r.right, w) - std::max<int>(r.left, 0);
  const int height = std::min<int>(r.bottom, h) - std::max<int>(r.top, 0);
  return width > 0 && height > 0 ? width * height : 0;
}

inline RECT Shrunk(RECT r, int by) {
  InflateRect(&r, -by, -by);
  return r;
}

class CreateWallpaperTest : public ::testing::Test {
 protected:
  CreateWallpaperTest() : store(folder.File("Quelm_Rask.ini")), skin(TestSkin()) {}

  void SetUp() override {
    OverrideFixedFileFolders(FixedFileFolders{folder.path(), folder.File("appdata")});
    state.Program_Folder = folder.path();
    state.Get_Kabe_Path = folder.MakeFolder("saved");
    state.G_Kabe = 2;
    host.Load();
    list = std::make_unique<WallpaperList>(state, host.List_Kabe, CommandLabels(host.lbl_Cmd), windows);
    ASSERT_TRUE(win::SetDesktopWallpaper(""));
  }
  void TearDown() override {
    if (editor) editor->Unload();
    OverrideFixedFileFolders(std::nullopt);
  }

  // A new editor, shown (not modally) at (left, top) in pixels, with the create command as its hook.
  Quelm_Rask_S& OpenEditor(int left = 300, int top = 150) {
    EditorHooks hooks;
    hooks.cursorPos = []() -> std::optional<POINT> { return POINT{500, 400}; };
    hooks.create = CreateWallpaperHook(
        state,
        CreateWallpaperServices{[this](const std::string& path) { list->Add_If_Absent(path); }, nullptr});
    editor = std::make_unique<Quelm_Rask_S>(state, store, skin, std::move(hooks));
    editor->Show();
    editor->Move(left * forms::Form::TwipsPerPixelX(), top * forms::Form::TwipsPerPixelY());
    // Cell (1, 1): empty on green; cell (1, 2): red text on blue.
    editor->SetCell(1, 1, Cell{"", CellFont{"Arial", 9.0, false, false}, RGB(0, 0, 0), kGreen});
    editor->SetCell(1, 2, Cell{"WW", CellFont{"Arial", 9.0, true, false}, kRed, kBlue});
    forms::DoEvents();
    return *editor;
  }

  // Presses and releases "壁紙貼り付け" as the user does; returns when the command has finished.
  void PressCreate() {
    const forms::Label& button = editor->lbl_Button(0);
    const LPARAM centre = MAKELPARAM(button.Left() + button.Width() / 2, button.Top() + button.Height() / 2);
    test::CanvasWatch watch;
    SendMessageW(editor->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, centre);
    SendMessageW(editor->hwnd(), WM_LBUTTONUP, 0, centre);
    EXPECT_FALSE(watch.TimedOut());
  }

  std::optional<std::string> Wallpaper() const {
    const auto current = win::GetCurrentWallpaper();
    if (!current) return std::nullopt;
    return current->path;
  }

  static win::Surface Load(const std::string& path) {
    auto loaded = win::LoadImageFile(path);
    if (!loaded) return win::Surface();
    EXPECT_EQ(loaded->width, 1024);
    EXPECT_EQ(loaded->height, 768);
    return std::move(loaded->pixels);
  }

  // The table rectangle: 12 pixels inside the grid box's top-left corner as it stands on the screen,
  // 18 pixels narrower and 16 lower than the grid box.
  RECT TableOnScreen() const {
    RECT grid{};
    GetWindowRect(editor->PicBackWindow(), &grid);
    return RECT{grid.left + 12, grid.top + 12, grid.right - 6, grid.bottom - 4};
  }

  // A cell of the wallpaper's table: transparent cells laid out from the table's corner, opaque ones
  // from the editor's first cell.
  RECT CellOnWallpaper(int row, int col) const {
    const RECT table = TableOnScreen();
    const Point corner{table.left, table.top};
    const Point origin = state.Trans == 1 ? corner : EditorCellsOrigin(corner);
    const auto layout = LayoutCanvasTable(origin.x, origin.y, state.G_Rows, state.G_Cols, state.G_Cols_w);
    for (const CellPlacement& cell : layout.cells)
      if (cell.row == row && cell.col == col)
        return RECT{cell.rect.x, cell.rect.y, cell.rect.x + cell.rect.w, cell.rect.y + cell.rect.h};
    return RECT{};
  }
  // All the cells of the wallpaper's table.
  RECT CellsOnWallpaper() const {
    const RECT first = CellOnWallpaper(1, 1), last = CellOnWallpaper(state.G_Rows, state.G_Cols);
    return RECT{first.left, first.top, last.right, last.bottom};
  }

  bool EditorOpen() const { return editor && editor->Loaded(); }

  test::WallpaperSettingsGuard wallpaperGuard;
  test::TempFolder folder;
  ProfileKeyStore store;
  AppState state;
  EditorSkin skin;
  ListHost host;
  ModalWindows windows;
  std::unique_ptr<WallpaperList> list;
  std::unique_ptr<Quelm_Rask_S> editor;
};

}  // namespace qr::test
