#pragma once
// Reading a comma-separated text file (code page 932) into table rows.
#include <string>
#include <string_view>
#include <vector>

namespace qr {

inline constexpr size_t kMaxCsvFields = 5;

// The file's lines (at most the first 34), each split into at most 5 fields, as UTF-8. A line ends at
// CR LF, at a lone LF or at a lone CR; every line counts, an empty one too (it gives one empty field),
// and text after the last line end is one more line when it is not empty. So "a\r\nb\r\n" and "a\r\nb"
// both have 2 lines, "\r\n" has 1 and an empty file none.
std::vector<std::vector<std::string>> DecodeCsvFile(std::string_view bytes);

// The first `maxLines` lines of a text, by the rule above (without their line ends). The rest of the text
// is not looked at, so a huge file costs no more than its first lines.
std::vector<std::string_view> SplitLines(std::string_view text, size_t maxLines);

}  // namespace qr
