#include "effect/script_header_texts.h"

#include "effect/script_lines.h"
#include "system/text.h"

namespace Effect {

namespace {

std::string restAfterColon(std::string_view line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return {};
  return System::sanitizeUtf8(line.substr(colon + 1));
}

}  // namespace

ScriptHeaderTexts readScriptHeaderTexts(std::string_view text) {
  ScriptHeaderTexts texts;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = scriptLineEnd(text, start);
    std::size_t next = scriptNextLine(text, end);
    const std::string_view line = text.substr(start, end - start);
    if (line.rfind("--label", 0) == 0) {
      texts.label = restAfterColon(line);
    } else if (line.rfind("--information", 0) == 0) {
      texts.information = restAfterColon(line);
    } else if (line.rfind("--[[", 0) == 0) {
      // A block comment: reading goes on at the line after the one that closes it. Without
      // a close only this line is skipped.
      const std::size_t closing = text.find("]]", start + 4);
      if (closing != std::string_view::npos)
        next = scriptNextLine(text, scriptLineEnd(text, closing));
    }
    start = next;
  }
  return texts;
}

}  // namespace Effect
