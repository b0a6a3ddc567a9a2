// What each inline tag does to the text engine's layout: colours, font, size, pen position,
// speed, waits and clears. The tags' grammar and numbers are read by text_tag.h.
#include <algorithm>
#include <exception>

#include "effect/effect_service.h"
#include "gpu/image/color.h"
#include "gpu/text/text_draw.h"
#include "gpu/text/text_tag.h"
#include "system/text.h"

namespace Media {
namespace {

// The longest text a tag may span. No real tag comes near it; without a bound, a long text
// of tag openings that never close would be scanned to its end from every '<'.
constexpr std::size_t kMaxTagLength = 1024;

bool isSixHexDigits(std::u16string_view text) {
  return text.size() == 6 && std::all_of(text.begin(), text.end(), [](char16_t c) {
           return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
         });
}

// The colour a tag's text names: six hex digits, or a preset colour's name; otherwise
// `fallback`.
ColorF tagColor(std::u16string_view text, const ColorF& fallback) {
  if (isSixHexDigits(text)) {
    const Color::Rgba rgba = Color::parseRgbaW(text);
    return {rgba.red, rgba.green, rgba.blue, rgba.alpha};
  }
  if (const Effect::EffectService* effects = Effect::EffectService::instance())
    if (const auto* preset = effects->palettes.findPresetColor(System::utf16ToUtf8(text)))
      return {preset->color[0], preset->color[1], preset->color[2], preset->color[3]};
  return fallback;
}

}  // namespace

bool TextDraw::parseTag() {
  const std::u16string_view rest(cursor, static_cast<std::size_t>(textEnd_ - cursor));
  if (rest.empty()) return false;
  try {
    switch (rest.front()) {
      case u'#': return parseColorTag();
      case u'@': return parseFontTag();
      case u's': return parseSizeTag();
      case u'p': return parsePositionTag();
      case u'r': return parseSpeedTag();
      case u'w': return parseWaitTag();
      case u'c': return parseClearTag();
      default: return false;
    }
  } catch (const std::invalid_argument&) {
    return false;  // a number that cannot be read makes the tag text
  } catch (const std::out_of_range&) {
    return false;
  }
}

// Each parser matches at the cursor, applies the tag and moves the cursor past it; a text
// that does not match leaves everything as it was.
namespace {
std::optional<TextTag::Tag> matchAt(const char16_t* cursor, const char16_t* end,
                                    TextTag::Kind kind) {
  const auto length = std::min(static_cast<std::size_t>(end - cursor), kMaxTagLength);
  auto tag = TextTag::match(std::u16string_view(cursor, length));
  if (!tag || tag->kind != kind) return std::nullopt;
  return tag;
}
}  // namespace

bool TextDraw::parseColorTag() {
  const auto tag = matchAt(cursor, textEnd_, TextTag::Kind::Color);
  if (!tag) return false;
  ColorF color = baseColor;
  ColorF edgeColor = baseEdgeColor;
  if (tag->groups[0]) color = tagColor(*tag->groups[0], baseColor);
  if (tag->groups[1]) edgeColor = tagColor(*tag->groups[1], baseEdgeColor);
  setColor(color, edgeColor);
  cursor += tag->length;
  return true;
}

bool TextDraw::parseFontTag() {
  const auto tag = matchAt(cursor, textEnd_, TextTag::Kind::Font);
  if (!tag) return false;
  const std::u16string family = tag->groups[0] && !tag->groups[0]->empty()
                                    ? std::u16string(*tag->groups[0])
                                    : std::u16string(baseFamily ? baseFamily : u"");
  currentFamily = family;
  setFont(family, currentSize, currentEdgeWidth, bold, italic);
  growLine();
  cursor += tag->length;
  return true;
}

bool TextDraw::parseSizeTag() {
  const auto tag = matchAt(cursor, textEnd_, TextTag::Kind::Size);
  if (!tag) return false;
  const float size = TextTag::resolveSize(tag->groups[0], currentSize, baseSize);
  const std::u16string family = tag->groups[1] && !tag->groups[1]->empty()
                                    ? std::u16string(*tag->groups[1])
                                    : currentFamily;
  bool fontBold = bold;
  bool fontItalic = italic;
  if (tag->groups[2]) {
    fontBold = tag->groups[2]->find(u'B') != std::u16string_view::npos;
    fontItalic = tag->groups[2]->find(u'I') != std::u16string_view::npos;
  }
  const float edgeWidth = tag->groups[3] ? std::min(TextTag::toFloat(*tag->groups[3]), size)
                                         : baseSize * edgeRatio;
  setFont(family, size, edgeWidth, fontBold, fontItalic);
  growLine();
  cursor += tag->length;
  return true;
}

bool TextDraw::parsePositionTag() {
  const auto tag = matchAt(cursor, textEnd_, TextTag::Kind::Position);
  if (!tag || !tag->groups[0] || !tag->groups[1]) return false;
  const float x = TextTag::resolvePosition(*tag->groups[0], penX);
  const float y = TextTag::resolvePosition(*tag->groups[1], penY);
  if (tag->groups[2]) penZ = TextTag::resolvePosition(*tag->groups[2], penZ);
  penX = x;
  penY = y;
  cursor += tag->length;
  return true;
}

bool TextDraw::parseSpeedTag() {
  const auto tag = matchAt(cursor, textEnd_, TextTag::Kind::Speed);
  if (!tag) return false;
  const double speed = tag->groups[0] ? TextTag::toDouble(*tag->groups[0]) : displaySpeed;
  characterInterval = speed > 0.0 ? 1.0 / speed : 0.0;
  cursor += tag->length;
  return true;
}

bool TextDraw::parseWaitTag() {
  const auto tag = matchAt(cursor, textEnd_, TextTag::Kind::Wait);
  if (!tag || !tag->groups[0]) return false;
  TextTag::applyWait(*tag->groups[0], time, charactersSinceWait);
  cursor += tag->length;
  return true;
}

bool TextDraw::parseClearTag() {
  const auto tag = matchAt(cursor, textEnd_, TextTag::Kind::Clear);
  if (!tag) return false;
  if (tag->groups[0]) TextTag::applyWait(*tag->groups[0], time, charactersSinceWait);
  charactersSinceWait = 0;
  if (currentTime > time) firstVisibleCharacter = characterIndex;
  endLine();
  if (vertical)
    penX = measured ? maxWidth : 0.0f;
  else
    penY = 0.0f;
  beginLine();
  atlasY = 0.0f;
  cursor += tag->length;
  if (*cursor == u'\n') ++cursor;
  return true;
}

}  // namespace Media
