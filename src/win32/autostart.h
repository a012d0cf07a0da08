#pragma once
// Starting the program at log-on: the value "Quelm_Rask" under the user's Run key
// (HKCU\Software\Microsoft\Windows\CurrentVersion\Run), which starts the resident watcher. The user's
// own key, so no administrator rights are needed.
#include <optional>
#include <string>

namespace qr::win {

inline constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const wchar_t* kRunValueName = L"Quelm_Rask";

// The command the Run value holds for the GUI program at `programPath`: "\"<path>\" /watch".
std::string AutostartCommand(const std::string& programPath);

// The Run value's text; nothing when it is missing or not text.
std::optional<std::string> ReadAutostart();
// True when the Run value is there.
bool AutostartEnabled();
// Writes the Run value for `programPath` (on) or removes it (off; a missing value is fine). False when
// the registry refused.
bool SetAutostart(bool on, const std::string& programPath);

}  // namespace qr::win
