#pragma once
// The wallpaper list of the main window: `List_Kabe`, its list file "Quelm_Rask.rdm" beside the program,
// files dropped from the shell, the selection rule and the list commands 3 to 7.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/list_file.h"
#include "forms/child_controls.h"
#include "main_window/main_commands.h"
#include "shared/record_paths.h"

namespace qr {

struct AppState;

class WallpaperList {
 public:
  // The controls belong to the main window and must outlive this object.
  WallpaperList(AppState& state, forms::ListBox& List_Kabe, CommandLabels lbl_Cmd,
                const ModalWindows& windows);

  // Takes the list box's selection changes and shell drops (call once the list box exists).
  void Attach();

  // Program folder + "\Quelm_Rask.rdm".
  std::string ListFilePath() const;

  // Start-up: the list commands are disabled, the entries of the list file whose files still exist are
  // listed, and "ﾘｽﾄ全部ｸﾘｱ" is enabled when there are any. A missing list file is created empty.
  // Only the entries the box shows whole are read, checked and listed at once (at most twice as many
  // records checked), so that a long list does not slow the start; the rest follow with Fill_Part() and
  // Fill_Rest(), or as soon as anything reads or changes the list. So does fitting the scroll extent to
  // the listed entries: nothing can be scrolled before the window is shown.
  void Load_List();
  // Lists the next `records` of the entries the load left for later (those whose files still exist),
  // after the listed ones, and fits the scroll extent to the entries listed so far; true while some
  // remain. A window fills a long list part by part, answering the user in between.
  // Reading the list completes it, so this is const: it completes what the list holds, not changes it.
  bool Fill_Part(size_t records) const;
  // Fill_Part() for every entry left.
  void Fill_Rest() const;
  // The load left entries, or the extent of those it listed, for later.
  bool Filling() const { return waitingNext_ < ListRecordCount(waiting_) || !unmeasured_.empty(); }
  // Writes every entry to the list file. The new file is written beside the old one and replaces it only
  // when complete, so a failed save (false) leaves the previous list. A path the file cannot hold goes
  // in by its short name, or is left out when it has none. A list file that existed at start-up but
  // could not be read holds entries never listed: it is first renamed aside (kUnreadableSuffix), and
  // when even that fails (the file is still locked) the list is written beside it (kBesideSuffix).
  bool Save_List();

  // A selection change: an entry selected enables all five list commands.
  void List_Click();
  // Shell drop: of the first 250 names, those of a picture type the system decodes (bitmaps, JPEG and
  // the installed codecs' types, any case; win32/image.h) are added as they are, duplicates included.
  // Pictures of a type whose codec is missing (HEIC, WebP...) are named in one message.
  void Drop_Files(const std::vector<std::string>& names);
  // Ctrl+V: the files copied in the shell are added as a drop adds them; other clipboard contents do
  // nothing.
  void Paste_Files();

  // Commands 3 to 7 (commands 3, 4, 6 and 7 need a selected entry).
  void Preview_Entry();
  void Remove_Entry();
  void Clear_List();
  void Delete_File();
  void Change_Wallpaper();

  // Adds the path unless an entry is exactly equal (case-sensitive); true when added.
  bool Add_If_Absent(const std::string& path);

  std::vector<std::string> Entries() const;

  // Called with the entries just added by the load, a drop or Add_If_Absent (the main window widens the
  // scroll extent for them).
  std::function<void(const std::vector<std::string>& added)> OnEntriesAdded;
  // Short names of the paths the list file cannot hold as they are (the system's; tests replace it).
  ShortPathFn ShortPathOf = SystemShortPath;

  static constexpr std::string_view kUnreadableSuffix = ".unreadable";
  static constexpr std::string_view kBesideSuffix = ".new";

 private:
  std::string SelectedEntry() const;
  void DisableListCommands();
  void EnableClearWhenFilled();
  void EntriesAdded(const std::vector<std::string>& added) const;
  void ForgetWaiting() const;
  // Tells the user about the added paths that cannot be kept in the list file.
  void WarnUnrecordable(const std::vector<std::string>& added) const;
  bool SaveBesideUnreadable(const std::string& bytes);

  AppState& state_;
  forms::ListBox& List_Kabe_;
  CommandLabels lbl_Cmd_;
  const ModalWindows& windows_;
  mutable std::string waiting_;                  // the list file's records past the first screenful
  mutable size_t waitingNext_ = 0;               // the first of them not yet read, checked and listed
  mutable std::vector<std::string> unmeasured_;  // listed at start, the scroll extent not yet fitted
  bool unreadableAtStart_ = false;
  std::string besideName_;  // where the list goes while an unreadable list file cannot be moved aside
};

}  // namespace qr
