#pragma once
// An abstract store of text values under a section and a key: the settings file on Windows, a map in
// tests. Values are UTF-8.
#include <string>
#include <string_view>

namespace qr {

class KeyStore {
 public:
  virtual ~KeyStore() = default;
  // The stored value, or the empty text when the store, section or key is missing.
  virtual std::string Read(std::string_view section, std::string_view key) = 0;
  // Writes silently: a failing write is not reported.
  virtual void Write(std::string_view section, std::string_view key, std::string_view value) = 0;
};

}  // namespace qr
