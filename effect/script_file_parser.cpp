#include "effect/script_file_parser.h"

#include <exception>
#include <utility>

#include "effect/legacy_text.h"
#include "effect/script_lines.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/log.h"
#include "system/text.h"

namespace Effect {

namespace {

constexpr const char* kPlace = "Effect::ScriptFileParser::loadScriptFile";

std::string readWholeFile(const std::string& path) {
  System::File file;
  file.open(path, System::File::Read);
  const uint64_t size = file.size();
  // Checked before anything is allocated for it.
  if (size > ScriptFileParser::kMaxFileSize)
    throw System::makeException(kPlace, "script file too large.", path);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!bytes.empty()) file.readBlock(bytes.data(), bytes.size());
  return bytes;
}

}  // namespace

ScriptEntryList ScriptFileParser::splitScriptText(std::string text, std::string_view baseName,
                                                  bool isBundle) {
  ScriptEntryList entries;
  const bool split = isBundle || (!baseName.empty() && baseName.front() == '@');
  if (!split) {
    entries.push_back({std::string(baseName), std::move(text)});
    return entries;
  }
  // Walks the lines; a name line closes the script above it (text before the first name
  // line belongs to none) and opens the next.
  const std::string_view all(text);
  bool open = false;
  std::string name;
  std::size_t bodyStart = 0;
  const auto close = [&](std::size_t bodyEnd) {
    // A name line with nothing but blanks after its "@" gives no script.
    if (open && !name.empty())
      entries.push_back({name + std::string(baseName),
                         std::string(all.substr(bodyStart, bodyEnd - bodyStart))});
  };
  for (std::size_t start = 0; start < all.size();) {
    const std::size_t end = scriptLineEnd(all, start);
    const std::size_t next = scriptNextLine(all, end);
    if (all[start] == '@') {
      close(start);
      name = System::sanitizeUtf8(all.substr(start + 1, end - start - 1));
      System::trimSpaces(name);
      open = true;
      bodyStart = next;
    }
    start = next;
  }
  close(all.size());
  return entries;
}

ScriptEntryList ScriptFileParser::loadScriptFile(const std::string& path, bool isLegacy,
                                                 bool isBundle) {
  try {
    // File names are bytes; the name becomes a registry key, so it is made valid UTF-8.
    const std::string baseName =
        isBundle ? std::string() : System::sanitizeUtf8(System::FileName::getTitle(path));
    std::string text = readWholeFile(path);
    if (isLegacy) text = convertLegacyText(text);
    return splitScriptText(std::move(text), baseName, isBundle);
  } catch (const std::exception& exception) {
    System::Log::warn(kPlace, "script file load faild.\n%s", exception.what());
    return {};
  }
}

}  // namespace Effect
