// Spreadsheet blocks: tab-separated text pasted into and copied out of the table.
#include "core/block_text.h"

#include <algorithm>

namespace qr {

namespace {

bool IsLineBreak(char ch) { return ch == '\r' || ch == '\n'; }

// Length of the line break at `pos`: CR LF counts as one.
size_t LineBreakLength(std::string_view text, size_t pos) {
  return text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
}

// A quoted cell's text from just after its opening quote; `pos` ends after the closing quote.
std::string ReadQuoted(std::string_view text, size_t& pos) {
  std::string cell;
  while (pos < text.size()) {
    const char ch = text[pos];
    if (ch == '"') {
      if (pos + 1 < text.size() && text[pos + 1] == '"') {
        cell += '"';
        pos += 2;
        continue;
      }
      ++pos;
      break;
    }
    if (IsLineBreak(ch)) {
      cell += ' ';
      pos += LineBreakLength(text, pos);
      continue;
    }
    cell += ch;
    ++pos;
  }
  return cell;
}

bool NeedsQuotes(const std::string& cell) {
  return !cell.empty() && (cell.front() == '"' || cell.find_first_of("\t\"\r\n") != std::string::npos);
}

}  // namespace

bool IsCellBlock(std::string_view text) { return text.find_first_of("\t\r\n") != std::string_view::npos; }

CellBlock ParseCellBlock(std::string_view text) {
  CellBlock block;
  std::vector<std::string> row;
  std::string cell;
  size_t pos = 0;
  bool cellStart = true;
  while (pos < text.size()) {
    const char ch = text[pos];
    if (cellStart && ch == '"') {
      ++pos;
      cell += ReadQuoted(text, pos);
      cellStart = false;
      continue;
    }
    cellStart = false;
    if (ch == '\t') {
      row.push_back(std::move(cell));
      cell.clear();
      cellStart = true;
      ++pos;
    } else if (IsLineBreak(ch)) {
      row.push_back(std::move(cell));
      cell.clear();
      block.push_back(std::move(row));
      row.clear();
      cellStart = true;
      pos += LineBreakLength(text, pos);
    } else {
      cell += ch;
      ++pos;
    }
  }
  // Text after the last line break is one more row; nothing after it is no row.
  if (!cellStart || !row.empty()) {
    row.push_back(std::move(cell));
    block.push_back(std::move(row));
  }
  return block;
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
