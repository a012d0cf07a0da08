#pragma once
// The settings file: a KeyStore over its code page 932 text (core/profile_text.h), read and written as
// the system's private-profile functions do, whatever code page the system runs in.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "core/key_store.h"

namespace qr {

class ProfileKeyStore : public KeyStore {
 public:
  // The longest value read back, in code page 932 bytes; longer values are cut at a character boundary.
  static constexpr size_t kMaxValueBytes = 255;

  // filePath: UTF-8 path of the .ini file; it need not exist (reads are then empty, the first write
  // creates it).
  explicit ProfileKeyStore(std::string filePath);

  std::string Read(std::string_view section, std::string_view key) override;
  void Write(std::string_view section, std::string_view key, std::string_view value) override;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The same file read a section at a time: the first read of a section takes all its keys in one read of
// the file, and the later ones are answered from them, with the values ProfileKeyStore gives. A render
// reads some twenty keys and would otherwise read the file twenty times. A write goes to the file and
// the section is read again after it.
class ProfileSnapshotStore : public KeyStore {
 public:
  explicit ProfileSnapshotStore(std::string filePath);

  std::string Read(std::string_view section, std::string_view key) override;
  void Write(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  // Lower-case key -> value, the first of two equal keys counting.
  using Section = std::map<std::string, std::string>;
  const Section& SectionOf(std::string_view section);

  ProfileKeyStore file_;
  std::map<std::string, Section> sections_;  // by lower-case name
};

// The longest start of `text` whose code page 932 form has at most maxBytes bytes (whole characters).
std::string CutToCp932Bytes(std::string_view text, size_t maxBytes);

}  // namespace qr
