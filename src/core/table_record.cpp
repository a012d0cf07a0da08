// The ".qlm" table file's records encoded and decoded.
#include "core/table_record.h"

#include <algorithm>

#include "core/cp932.h"
#include "core/numeric.h"
#include "core/text_encoding.h"

namespace qr {

namespace {

namespace field = table_record;

constexpr int16_t kMaxFontSize = 999;
constexpr int16_t kTrue = -1;

size_t Column(size_t base, size_t elementSize, int col) {
  return base + elementSize * static_cast<size_t>(col - 1);
}

void PutInt16(std::string& record, size_t offset, int16_t value) {
  const auto bits = static_cast<uint16_t>(value);
  record[offset] = static_cast<char>(bits & 0xFF);
  record[offset + 1] = static_cast<char>(bits >> 8);
}

void PutUInt32(std::string& record, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) record[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutText(std::string& record, size_t offset, std::string_view utf8, size_t length) {
  record.replace(offset, length, Cp932Field(utf8, length));
}

int16_t GetInt16(std::string_view record, size_t offset) {
  const auto low = static_cast<unsigned char>(record[offset]);
  const auto high = static_cast<unsigned char>(record[offset + 1]);
  return static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
}

uint32_t GetUInt32(std::string_view record, size_t offset) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i)
    value |= static_cast<uint32_t>(static_cast<unsigned char>(record[offset + i])) << (8 * i);
  return value;
}

std::string GetText(std::string_view record, size_t offset, size_t length) {
  const std::string_view bytes = record.substr(offset, length);
  return DecodeCp932(bytes.substr(0, bytes.find_last_not_of(' ') + 1));  // 0x20 is never a second byte
}

int16_t FontSizeField(double points) { return SaturateInt16(RoundHalfEven(points)); }

std::string EncodeRecord(const TableRow& row, int16_t cols, const ColumnWidths& widths) {
  std::string record(kTableRecordSize, '\0');
  PutInt16(record, field::kCols, cols);
  for (int col = 1; col <= kMaxCols; ++col) {
    const Cell& cell = row[static_cast<size_t>(col - 1)];
    PutInt16(record, Column(field::kColsW, 2, col), widths[static_cast<size_t>(col)]);
    PutText(record, Column(field::kCellText, kCellTextBytes, col), cell.text, kCellTextBytes);
    PutText(record, Column(field::kFontName, kFontNameBytes, col), cell.font.name, kFontNameBytes);
    PutInt16(record, Column(field::kFontSize, 2, col), FontSizeField(cell.font.size));
    PutInt16(record, Column(field::kFontBold, 2, col), cell.font.bold ? kTrue : 0);
    PutInt16(record, Column(field::kFontItalic, 2, col), cell.font.italic ? kTrue : 0);
    PutUInt32(record, Column(field::kForeColor, 4, col), cell.foreColor);
    PutUInt32(record, Column(field::kBackColor, 4, col), cell.backColor);
  }
  return record;
}

Cell DecodeCell(std::string_view record, int col) {
  Cell cell;
  cell.text = GetText(record, Column(field::kCellText, kCellTextBytes, col), kCellTextBytes);
  cell.font.name = GetText(record, Column(field::kFontName, kFontNameBytes, col), kFontNameBytes);
  const int16_t size = GetInt16(record, Column(field::kFontSize, 2, col));
  if (size > 0 && size <= kMaxFontSize) cell.font.size = size;  // otherwise the default size
  cell.font.bold = GetInt16(record, Column(field::kFontBold, 2, col)) != 0;
  cell.font.italic = GetInt16(record, Column(field::kFontItalic, 2, col)) != 0;
  cell.foreColor = GetUInt32(record, Column(field::kForeColor, 4, col));
  cell.backColor = GetUInt32(record, Column(field::kBackColor, 4, col));
  return cell;
}

TableRow DecodeRow(std::string_view record) {
  TableRow row;
  for (int col = 1; col <= kMaxCols; ++col) row[static_cast<size_t>(col - 1)] = DecodeCell(record, col);
  return row;
}

}  // namespace

std::string EncodeTableFile(const TableModel& table, int16_t rows, int16_t cols, const ColumnWidths& widths) {
  const int rowCount = std::clamp<int>(rows, 0, kMaxRows);
  std::string bytes;
  bytes.reserve(static_cast<size_t>(rowCount) * kTableRecordSize);
  for (int r = 1; r <= rowCount; ++r) {
    TableRow row;
    for (int col = 1; col <= kMaxCols; ++col) row[static_cast<size_t>(col - 1)] = table.At(r, col);
    bytes += EncodeRecord(row, cols, widths);
  }
  return bytes;
}

std::optional<DecodedTable> DecodeTableFile(std::string_view bytes) {
  const size_t count = std::min<size_t>(bytes.size() / kTableRecordSize, kMaxRows);
  if (count == 0) return std::nullopt;
  DecodedTable table;
  table.rows = static_cast<int16_t>(count);
  const std::string_view first = bytes.substr(0, kTableRecordSize);
  table.cols = std::clamp<int16_t>(GetInt16(first, field::kCols), 1, kMaxCols);
  for (int col = 1; col <= kMaxCols; ++col)
    table.widths[static_cast<size_t>(col)] =
        std::clamp<int16_t>(GetInt16(first, Column(field::kColsW, 2, col)), 0, kMaxColWidth);
  table.cells.reserve(count);
  for (size_t r = 0; r < count; ++r)
    table.cells.push_back(DecodeRow(bytes.substr(r * kTableRecordSize, kTableRecordSize)));
  return table;
}

int CellsOutsideCp932(const TableModel& table, int16_t rows) {
  int count = 0;
  for (int row = 1; row <= std::min<int>(rows, kMaxRows); ++row) {
    for (int col = 1; col <= kMaxCols; ++col) {
      const Cell& cell = table.At(row, col);
      if (!FitsCp932(cell.text) || !FitsCp932(cell.font.name)) ++count;
    }
  }
  return count;
}

}  // namespace qr
