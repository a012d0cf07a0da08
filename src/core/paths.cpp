// Paths taken apart: extension and folder.
#include "core/paths.h"

namespace qr {

size_t ExtensionDot(std::string_view path) {
  const size_t pos = path.find_last_of(".\\/");
  return pos == std::string_view::npos || path[pos] != '.' ? path.size() : pos;
}

std::string Get_Extension(std::string_view path) {
  const size_t dot = ExtensionDot(path);
  return dot < path.size() ? std::string(path.substr(dot + 1)) : std::string();
}

std::string Get_Folder(std::string_view path) {
  const size_t pos = path.find_last_of("\\:");
  if (pos == std::string_view::npos) return {};
  std::string_view folder = path.substr(0, pos + 1);
  if (folder.back() == '\\') folder.remove_suffix(1);
  return std::string(folder);
}

}  // namespace qr
