#include "script/script_error_text.h"

#include <charconv>

#include "effect/script_lines.h"
#include "system/text.h"

namespace Plugin {
namespace {

bool isControl(char c) { return static_cast<unsigned char>(c) < 0x20; }

// The end of the chunk name Lua puts in front of the position: just past the "]" that
// closes the first "[" (the name may hold brackets of its own); npos when it never closes.
std::size_t chunkNameEnd(std::string_view error) {
  int depth = 0;
  for (std::size_t i = 0; i < error.size(); ++i) {
    if (error[i] == '[') {
      ++depth;
    } else if (error[i] == ']') {
      if (depth == 1) return i + 1;
      --depth;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::string composeScriptErrorText(std::string_view error, std::string_view chunk) {
  const std::string whole = System::sanitizeUtf8(error);
  std::size_t at = chunkNameEnd(error);
  if (at == std::string_view::npos || at >= error.size() || error[at] != ':') return whole;
  ++at;
  while (at < error.size() && error[at] == ' ') ++at;
  const std::size_t tokenStart = at;
  while (at < error.size() && error[at] != ':' && !isControl(error[at])) ++at;
  std::string_view token = error.substr(tokenStart, at - tokenStart);
  while (!token.empty() && token.back() == ' ') token.remove_suffix(1);
  if (at < error.size() && error[at] == ':') ++at;
  while (at < error.size() && static_cast<unsigned char>(error[at]) > ' ') ++at;
  if (at < error.size() && error[at] == ' ') ++at;
  const std::string_view message = error.substr(at);
  if (message.empty()) return whole;

  int line = 0;
  const auto [end, failure] = std::from_chars(token.data(), token.data() + token.size(), line);
  if (failure != std::errc() || end == token.data()) return whole;

  std::string text = System::sanitizeUtf8(message);
  std::size_t start = 0;
  for (int skip = line - 2; skip > 0 && start < chunk.size(); --skip)
    start = Effect::scriptNextLine(chunk, Effect::scriptLineEnd(chunk, start));
  for (int taken = 0; taken < 3 && start < chunk.size(); ++taken) {
    const std::size_t lineEnd = Effect::scriptLineEnd(chunk, start);
    text += "\r\n> ";
    text += System::sanitizeUtf8(chunk.substr(start, lineEnd - start));
    start = Effect::scriptNextLine(chunk, lineEnd);
  }
  return text;
}

}  // namespace Plugin
