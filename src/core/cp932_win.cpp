// Code page 932 through the Windows converter. The core has no access to the Win32 layer's text
// helpers, so the UTF-16 steps are done here with the same calls.
#include <windows.h>

#include "core/cp932.h"

namespace qr::detail {

namespace {

constexpr UINT kCodePage = 932;

std::optional<std::wstring> ToWide(UINT codePage, std::string_view text) {
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring out(static_cast<size_t>(n), L'\0');
  if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), size, out.data(), n) != n)
    return std::nullopt;
  return out;
}

// `strict` asks the system to refuse substitutes: WC_NO_BEST_FIT_CHARS, and any use of the default
// character counts as a failure. UTF-8 takes neither.
std::optional<std::string> FromWide(UINT codePage, std::wstring_view wide, bool strict) {
  const int size = static_cast<int>(wide.size());
  const DWORD flags = strict ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultPtr = strict ? &usedDefault : nullptr;
  const int n = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, usedDefaultPtr);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  if (WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), n, nullptr, usedDefaultPtr) != n ||
      usedDefault)
    return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::string> SystemCp932ToUtf8(std::string_view bytes) {
  if (bytes.empty()) return std::string();
  const std::optional<std::wstring> wide = ToWide(kCodePage, bytes);
  if (!wide) return std::nullopt;
  return FromWide(CP_UTF8, *wide, false);
}

std::optional<std::string> SystemUtf8ToCp932(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  const std::optional<std::wstring> wide = ToWide(CP_UTF8, utf8);
  if (!wide) return std::nullopt;
  return FromWide(kCodePage, *wide, true);
}

}  // namespace qr::detail
