// Reading a text file of table rows: its encoding and separator, its records and their fields.
#include "core/csv_import.h"

#include "core/app_state.h"
#include "core/block_text.h"
#include "core/cp932.h"
#include "core/csv.h"

namespace qr {

namespace {

// How much of a file's start tells text from other data, and how many of the first lines tell a
// UTF-16 file's separator.
constexpr size_t kSniffBytes = 64 * 1024;
constexpr size_t kSeparatorSniffLines = 5;

// A field with text, beyond what the table takes: what the user loses, and is told of. Empty fields
// (a spreadsheet's unused columns, blank lines) are no loss.
size_t CountFieldsWithText(CsvFieldSplitter& splitter, std::string_view record, bool continueLine) {
  size_t count = 0;
  while (!(continueLine && splitter.AtLineEnd())) {
    count += splitter.Next_Csv_Field(record, continueLine).empty() ? 0 : 1;
    continueLine = true;
  }
  return count;
}

std::vector<std::string> SplitFields(std::string_view record, char separator, TextTable& table) {
  std::vector<std::string> fields;
  CsvFieldSplitter splitter(separator);
  bool continueLine = false;
  // The end is asked of the splitter: a field of one NUL byte looks like the end marker.
  while (fields.size() < kMaxCsvFields && !(continueLine && splitter.AtLineEnd())) {
    fields.push_back(splitter.Next_Csv_Field(record, continueLine));
    if (CutCellText(fields.back())) ++table.cutCells;
    continueLine = true;
  }
  table.droppedCells += CountFieldsWithText(splitter, record, true);
  return fields;
}

// The records after the first kMaxRows, only counted.
size_t CountDroppedCells(std::string_view text, const std::vector<std::string_view>& kept, char separator) {
  if (kept.size() < kMaxRows) return 0;
  const std::string_view last = kept.back();
  size_t start = static_cast<size_t>(last.data() + last.size() - text.data());
  size_t count = 0;
  while (start < text.size()) {
    const bool crLf = text[start] == '\r' && start + 1 < text.size() && text[start + 1] == '\n';
    start += crLf ? 2 : 1;
    if (start >= text.size()) break;
    const size_t length = CsvRecordLength(text.substr(start), separator);
    CsvFieldSplitter splitter(separator);
    count += CountFieldsWithText(splitter, text.substr(start, length), false);
    start += length;
  }
  return count;
}

bool IsTabSeparatedExtension(std::string_view extension) {
  std::string upper(extension);
  for (char& ch : upper) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return upper == "TXT" || upper == "TSV";
}

// Code page 932 is decoded record by record, so only the records kept are converted. A quote, a
// separator, a blank and a line break are never the second byte of a double-byte character, so the
// records can be found in the raw bytes.
TextTable DecodeCp932Rows(std::string_view bytes, char separator) {
  TextTable table;
  const std::vector<std::string_view> records = SplitRecords(bytes, kMaxRows, separator);
  table.rows.reserve(records.size());
  for (std::string_view record : records)
    table.rows.push_back(SplitFields(DecodeCp932(record), separator, table));
  table.droppedCells += CountDroppedCells(bytes, records, separator);
  return table;
}

size_t CountFields(std::string_view record, char separator) {
  CsvFieldSplitter splitter(separator);
  size_t count = 0;
  for (bool continueLine = false; !(continueLine && splitter.AtLineEnd()); continueLine = true) {
    splitter.Next_Csv_Field(record, continueLine);
    ++count;
  }
  return count;
}

// True when the separator splits the first records into the same number of fields, more than one.
bool SplitsEvenly(std::string_view text, char separator) {
  size_t fields = 0;
  for (std::string_view record : SplitRecords(text, kSeparatorSniffLines, separator)) {
    const size_t count = CountFields(record, separator);
    if (fields != 0 && count != fields) return false;
    fields = count;
  }
  return fields > 1;
}

// A spreadsheet's "Unicode text" has tabs, its "Unicode CSV" commas, under either extension. The
// separator that splits the first records evenly (quoted line breaks and all) is the one; when both or
// neither do, a tab in the first lines decides, then a comma, and a tab is the default.
char SeparatorOfContent(std::string_view text) {
  const bool commas = SplitsEvenly(text, ',');
  if (commas != SplitsEvenly(text, '\t')) return commas ? ',' : '\t';
  bool comma = false;
  for (std::string_view line : SplitLines(text, kSeparatorSniffLines)) {
    if (line.find('\t') != std::string_view::npos) return '\t';
    comma = comma || line.find(',') != std::string_view::npos;
  }
  return comma ? ',' : '\t';
}

bool IsControl(unsigned char ch) {
  return (ch < 0x20 && ch != '\t' && ch != '\r' && ch != '\n' && ch != '\f') || ch == 0x7F;
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

std::vector<std::string_view> SplitRecords(std::string_view text, size_t maxRecords, char separator) {
  std::vector<std::string_view> records;
  size_t start = 0;
  while (start < text.size() && records.size() < maxRecords) {
    const size_t end = start + CsvRecordLength(text.substr(start), separator);
    records.push_back(text.substr(start, end - start));
    if (end == text.size()) break;
    const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    start = end + (crLf ? 2 : 1);
  }
  return records;
}

std::vector<std::vector<std::string>> DecodeCsvFile(std::string_view bytes) {
  return DecodeCp932Rows(bytes, ',').rows;
}

TextTableFormat DetectTextTableFormat(std::string_view bytes, std::string_view extension, bool cutShort) {
  TextTableFormat format;
  format.encoding = DetectTextEncoding(bytes, cutShort);
  const bool utf16 = format.encoding == TextEncoding::Utf16Le || format.encoding == TextEncoding::Utf16Be;
  if (utf16) {
    format.separator = SeparatorOfContent(DecodeText(bytes.substr(0, kSniffBytes), format.encoding));
  } else if (IsTabSeparatedExtension(extension)) {
    format.separator = '\t';
  }
  return format;
}

TextTable ReadTextTable(std::string_view bytes, std::string_view extension, bool cutShort) {
  const TextTableFormat format = DetectTextTableFormat(bytes, extension, cutShort);
  if (format.encoding == TextEncoding::Cp932) return DecodeCp932Rows(bytes, format.separator);
  const std::string text = DecodeText(bytes, format.encoding);
  TextTable table;
  const std::vector<std::string_view> records = SplitRecords(text, kMaxRows, format.separator);
  table.rows.reserve(records.size());
  for (std::string_view record : records) table.rows.push_back(SplitFields(record, format.separator, table));
  table.droppedCells += CountDroppedCells(text, records, format.separator);
  return table;
}

std::vector<std::vector<std::string>> DecodeTextTableFile(std::string_view bytes,
                                                          std::string_view extension) {
  return ReadTextTable(bytes, extension).rows;
}

bool LooksLikeText(std::string_view bytes) {
  const TextEncoding encoding = DetectTextEncoding(bytes);
  std::string decoded;
  std::string_view start = bytes.substr(0, kSniffBytes);
  if (encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be) {
    decoded = DecodeText(start, encoding);
    start = decoded;
  } else if (bytes.find('\0') != std::string_view::npos) {
    return false;
  }
  size_t controls = 0;
  for (const char ch : start) {
    if (ch == '\0') return false;
    controls += IsControl(static_cast<unsigned char>(ch)) ? 1 : 0;
  }
  return controls * 4 <= start.size();
}

}  // namespace qr
