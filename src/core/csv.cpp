// Splitting comma- or tab-separated text into records and fields, by the rules spreadsheets write.
#include "core/csv.h"

namespace qr {

namespace {

bool IsLineBreak(char ch) { return ch == '\r' || ch == '\n'; }

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The closing quote of a quoted field whose text starts at `start`: the first quote that is not one
// of a doubled pair, or npos when the rest of the text holds none.
size_t ClosingQuote(std::string_view text, size_t start) {
  for (size_t pos = start;;) {
    const size_t quote = text.find('"', pos);
    if (quote == std::string_view::npos) return quote;
    if (quote + 1 < text.size() && text[quote + 1] == '"') {
      pos = quote + 2;
      continue;
    }
    return quote;
  }
}

// A quoted field's text between its quotes: a doubled quote is one, a line break (CR LF counts as one)
// one space, since a cell holds one line.
std::string UnquoteField(std::string_view quoted) {
  std::string field;
  field.reserve(quoted.size());
  for (size_t pos = 0; pos < quoted.size(); ++pos) {
    const char ch = quoted[pos];
    if (ch == '"' && pos + 1 < quoted.size() && quoted[pos + 1] == '"') {
      ++pos;
    } else if (ch == '\r' && pos + 1 < quoted.size() && quoted[pos + 1] == '\n') {
      ++pos;
    }
    field += IsLineBreak(ch) ? ' ' : ch;
  }
  return field;
}

size_t LineEnd(std::string_view text, size_t from) {
  const size_t end = text.find_first_of("\r\n", from);
  return end == std::string_view::npos ? text.size() : end;
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

  std::string field;
  size_t comma = 0;
  if (text[position_] == '"') {
    const size_t start = position_ + 1;
    const size_t closingQuote = ClosingQuote(text, start);
    if (closingQuote == std::string_view::npos) {
      // Never closed: the field takes the rest of its line, and the line ends there.
      field = UnquoteField(text.substr(start, LineEnd(text, start) - start));
      comma = std::string_view::npos;
    } else {
      field = UnquoteField(text.substr(start, closingQuote - start));
      comma = text.find(separator_, closingQuote + 1);
    }
  } else {
    comma = text.find(separator_, position_);
    field = std::string(TrimTrailingBlanks(text.substr(
        position_, comma == std::string_view::npos ? std::string_view::npos : comma - position_)));
  }
  position_ = comma == std::string_view::npos ? length_ + 1 : comma + 1;
  return field;
}

size_t CsvRecordLength(std::string_view text, char separator) {
  size_t pos = 0;
  for (;;) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (pos < text.size() && text[pos] == '"') {
      const size_t closingQuote = ClosingQuote(text, pos + 1);
      if (closingQuote == std::string_view::npos) return LineEnd(text, pos);
      pos = closingQuote + 1;
    }
    const size_t end = text.find_first_of(std::string{separator, '\r', '\n'}, pos);
    if (end == std::string_view::npos) return text.size();
    if (text[end] != separator) return end;
    pos = end + 1;
  }
}

}  // namespace qr
