#pragma once
// What "/version" prints: the program's version, the commit it was built from and the version of the
// JPEG library linked into it.
#include <string>

namespace qr {

// "Quelm_Rask 1.0.0", "コミット: <hash>" ("unknown" for a build outside a git checkout) and
// "libjpeg-turbo 2.1.5", one line each.
std::string VersionReport();

}  // namespace qr
