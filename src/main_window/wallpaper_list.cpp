// The main window's wallpaper list: preview, install, remove, recycle.
#include "main_window/wallpaper_list.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <optional>

#include "core/app_state.h"
#include "core/list_file.h"
#include "core/paths.h"
#include "core/picture_types.h"
#include "core/settings.h"
#include "shared/helpers.h"
#include "win32/clipboard.h"
#include "win32/files.h"
#include "win32/image.h"
#include "win32/message_box.h"
#include "win32/wallpaper.h"

namespace qr {

namespace {

constexpr int kPreviewCommand = 3;
constexpr int kClearCommand = 5;
constexpr int kLastListCommand = 7;
constexpr size_t kMaxDroppedFiles = 250;

// The list load's existence test: a file (not a folder) of that name is there. Asking for its
// attributes, unlike opening it, needs no round trip to a file server or Wine's server, which makes it
// cheap enough for lists of thousands of entries; a file present but not readable stays listed (it
// then previews as no picture, like any unusable file).
bool FileIsPresent(const std::string& path) {
  std::string name = path;
  if (!name.empty() && name.back() == '\\') name.pop_back();
  const std::wstring wide = name.empty() ? std::wstring() : win::ApiPath(name);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return !wide.empty() && GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data) &&
         !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string TrimBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// How many entries the list box shows whole (at least one). The start lists no more: one entry in the
// partly shown row below them would bring in the scroll bar, whose first drawing, as the window is shown,
// cost the start a few milliseconds; it comes with the rest of the list instead.
size_t WholeRows(HWND list) {
  RECT client{};
  const LRESULT itemHeight = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
  if (!list || !GetClientRect(list, &client) || itemHeight <= 0 || itemHeight == LB_ERR) return 1;
  return static_cast<size_t>(std::max<LONG>(client.bottom / static_cast<LONG>(itemHeight), 1));
}

// The first of "<path><suffix>", "<path><suffix>-2", ... that names nothing yet.
std::string FreeName(const std::string& path, std::string_view suffix) {
  const std::string stem = path + std::string(suffix);
  std::string name = stem;
  for (int n = 2; win::PathIsPresent(name) && n < 1000; ++n) name = stem + "-" + std::to_string(n);
  return name;
}

}  // namespace

WallpaperList::WallpaperList(AppState& state, forms::ListBox& List_Kabe, CommandLabels lbl_Cmd,
                             const ModalWindows& windows)
    : state_(state), List_Kabe_(List_Kabe), lbl_Cmd_(lbl_Cmd), windows_(windows) {}

void WallpaperList::Attach() {
  List_Kabe_.OnClick = [this] { List_Click(); };
  List_Kabe_.OnFilesDropped = [this](const std::vector<std::string>& names) { Drop_Files(names); };
  List_Kabe_.SetAcceptFiles(true);
}

std::string WallpaperList::ListFilePath() const {
  return FileInProgramFolder(DataFolder(state_), kListFileName);
}

void WallpaperList::Load_List() {
  DisableListCommands();
  const std::string path = ListFilePath();
  const auto bytes = win::ReadFileBytes(path);
  unreadableAtStart_ = !bytes && win::PathIsPresent(path);
  if (!bytes && !unreadableAtStart_) win::ReplaceFileContents(path, "");
  ForgetWaiting();
  unmeasured_.clear();
  if (bytes) {
    const size_t count = ListRecordCount(*bytes);
    const size_t screenful = WholeRows(List_Kabe_.hwnd());
    // At most two screenfuls of records are checked: a list whose files are mostly gone must not make
    // the start check them all.
    const size_t examined = std::min(count, 2 * screenful);
    std::vector<std::string> present;
    size_t next = 0;
    for (; next < examined && present.size() < screenful; ++next) {
      std::string entry = DecodeListRecord(*bytes, next);
      if (FileIsPresent(entry)) present.push_back(std::move(entry));
    }
    waiting_ = bytes->substr(next * kListRecordSize, (count - next) * kListRecordSize);
    List_Kabe_.AddItems(present);
    unmeasured_ = std::move(present);
  }
  EnableClearWhenFilled();
}

bool WallpaperList::Fill_Part(size_t records) const {
  if (!Filling()) return false;
  const size_t count = ListRecordCount(waiting_);
  const size_t end = waitingNext_ + std::min(records, count - waitingNext_);
  std::vector<std::string> present;
  for (; waitingNext_ < end; ++waitingNext_) {
    std::string entry = DecodeListRecord(waiting_, waitingNext_);
    if (FileIsPresent(entry)) present.push_back(std::move(entry));
  }
  if (waitingNext_ == count) ForgetWaiting();
  List_Kabe_.AddItems(present);
  std::vector<std::string> added = std::move(unmeasured_);  // listed by the load, measured only now
  unmeasured_.clear();
  added.insert(added.end(), std::make_move_iterator(present.begin()), std::make_move_iterator(present.end()));
  if (!added.empty()) EntriesAdded(added);
  return Filling();
}

void WallpaperList::Fill_Rest() const { Fill_Part(ListRecordCount(waiting_)); }

void WallpaperList::ForgetWaiting() const {
  waiting_.clear();
  waitingNext_ = 0;
}

bool WallpaperList::Save_List() {
  std::vector<std::string> records;
  for (const std::string& entry : Entries()) {
    if (const std::optional<std::string> recordable = RecordablePath(entry, ShortPathOf))
      records.push_back(*recordable);
  }
  const std::string bytes = EncodeListFile(records);
  if (unreadableAtStart_ && win::PathIsPresent(ListFilePath())) return SaveBesideUnreadable(bytes);
  return win::ReplaceFileContents(ListFilePath(), bytes);
}

bool WallpaperList::SaveBesideUnreadable(const std::string& bytes) {
  const std::string path = ListFilePath();
  if (win::RenamePath(path, FreeName(path, kUnreadableSuffix))) {
    unreadableAtStart_ = false;
    return win::ReplaceFileContents(path, bytes);
  }
  if (besideName_.empty()) besideName_ = FreeName(path, kBesideSuffix);
  return win::ReplaceFileContents(besideName_, bytes);
}

void WallpaperList::List_Click() {
  if (List_Kabe_.ListIndex() >= 0) EnableCommands(lbl_Cmd_, kPreviewCommand, kLastListCommand, true);
}

void WallpaperList::Drop_Files(const std::vector<std::string>& names) {
  Fill_Rest();  // dropped files go after every entry of the file
  const size_t count = std::min(names.size(), kMaxDroppedFiles);
  std::vector<std::string> added;
  std::vector<std::string> undecodable;
  for (size_t i = 0; i < count; ++i) {
    if (HasExtensionIn(names[i], win::DecodablePictureExtensions()))
      added.push_back(names[i]);
    else if (IsCodecDependentPicture(names[i]))
      undecodable.push_back(names[i]);
  }
  List_Kabe_.AddItems(added);
  DisableListCommands();
  EnableClearWhenFilled();
  WarnMissingCodec(OwnerOf(List_Kabe_.hwnd()), undecodable);
  if (added.empty()) return;
  EntriesAdded(added);
  WarnUnrecordable(added);
}

void WallpaperList::Paste_Files() {
  const std::vector<std::string> names = win::ClipboardFiles(List_Kabe_.hwnd());
  if (!names.empty()) Drop_Files(names);
}

void WallpaperList::WarnUnrecordable(const std::vector<std::string>& added) const {
  std::string lost;
  for (const std::string& path : added) {
    if (!RecordablePath(path, ShortPathOf)) lost += "\n" + path;
  }
  if (lost.empty()) return;
  // The window in front: the editor when its create command adds the wallpaper it saved.
  HWND owner = GetActiveWindow();
  win::ShowMessage(owner ? owner : OwnerOf(List_Kabe_.hwnd()), std::string(kPathNotRecordable) + lost,
                   win::kWarningStyle);
}

void WallpaperList::Preview_Entry() {
  if (List_Kabe_.ListIndex() < 0) return;
  state_.Kabe_File = SelectedEntry();
  OpenPreview(windows_, state_, OwnerOf(List_Kabe_.hwnd()));
}

void WallpaperList::Remove_Entry() {
  const int index = List_Kabe_.ListIndex();
  if (index < 0) return;
  List_Kabe_.RemoveItem(index);
  DisableListCommands();
  EnableClearWhenFilled();
}

void WallpaperList::Clear_List() {
  ForgetWaiting();
  unmeasured_.clear();
  List_Kabe_.Clear();
  DisableListCommands();
}

void WallpaperList::Delete_File() {
  const int index = List_Kabe_.ListIndex();
  if (index < 0) return;
  const std::string path = TrimBlanks(SelectedEntry());
  const int answer =
      win::ShowMessage(OwnerOf(List_Kabe_.hwnd()), "ﾌｧｲﾙを削除しますか？\r" + path, win::kQuestionStyle);
  if (answer != IDYES) return;
  // A file already gone is not handed to the shell, which would only report it missing.
  const int recycled = win::PathIsPresent(path) ? Recycle_Files({path}) : 0;
  if (win::PathIsPresent(path)) {
    // Declining the shell's own question keeps the file: it is not then deleted for good behind the
    // user's back. Otherwise (no recycle bin for it) it is deleted directly.
    if (recycled == ERROR_CANCELLED) return;
    win::DeletePath(path);
    if (win::PathIsPresent(path)) return;  // could not be deleted: the entry stays, as the file does
  }
  List_Kabe_.RemoveItem(index);
  DisableListCommands();
}

void WallpaperList::Change_Wallpaper() {
  if (List_Kabe_.ListIndex() < 0) return;
  // A file that is no picture would leave the desktop without a wallpaper.
  if (!UsablePicture(OwnerOf(List_Kabe_.hwnd()), SelectedEntry())) return;
  win::SetDesktopWallpaper(SelectedEntry());
  DisableListCommands();
}

bool WallpaperList::Add_If_Absent(const std::string& path) {
  const std::vector<std::string> entries = Entries();
  if (std::find(entries.begin(), entries.end(), path) != entries.end()) return false;
  List_Kabe_.AddItem(path);
  EntriesAdded({path});
  WarnUnrecordable({path});
  return true;
}

std::vector<std::string> WallpaperList::Entries() const {
  Fill_Rest();
  return List_Kabe_.Items();
}

std::string WallpaperList::SelectedEntry() const { return List_Kabe_.List(List_Kabe_.ListIndex()); }

void WallpaperList::DisableListCommands() {
  EnableCommands(lbl_Cmd_, kPreviewCommand, kLastListCommand, false);
}

void WallpaperList::EntriesAdded(const std::vector<std::string>& added) const {
  if (OnEntriesAdded) OnEntriesAdded(added);
}

void WallpaperList::EnableClearWhenFilled() {
  if (List_Kabe_.ListCount() > 0) lbl_Cmd_[kClearCommand].SetEnabled(true);
}

}  // namespace qr
