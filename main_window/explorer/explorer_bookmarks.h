#pragma once
// The media explorers' bookmarks: one ordered list shared by every explorer, its order for
// display, the name proposed for a new bookmark, and the file explorer.ini that keeps it.
#include <string>
#include <string_view>
#include <vector>

namespace Component {

struct ExplorerBookmark {
  std::string name;
  std::string path;  // the folder as the explorer reported it (not expanded)
  bool operator==(const ExplorerBookmark&) const = default;
};

// The one list of the process, in its current order.
std::vector<ExplorerBookmark>& explorerBookmarks();

// The name order of the list: case, width, kana type and symbols are ignored and runs of
// digits compare as numbers ("clip2" before "clip10"). Negative, 0 or positive.
int compareBookmarkNames(std::string_view a, std::string_view b);
// Sorts the list by name in place; names that compare equal keep no fixed order.
void sortBookmarks(std::vector<ExplorerBookmark>& list);

// The proposed name of a folder: its last part up to its last "."; empty for a root.
std::string proposeBookmarkName(std::string_view path);

// Replaces the list by the file's "bookmark.0", "bookmark.1", ... sections up to the first
// missing index. A section without a readable "name" and "path" ends the reading there (the
// failure is logged); a missing file gives an empty list.
void loadBookmarkFile(std::vector<ExplorerBookmark>& list, const std::string& path);
// Writes the list as "[bookmark.i]", "name=...", "path=..." lines in list order. A failure is
// logged and dropped.
void saveBookmarkFile(const std::vector<ExplorerBookmark>& list, const std::string& path);

// %AppData%/explorer.ini.
inline constexpr const char* kBookmarkFile = "%AppData%\\explorer.ini";

}  // namespace Component
