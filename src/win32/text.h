#pragma once
// The one boundary between the program's UTF-8 text and the wide text of the Win32 API.
#include <string>
#include <string_view>

namespace qr::win {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace qr::win
