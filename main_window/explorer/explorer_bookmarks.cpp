#include "main_window/explorer/explorer_bookmarks.h"

#include <algorithm>
#include <charconv>
#include <exception>

#include "system/file.h"
#include "system/ini_file.h"
#include "system/log.h"
#include "ui/dialogs/dialog_list_view.h"

namespace Component {
namespace {

// "bookmark.<index>", the section of one entry.
std::string sectionName(int index) {
  char digits[16];
  const auto written = std::to_chars(digits, digits + sizeof digits, index);
  return "bookmark." + std::string(digits, written.ptr);
}

}  // namespace

std::vector<ExplorerBookmark>& explorerBookmarks() {
  static std::vector<ExplorerBookmark> list;
  return list;
}

int compareBookmarkNames(std::string_view a, std::string_view b) {
  // The order of the program's sortable lists: case, width, kana type and symbols left out,
  // runs of digits compared as numbers.
  return Dialog::compareListTexts(a, b);
}

void sortBookmarks(std::vector<ExplorerBookmark>& list) {
  std::sort(list.begin(), list.end(), [](const ExplorerBookmark& a, const ExplorerBookmark& b) {
    return compareBookmarkNames(a.name, b.name) < 0;
  });
}

std::string proposeBookmarkName(std::string_view path) {
  while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.remove_suffix(1);
  const std::size_t slash = path.find_last_of("/\\");
  std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
  // A drive or file-system root has no name of its own.
  if (last.empty() || (last.size() == 2 && last[1] == ':')) return {};
  const std::size_t dot = last.rfind('.');
  return std::string(dot == std::string_view::npos ? last : last.substr(0, dot));
}

void loadBookmarkFile(std::vector<ExplorerBookmark>& list, const std::string& path) {
  list.clear();
  System::IniFile file;
  file.loadFile(path);
  try {
    for (int i = 0;; ++i) {
      const System::IniFile::SectionRef section = file.getSection(sectionName(i));
      if (!section.exists()) break;
      ExplorerBookmark bookmark;
      bookmark.name = section.getValue("name").toString();
      bookmark.path = section.getValue("path").toString();
      list.push_back(std::move(bookmark));
    }
  } catch (const std::exception&) {
    // Logged where it was made; the entries read before it stay.
  }
}

void saveBookmarkFile(const std::vector<ExplorerBookmark>& list, const std::string& path) {
  try {
    const std::string expanded = System::FileName::expandVariable(path);
    System::Log::verbose("System::IniFile::Save::Save", "saveFile : %s", expanded.c_str());
    std::string text;
    for (std::size_t i = 0; i < list.size(); ++i) {
      text += "[" + sectionName(static_cast<int>(i)) + "]\r\n";
      text += "name=" + list[i].name + "\r\n";
      text += "path=" + list[i].path + "\r\n";
    }
    // Written aside and renamed into place: a failure half-way keeps the old bookmarks.
    System::SafeFileWriter file(expanded);
    file.write(text);
    file.commit();
  } catch (const std::exception&) {
    // Logged where it was made; the list in memory is as it was.
  }
}

}  // namespace Component
