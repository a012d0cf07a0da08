// Get_Extension and Get_Folder over any text: the extension is what follows the last dot of the last
// component, the folder a prefix that ends before the last component.
#include "core/paths.h"
#include "fuzz_check.h"

using namespace qr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view path = fuzz::Bytes(data, size);

  const std::string extension = Get_Extension(path);
  FUZZ_CHECK(extension.find_first_of(".\\/") == std::string::npos);
  if (!extension.empty()) {
    FUZZ_CHECK(path.size() > extension.size() && path.substr(path.size() - extension.size()) == extension);
    FUZZ_CHECK(path[path.size() - extension.size() - 1] == '.');
  }

  const std::string folder = Get_Folder(path);
  FUZZ_CHECK(path.substr(0, folder.size()) == folder);
  std::string_view rest = path.substr(folder.size());
  if (!rest.empty() && rest.front() == '\\') rest.remove_prefix(1);
  FUZZ_CHECK(rest.find_first_of("\\:") == std::string_view::npos);
  if (path.find_first_of("\\:") == std::string_view::npos) FUZZ_CHECK(folder.empty());
  return 0;
}
