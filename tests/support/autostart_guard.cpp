#include "support/autostart_guard.h"

#include <windows.h>

#include <vector>

#include "win32/autostart.h"
#include "win32/text.h"

namespace qr::test {

namespace {

void Put(const std::optional<std::string>& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, win::kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  if (value) {
    const std::wstring text = win::Wide(*value);
    RegSetValueExW(key, win::kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  } else {
    RegDeleteValueW(key, win::kRunValueName);
  }
  RegCloseKey(key);
}

}  // namespace

AutostartGuard::AutostartGuard() : saved_(Read()) { Put(std::nullopt); }

AutostartGuard::~AutostartGuard() { Put(saved_); }

std::optional<std::string> AutostartGuard::Read() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, win::kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD type = 0;
  DWORD bytes = 0;
  std::optional<std::string> value;
  if (RegQueryValueExW(key, win::kRunValueName, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS &&
      type == REG_SZ) {
    std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, win::kRunValueName, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes) ==
        ERROR_SUCCESS)
      value = win::Utf8(text.data());
  }
  RegCloseKey(key);
  return value;
}

}  // namespace qr::test
