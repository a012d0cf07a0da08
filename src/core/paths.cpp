#include "core/paths.h"

namespace qr {

std::string Get_Extension(std::string_view path) {
  const size_t pos = path.find_last_of(".\\/");
  if (pos == std::string_view::npos || path[pos] != '.') return {};
  return std::string(path.substr(pos + 1));
}

std::string Get_Folder(std::string_view path) {
  const size_t pos = path.find_last_of("\\:");
  if (pos == std::string_view::npos) return {};
  std::string_view folder = path.substr(0, pos + 1);
  if (folder.back() == '\\') folder.remove_suffix(1);
  return std::string(folder);
}

}  // namespace qr
