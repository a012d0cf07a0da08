// The editor's background-colour command.
#include "font_colour/back_colour_command.h"

#include "core/app_state.h"
#include "core/table_model.h"
#include "font_colour/colour_chooser.h"

namespace qr {

namespace {

void SetCellBackColour(Quelm_Rask_S& editor, int row, int col, COLORREF colour) {
  editor.Model().At(row, col).backColor = colour;
  editor.ApplyCellStyle(row, col);
}

}  // namespace

void Set_Back_Colour(Quelm_Rask_S& editor, ColourChooser& colours) {
  const Color_Result result = colours.Show_Color_Dialog(editor.hwnd(), kCentreOverOwner);
  if (result.Canceled) return;
  const AppState& state = editor.State();
  if (state.Common == 1) {
    editor.RememberForUndo();
    for (int row = 1; row <= kMaxRows; ++row) {
      for (int col = 1; col <= kMaxCols; ++col) SetCellBackColour(editor, row, col, result.Value);
    }
    return;
  }
  editor.ForgetUndo();
  if (TableModel::Valid(state.Cur_Row, state.Cur_Col))
    SetCellBackColour(editor, state.Cur_Row, state.Cur_Col, result.Value);
}

EditorHooks::Command BackColourHook(ColourChooser& colours) {
  return [&colours](Quelm_Rask_S& editor) { Set_Back_Colour(editor, colours); };
}

}  // namespace qr
