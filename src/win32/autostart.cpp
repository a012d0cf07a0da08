// The start at log-on: the Run value.
#include "win32/autostart.h"

#include <windows.h>

#include <vector>

#include "win32/text.h"

namespace qr::win {

std::string AutostartCommand(const std::string& programPath) { return "\"" + programPath + "\" /watch"; }

std::optional<std::string> ReadAutostart() {
  DWORD bytes = 0;
  const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValueName, flags, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValueName, flags, nullptr, text.data(), &bytes) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return Utf8(text.data());
}

bool AutostartEnabled() { return ReadAutostart().has_value(); }

bool SetAutostart(bool on, const std::string& programPath) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  LSTATUS status = ERROR_SUCCESS;
  if (on) {
    const std::wstring command = Wide(AutostartCommand(programPath));
    status = RegSetValueExW(key, kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                            static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  } else {
    status = RegDeleteValueW(key, kRunValueName);
    if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
  }
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

}  // namespace qr::win
