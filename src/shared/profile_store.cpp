// The settings file as a key store ("Quelm_Rask.ini").
#include "shared/profile_store.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/cp932.h"
#include "win32/files.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace qr {

namespace {

constexpr DWORD kFirstBufferChars = 512;
constexpr DWORD kLargestBufferChars = 1u << 24;

// Bytes in the UTF-8 sequence that starts with `lead` (1 for a stray byte).
size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF8) return 1;
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// A name of its own for every copy: the system may keep a profile file it has read in memory, and must
// not take a later copy for the earlier one.
std::string TemporaryCopyName(const std::string& path) {
  static unsigned counter = 0;
  return path + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + ".tmp~";
}

std::wstring FromAnsi(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0)),
                    L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::string ToAnsi(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  std::string bytes(
      static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)),
      '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, bytes.data(), static_cast<int>(bytes.size()), nullptr,
                      nullptr);
  return bytes;
}

std::wstring Trimmed(std::wstring_view text) {
  const size_t first = text.find_first_not_of(L" \t\r");
  if (first == std::wstring_view::npos) return {};
  return std::wstring(text.substr(first, text.find_last_not_of(L" \t\r") - first + 1));
}

std::wstring Lower(std::wstring text) {
  if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// The values of a profile file as its readers see them: (section, key) in lower case -> the value
// without surrounding blanks; the first of two equal keys counts.
using ProfileValues = std::map<std::pair<std::wstring, std::wstring>, std::wstring>;

ProfileValues ParseProfile(std::string_view bytes) {
  ProfileValues values;
  const std::wstring text = FromAnsi(bytes);
  std::wstring section;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find(L'\n', start), text.size());
    const std::wstring line = Trimmed(std::wstring_view(text).substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line.front() == L';') continue;  // a comment, whatever it holds
    if (!line.empty() && line.front() == L'[') {
      section = Lower(Trimmed(line.substr(1, line.find(L']') - 1)));
    } else if (const size_t equals = line.find(L'='); equals != std::wstring::npos) {
      values.emplace(std::make_pair(section, Lower(Trimmed(line.substr(0, equals)))),
                     Trimmed(line.substr(equals + 1)));
    }
  }
  return values;
}

// The written copy holds every value of the file it was copied from, and the new one: a copy cut short
// by a full disk does not (the system's writer reports success all the same).
bool HoldsEveryValue(std::string_view before, std::string_view after, const std::wstring& section,
                     const std::wstring& key, const std::wstring& value) {
  ProfileValues expected = ParseProfile(before);
  expected[{Lower(section), Lower(key)}] = Trimmed(FromAnsi(ToAnsi(value)));
  const ProfileValues written = ParseProfile(after);
  for (const auto& [name, text] : expected) {
    const auto found = written.find(name);
    if (found == written.end() || found->second != text) return false;
  }
  return true;
}

bool WriteWholeFile(const std::wstring& path, std::string_view bytes) {
  const win::File file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && win::WriteAll(file.get(), bytes);
}

bool FlushedToDisk(const std::wstring& path) {
  const win::File file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && FlushFileBuffers(file.get());
}

// Writes the key into a copy of the file's bytes and checks the copy.
bool WriteCopy(const std::string& copy, std::string_view before, const std::wstring& section,
               const std::wstring& key, const std::wstring& value) {
  const std::wstring wideCopy = win::Wide(copy);
  if (!before.empty() && !WriteWholeFile(wideCopy, before)) return false;
  const bool written =
      WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), wideCopy.c_str());
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, wideCopy.c_str());  // out of any cache
  if (!written || !FlushedToDisk(wideCopy)) return false;
  const std::optional<std::string> after = win::ReadFileBytes(copy);
  return after && HoldsEveryValue(before, *after, section, key, value);
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
  const std::wstring wideSection = win::Wide(section);
  const std::wstring wideKey = win::Wide(key);
  const std::wstring file = win::Wide(path_);
  std::wstring buffer(kFirstBufferChars, L'\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD n = GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), L"", buffer.data(), size,
                                             file.c_str());
    // A value that filled the buffer may have been cut by it: read again with more room.
    if (n + 1 < size || size >= kLargestBufferChars) {
      buffer.resize(std::min(n, size));
      break;
    }
    buffer.assign(static_cast<size_t>(size) * 2, L'\0');
  }
  return CutToCp932Bytes(win::Utf8(buffer), kMaxValueBytes);
}

void ProfileKeyStore::Write(std::string_view section, std::string_view key, std::string_view value) {
  // The system's writer rewrites the whole file, so a write that fails halfway (a full disk) would leave
  // it short. The key goes into a copy, which replaces the file only when written completely. A failing
  // write is silent: the next read finds the previous value or the default.
  if (win::IsReadOnlyFile(path_)) return;
  const std::wstring target = win::Wide(path_);
  std::string before;
  if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
    const std::optional<std::string> bytes = win::ReadFileBytes(path_);
    if (!bytes) return;  // locked by another program
    before = *bytes;
  }
  const std::string copy = TemporaryCopyName(path_);
  if (WriteCopy(copy, before, win::Wide(section), win::Wide(key), win::Wide(value)) &&
      MoveFileExW(win::Wide(copy).c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return;
  DeleteFileW(win::Wide(copy).c_str());
}

namespace {

// Every "key=value" line of a section as the system's reader keeps them, in file order.
std::vector<std::wstring> SectionLines(const std::wstring& file, const std::wstring& section) {
  std::wstring buffer(kFirstBufferChars, L'\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD n = GetPrivateProfileSectionW(section.c_str(), buffer.data(), size, file.c_str());
    // A full buffer ends in size - 2 characters: read again with more room.
    if (n + 2 < size || size >= kLargestBufferChars) {
      buffer.resize(std::min(n, size));
      break;
    }
    buffer.assign(static_cast<size_t>(size) * 2, L'\0');
  }
  std::vector<std::wstring> lines;
  for (size_t start = 0; start < buffer.size();) {
    const size_t end = std::min(buffer.find(L'\0', start), buffer.size());
    if (end > start) lines.emplace_back(buffer, start, end - start);
    start = end + 1;
  }
  return lines;
}

// A value as GetPrivateProfileString gives it: a pair of equal quotes around it is taken off.
std::wstring Unquoted(std::wstring value) {
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

ProfileSnapshotStore::ProfileSnapshotStore(std::string filePath) : file_(std::move(filePath)) {}

const ProfileSnapshotStore::Section& ProfileSnapshotStore::SectionOf(std::string_view section) {
  const std::wstring name = Lower(win::Wide(section));
  if (const auto found = sections_.find(name); found != sections_.end()) return found->second;
  Section keys;
  for (const std::wstring& line : SectionLines(win::Wide(file_.path()), win::Wide(section))) {
    const size_t equals = line.find(L'=');
    // Trimmed here too: a system may give the lines as the file holds them.
    const std::wstring key = Lower(Trimmed(std::wstring_view(line).substr(0, equals)));
    const std::wstring value =
        equals == std::wstring::npos ? std::wstring() : Trimmed(std::wstring_view(line).substr(equals + 1));
    keys.emplace(key, CutToCp932Bytes(win::Utf8(Unquoted(value)), ProfileKeyStore::kMaxValueBytes));
  }
  return sections_.emplace(name, std::move(keys)).first->second;
}

std::string ProfileSnapshotStore::Read(std::string_view section, std::string_view key) {
  const Section& keys = SectionOf(section);
  const auto found = keys.find(Lower(win::Wide(key)));
  return found == keys.end() ? std::string() : found->second;
}

void ProfileSnapshotStore::Write(std::string_view section, std::string_view key, std::string_view value) {
  file_.Write(section, key, value);
  sections_.erase(Lower(win::Wide(section)));
}

}  // namespace qr
