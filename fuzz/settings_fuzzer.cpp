// The settings readers over any stored texts: every value read is within what the windows can use, what
// the editor's reader read is written and read back unchanged, and a written number reads back with the
// integer part of the value written.
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <map>

#include "core/numeric.h"
#include "core/settings.h"
#include "fuzz_check.h"

using namespace qr;

namespace {

class MapStore : public KeyStore {
 public:
  std::map<std::string, std::string, std::less<>> values;
  std::string Read(std::string_view section, std::string_view key) override {
    const auto it = values.find(key);
    return section == kSettingsSection && it != values.end() ? it->second : std::string();
  }
  void Write(std::string_view section, std::string_view key, std::string_view value) override {
    FUZZ_CHECK(section == kSettingsSection);
    values[std::string(key)] = value;
  }
};

constexpr const char* kKeys[] = {
    "G_Kabe",    "Get_File_Path", "G_Kabe_File", "G_Pos",     "Get_Data_Path", "Get_Kabe_Path",
    "G_Cols_w1", "G_Cols_w2",     "G_Cols_w3",   "G_Cols_w4", "G_Cols_w5",     "G_Rows",
    "G_Cols",    "G_Left",        "G_Top",       "Trans",     "Common"};

void CheckEditorRanges(const AppState& state) {
  FUZZ_CHECK(state.G_Rows >= 1 && state.G_Rows <= kMaxRows);
  FUZZ_CHECK(state.G_Cols >= 1 && state.G_Cols <= kMaxCols);
  for (int col = 1; col <= kMaxCols; ++col)
    FUZZ_CHECK(state.G_Cols_w[col] >= 0 && state.G_Cols_w[col] <= kMaxColWidth);
}

void CheckNumberForm(double value) {
  const std::string text = FormatSettingNumber(value);
  FUZZ_CHECK(text.size() >= 2 && (text[0] == ' ' || text[0] == '-'));
  FUZZ_CHECK(text.find_first_of("eE") == std::string::npos);
  const double floored = std::isfinite(value) ? std::floor(value) : 0;
  if (floored >= INT32_MIN && floored <= INT32_MAX)
    FUZZ_CHECK(ParseSettingNumber32(text) == static_cast<int32_t>(floored));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const double number = std::bit_cast<double>(input.ConsumeIntegral<uint64_t>());
  MapStore store;
  for (const char* key : kKeys) store.values[key] = input.ConsumeRandomLengthString(300);

  AppState state;
  state.Program_Folder = "C:\\Tools";
  Load_Main_Settings(store, state, [](const std::string& path) { return path.size() % 2 == 0; });
  FUZZ_CHECK(state.Chosen_File.empty() || state.Chosen_File == store.values["G_Kabe_File"]);
  FUZZ_CHECK(!state.Get_File_Path.empty() && !state.Get_Data_Path.empty() && !state.Get_Kabe_Path.empty());
  Load_Editor_Settings(store, state);
  CheckEditorRanges(state);

  MapStore written;
  Save_Editor_Settings(written, state, state.G_Left, state.G_Top);
  AppState reread;
  Load_Editor_Settings(written, reread);
  FUZZ_CHECK(reread.G_Cols_w == state.G_Cols_w && reread.G_Rows == state.G_Rows &&
             reread.G_Cols == state.G_Cols);
  FUZZ_CHECK(reread.G_Left == state.G_Left && reread.G_Top == state.G_Top);
  FUZZ_CHECK(reread.Trans == state.Trans && reread.Common == state.Common);

  CheckNumberForm(number);
  for (const char* key : kKeys) {
    const std::optional<int32_t> wide = ParseSettingNumber32(store.values[key]);
    const std::optional<int16_t> narrow = ParseSettingNumber(store.values[key]);
    FUZZ_CHECK(!narrow || wide == *narrow);
    FUZZ_CHECK(narrow || !wide || *wide < INT16_MIN || *wide > INT16_MAX);
  }
  return 0;
}
