#pragma once
// The program's version, one number for the whole program (the build takes it from the CMake project).
#include <string>
#include <string_view>

namespace qr {

// "1.0.0".
std::string_view ProgramVersion();

// The main window's label, "Ver.1.0.0" for version 1.0.0.
std::string VersionLabel();

}  // namespace qr
