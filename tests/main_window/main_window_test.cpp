// The main window as it runs: layout from the live controls, start-up state, the title-strip drag and
// help, driven with real mouse messages.
#include "main_window/main_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/wiring.h"
#include "core/cp932.h"
#include "core/list_file.h"
#include "core/numeric.h"
#include "core/settings.h"
#include "core/version.h"
#include "forms/picture.h"
#include "main_window/help_guide.h"
#include "main_window_fixture.h"
#include "shared/helpers.h"
#include "shared/record_paths.h"
#include "support/dialog_driver.h"
#include "support/temp_folder.h"
#include "win32/files.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace qr {
namespace {

using forms::Image;
using forms::Label;
using forms::PictureBox;
using test::CentreOf;
using test::Click;
using test::MainWindow;
using test::PressAndRelease;

RECT Rect(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

::testing::AssertionResult WindowAt(const PictureBox& box, HWND parent, RECT expected) {
  RECT r{};
  GetWindowRect(box.hwnd(), &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  if (GetParent(box.hwnd()) != parent) return ::testing::AssertionFailure() << "wrong container";
  if (!EqualRect(&r, &expected)) {
    return ::testing::AssertionFailure()
           << "at " << r.left << "," << r.top << " " << r.right - r.left << "x" << r.bottom - r.top;
  }
  return ::testing::AssertionSuccess();
}

// A windowless control at its place in its container, and the one hit there (nothing covers it).
::testing::AssertionResult ControlAt(const forms::Windowless& control, const forms::Container& container,
                                     RECT expected) {
  if (control.Parent() != &container) return ::testing::AssertionFailure() << "wrong container";
  const RECT r = control.Bounds();
  if (!EqualRect(&r, &expected)) {
    return ::testing::AssertionFailure()
           << "at " << r.left << "," << r.top << " " << r.right - r.left << "x" << r.bottom - r.top;
  }
  if (container.WindowlessAt(CentreOf(control)) != &control) {
    return ::testing::AssertionFailure() << "covered by another control";
  }
  return ::testing::AssertionSuccess();
}

TEST_F(MainWindow, BorderlessWindowOfPicBPlusTheTitleStrip) {
  Quelm_Rask_M& w = Start();
  RECT client{}, outer{};
  GetClientRect(w.hwnd(), &client);
  GetWindowRect(w.hwnd(), &outer);
  EXPECT_EQ(client.right, 541);
  EXPECT_EQ(client.bottom, 469);
  EXPECT_EQ(outer.right - outer.left, 541) << "no frame";
  EXPECT_EQ(GetWindowLongW(w.hwnd(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
  wchar_t title[64]{};
  GetWindowTextW(w.hwnd(), title, 64);
  EXPECT_EQ(win::Utf8(title), "Quelm_Rask ( Main )");
  EXPECT_DOUBLE_EQ(w.Width(), 541 * forms::Form::TwipsPerPixelX());
  EXPECT_DOUBLE_EQ(w.Height(), (449 + 20) * forms::Form::TwipsPerPixelY());
}

TEST_F(MainWindow, EveryControlAtItsPlaceWithItsCaption) {
  Quelm_Rask_M& w = Start();
  EXPECT_TRUE(ControlAt(w.Image1, w, Rect(0, 0, 539, 22)));
  EXPECT_EQ(w.Label1.Left(), 12);
  EXPECT_EQ(w.Label1.Top(), 4);
  EXPECT_GE(w.Label1.Width(), 86) << "sized to its caption, never below the design size";
  EXPECT_EQ(w.Label1.Caption(), "Quelm_Rask(Main)");
  EXPECT_EQ(w.Label1.ForeColor(), RGB(255, 255, 128));
  EXPECT_TRUE(ControlAt(w.ImgExit, w, Rect(520, 4, 15, 15)));
  EXPECT_TRUE(WindowAt(w.Pic_B, w.hwnd(), Rect(0, 20, 541, 449)));
  EXPECT_TRUE(WindowAt(w.Pic_C, w.Pic_B.hwnd(), Rect(12, 12, 513, 389)));
  EXPECT_TRUE(WindowAt(w.Pic_D[0], w.Pic_C.hwnd(), Rect(8, 32, 489, 93)));
  EXPECT_TRUE(WindowAt(w.Pic_D[1], w.Pic_C.hwnd(), Rect(8, 164, 489, 181)));

  struct Button {
    const Label& label;
    const Image& face;
    const forms::Container& container;
    RECT rect;
    const char* caption;
  };
  const Button buttons[] = {
      {w.lbl[0], w.Img_H[0], w.Pic_C, Rect(8, 8, 95, 20), "新規作成"},
      {w.lbl[1], w.Img_H[1], w.Pic_C, Rect(8, 140, 95, 20), "作成履歴"},
      {w.lbl_Help, w.Img_Help, w.Pic_C, Rect(394, 8, 91, 22), "ﾍﾙﾌﾟ"},  // moved from 392 at start-up
      {w.lbl_Cmd[0], w.Img_Cmd[0], w.Pic_D[0], Rect(192, 36, 51, 22), "参照..."},
      {w.lbl_Cmd[1], w.Img_Cmd[1], w.Pic_D[0], Rect(384, 36, 91, 22), "壁紙ﾌﾟﾚﾋﾞｭｰ"},
      {w.lbl_Cmd[2], w.Img_Cmd[2], w.Pic_C, Rect(396, 132, 91, 22), "壁紙作成"},
      {w.lbl_Cmd[3], w.Img_Cmd[3], w.Pic_C, Rect(28, 352, 91, 22), "壁紙ﾌﾟﾚﾋﾞｭｰ"},
      {w.lbl_Cmd[4], w.Img_Cmd[4], w.Pic_C, Rect(120, 352, 91, 22), "ﾘｽﾄから削除"},
      {w.lbl_Cmd[5], w.Img_Cmd[5], w.Pic_C, Rect(212, 352, 91, 22), "ﾘｽﾄ全部ｸﾘｱ"},
      {w.lbl_Cmd[6], w.Img_Cmd[6], w.Pic_C, Rect(304, 352, 91, 22), "ﾌｧｲﾙ削除"},
      {w.lbl_Cmd[7], w.Img_Cmd[7], w.Pic_C, Rect(396, 352, 91, 22), "壁紙変更"},
      {w.lbl_End, w.Img_End, w.Pic_B, Rect(316, 412, 91, 22), "終了"},
      {w.lbl_Can, w.Img_Can, w.Pic_B, Rect(408, 412, 91, 22), "ｷｬﾝｾﾙ"},
  };
  for (const Button& b : buttons) {
    SCOPED_TRACE(b.caption);
    EXPECT_TRUE(ControlAt(b.label, b.container, b.rect)) << "the caption lies over its face";
    EXPECT_EQ(b.face.Parent(), &b.container);
    const RECT face = b.face.Bounds();
    EXPECT_TRUE(EqualRect(&face, &b.rect));
    EXPECT_EQ(b.label.Caption(), b.caption);
    EXPECT_EQ(b.label.Font(), forms::CaptionFont());
  }
  EXPECT_TRUE(ControlAt(w.lbl[9], w.Pic_B, Rect(12, 412, 168, 13)));
  EXPECT_EQ(w.lbl[9].Caption(), "Ver." + std::string(ProgramVersion())) << "the label follows the version";
  EXPECT_EQ(forms::CaptionFont().name, "ＭＳ Ｐゴシック");
  EXPECT_EQ(forms::CaptionFont().size, 9.75);
  EXPECT_EQ(forms::CaptionFont().charset, SHIFTJIS_CHARSET);
  EXPECT_EQ(w.lbl_Cmd[1].ToolTip(), "ｲﾝﾌﾟｯﾄﾌｧｲﾙの再生");
  EXPECT_EQ(w.lbl_Cmd[3].ToolTip(), "結合ﾌｧｲﾙﾘｽﾄの再生");
}

TEST_F(MainWindow, ChoiceControlsAndListInsideTheirPanels) {
  Quelm_Rask_M& w = Start();
  const int markTops[3] = {24, 40, 8};  // modes 0, 1, 2
  const char* modes[3] = {"現在の壁紙に貼り付け", "壁紙ﾌｧｲﾙを指定して貼り付け", "壁紙なしで貼り付け"};
  const POINT posAt[3] = {{264, 32}, {316, 32}, {264, 48}};
  const char* places[3] = {"中央", "並べて", "ﾌﾙｽｸﾘｰﾝ"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(w.Img_Kabe[i].Left(), 8);
    EXPECT_EQ(w.Img_Kabe[i].Top(), markTops[i]);
    EXPECT_EQ(w.lbl_Kabe[i].Left(), 24);
    EXPECT_EQ(w.lbl_Kabe[i].Top(), markTops[i]);
    EXPECT_EQ(w.lbl_Kabe[i].Caption(), modes[i]);
    EXPECT_EQ(w.Img_Pos[i].Left(), posAt[i].x);
    EXPECT_EQ(w.Img_Pos[i].Top(), posAt[i].y);
    EXPECT_EQ(w.lbl_Pos[i].Left(), posAt[i].x + 16);
    EXPECT_EQ(w.lbl_Pos[i].Top(), posAt[i].y);
    EXPECT_EQ(w.lbl_Pos[i].Caption(), places[i]);
    const std::vector<const forms::Windowless*> choice{&w.Img_Kabe[i], &w.lbl_Kabe[i], &w.Img_Pos[i],
                                                       &w.lbl_Pos[i]};
    for (const forms::Windowless* c : choice) {
      EXPECT_EQ(c->Parent(), &w.Pic_D[0]);
    }
  }
  EXPECT_TRUE(ControlAt(w.lbl_Path, w.Pic_D[0], Rect(24, 64, 453, 17)));
  EXPECT_EQ(w.lbl_Path.BackColor(), RGB(255, 255, 255));
  EXPECT_EQ(w.lbl_Path.BorderStyle(), forms::BorderStyle::FixedSingle);
  RECT list{};
  GetWindowRect(w.List_Kabe.hwnd(), &list);
  MapWindowPoints(HWND_DESKTOP, w.Pic_D[1].hwnd(), reinterpret_cast<POINT*>(&list), 2);
  const RECT expected = Rect(20, 8, 457, 160);
  EXPECT_TRUE(EqualRect(&list, &expected));
  EXPECT_EQ(GetParent(w.List_Kabe.hwnd()), w.Pic_D[1].hwnd());
}

TEST_F(MainWindow, StartsWithDefaultsWhenThereIsNoSettingsFile) {
  Quelm_Rask_M& w = Start();
  const forms::Picture on = w.Img_Opt[1].Picture(), off = w.Img_Opt[0].Picture();
  ASSERT_TRUE(on && off && !(on == off));
  EXPECT_TRUE(w.Img_Kabe[2].Picture() == on);
  EXPECT_TRUE(w.Img_Kabe[0].Picture() == off && w.Img_Kabe[1].Picture() == off);
  EXPECT_TRUE(w.Img_Pos[0].Picture() == on);
  EXPECT_TRUE(w.Img_Pos[1].Picture() == off && w.Img_Pos[2].Picture() == off);
  EXPECT_EQ(w.lbl_Path.Caption(), "");
  EXPECT_EQ(state_.Get_File_Path, folder_.path());
  EXPECT_EQ(state_.Get_Data_Path, folder_.path());
  EXPECT_EQ(state_.Get_Kabe_Path, folder_.path());
  // Mode 2: browse, the first preview and the placement options are greyed.
  EXPECT_FALSE(w.lbl_Cmd[0].Enabled());
  EXPECT_FALSE(w.lbl_Cmd[1].Enabled());
  for (size_t i = 0; i < 3; ++i) EXPECT_FALSE(w.Img_Pos[i].Enabled() || w.lbl_Pos[i].Enabled());
  EXPECT_TRUE(w.lbl_Cmd[2].Enabled());
  for (size_t i = 3; i <= 7; ++i) EXPECT_FALSE(w.lbl_Cmd[i].Enabled()) << i;
  EXPECT_EQ(w.List_Kabe.ListCount(), 0);
  for (const Image& face : w.Img_Cmd) EXPECT_TRUE(face.Picture() == w.Img_Off.Picture());
  EXPECT_TRUE(w.Img_Help.Picture() == w.Img_Off.Picture());
  EXPECT_TRUE(w.Img_End.Picture() == w.Img_Off.Picture() && w.Img_Can.Picture() == w.Img_Off.Picture());
  EXPECT_TRUE(w.Img_H[0].Picture() == w.Img_TT.Picture() && w.Img_H[1].Picture() == w.Img_TT.Picture());
  EXPECT_EQ(w.List_Extent, RoundHalfEven(457 / forms::Form::TwipsPerPixelX() + 600));
  EXPECT_GE(w.List_Kabe.HorizontalExtent(), w.List_Extent);
  EXPECT_EQ(w.Drag_Flag, 0);
}

TEST_F(MainWindow, TheScrollExtentFitsTheWidestListedEntryAtStartUp) {
  const std::string wide = folder_.Write(std::string(150, 'W') + ".bmp", "x");
  folder_.Write("Quelm_Rask.rdm", EncodeListFile({folder_.Write("a.bmp", "x"), wide}));
  Quelm_Rask_M& w = Start();
  ASSERT_EQ(w.List_Kabe.ListCount(), 2);
  HDC dc = GetDC(w.List_Kabe.hwnd());
  win::Font font = forms::CreateFontFor(w.List_Kabe.Font());
  SIZE size{};
  {
    win::Selection select(dc, font.get());
    const std::wstring text = win::Wide(wide);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  }
  ReleaseDC(w.List_Kabe.hwnd(), dc);
  ASSERT_GT(size.cx, w.List_Extent);  // the entry is wider than the extent set before the load
  EXPECT_GE(w.List_Kabe.HorizontalExtent(), size.cx);
}

TEST_F(MainWindow, ALongListIsWholeOnceTheWindowIsShownAndItsWidestLaterEntryFits) {
  std::vector<std::string> entries;
  for (int i = 0; i < 600; ++i) entries.push_back(folder_.Write(std::to_string(i) + ".bmp", "x"));
  entries.push_back(folder_.Write(std::string(150, 'W') + ".bmp", "x"));  // far below the first screenful
  folder_.Write("Quelm_Rask.rdm", EncodeListFile(entries));
  Quelm_Rask_M& w = Start();  // shows the window and runs its messages
  EXPECT_FALSE(w.Wallpaper_List().Filling());
  ASSERT_EQ(w.List_Kabe.ListCount(), static_cast<int>(entries.size()));
  EXPECT_EQ(w.List_Kabe.List(600), entries.back());
  EXPECT_GT(w.List_Kabe.HorizontalExtent(), w.List_Extent);
}

TEST_F(MainWindow, ImageStoreHoldsTheSkin) {
  Quelm_Rask_M& w = Start();
  EXPECT_EQ(w.Img_Off.Picture().Width(), 21);
  EXPECT_EQ(w.Img_Off.Picture().Height(), 20);
  EXPECT_EQ(w.Img_On.Picture().Width(), 21);
  EXPECT_EQ(w.Img_Opt[0].Picture().Width(), 13);
  EXPECT_EQ(w.Img_Opt[1].Picture().Height(), 13);
  EXPECT_EQ(w.Img_TT.Picture().Width(), 87);
  EXPECT_EQ(w.Img_TT.Picture().Height(), 20);
  EXPECT_EQ(w.imgImages[0].Picture().Width(), 15);
  EXPECT_EQ(w.imgImages[1].Picture().Width(), 16);
  ASSERT_NE(w.Pic_Mbl1.Image(), nullptr);
  EXPECT_EQ(w.Pic_Mbl1.ScaleWidth(), 541);
  EXPECT_EQ(w.Pic_Mbl1.ScaleHeight(), 22);
  EXPECT_NE(w.MouseIcon(), nullptr);
  EXPECT_NE(w.MouseIcon(), LoadCursorW(nullptr, IDC_ARROW));
  RECT client{};
  GetClientRect(w.hwnd(), &client);
  const std::vector<const forms::Windowless*> store{&w.Img_Off, &w.Img_On, &w.Img_TT, &w.Img_Opt[0],
                                                    &w.imgImages[1]};
  for (const forms::Windowless* stored : store) {
    EXPECT_FALSE(stored->Visible());
    EXPECT_GE(stored->Top(), client.bottom) << "below the visible area";
  }
}

TEST_F(MainWindow, PanelsCarryTheTextureTiledColumnWise) {
  Quelm_Rask_M& w = Start();
  const win::Surface& tile = *w.Pic_Mbl1.Image();
  for (PictureBox* box : {&w.Pic_B, &w.Pic_C, &w.Pic_D[0], &w.Pic_D[1]}) {
    ASSERT_NE(box->Image(), nullptr);
    for (POINT p : {POINT{0, 0}, POINT{100, 21}, POINT{100, 22}, POINT{300, 45}, POINT{480, 80}}) {
      if (p.x >= box->ScaleWidth() || p.y >= box->ScaleHeight()) continue;
      EXPECT_EQ(box->Image()->Pixel(p.x, p.y), tile.Pixel(p.x % 541, p.y % 22)) << p.x << "," << p.y;
    }
  }
}

TEST_F(MainWindow, CursorOnExactlyTheClickableControls) {
  Quelm_Rask_M& w = Start();
  const HCURSOR pointer = w.MouseIcon();
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(w.Img_Kabe[i].Cursor(), pointer);
    EXPECT_EQ(w.lbl_Kabe[i].Cursor(), pointer);
    EXPECT_EQ(w.Img_Pos[i].Cursor(), pointer);
    EXPECT_EQ(w.lbl_Pos[i].Cursor(), pointer);
  }
  for (const Label& label : w.lbl_Cmd) EXPECT_EQ(label.Cursor(), pointer);
  EXPECT_EQ(w.lbl_Help.Cursor(), pointer);
  EXPECT_EQ(w.lbl_End.Cursor(), pointer);
  EXPECT_EQ(w.lbl_Can.Cursor(), pointer);
  EXPECT_EQ(w.List_Kabe.Cursor(), pointer);
  EXPECT_EQ(w.Image1.Cursor(), nullptr);
  EXPECT_EQ(w.ImgExit.Cursor(), nullptr);
  EXPECT_EQ(w.lbl_Path.Cursor(), nullptr);
  EXPECT_EQ(w.Img_Cmd[2].Cursor(), nullptr);
}

TEST_F(MainWindow, SettingsFileStateShowsInMarksAndEnabling) {
  const std::string chosen = folder_.Write("壁紙.bmp", "BM");
  const std::string ini = "[Section]\r\nG_Kabe= 1\r\nG_Kabe_File=" + EncodeCp932(chosen) + "\r\nG_Pos= 2\r\n";
  folder_.Write("Quelm_Rask.ini", ini);
  Quelm_Rask_M& w = Start();
  EXPECT_TRUE(w.Img_Kabe[1].Picture() == w.Img_Opt[1].Picture());
  EXPECT_TRUE(w.Img_Kabe[2].Picture() == w.Img_Opt[0].Picture());
  EXPECT_TRUE(w.Img_Pos[2].Picture() == w.Img_Opt[1].Picture());
  EXPECT_TRUE(w.Img_Pos[0].Picture() == w.Img_Opt[0].Picture());
  EXPECT_EQ(w.lbl_Path.Caption(), chosen);
  EXPECT_TRUE(w.lbl_Cmd[0].Enabled() && w.lbl_Cmd[1].Enabled());
  for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(w.Img_Pos[i].Enabled() && w.lbl_Pos[i].Enabled());
}

TEST_F(MainWindow, CommandPressedAndReleasedOutsideStillRuns) {
  folder_.Write("Quelm_Rask.hlp", "?");
  Quelm_Rask_M& w = Start();
  SendMessageW(w.Pic_C.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 10));
  EXPECT_TRUE(w.Img_Help.Picture() == w.Img_On.Picture()) << "pressed face";
  EXPECT_TRUE(help_.empty());
  SendMessageW(w.Pic_C.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 300));  // released far away
  EXPECT_TRUE(w.Img_Help.Picture() == w.Img_Off.Picture()) << "released face";
  ASSERT_EQ(help_.size(), 1u);
  EXPECT_EQ(help_[0].owner, w.hwnd());
  EXPECT_EQ(help_[0].file, folder_.path() + "\\Quelm_Rask.hlp");
  EXPECT_EQ(help_[0].command, static_cast<UINT>(HELP_FINDER));
  EXPECT_EQ(help_[0].data, 0u);
  EXPECT_TRUE(opened_.empty()) << "the help file is preferred to the guide";

  // Any button works.
  PressAndRelease(w.Pic_C.hwnd(), {450, 20}, {0, 0}, forms::kRightButton);
  EXPECT_EQ(help_.size(), 2u);

  // A disabled command takes nothing: its face never goes down.
  SendMessageW(w.Pic_C.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 360));
  EXPECT_TRUE(w.Img_Cmd[3].Picture() == w.Img_Off.Picture());
  SendMessageW(w.Pic_C.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(60, 360));

  // The window is still there: help does not leave.
  EXPECT_TRUE(w.Loaded());
  EXPECT_EQ(ended_, 0);
}

TEST_F(MainWindow, OnlyTheReleaseOfAPressOnAButtonRunsIt) {
  folder_.Write("Quelm_Rask.hlp", "?");
  Quelm_Rask_M& w = Start();
  // Releases that no press on the window preceded, as the second click of a double-click that closed a
  // dialog lying over the buttons: over "ﾍﾙﾌﾟ" and over the close mark.
  SendMessageW(w.Pic_C.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(400, 10));
  SendMessageW(w.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(525, 8));
  EXPECT_TRUE(help_.empty());
  EXPECT_TRUE(w.Loaded());
  EXPECT_EQ(ended_, 0);
  EXPECT_TRUE(w.Img_Help.Picture() == w.Img_Off.Picture());

  // Two buttons held on "ﾍﾙﾌﾟ": the first release runs it, the second does not run it again.
  const LPARAM at = MAKELPARAM(400, 10);
  SendMessageW(w.Pic_C.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(w.Pic_C.hwnd(), WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, at);
  SendMessageW(w.Pic_C.hwnd(), WM_RBUTTONUP, MK_LBUTTON, at);
  EXPECT_EQ(help_.size(), 1u);
  SendMessageW(w.Pic_C.hwnd(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(help_.size(), 1u);
  EXPECT_TRUE(w.Img_Help.Picture() == w.Img_Off.Picture());
}

TEST_F(MainWindow, HelpWithoutHelpFileOpensTheGuideShippedBesideTheProgram) {
  const std::string shipped = folder_.Write("Quelm_Rask.html", "<html>shipped</html>");
  Quelm_Rask_M& w = Start();
  Click(w.lbl_Help);
  EXPECT_TRUE(help_.empty());
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0].first, w.hwnd());
  EXPECT_EQ(opened_[0].second, shipped);
  EXPECT_FALSE(win::ReadFileBytes(guideFolder_ + "\\Quelm_Rask.html")) << "nothing written out";
  EXPECT_TRUE(w.Loaded());
}

TEST_F(MainWindow, HelpWritesTheProgramsOwnGuideOutWhenNoneIsShipped) {
  const std::string_view embedded = Embedded_User_Guide();
  ASSERT_FALSE(embedded.empty());
  EXPECT_NE(embedded.find("<html"), std::string_view::npos);
  EXPECT_EQ(embedded.find("src=\"images/"), std::string_view::npos) << "pictures are inlined";
  Quelm_Rask_M& w = Start();
  const std::string written = guideFolder_ + "\\Quelm_Rask.html";

  Click(w.lbl_Help);  // the folder does not exist yet
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0].second, written);
  EXPECT_EQ(win::ReadFileBytes(written), std::string(embedded));

  // A page left by another version is replaced before it is opened.
  folder_.Write("LocalAppData_Quelm_Rask\\Quelm_Rask.html", "<html>old</html>");
  Click(w.lbl_Help);
  ASSERT_EQ(opened_.size(), 2u);
  EXPECT_EQ(opened_[1].second, written);
  EXPECT_EQ(win::ReadFileBytes(written), std::string(embedded));
  EXPECT_TRUE(help_.empty());
}

TEST_F(MainWindow, GuideThatCannotBeOpenedIsReportedAndTheWindowStays) {
  openerWorks_ = false;
  Quelm_Rask_M& w = Start();
  {
    test::DialogDriver driver;
    driver.Press(IDOK);
    Click(w.lbl_Help);
    EXPECT_TRUE(driver.WaitUntilDone());
    const std::vector<test::SeenDialog> seen = driver.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, "Quelm_Rask");
    EXPECT_EQ(seen[0].text, std::string(kGuideNotOpened) + "\n" + guideFolder_ + "\\Quelm_Rask.html");
    EXPECT_EQ(seen[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(seen[0].icon, LoadIconW(nullptr, IDI_EXCLAMATION));
  }
  EXPECT_EQ(opened_.size(), 1u);

  // No guide at all (no copy beside the program, nowhere to write one): the same report, without a path.
  openerWorks_ = true;
  window_.reset();
  guideFolder_.clear();
  Quelm_Rask_M& again = Start();
  {
    test::DialogDriver driver;
    driver.Press(IDOK);
    Click(again.lbl_Help);
    EXPECT_TRUE(driver.WaitUntilDone());
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text, kGuideNotOpened);
  }
  EXPECT_EQ(opened_.size(), 1u) << "nothing to open";
  EXPECT_TRUE(again.Loaded());
}

// Moves the pointer and lets the window see it (the pointer moves asynchronously under Wine, and on a
// busy machine the display can take more than a second to report it; a move the display dropped, as
// when another window's mouse capture ended at that moment, is asked for again).
void PointerTo(int x, int y) {
  for (int i = 0; i < 500; ++i) {
    if (i % 50 == 0) SetCursorPos(x, y);
    forms::DoEvents();
    POINT p{};
    GetCursorPos(&p);
    if (p.x == x && p.y == y) return;
    Sleep(10);
  }
}

TEST_F(MainWindow, LeftDragOnTheTitleStripMovesTheWindowRightDragDoesNot) {
  Quelm_Rask_M& w = Start();
  const double tpp = forms::Form::TwipsPerPixelX();
  w.Move(100 * tpp, 80 * forms::Form::TwipsPerPixelY());
  RECT before{};
  GetWindowRect(w.hwnd(), &before);
  const POINT grab{before.left + 200, before.top + 10};

  PointerTo(grab.x, grab.y);
  SendMessageW(w.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(200, 10));
  EXPECT_EQ(w.Drag_Flag, 0);
  PointerTo(grab.x + 40, grab.y + 30);
  SendMessageW(w.hwnd(), WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(240, 40));
  SendMessageW(w.hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(240, 40));
  RECT after{};
  GetWindowRect(w.hwnd(), &after);
  EXPECT_TRUE(EqualRect(&before, &after)) << "the right button does not drag";

  PointerTo(grab.x, grab.y);
  SendMessageW(w.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 10));
  EXPECT_EQ(w.Drag_Flag, 1);
  const double tppY = forms::Form::TwipsPerPixelY();
  EXPECT_EQ(w.Drag_Dx, RoundHalfEven(grab.x * tpp - before.left * tpp));
  EXPECT_EQ(w.Drag_Dy, RoundHalfEven(grab.y * tppY - before.top * tppY));
  PointerTo(grab.x + 40, grab.y + 30);
  SendMessageW(w.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(240, 40));
  GetWindowRect(w.hwnd(), &after);
  // Left := x * twips per pixel - Drag_Dx (twips): the window follows the pointer.
  EXPECT_EQ(after.left, before.left + 40);
  EXPECT_EQ(after.top, before.top + 30);

  // Releasing any button ends the drag: later moves leave the window where it is.
  SendMessageW(w.hwnd(), WM_RBUTTONUP, MK_LBUTTON, MAKELPARAM(240, 40));
  EXPECT_EQ(w.Drag_Flag, 0);
  const RECT dropped = after;
  PointerTo(grab.x + 90, grab.y + 60);
  SendMessageW(w.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(290, 70));
  SendMessageW(w.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(290, 70));
  GetWindowRect(w.hwnd(), &after);
  EXPECT_TRUE(EqualRect(&dropped, &after));
}

}  // namespace
}  // namespace qr
