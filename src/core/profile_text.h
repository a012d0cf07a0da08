#pragma once
// The settings file's text, read and changed as the system's private-profile functions do, but always
// in code page 932: the file's format, whatever code page the system runs in.
#include <map>
#include <string>
#include <string_view>

namespace qr {

// A section's keys (in lower case, ASCII letters only) and their values as UTF-8: blanks around a key
// or value dropped, one pair of equal quotes around a value taken off, the first of two equal keys
// counting (also across two sections of the same name). Lines starting with ';' are comments; a line
// without '=' is a key without a value.
std::map<std::string, std::string> ProfileSection(std::string_view fileBytes, std::string_view section);

// The file's bytes with `key` in `section` set to `value` (blanks around it dropped): the line of the
// key replaced where the section has one, else a line added after the section's last line, or the
// section added at the end of the file. Every other line keeps its bytes.
std::string WithProfileValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                             std::string_view value);

}  // namespace qr
