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

// Reads through to another store and drops every write: settings read from a file that must stay as it
// is (the readers put defaults back into the store they read).
class ReadOnlyKeyStore : public KeyStore {
 public:
  explicit ReadOnlyKeyStore(KeyStore& source) : source_(source) {}
  std::string Read(std::string_view section, std::string_view key) override { return source_.Read(section, key); }
  void Write(std::string_view, std::string_view, std::string_view) override {}

 private:
  KeyStore& source_;
};

}  // namespace qr
