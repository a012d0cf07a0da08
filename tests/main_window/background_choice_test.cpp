// The background and placement choice: marks, enabling, the browse dialog and commands 1 and 2.
#include <windows.h>
// after windows.h
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/picture_types.h"
#include "main_window/dispatch_test_host.h"
#include "support/dialog_driver.h"
#include "support/temp_folder.h"
#include "win32/image.h"
#include "win32/image_test_pictures.h"
#include "win32/text.h"

namespace qr {
namespace {

using test::MainHost;
using test::TempFolder;

const char* const kNoFile = "壁紙ﾌｧｲﾙを指定してください！";
const char* const kMissingFile = "指定した壁紙ﾌｧｲﾙが存在しません！";

// Which of the three marks shows the "on" picture, as "010".
std::string Marks(const MainHost& host, const std::array<forms::Image, 3>& marks) {
  std::string s;
  for (const forms::Image& mark : marks) {
    if (mark.Picture() == host.Img_Opt[1].Picture()) {
      s += '1';
    } else {
      s += mark.Picture() == host.Img_Opt[0].Picture() ? '0' : '?';
    }
  }
  return s;
}

// The enabling of "参照...", the first "壁紙ﾌﾟﾚﾋﾞｭｰ", the three placement marks and labels, "壁紙作成".
std::string ChoiceEnabling(const MainHost& host) {
  std::string s;
  s += host.Enabled(0) ? '1' : '0';
  s += host.Enabled(1) ? '1' : '0';
  s += '/';
  for (size_t i = 0; i < 3; ++i) {
    const bool mark = host.Img_Pos[i].Enabled(), label = host.lbl_Pos[i].Enabled();
    s += mark != label ? '-' : (mark ? '1' : '0');
  }
  s += '/';
  s += host.Enabled(2) ? '1' : '0';
  return s;
}

// A press with the given button at a point of the option panel, by mouse messages.
void PressAt(forms::PictureBox& panel, int x, int y, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
  PostMessageW(panel.hwnd(), down, down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(panel.hwnd(), up, 0, MAKELPARAM(x, y));
  forms::DoEvents();
}

TEST(BackgroundChoice, StartUpShowsTheSavedChoiceAndItsEnabling) {
  TempFolder folder;
  MainHost host(folder.path());
  host.state.G_Kabe = 1;
  host.state.G_Pos = 2;
  host.choice.Show_Marks();
  EXPECT_EQ(Marks(host, host.Img_Kabe), "010");
  EXPECT_EQ(Marks(host, host.Img_Pos), "001");
  EXPECT_EQ(ChoiceEnabling(host), "11/111/1");

  for (int16_t mode : {0, 2}) {
    host.state.G_Kabe = mode;
    host.choice.Show_Marks();
    EXPECT_EQ(ChoiceEnabling(host), "00/000/1") << mode;
  }
  // A value from a damaged settings file: no mark is on, and the rule "neither 0 nor 2" enables.
  host.state.G_Kabe = 7;
  host.state.G_Pos = -1;
  host.choice.Show_Marks();
  EXPECT_EQ(Marks(host, host.Img_Kabe), "000");
  EXPECT_EQ(Marks(host, host.Img_Pos), "000");
  EXPECT_EQ(ChoiceEnabling(host), "11/111/1");
}

TEST(BackgroundChoice, LeavingImageFileModeGreysOutButKeepsMarksAndPath) {
  TempFolder folder;
  MainHost host(folder.path());
  host.state.G_Kabe = 1;
  host.state.G_Pos = 1;
  host.choice.Show_Marks();
  host.choice.SetChosenFile("C:\\pics\\sea.jpg");

  host.choice.Select_Kabe(0);
  EXPECT_EQ(host.state.G_Kabe, 0);
  EXPECT_EQ(Marks(host, host.Img_Kabe), "100");
  EXPECT_EQ(Marks(host, host.Img_Pos), "010");
  EXPECT_EQ(host.state.G_Pos, 1);
  EXPECT_EQ(host.lbl_Path.Caption(), "C:\\pics\\sea.jpg");
  EXPECT_EQ(ChoiceEnabling(host), "00/000/1");

  host.choice.Select_Kabe(2);
  EXPECT_EQ(Marks(host, host.Img_Kabe), "001");
  EXPECT_EQ(ChoiceEnabling(host), "00/000/1");
  host.choice.Select_Kabe(1);
  EXPECT_EQ(Marks(host, host.Img_Kabe), "010");
  EXPECT_EQ(ChoiceEnabling(host), "11/111/1");

  host.choice.Select_Kabe(3);  // no such option
  EXPECT_EQ(host.state.G_Kabe, 1);
  EXPECT_EQ(Marks(host, host.Img_Kabe), "010");
}

TEST(BackgroundChoice, PressesOnMarksAndLabelsWithAnyButtonSelect) {
  TempFolder folder;
  MainHost host(folder.path());
  host.state.G_Kabe = 2;
  host.choice.Show_Marks();

  PressAt(host.Pic_D0, 60, 44);  // on the label of mode 1
  EXPECT_EQ(host.state.G_Kabe, 1);
  PressAt(host.Pic_D0, 13, 13, WM_RBUTTONDOWN, WM_RBUTTONUP);  // on the mark of mode 2, right button
  EXPECT_EQ(host.state.G_Kabe, 2);
  EXPECT_EQ(Marks(host, host.Img_Kabe), "001");

  // Placement labels are disabled in mode 2: a press on one does nothing.
  PressAt(host.Pic_D0, 290, 52);
  EXPECT_EQ(host.state.G_Pos, 0);
  EXPECT_EQ(Marks(host, host.Img_Pos), "100");

  host.choice.Select_Kabe(1);
  PressAt(host.Pic_D0, 290, 52);  // "ﾌﾙｽｸﾘｰﾝ"
  EXPECT_EQ(host.state.G_Pos, 2);
  PressAt(host.Pic_D0, 320, 36);  // the mark of "並べて"
  EXPECT_EQ(host.state.G_Pos, 1);
  EXPECT_EQ(Marks(host, host.Img_Pos), "010");
}

TEST(BackgroundChoice, BrowseSetsThePathAndTheFolderTheNextBrowseOpensIn) {
  TempFolder folder;
  const std::string pictures = folder.MakeFolder("写真");
  MainHost host(folder.path());
  host.state.G_Kabe = 1;
  host.choice.Show_Marks();

  std::string openedIn;
  test::DialogDriver driver;
  driver.Do([&](HWND dialog) {
    wchar_t buffer[1024] = {};
    SendMessageW(dialog, CDM_GETFOLDERPATH, 1024, reinterpret_cast<LPARAM>(buffer));
    openedIn = win::Utf8(buffer);
    SetWindowTextW(GetDlgItem(dialog, cmb13), win::Wide(pictures + "\\海.jpg").c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  });
  host.Command(0);
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_EQ(driver.Seen().at(0).title, "ﾌｧｲﾙの参照");
  EXPECT_EQ(openedIn, folder.path());
  EXPECT_EQ(host.lbl_Path.Caption(), pictures + "\\海.jpg");  // accepted though it does not exist
  EXPECT_EQ(host.state.Chosen_File, pictures + "\\海.jpg");
  EXPECT_EQ(host.state.Get_File_Path, pictures);

  // Cancelled: nothing changes.
  driver.Press(IDCANCEL);
  host.Command(0);
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_EQ(host.lbl_Path.Caption(), pictures + "\\海.jpg");
  EXPECT_EQ(host.state.Get_File_Path, pictures);
}

// "参照..." keeps its first entry and offers every picture the system decodes second; a PNG is taken, a
// picture without its codec is named in a message and not taken.
TEST(BackgroundChoice, BrowseOffersTheSystemsPicturesAndRefusesOnesWithoutACodec) {
  TempFolder folder;
  MainHost host(folder.path());
  host.state.G_Kabe = 1;
  host.choice.Show_Marks();
  const std::string png = folder.Write("写真.png", "");
  ASSERT_TRUE(test::WritePngPixels(2, 1, {0xFF102030u, 0x00000000u}, png));
  const std::string heic = folder.Write("IMG_0001.HEIC",
                                        "\0\0\0\x18"
                                        "ftypheic not really");

  std::vector<std::string> filters;
  test::DialogDriver driver;
  driver.Do([&](HWND dialog) {
    HWND types = GetDlgItem(dialog, cmb1);
    for (LRESULT i = 0; i < SendMessageW(types, CB_GETCOUNT, 0, 0); ++i) {
      wchar_t text[512] = {};
      SendMessageW(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      filters.push_back(win::Utf8(text));
    }
    SetWindowTextW(GetDlgItem(dialog, cmb13), win::Wide(png).c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  });
  host.Command(0);
  ASSERT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0], "壁紙ﾌｧｲﾙ (bmp jpg)");
  EXPECT_EQ(filters[1].rfind("画像ﾌｧｲﾙ (bmp ", 0), 0u) << filters[1];
  for (const char* type : {" png", " gif", " tif"})
    EXPECT_NE(filters[1].find(type), std::string::npos) << type;
  EXPECT_EQ(host.state.Chosen_File, png);

  if (HasExtensionIn(heic, win::DecodablePictureExtensions())) GTEST_SKIP() << "this system decodes HEIC";
  driver.TypeFileNameAndOk(heic).Press(IDOK);
  host.Command(0);
  ASSERT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 3u);
  EXPECT_EQ(driver.Seen()[2].text, std::string(kMissingCodecMessage) + "\n" + heic);
  EXPECT_EQ(host.state.Chosen_File, png) << "the picture chosen before stays";
  EXPECT_EQ(host.lbl_Path.Caption(), png);
}

TEST(BackgroundChoice, FileInADriveRootGivesTheBareDrive) {
  TempFolder folder;
  MainHost host(folder.path());
  test::DialogDriver driver;
  driver.TypeFileNameAndOk("C:\\qr_no_such_root_file.bmp");
  host.choice.Browse_Kabe_File();
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_EQ(host.lbl_Path.Caption(), "C:\\qr_no_such_root_file.bmp");
  EXPECT_EQ(host.state.Get_File_Path, "C:");
}

class ChoiceCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    host.windows.showPreview = [this] { previews.push_back(host.state.Kabe_File); };
    host.windows.showEditor = [this] { editors.push_back(host.state.Kabe_File); };
    host.state.Kabe_File = "before";
  }

  void ExpectWarning(const test::SeenDialog& seen, const std::string& text) {
    EXPECT_EQ(seen.title, "Quelm_Rask");
    EXPECT_EQ(seen.text, text);
    EXPECT_EQ(seen.buttons, (std::vector<int>{IDOK}));
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_EXCLAMATION));
  }

  TempFolder folder;
  MainHost host{folder.path()};
  std::vector<std::string> previews;  // the picture each preview was opened for
  std::vector<std::string> editors;
};

TEST_F(ChoiceCommands, PreviewNeedsAChosenFileThatExists) {
  test::DialogDriver driver;
  driver.Press(IDOK);
  host.Command(1);
  ASSERT_TRUE(driver.WaitUntilDone());
  ExpectWarning(driver.Seen().at(0), kNoFile);

  host.choice.SetChosenFile(folder.File("missing.bmp"));
  driver.Press(IDOK);
  host.Command(1);
  ASSERT_TRUE(driver.WaitUntilDone());
  ExpectWarning(driver.Seen().at(1), kMissingFile);
  EXPECT_TRUE(previews.empty());
  EXPECT_EQ(host.state.Kabe_File, "before");

  const std::string picture = folder.Write("夕日.bmp", "x");
  host.choice.SetChosenFile(picture);
  host.Command(1);
  ASSERT_EQ(previews.size(), 1u);
  EXPECT_EQ(previews[0], picture);
  EXPECT_EQ(driver.Seen().size(), 2u);
}

TEST_F(ChoiceCommands, CreateInImageFileModeNeedsAFileButNotThatItExists) {
  host.choice.Select_Kabe(1);
  test::DialogDriver driver;
  driver.Press(IDOK);
  host.Command(2);
  ASSERT_TRUE(driver.WaitUntilDone());
  ExpectWarning(driver.Seen().at(0), kNoFile);
  EXPECT_TRUE(editors.empty());

  host.choice.SetChosenFile(folder.File("gone.jpg"));
  host.Command(2);
  EXPECT_EQ(editors, (std::vector<std::string>{folder.File("gone.jpg")}));
  EXPECT_EQ(host.state.Kabe_File, folder.File("gone.jpg"));
  EXPECT_TRUE(previews.empty());  // the editor opens, no preview
}

TEST_F(ChoiceCommands, CreateWithoutAFileOpensTheEditorInTheOtherModes) {
  for (int mode : {0, 2}) {
    host.choice.Select_Kabe(mode);
    host.Command(2);
  }
  EXPECT_EQ(editors, (std::vector<std::string>{"", ""}));
  EXPECT_EQ(host.state.Kabe_File, "");
}

}  // namespace
}  // namespace qr
