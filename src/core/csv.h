#pragma once
// Splitting comma- or tab-separated text into records (lines, but for the line breaks inside quoted
// fields) and a record into fields.
#include <string>
#include <string_view>

namespace qr {

// Returned by Next_Csv_Field when the line has no more fields: a text of one NUL character.
inline const std::string kCsvEndMarker(1, '\0');

// Keeps the position within the line being split, so each line needs only its own splitter, or one
// splitter restarted per line.
class CsvFieldSplitter {
 public:
  // Fields end at `separator`: a comma, or a tab for tab-separated text. Every other rule is the same.
  explicit CsvFieldSplitter(char separator = ',') : separator_(separator) {}
  // The next field of `line`. `continueLine` false starts at the beginning of `line`; true goes on after
  // the previous field of the same line. Blanks before a field are skipped. A field starting with a
  // double quote is quoted, as spreadsheets write it: it runs to the next quote that is not doubled, a
  // doubled quote inside stands for one, its blanks, commas and line breaks belong to it (a line break
  // becomes one space), and anything between the closing quote and the next comma is dropped; a quote
  // that is never closed takes the rest of its line. Other fields run to the next comma and lose
  // trailing blanks, and a quote inside them is ordinary text. A comma at the end of the line gives one
  // more, empty, field; an empty line gives one empty field. After the last field comes kCsvEndMarker.
  std::string Next_Csv_Field(std::string_view line, bool continueLine);
  // True once the last field of the line has been returned: the next call gives kCsvEndMarker.
  bool AtLineEnd() const { return position_ > length_; }

 private:
  size_t position_ = 0;  // 0-based; length_ + 1 means past the end
  size_t length_ = 0;
  char separator_ = ',';
};

// The length of the first record of `text` (without the line break that ends it): up to the first
// line break that lies outside a quoted field, by the field rules of Next_Csv_Field.
size_t CsvRecordLength(std::string_view text, char separator);

}  // namespace qr
