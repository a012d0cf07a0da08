#pragma once
// The small RAM disk that the test command maps as a drive (QR_SMALL_DISK, "R:"), for writes that run
// out of room. A test takes a folder of its own on it, puts the files it needs there, then fills the
// rest of the disk; everything goes again when the object does.
//
//   test::SmallDisk disk;
//   if (!disk.ok()) GTEST_SKIP() << test::SmallDisk::kMissing;
#include <string>
#include <string_view>

namespace qr::test {

class SmallDisk {
 public:
  static constexpr std::string_view kMissing =
      "no small RAM disk (QR_SMALL_DISK unset: scripts/test mounts one when run as root)";

  SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  ~SmallDisk();

  bool ok() const { return !folder_.empty(); }
  // A fresh folder on the disk, without a trailing separator.
  const std::string& folder() const { return folder_; }
  std::string File(std::string_view name) const { return folder_ + "\\" + std::string(name); }
  // Takes every free byte of the disk but `leave` (rounded to the disk's pages); with nothing left, true
  // when not even a small file fits any more.
  bool Fill(unsigned leave = 0);
  // Gives back what Fill took.
  void Free();

 private:
  std::string folder_;
  std::string filler_;
};

}  // namespace qr::test
