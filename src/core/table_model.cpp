// The table model: cells with their text, font and colours.
#include "core/table_model.h"

namespace qr {

void TableModel::ResetStyles(const CellFont& font) {
  for (Cell& cell : cells_) {
    cell.font = font;
    cell.foreColor = 0x00000000;
    cell.backColor = 0x00FFFFFF;
  }
}

}  // namespace qr
