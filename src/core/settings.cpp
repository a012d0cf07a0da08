// The settings read from and written to a key store.
#include "core/settings.h"

#include <algorithm>
#include <optional>

#include "core/numeric.h"
#include "core/wallpaper_job.h"

namespace qr {

namespace {

// Reads the settings of one routine in order. A malformed number stops it: that key and every later one
// are left as they were.
class SettingsReader {
 public:
  explicit SettingsReader(KeyStore& store) : store_(store) {}

  void Number(std::string_view key, int16_t& target, int16_t defaultValue) {
    Read(key, target, defaultValue, ParseSettingNumber);
  }
  // Window positions in twips: a second monitor or a large screen puts them beyond 16 bits.
  void Position(std::string_view key, int32_t& target, int32_t defaultValue) {
    Read(key, target, defaultValue, ParseSettingNumber32);
  }

  // Text values are taken as they are; empty means the default.
  std::optional<std::string> Text(std::string_view key) {
    if (stopped_) return std::nullopt;
    return store_.Read(kSettingsSection, key);
  }

  void Folder(std::string_view key, std::string& target, const std::string& defaultValue) {
    if (const std::optional<std::string> text = Text(key)) target = text->empty() ? defaultValue : *text;
  }

 private:
  template <typename Int, typename Parse>
  void Read(std::string_view key, Int& target, Int defaultValue, Parse parse) {
    if (stopped_) return;
    const std::string text = store_.Read(kSettingsSection, key);
    if (text.empty()) {
      target = defaultValue;
      return;
    }
    const std::optional<Int> value = parse(text);
    if (!value) {
      stopped_ = true;
      return;
    }
    target = *value;
  }

  KeyStore& store_;
  bool stopped_ = false;
};

void WriteNumber(KeyStore& store, std::string_view key, double value) {
  store.Write(kSettingsSection, key, FormatSettingNumber(value));
}

void WriteText(KeyStore& store, std::string_view key, std::string_view value) {
  store.Write(kSettingsSection, key, value);
}

std::string WidthKey(int col) { return "G_Cols_w" + std::to_string(col); }

// Rows, columns and widths index fixed arrays and lay out the grid, so a hand-edited file must not push
// them outside what the editor can show.
void KeepTableSettingsInRange(AppState& state) {
  state.G_Rows = std::clamp<int16_t>(state.G_Rows, 1, kMaxRows);
  state.G_Cols = std::clamp<int16_t>(state.G_Cols, 1, kMaxCols);
  for (int col = 1; col <= kMaxCols; ++col)
    state.G_Cols_w[col] = std::clamp<int16_t>(state.G_Cols_w[col], 0, kMaxColWidth);
}

// The text effect's keys came after the others: a file without them, or with values no menu item gives,
// means no effect and the middle opacity.
void ReadTextEffect(KeyStore& store, AppState& state) {
  auto read = [&store](std::string_view key) {
    return ParseSettingNumber(store.Read(kSettingsSection, key)).value_or(int16_t{-1});
  };
  state.Text_Effect = static_cast<int16_t>(TextEffectOf(read("Text_Effect")));
  state.Panel_Alpha = PanelAlphaOf(read("Panel_Alpha"));
}

}  // namespace

std::string ProgramFolderOf(std::string_view exePath) {
  const size_t pos = exePath.find_last_of("\\/");
  if (pos == std::string_view::npos) return {};
  std::string folder(exePath.substr(0, pos));
  if (folder.empty() || folder.back() == ':') folder += exePath[pos];  // a drive root keeps its separator
  return folder;
}

std::string FileInProgramFolder(std::string_view programFolder, std::string_view name) {
  std::string path(programFolder);
  path += '\\';
  path += name;
  return path;
}

void Load_Main_Settings(KeyStore& store, AppState& state, const FileExistsFn& fileExists) {
  // A folder never remembered yet is the program folder, also when a bad key stops the reading before it.
  for (std::string* folder : {&state.Get_File_Path, &state.Get_Data_Path, &state.Get_Kabe_Path})
    if (folder->empty()) *folder = state.Program_Folder;
  SettingsReader reader(store);
  reader.Number("G_Kabe", state.G_Kabe, 2);
  reader.Folder("Get_File_Path", state.Get_File_Path, state.Program_Folder);
  if (const std::optional<std::string> chosen = reader.Text("G_Kabe_File"))
    state.Chosen_File = (!chosen->empty() && fileExists(*chosen)) ? *chosen : std::string();
  reader.Number("G_Pos", state.G_Pos, 0);
  reader.Folder("Get_Data_Path", state.Get_Data_Path, state.Program_Folder);
  reader.Folder("Get_Kabe_Path", state.Get_Kabe_Path, state.Program_Folder);
}

void Save_Main_Settings(KeyStore& store, const AppState& state) {
  WriteText(store, "Get_File_Path", state.Get_File_Path);
  WriteNumber(store, "G_Kabe", state.G_Kabe);
  WriteText(store, "G_Kabe_File", state.Chosen_File);
  WriteNumber(store, "G_Pos", state.G_Pos);
  WriteText(store, "Get_Data_Path", state.Get_Data_Path);
  WriteText(store, "Get_Kabe_Path", state.Get_Kabe_Path);
}

void Load_Editor_Settings(KeyStore& store, AppState& state) {
  SettingsReader reader(store);
  for (int col = 1; col <= kMaxCols; ++col) reader.Number(WidthKey(col), state.G_Cols_w[col], 80);
  reader.Number("G_Rows", state.G_Rows, 10);
  reader.Number("G_Cols", state.G_Cols, 2);
  reader.Position("G_Left", state.G_Left, -1);
  reader.Position("G_Top", state.G_Top, -1);
  reader.Number("Trans", state.Trans, 0);
  reader.Number("Common", state.Common, 0);
  KeepTableSettingsInRange(state);
  ReadTextEffect(store, state);
}

void Save_Editor_Settings(KeyStore& store, const AppState& state, double leftTwips, double topTwips) {
  for (int col = 1; col <= kMaxCols; ++col) WriteNumber(store, WidthKey(col), state.G_Cols_w[col]);
  WriteNumber(store, "G_Rows", state.G_Rows);
  WriteNumber(store, "G_Cols", state.G_Cols);
  WriteNumber(store, "G_Left", leftTwips);
  WriteNumber(store, "G_Top", topTwips);
  WriteNumber(store, "Trans", state.Trans);
  WriteNumber(store, "Common", state.Common);
  WriteNumber(store, "Text_Effect", state.Text_Effect);
  WriteNumber(store, "Panel_Alpha", state.Panel_Alpha);
}

}  // namespace qr
