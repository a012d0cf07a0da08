#pragma once
// The editor's table data files: ".qlm" saved and loaded, ".csv" loaded. Each command asks for a file
// with the system's dialog, opening in `Get_Data_Path`, and leaves `Get_Data_Path` at the chosen
// file's folder.
#include <cstddef>
#include <string>
#include <string_view>

namespace qr {

class Quelm_Rask_S;

inline constexpr std::string_view kWrongExtensionMessage = "保存ﾌｧｲﾙの拡張子が違います！";
inline constexpr std::string_view kCannotReadMessage = "ﾌｧｲﾙを読み込めませんでした！";
inline constexpr std::string_view kCannotSaveMessage = "ﾌｧｲﾙを保存できませんでした！";
inline constexpr std::string_view kNotATableMessage = "表のﾃﾞｰﾀではないﾌｧｲﾙなので読み込めません！";
inline constexpr std::string_view kNoRowsMessage =
    "ﾌｧｲﾙに表のﾃﾞｰﾀが1行もないため、何も読み込みませんでした。表はそのままです。";

// The message after a text file was loaded in part: how many cells with text lay beyond the table's
// rows and columns (said as pasting says it), how many were cut, and whether the file was read only up
// to its bound; empty when nothing was left out.
std::string FormatCutTextMessage(size_t cutCells, bool fileCut, size_t droppedCells = 0);
std::string FormatDroppedFileCellsMessage(size_t droppedCells);

// The question before a save that would lose characters: how many cells hold them.
std::string FormatUnsavableCharactersQuestion(int cells);

// Loads a ".qlm" file (dimensions, widths, texts, fonts and colours of its rows) or, for any other
// extension, a text file of comma- or tab-separated rows in code page 932, UTF-8 or UTF-16
// (core/csv_import.h; texts only, five columns of width 100, replacing the whole table, undoable). Cells
// longer than kMaxCellChars are cut, cells beyond 34 rows and 5 columns left out, and a text file is read
// up to 16 MB, with one message saying so. A file that cannot be read, that is no text (a picture or a
// program renamed), or a text file without lines (empty, or only a byte-order mark) is reported and
// changes nothing.
void Load_Data_File(Quelm_Rask_S& editor);
// The same for a file already chosen.
void Load_Data_File(Quelm_Rask_S& editor, const std::string& path);

// Saves the table's rows in use as ".qlm". Cells with characters that code page 932 cannot keep are
// counted and the user asked first: OK stores those characters as '?', Cancel saves nothing. The new
// file is written completely beside the old one before it replaces it: when that fails, the old file
// stays and a message says so.
void Save_Data_File(Quelm_Rask_S& editor);

}  // namespace qr
