#pragma once
// Paths in the record files: the list file and the settings file hold code page 932 text of at most
// 255 bytes. A path with characters that code page has not (a Chinese user name, an emoji folder) or a
// longer one would come back as "?" or cut, naming no file; its short (8.3) name, plain ASCII, names the
// same file and is stored instead.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qr {

inline constexpr size_t kMaxRecordedPathBytes = 255;
// Shown (with the path) when a path can be stored neither as it is nor by a short name.
inline constexpr std::string_view kPathNotRecordable = "このﾌｧｲﾙ名は記録できません（短い名前がありません）！";

// The system's short name of an existing file or folder (GetShortPathNameW); the long name itself where
// the volume keeps no short names, empty when the path does not exist.
std::string SystemShortPath(const std::string& path);
using ShortPathFn = std::function<std::string(const std::string&)>;

// True when code page 932 holds the text exactly in at most 255 bytes.
bool FitsRecord(std::string_view path);
// The path as a record file can hold it: itself when it fits, else its short name when that fits;
// nothing when neither does (the volume has no short names, or the short name is too long too).
std::optional<std::string> RecordablePath(const std::string& path,
                                          const ShortPathFn& shortPath = SystemShortPath);

}  // namespace qr
