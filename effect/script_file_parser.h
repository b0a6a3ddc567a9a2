#pragma once
// Script files cut into named scripts.
//
// A script file holds one script, named after the file, or several: a bundle (the program's
// own script.obj2 and its siblings) or a file whose name begins with "@" is cut at every
// line that begins with "@", and the rest of that line names the script below it. Legacy
// files (.obj, .anm, ...) are in the legacy code page and are brought to UTF-8 first.
//
// Script files are outside data that users download and share: the reader bounds what it
// reads, never throws, and turns any text into well-formed names.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Effect {

// One script of a file: its name (the registry key of the kind it becomes) and its text
// (UTF-8, line ends as the file has them).
struct ScriptEntry {
  std::string name;
  std::string text;
};
using ScriptEntryList = std::vector<ScriptEntry>;

class ScriptFileParser {
 public:
  // A script file larger than this is refused: no script comes near it, and the whole file
  // is held in memory (three times over for a legacy file while it is converted).
  static constexpr uint64_t kMaxFileSize = 16u << 20;

  // The scripts of the file at an expanded path, in file order. A file that cannot be read
  // (missing, unreadable, too large) is logged at WARN, "script file load faild.\n<reason>",
  // and gives no scripts. Never throws.
  static ScriptEntryList loadScriptFile(const std::string& path, bool isLegacy, bool isBundle);

  // The scripts of a text already read and in UTF-8. `baseName` is the file's name without
  // folder and extension, empty for a bundle. A bundle or a base name beginning with "@" is
  // cut at its name lines; anything else is one script named `baseName`.
  static ScriptEntryList splitScriptText(std::string text, std::string_view baseName,
                                         bool isBundle);
};

}  // namespace Effect
