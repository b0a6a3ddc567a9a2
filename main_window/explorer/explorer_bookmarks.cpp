#include "main_window/explorer/explorer_bookmarks.h"

#include <QList>
#include <QString>
#include <algorithm>
#include <charconv>
#include <exception>

#include "system/file.h"
#include "system/ini_file.h"
#include "system/log.h"

namespace Component {
namespace {

// One character as the name order sees it: full-width forms as their plain forms,
// hiragana as katakana, then folded case.
char32_t foldForOrder(char32_t c) {
  if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;
  else if (c == 0x3000) c = U' ';
  else if (c >= 0x3041 && c <= 0x3096) c += 0x60;
  return QChar::toCaseFolded(c);
}

// The characters that count for the order: letters and digits, folded.
std::u32string orderKey(std::string_view text) {
  std::u32string key;
  for (char32_t c : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toUcs4()) {
    const char32_t folded = foldForOrder(c);
    if (QChar::isLetterOrNumber(folded)) key.push_back(folded);
  }
  return key;
}

bool isDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

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
  const std::u32string x = orderKey(a), y = orderKey(b);
  std::size_t i = 0, j = 0;
  while (i < x.size() && j < y.size()) {
    if (isDigit(x[i]) && isDigit(y[j])) {
      // A run of digits is one number: fewer significant digits is smaller.
      std::size_t ei = i, ej = j;
      while (ei < x.size() && isDigit(x[ei])) ++ei;
      while (ej < y.size() && isDigit(y[ej])) ++ej;
      std::size_t si = i, sj = j;
      while (si + 1 < ei && x[si] == U'0') ++si;
      while (sj + 1 < ej && y[sj] == U'0') ++sj;
      if (ei - si != ej - sj) return ei - si < ej - sj ? -1 : 1;
      const int order = x.compare(si, ei - si, y, sj, ej - sj);
      if (order != 0) return order < 0 ? -1 : 1;
      i = ei;
      j = ej;
      continue;
    }
    if (x[i] != y[j]) return x[i] < y[j] ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < x.size()) return 1;
  if (j < y.size()) return -1;
  return 0;
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
    System::File file;
    file.open(expanded, System::File::WriteExclusive);
    file.write(text.data(), text.size());
  } catch (const std::exception&) {
    // Logged where it was made; the list in memory is as it was.
  }
}

}  // namespace Component
