#pragma once
// Reading a text file of table rows: comma- or tab-separated, in code page 932, UTF-8 or UTF-16.
#include <string>
#include <string_view>
#include <vector>

#include "core/text_encoding.h"

namespace qr {

inline constexpr size_t kMaxCsvFields = 5;

// The file's records (at most the first 34), each split into at most 5 fields, as UTF-8. A record is a
// line, but for the line breaks inside quoted fields (core/csv.h). A line ends at CR LF, at a lone LF or
// at a lone CR; every line counts, an empty one too (it gives one empty field), and text after the last
// line end is one more line when it is not empty. So "a\r\nb\r\n" and "a\r\nb" both have 2 lines,
// "\r\n" has 1 and an empty file none.
std::vector<std::vector<std::string>> DecodeCsvFile(std::string_view bytes);

struct TextTableFormat {
  TextEncoding encoding = TextEncoding::Cp932;
  char separator = ',';
};
// The encoding (DetectTextEncoding, `cutShort` as there) and the separator. UTF-16 text (a
// spreadsheet's "Unicode text" or "Unicode CSV", whatever its extension) is split at tabs unless its first
// lines hold commas and no tab; other text at tabs for the extensions "txt" and "tsv" (any case), at
// commas otherwise. `extension` comes without its dot.
TextTableFormat DetectTextTableFormat(std::string_view bytes, std::string_view extension,
                                      bool cutShort = false);

// A text file's rows by the line and field rules of DecodeCsvFile, in the format detected, each field cut
// after kMaxCellChars characters (core/block_text.h).
std::vector<std::vector<std::string>> DecodeTextTableFile(std::string_view bytes, std::string_view extension);

// DecodeTextTableFile's rows, how many fields it cut, and how many fields with text lay beyond the
// table's 34 rows and 5 columns (counted over the whole text, not kept).
struct TextTable {
  std::vector<std::vector<std::string>> rows;
  size_t cutCells = 0;
  size_t droppedCells = 0;
};
TextTable ReadTextTable(std::string_view bytes, std::string_view extension, bool cutShort = false);

// False for bytes that are no text: a NUL byte outside UTF-16, or control characters (other than tab,
// line breaks and form feed) making up more than a quarter of the file's start, as in a picture or a
// program renamed ".csv".
bool LooksLikeText(std::string_view bytes);

// The first `maxRecords` records of a text (without their line ends). As SplitLines, the rest of the
// text is not looked at; but for the closing quote of a quoted field that spans lines.
std::vector<std::string_view> SplitRecords(std::string_view text, size_t maxRecords, char separator);

// The first `maxLines` lines of a text, by the rule above (without their line ends). The rest of the text
// is not looked at, so a huge file costs no more than its first lines.
std::vector<std::string_view> SplitLines(std::string_view text, size_t maxLines);

}  // namespace qr
