#include "win32/user_folders.h"

#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <knownfolders.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "support/temp_folder.h"
#include "win32/text.h"

namespace qr::win {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const std::optional<std::string>& value) : name_(name) {
    wchar_t old[32768];
    const DWORD length = GetEnvironmentVariableW(name, old, 32768);
    if (length > 0 && length < 32768) old_ = std::wstring(old, length);
    SetEnvironmentVariableW(name, value ? Wide(*value).c_str() : nullptr);
  }
  ~ScopedVariable() { SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const wchar_t* name_;
  std::optional<std::wstring> old_;
};

std::string ShellPath(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::string result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)) && path) result = Utf8(path);
  CoTaskMemFree(path);
  return result;
}

TEST(UserFolderPath, TheSessionsVariableWhenItNamesAFolder) {
  test::TempFolder folder;
  const std::string local = folder.MakeFolder("ローカル");
  const std::string roaming = folder.MakeFolder("roaming");
  const ScopedVariable localVariable(L"LOCALAPPDATA", local + "\\");
  const ScopedVariable roamingVariable(L"APPDATA", roaming);
  EXPECT_EQ(UserFolderPath(UserFolder::LocalAppData), local);
  EXPECT_EQ(UserFolderPath(UserFolder::RoamingAppData), roaming);
}

TEST(UserFolderPath, TheShellsFolderWhenTheVariableIsMissingRelativeOrNamesNoFolder) {
  test::TempFolder folder;
  const std::string local = ShellPath(FOLDERID_LocalAppData);
  ASSERT_FALSE(local.empty());
  for (const std::optional<std::string>& value :
       {std::optional<std::string>(), std::optional<std::string>("AppData\\Local"),
        std::optional<std::string>(folder.File("missing")),
        std::optional<std::string>(folder.Write("a file", "x"))}) {
    const ScopedVariable variable(L"LOCALAPPDATA", value);
    EXPECT_EQ(UserFolderPath(UserFolder::LocalAppData), local) << value.value_or("(unset)");
  }
  const ScopedVariable roaming(L"APPDATA", std::nullopt);
  EXPECT_EQ(UserFolderPath(UserFolder::RoamingAppData), ShellPath(FOLDERID_RoamingAppData));
}

}  // namespace
}  // namespace qr::win
