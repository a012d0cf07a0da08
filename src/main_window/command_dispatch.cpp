// `Run_Command`: the action of each of the main window's eight command labels.
#include "main_window/command_dispatch.h"

namespace qr {

void Run_Command(int index, BackgroundChoice& choice, WallpaperList& list) {
  switch (index) {
    case 0:
      choice.Browse_Kabe_File();
      break;
    case 1:
      choice.Preview_Chosen_File();
      break;
    case 2:
      choice.OpenEditor();
      break;
    case 3:
      list.Preview_Entry();
      break;
    case 4:
      list.Remove_Entry();
      break;
    case 5:
      list.Clear_List();
      break;
    case 6:
      list.Delete_File();
      break;
    case 7:
      list.Change_Wallpaper();
      break;
    default:
      break;
  }
}

}  // namespace qr
