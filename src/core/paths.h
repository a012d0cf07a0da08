#pragma once
// Taking paths apart. Separators are ASCII, so UTF-8 text can be scanned byte by byte.
#include <string>
#include <string_view>

namespace qr {

// The extension of the last path component without its dot, or empty ("a.tar.JPG" -> "JPG",
// "C:\my.dir\readme" -> ""). Letter case is kept.
std::string Get_Extension(std::string_view path);
// Where that extension starts: the position of its dot, or the path's length when the last component has
// no dot ("C:\a.b\x.bmp" -> 8, "C:\a.b\x" -> 8 as well, its length).
size_t ExtensionDot(std::string_view path);

// The text up to the last "\" or ":", without a trailing "\" ("C:\pic\sea.bmp" -> "C:\pic",
// "C:\sea.bmp" -> "C:", "sea.bmp" -> "").
std::string Get_Folder(std::string_view path);

}  // namespace qr
