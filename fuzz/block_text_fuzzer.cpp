// Spreadsheet blocks: a grid written as clipboard text reads back as the grid (a line break inside a
// cell as one blank), and the parse bounded to a table keeps exactly what fits, counts the rest, and
// never keeps a cell longer than its bound.
#include <algorithm>
#include <string>
#include <vector>

#include "core/block_text.h"
#include "fuzz_check.h"

using namespace qr;

namespace {

// The grid the input spells: 0x01 ends a cell, 0x02 a row; cells are never all empty rows.
CellBlock GridOf(std::string_view bytes) {
  CellBlock grid(1, std::vector<std::string>(1));
  for (const char ch : bytes) {
    if (ch == '\x01') {
      grid.back().emplace_back();
    } else if (ch == '\x02') {
      grid.push_back(std::vector<std::string>(1));
    } else {
      grid.back().back() += ch;
    }
  }
  return grid;
}

// What a cell becomes on the way: each line break (CR LF as one) one blank.
std::string AsOneLine(const std::string& cell) {
  std::string line;
  for (size_t i = 0; i < cell.size(); ++i) {
    if (cell[i] == '\r' && i + 1 < cell.size() && cell[i + 1] == '\n') ++i;
    line += cell[i] == '\r' || cell[i] == '\n' ? ' ' : cell[i];
  }
  return line;
}

void CheckRoundTrip(std::string_view bytes) {
  const CellBlock grid = GridOf(bytes);
  CellBlock expected = grid;
  for (std::vector<std::string>& row : expected)
    for (std::string& cell : row) cell = AsOneLine(cell);
  FUZZ_CHECK(ParseCellBlock(FormatCellBlock(grid)) == expected);
}

void CheckBound(std::string_view text, const BlockLimits& limits) {
  const CellBlock all = ParseCellBlock(text);
  const BoundedBlock bounded = ParseCellBlock(text, limits);
  FUZZ_CHECK(bounded.block.size() == std::min(all.size(), limits.maxRows));
  size_t dropped = 0;
  size_t cut = 0;
  for (size_t r = 0; r < all.size(); ++r) {
    const size_t kept = r < limits.maxRows ? std::min(all[r].size(), limits.maxCols) : 0;
    dropped += all[r].size() - kept;
    if (r >= limits.maxRows) continue;
    FUZZ_CHECK(bounded.block[r].size() == kept);
    for (size_t c = 0; c < kept; ++c) {
      std::string expected = all[r][c];
      cut += CutCellText(expected, limits.maxCellChars) ? 1 : 0;
      FUZZ_CHECK(bounded.block[r][c] == expected);
    }
  }
  FUZZ_CHECK(bounded.dropped == dropped);
  FUZZ_CHECK(bounded.cut == cut);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  CheckRoundTrip(bytes);
  if (bytes.size() < 3) return 0;
  // The first three bytes choose the bound; the rest is clipboard text.
  const BlockLimits limits{static_cast<size_t>(bytes[0] & 0x3F), static_cast<size_t>(bytes[1] & 0x07),
                           static_cast<size_t>(static_cast<unsigned char>(bytes[2]))};
  CheckBound(bytes.substr(3), limits);
  return 0;
}
