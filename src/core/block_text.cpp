// Reading and writing a spreadsheet's block of cells on the clipboard.
#include "core/block_text.h"

#include <algorithm>
#include <limits>

#include "core/cp932.h"

namespace qr {

namespace {

constexpr size_t kAll = std::numeric_limits<size_t>::max();

bool IsLineBreak(char ch) { return ch == '\r' || ch == '\n'; }

// Length of the line break at `pos`: CR LF counts as one.
size_t LineBreakLength(std::string_view text, size_t pos) {
  return text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
}

// Appends a quoted cell's text from just after its opening quote to `cell`, while `cell` is shorter than
// `keepBytes`; `pos` ends after the closing quote.
void ReadQuoted(std::string_view text, size_t& pos, std::string& cell, size_t keepBytes) {
  while (pos < text.size()) {
    const char ch = text[pos];
    size_t step = 1;
    char kept = ch;
    if (ch == '"') {
      if (pos + 1 >= text.size() || text[pos + 1] != '"') {
        ++pos;
        return;
      }
      step = 2;
    } else if (IsLineBreak(ch)) {
      kept = ' ';
      step = LineBreakLength(text, pos);
    }
    if (cell.size() < keepBytes) cell += kept;
    pos += step;
  }
}

bool NeedsQuotes(const std::string& cell) {
  return !cell.empty() && (cell.front() == '"' || cell.find_first_of("\t\"\r\n") != std::string::npos);
}

}  // namespace

bool IsCellBlock(std::string_view text) { return text.find_first_of("\t\r\n") != std::string_view::npos; }

CellBlock ParseCellBlock(std::string_view text) {
  return ParseCellBlock(text, BlockLimits{kAll, kAll, kAll}).block;
}

// Cells go to the block while they fit; the others are only counted, so a huge clipboard text costs no
// more memory than the table it fills.
BoundedBlock ParseCellBlock(std::string_view text, const BlockLimits& limits) {
  BoundedBlock result;
  std::vector<std::string> row;
  std::string cell;
  size_t rowCount = 0;
  size_t cellsInRow = 0;
  const auto endCell = [&] {
    if (rowCount < limits.maxRows && cellsInRow < limits.maxCols) {
      if (CutCellText(cell, limits.maxCellChars)) ++result.cut;
      row.push_back(std::move(cell));
    } else {
      ++result.dropped;
    }
    cell.clear();
    ++cellsInRow;
  };
  const auto endRow = [&] {
    if (rowCount < limits.maxRows) result.block.push_back(std::move(row));
    row.clear();
    ++rowCount;
    cellsInRow = 0;
  };
  // A dropped cell is read but not kept; a kept one only to a little past its bound (UTF-8 takes at
  // most 4 bytes a character), enough to cut it and know that it was cut.
  const auto keepBytes = [&]() -> size_t {
    if (rowCount >= limits.maxRows || cellsInRow >= limits.maxCols) return 0;
    return limits.maxCellChars > kAll / 4 - 1 ? kAll : limits.maxCellChars * 4 + 4;
  };
  size_t pos = 0;
  bool cellStart = true;
  while (pos < text.size()) {
    const char ch = text[pos];
    if (cellStart && ch == '"') {
      ++pos;
      ReadQuoted(text, pos, cell, keepBytes());
      cellStart = false;
      continue;
    }
    cellStart = false;
    if (ch == '\t') {
      endCell();
      cellStart = true;
      ++pos;
    } else if (IsLineBreak(ch)) {
      endCell();
      endRow();
      cellStart = true;
      pos += LineBreakLength(text, pos);
    } else {
      if (cell.size() < keepBytes()) cell += ch;
      ++pos;
    }
  }
  // Text after the last line break is one more row; nothing after it is no row.
  if (!cellStart || cellsInRow > 0) {
    endCell();
    endRow();
  }
  return result;
}

bool CutCellText(std::string& text, size_t maxChars) {
  size_t chars = 0;
  for (size_t pos = 0; pos < text.size(); ++chars) {
    if (chars == maxChars) {
      text.resize(pos);
      return true;
    }
    const size_t length = Utf8CharLength(text, pos);
    pos += length == 0 ? 1 : length;
  }
  return false;
}

std::string FormatCellBlock(const CellBlock& block) {
  std::string text;
  for (const std::vector<std::string>& row : block) {
    for (size_t col = 0; col < row.size(); ++col) {
      if (col > 0) text += '\t';
      const std::string& cell = row[col];
      if (!NeedsQuotes(cell)) {
        text += cell;
        continue;
      }
      text += '"';
      for (char ch : cell) text += ch == '"' ? std::string("\"\"") : std::string(1, ch);
      text += '"';
    }
    text += "\r\n";
  }
  return text;
}

BlockFit FitCellBlock(const CellBlock& block, int startRow, int startCol, int rows, int cols, int maxRows,
                      int maxCols) {
  BlockFit fit{rows, cols, 0};
  for (size_t r = 0; r < block.size(); ++r) {
    const int row = startRow + static_cast<int>(r);
    for (size_t c = 0; c < block[r].size(); ++c) {
      const int col = startCol + static_cast<int>(c);
      if (row > maxRows || col > maxCols) {
        ++fit.dropped;
        continue;
      }
      fit.rows = std::max(fit.rows, row);
      fit.cols = std::max(fit.cols, col);
    }
  }
  return fit;
}

}  // namespace qr
