// The settings file as a key store ("Quelm_Rask.ini").
#include "shared/profile_store.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "core/cp932.h"
#include "core/profile_text.h"
#include "win32/files.h"
#include "win32/text.h"

namespace qr {

namespace {

// Bytes in the UTF-8 sequence that starts with `lead` (1 for a stray byte).
size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF8) return 1;
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& ch : lower)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return lower;
}

// The file's bytes; empty for a missing file, nothing for one that cannot be read (locked).
std::optional<std::string> FileBytes(const std::string& path) {
  if (GetFileAttributesW(win::Wide(path).c_str()) == INVALID_FILE_ATTRIBUTES) return std::string();
  return win::ReadFileBytes(path);
}

std::map<std::string, std::string> SectionValues(const std::string& path, std::string_view section) {
  const std::optional<std::string> bytes = FileBytes(path);
  std::map<std::string, std::string> values = bytes ? ProfileSection(*bytes, section) : decltype(values){};
  for (auto& [key, value] : values) value = CutToCp932Bytes(value, ProfileKeyStore::kMaxValueBytes);
  return values;
}

}  // namespace

std::string CutToCp932Bytes(std::string_view text, size_t maxBytes) {
  if (EncodeCp932(text).size() <= maxBytes) return std::string(text);
  size_t bytes = 0;
  size_t end = 0;
  while (end < text.size()) {
    const size_t length =
        std::min(Utf8SequenceLength(static_cast<unsigned char>(text[end])), text.size() - end);
    const size_t encoded = EncodeCp932(text.substr(end, length)).size();
    if (bytes + encoded > maxBytes) break;
    bytes += encoded;
    end += length;
  }
  return std::string(text.substr(0, end));
}

ProfileKeyStore::ProfileKeyStore(std::string filePath) : path_(std::move(filePath)) {}

std::string ProfileKeyStore::Read(std::string_view section, std::string_view key) {
  const std::map<std::string, std::string> values = SectionValues(path_, section);
  const auto found = values.find(LowerAscii(key));
  return found == values.end() ? std::string() : found->second;
}

void ProfileKeyStore::Write(std::string_view section, std::string_view key, std::string_view value) {
  // The new text is written beside the file and replaces it only when written completely, so a full disk
  // never leaves it short. A failing write is silent: the next read finds the previous value or the
  // default.
  if (win::IsReadOnlyFile(path_)) return;
  const std::optional<std::string> before = FileBytes(path_);
  if (!before) return;  // locked by another program
  win::ReplaceFileContents(path_, WithProfileValue(*before, section, key, value));
}

ProfileSnapshotStore::ProfileSnapshotStore(std::string filePath) : file_(std::move(filePath)) {}

const ProfileSnapshotStore::Section& ProfileSnapshotStore::SectionOf(std::string_view section) {
  const std::string name = LowerAscii(section);
  if (const auto found = sections_.find(name); found != sections_.end()) return found->second;
  return sections_.emplace(name, SectionValues(file_.path(), section)).first->second;
}

std::string ProfileSnapshotStore::Read(std::string_view section, std::string_view key) {
  const Section& keys = SectionOf(section);
  const auto found = keys.find(LowerAscii(key));
  return found == keys.end() ? std::string() : found->second;
}

void ProfileSnapshotStore::Write(std::string_view section, std::string_view key, std::string_view value) {
  file_.Write(section, key, value);
  sections_.erase(LowerAscii(section));
}

}  // namespace qr
