// The editor's background-colour and preview commands, pressed on a real editor: the real colour dialog
// (answered by the dialog driver), the real canvas and preview window, on the 1024 x 768 test desktop.
#include <windows.h>

#include "wallpaper_creation/preview_command.h"
// after windows.h
#include <colordlg.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "canvas/canvas_window_test_driver.h"
#include "core/geometry.h"
#include "core/settings.h"
#include "font_colour/back_colour_command.h"
#include "font_colour/colour_chooser.h"
#include "preview/preview_clicker.h"
#include "shared/fixed_files.h"
#include "support/dialog_driver.h"
#include "support/editor_fixture.h"
#include "support/keyboard.h"
#include "support/screen_reader.h"
#include "wallpaper_creation/create_wallpaper.h"
#include "win32/com.h"
#include "win32/files.h"
#include "win32/image.h"
#include "win32/image_test_pictures.h"

namespace qr::test {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGreen = RGB(0, 200, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

// Sets the colour in the dialog's red, green and blue boxes, then presses the button.
DialogDriver::Action Answer(COLORREF colour, int button, HWND* owner = nullptr) {
  return [colour, button, owner](HWND dialog) {
    if (owner) *owner = GetWindow(dialog, GW_OWNER);
    SetControlText(dialog, COLOR_RED, std::to_string(GetRValue(colour)));
    SetControlText(dialog, COLOR_GREEN, std::to_string(GetGValue(colour)));
    SetControlText(dialog, COLOR_BLUE, std::to_string(GetBValue(colour)));
    ClickButton(dialog, button);
  };
}

RECT ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class EditorCommandsTest : public EditorTest {
 protected:
  void SetUp() override {
    OverrideFixedFileFolders(FixedFileFolders{folder.path(), folder.File("appdata")});
    state.G_Kabe = 2;
    hooks.preview = PreviewWallpaperHook();
    hooks.backColour = BackColourHook(colours);
  }
  void TearDown() override {
    if (editor) editor->Unload();
    OverrideFixedFileFolders(std::nullopt);
  }

  // The editor with its real commands, shown at (left, top) in pixels.
  Quelm_Rask_S& OpenAt(int left = 300, int top = 150) {
    editor = Open();
    editor->Move(left * forms::Form::TwipsPerPixelX(), top * forms::Form::TwipsPerPixelY());
    forms::DoEvents();
    return *editor;
  }

  // Presses "背景色の設定" with the dialog answered by `action`.
  void PressBackColour(const DialogDriver::Action& action) {
    DialogDriver driver;
    driver.Do(action);
    Click(*editor, editor->Img_SS(5));
    EXPECT_TRUE(driver.WaitUntilDone());
    EXPECT_TRUE(editor->Loaded());
  }

  // Cells whose model and text box both have the background colour.
  int CellsWithBackColour(COLORREF colour) {
    int n = 0;
    for (int row = 1; row <= kMaxRows; ++row) {
      for (int col = 1; col <= kMaxCols; ++col)
        n += editor->Model().At(row, col).backColor == colour &&
             editor->txt_Item(col, row).BackColor() == colour;
    }
    return n;
  }

  COLORREF OnScreen(POINT p) {
    forms::DoEvents();
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
  }

  RECT CellOnScreen(int row, int col) { return ScreenRect(editor->txt_Item(col, row).hwnd()); }

  // Presses "壁紙に貼り付け後のプレビュー"; returns when the command has finished.
  void PressPreview() {
    CanvasWatch watch;
    Click(*editor, editor->Img_SS(4));
    EXPECT_FALSE(watch.TimedOut());
    EXPECT_TRUE(editor->Loaded());
  }

  static bool Exists(const std::string& path) {
    return GetFileAttributesW(win::ApiPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  ColourChooser colours;
  std::unique_ptr<Quelm_Rask_S> editor;
};

TEST_F(EditorCommandsTest, WithCommonOnOneChoiceColoursAllCellsHiddenOnesIncluded) {
  OpenAt();
  Click(*editor, editor->lbl_Comn());
  ASSERT_EQ(state.Common, 1);
  HWND owner = nullptr;
  PressBackColour(Answer(RGB(12, 34, 56), IDOK, &owner));
  EXPECT_EQ(owner, editor->hwnd());
  EXPECT_EQ(CellsWithBackColour(RGB(12, 34, 56)), 170);
  EXPECT_EQ(OnScreen(Centre(CellOnScreen(2, 2))), RGB(12, 34, 56));
}

TEST_F(EditorCommandsTest, AColourGivenToEveryCellIsUndoneByCtrlZWithTheRestOfTheTable) {
  OpenAt();
  editor->SetCellText(3, 1, "kept");
  editor->Model().At(2, 2).backColor = RGB(1, 2, 3);
  editor->ApplyCellStyle(2, 2);
  const TableModel before = editor->Model();
  Click(*editor, editor->lbl_Comn());
  PressBackColour(Answer(RGB(12, 34, 56), IDOK));
  ASSERT_EQ(CellsWithBackColour(RGB(12, 34, 56)), 170);
  test::MakeForeground(editor->hwnd());
  editor->txt_Item(1, 1).SetFocus();
  test::PressChord({VK_CONTROL}, 'Z');
  ASSERT_TRUE(test::PumpUntil([&] { return editor->Model() == before; }));
  EXPECT_EQ(editor->txt_Item(2, 2).BackColor(), RGB(1, 2, 3));
  EXPECT_EQ(CellsWithBackColour(RGB(12, 34, 56)), 0);
  EXPECT_EQ(editor->txt_Item(1, 3).Text(), "kept");
}

TEST_F(EditorCommandsTest, WithCommonOffOnlyTheCellThatLastHadTheFocusIsColoured) {
  OpenAt();
  ASSERT_EQ(state.Common, 0);
  PressBackColour(Answer(RGB(12, 34, 56), IDOK));  // right after opening: cell 1, 1
  EXPECT_EQ(editor->Model().At(1, 1).backColor, RGB(12, 34, 56));
  EXPECT_EQ(CellsWithBackColour(kWhite), 169);

  editor->txt_Item(2, 3).SetFocus();  // row 3, column 2
  PressBackColour(Answer(RGB(200, 0, 100), IDOK));
  EXPECT_EQ(editor->Model().At(3, 2).backColor, RGB(200, 0, 100));
  EXPECT_EQ(editor->Model().At(1, 1).backColor, RGB(12, 34, 56));
  EXPECT_EQ(CellsWithBackColour(kWhite), 168);
  EXPECT_EQ(OnScreen(Centre(CellOnScreen(3, 2))), RGB(200, 0, 100));
}

TEST_F(EditorCommandsTest, CancellingOrACurrentColumnOutsideTheTableChangesNothing) {
  OpenAt();
  Click(*editor, editor->lbl_Comn());
  PressBackColour(Answer(RGB(12, 34, 56), IDCANCEL));
  EXPECT_EQ(CellsWithBackColour(kWhite), 170);

  Click(*editor, editor->lbl_Comn());
  ASSERT_EQ(state.Common, 0);
  editor->FocusFirstSlider();  // no cell takes the focus back (and becomes current) when the dialog closes
  for (int16_t col : {0, 6}) {
    state.Cur_Col = col;
    PressBackColour(Answer(RGB(12, 34, 56), IDOK));
    EXPECT_EQ(CellsWithBackColour(kWhite), 170);
  }
}

TEST_F(EditorCommandsTest, TransparentPreviewStaysOnTheCanvasUntilClickedAndWritesNoFile) {
  OpenAt(200, 100);
  state.Trans = 1;
  const RECT grid = ScreenRect(editor->PicBackWindow());
  int ticksShown = 0;
  win::Surface shown(1024, 768);
  CanvasWatch watch([&](HWND canvas, int tick) {
    ticksShown = tick;
    if (tick != 4) return;
    SendMessageW(GetWindow(canvas, GW_CHILD), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.dc()),
                 PRF_CLIENT);
    // a press on the background, away from the cells
    PostMessageW(GetWindow(canvas, GW_CHILD), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  });
  Click(*editor, editor->Img_SS(4));
  EXPECT_FALSE(watch.TimedOut());
  EXPECT_GE(ticksShown, 4);
  EXPECT_TRUE(editor->Loaded());
  // The first cell's frame stands where the editor shows the table.
  EXPECT_EQ(shown.Pixel(grid.left + 12, grid.top + 12), RGB(0, 0, 0));
  EXPECT_FALSE(Exists(FixedFilesFolder() + "\\" + kTempBitmapName));
  EXPECT_FALSE(Exists(WallpaperBitmapPath()));
}

// What the transparent preview shows is, pixel for pixel, the wallpaper the create command writes, with
// each text effect.
TEST_F(EditorCommandsTest, TransparentPreviewShowsTheCreatedWallpaperWithEachTextEffect) {
  for (const char* effect : {"0", "1", "2", "3"}) {
    SCOPED_TRACE(effect);
    store.Write(kSettingsSection, "Trans", "1");
    store.Write(kSettingsSection, "Text_Effect", effect);
    store.Write(kSettingsSection, "Panel_Alpha", "75");
    OpenAt(250, 120);
    editor->SetCell(1, 1, Cell{"Quelm 壁紙", CellFont{"Arial", 12.0, true, false}, kWhite, RGB(0, 0, 128)});
    editor->SetCell(2, 2, Cell{"WW", CellFont{"Arial", 9.0, false, true}, RGB(0, 0, 0), kGreen});
    win::Surface shown(1024, 768);
    CanvasWatch watch([&](HWND canvas, int tick) {
      if (tick != 4) return;
      SendMessageW(GetWindow(canvas, GW_CHILD), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.dc()),
                   PRF_CLIENT);
      PostMessageW(GetWindow(canvas, GW_CHILD), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    });
    Click(*editor, editor->Img_SS(4));
    ASSERT_FALSE(watch.TimedOut());

    CanvasWatch closes;
    ASSERT_TRUE(Build_Wallpaper(*editor, nullptr));
    const auto created = win::LoadImageFile(WallpaperBitmapPath());
    ASSERT_TRUE(created);
    EXPECT_EQ(CountDifferences(created->pixels, shown), 0);
    editor->Unload();
  }
}

TEST_F(EditorCommandsTest, OpaquePreviewShowsTheCreatedWallpaperFromMemoryAndWritesNothing) {
  OpenAt(300, 150);
  state.Trans = 0;
  editor->SetCell(1, 1, Cell{"", CellFont{"Arial", 9.0, false, false}, RGB(0, 0, 0), kGreen});
  editor->SetCell(2, 2, Cell{"WW", CellFont{"Arial", 9.0, true, false}, kRed, RGB(0, 0, 255)});
  const std::string temp = FixedFilesFolder() + "\\" + kTempBitmapName;
  ASSERT_TRUE(win::ReplaceFileContents(temp, "left by an earlier run"));
  const POINT cell = Centre(CellOnScreen(1, 1));

  win::Surface shown(1024, 768);
  PreviewClicker clicker({cell, POINT{5, 5}}, [&](HWND preview) {
    SendMessageW(GetWindow(preview, GW_CHILD), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.dc()),
                 PRF_CLIENT);
  });
  PressPreview();
  ASSERT_TRUE(clicker.Clicked());
  EXPECT_EQ(clicker.Seen(), (std::vector<COLORREF>{kGreen, GetSysColor(COLOR_BACKGROUND)}));
  EXPECT_EQ(win::ReadFileBytes(temp), std::optional<std::string>("left by an earlier run"));  // not written
  EXPECT_FALSE(Exists(WallpaperBitmapPath()));

  // The very picture the create command writes for the same table at the same place.
  CanvasWatch watch;
  ASSERT_TRUE(Build_Wallpaper(*editor, nullptr));
  const auto created = win::LoadImageFile(WallpaperBitmapPath());
  ASSERT_TRUE(created);
  EXPECT_EQ(CountDifferences(created->pixels, shown), 0);
}

TEST_F(EditorCommandsTest, AnOpaquePreviewNeedsNoWritableFolderAndOneThatCannotBeDrawnIsReported) {
  const std::string blocker = folder.Write("blocker", "a file where a folder would have to be");
  OverrideFixedFileFolders(FixedFileFolders{folder.File("missing"), blocker + "\\Quelm_Rask"});
  OpenAt();
  state.Trans = 0;
  {
    PreviewClicker clicker;
    PressPreview();
    EXPECT_TRUE(clicker.Clicked());  // shown from memory where no file could be written
  }
  editor->Unload();
  hooks.preview = PreviewWallpaperHook([](const WallpaperJob&) { return win::Surface(); });
  OpenAt();
  state.Trans = 0;
  DialogDriver driver;
  driver.Press(IDOK);
  PreviewClicker clicker;
  PressPreview();
  ASSERT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 1u);
  EXPECT_EQ(driver.Seen()[0].text, kBitmapNotWritten);
  EXPECT_EQ(clicker.Preview(), nullptr);
}

TEST_F(EditorCommandsTest, ATransparentPreviewThatCannotBeDrawnIsReportedAndNoCanvasIsShown) {
  int rendered = 0;
  hooks.preview = PreviewWallpaperHook([&](const WallpaperJob&) {
    ++rendered;
    return win::Surface();  // as when no surface of the screen's size can be made
  });
  OpenAt();
  state.Trans = 1;
  DialogDriver driver;
  driver.Press(IDOK);
  // A canvas that does appear is closed at once, so that the test fails instead of waiting for a click.
  CanvasWatch watch([](HWND canvas, int) { PostMessageW(canvas, WM_CLOSE, 0, 0); });
  Click(*editor, editor->Img_SS(4));
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_EQ(rendered, 1);
  ASSERT_EQ(driver.Seen().size(), 1u);
  EXPECT_EQ(driver.Seen()[0].text, kBitmapNotWritten);
  EXPECT_FALSE(watch.Seen());
  EXPECT_TRUE(editor->Loaded());
}

// By the keyboard alone: Space on ﾌﾟﾚﾋﾞｭｰ opens the preview, Esc leaves it; the focus never seems to
// wander to a slider and comes back to the command that opened the preview.
TEST_F(EditorCommandsTest, ThePreviewsFocusEventsNameWhatHasTheFocusAndTheFocusComesBackToItsCommand) {
  win::ComApartment com;
  OpenAt(300, 150);
  state.Trans = 0;
  MakeForeground(editor->hwnd());
  editor->txt_Item(1, 1).SetFocus();
  forms::Windowless& command = editor->Img_SS(4);
  forms::MoveFocus({command.Parent()->hwnd(), &command});
  AccessibleEvents focus;
  {
    KeysIntoWindow keys(L"Quelm_Rask_V", {VK_ESCAPE});
    PressKey(VK_SPACE);
    EXPECT_TRUE(PumpUntil(
        [&] { return keys.OpenBeforeEachKey().size() == 1 && !FindWindowW(L"Quelm_Rask_V", nullptr); },
        8000));
    EXPECT_FALSE(keys.TimedOut());
  }
  EXPECT_TRUE(PumpUntil([&] { return focus.LastName() == "ﾌﾟﾚﾋﾞｭｰ"; })) << "heard last: " << focus.LastName();
  EXPECT_EQ(forms::CurrentFocus(), (forms::FocusTarget{command.Parent()->hwnd(), &command}));
  for (const AccessibleEvents::Event& e : focus.Heard()) {
    EXPECT_NE(e.window, editor->S_Wide(1).hwnd()) << "a slider never had the focus";
    EXPECT_NE(e.window, editor->txt_Item(1, 1).hwnd());
  }
}

}  // namespace
}  // namespace qr::test
