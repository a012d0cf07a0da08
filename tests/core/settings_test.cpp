#include "core/settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace qr {
namespace {

// A store in memory that records every read and write in order.
class RecordingStore : public KeyStore {
 public:
  std::map<std::string, std::string> values;  // keys of section "Section"
  std::vector<std::string> reads;
  std::vector<std::pair<std::string, std::string>> writes;

  std::string Read(std::string_view section, std::string_view key) override {
    reads.emplace_back(key);
    if (section != "Section") return {};
    const auto it = values.find(std::string(key));
    return it == values.end() ? std::string() : it->second;
  }
  void Write(std::string_view section, std::string_view key, std::string_view value) override {
    EXPECT_EQ(section, "Section");
    writes.emplace_back(key, value);
  }
};

const FileExistsFn kNothingExists = [](const std::string&) { return false; };

AppState StateWithProgramFolder() {
  AppState state;
  state.Program_Folder = "C:\\Tools\\QR";
  return state;
}

TEST(ProgramFolder, FolderOfTheExecutableKeepsOnlyADriveRootSeparator) {
  EXPECT_EQ(ProgramFolderOf("C:\\Quelm_Rask.exe"), "C:\\");
  EXPECT_EQ(ProgramFolderOf("C:\\a\\b.exe"), "C:\\a");
  EXPECT_EQ(ProgramFolderOf("C:\\ツール\\壁紙\\Quelm_Rask.exe"), "C:\\ツール\\壁紙");
  EXPECT_EQ(ProgramFolderOf("\\\\server\\share\\q.exe"), "\\\\server\\share");
}

TEST(ProgramFolder, FileNameJoinedWithOneSeparatorEvenAtADriveRoot) {
  EXPECT_EQ(FileInProgramFolder("C:\\a", "Quelm_Rask.ini"), "C:\\a\\Quelm_Rask.ini");
  EXPECT_EQ(FileInProgramFolder("C:\\", "Quelm_Rask.ini"), "C:\\\\Quelm_Rask.ini");
}

TEST(LoadMainSettings, MissingKeysGiveTheDefaults) {
  RecordingStore store;
  AppState state = StateWithProgramFolder();
  state.G_Kabe = 0;
  state.G_Pos = 2;
  state.Get_File_Path = state.Get_Data_Path = state.Get_Kabe_Path = "D:\\old";
  state.Chosen_File = "D:\\old.bmp";
  Load_Main_Settings(store, state, kNothingExists);
  EXPECT_EQ(state.G_Kabe, 2);
  EXPECT_EQ(state.G_Pos, 0);
  EXPECT_EQ(state.Chosen_File, "");
  EXPECT_EQ(state.Get_File_Path, "C:\\Tools\\QR");
  EXPECT_EQ(state.Get_Data_Path, "C:\\Tools\\QR");
  EXPECT_EQ(state.Get_Kabe_Path, "C:\\Tools\\QR");
  EXPECT_EQ(store.reads, (std::vector<std::string>{"G_Kabe", "Get_File_Path", "G_Kabe_File", "G_Pos",
                                                   "Get_Data_Path", "Get_Kabe_Path"}));
}

TEST(LoadMainSettings, StoredValuesAreTakenAsTheyAre) {
  RecordingStore store;
  store.values = {{"G_Kabe", " 1"}, {"Get_File_Path", "D:\\写真"}, {"G_Kabe_File", "D:\\写真\\海.jpg"},
                  {"G_Pos", " 7"},  {"Get_Data_Path", "E:\\data"}, {"Get_Kabe_Path", "F:\\"}};
  std::vector<std::string> asked;
  AppState state = StateWithProgramFolder();
  Load_Main_Settings(store, state, [&](const std::string& path) {
    asked.push_back(path);
    return true;
  });
  EXPECT_EQ(state.G_Kabe, 1);
  EXPECT_EQ(state.G_Pos, 7);  // not validated: the main window copes with unknown placements
  EXPECT_EQ(state.Get_File_Path, "D:\\写真");
  EXPECT_EQ(state.Chosen_File, "D:\\写真\\海.jpg");
  EXPECT_EQ(asked, std::vector<std::string>{"D:\\写真\\海.jpg"});
  EXPECT_EQ(state.Get_Data_Path, "E:\\data");
  EXPECT_EQ(state.Get_Kabe_Path, "F:\\");
}

TEST(LoadMainSettings, ChosenFileThatNoLongerExistsComesUpEmpty) {
  RecordingStore store;
  store.values = {{"G_Kabe_File", "D:\\gone.bmp"}};
  AppState state = StateWithProgramFolder();
  state.Chosen_File = "D:\\before.bmp";
  Load_Main_Settings(store, state, kNothingExists);
  EXPECT_EQ(state.Chosen_File, "");
}

TEST(LoadMainSettings, MalformedNumberStopsAtThatKey) {
  RecordingStore store;
  store.values = {{"G_Kabe", " 0"}, {"Get_File_Path", "D:\\a"}, {"G_Pos", "x"}, {"Get_Data_Path", "D:\\b"}};
  AppState state = StateWithProgramFolder();
  state.G_Pos = 2;
  state.Get_Data_Path = "keep data";
  state.Get_Kabe_Path = "keep kabe";
  Load_Main_Settings(store, state, kNothingExists);
  EXPECT_EQ(state.G_Kabe, 0);
  EXPECT_EQ(state.Get_File_Path, "D:\\a");
  EXPECT_EQ(state.G_Pos, 2);
  EXPECT_EQ(state.Get_Data_Path, "keep data");
  EXPECT_EQ(state.Get_Kabe_Path, "keep kabe");
}

TEST(LoadMainSettings, NumberBeyondSixteenBitsStopsBeforeEverything) {
  RecordingStore store;
  store.values = {{"G_Kabe", "40000"}, {"Get_File_Path", "D:\\a"}, {"G_Kabe_File", "D:\\a\\x.bmp"}};
  AppState state = StateWithProgramFolder();
  state.G_Kabe = 1;
  state.Get_File_Path = "keep";
  state.Chosen_File = "keep.bmp";
  Load_Main_Settings(store, state, [](const std::string&) { return true; });
  EXPECT_EQ(state.G_Kabe, 1);
  EXPECT_EQ(state.Get_File_Path, "keep");
  EXPECT_EQ(state.Chosen_File, "keep.bmp");
}

TEST(SaveMainSettings, WritesTheSixKeysInOrderWithNumberForms) {
  RecordingStore store;
  AppState state;
  state.G_Kabe = 1;
  state.G_Pos = 2;
  state.Get_File_Path = "D:\\写真";
  state.Chosen_File = "";
  state.Get_Data_Path = "E:\\data";
  state.Get_Kabe_Path = "C:\\";
  Save_Main_Settings(store, state);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Get_File_Path", "D:\\写真"}, {"G_Kabe", " 1"},         {"G_Kabe_File", ""}, {"G_Pos", " 2"},
      {"Get_Data_Path", "E:\\data"}, {"Get_Kabe_Path", "C:\\"}};
  EXPECT_EQ(store.writes, expected);
}

TEST(LoadEditorSettings, MissingKeysGiveTheDefaults) {
  RecordingStore store;
  AppState state;
  state.G_Cols_w = {0, 1, 2, 3, 4, 5};
  state.G_Rows = 3;
  state.G_Cols = 4;
  state.G_Left = state.G_Top = 100;
  state.Trans = state.Common = 1;
  Load_Editor_Settings(store, state);
  EXPECT_EQ(state.G_Cols_w, (std::array<int16_t, 6>{0, 80, 80, 80, 80, 80}));
  EXPECT_EQ(state.G_Rows, 10);
  EXPECT_EQ(state.G_Cols, 2);
  EXPECT_EQ(state.G_Left, -1);
  EXPECT_EQ(state.G_Top, -1);
  EXPECT_EQ(state.Trans, 0);
  EXPECT_EQ(state.Common, 0);
  EXPECT_EQ(store.reads, (std::vector<std::string>{"G_Cols_w1", "G_Cols_w2", "G_Cols_w3", "G_Cols_w4",
                                                   "G_Cols_w5", "G_Rows", "G_Cols", "G_Left", "G_Top",
                                                   "Trans", "Common", "Text_Effect", "Panel_Alpha"}));
}

TEST(LoadEditorSettings, StoredValuesAreRead) {
  RecordingStore store;
  store.values = {{"G_Cols_w1", " 120"}, {"G_Cols_w5", " 0"}, {"G_Rows", " 34"}, {"G_Cols", " 5"},
                  {"G_Left", " 1234.5"}, {"G_Top", "-1"},     {"Trans", " 1"},   {"Common", " 1"}};
  AppState state;
  Load_Editor_Settings(store, state);
  EXPECT_EQ(state.G_Cols_w, (std::array<int16_t, 6>{0, 120, 80, 80, 80, 0}));
  EXPECT_EQ(state.G_Rows, 34);
  EXPECT_EQ(state.G_Cols, 5);
  EXPECT_EQ(state.G_Left, 1234);
  EXPECT_EQ(state.G_Top, -1);
  EXPECT_EQ(state.Trans, 1);
  EXPECT_EQ(state.Common, 1);
}

// At program start a bad key leaves it and the later keys at the documented defaults: zeros would give
// an editor without rows or columns and dialogs without a folder.
TEST(LoadEditorSettings, BadFirstKeyLeavesEveryKeyAtItsDefault) {
  RecordingStore store;
  store.values = {{"G_Cols_w1", "wide"}, {"G_Cols_w2", " 150"}, {"G_Rows", " 20"}, {"G_Cols", " 4"},
                  {"G_Left", " 300"},    {"G_Top", " 400"},     {"Trans", " 1"},   {"Common", " 1"}};
  AppState state;
  Load_Editor_Settings(store, state);
  EXPECT_EQ(state.G_Cols_w, (std::array<int16_t, 6>{0, 80, 80, 80, 80, 80}));
  EXPECT_EQ(state.G_Rows, 10);
  EXPECT_EQ(state.G_Cols, 2);
  EXPECT_EQ(state.G_Left, -1);
  EXPECT_EQ(state.G_Top, -1);
  EXPECT_EQ(state.Trans, 0);
  EXPECT_EQ(state.Common, 0);
}

TEST(LoadMainSettings, BadFirstKeyLeavesEveryKeyAtItsDefault) {
  RecordingStore store;
  store.values = {{"G_Kabe", "1.2.3"}, {"Get_File_Path", "D:\\a"}, {"G_Kabe_File", "D:\\a\\x.bmp"},
                  {"G_Pos", " 1"},     {"Get_Data_Path", "D:\\b"}, {"Get_Kabe_Path", "D:\\c"}};
  AppState state = StateWithProgramFolder();
  Load_Main_Settings(store, state, [](const std::string&) { return true; });
  EXPECT_EQ(state.G_Kabe, 2);
  EXPECT_EQ(state.G_Pos, 0);
  EXPECT_EQ(state.Chosen_File, "");
  EXPECT_EQ(state.Get_File_Path, "C:\\Tools\\QR");
  EXPECT_EQ(state.Get_Data_Path, "C:\\Tools\\QR");
  EXPECT_EQ(state.Get_Kabe_Path, "C:\\Tools\\QR");
}

TEST(LoadMainSettings, NumberTooSmallForADoubleReadsAsZeroAndTheRestFollows) {
  RecordingStore store;
  store.values = {{"G_Kabe", "1e-325"}, {"G_Pos", " 1"}, {"Get_Kabe_Path", "D:\\c"}};
  AppState state = StateWithProgramFolder();
  Load_Main_Settings(store, state, kNothingExists);
  EXPECT_EQ(state.G_Kabe, 0);
  EXPECT_EQ(state.G_Pos, 1);
  EXPECT_EQ(state.Get_Kabe_Path, "D:\\c");
}

// A window right of or below 2184 pixels has a position beyond 16 bits of twips.
TEST(LoadEditorSettings, PositionsBeyondSixteenBitsAreReadWithTheKeysAfterThem) {
  RecordingStore store;
  store.values = {
      {"G_Rows", " 5"}, {"G_Left", " 40000"}, {"G_Top", " 70000.5"}, {"Trans", " 1"}, {"Common", " 1"}};
  AppState state;
  Load_Editor_Settings(store, state);
  EXPECT_EQ(state.G_Rows, 5);
  EXPECT_EQ(state.G_Left, 40000);
  EXPECT_EQ(state.G_Top, 70000);
  EXPECT_EQ(state.Trans, 1);
  EXPECT_EQ(state.Common, 1);
}

TEST(LoadEditorSettings, PositionBeyondThirtyTwoBitsStopsThere) {
  RecordingStore store;
  store.values = {{"G_Left", " 3000000000"}, {"G_Top", " 300"}, {"Trans", " 1"}};
  AppState state;
  state.G_Left = 600;
  state.G_Top = 700;
  Load_Editor_Settings(store, state);
  EXPECT_EQ(state.G_Left, 600);
  EXPECT_EQ(state.G_Top, 700);
  EXPECT_EQ(state.Trans, 0);
}

TEST(LoadEditorSettings, TableDimensionsAreBroughtIntoTheEditorsRange) {
  RecordingStore store;
  store.values = {{"G_Cols_w1", "-5"}, {"G_Cols_w2", " 500"}, {"G_Rows", " 50"}, {"G_Cols", " 0"}};
  AppState state;
  Load_Editor_Settings(store, state);
  EXPECT_EQ(state.G_Cols_w[1], 0);
  EXPECT_EQ(state.G_Cols_w[2], 400);
  EXPECT_EQ(state.G_Rows, 34);
  EXPECT_EQ(state.G_Cols, 1);
  store.values = {{"G_Rows", "-3"}, {"G_Cols", " 9"}};
  Load_Editor_Settings(store, state);
  EXPECT_EQ(state.G_Rows, 1);
  EXPECT_EQ(state.G_Cols, 5);
}

TEST(SaveEditorSettings, WritesTheThirteenKeysInOrderWithTheWindowPositionAsItStands) {
  RecordingStore store;
  AppState state;
  state.G_Cols_w = {0, 80, 120, 0, 400, 80};
  state.G_Rows = 34;
  state.G_Cols = 3;
  state.Trans = 1;
  state.Common = 0;
  Save_Editor_Settings(store, state, 1234.5, -1);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"G_Cols_w1", " 80"},  {"G_Cols_w2", " 120"}, {"G_Cols_w3", " 0"}, {"G_Cols_w4", " 400"},
      {"G_Cols_w5", " 80"},  {"G_Rows", " 34"},     {"G_Cols", " 3"},    {"G_Left", " 1234.5"},
      {"G_Top", "-1"},       {"Trans", " 1"},       {"Common", " 0"},    {"Text_Effect", " 0"},
      {"Panel_Alpha", " 50"}};
  EXPECT_EQ(store.writes, expected);
}

TEST(EditorSettings, WhatIsSavedIsReadBack) {
  RecordingStore store;
  AppState saved;
  saved.G_Cols_w = {0, 10, 20, 30, 40, 50};
  saved.G_Rows = 7;
  saved.G_Cols = 4;
  saved.Trans = 1;
  Save_Editor_Settings(store, saved, 2400, 1800);
  for (const auto& [key, value] : store.writes) store.values[key] = value;
  AppState loaded;
  Load_Editor_Settings(store, loaded);
  EXPECT_EQ(loaded.G_Cols_w, saved.G_Cols_w);
  EXPECT_EQ(loaded.G_Rows, 7);
  EXPECT_EQ(loaded.G_Cols, 4);
  EXPECT_EQ(loaded.G_Left, 2400);
  EXPECT_EQ(loaded.G_Top, 1800);
  EXPECT_EQ(loaded.Trans, 1);
  EXPECT_EQ(loaded.Common, 0);
}

TEST(EditorSettings, TheTextEffectRoundTripsAndHostileValuesGiveNoEffectAndHalfOpacity) {
  RecordingStore store;
  AppState saved;
  saved.Text_Effect = 3;
  saved.Panel_Alpha = 75;
  Save_Editor_Settings(store, saved, 0, 0);
  for (const auto& [key, value] : store.writes) store.values[key] = value;
  AppState loaded;
  Load_Editor_Settings(store, loaded);
  EXPECT_EQ(loaded.Text_Effect, 3);
  EXPECT_EQ(loaded.Panel_Alpha, 75);

  // An older file has neither key; a hand-edited one anything at all, even after a key that stops the
  // reader. None of it may leave the effect of an earlier opening in place.
  const std::vector<std::pair<std::string, std::string>> hostile = {
      {"", ""}, {" 4", " 100"}, {"-1", " 0"}, {"1.5e9", "fifty"}, {" 2x", " 49"}, {"99999", " 25.7"}};
  for (const auto& [effect, alpha] : hostile) {
    SCOPED_TRACE(effect + " / " + alpha);
    store.values = {{"G_Rows", "many"}, {"Text_Effect", effect}, {"Panel_Alpha", alpha}};
    loaded.Text_Effect = 2;
    loaded.Panel_Alpha = 75;
    Load_Editor_Settings(store, loaded);
    EXPECT_EQ(loaded.Text_Effect, 0);
    EXPECT_EQ(loaded.Panel_Alpha, alpha == " 25.7" ? 25 : 50);  // numbers are read by their integer part
  }
  store.values = {{"G_Rows", "many"}, {"Text_Effect", " 1"}, {"Panel_Alpha", "25"}};
  Load_Editor_Settings(store, loaded);
  EXPECT_EQ(loaded.Text_Effect, 1);
  EXPECT_EQ(loaded.Panel_Alpha, 25);
}

// Twips are pixels times a factor that need not be whole; what was written must not read back one off.
TEST(EditorSettings, FractionalPositionsReadBackWithTheirIntegerPart) {
  RecordingStore store;
  AppState saved;
  saved.Common = 1;
  Save_Editor_Settings(store, saved, 32767.999999999996, 4000 * (1440.0 / 168));
  for (const auto& [key, value] : store.writes) store.values[key] = value;
  AppState loaded;
  Load_Editor_Settings(store, loaded);
  EXPECT_EQ(loaded.G_Left, 32767);
  EXPECT_EQ(loaded.G_Top, static_cast<int32_t>(std::floor(4000 * (1440.0 / 168))));
  EXPECT_EQ(loaded.Common, 1);
}

}  // namespace
}  // namespace qr
