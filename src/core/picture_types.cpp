// The picture types the program opens, by extension and by content.
#include "core/picture_types.h"

#include <algorithm>

#include "core/paths.h"

namespace qr {

namespace {

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& ch : lower) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return lower;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

std::vector<std::string> ParseCodecExtensions(std::string_view list) {
  std::vector<std::string> extensions;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t end = std::min(list.find_first_of(",;", start), list.size());
    std::string_view item = list.substr(start, end - start);
    while (!item.empty() && (item.front() == ' ' || item.front() == '.' || item.front() == '*'))
      item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    const std::string extension = AsciiLower(item);
    if (!extension.empty() && !Contains(extensions, extension)) extensions.push_back(extension);
    start = end + 1;
  }
  return extensions;
}

void MergeExtensions(std::vector<std::string>& extensions, const std::vector<std::string>& more) {
  for (const std::string& extension : more) {
    if (!Contains(extensions, extension)) extensions.push_back(extension);
  }
}

std::string ExtensionPattern(const std::vector<std::string>& extensions) {
  std::string pattern;
  for (const std::string& extension : extensions) {
    if (!pattern.empty()) pattern += ';';
    pattern += "*." + extension;
  }
  return pattern;
}

bool HasExtensionIn(std::string_view path, const std::vector<std::string>& extensions) {
  const std::string extension = AsciiLower(Get_Extension(std::string(path)));
  return !extension.empty() && Contains(extensions, extension);
}

bool IsCodecDependentPicture(std::string_view path) {
  static const std::vector<std::string> kTypes = {"webp", "heic", "heif", "hif", "avif",
                                                  "jxl",  "jxr",  "wdp",  "hdp"};
  return HasExtensionIn(path, kTypes);
}

}  // namespace qr
