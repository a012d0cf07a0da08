// The built programs as Explorer sees them: the version resource of Quelm_Rask.exe and Quelm_Rask.com
// carries the program's one version, and the exe's first icon group holds every size, the large ones
// PNG-compressed, both marked Japanese with a language-neutral manifest that names the Windows versions
// the program supports and the build's own architecture, so common controls 6 load in either build.
// "/version" reports the same version.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "core/version.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "win32/app_icon.h"
#include "win32/app_icon_id.h"
#include "win32/files.h"
#include "win32/text.h"

namespace qr {
namespace {

std::string BuiltProgram(const char* name) {
  const std::string self = win::ExecutablePath();
  return self.substr(0, self.find_last_of('\\') + 1) + name;
}

// One string of the file's Japanese (0411, Unicode) version block; empty when missing.
std::string VersionString(const std::vector<char>& block, const wchar_t* name) {
  const std::wstring query = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) return {};
  return win::Utf8(static_cast<const wchar_t*>(value));
}

std::vector<char> VersionBlock(const std::string& file) {
  const std::wstring path = win::ApiPath(file);
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
  std::vector<char> block(size);
  if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, block.data())) block.clear();
  return block;
}

TEST(ReleaseResources, BothProgramsCarryTheOneVersionInTheirVersionResource) {
  for (const char* name : {"Quelm_Rask.exe", "Quelm_Rask.com"}) {
    SCOPED_TRACE(name);
    const std::vector<char> block = VersionBlock(BuiltProgram(name));
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(VersionString(block, L"FileVersion"), ProgramVersion());
    EXPECT_EQ(VersionString(block, L"ProductVersion"), ProgramVersion());
    EXPECT_EQ(VersionString(block, L"ProductName"), "Quelm_Rask");
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), name);
    EXPECT_NE(VersionString(block, L"FileDescription").find("壁紙"), std::string::npos);
    EXPECT_NE(VersionString(block, L"LegalCopyright").find("MIT"), std::string::npos);

    void* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &fixed, &length));
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    const std::string numbers = std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
                                std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
                                std::to_string(HIWORD(info->dwFileVersionLS));
    EXPECT_EQ(numbers, ProgramVersion());
  }
}

TEST(ReleaseResources, VersionSwitchNamesTheVersionTheCommitAndTheJpegLibrary) {
  test::TempFolder folder;
  for (const char* option : {"/version", "--version"}) {
    const test::ProgramRun run = test::RunProgram(test::CompanionIn(folder.path()), option);
    EXPECT_EQ(run.exitCode, 0u) << option;
    EXPECT_EQ(run.output.rfind("Quelm_Rask " + std::string(ProgramVersion()) + "\r\n", 0), 0u) << run.output;
    EXPECT_NE(run.output.find("コミット: "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("libjpeg-turbo 2."), std::string::npos) << run.output;
  }
}

#pragma pack(push, 2)
struct IconGroupEntry {  // GRPICONDIRENTRY
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

struct ModuleAsData {
  explicit ModuleAsData(const std::string& path)
      : module(LoadLibraryExW(win::ApiPath(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~ModuleAsData() {
    if (module) FreeLibrary(module);
  }
  HMODULE module;
};

TEST(ReleaseResources, TheExesFirstIconGroupHoldsEverySizeWithTheLargeOnesAsPng) {
  const ModuleAsData exe(BuiltProgram("Quelm_Rask.exe"));
  ASSERT_TRUE(exe.module);
  WORD first = 0;
  EnumResourceNamesW(
      exe.module, RT_GROUP_ICON,
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) CALLBACK -> BOOL {
        *reinterpret_cast<WORD*>(found) =
            IS_INTRESOURCE(name) ? LOWORD(reinterpret_cast<ULONG_PTR>(name)) : 0;
        return FALSE;
      },
      reinterpret_cast<LONG_PTR>(&first));
  ASSERT_EQ(first, IDI_QR_APP) << "Explorer shows the first group";

  HRSRC group = FindResourceW(exe.module, MAKEINTRESOURCEW(IDI_QR_APP), RT_GROUP_ICON);
  ASSERT_TRUE(group);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(exe.module, group)));
  const WORD count = *reinterpret_cast<const WORD*>(data + 4);
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(data + 6);
  std::set<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    const int size = entries[i].width == 0 ? 256 : entries[i].width;
    sizes.insert(size);
    HRSRC image = FindResourceW(exe.module, MAKEINTRESOURCEW(entries[i].id), RT_ICON);
    ASSERT_TRUE(image) << size;
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(exe.module, image)));
    const bool png = memcmp(bytes, "\x89PNG", 4) == 0;
    EXPECT_EQ(png, size >= 64) << size << " px";
    EXPECT_EQ(entries[i].bitCount, 32) << size << " px: with its alpha";
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 40, 48, 64, 256}));
}

// The languages one resource is stored under.
std::set<WORD> ResourceLanguages(HMODULE module, LPCWSTR type, LPCWSTR name) {
  std::set<WORD> languages;
  EnumResourceLanguagesW(
      module, type, name,
      [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) CALLBACK -> BOOL {
        reinterpret_cast<std::set<WORD>*>(found)->insert(language);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&languages));
  return languages;
}

TEST(ReleaseResources, BothProgramsMarkTheirResourcesJapaneseAndTheManifestNeutral) {
  const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
  for (const char* name : {"Quelm_Rask.exe", "Quelm_Rask.com"}) {
    SCOPED_TRACE(name);
    const ModuleAsData program(BuiltProgram(name));
    ASSERT_TRUE(program.module);
    EXPECT_EQ(ResourceLanguages(program.module, RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO)),
              std::set<WORD>{japanese});
    EXPECT_EQ(ResourceLanguages(program.module, RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_QR_APP)),
              std::set<WORD>{japanese});
    EXPECT_EQ(ResourceLanguages(program.module, RT_MANIFEST, MAKEINTRESOURCEW(1)),
              std::set<WORD>{MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)});
  }
}

TEST(ReleaseResources, TheManifestNamesEveryWindowsFromVistaToElevenAsSupported) {
  const ModuleAsData exe(BuiltProgram("Quelm_Rask.exe"));
  ASSERT_TRUE(exe.module);
  HRSRC found = FindResourceW(exe.module, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_TRUE(found);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(exe.module, found))),
                             SizeofResource(exe.module, found));
  // Vista, 7, 8, 8.1, and 10 (which 11 shares).
  for (const char* id : {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                         "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                         "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {
    EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"{") + id + "}\"/>"), std::string::npos) << id;
  }
}

TEST(ReleaseResources, AWindowGetsTheIconAtItsDpi) {
  HWND window =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  for (const int dpi : {96, 144}) {
    win::SetWindowIcons(window, dpi);
    for (const bool large : {false, true}) {
      auto* icon =
          reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, large ? ICON_BIG : ICON_SMALL, 0));
      ICONINFO info{};
      ASSERT_TRUE(icon && GetIconInfo(icon, &info)) << dpi;
      BITMAP colour{};
      GetObjectW(info.hbmColor, sizeof(colour), &colour);
      EXPECT_EQ(colour.bmWidth, MulDiv(large ? 32 : 16, dpi, 96)) << dpi << (large ? " large" : " small");
      DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
    }
  }
  DestroyWindow(window);
}

// A manifest naming another architecture than the program's is ignored for its dependencies: the program
// then runs with the old common controls, unthemed and without the features version 6 brings.
TEST(ReleaseResources, TheManifestNamesTheBuildsArchitectureSoCommonControls6Load) {
  const char* const architecture = sizeof(void*) == 8 ? "processorArchitecture=\"amd64\""
                                                      : "processorArchitecture=\"x86\"";
  for (const char* name : {"Quelm_Rask.exe", "Quelm_Rask.com"}) {
    SCOPED_TRACE(name);
    const HMODULE program = LoadLibraryExW(win::ApiPath(BuiltProgram(name)).c_str(), nullptr,
                                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    const HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(program, found))),
                               SizeofResource(program, found));
    FreeLibrary(program);
    size_t named = 0;
    for (size_t at = manifest.find("processorArchitecture="); at != std::string::npos;
         at = manifest.find("processorArchitecture=", at + 1)) {
      EXPECT_EQ(manifest.compare(at, std::strlen(architecture), architecture), 0) << manifest.substr(at, 32);
      ++named;
    }
    EXPECT_EQ(named, 2u);  // the program and its common controls
  }

  // The test program carries the same manifest: a button it makes is common controls 6's, not the
  // system's own older one.
  const HWND button = CreateWindowExW(0, L"Button", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(button, nullptr);
  HMODULE procedureModule = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(GetWindowLongPtrW(button, GWLP_WNDPROC)), &procedureModule);
  DestroyWindow(button);
  EXPECT_EQ(procedureModule, GetModuleHandleW(L"comctl32.dll"));
}

}  // namespace
}  // namespace qr
