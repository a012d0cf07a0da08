#pragma once
// The program-wide values that the windows share: written by their owner, read by the others.
// One object, created by the program's entry and handed to every window.
#include <array>
#include <cstdint>
#include <string>

namespace qr {

inline constexpr int kMaxRows = 34;
inline constexpr int kMaxCols = 5;
inline constexpr int kMaxColWidth = 400;  // pixels, the reach of the editor's width sliders

struct AppState {
  // Background choice of the main window.
  int16_t G_Kabe = 2;       // 0 current wallpaper, 1 image file, 2 desktop colour only
  int16_t G_Pos = 0;        // 0 centred, 1 tiled, 2 full screen
  std::string Kabe_File;    // image the canvas and the preview place
  std::string Chosen_File;  // the file shown in the main window's path field (empty = none)

  // Table dimensions and options of the editor.
  int16_t G_Rows = 10;
  int16_t G_Cols = 2;
  std::array<int16_t, kMaxCols + 1> G_Cols_w{0, 80, 80, 80, 80, 80};  // element 0 unused
  int16_t Trans = 0;
  int16_t Common = 0;
  int16_t Text_Effect = 0;   // transparent cells' text: 0 none, 1 outline, 2 shadow, 3 translucent panel
  int16_t Panel_Alpha = 50;  // the panel's opacity, percent: 25, 50 or 75
  int16_t Cur_Row = 1;
  int16_t Cur_Col = 1;
  int32_t G_Left = -1;  // twips, -1 = centre the editor; beyond 16 bits right of or below 2184 pixels
  int32_t G_Top = -1;

  // Remembered folders (UTF-8); the program folder until the settings say otherwise.
  std::string Get_File_Path;
  std::string Get_Data_Path;
  std::string Get_Kabe_Path;

  // The folder of the executable: no trailing separator except at a drive root ("C:\").
  std::string Program_Folder;
  // The folder of the settings file and the wallpaper list: Program_Folder when it is writable, else
  // the user's own (chosen once at start-up, shared/data_folder.h). Empty: not chosen, Program_Folder.
  std::string Data_Folder;
};

// Where the settings file and the wallpaper list are read and written.
inline const std::string& DataFolder(const AppState& state) {
  return state.Data_Folder.empty() ? state.Program_Folder : state.Data_Folder;
}

}  // namespace qr
