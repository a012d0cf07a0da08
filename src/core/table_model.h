#pragma once
// The table: 34 rows x 5 columns of cells with text, font and colours. The editor's cell text boxes show
// and edit it; the font chooser, the colour command, the canvas and the data files all go through it.
#include <array>
#include <cstdint>
#include <string>

#include "core/app_state.h"

namespace qr {

struct CellFont {
  std::string name = "ＭＳ Ｐゴシック";  // UTF-8
  double size = 9.0;                     // points
  bool bold = false;
  bool italic = false;
  bool operator==(const CellFont&) const = default;
};

struct Cell {
  std::string text;  // UTF-8, one line
  CellFont font;
  uint32_t foreColor = 0x00000000;  // 0x00BBGGRR, or 0x80000000 + n for system colour n
  uint32_t backColor = 0x00FFFFFF;
  bool operator==(const Cell&) const = default;
};

class TableModel {
 public:
  // Rows 1..34, columns 1..5, as the program numbers them. Out-of-range indexes are clamped by the
  // caller's contract: use Valid() first where the index comes from outside.
  static bool Valid(int row, int col) { return row >= 1 && row <= kMaxRows && col >= 1 && col <= kMaxCols; }
  Cell& At(int row, int col) { return cells_[Index(row, col)]; }
  const Cell& At(int row, int col) const { return cells_[Index(row, col)]; }

  // The full layout's reset: every cell gets `font`, black text on white; texts stay.
  void ResetStyles(const CellFont& font);

 private:
  static size_t Index(int row, int col) { return static_cast<size_t>((row - 1) * kMaxCols + (col - 1)); }
  std::array<Cell, kMaxRows * kMaxCols> cells_{};

 public:
  bool operator==(const TableModel&) const = default;
};

}  // namespace qr
