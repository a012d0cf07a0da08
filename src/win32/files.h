#pragma once
// Whole-file access and file-system operations on UTF-8 paths of any length.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/file_stamp.h"

namespace qr::win {

// The path as the wide API wants it. Paths too long for the classic limit are made absolute and given the
// "\\?\" prefix, so that every call below works on them. Empty for a path containing a NUL character,
// which no file can have.
std::wstring ApiPath(std::string_view utf8);

// The path made absolute against the current folder, however long; the path itself when the system
// cannot resolve it.
std::wstring FullPath(const std::wstring& path);
// Whether both names lead to the same file: compared as full paths, ignoring letter case as the file
// system does, for every letter (not only ASCII), without asking the disk.
bool SamePath(const std::string& a, const std::string& b);

// The whole content of a file; nothing when the path is missing, unreadable, a folder, or larger than
// maxBytes.
std::optional<std::string> ReadFileBytes(const std::string& path, size_t maxBytes = 64u << 20);

// The first `maxBytes` of a file, however large it is, and whether the file holds more; nothing when the
// path is missing, unreadable or a folder.
struct FileStart {
  std::string bytes;
  bool more = false;
};
std::optional<FileStart> ReadFileStart(const std::string& path, size_t maxBytes);

// Replaces the file's content as one step: `write` fills "<path>.tmp~" beside it (true when it wrote
// everything), the file is flushed to disk and then moved over the target. On any failure (a read-only
// or locked target, a full disk, a missing folder) the temporary file is removed, the old file is left
// as it was, and the result is false.
bool ReplaceFileWith(const std::string& path, const std::function<bool(HANDLE file)>& write);
bool ReplaceFileContents(const std::string& path, std::string_view bytes);
// Writes all the bytes to an open file; false on any short write.
bool WriteAll(HANDLE file, std::string_view bytes);

// Deletes one file.
bool DeletePath(const std::string& path);
// Renames or moves a file, replacing a file of the target name (never a read-only one). Across drives
// the file is copied beside the target first, so a failed copy leaves the target as it was.
bool RenamePath(const std::string& from, const std::string& to);
// A file or folder of that name is there, even one another process holds open.
bool PathIsPresent(const std::string& path);
// True when the path names a read-only file.
bool IsReadOnlyFile(const std::string& path);
// The file's size and last write; nothing when it is not there.
std::optional<FileStamp> FileStampOf(const std::string& path);

// The full path of the running program, however long.
std::string ExecutablePath();

// The process's environment variable `name`; empty when it is not set.
std::wstring EnvironmentVariable(const wchar_t* name);

}  // namespace qr::win
