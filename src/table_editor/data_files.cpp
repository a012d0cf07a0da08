// The editor's data files: tables saved, loaded and imported.
#include "table_editor/data_files.h"

#include <optional>
#include <string>
#include <vector>

#include "core/csv_import.h"
#include "core/paths.h"
#include "core/table_record.h"
#include "table_editor/editor_window.h"
#include "win32/file_dialog.h"
#include "win32/files.h"
#include "win32/message_box.h"

namespace qr {

namespace {

constexpr int16_t kCsvColumnWidth = 100;
// A text file is read up to this size: far more than 34 rows of 5 cells of kMaxCellChars need, few
// enough bytes for a 32-bit process to decode at once.
constexpr size_t kMaxTextFileBytes = 16u << 20;

// Loading may change the number of columns: like the column buttons, it hides every width slider before
// the layout shows those of the columns in use, so no slider of a column gone stays on the window (at
// its old place, possibly over a slider in use).
void FitGridToLoadedTable(Quelm_Rask_S& editor) {
  for (int col = 1; col <= kMaxCols; ++col) editor.S_Wide(col).SetVisible(false);
  editor.Build_Grid();
}

bool HasExtension(const std::string& path, std::string_view upperExtension) {
  std::string extension = Get_Extension(path);
  for (char& ch : extension) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return extension == upperExtension;
}

win::FileDialogSpec OpenSpec(const Quelm_Rask_S& editor) {
  win::FileDialogSpec request;
  request.owner = editor.hwnd();
  request.filterName = "ﾃﾞｰﾀﾌｧｲﾙ (qlm, csv)";
  request.filterPattern = "*.qlm;*.csv";
  request.moreFilters = {{"ﾃｷｽﾄﾌｧｲﾙ (csv, txt, tsv)", "*.csv;*.txt;*.tsv"}};
  request.title = "データファイルの参照";
  request.flags = 0;
  request.initialFolder = editor.State().Get_Data_Path;
  return request;
}

win::FileDialogSpec SaveSpec(const Quelm_Rask_S& editor) {
  win::FileDialogSpec request;
  request.owner = editor.hwnd();
  request.filterName = "ﾃｷｽﾄ ﾃﾞｰﾀﾌｧｲﾙ (qlm)";
  request.filterPattern = "*.qlm";
  request.initialName = "*.qlm";
  request.title = "入力データにファイル名を付けて保存";
  request.flags = win::kSaveDialogFlags;
  request.defaultExtension = "qlm";
  request.initialFolder = editor.State().Get_Data_Path;
  return request;
}

void Warn(const Quelm_Rask_S& editor, std::string_view message, const std::string& path) {
  std::string text(message);
  if (!path.empty()) text += "\n" + path;
  win::ShowMessage(editor.hwnd(), text, win::kWarningStyle);
}

// Record 1 gives the dimensions; the layout resets every cell's style before the rows are filled in.
void LoadTableFile(Quelm_Rask_S& editor, std::string_view bytes) {
  const std::optional<DecodedTable> table = DecodeTableFile(bytes);
  if (!table) return;
  AppState& state = editor.State();
  for (int col = 1; col <= kMaxCols; ++col)
    state.G_Cols_w[static_cast<size_t>(col)] = table->widths[static_cast<size_t>(col)];
  state.G_Rows = table->rows;
  state.G_Cols = table->cols;
  FitGridToLoadedTable(editor);
  for (int row = 1; row <= table->rows; ++row) {
    const TableRow& cells = table->cells[static_cast<size_t>(row - 1)];
    for (int col = 1; col <= kMaxCols; ++col) editor.SetCell(row, col, cells[static_cast<size_t>(col - 1)]);
  }
}

// The whole table is replaced: cells outside the file's rows and columns become empty.
void FillFromRows(Quelm_Rask_S& editor, const std::vector<std::vector<std::string>>& rows) {
  for (int row = 1; row <= kMaxRows; ++row) {
    const auto* fields =
        static_cast<size_t>(row) <= rows.size() ? &rows[static_cast<size_t>(row - 1)] : nullptr;
    for (int col = 1; col <= kMaxCols; ++col) {
      const size_t field = static_cast<size_t>(col - 1);
      editor.SetCellText(row, col, fields && field < fields->size() ? (*fields)[field] : std::string());
    }
  }
}

// False for a file that is no text or has no lines: it is reported and changes nothing.
bool LoadTextFile(Quelm_Rask_S& editor, const win::FileStart& file, const std::string& path) {
  if (!LooksLikeText(file.bytes)) {
    Warn(editor, kNotATableMessage, path);
    return false;
  }
  const TextTable table = ReadTextTable(file.bytes, Get_Extension(path), file.more);
  if (table.rows.empty()) {
    Warn(editor, kNoRowsMessage, path);
    return false;
  }
  editor.RememberForUndo();
  AppState& state = editor.State();
  for (int col = 1; col <= kMaxCols; ++col) state.G_Cols_w[static_cast<size_t>(col)] = kCsvColumnWidth;
  state.G_Rows = static_cast<int16_t>(table.rows.size());
  state.G_Cols = kMaxCols;
  FitGridToLoadedTable(editor);
  FillFromRows(editor, table.rows);
  const std::string cut = FormatCutTextMessage(table.cutCells, file.more, table.droppedCells);
  if (!cut.empty()) win::ShowMessage(editor.hwnd(), cut, win::kWarningStyle);
  return true;
}

// True when nothing would be lost, or the user agrees to '?' in place of what would.
bool ConfirmUnsavableCharacters(const Quelm_Rask_S& editor) {
  const int cells = CellsOutsideCp932(editor.Model(), editor.State().G_Rows);
  if (cells == 0) return true;
  return win::ShowMessage(editor.hwnd(), FormatUnsavableCharactersQuestion(cells),
                          MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

}  // namespace

std::string FormatDroppedFileCellsMessage(size_t droppedCells) {
  return "表に入りきらない " + std::to_string(droppedCells) + " 個のｾﾙは読み込みませんでした！";
}

std::string FormatCutTextMessage(size_t cutCells, bool fileCut, size_t droppedCells) {
  std::string text;
  if (droppedCells > 0) text = FormatDroppedFileCellsMessage(droppedCells);
  if (cutCells > 0) {
    if (!text.empty()) text += "\n";
    text += FormatCutCellsMessage(cutCells);
  }
  if (fileCut) {
    if (!text.empty()) text += "\n";
    text += "ﾌｧｲﾙが大きすぎるため、先頭の " + std::to_string(kMaxTextFileBytes >> 20) +
            " MB だけを読み込みました！";
  }
  return text;
}

std::string FormatUnsavableCharactersQuestion(int cells) {
  return std::to_string(cells) +
         " 個のｾﾙに、ﾃﾞｰﾀﾌｧｲﾙに保存できない文字があります。\nその文字を \"?\" にして保存しますか？";
}

void Load_Data_File(Quelm_Rask_S& editor) {
  const std::optional<std::string> path = win::ShowOpenDialog(OpenSpec(editor));
  if (!path) return;
  Load_Data_File(editor, *path);
}

void Load_Data_File(Quelm_Rask_S& editor, const std::string& path) {
  const bool tableFile = HasExtension(path, "QLM");
  const std::optional<win::FileStart> file = win::ReadFileStart(path, kMaxTextFileBytes);
  if (!file || (tableFile && file->more)) {
    Warn(editor, kCannotReadMessage, path);
  } else if (tableFile) {
    editor.ForgetUndo();
    LoadTableFile(editor, file->bytes);
  } else if (!LoadTextFile(editor, *file, path)) {
    return;
  }
  editor.State().Get_Data_Path = Get_Folder(path);
}

void Save_Data_File(Quelm_Rask_S& editor) {
  const std::optional<std::string> path = win::ShowSaveDialog(SaveSpec(editor));
  if (!path) return;
  if (!HasExtension(*path, "QLM")) {
    Warn(editor, kWrongExtensionMessage, std::string());
  } else if (ConfirmUnsavableCharacters(editor)) {
    const AppState& state = editor.State();
    const std::string bytes = EncodeTableFile(editor.Model(), state.G_Rows, state.G_Cols, state.G_Cols_w);
    if (!win::ReplaceFileContents(*path, bytes)) Warn(editor, kCannotSaveMessage, *path);
  }
  editor.State().Get_Data_Path = Get_Folder(*path);
}

}  // namespace qr
