// Paths stored in the list and settings files, by their short names where needed.
#include "shared/record_paths.h"

#include <windows.h>

#include "core/cp932.h"
#include "win32/files.h"
#include "win32/text.h"

namespace qr {

std::string SystemShortPath(const std::string& path) {
  const std::wstring wide = win::ApiPath(path);
  if (wide.empty()) return {};
  std::wstring shortName(wide.size() + 1, L'\0');
  for (;;) {
    const DWORD n = GetShortPathNameW(wide.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
    if (n == 0) return {};
    if (n < shortName.size()) {
      shortName.resize(n);
      break;
    }
    shortName.resize(n);
  }
  // A long path goes in with the "\\?\" prefix and comes back with it: the record needs the plain form.
  if (shortName.rfind(L"\\\\?\\UNC\\", 0) == 0)
    shortName = L"\\\\" + shortName.substr(8);
  else if (shortName.rfind(L"\\\\?\\", 0) == 0)
    shortName.erase(0, 4);
  return win::Utf8(shortName);
}

bool FitsRecord(std::string_view path) {
  const std::string bytes = EncodeCp932(path);
  return bytes.size() <= kMaxRecordedPathBytes && DecodeCp932(bytes) == path;
}

std::optional<std::string> RecordablePath(const std::string& path, const ShortPathFn& shortPath) {
  if (FitsRecord(path)) return path;
  const std::string shortName = shortPath ? shortPath(path) : std::string();
  if (!shortName.empty() && FitsRecord(shortName)) return shortName;
  return std::nullopt;
}

}  // namespace qr
