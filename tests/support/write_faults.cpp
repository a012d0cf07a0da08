#include "support/write_faults.h"

#include <algorithm>

#include "win32/files.h"
#include "win32/text.h"

namespace qr::test {

std::string WriteFaultName(const ::testing::TestParamInfo<WriteFault>& info) {
  switch (info.param) {
    case WriteFault::ReadOnly:
      return "ReadOnlyTarget";
    case WriteFault::Locked:
      return "TargetLockedByAnotherProgram";
    case WriteFault::DiskFull:
      return "DiskFull";
    case WriteFault::FolderMissing:
      return "FolderMissing";
  }
  return "Unknown";
}

FaultScene::FaultScene(WriteFault fault) : fault_(fault) {
  if (fault == WriteFault::DiskFull) {
    folder_ = disk_.folder();
  } else if (fault == WriteFault::FolderMissing) {
    folder_ = temp_.File("gone");
  } else {
    folder_ = temp_.path();
  }
}

FaultScene::~FaultScene() { Disarm(); }

void FaultScene::Disarm() {
  lock_ = win::File();
  if (!readOnly_.empty()) SetFileAttributesW(win::Wide(readOnly_).c_str(), FILE_ATTRIBUTE_NORMAL);
  readOnly_.clear();
}

std::string FaultScene::Put(std::string_view name, std::string_view bytes) const {
  if (fault_ == WriteFault::FolderMissing) return File(name);
  const std::string path = File(name);
  win::File file(CreateFileW(win::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  return file && win::WriteAll(file.get(), bytes) ? path : std::string();
}

bool FaultScene::Arm(const std::string& target) {
  switch (fault_) {
    case WriteFault::ReadOnly:
      readOnly_ = target;
      return SetFileAttributesW(win::Wide(target).c_str(), FILE_ATTRIBUTE_READONLY);
    case WriteFault::Locked:
      lock_ = win::File(CreateFileW(win::Wide(target).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
      return static_cast<bool>(lock_);
    case WriteFault::DiskFull:
      return disk_.Fill();
    case WriteFault::FolderMissing:
      return GetFileAttributesW(win::Wide(folder_).c_str()) == INVALID_FILE_ATTRIBUTES;
  }
  return false;
}

std::vector<std::string> FaultScene::Files() const {
  const std::string where = fault_ == WriteFault::FolderMissing ? temp_.path() : folder_;
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(win::Wide(where + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = win::Utf8(found.cFileName);
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace qr::test
