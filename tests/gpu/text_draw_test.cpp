// The text engine: lines, extents and margins of the measuring pass, per-character timing,
// atlas cells, inline tags, and what the drawing pass puts into a GPU image.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "gpu/drawing_test_support.h"
#include "gpu/resource_buffer.h"
#include "gpu/text/font_glyph.h"
#include "gpu/text/text_draw.h"

namespace {

using Media::TextDraw;
using TestSupport::halfPixel;
using TestSupport::Rgba;

constexpr const char16_t* kLatin = u"DejaVu Sans";

class TextDrawTest : public TestSupport::DrawingResourceTest {
 protected:
  // A text of the Latin family at 40 pixels, white, no edge, shown at once.
  static void fill(TextDraw& text, const char16_t* content) {
    text.text = content;
    text.baseFamily = kLatin;
    text.baseSize = 40.0f;
    text.baseColor = {1, 1, 1, 1};
    text.baseEdgeColor = {1, 0, 0, 1};
  }

  // The advance of a character in the Latin family at 40 pixels.
  static float advance(char16_t character) {
    TextDraw probe;
    const char16_t content[] = {character, 0};
    fill(probe, content);
    probe.measure();
    return probe.lines.at(0).extent - probe.lines.at(0).start;
  }

  // Draws the measured text into a transparent image of its size and reads it back.
  static std::shared_ptr<Media::ImageBuffer> drawn(TextDraw& text) {
    auto buffer = std::make_unique<Media::ResourceBuffer>(text.imageWidth(), text.imageHeight());
    buffer->createRenderTargetView();
    const float clear[4] = {0, 0, 0, 0};
    buffer->clearRenderTarget(clear);
    text.draw(*buffer);
    return buffer->readBack();
  }

  // The character indices of the cells an individual-mode drawing makes at `time`.
  static std::vector<int> drawnCells(const char16_t* content, double speed, double time) {
    TextDraw text;
    fill(text, content);
    text.displaySpeed = speed;
    text.currentTime = time;
    text.measure();
    text.individual = true;
    Media::ResourceBuffer atlas(std::max(text.atlasImageWidth(), 1),
                                std::max(text.atlasImageHeight(), 1));
    atlas.createRenderTargetView();
    text.draw(atlas);
    std::vector<int> indices;
    for (const TextDraw::Cell& cell : text.cells) indices.push_back(cell.characterIndex);
    return indices;
  }

  // Counts the pixels of a column range whose colour is near `colour` and mostly opaque.
  static int countNear(const Media::ImageBuffer& image, uint32_t x0, uint32_t x1,
                       const Rgba& colour) {
    int count = 0;
    for (uint32_t y = 0; y < image.height; ++y)
      for (uint32_t x = x0; x < x1 && x < image.width; ++x) {
        const Rgba p = halfPixel(image, x, y);
        if (p[3] < 0.9f) continue;
        if (std::abs(p[0] - colour[0]) < 0.1f && std::abs(p[1] - colour[1]) < 0.1f &&
            std::abs(p[2] - colour[2]) < 0.1f)
          ++count;
      }
    return count;
  }
};

TEST_F(TextDrawTest, AnEmptyTextIsOneLineHighAndDrawsNothing) {
  TextDraw text;
  fill(text, u"");
  text.measure();
  EXPECT_EQ(text.characterIndex, 0);
  EXPECT_EQ(text.maxWidth, 0.0f);
  EXPECT_FLOAT_EQ(text.maxHeight, text.fontFace.lineHeight());
  EXPECT_EQ(text.marginLeft + text.marginRight + text.marginTop + text.marginBottom, 0.0f);
  Media::ResourceBuffer buffer(4, 4);
  buffer.createRenderTargetView();
  text.draw(buffer);
  EXPECT_EQ(halfPixel(*buffer.readBack(), 1, 1)[3], 0.0f);
}

TEST_F(TextDrawTest, ControlCharactersTakeNoSpaceAndLineFeedsStartLines) {
  TextDraw text;
  fill(text, u"A\r\tB\nC");
  text.measure();
  EXPECT_EQ(text.characterIndex, 3);
  ASSERT_EQ(text.lines.size(), 2u);
  EXPECT_FLOAT_EQ(text.lines[0].extent - text.lines[0].start, advance(u'A') + advance(u'B'));
  EXPECT_FLOAT_EQ(text.maxHeight, 2 * text.fontFace.lineHeight());
}

TEST_F(TextDrawTest, SurrogatePairsAreOneCharacterAndLoneHalvesTheirOwn) {
  struct Case {
    std::u16string text;
    int characters;
  } cases[] = {
      {u"\xD83D\xDE00", 1},
      {u"\xD83D" u"A", 2},
      {u"\xDE00\xD83D", 2},
  };
  for (const Case& c : cases) {
    TextDraw text;
    fill(text, c.text.c_str());
    text.measure();
    EXPECT_EQ(text.characterIndex, c.characters) << c.text.size();
  }
}

TEST_F(TextDrawTest, CharactersAreDrawnOnlyOnceTheirTimeHasCome) {
  struct Case {
    const char16_t* text;
    double speed;
    double time;
    std::vector<int> cells;
  } cases[] = {
      {u"ABCDE", 10, 0.25, {0, 1, 2}},        // due at 0, 0.1, 0.2; the fourth at 0.3
      {u"ABCDE", 0, 0.0, {0, 1, 2, 3, 4}},    // no speed: everything at once
      {u"AB<w1>X", 10, 1.19, {0, 1}},          // X at 0.2 + 1
      {u"AB<w1>X", 10, 1.21, {0, 1, 2}},
      {u"AB<w*1>X", 10, 2.19, {0, 1}},         // X at 0.2 + 2 x 1
      {u"AB<w*1>X", 10, 2.21, {0, 1, 2}},
      {u"AB<r0>XY", 10, 0.2, {0, 1, 2, 3}},    // speed 0 from the tag on: at once
      {u"AB<c1>XY", 10, 2.0, {2, 3}},          // the clear has passed: A and B are gone
      {u"AB<c1>XY", 10, 0.5, {0, 1}},          // X and Y are not due yet
  };
  for (const Case& c : cases)
    EXPECT_EQ(drawnCells(c.text, c.speed, c.time), c.cells) << std::string(c.text, c.text + 3)
                                                            << " at " << c.time;
}

TEST_F(TextDrawTest, TextAfterAClearIsLaidOutFromTheTop) {
  const auto cellsOf = [](const char16_t* content) {
    TextDraw text;
    fill(text, content);
    text.currentTime = 1.0;
    text.measure();
    text.individual = true;
    Media::ResourceBuffer atlas(text.atlasImageWidth(), text.atlasImageHeight());
    atlas.createRenderTargetView();
    text.draw(atlas);
    return text.cells;
  };
  const auto cleared = cellsOf(u"AB<c>\nXY");
  const auto alone = cellsOf(u"XY");
  ASSERT_EQ(cleared.size(), 2u);
  ASSERT_EQ(alone.size(), 2u);
  // The line feed after the tag is swallowed: X stands where it would stand alone.
  EXPECT_EQ(cleared[0].characterIndex, 2);
  EXPECT_NEAR(cleared[0].centerX, alone[0].centerX, 1e-3);
  EXPECT_NEAR(cleared[0].centerY, alone[0].centerY, 1e-3);
}

TEST_F(TextDrawTest, LinesAreAlignedAgainstTheLongest) {
  const float m = advance(u'M');
  TextDraw text;
  fill(text, u"MMMM\nMM");
  text.lineAlignment = 0.5f;
  text.measure();
  text.individual = true;
  Media::ResourceBuffer atlas(text.atlasImageWidth(), text.atlasImageHeight());
  atlas.createRenderTargetView();
  text.draw(atlas);
  ASSERT_EQ(text.cells.size(), 6u);
  // The short line starts a quarter of the longest in.
  EXPECT_NEAR(text.cells[4].centerX - text.cells[0].centerX, text.maxWidth * 0.25f, 1e-3);
  EXPECT_NEAR(text.maxWidth, 4 * m, 1e-3);
}

TEST_F(TextDrawTest, SpacingMovesGlyphsButOnlyPositiveSpacingWidensTheText) {
  const float a = advance(u'A');
  struct Case {
    float spacing;
    float width;
  } cases[] = {{0.0f, 3 * a}, {-5.0f, 3 * a - 10.0f}, {5.0f, 3 * a + 15.0f}};
  for (const Case& c : cases) {
    TextDraw text;
    fill(text, u"AAA");
    text.characterSpacing = c.spacing;
    text.measure();
    EXPECT_NEAR(text.maxWidth, c.width, 1e-3) << c.spacing;
  }
}

TEST_F(TextDrawTest, VerticalColumnsRunFromRightToLeft) {
  TextDraw text;
  fill(text, u"AB\nC");
  text.vertical = true;
  text.measure();
  EXPECT_FLOAT_EQ(text.maxWidth, 2 * 40.0f);  // two columns of the face's size
  text.individual = true;
  Media::ResourceBuffer atlas(text.atlasImageWidth(), text.atlasImageHeight());
  atlas.createRenderTargetView();
  text.draw(atlas);
  ASSERT_EQ(text.cells.size(), 3u);
  EXPECT_GT(text.cells[0].centerX, text.cells[2].centerX) << "the first column is on the right";
  EXPECT_LT(text.cells[0].centerY, text.cells[1].centerY) << "a column runs downwards";
  EXPECT_NEAR(text.cells[0].centerX, text.maxWidth - 20.0f, 2.0f);
}

TEST_F(TextDrawTest, AGlyphWithInkLeftOfItsBoxShiftsItsLine) {
  TextDraw probe;
  fill(probe, u"j");
  probe.measure();
  Resource::FontGlyph glyph;
  glyph.setGlyph(probe.fontFace, u'j');
  ASSERT_LT(glyph.leftBearing, 0.0f) << "the font's j reaches left of its box";
  EXPECT_FLOAT_EQ(probe.lines[0].start, -glyph.leftBearing);
}

TEST_F(TextDrawTest, TagsThatDoNotMatchAreDrawnAsText) {
  struct Case {
    const char16_t* text;
    int characters;
  } cases[] = {{u"<p10>A", 6}, {u"<x>", 3}, {u"<>", 2}, {u"<w>A", 4}, {u"<s..>A", 6},
               {u"<#ff0000>A", 1}, {u"<p+10,0>A", 1}};
  for (const Case& c : cases) {
    TextDraw text;
    fill(text, c.text);
    text.measure();
    EXPECT_EQ(text.characterIndex, c.characters) << std::string(c.text, c.text + 4);
  }
}

TEST_F(TextDrawTest, SizeFontAndPositionTagsChangeTheLayout) {
  struct Case {
    const char16_t* text;
    float size;
  } sizes[] = {{u"<s0>A", 1.0f}, {u"<s5000>A", 1000.0f}, {u"<s*0.5>A<s*0.5>B", 10.0f},
               {u"<s+10,,B>A", 50.0f}, {u"<s*2>A<s>B", 40.0f}};
  for (const Case& c : sizes) {
    TextDraw text;
    fill(text, c.text);
    text.measure();
    EXPECT_FLOAT_EQ(text.currentSize, c.size) << std::string(c.text, c.text + 6);
  }

  // A size tag's family is for its own text only: the next size tag keeps the current one.
  TextDraw families;
  fill(families, u"<s20,Noto Sans CJK JP>A<s30>B");
  families.measure();
  EXPECT_EQ(families.fontFace.font().family, "DejaVu Sans");
  EXPECT_EQ(families.currentSize, 30.0f);

  // A bigger face part-way makes the line taller.
  TextDraw taller;
  fill(taller, u"A<s80>B");
  taller.measure();
  EXPECT_FLOAT_EQ(taller.lines[0].height, taller.fontFace.lineHeight());

  const float a = advance(u'A');
  TextDraw moved;
  fill(moved, u"A<p+10,0>A");
  moved.measure();
  EXPECT_NEAR(moved.maxWidth, 2 * a + 10.0f, 1e-3);
}

TEST_F(TextDrawTest, ColourTagsPaintTheirPartAndReturnToTheBaseColour) {
  TextDraw text;
  fill(text, u"H<#ff00ff>H<#>H<#nosuchname>H");
  text.measure();
  const auto image = drawn(text);
  const float h = advance(u'H');
  const auto column = [&](int i) {
    return std::pair<uint32_t, uint32_t>(static_cast<uint32_t>(text.marginLeft + i * h + 2),
                                         static_cast<uint32_t>(text.marginLeft + (i + 1) * h - 2));
  };
  const Rgba white{1, 1, 1, 1}, magenta{1, 0, 1, 1};
  EXPECT_GT(countNear(*image, column(0).first, column(0).second, white), 50);
  EXPECT_GT(countNear(*image, column(1).first, column(1).second, magenta), 50);
  EXPECT_EQ(countNear(*image, column(1).first, column(1).second, white), 0);
  EXPECT_GT(countNear(*image, column(2).first, column(2).second, white), 50);
  EXPECT_GT(countNear(*image, column(3).first, column(3).second, white), 50) << "unknown name";
}

TEST_F(TextDrawTest, AnEdgeOrAShadowIsDrawnInTheEdgeColour) {
  const Rgba white{1, 1, 1, 1}, red{1, 0, 0, 1};
  TextDraw plain;
  fill(plain, u"H");
  plain.measure();
  const auto plainImage = drawn(plain);
  EXPECT_EQ(countNear(*plainImage, 0, plainImage->width, red), 0);

  TextDraw edged;
  fill(edged, u"H");
  edged.edgeRatio = 0.15f;
  edged.roundedEdge = true;
  edged.measure();
  EXPECT_FLOAT_EQ(edged.innerMargin, 40.0f * 0.15f * 0.5f + 1.0f);
  const auto edgedImage = drawn(edged);
  EXPECT_GT(countNear(*edgedImage, 0, edgedImage->width, red), 50);
  EXPECT_GT(countNear(*edgedImage, 0, edgedImage->width, white), 50);

  TextDraw shadowed;
  fill(shadowed, u"H");
  shadowed.shadowAlpha = 1.0f;
  shadowed.measure();
  EXPECT_FLOAT_EQ(shadowed.outerMargin, shadowed.innerMargin + 2.0f);
  const auto shadowImage = drawn(shadowed);
  EXPECT_GT(countNear(*shadowImage, 0, shadowImage->width, red), 10) << "the shadow shows";
}

TEST_F(TextDrawTest, SplitCharactersCutsEachCellOutOfTheAtlas) {
  TextDraw text;
  fill(text, u"AB");
  text.measure();
  text.individual = true;
  Media::ResourceBuffer atlas(text.atlasImageWidth(), text.atlasImageHeight());
  atlas.createRenderTargetView();
  text.draw(atlas);
  ASSERT_EQ(text.cells.size(), 2u);
  std::vector<int> seen;
  std::unique_ptr<Media::ResourceBuffer> kept;
  text.splitCharacters(atlas, [&](std::unique_ptr<Media::ResourceBuffer>& image, int32_t index,
                                  float, float, float) {
    EXPECT_EQ(image->width(), static_cast<uint32_t>(text.cells[seen.size()].width));
    seen.push_back(index);
    if (index == 0) kept = std::move(image);
  });
  EXPECT_EQ(seen, (std::vector<int>{0, 1}));
  ASSERT_NE(kept, nullptr);
  EXPECT_GT(countNear(*kept->readBack(), 0, kept->width(), {1, 1, 1, 1}), 20) << "the A is in it";

  // A cell that does not lie inside the buffer is dropped.
  Media::ResourceBuffer small(text.cells[0].width, text.cells[0].height);
  seen.clear();
  text.splitCharacters(small, [&](std::unique_ptr<Media::ResourceBuffer>&, int32_t index, float,
                                  float, float) { seen.push_back(index); });
  EXPECT_EQ(seen, (std::vector<int>{0}));
}

TEST_F(TextDrawTest, VerticalTextUsesTheVerticalFormsOfTheFace) {
  TextDraw text;
  text.baseFamily = u"Noto Sans CJK JP";
  text.baseSize = 40.0f;
  text.vertical = true;
  text.text = u"、";
  text.measure();
  Resource::FontGlyph horizontal, vertical;
  horizontal.setGlyph(text.fontFace, u'、');
  vertical.setGlyphVertical(text.fontFace, u'、');
  EXPECT_NE(horizontal.glyphIndex, 0u);
  EXPECT_NE(vertical.glyphIndex, horizontal.glyphIndex);
}

TEST_F(TextDrawTest, ColourFontGlyphsKeepTheirOwnColours) {
  TextDraw text;
  text.baseFamily = u"Noto Color Emoji";
  text.baseSize = 40.0f;
  text.baseColor = {1, 1, 1, 1};
  text.text = u"\xD83D\xDE00";  // a grinning face
  text.measure();
  ASSERT_EQ(text.fontFace.font().family, "Noto Color Emoji");
  const auto image = drawn(text);
  // The face is yellow, not the white text colour.
  int yellow = 0;
  for (uint32_t y = 0; y < image->height; ++y)
    for (uint32_t x = 0; x < image->width; ++x) {
      const Rgba p = halfPixel(*image, x, y);
      if (p[3] > 0.9f && p[0] > 0.8f && p[1] > 0.6f && p[2] < 0.4f) ++yellow;
    }
  EXPECT_GT(yellow, 100);
}

}  // namespace

namespace {

// Hostile texts: a megabyte of tag openings that never close, ten thousand tags, sizes out
// of range and a family that is not installed all lay out, each in linear time.
TEST_F(TextDrawTest, HostileTextsLayOutWithoutBlowingUp) {
  std::u16string openings;
  while (openings.size() < 512 * 1024) openings += u"<#<@<s";
  openings += u",x,";
  std::u16string tags;
  for (int i = 0; i < 10000; ++i) tags += u"<s*1.001><#00ff00><p+0,+0>";
  tags += u"A";
  struct Case {
    const std::u16string* text;
    int characters;
  } cases[] = {{&openings, static_cast<int>(openings.size())}, {&tags, 1}};
  for (const Case& c : cases) {
    TextDraw text;
    fill(text, c.text->c_str());
    text.measure();
    EXPECT_EQ(text.characterIndex, c.characters);
    EXPECT_LE(text.currentSize, 1000.0f);
  }

  TextDraw missing;
  fill(missing, u"<@No Such Family>A<s123456789>B");
  missing.measure();
  EXPECT_EQ(missing.characterIndex, 2);
  EXPECT_EQ(missing.currentSize, 1000.0f);
  EXPECT_FALSE(missing.fontFace.font().family.empty());
}

}  // namespace
