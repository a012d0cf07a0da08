#pragma once
// A fresh folder under the user's temporary folder for one test, removed with everything in it when the
// owner goes out of scope.
#include <string>
#include <string_view>

namespace qr::test {

class TempFolder {
 public:
  // Creates a folder with a unique name; path() is empty when that failed.
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  // UTF-8, without a trailing separator.
  const std::string& path() const { return path_; }
  // path() + "\" + name (the file is not created).
  std::string File(std::string_view name) const;
  // Writes `bytes` to path() + "\" + name, replacing any file there, and returns the full path (empty on
  // failure).
  std::string Write(std::string_view name, std::string_view bytes) const;
  // Creates the folder path() + "\" + name (and the folders above it) and returns its full path.
  std::string MakeFolder(std::string_view name) const;

 private:
  std::string path_;
};

// Removes a file or a folder with everything below it, read-only items included; paths of any length.
bool RemoveTree(const std::string& path);

}  // namespace qr::test
