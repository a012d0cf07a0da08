#include "core/csv_import.h"

#include "core/app_state.h"
#include "core/cp932.h"
#include "core/csv.h"

namespace qr {

namespace {

std::vector<std::string> SplitFields(std::string_view line) {
  std::vector<std::string> fields;
  CsvFieldSplitter splitter;
  bool continueLine = false;
  // The end is asked of the splitter: a field of one NUL byte looks like the end marker.
  while (fields.size() < kMaxCsvFields && !(continueLine && splitter.AtLineEnd())) {
    fields.push_back(splitter.Next_Csv_Field(line, continueLine));
    continueLine = true;
  }
  return fields;
}

}  // namespace

// CR and LF are never the second byte of a double-byte character, so lines can be found in the raw bytes.
std::vector<std::string_view> SplitLines(std::string_view text, size_t maxLines) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size() && lines.size() < maxLines) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    start = end + (crLf ? 2 : 1);
  }
  return lines;
}

std::vector<std::vector<std::string>> DecodeCsvFile(std::string_view bytes) {
  const std::vector<std::string_view> lines = SplitLines(bytes, kMaxRows);
  std::vector<std::vector<std::string>> rows;
  rows.reserve(lines.size());
  for (std::string_view line : lines) rows.push_back(SplitFields(DecodeCp932(line)));
  return rows;
}

}  // namespace qr
