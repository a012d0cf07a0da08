// The CSV splitter: fields of one comma- or tab-separated line.
#include "core/csv.h"

namespace qr {

namespace {

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string CsvFieldSplitter::Next_Csv_Field(std::string_view line, bool continueLine) {
  if (!continueLine) {
    position_ = 0;
    length_ = line.size();
  }
  // A caller that continues with a shorter text than it started with must not make us read past it.
  if (length_ > line.size()) length_ = line.size();
  const std::string_view text = line.substr(0, length_);

  while (position_ < length_ && text[position_] == ' ') ++position_;
  if (position_ > length_) return kCsvEndMarker;
  if (position_ == length_ || text[position_] == separator_) {
    ++position_;
    return {};
  }

  std::string_view field;
  size_t comma = 0;
  if (text[position_] == '"') {
    const size_t start = position_ + 1;
    const size_t closingQuote = text.find('"', start);
    if (closingQuote == std::string_view::npos) {
      field = text.substr(start);
      comma = std::string_view::npos;
    } else {
      field = text.substr(start, closingQuote - start);
      comma = text.find(separator_, closingQuote + 1);
    }
  } else {
    comma = text.find(separator_, position_);
    field = TrimTrailingBlanks(
        text.substr(position_, comma == std::string_view::npos ? std::string_view::npos : comma - position_));
  }
  position_ = comma == std::string_view::npos ? length_ + 1 : comma + 1;
  return std::string(field);
}

}  // namespace qr
