// Feeds arbitrary text to the inline tag reader at every '<', as users type text objects and
// scripts pass strings. A tag found never reaches past the text, ends with '>', and its
// groups lie inside it; numbers read from its groups either convert or throw the two
// standard errors, and sizes stay within 1 ... 1000.
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "gpu/text/text_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string_view text(reinterpret_cast<const char16_t*>(data), size / 2);
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] != u'<') continue;
    const std::u16string_view rest = text.substr(at + 1);
    const auto tag = Media::TextTag::match(rest);
    if (!tag) continue;
    if (tag->length == 0 || tag->length > rest.size() || rest[tag->length - 1] != u'>')
      FuzzSupport::fail("a tag reaches past the text or does not end with '>'");
    for (const auto& group : tag->groups) {
      if (!group) continue;
      if (group->data() < rest.data() || group->data() + group->size() > rest.data() + tag->length)
        FuzzSupport::fail("a group lies outside its tag");
      try {
        const float value = Media::TextTag::toFloat(*group);
        (void)value;
      } catch (const std::invalid_argument&) {
      } catch (const std::out_of_range&) {
      }
    }
    if (tag->kind == Media::TextTag::Kind::Size) {
      try {
        const float size = Media::TextTag::resolveSize(tag->groups[0], 40.0f, 30.0f);
        if (!(size >= 1.0f && size <= 1000.0f)) FuzzSupport::fail("a size outside 1 ... 1000");
      } catch (const std::invalid_argument&) {
      } catch (const std::out_of_range&) {
      }
    }
  }
  return 0;
}
