// Text files imported into the table: encodings guessed, lines split into cells.
#include "core/csv_import.h"

#include "core/app_state.h"
#include "core/cp932.h"
#include "core/csv.h"

namespace qr {

namespace {

std::vector<std::string> SplitFields(std::string_view line, char separator) {
  std::vector<std::string> fields;
  CsvFieldSplitter splitter(separator);
  bool continueLine = false;
  // The end is asked of the splitter: a field of one NUL byte looks like the end marker.
  while (fields.size() < kMaxCsvFields && !(continueLine && splitter.AtLineEnd())) {
    fields.push_back(splitter.Next_Csv_Field(line, continueLine));
    continueLine = true;
  }
  return fields;
}

bool IsTabSeparatedExtension(std::string_view extension) {
  std::string upper(extension);
  for (char& ch : upper) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return upper == "TXT" || upper == "TSV";
}

// Code page 932 is decoded line by line, so only the lines kept are converted.
std::vector<std::vector<std::string>> DecodeCp932Rows(std::string_view bytes, char separator) {
  const std::vector<std::string_view> lines = SplitLines(bytes, kMaxRows);
  std::vector<std::vector<std::string>> rows;
  rows.reserve(lines.size());
  for (std::string_view line : lines) rows.push_back(SplitFields(DecodeCp932(line), separator));
  return rows;
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
  return DecodeCp932Rows(bytes, ',');
}

TextTableFormat DetectTextTableFormat(std::string_view bytes, std::string_view extension) {
  TextTableFormat format;
  format.encoding = DetectTextEncoding(bytes);
  const bool utf16 = format.encoding == TextEncoding::Utf16Le || format.encoding == TextEncoding::Utf16Be;
  format.separator = utf16 || IsTabSeparatedExtension(extension) ? '\t' : ',';
  return format;
}

std::vector<std::vector<std::string>> DecodeTextTableFile(std::string_view bytes,
                                                          std::string_view extension) {
  const TextTableFormat format = DetectTextTableFormat(bytes, extension);
  if (format.encoding == TextEncoding::Cp932) return DecodeCp932Rows(bytes, format.separator);
  const std::string text = DecodeText(bytes, format.encoding);
  const std::vector<std::string_view> lines = SplitLines(text, kMaxRows);
  std::vector<std::vector<std::string>> rows;
  rows.reserve(lines.size());
  for (std::string_view line : lines) rows.push_back(SplitFields(line, format.separator));
  return rows;
}

}  // namespace qr
