#pragma once
// `Run_Command`: the action of each of the main window's eight command labels, run when the pressed label
// is released (after its face has been repainted).
#include "main_window/background_choice.h"
#include "main_window/wallpaper_list.h"

namespace qr {

// 0 browse, 1 preview the chosen file, 2 create a wallpaper, 3 preview the list entry, 4 remove it from
// the list, 5 clear the list, 6 delete its file, 7 make it the wallpaper. Any other index does nothing.
void Run_Command(int index, BackgroundChoice& choice, WallpaperList& list);

}  // namespace qr
