// The version report of "/version", from the build's generated headers and libjpeg-turbo's own.
#include "app/version_report.h"

#include "core/version.h"
#include "jconfig.h"
#include "quelm_commit.h"

namespace qr {

namespace {

// LIBJPEG_TURBO_VERSION_NUMBER is major * 1000000 + minor * 1000 + patch.
std::string JpegLibraryVersion() {
  constexpr long number = LIBJPEG_TURBO_VERSION_NUMBER;
  return std::to_string(number / 1000000) + "." + std::to_string(number / 1000 % 1000) + "." +
         std::to_string(number % 1000);
}

}  // namespace

std::string VersionReport() {
  std::string report = "Quelm_Rask ";
  report.append(ProgramVersion()).append("\r\n");
  report.append("コミット: ").append(QR_BUILD_COMMIT).append("\r\n");
  report.append("libjpeg-turbo ").append(JpegLibraryVersion()).append("\r\n");
  return report;
}

}  // namespace qr
