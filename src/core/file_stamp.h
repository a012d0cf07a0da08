#pragma once
// What a file was at one moment: a later write over it (another wallpaper, say) changes it.
#include <cstdint>

namespace qr {

struct FileStamp {
  uint64_t size = 0;
  uint64_t written = 0;  // the last write, in the system's 100 ns units
  bool operator==(const FileStamp&) const = default;
};

}  // namespace qr
