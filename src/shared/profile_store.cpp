#include "shared/profile_store.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "core/cp932.h"
#include "win32/text.h"

namespace qr {

namespace {

constexpr DWORD kFirstBufferChars = 512;
constexpr DWORD kLargestBufferChars = 1u << 24;

// Bytes in the UTF-8 sequence that starts with `lead` (1 for a stray byte).
size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF8) return 1;
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

std::string CutToCp932Bytes(std::string_view text, size_t maxBytes) {
  if (EncodeCp932(text).size() <= maxBytes) return std::string(text);
  size_t bytes = 0;
  size_t end = 0;
  while (end < text.size()) {
    const size_t length =
        std::min(Utf8SequenceLength(static_cast<unsigned char>(text[end])), text.size() - end);
    const size_t encoded = EncodeCp932(text.substr(end, length)).size();
    if (bytes + encoded > maxBytes) break;
    bytes += encoded;
    end += length;
  }
  return std::string(text.substr(0, end));
}

ProfileKeyStore::ProfileKeyStore(std::string filePath) : path_(std::move(filePath)) {}

std::string ProfileKeyStore::Read(std::string_view section, std::string_view key) {
  const std::wstring wideSection = win::Wide(section);
  const std::wstring wideKey = win::Wide(key);
  const std::wstring file = win::Wide(path_);
  std::wstring buffer(kFirstBufferChars, L'\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD n = GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), L"", buffer.data(), size,
                                             file.c_str());
    // A value that filled the buffer may have been cut by it: read again with more room.
    if (n + 1 < size || size >= kLargestBufferChars) {
      buffer.resize(std::min(n, size));
      break;
    }
    buffer.assign(static_cast<size_t>(size) * 2, L'\0');
  }
  return CutToCp932Bytes(win::Utf8(buffer), kMaxValueBytes);
}

void ProfileKeyStore::Write(std::string_view section, std::string_view key, std::string_view value) {
  // A failing write is silent: the next read finds the previous value or the default.
  WritePrivateProfileStringW(win::Wide(section).c_str(), win::Wide(key).c_str(), win::Wide(value).c_str(),
                             win::Wide(path_).c_str());
}

}  // namespace qr
