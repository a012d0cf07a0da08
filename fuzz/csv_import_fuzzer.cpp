// CSV import: any bytes give at most 34 rows of one to five fields of valid UTF-8, one row per line.
#include "core/app_state.h"
#include "core/csv_import.h"
#include "fuzz_check.h"

using namespace qr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  const std::vector<std::vector<std::string>> rows = DecodeCsvFile(bytes);
  FUZZ_CHECK(rows.size() <= static_cast<size_t>(kMaxRows));
  FUZZ_CHECK(rows.empty() == bytes.empty());
  for (const std::vector<std::string>& fields : rows) {
    FUZZ_CHECK(!fields.empty() && fields.size() <= kMaxCsvFields);
    for (const std::string& field : fields) FUZZ_CHECK(fuzz::IsUtf8(field));
  }
  return 0;
}
