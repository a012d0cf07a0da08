#pragma once
// The editor's pictures: the program's shared Skin and the editor's own resources.
#include <windows.h>

#include <array>

#include "forms/picture.h"
#include "shared/skin.h"

namespace qr {

struct EditorSkin {
  forms::Picture Img_On;                 // pressed button face
  forms::Picture Img_Off;                // released button face
  std::array<forms::Picture, 2> Img_Ra;  // option box: 0 empty, 1 ticked
  // The toolbar's command pictures `Img_SS`(2..6): load, save, preview, background colour, font.
  // Elements 0 and 1 are not used.
  std::array<forms::Picture, 7> toolbar;
  // The pictures of the row and column buttons `Cmd_Ya`(0..3): add row, remove row, remove column,
  // add column.
  std::array<forms::Picture, 4> rowsAndColumns;
  HCURSOR cursor = nullptr;  // the main window's mouse cursor; owned by the main window
};

// The editor's own pictures (option boxes, toolbar and row and column icons) from the program's
// resources, with the faces and the pointer of the shared skin.
EditorSkin EditorSkinWith(const Skin& shared);

}  // namespace qr
