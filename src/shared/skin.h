#pragma once
// The skin compiled into the program (scripts/make-skin, src/shared/resource_ids.h): pictures by resource
// number and the program's mouse pointer, for every window; the pieces several windows share, loaded
// once at start-up; and the tiling of the background texture.
#include <windows.h>

#include "forms/picture.h"
#include "forms/picture_box.h"
#include "shared/resource_ids.h"

namespace qr {

namespace skin {

// A skin picture, e.g. skin::Picture(IDB_SS_LOAD); empty when the resource is missing.
forms::Picture Picture(int resourceId);
// The custom 32 x 32 pointer (hot spot 12, 1). Shared by the system for the program's lifetime: never
// destroy it.
HCURSOR Pointer();

}  // namespace skin

// What the main window's image store holds for the other windows. Loaded once (LoadSkin) and passed on
// by const reference; it must outlive every window given it.
struct Skin {
  forms::Picture Img_On;   // pressed button face
  forms::Picture Img_Off;  // released button face
  forms::Picture texture;  // the background tile `Pic_Mbl1`
  HCURSOR cursor = nullptr;
};
Skin LoadSkin();

// Tiles `tile` (a DC of tileW x tileH pixels) over the target's persistent image, column by column from
// the top-left corner and one tile beyond the right and bottom edges, then shows it. The texture is
// decoration: in high contrast the target shows the system's face colour instead.
void TileTexture(forms::PictureBox& target, HDC tile, int tileW, int tileH);

}  // namespace qr
