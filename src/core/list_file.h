#pragma once
// The wallpaper list file "Quelm_Rask.rdm": one 255-byte record per entry, no header. Each record holds
// the entry's path in code page 932, filled up with blanks.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qr {

inline constexpr std::string_view kListFileName = "Quelm_Rask.rdm";
inline constexpr size_t kListRecordSize = 255;

// The file's bytes. A path longer than a record is cut at 255 bytes, or at 254 where the 255th byte
// would be the first half of a double-byte character (half a character would garble the entry).
std::string EncodeListFile(const std::vector<std::string>& entries);

// Every whole record's path (a trailing partial record is ignored), without its leading and trailing
// blanks, as UTF-8. Entries whose file no longer exists are the caller's to drop.
std::vector<std::string> DecodeListFile(std::string_view bytes);

// The number of whole records in the file's bytes, and the path of record `index` (< that number) as
// DecodeListFile gives it: for reading a long list a part at a time.
size_t ListRecordCount(std::string_view bytes);
std::string DecodeListRecord(std::string_view bytes, size_t index);

}  // namespace qr
