#include "ui/icon_glyphs.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace Window {
void PrintTo(const GlyphSegment& s, std::ostream* out) {
  *out << "{" << s.x1 << ", " << s.y1 << ", " << s.x2 << ", " << s.y2 << ", " << s.width << "}";
}
}  // namespace Window

namespace {

using Window::GlyphSegment;
using Window::IconGlyph;

std::vector<GlyphSegment> segmentsOf(IconGlyph glyph) {
  const auto span = Window::getIconGlyph(glyph);
  return {span.begin(), span.end()};
}

TEST(IconGlyphs, EveryGlyphHasItsNameAndSegmentCount) {
  struct Case {
    IconGlyph glyph;
    const char* name;
    std::size_t segments;
  };
  const Case cases[] = {
      {IconGlyph::DoubleLeft, "double left", 4},   {IconGlyph::DoubleRight, "double right", 4},
      {IconGlyph::BarLeft, "bar left", 2},         {IconGlyph::BarRight, "bar right", 2},
      {IconGlyph::Pause, "pause", 2},              {IconGlyph::Plus, "plus", 2},
      {IconGlyph::ArrowLeft, "arrow left", 3},     {IconGlyph::ArrowRight, "arrow right", 3},
      {IconGlyph::ArrowUp, "arrow up", 3},         {IconGlyph::Folder, "folder", 6},
      {IconGlyph::List, "list", 6},                {IconGlyph::SliderPlus, "slider plus", 2},
      {IconGlyph::SliderMinus, "slider minus", 1}, {IconGlyph::Close, "close", 2},
  };
  ASSERT_EQ(std::size(cases), std::size_t(Window::kIconGlyphCount));
  for (const auto& c : cases) {
    EXPECT_EQ(Window::getIconGlyphName(c.glyph), c.name);
    const auto segments = Window::getIconGlyph(c.glyph);
    EXPECT_EQ(segments.size(), c.segments) << c.name;
    for (const GlyphSegment& s : segments) {
      // Everything lies inside the icon box and has a visible stroke.
      for (float v : {s.x1, s.y1, s.x2, s.y2}) {
        EXPECT_GE(v, 0.0f) << c.name;
        EXPECT_LE(v, 1.0f) << c.name;
      }
      EXPECT_GT(s.width, 0.0f) << c.name;
    }
  }
}

TEST(IconGlyphs, ListsAreStableStorage) {
  // Icons keep the address of their glyph: every lookup must give the same list.
  EXPECT_EQ(Window::getIconGlyph(IconGlyph::Folder).data(),
            Window::getIconGlyph(IconGlyph::Folder).data());
}

TEST(IconGlyphs, OutOfRangeGivesNothing) {
  for (int value : {-1, Window::kIconGlyphCount, 1000}) {
    EXPECT_TRUE(Window::getIconGlyph(static_cast<IconGlyph>(value)).empty()) << value;
    EXPECT_EQ(Window::getIconGlyphName(static_cast<IconGlyph>(value)), "") << value;
  }
}

TEST(IconGlyphs, ExactData) {
  EXPECT_EQ(segmentsOf(IconGlyph::Close),
            (std::vector<GlyphSegment>{{0.3f, 0.3f, 0.7f, 0.7f, 0.15f},
                                       {0.3f, 0.7f, 0.7f, 0.3f, 0.15f}}));
  // Three lines, then three dots (segments of length 0) drawn heavier.
  EXPECT_EQ(segmentsOf(IconGlyph::List),
            (std::vector<GlyphSegment>{{0.4f, 0.2f, 0.8f, 0.2f, 0.1f},
                                       {0.4f, 0.5f, 0.8f, 0.5f, 0.1f},
                                       {0.4f, 0.8f, 0.8f, 0.8f, 0.1f},
                                       {0.2f, 0.2f, 0.2f, 0.2f, 0.175f},
                                       {0.2f, 0.5f, 0.2f, 0.5f, 0.175f},
                                       {0.2f, 0.8f, 0.2f, 0.8f, 0.175f}}));
  EXPECT_EQ(segmentsOf(IconGlyph::Folder),
            (std::vector<GlyphSegment>{{0.18f, 0.28f, 0.4f, 0.3f, 0.1f},
                                       {0.4f, 0.28f, 0.5f, 0.38f, 0.1f},
                                       {0.5f, 0.38f, 0.82f, 0.38f, 0.1f},
                                       {0.82f, 0.38f, 0.82f, 0.72f, 0.1f},
                                       {0.18f, 0.72f, 0.82f, 0.72f, 0.1f},
                                       {0.18f, 0.28f, 0.18f, 0.72f, 0.1f}}));
  EXPECT_EQ(segmentsOf(IconGlyph::SliderMinus),
            (std::vector<GlyphSegment>{{0.15f, 0.5f, 0.7f, 0.5f, 0.15f}}));
  EXPECT_EQ(segmentsOf(IconGlyph::ArrowUp),
            (std::vector<GlyphSegment>{{0.5f, 0.25f, 0.5f, 0.75f, 0.1f},
                                       {0.5f, 0.25f, 0.3f, 0.45f, 0.1f},
                                       {0.5f, 0.25f, 0.7f, 0.45f, 0.1f}}));
}

TEST(IconGlyphs, MirroredPairsAreMirrorImages) {
  // Each segment of the right-hand glyph is the left-hand one reflected about x = 0.5
  // (possibly with its ends swapped).
  const auto mirrored = [](IconGlyph left, IconGlyph right) {
    const auto a = Window::getIconGlyph(left);
    const auto b = Window::getIconGlyph(right);
    if (a.size() != b.size()) return false;
    for (const GlyphSegment& s : a) {
      const GlyphSegment m{1.0f - s.x1, s.y1, 1.0f - s.x2, s.y2, s.width};
      const GlyphSegment swapped{m.x2, m.y2, m.x1, m.y1, m.width};
      bool found = false;
      for (const GlyphSegment& t : b) {
        const auto near = [](const GlyphSegment& p, const GlyphSegment& q) {
          return std::abs(p.x1 - q.x1) < 1e-6f && std::abs(p.y1 - q.y1) < 1e-6f &&
                 std::abs(p.x2 - q.x2) < 1e-6f && std::abs(p.y2 - q.y2) < 1e-6f &&
                 p.width == q.width;
        };
        found = found || near(t, m) || near(t, swapped);
      }
      if (!found) return false;
    }
    return true;
  };
  EXPECT_TRUE(mirrored(IconGlyph::DoubleLeft, IconGlyph::DoubleRight));
  EXPECT_TRUE(mirrored(IconGlyph::BarLeft, IconGlyph::BarRight));
  EXPECT_TRUE(mirrored(IconGlyph::ArrowLeft, IconGlyph::ArrowRight));
}

TEST(IconGlyphs, PlacedInAPixelBox) {
  struct Case {
    const char* what;
    float left, top, width, height;
    Window::GlyphLine first, second;
  };
  const Case cases[] = {
      {"20 x 20 at the origin", 0, 0, 20, 20, {6, 6, 14, 14, 3}, {6, 14, 14, 6, 3}},
      // x follows the width; y and the stroke width follow the height.
      {"40 x 20 at (100, 50)", 100, 50, 40, 20, {112, 56, 128, 64, 3}, {112, 64, 128, 56, 3}},
  };
  const auto close = Window::getIconGlyph(IconGlyph::Close);
  ASSERT_EQ(close.size(), 2u);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Window::GlyphLine lines[] = {
        Window::placeGlyphSegment(close[0], c.left, c.top, c.width, c.height),
        Window::placeGlyphSegment(close[1], c.left, c.top, c.width, c.height)};
    const Window::GlyphLine expected[] = {c.first, c.second};
    for (int i = 0; i < 2; ++i) {
      EXPECT_FLOAT_EQ(lines[i].x1, expected[i].x1);
      EXPECT_FLOAT_EQ(lines[i].y1, expected[i].y1);
      EXPECT_FLOAT_EQ(lines[i].x2, expected[i].x2);
      EXPECT_FLOAT_EQ(lines[i].y2, expected[i].y2);
      EXPECT_FLOAT_EQ(lines[i].width, expected[i].width);
    }
  }
}

}  // namespace
