#pragma once
// The ways a file write can fail, set up for real: the target read-only, the target held open by another
// program without sharing, the disk full (on the small RAM disk, see small_disk.h), the folder missing.
// A test puts the previous file in Folder(), arms the fault on it, runs the write and checks that the
// previous file is as it was and that Files() lists nothing new (no temporary file left behind).
//
//   class SaveFaults : public ::testing::TestWithParam<test::WriteFault> {};
//   TEST_P(SaveFaults, ...) {
//     test::FaultScene scene(GetParam());
//     if (scene.Skipped()) GTEST_SKIP() << scene.SkipReason();
//     ...
//   }
//   INSTANTIATE_TEST_SUITE_P(All, SaveFaults, test::kAllWriteFaults, test::WriteFaultName);
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/small_disk.h"
#include "support/temp_folder.h"
#include "win32/handles.h"

namespace qr::test {

enum class WriteFault { ReadOnly, Locked, DiskFull, FolderMissing };

inline const auto kAllWriteFaults = ::testing::Values(WriteFault::ReadOnly, WriteFault::Locked,
                                                      WriteFault::DiskFull, WriteFault::FolderMissing);
std::string WriteFaultName(const ::testing::TestParamInfo<WriteFault>& info);

class FaultScene {
 public:
  explicit FaultScene(WriteFault fault);
  FaultScene(const FaultScene&) = delete;
  FaultScene& operator=(const FaultScene&) = delete;
  ~FaultScene();

  bool Skipped() const { return fault_ == WriteFault::DiskFull && !disk_.ok(); }
  std::string_view SkipReason() const { return SmallDisk::kMissing; }
  WriteFault fault() const { return fault_; }

  // The folder the target goes in (for FolderMissing one that does not exist, below a real one).
  const std::string& Folder() const { return folder_; }
  std::string File(std::string_view name) const { return folder_ + "\\" + std::string(name); }
  // Writes a file into Folder() (nothing for FolderMissing); returns its path.
  std::string Put(std::string_view name, std::string_view bytes) const;
  // Makes writing to `target` fail; false when that could not be arranged.
  bool Arm(const std::string& target);
  // Lets the target be read again (the lock and the read-only mark go; a full disk stays full).
  void Disarm();
  // The names in the folder that holds Folder() (FolderMissing) or in Folder(), sorted.
  std::vector<std::string> Files() const;

 private:
  WriteFault fault_;
  TempFolder temp_;
  SmallDisk disk_;
  std::string folder_;
  std::string readOnly_;
  win::File lock_;
};

}  // namespace qr::test
