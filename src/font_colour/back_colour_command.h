#pragma once
// The editor's background-colour command (`Img_SS`(5)): the colour dialog over the editor, its choice
// given to the cells. The editor stays open after it.
//
//   hooks.backColour = BackColourHook(colours);  // one ColourChooser for the whole run
#include "table_editor/editor_window.h"

namespace qr {

class ColourChooser;

// The background colour: the colour dialog over the editor; a chosen colour goes to every cell, hidden
// rows and columns included, when `Common` = 1, otherwise to the current cell (`Cur_Row`, `Cur_Col`;
// none when that is not a cell). Cancelling changes nothing.
void Set_Back_Colour(Quelm_Rask_S& editor, ColourChooser& colours);
// `colours` must outlive every editor that runs the command.
EditorHooks::Command BackColourHook(ColourChooser& colours);

}  // namespace qr
