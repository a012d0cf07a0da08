#pragma once
// The table data file ".qlm": a headerless sequence of 2236-byte records, record n holding table row n
// with all five columns. Integers little-endian; texts in code page 932, blank padded, no terminators.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/table_model.h"

namespace qr {

inline constexpr size_t kTableRecordSize = 2236;
inline constexpr size_t kCellTextBytes = 400;
inline constexpr size_t kFontNameBytes = 30;

// Field offsets within a record; arrays hold column 1 first.
namespace table_record {
inline constexpr size_t kCols = 4;           // int16
inline constexpr size_t kColsW = 6;          // 5 x int16
inline constexpr size_t kCellText = 16;      // 5 x 400 bytes
inline constexpr size_t kFontName = 2016;    // 5 x 30 bytes
inline constexpr size_t kFontSize = 2166;    // 5 x int16, whole points
inline constexpr size_t kFontBold = 2176;    // 5 x int16, -1 true, 0 false
inline constexpr size_t kFontItalic = 2186;  // 5 x int16, -1 true, 0 false
inline constexpr size_t kForeColor = 2196;   // 5 x int32
inline constexpr size_t kBackColor = 2216;   // 5 x int32
}  // namespace table_record

using ColumnWidths = std::array<int16_t, kMaxCols + 1>;  // element 0 unused, as in AppState::G_Cols_w
using TableRow = std::array<Cell, kMaxCols>;             // column 1 first

// The file of `rows` rows (each record also carries `cols` and `widths`). Texts longer than 400 bytes
// and font names longer than 30 are cut without splitting a double-byte character; font sizes are
// rounded to whole points, halves to even.
std::string EncodeTableFile(const TableModel& table, int16_t rows, int16_t cols, const ColumnWidths& widths);

// How many cells of the first `rows` rows (all five columns, as the file stores them) hold a text or a
// font name with characters that code page 932 cannot keep: EncodeTableFile stores those as '?'.
int CellsOutsideCp932(const TableModel& table, int16_t rows);

struct DecodedTable {
  int16_t rows = 0;  // 1..34
  int16_t cols = 0;  // 1..5
  ColumnWidths widths{};
  std::vector<TableRow> cells;  // `rows` rows
};

// The table in a file's bytes, or nothing when it holds no whole record. Dimensions come from record 1.
// A file the program did not write is brought into range: only its first 34 records count, columns are
// kept within 1..5, widths within 0..400, and a font size of 0 or less or above 999 points becomes the
// default size. Texts and font names lose their trailing blanks; invalid bytes read as U+FFFD.
std::optional<DecodedTable> DecodeTableFile(std::string_view bytes);

}  // namespace qr
