// `Run_Command`: each of the eight commands reaches its action; other indexes do nothing; the preview
// commands open the real preview window when no hook replaces it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/list_file.h"
#include "main_window/dispatch_test_host.h"
#include "preview/preview_clicker.h"
#include "shared/helpers.h"
#include "support/dialog_driver.h"
#include "support/temp_folder.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/image.h"
#include "win32/surface.h"

namespace qr {
namespace {

using test::MainHost;
using test::TempFolder;

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) files.push_back(folder.Write(name, "x"));
    folder.Write("Quelm_Rask.rdm", EncodeListFile(files));
    host.list.Load_List();
    host.windows.showPreview = [this] { opened.push_back("preview " + host.state.Kabe_File); };
    host.windows.showEditor = [this] { opened.push_back("editor " + host.state.Kabe_File); };
    host.choice.Select_Kabe(1);
    chosen = folder.File("chosen.jpg");  // a real picture: the commands decode it before they use it
    ASSERT_TRUE(win::WriteJpegFile(win::Surface(8, 8, RGB(1, 2, 3)), chosen));
    host.choice.SetChosenFile(chosen);
  }

  TempFolder folder;
  std::vector<std::string> files;
  std::string chosen;
  MainHost host{folder.path()};
  std::vector<std::string> opened;
};

TEST_F(Dispatch, IndexesOutsideTheEightCommandsDoNothing) {
  test::DialogDriver driver(std::chrono::milliseconds(500));  // any dialog would be a failure
  host.List_Kabe.SetListIndex(0);
  for (int index : {-1, 8, 9, 100, -32768}) host.Command(index);
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(host.list.Entries(), files);
  EXPECT_EQ(host.lbl_Path.Caption(), chosen);
  EXPECT_EQ(host.ListCommands(), "11111");
  EXPECT_TRUE(driver.Seen().empty());
}

TEST_F(Dispatch, EachCommandRunsItsOwnAction) {
  test::DialogDriver driver;
  driver.Press(IDCANCEL);  // 0: the browse dialog
  host.Command(0);
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_EQ(driver.Seen().at(0).title, "ﾌｧｲﾙの参照");

  host.Command(1);
  host.Command(2);
  host.List_Kabe.SetListIndex(3);
  host.Command(3);
  EXPECT_EQ(opened,
            (std::vector<std::string>{"preview " + chosen, "editor " + chosen, "preview " + files[3]}));

  host.Command(4);  // removes d.bmp
  EXPECT_EQ(host.list.Entries(), (std::vector<std::string>{files[0], files[1], files[2]}));

  host.List_Kabe.SetListIndex(2);
  driver.Press(IDNO);  // 6: the question, answered No
  host.Command(6);
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_EQ(driver.Seen().at(1).text, "ﾌｧｲﾙを削除しますか？\r" + files[2]);
  EXPECT_TRUE(File_Exists(files[2]));

  host.Command(5);
  EXPECT_EQ(host.List_Kabe.ListCount(), 0);
  EXPECT_EQ(driver.Seen().size(), 2u);
}

TEST_F(Dispatch, PreviewCommandsOpenThePreviewWindowUntilItIsClicked) {
  host.windows.showPreview = nullptr;  // the real preview window
  host.Show();
  const std::string picture = folder.File("red.bmp");
  ASSERT_TRUE(win::WriteBitmapFile(win::Surface(100, 80, RGB(220, 0, 0)), picture));
  host.choice.SetChosenFile(picture);
  host.state.G_Pos = 0;
  {
    test::PreviewClicker clicker({POINT{512, 384}, POINT{5, 5}});
    host.Command(1);
    ASSERT_TRUE(clicker.Clicked());
    EXPECT_FALSE(IsWindow(clicker.Preview()));
    ASSERT_EQ(clicker.Seen().size(), 2u);
    EXPECT_EQ(clicker.Seen()[0], RGB(220, 0, 0));
    EXPECT_EQ(clicker.Seen()[1], GetSysColor(COLOR_BACKGROUND));
  }
  host.list.Add_If_Absent(picture);
  host.List_Kabe.SetListIndex(4);
  {
    test::PreviewClicker clicker;
    host.Command(3);
    EXPECT_TRUE(clicker.Clicked());
  }
  EXPECT_EQ(host.state.Kabe_File, picture);
  EXPECT_TRUE(IsWindowEnabled(host.hwnd()));  // the main window takes input again
}

}  // namespace
}  // namespace qr
