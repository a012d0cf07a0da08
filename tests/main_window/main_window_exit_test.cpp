// The main window's three exits: what each writes to the settings and list files, and in what order.
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core/cp932.h"
#include "core/list_file.h"
#include "core/settings.h"
#include "main_window_fixture.h"
#include "shared/helpers.h"
#include "shared/record_paths.h"
#include "support/dialog_driver.h"
#include "win32/files.h"
#include "win32/text.h"

namespace qr {
namespace {

using test::Click;
using test::MainWindow;

// The lines of the settings file as "key=value", section lines left out.
std::vector<std::string> IniLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() != '[') lines.push_back(line);
  }
  return lines;
}

TEST_F(MainWindow, ExitWritesTheSixMainKeysInOrder) {
  const std::string chosen = folder_.Write("写真.jpg", "x");
  Quelm_Rask_M& w = Start();
  state_.G_Kabe = 1;
  state_.G_Pos = 2;
  w.lbl_Path.SetCaption(chosen);
  state_.Get_File_Path = folder_.path() + "\\画像";
  state_.Get_Data_Path = "C:\\";
  state_.Get_Kabe_Path = folder_.path();

  // Pressed on "終了" and released outside it.
  SendMessageW(w.Pic_B.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(350, 420));
  EXPECT_TRUE(w.Img_End.Picture() == w.Img_On.Picture());
  EXPECT_FALSE(win::ReadFileBytes(IniPath())) << "nothing written on the press";
  SendMessageW(w.Pic_B.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_FALSE(w.Loaded());
  EXPECT_EQ(ended_, 1);

  const std::vector<std::string> lines = IniLines(IniText());
  ASSERT_EQ(lines.size(), 6u) << IniText();
  const char* keys[6] = {"Get_File_Path", "G_Kabe", "G_Kabe_File", "G_Pos", "Get_Data_Path", "Get_Kabe_Path"};
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(lines[i].substr(0, lines[i].find('=')), keys[i]);
  // Numbers go out as " 1"; Wine's profile writer drops that leading blank, Windows keeps it.
  EXPECT_TRUE(std::regex_match(lines[1], std::regex("G_Kabe= ?1"))) << lines[1];
  EXPECT_TRUE(std::regex_match(lines[3], std::regex("G_Pos= ?2"))) << lines[3];
  EXPECT_EQ(DecodeCp932(lines[2]), "G_Kabe_File=" + chosen) << "Shift-JIS in the file";
  EXPECT_EQ(DecodeCp932(lines[0]), "Get_File_Path=" + folder_.path() + "\\画像");
  EXPECT_EQ(lines[4], "Get_Data_Path=C:\\");

  // And the next start reads them back.
  AppState next;
  next.Program_Folder = folder_.path();
  state_ = next;
  Quelm_Rask_M& again = Start();
  EXPECT_EQ(state_.G_Kabe, 1);
  EXPECT_EQ(state_.G_Pos, 2);
  EXPECT_EQ(again.lbl_Path.Caption(), chosen);
  EXPECT_EQ(state_.Get_File_Path, folder_.path() + "\\画像");
  EXPECT_EQ(state_.Get_Data_Path, "C:\\");
}

TEST_F(MainWindow, CancelAndCloseMarkAndSystemCloseWriteNoSettings) {
  const std::string ini = "[Section]\r\nG_Kabe=1\r\n";
  folder_.Write("Quelm_Rask.ini", ini);
  {
    Quelm_Rask_M& w = Start();
    state_.G_Kabe = 0;  // changed since the start
    Click(w.lbl_Can);
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(ended_, 1);
    EXPECT_EQ(IniText(), ini);
  }
  {
    Quelm_Rask_M& w = Start();
    EXPECT_EQ(state_.G_Kabe, 1) << "the next start shows the mode saved before";
    state_.G_Kabe = 2;
    SendMessageW(w.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(525, 8));
    EXPECT_TRUE(w.ImgExit.Picture() == w.imgImages[1].Picture()) << "pressed close mark";
    EXPECT_EQ(w.ImgExit.Width(), 16);
    SendMessageW(w.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(300, 300));
    EXPECT_TRUE(w.ImgExit.Picture() == w.imgImages[0].Picture());
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(ended_, 2);
    EXPECT_EQ(IniText(), ini);
  }
  {
    Quelm_Rask_M& w = Start();
    state_.G_Pos = 1;
    SendMessageW(w.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(ended_, 3);
    EXPECT_EQ(IniText(), ini);
  }
}

std::string ListPath(const std::string& folder) { return folder + "\\Quelm_Rask.rdm"; }

TEST_F(MainWindow, SessionEndWritesTheListAndNoSettings) {
  const std::string ini = "[Section]\r\nG_Kabe=1\r\n";
  folder_.Write("Quelm_Rask.ini", ini);
  const std::string picture = folder_.Write("壁紙.bmp", "BM");
  Quelm_Rask_M& w = Start();
  state_.G_Kabe = 0;
  w.Wallpaper_List().Drop_Files({picture});  // added in this session

  // The end is never refused, and neither the question nor an end called off closes anything.
  EXPECT_EQ(SendMessageW(w.hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  SendMessageW(w.hwnd(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  EXPECT_TRUE(w.Loaded());
  EXPECT_EQ(win::ReadFileBytes(ListPath(folder_.path())), "");
  EXPECT_EQ(sessionEnded_, 0);

  SendMessageW(w.hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_FALSE(w.Loaded());
  EXPECT_EQ(sessionEnded_, 1);
  EXPECT_EQ(win::ReadFileBytes(ListPath(folder_.path())), EncodeListFile({picture}));
  EXPECT_EQ(IniText(), ini);
}

TEST_F(MainWindow, SessionEndWithTheEditorOpenClosesTheEditorInItsOwnWayFirst) {
  const std::string picture = folder_.Write("a.bmp", "BM");
  Quelm_Rask_M& w = Start();
  w.Wallpaper_List().Drop_Files({picture});
  const HWND main = w.hwnd();
  bool editorShown = false;
  LRESULT answer = 0;
  // Windows ends the session from outside the program: the question, then the end, to every window.
  std::thread system([&] {
    HWND editor = nullptr;
    for (int i = 0; i < 400 && !(editor && IsWindowVisible(editor)); ++i) {
      editor = FindWindowW(L"Quelm_Rask_S", nullptr);
      Sleep(25);
    }
    editorShown = editor && IsWindowVisible(editor);
    answer = SendMessageW(main, WM_QUERYENDSESSION, 0, 0);
    SendMessageW(main, WM_ENDSESSION, TRUE, 0);
  });
  w.Run_Command(2);  // "壁紙作成": the editor, modal; this returns once the session has closed it
  system.join();

  EXPECT_TRUE(editorShown);
  EXPECT_EQ(answer, TRUE);
  EXPECT_EQ(FindWindowW(L"Quelm_Rask_S", nullptr), nullptr);
  EXPECT_FALSE(w.Loaded());
  EXPECT_EQ(sessionEnded_, 1);
  EXPECT_EQ(win::ReadFileBytes(ListPath(folder_.path())), EncodeListFile({picture}));
  // The editor's close wrote its keys; the main window's keys were not written.
  std::vector<std::string> keys;
  for (const std::string& line : IniLines(IniText())) keys.push_back(line.substr(0, line.find('=')));
  EXPECT_EQ(keys, (std::vector<std::string>{"G_Cols_w1", "G_Cols_w2", "G_Cols_w3", "G_Cols_w4", "G_Cols_w5",
                                            "G_Rows", "G_Cols", "G_Left", "G_Top", "Trans", "Common",
                                            "Text_Effect", "Panel_Alpha"}));
}

TEST_F(MainWindow, ExitStoresPathsTheSettingsFileCannotHoldByTheirShortNamesOrNotAtAll) {
  const std::string chosen = folder_.Write("这个 \xF0\x9F\x98\x80.jpg", "x");
  const std::string foreignFolder = folder_.MakeFolder("这个文件夹");
  {
    Quelm_Rask_M& w = Start();
    w.lbl_Path.SetCaption(chosen);
    state_.Get_Data_Path = foreignFolder;
    Click(w.lbl_End);
  }
  AppState next;
  next.Program_Folder = folder_.path();
  state_ = next;
  Quelm_Rask_M& again = Start();
  EXPECT_EQ(again.lbl_Path.Caption(), SystemShortPath(chosen));
  EXPECT_EQ(state_.Get_Data_Path, SystemShortPath(foreignFolder));
  EXPECT_TRUE(File_Exists(again.lbl_Path.Caption()));

  // Without short names the paths are left out (the defaults come back) and the user is told.
  again.Wallpaper_List().ShortPathOf = [](const std::string& path) { return path; };
  again.lbl_Path.SetCaption(chosen);
  state_.Get_Data_Path = foreignFolder;
  test::DialogDriver driver;
  driver.Press(IDOK);
  Click(again.lbl_End);
  ASSERT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 1u);
  EXPECT_EQ(driver.Seen()[0].text, std::string(kPathNotRecordable) + "\n" + chosen + "\n" + foreignFolder);
  EXPECT_EQ(driver.Seen()[0].icon, LoadIconW(nullptr, IDI_EXCLAMATION));
  state_ = next;
  Quelm_Rask_M& third = Start();
  EXPECT_EQ(third.lbl_Path.Caption(), "");
  EXPECT_EQ(state_.Get_Data_Path, folder_.path());
}

}  // namespace
}  // namespace qr
