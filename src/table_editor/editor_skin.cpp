// The editor's skin images.
#include "table_editor/editor_skin.h"

#include "shared/skin.h"

namespace qr {

EditorSkin EditorSkinWith(const Skin& shared) {
  EditorSkin editorSkin;
  editorSkin.Img_On = shared.Img_On;
  editorSkin.Img_Off = shared.Img_Off;
  editorSkin.cursor = shared.cursor;
  editorSkin.Img_Ra = {skin::Picture(IDB_IMG_RA0), skin::Picture(IDB_IMG_RA1)};
  const int toolbar[] = {IDB_SS_LOAD, IDB_SS_SAVE, IDB_SS_PREVIEW, IDB_SS_BACK_COLOUR, IDB_SS_FONT};
  for (int i = 2; i <= 6; ++i) editorSkin.toolbar[static_cast<size_t>(i)] = skin::Picture(toolbar[i - 2]);
  const int rowsAndColumns[] = {IDB_YA_ADD_ROW, IDB_YA_REMOVE_ROW, IDB_YA_REMOVE_COL, IDB_YA_ADD_COL};
  for (size_t i = 0; i < editorSkin.rowsAndColumns.size(); ++i)
    editorSkin.rowsAndColumns[i] = skin::Picture(rowsAndColumns[i]);
  return editorSkin;
}

}  // namespace qr
