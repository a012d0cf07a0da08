#include "table_editor/editor_skin.h"

#include "app/resource_ids.h"

namespace qr {

EditorSkin EditorSkinWith(const forms::Picture& imgOn, const forms::Picture& imgOff, HCURSOR cursor) {
  EditorSkin skin;
  skin.Img_On = imgOn;
  skin.Img_Off = imgOff;
  skin.cursor = cursor;
  skin.Img_Ra = {forms::Picture::FromResource(IDB_IMG_RA0), forms::Picture::FromResource(IDB_IMG_RA1)};
  const int toolbar[] = {IDB_SS_LOAD, IDB_SS_SAVE, IDB_SS_PREVIEW, IDB_SS_BACK_COLOUR, IDB_SS_FONT};
  for (int i = 2; i <= 6; ++i)
    skin.toolbar[static_cast<size_t>(i)] = forms::Picture::FromResource(toolbar[i - 2]);
  const int rowsAndColumns[] = {IDB_YA_ADD_ROW, IDB_YA_REMOVE_ROW, IDB_YA_REMOVE_COL, IDB_YA_ADD_COL};
  for (size_t i = 0; i < skin.rowsAndColumns.size(); ++i)
    skin.rowsAndColumns[i] = forms::Picture::FromResource(rowsAndColumns[i]);
  return skin;
}

}  // namespace qr
