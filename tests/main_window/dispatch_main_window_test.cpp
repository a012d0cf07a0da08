// The list, the choice and the dispatcher inside the real main window: start-up loads the list, marks
// and labels react to real mouse presses, the command labels reach their actions, and every close
// writes the list file.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/wiring.h"
#include "core/list_file.h"
#include "main_window/dispatch_test_host.h"
#include "main_window/main_window.h"
#include "preview/preview_clicker.h"
#include "support/temp_folder.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/surface.h"

namespace qr {
namespace {

class WiredMainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    state.Program_Folder = folder.path();
    picture = folder.File("緑.bmp");
    ASSERT_TRUE(win::WriteBitmapFile(win::Surface(40, 30, RGB(0, 160, 0)), picture));
    other = folder.Write("other.bmp", "x");
    folder.Write("Quelm_Rask.rdm", EncodeListFile({picture, folder.File("vanished.bmp"), other}));
    // The program's own wiring, except that the end is only counted and help opens nothing.
    MainWindowServices services = ProgramWiring(state, skin);
    services.End_Program = [this] { ++ended; };
    services.Win_Help = nullptr;
    window = std::make_unique<Quelm_Rask_M>(state, std::move(services));
    window->Show();
    forms::DoEvents();
  }

  std::string ListCommands() const {
    std::string s;
    for (size_t i = 3; i <= 7; ++i) s += window->lbl_Cmd[i].Enabled() ? '1' : '0';
    return s;
  }

  // A left press and release at the centre of a label or mark, as the user clicks it.
  static void Click(const forms::Windowless& control, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
    const LPARAM at = MAKELPARAM(control.Left() + control.Width() / 2, control.Top() + control.Height() / 2);
    SendMessageW(control.Parent()->hwnd(), down, down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON, at);
    SendMessageW(control.Parent()->hwnd(), up, 0, at);
    forms::DoEvents();
  }

  test::TempFolder folder;
  AppState state;
  const Skin skin = LoadSkin();
  std::string picture, other;
  std::unique_ptr<Quelm_Rask_M> window;
  int ended = 0;
};

TEST_F(WiredMainWindow, StartUpListsTheExistingFilesAndEveryCloseWritesTheList) {
  EXPECT_EQ(window->Wallpaper_List().Entries(), (std::vector<std::string>{picture, other}));
  EXPECT_EQ(ListCommands(), "00100");

  test::DropOn(window->List_Kabe.hwnd(), {folder.File("dropped.JPG"), folder.File("dropped.txt")});
  EXPECT_EQ(window->List_Kabe.ListCount(), 3);
  test::ClickEntry(window->List_Kabe, 1);
  EXPECT_EQ(ListCommands(), "11111");
  Click(window->lbl_Cmd[4]);  // "ﾘｽﾄから削除"
  EXPECT_EQ(window->Wallpaper_List().Entries(),
            (std::vector<std::string>{picture, folder.File("dropped.JPG")}));
  EXPECT_EQ(ListCommands(), "00100");

  Click(window->lbl_Can);  // "ｷｬﾝｾﾙ": settings are not written, the list is
  EXPECT_FALSE(window->Loaded());
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(win::ReadFileBytes(folder.File("Quelm_Rask.rdm")),
            EncodeListFile({picture, folder.File("dropped.JPG")}));
}

TEST_F(WiredMainWindow, MarksAndLabelsChooseTheBackgroundAndPlacement) {
  ASSERT_EQ(state.G_Kabe, 2);  // the default
  EXPECT_FALSE(window->lbl_Cmd[0].Enabled());
  Click(window->lbl_Kabe[1], WM_RBUTTONDOWN, WM_RBUTTONUP);
  EXPECT_EQ(state.G_Kabe, 1);
  EXPECT_TRUE(window->lbl_Cmd[0].Enabled());
  EXPECT_TRUE(window->Img_Kabe[1].Picture() == window->Img_Opt[1].Picture());
  Click(window->Img_Pos[2]);
  EXPECT_EQ(state.G_Pos, 2);
  EXPECT_TRUE(window->Img_Pos[2].Picture() == window->Img_Opt[1].Picture());
  Click(window->Img_Kabe[0]);
  EXPECT_EQ(state.G_Kabe, 0);
  Click(window->lbl_Pos[1]);  // disabled now
  EXPECT_EQ(state.G_Pos, 2);
}

TEST_F(WiredMainWindow, ListPreviewOpensThePreviewWindowWithTheWindowsPointer) {
  test::ClickEntry(window->List_Kabe, 0);
  HCURSOR shownCursor = nullptr;
  {
    test::PreviewClicker clicker({POINT{512, 384}});
    Click(window->lbl_Cmd[3]);  // "壁紙ﾌﾟﾚﾋﾞｭｰ" of the list
    ASSERT_TRUE(clicker.Clicked());
    ASSERT_EQ(clicker.Seen().size(), 1u);
    EXPECT_EQ(clicker.Seen()[0], RGB(0, 160, 0));  // the 40 x 30 picture, centred
    shownCursor = clicker.Cursor();
  }
  EXPECT_EQ(shownCursor, window->MouseIcon());
  EXPECT_EQ(state.Kabe_File, picture);
  EXPECT_TRUE(IsWindowEnabled(window->hwnd()));
}

TEST_F(WiredMainWindow, DroppedLongNamesWidenTheScrollExtent) {
  const int before = window->List_Kabe.HorizontalExtent();
  test::DropOn(window->List_Kabe.hwnd(), {folder.File(std::string(200, 'w') + ".bmp")});
  EXPECT_GT(window->List_Kabe.HorizontalExtent(), before);
}

// Closes the first visible window of the class this thread shows, once it is there.
class WindowCloser {
 public:
  explicit WindowCloser(const wchar_t* className) : className_(className) {
    instance_ = this;
    timer_ = SetTimer(nullptr, 0, 100, &WindowCloser::Tick);
  }
  WindowCloser(const WindowCloser&) = delete;
  WindowCloser& operator=(const WindowCloser&) = delete;
  ~WindowCloser() {
    KillTimer(nullptr, timer_);
    instance_ = nullptr;
  }
  bool Closed() const { return closed_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!instance_ || instance_->closed_) return;
    HWND found = FindWindowW(instance_->className_, nullptr);
    if (!found || !IsWindowVisible(found)) return;
    instance_->closed_ = true;
    PostMessageW(found, WM_CLOSE, 0, 0);
  }

  static inline WindowCloser* instance_ = nullptr;
  const wchar_t* className_;
  UINT_PTR timer_ = 0;
  bool closed_ = false;
};

TEST_F(WiredMainWindow, CreateOpensTheTableEditorModally) {
  ASSERT_EQ(state.G_Kabe, 2);
  state.Kabe_File = "left over";
  {
    WindowCloser closer(L"Quelm_Rask_S");
    Click(window->lbl_Cmd[2]);  // "壁紙作成"
    EXPECT_TRUE(closer.Closed());
  }
  EXPECT_EQ(state.Kabe_File, "");
  EXPECT_TRUE(window->Loaded());
  EXPECT_TRUE(IsWindowEnabled(window->hwnd()));
}

}  // namespace
}  // namespace qr
