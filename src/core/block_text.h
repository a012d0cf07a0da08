#pragma once
// A block of cells as spreadsheets put it on the clipboard: rows ended by line breaks, cells separated
// by tabs, a cell holding a tab, a quote or a line break written in double quotes with its quotes
// doubled.
#include <string>
#include <string_view>
#include <vector>

namespace qr {

using CellBlock = std::vector<std::vector<std::string>>;  // rows of cells, UTF-8

// The most characters a cell takes from a file or the clipboard: far more than a table file stores
// (400 bytes), few enough that a text box draws them at once.
inline constexpr size_t kMaxCellChars = 4096;

// Cuts UTF-8 text after `maxChars` characters (never inside one); true when it cut.
bool CutCellText(std::string& text, size_t maxChars = kMaxCellChars);

// True when the text holds a tab or a line break: a block, not one cell's text.
bool IsCellBlock(std::string_view text);

// The rows and cells of clipboard text. A line break ends a row (CR LF, LF or CR); the line break that
// ends the last row adds no empty row. A cell that starts with a double quote is quoted: it runs to the
// next quote that is not doubled, doubled quotes stand for one, and tabs and line breaks inside belong
// to it; text after the closing quote up to the next tab or line break is kept. A line break inside a
// cell becomes one space, since a cell holds one line.
CellBlock ParseCellBlock(std::string_view text);

// The part of a block that a table can take, parsed without building the rest: at most `maxRows` rows of
// `maxCols` cells, each cut after `maxCellChars` characters. The cells beyond are counted, not kept.
struct BlockLimits {
  size_t maxRows = 0;
  size_t maxCols = 0;
  size_t maxCellChars = kMaxCellChars;
};
struct BoundedBlock {
  CellBlock block;
  size_t dropped = 0;  // cells outside maxRows x maxCols
  size_t cut = 0;      // cells kept but cut
};
BoundedBlock ParseCellBlock(std::string_view text, const BlockLimits& limits);

// The block as a spreadsheet reads it: cells separated by tabs, each row ended by CR LF; a cell that
// holds a tab, a quote or a line break, or starts with a quote, goes in quotes with its quotes doubled.
std::string FormatCellBlock(const CellBlock& block);

// Where a block pasted at (startRow, startCol) of a table of `rows` x `cols` in use goes: the table
// grows to take it, up to maxRows x maxCols, and the cells beyond those are dropped.
struct BlockFit {
  int rows = 0;  // the table's rows and columns in use afterwards
  int cols = 0;
  int dropped = 0;  // cells of the block outside the largest table
};
BlockFit FitCellBlock(const CellBlock& block, int startRow, int startCol, int rows, int cols, int maxRows,
                      int maxCols);

}  // namespace qr
