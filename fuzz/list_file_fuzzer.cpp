// The wallpaper list file: any bytes decode to valid entries, and what was read is written and read back
// unchanged.
#include "core/list_file.h"
#include "fuzz_check.h"

using namespace qr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> entries = DecodeListFile(fuzz::Bytes(data, size));
  FUZZ_CHECK(entries.size() == size / kListRecordSize);
  for (const std::string& entry : entries) {
    FUZZ_CHECK(fuzz::IsUtf8(entry));
    FUZZ_CHECK(entry.empty() || (entry.front() != ' ' && entry.back() != ' '));
  }
  const std::string written = EncodeListFile(entries);
  FUZZ_CHECK(written.size() == entries.size() * kListRecordSize);
  const std::vector<std::string> reread = DecodeListFile(written);
  FUZZ_CHECK(reread.size() == entries.size());
  for (size_t i = 0; i < entries.size(); ++i)
    if (!fuzz::HasReplacement(entries[i])) FUZZ_CHECK(reread[i] == entries[i]);
  return 0;
}
