#include "ui/icon_glyphs.h"

#include <array>

namespace Window {
namespace {

constexpr GlyphSegment kDoubleLeft[] = {
    {0.5f, 0.25f, 0.25f, 0.5f, 0.1f},
    {0.25f, 0.5f, 0.5f, 0.75f, 0.1f},
    {0.75f, 0.25f, 0.5f, 0.5f, 0.1f},
    {0.5f, 0.5f, 0.75f, 0.75f, 0.1f},
};

constexpr GlyphSegment kDoubleRight[] = {
    {0.25f, 0.25f, 0.5f, 0.5f, 0.1f},
    {0.5f, 0.5f, 0.25f, 0.75f, 0.1f},
    {0.5f, 0.25f, 0.75f, 0.5f, 0.1f},
    {0.75f, 0.5f, 0.5f, 0.75f, 0.1f},
};

constexpr GlyphSegment kBarLeft[] = {
    {0.5f, 0.5f, 0.82f, 0.5f, 0.1f},
    {0.22f, 0.22f, 0.22f, 0.78f, 0.1f},
};

constexpr GlyphSegment kBarRight[] = {
    {0.18f, 0.5f, 0.5f, 0.5f, 0.1f},
    {0.78f, 0.22f, 0.78f, 0.78f, 0.1f},
};

constexpr GlyphSegment kPause[] = {
    {0.35f, 0.28f, 0.35f, 0.72f, 0.1f},
    {0.65f, 0.28f, 0.65f, 0.72f, 0.1f},
};

constexpr GlyphSegment kPlus[] = {
    {0.5f, 0.28f, 0.5f, 0.72f, 0.1f},
    {0.28f, 0.5f, 0.72f, 0.5f, 0.1f},
};

constexpr GlyphSegment kArrowLeft[] = {
    {0.25f, 0.5f, 0.75f, 0.5f, 0.1f},
    {0.25f, 0.5f, 0.45f, 0.3f, 0.1f},
    {0.25f, 0.5f, 0.45f, 0.7f, 0.1f},
};

constexpr GlyphSegment kArrowRight[] = {
    {0.25f, 0.5f, 0.75f, 0.5f, 0.1f},
    {0.75f, 0.5f, 0.55f, 0.3f, 0.1f},
    {0.75f, 0.5f, 0.55f, 0.7f, 0.1f},
};

constexpr GlyphSegment kArrowUp[] = {
    {0.5f, 0.25f, 0.5f, 0.75f, 0.1f},
    {0.5f, 0.25f, 0.3f, 0.45f, 0.1f},
    {0.5f, 0.25f, 0.7f, 0.45f, 0.1f},
};

constexpr GlyphSegment kFolder[] = {
    {0.18f, 0.28f, 0.4f, 0.3f, 0.1f},
    {0.4f, 0.28f, 0.5f, 0.38f, 0.1f},
    {0.5f, 0.38f, 0.82f, 0.38f, 0.1f},
    {0.82f, 0.38f, 0.82f, 0.72f, 0.1f},
    {0.18f, 0.72f, 0.82f, 0.72f, 0.1f},
    {0.18f, 0.28f, 0.18f, 0.72f, 0.1f},
};

constexpr GlyphSegment kList[] = {
    {0.4f, 0.2f, 0.8f, 0.2f, 0.1f},
    {0.4f, 0.5f, 0.8f, 0.5f, 0.1f},
    {0.4f, 0.8f, 0.8f, 0.8f, 0.1f},
    {0.2f, 0.2f, 0.2f, 0.2f, 0.175f},
    {0.2f, 0.5f, 0.2f, 0.5f, 0.175f},
    {0.2f, 0.8f, 0.2f, 0.8f, 0.175f},
};

constexpr GlyphSegment kSliderPlus[] = {
    {0.6f, 0.32f, 0.6f, 0.68f, 0.15f},
    {0.28f, 0.5f, 0.92f, 0.5f, 0.15f},
};

constexpr GlyphSegment kSliderMinus[] = {
    {0.15f, 0.5f, 0.7f, 0.5f, 0.15f},
};

constexpr GlyphSegment kClose[] = {
    {0.3f, 0.3f, 0.7f, 0.7f, 0.15f},
    {0.3f, 0.7f, 0.7f, 0.3f, 0.15f},
};

struct GlyphEntry {
  std::string_view name;
  std::span<const GlyphSegment> segments;
};

// In the order of IconGlyph.
constexpr std::array<GlyphEntry, kIconGlyphCount> kGlyphs = {{
    {"double left", kDoubleLeft},
    {"double right", kDoubleRight},
    {"bar left", kBarLeft},
    {"bar right", kBarRight},
    {"pause", kPause},
    {"plus", kPlus},
    {"arrow left", kArrowLeft},
    {"arrow right", kArrowRight},
    {"arrow up", kArrowUp},
    {"folder", kFolder},
    {"list", kList},
    {"slider plus", kSliderPlus},
    {"slider minus", kSliderMinus},
    {"close", kClose},
}};

const GlyphEntry* findEntry(IconGlyph glyph) {
  const int index = static_cast<int>(glyph);
  if (index < 0 || index >= kIconGlyphCount) return nullptr;
  return &kGlyphs[static_cast<std::size_t>(index)];
}

}  // namespace

std::span<const GlyphSegment> getIconGlyph(IconGlyph glyph) {
  const GlyphEntry* entry = findEntry(glyph);
  return entry ? entry->segments : std::span<const GlyphSegment>{};
}

std::string_view getIconGlyphName(IconGlyph glyph) {
  const GlyphEntry* entry = findEntry(glyph);
  return entry ? entry->name : std::string_view{};
}

GlyphLine placeGlyphSegment(const GlyphSegment& segment, float left, float top, float width,
                            float height) {
  return {left + segment.x1 * width, top + segment.y1 * height, left + segment.x2 * width,
          top + segment.y2 * height, segment.width * height};
}

}  // namespace Window
