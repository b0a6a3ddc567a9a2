#include "media/plugin/plugin_text.h"

#include <vector>

#include "media/plugin/plugin_call.h"
#include "system/exception.h"
#include "system/text.h"

namespace Plugin {
namespace {

constexpr std::size_t kNotTerminated = static_cast<std::size_t>(-1);

// Units before the terminator, or kNotTerminated when none comes within `limit`. Reads only
// the plug-in's memory and owns nothing, so it may run under the guard.
std::size_t measure(const char16_t* text, std::size_t limit) {
  for (std::size_t i = 0; i <= limit; ++i)
    if (text[i] == u'\0') return i;
  return kNotTerminated;
}

// Units of the whole list up to its empty closing text, that text's NUL excluded.
std::size_t measureList(const char16_t* list, std::size_t limit) {
  std::size_t position = 0;
  while (position <= limit) {
    if (list[position] == u'\0') return position;
    while (position <= limit && list[position] != u'\0') ++position;
    ++position;  // past the text's own NUL
  }
  return kNotTerminated;
}

[[noreturn]] void throwUnterminated(std::string_view field, std::string_view place) {
  throw System::makeFormattedException(place, "invalid plugin text.", "%.*s",
                                       static_cast<int>(field.size()), field.data());
}

}  // namespace

std::string copyPluginText(const char16_t* text, std::string_view field, std::string_view place) {
  if (!text) return {};
  const std::size_t length =
      callPluginFunction(field, place, [&] { return measure(text, kMaxPluginTextUnits); });
  if (length == kNotTerminated) throwUnterminated(field, place);
  return System::utf16ToUtf8(std::u16string_view(text, length));
}

System::Filter copyPluginFilter(const char16_t* list, std::string_view field,
                                std::string_view place) {
  if (!list) return {};
  const std::size_t length =
      callPluginFunction(field, place, [&] { return measureList(list, kMaxPluginTextUnits); });
  if (length == kNotTerminated) throwUnterminated(field, place);
  std::vector<std::string> texts;
  std::u16string_view rest(list, length);
  while (!rest.empty()) {
    const std::size_t end = rest.find(u'\0');
    texts.push_back(System::utf16ToUtf8(rest.substr(0, end)));
    rest.remove_prefix(end == std::u16string_view::npos ? rest.size() : end + 1);
  }
  System::Filter filter;
  for (std::size_t i = 0; i + 1 < texts.size(); i += 2) filter.push_back({texts[i], texts[i + 1]});
  return filter;
}

}  // namespace Plugin
