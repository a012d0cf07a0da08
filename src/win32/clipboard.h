#pragma once
// The clipboard: text in both directions (UTF-8 inside, CF_UNICODETEXT outside) and the files that
// Explorer's "Copy" puts there (CF_HDROP).
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace qr::win {

// The clipboard's text, or nothing when it holds none or cannot be opened.
std::optional<std::string> ClipboardText(HWND owner);
// Replaces the clipboard's contents with `utf8`; false when that failed.
bool SetClipboardText(HWND owner, const std::string& utf8);
// The names of the files copied to the clipboard, in its order (none when it holds no files).
std::vector<std::string> ClipboardFiles(HWND owner);

}  // namespace qr::win
