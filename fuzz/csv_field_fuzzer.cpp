// Next_Csv_Field over any line: it comes to its end marker within one call per byte and a few more,
// never reads past the text it is given (also when a caller continues with a shorter text), and its
// fields are taken from the line in order (a doubled quote in a quoted field stands for one quote, a line
// break for a blank).
#include <fuzzer/FuzzedDataProvider.h>

#include "core/csv.h"
#include "fuzz_check.h"

using namespace qr;

namespace {

// True when the field's characters appear in the line in order, a blank also where the line breaks.
bool TakenFrom(std::string_view field, std::string_view line) {
  size_t at = 0;
  for (const char ch : field) {
    while (at < line.size() && line[at] != ch && !(ch == ' ' && (line[at] == '\r' || line[at] == '\n'))) ++at;
    if (at == line.size()) return false;
    ++at;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const size_t shortenAfter = input.ConsumeIntegralInRange<size_t>(0, 8);
  const std::string line = input.ConsumeRemainingBytesAsString();

  CsvFieldSplitter splitter;
  std::string_view text = line;
  size_t fieldBytes = 0;
  size_t calls = 0;
  for (bool continueLine = false;; continueLine = true) {
    FUZZ_CHECK(++calls <= line.size() + 2);
    if (calls == shortenAfter) text = text.substr(0, text.size() / 2);
    const bool atEnd = continueLine && splitter.AtLineEnd();
    const std::string field = splitter.Next_Csv_Field(text, continueLine);
    if (atEnd) {
      FUZZ_CHECK(field == kCsvEndMarker);
      break;
    }
    // A shorter text may end before the position the splitter had reached.
    if (text.size() < line.size() && field == kCsvEndMarker) break;
    FUZZ_CHECK(TakenFrom(field, line));
    fieldBytes += field.size();
    FUZZ_CHECK(fieldBytes <= line.size());
  }
  return 0;
}
