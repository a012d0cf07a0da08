// The settings routines over the real settings file.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/cp932.h"
#include "core/settings.h"
#include "shared/helpers.h"
#include "shared/profile_store.h"
#include "support/dialog_driver.h"
#include "support/small_disk.h"
#include "support/temp_folder.h"
#include "support/write_faults.h"
#include "win32/files.h"
#include "win32/text.h"

namespace qr {
namespace {

class SettingsFile : public ::testing::Test {
 protected:
  SettingsFile() : store_(FileInProgramFolder(folder_.path(), kSettingsFileName)) {
    fresh_.Program_Folder = folder_.path();
  }

  // The state at program start, before any settings are read.
  AppState Blank() const {
    AppState state;
    state.Program_Folder = folder_.path();
    state.G_Kabe = state.G_Pos = 0;
    state.G_Rows = state.G_Cols = state.G_Left = state.G_Top = 0;
    state.G_Cols_w.fill(0);
    return state;
  }

  std::string FileText() const { return DecodeCp932(win::ReadFileBytes(store_.path()).value_or("")); }

  test::TempFolder folder_;
  ProfileKeyStore store_;
  AppState fresh_;
};

TEST_F(SettingsFile, MissingFileGivesEveryDefault) {
  AppState state = Blank();
  Load_Main_Settings(store_, state, File_Exists);
  EXPECT_EQ(state.G_Kabe, 2);
  EXPECT_EQ(state.G_Pos, 0);
  EXPECT_EQ(state.Chosen_File, "");
  EXPECT_EQ(state.Get_File_Path, folder_.path());
  EXPECT_EQ(state.Get_Data_Path, folder_.path());
  EXPECT_EQ(state.Get_Kabe_Path, folder_.path());

  Load_Editor_Settings(store_, state);
  for (int col = 1; col <= kMaxCols; ++col) EXPECT_EQ(state.G_Cols_w[col], 80);
  EXPECT_EQ(state.G_Rows, 10);
  EXPECT_EQ(state.G_Cols, 2);
  EXPECT_EQ(state.G_Left, -1);
  EXPECT_EQ(state.G_Top, -1);
  EXPECT_EQ(state.Trans, 0);
  EXPECT_EQ(state.Common, 0);
  EXPECT_EQ(win::ReadFileBytes(store_.path()), std::nullopt);
}

TEST_F(SettingsFile, MainSettingsRoundTripInTheirOrder) {
  const std::string picture = folder_.Write("海の写真.jpg", "x");
  AppState saved = fresh_;
  saved.G_Kabe = 1;
  saved.G_Pos = 2;
  saved.Chosen_File = picture;
  saved.Get_File_Path = "C:\\画像";
  saved.Get_Data_Path = "D:\\ﾃﾞｰﾀ";
  saved.Get_Kabe_Path = "C:";
  Save_Main_Settings(store_, saved);

  AppState loaded = Blank();
  Load_Main_Settings(store_, loaded, File_Exists);
  EXPECT_EQ(loaded.G_Kabe, 1);
  EXPECT_EQ(loaded.G_Pos, 2);
  EXPECT_EQ(loaded.Chosen_File, picture);
  EXPECT_EQ(loaded.Get_File_Path, "C:\\画像");
  EXPECT_EQ(loaded.Get_Data_Path, "D:\\ﾃﾞｰﾀ");
  EXPECT_EQ(loaded.Get_Kabe_Path, "C:");

  // The keys stand in the order written. (Wine stores "G_Kabe=1" where Windows keeps "G_Kabe= 1".)
  const std::string text = FileText();
  size_t last = text.find("[Section]");
  ASSERT_NE(last, std::string::npos);
  for (const char* key :
       {"Get_File_Path=", "G_Kabe=", "G_Kabe_File=", "G_Pos=", "Get_Data_Path=", "Get_Kabe_Path="}) {
    const size_t at = text.find(std::string("\n") + key, last);
    ASSERT_NE(at, std::string::npos) << key;
    last = at;
  }
}

TEST_F(SettingsFile, ChosenFileThatIsGoneComesBackEmpty) {
  AppState saved = fresh_;
  saved.Chosen_File = folder_.Write("消える.bmp", "x");
  Save_Main_Settings(store_, saved);
  ASSERT_TRUE(win::DeletePath(saved.Chosen_File));
  AppState loaded = Blank();
  loaded.Chosen_File = "before";
  Load_Main_Settings(store_, loaded, File_Exists);
  EXPECT_EQ(loaded.Chosen_File, "");
  EXPECT_EQ(loaded.G_Pos, 0);  // the keys after it are still read
}

TEST_F(SettingsFile, EditorSettingsRoundTripWithFractionalPositions) {
  AppState saved = fresh_;
  saved.G_Cols_w = {0, 10, 0, 400, 123, 80};
  saved.G_Rows = 34;
  saved.G_Cols = 5;
  saved.Trans = 1;
  saved.Common = 1;
  Save_Editor_Settings(store_, saved, 1234.5, -1.5);

  AppState loaded = Blank();
  Load_Editor_Settings(store_, loaded);
  EXPECT_EQ(loaded.G_Cols_w, saved.G_Cols_w);
  EXPECT_EQ(loaded.G_Rows, 34);
  EXPECT_EQ(loaded.G_Cols, 5);
  EXPECT_EQ(loaded.G_Left, 1234);  // the integer part, rounded toward minus infinity
  EXPECT_EQ(loaded.G_Top, -2);
  EXPECT_EQ(loaded.Trans, 1);
  EXPECT_EQ(loaded.Common, 1);
}

TEST_F(SettingsFile, BadNumberStopsItsReaderAtThatKey) {
  store_.Write(kSettingsSection, "G_Kabe", " 0");
  store_.Write(kSettingsSection, "Get_File_Path", "C:\\pics");
  store_.Write(kSettingsSection, "G_Pos", "abc");
  store_.Write(kSettingsSection, "Get_Data_Path", "C:\\data");
  AppState main = Blank();
  main.G_Pos = 7;
  Load_Main_Settings(store_, main, File_Exists);
  EXPECT_EQ(main.G_Kabe, 0);
  EXPECT_EQ(main.Get_File_Path, "C:\\pics");
  EXPECT_EQ(main.G_Pos, 7);                       // kept
  EXPECT_EQ(main.Get_Data_Path, folder_.path());  // not read: a folder never remembered is the program's
  EXPECT_EQ(main.Get_Kabe_Path, folder_.path());

  store_.Write(kSettingsSection, "G_Cols_w1", " 50");
  store_.Write(kSettingsSection, "G_Cols_w2", " 99999");  // does not fit 16 bits
  store_.Write(kSettingsSection, "G_Cols_w3", " 60");
  store_.Write(kSettingsSection, "Common", " 1");
  AppState editor = fresh_;
  editor.G_Cols_w.fill(33);
  editor.Common = 0;
  Load_Editor_Settings(store_, editor);
  EXPECT_EQ(editor.G_Cols_w[1], 50);
  EXPECT_EQ(editor.G_Cols_w[2], 33);
  EXPECT_EQ(editor.G_Cols_w[3], 33);
  EXPECT_EQ(editor.Common, 0);
}

TEST_F(SettingsFile, ProgramFolderAtADriveRootUsesTheDoubledSeparator) {
  EXPECT_EQ(FileInProgramFolder("C:\\", kSettingsFileName), "C:\\\\Quelm_Rask.ini");
  // The same doubled form one level down reaches the same file.
  ProfileKeyStore doubled(FileInProgramFolder(folder_.path() + "\\", kSettingsFileName));
  AppState saved = fresh_;
  saved.G_Kabe = 0;
  Save_Main_Settings(doubled, saved);
  AppState loaded = Blank();
  Load_Main_Settings(store_, loaded, File_Exists);
  EXPECT_EQ(loaded.G_Kabe, 0);
  EXPECT_EQ(loaded.Get_Kabe_Path, folder_.path());  // saved empty: the default
}

// Every way a settings write can fail leaves the previous file byte for byte, no copy beside it, and
// says nothing (a failing settings write is silent).
class SettingsWriteFaults : public ::testing::TestWithParam<test::WriteFault> {};

TEST_P(SettingsWriteFaults, PreviousFileStaysAsItWasWithNothingLeftBeside) {
  test::FaultScene scene(GetParam());
  if (scene.Skipped()) GTEST_SKIP() << scene.SkipReason();
  const std::string previous = "[Section]\r\nG_Kabe=1\r\nGet_File_Path=C:\\pictures\r\nG_Pos=2\r\n";
  const std::string ini = scene.File("Quelm_Rask.ini");
  scene.Put("Quelm_Rask.ini", previous);
  const std::vector<std::string> before = scene.Files();
  ASSERT_TRUE(scene.Arm(ini));

  test::DialogDriver driver(std::chrono::milliseconds(500));
  ProfileKeyStore store(ini);
  AppState state;
  state.G_Kabe = 0;
  state.Get_File_Path = "D:\\elsewhere";
  Save_Main_Settings(store, state);
  Save_Editor_Settings(store, state, 1234.5, -1);
  scene.Disarm();

  EXPECT_EQ(scene.Files(), before);
  if (GetParam() != test::WriteFault::FolderMissing) {
    EXPECT_EQ(win::ReadFileBytes(ini), previous);
  }
  EXPECT_TRUE(driver.Seen().empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, SettingsWriteFaults, test::kAllWriteFaults, test::WriteFaultName);

TEST_F(SettingsFile, HandEditedFileWithCommentsAndOddSpacingStillTakesWrites) {
  folder_.Write("Quelm_Rask.ini",
                "; written by hand: G_Kabe=0 means...\r\n[section]\r\n  g_kabe =  1 \r\nOther=x\r\n");
  AppState saved = fresh_;
  saved.G_Pos = 2;
  Save_Main_Settings(store_, saved);
  EXPECT_EQ(store_.Read("Section", "G_Pos"), "2");
  EXPECT_EQ(store_.Read("Section", "Other"), "x");
}

// The system's writer reports success for a file the full disk cut short; such a copy never replaces
// the settings file.
TEST(SettingsWriteOnAFullDisk, ACopyCutShortIsNotTaken) {
  test::SmallDisk disk;
  if (!disk.ok()) GTEST_SKIP() << test::SmallDisk::kMissing;
  std::string previous = "[Section]\r\n";
  for (int i = 0; i < 100; ++i)
    previous += "Key" + std::to_string(i) + "=value " + std::to_string(i) + "\r\n";
  const std::string ini = disk.File("Quelm_Rask.ini");
  ASSERT_TRUE(win::ReplaceFileContents(ini, previous));
  ASSERT_TRUE(disk.Fill(4096));  // room for the copy, not for the copy with a long value added

  ProfileKeyStore store(ini);
  store.Write("Section", "Long", std::string(6000, 'x'));
  EXPECT_EQ(win::ReadFileBytes(ini), previous);
  EXPECT_EQ(store.Read("Section", "Key99"), "value 99");
  EXPECT_EQ(store.Read("Section", "Long"), "");
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(win::Wide(disk.folder() + "\\*.tmp~").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a copy was left behind";
  if (search != INVALID_HANDLE_VALUE) FindClose(search);

  store.Write("Section", "Short", "1");  // a write that fits still goes in
  EXPECT_EQ(store.Read("Section", "Short"), "1");
  EXPECT_EQ(store.Read("Section", "Key0"), "value 0");
}

}  // namespace
}  // namespace qr
