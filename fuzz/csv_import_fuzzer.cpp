// CSV import: any bytes give at most 34 rows of one to five fields of valid UTF-8, one row per record,
// in whichever encoding and with whichever separator the bytes and the extension choose.
#include "core/app_state.h"
#include "core/csv_import.h"
#include "core/text_encoding.h"
#include "fuzz_check.h"

using namespace qr;

namespace {

void CheckRows(const std::vector<std::vector<std::string>>& rows) {
  FUZZ_CHECK(rows.size() <= static_cast<size_t>(kMaxRows));
  for (const std::vector<std::string>& fields : rows) {
    FUZZ_CHECK(!fields.empty() && fields.size() <= kMaxCsvFields);
    for (const std::string& field : fields) FUZZ_CHECK(fuzz::IsUtf8(field));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  const std::vector<std::vector<std::string>> rows = DecodeCsvFile(bytes);
  CheckRows(rows);
  FUZZ_CHECK(rows.empty() == bytes.empty());

  // The first byte picks the extension; the rest is the file.
  if (bytes.empty()) return 0;
  static constexpr std::string_view kExtensions[] = {"csv", "txt", "TSV", ""};
  const std::string_view extension = kExtensions[static_cast<unsigned char>(bytes[0]) % 4];
  const std::string_view file = bytes.substr(1);
  const TextEncoding encoding = DetectTextEncoding(file);
  const std::string text = DecodeText(file, encoding);
  FUZZ_CHECK(fuzz::IsUtf8(text));
  // Text read as UTF-8 without a mark is the file itself.
  if (encoding == TextEncoding::Utf8 && file.substr(0, 3) != "\xEF\xBB\xBF") FUZZ_CHECK(text == file);
  const std::vector<std::vector<std::string>> tableRows = DecodeTextTableFile(file, extension);
  CheckRows(tableRows);
  FUZZ_CHECK(tableRows.empty() == text.empty());
  return 0;
}
