// The table data file ".qlm": any bytes decode to a table within the editor's ranges, and a decoded table
// encodes to a file that decodes to the same table.
#include "core/table_record.h"
#include "fuzz_check.h"

using namespace qr;

namespace {

bool SameCell(const Cell& a, const Cell& b) {
  const bool textsComparable = !fuzz::HasReplacement(a.text) && !fuzz::HasReplacement(a.font.name);
  return (!textsComparable || (a.text == b.text && a.font.name == b.font.name)) &&
         a.font.size == b.font.size && a.font.bold == b.font.bold && a.font.italic == b.font.italic &&
         a.foreColor == b.foreColor && a.backColor == b.backColor;
}

void CheckRanges(const DecodedTable& table) {
  FUZZ_CHECK(table.rows >= 1 && table.rows <= kMaxRows);
  FUZZ_CHECK(table.cols >= 1 && table.cols <= kMaxCols);
  for (int col = 1; col <= kMaxCols; ++col)
    FUZZ_CHECK(table.widths[col] >= 0 && table.widths[col] <= kMaxColWidth);
  FUZZ_CHECK(table.cells.size() == static_cast<size_t>(table.rows));
  for (const TableRow& row : table.cells)
    for (const Cell& cell : row) {
      FUZZ_CHECK(fuzz::IsUtf8(cell.text) && fuzz::IsUtf8(cell.font.name));
      FUZZ_CHECK(cell.font.size > 0 && cell.font.size <= 999);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<DecodedTable> table = DecodeTableFile(fuzz::Bytes(data, size));
  if (!table) {
    FUZZ_CHECK(size < kTableRecordSize);
    return 0;
  }
  CheckRanges(*table);
  FUZZ_CHECK(static_cast<size_t>(table->rows) == std::min<size_t>(size / kTableRecordSize, kMaxRows));

  TableModel model;
  for (int row = 1; row <= table->rows; ++row)
    for (int col = 1; col <= kMaxCols; ++col) model.At(row, col) = table->cells[row - 1][col - 1];
  const std::string written = EncodeTableFile(model, table->rows, table->cols, table->widths);
  FUZZ_CHECK(written.size() == static_cast<size_t>(table->rows) * kTableRecordSize);
  const std::optional<DecodedTable> reread = DecodeTableFile(written);
  FUZZ_CHECK(reread && reread->rows == table->rows && reread->cols == table->cols);
  FUZZ_CHECK(reread->widths == table->widths);
  for (int row = 0; row < table->rows; ++row)
    for (int col = 0; col < kMaxCols; ++col)
      FUZZ_CHECK(SameCell(table->cells[row][col], reread->cells[row][col]));
  return 0;
}
