// The version text: the build gives this one file the project's version (QR_VERSION_TEXT), so a new
// version recompiles nothing else.
#include "core/version.h"

#ifndef QR_VERSION_TEXT
#error "the build defines QR_VERSION_TEXT from the CMake project's VERSION"
#endif

namespace qr {

std::string_view ProgramVersion() { return QR_VERSION_TEXT; }

std::string VersionLabel() { return "Ver." + std::string(ProgramVersion()); }

}  // namespace qr
