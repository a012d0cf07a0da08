// The editor's block commands: a spreadsheet block pasted into the cells, the visible table copied as
// one, and the one level of undo for changes that replace much of the table at once; and the key that
// creates the wallpaper from anywhere in the editor.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/block_text.h"
#include "table_editor/editor_window.h"
#include "win32/clipboard.h"
#include "win32/message_box.h"

namespace qr {

// Ctrl+Enter is "壁紙貼り付け" wherever the focus is. "ｷｬﾝｾﾙ" is Alt+F4, the window's own close path;
// Esc stays without effect, so that no stray key throws the table away.
bool Quelm_Rask_S::CommandKey(const forms::KeyEvent& e) {
  const int modifiers = e.shift & (forms::kCtrlKey | forms::kAltKey | forms::kShiftKey);
  if (e.keyCode != VK_RETURN || modifiers != forms::kCtrlKey) return false;
  RunHook(hooks_.create);
  return true;
}

bool Quelm_Rask_S::TableKey(const forms::KeyEvent& e, int row, int col) {
  const bool ctrl = (e.shift & (forms::kCtrlKey | forms::kAltKey)) == forms::kCtrlKey;
  const bool shift = (e.shift & forms::kShiftKey) != 0;
  if (!ctrl) return false;
  if (e.keyCode == 'C' && shift) {
    win::SetClipboardText(hwnd(), VisibleTableText());
    return true;
  }
  if (e.keyCode == 'Z' && !shift) return Undo();  // without a block change, the cell's own undo
  if (e.keyCode != 'V' || shift || row == 0) return false;
  const std::optional<std::string> text = win::ClipboardText(hwnd());
  if (!text) return false;
  std::string oneCell = IsCellBlock(*text) ? std::string() : *text;
  if (!IsCellBlock(*text) && !CutCellText(oneCell)) return false;  // one cell's text: the cell pastes it
  // A block, or one cell's text too long for a cell: pasted as a block, cut, with the message.
  PasteBlock(row, col, *text);
  return true;
}

// ---- Block paste, copy and undo

void Quelm_Rask_S::RememberForUndo() {
  undo_ = TableSnapshot{model_, state_.G_Rows, state_.G_Cols, state_.G_Cols_w};
}

bool Quelm_Rask_S::Undo() {
  if (!undo_) return false;
  const auto [focusRow, focusCol] = CellOf(GetFocus());
  const TableSnapshot snapshot = std::move(*undo_);
  undo_.reset();
  state_.G_Cols_w = snapshot.widths;
  state_.G_Rows = snapshot.rows;
  state_.G_Cols = snapshot.cols;
  HideSliders();
  Build_Grid();
  for (int row = 1; row <= kMaxRows; ++row) {
    for (int col = 1; col <= kMaxCols; ++col) SetCell(row, col, snapshot.model.At(row, col));
  }
  Focus_Cell(focusRow, focusCol);
  return true;
}

void Quelm_Rask_S::ResizeKeepingStyles(int16_t rows, int16_t cols) {
  if (rows == state_.G_Rows && cols == state_.G_Cols) return;
  const TableModel styles = model_;
  state_.G_Rows = rows;
  state_.G_Cols = cols;
  HideSliders();
  Build_Grid();
  model_ = styles;
  ApplyAllCellStyles();
}

void Quelm_Rask_S::PasteBlock(int row, int col, const std::string& text) {
  if (!TableModel::Valid(row, col)) return;
  const BlockLimits limits{static_cast<size_t>(kMaxRows - row + 1), static_cast<size_t>(kMaxCols - col + 1)};
  const BoundedBlock parsed = ParseCellBlock(text, limits);
  const CellBlock& block = parsed.block;
  const BlockFit fit = FitCellBlock(block, row, col, state_.G_Rows, state_.G_Cols, kMaxRows, kMaxCols);
  RememberForUndo();
  ResizeKeepingStyles(static_cast<int16_t>(fit.rows), static_cast<int16_t>(fit.cols));
  for (size_t r = 0; r < block.size(); ++r) {
    for (size_t c = 0; c < block[r].size(); ++c)
      SetCellText(row + static_cast<int>(r), col + static_cast<int>(c), block[r][c]);
  }
  Focus_Cell(row, col);  // the new layout hid every cell for a moment, the focused one too
  const std::string message =
      FormatPasteMessage(parsed.dropped + static_cast<size_t>(fit.dropped), parsed.cut);
  if (!message.empty()) win::ShowMessage(hwnd(), message, win::kWarningStyle);
}

std::string Quelm_Rask_S::VisibleTableText() const {
  CellBlock block;
  for (int row = 1; row <= std::clamp<int>(state_.G_Rows, 0, kMaxRows); ++row) {
    std::vector<std::string>& cells = block.emplace_back();
    for (int col = 1; col <= std::clamp<int>(state_.G_Cols, 0, kMaxCols); ++col)
      cells.push_back(model_.At(row, col).text);
  }
  return FormatCellBlock(block);
}

std::string FormatDroppedCellsMessage(int dropped) {
  return FormatDroppedCellsMessage(static_cast<size_t>(dropped));
}

std::string FormatDroppedCellsMessage(size_t dropped) {
  return "表に入りきらない " + std::to_string(dropped) + " 個のｾﾙは貼り付けませんでした！";
}

std::string FormatCutCellsMessage(size_t cut) {
  return std::to_string(cut) + " 個のｾﾙは長すぎるため、先頭の " + std::to_string(kMaxCellChars) +
         " 文字だけを取り込みました！";
}

std::string FormatPasteMessage(size_t dropped, size_t cut) {
  std::string text = dropped > 0 ? FormatDroppedCellsMessage(dropped) : std::string();
  if (cut > 0) {
    if (!text.empty()) text += '\n';
    text += FormatCutCellsMessage(cut);
  }
  return text;
}

}  // namespace qr
