// The wallpaper list file ("Quelm_Rask.rdm") read and written.
#include "core/list_file.h"

#include "core/cp932.h"

namespace qr {

namespace {

// Blank is 0x20, never the second byte of a double-byte character, so trimming bytes is safe.
std::string_view TrimBlanks(std::string_view bytes) {
  while (!bytes.empty() && bytes.front() == ' ') bytes.remove_prefix(1);
  while (!bytes.empty() && bytes.back() == ' ') bytes.remove_suffix(1);
  return bytes;
}

}  // namespace

std::string EncodeListFile(const std::vector<std::string>& entries) {
  std::string bytes;
  bytes.reserve(entries.size() * kListRecordSize);
  for (const std::string& entry : entries) bytes += Cp932Field(entry, kListRecordSize);
  return bytes;
}

size_t ListRecordCount(std::string_view bytes) { return bytes.size() / kListRecordSize; }

std::string DecodeListRecord(std::string_view bytes, size_t index) {
  return DecodeCp932(TrimBlanks(bytes.substr(index * kListRecordSize, kListRecordSize)));
}

std::vector<std::string> DecodeListFile(std::string_view bytes) {
  std::vector<std::string> entries;
  const size_t count = ListRecordCount(bytes);
  entries.reserve(count);
  for (size_t i = 0; i < count; ++i) entries.push_back(DecodeListRecord(bytes, i));
  return entries;
}

}  // namespace qr
