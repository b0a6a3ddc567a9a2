#include "gpu/text/text_draw.h"

#include <algorithm>
#include <cmath>

#include "gpu/draw2d/direct2d_service.h"
#include "gpu/draw2d/resource_surface.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/text/glyph_painter.h"
#include "system/text.h"

namespace Media {
namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Rounded edge joins use the shared rounded stroke; without the shared resources (tests of
// the engine alone) an equal style of its own.
const StrokeStyle* roundedStrokeStyle() {
  if (Resource::ResourceService* resources = Resource::ResourceService::instance())
    return resources->strokeStyles().get(Resource::StrokeStyleList::kRound);
  static const StrokeStyle rounded(
      {CapStyle::Round, CapStyle::Round, LineJoin::Round, 1.0f, 0.0f}, {});
  return &rounded;
}

}  // namespace

TextDraw::~TextDraw() = default;

int32_t TextDraw::imageWidth() const {
  return static_cast<int32_t>(std::ceil(maxWidth + marginLeft + marginRight));
}
int32_t TextDraw::imageHeight() const {
  return static_cast<int32_t>(std::ceil(maxHeight + marginTop + marginBottom));
}
int32_t TextDraw::atlasImageWidth() const { return static_cast<int32_t>(std::ceil(atlasWidth)); }
int32_t TextDraw::atlasImageHeight() const { return static_cast<int32_t>(std::ceil(atlasHeight)); }

void TextDraw::setFont(const std::u16string& family, float size, float edgeWidth, bool fontBold,
                       bool fontItalic) {
  size = std::clamp(size, 1.0f, 1000.0f);
  std::string name = System::utf16ToUtf8(family);
  if (name.empty()) name = Direct2DService::Get().defaultFamilyName();
  fontFace.setFont(name, size, fontBold, fontItalic, vertical);
  currentSize = size;
  currentEdgeWidth = std::max(edgeWidth, 0.0f);
  edgeStrokeStyle = roundedEdge ? roundedStrokeStyle() : nullptr;
  shadowOffset = shadowAlpha > 0.0f ? size * 0.05f : 0.0f;
  innerMargin = currentEdgeWidth * 0.5f + 1.0f;
  outerMargin = innerMargin + shadowOffset;
}

void TextDraw::setColor(const ColorF& color, const ColorF& edgeColor) {
  // Measuring makes no brushes.
  if (!target) return;
  currentColor = color;
  currentEdgeColor = edgeColor;
  fillBrush = std::make_unique<SolidColorBrush>(color);
  ColorF edge = edgeColor;
  if (shadowAlpha > 0.0f) edge.a *= shadowAlpha;
  edgeBrush = std::make_unique<SolidColorBrush>(edge);
}

void TextDraw::beginLayout() {
  const std::u16string family = baseFamily ? std::u16string(baseFamily) : std::u16string();
  setFont(family, baseSize, baseSize * edgeRatio, bold, italic);
  setColor(baseColor, baseEdgeColor);
  characterInterval = displaySpeed > 0.0 ? 1.0 / displaySpeed : 0.0;
  cursor = text ? text : u"";
  textEnd_ = cursor + std::char_traits<char16_t>::length(cursor);
  currentFamily = family;
  penX = penY = penZ = 0.0f;
  if (!measured) {
    maxWidth = maxHeight = 0.0f;
    marginLeft = marginRight = marginTop = marginBottom = 0.0f;
    firstVisibleCharacter = 0;
  }
  if (vertical) penX = measured ? maxWidth : 0.0f;
  charactersSinceWait = 0;
  characterIndex = 0;
  lineIndex = 0;
  time = 0.0;
  atlasY = 0.0f;
  atlasWidth = atlasHeight = 0.0f;
}

void TextDraw::beginLine() {
  if (lineIndex >= 0 && static_cast<std::size_t>(lineIndex) < lines.size()) {
    const Line& line = lines[static_cast<std::size_t>(lineIndex)];
    lineHeight = line.height;
    lineAscent = line.ascent;
    lineStart = line.start;
    lineExtent = line.extent;
  } else {
    lineHeight = fontFace.lineHeight();
    lineAscent = fontFace.ascent();
    lineStart = 0.0f;
    lineExtent = 0.0f;
  }
  rowX = 0.0f;
  rowHeight = 0.0f;
  const float extent = vertical ? maxHeight : maxWidth;
  float& pen = vertical ? penY : penX;
  pen = lineStart;
  if (lineExtent > 0.0f) pen = (extent - lineExtent) * lineAlignment + lineStart;
}

void TextDraw::growLine() {
  if (fontFace.lineHeight() > lineHeight) {
    lineHeight = fontFace.lineHeight();
    lineAscent = fontFace.ascent();
  }
}

bool TextDraw::layoutLine() {
  beginLine();
  for (;;) {
    const char16_t unit = *cursor;
    if (unit == 0) return false;
    ++cursor;
    if (unit == u'\n') return true;
    uint32_t codePoint = unit;
    if (unit == u'<') {
      if (parseTag()) continue;
    } else if (unit < 32) {
      continue;  // carriage returns, tabs and other controls take no space and no time
    } else if (isHighSurrogate(unit) && isLowSurrogate(*cursor)) {
      codePoint = 0x10000u + ((static_cast<uint32_t>(unit) - 0xD800u) << 10) +
                  (static_cast<uint32_t>(*cursor) - 0xDC00u);
      ++cursor;
    }

    glyph.codePoint = codePoint;
    prepareGlyph();

    if (target && characterIndex >= firstVisibleCharacter && currentTime >= time) {
      if (!individual) {
        drawGlyph(marginLeft + penX, marginTop + penY);
      } else {
        float dx = glyph.leftOverhang + innerMargin;
        float dy = glyph.topOverhang + outerMargin;
        const float d = fontFace.ascent() - lineAscent;
        if (vertical)
          dx += d + lineHeight;
        else
          dy += d;
        cells.push_back({characterIndex, static_cast<int32_t>(cellX), static_cast<int32_t>(cellY),
                         static_cast<int32_t>(cellWidth), static_cast<int32_t>(cellHeight),
                         cellWidth * 0.5f + penX - dx, cellHeight * 0.5f + penY - dy, penZ});
        drawGlyph(cellX + dx, cellY + dy);
      }
    }

    const float spacing = characterSpacing;
    const float positiveSpacing = std::max(spacing, 0.0f);
    if (!vertical) {
      const float x2 = penX + glyph.advanceX;
      maxWidth = std::max(maxWidth, x2 + positiveSpacing);
      penX = x2 + spacing;
      maxHeight = std::max(maxHeight, penY + lineHeight);
    } else {
      const float y2 = penY + glyph.advanceY;
      maxHeight = std::max(maxHeight, y2 + positiveSpacing);
      penY = y2 + spacing;
      maxWidth = std::max(maxWidth, lineHeight - penX);
    }
    time += characterInterval;
    ++characterIndex;
    ++charactersSinceWait;
  }
}

void TextDraw::prepareGlyph() {
  if (!vertical) {
    glyph.setGlyph(fontFace, glyph.codePoint);
    glyph.offsetY = lineAscent;
  } else {
    glyph.setGlyphVertical(fontFace, glyph.codePoint);
    glyph.offsetX -= lineAscent;
  }

  if (!measured) {
    if (!vertical) {
      // The line moves so that its first ink starts at 0.
      if (penX + glyph.leftBearing < 0.0f) {
        lineStart -= glyph.leftBearing;
        penX -= glyph.leftBearing;
      }
      marginLeft = std::max(marginLeft, innerMargin - glyph.leftBearing - penX);
      marginRight = std::max(marginRight, outerMargin - glyph.rightBearing);
      marginTop = std::max(marginTop, innerMargin - glyph.topBearing - penY);
      marginBottom = std::max(marginBottom, outerMargin - glyph.bottomBearing);
    } else {
      if (penY + glyph.topBearing < 0.0f) {
        lineStart -= glyph.topBearing;
        penY -= glyph.topBearing;
      }
      marginTop = std::max(marginTop, innerMargin - glyph.topBearing - penY);
      marginBottom = std::max(marginBottom, outerMargin - glyph.bottomBearing);
      marginRight = std::max(marginRight, outerMargin + penX - glyph.rightBearing);
      marginLeft = std::max(marginLeft, innerMargin - glyph.leftBearing);
    }
  }

  const float margins = innerMargin + outerMargin;
  if (!vertical) {
    cellWidth = std::ceil(glyph.leftOverhang + glyph.rightOverhang + margins + glyph.advanceX);
    cellHeight =
        std::ceil(glyph.topOverhang + glyph.bottomOverhang + margins + fontFace.lineHeight());
  } else {
    cellWidth =
        std::ceil(glyph.leftOverhang + glyph.rightOverhang + margins + fontFace.lineHeight());
    cellHeight = std::ceil(glyph.topOverhang + glyph.bottomOverhang + margins + glyph.advanceY);
  }
  cellX = std::ceil(rowX);
  cellY = std::ceil(atlasY);
  rowX += cellWidth;
  rowHeight = std::max(rowHeight, cellHeight);
}

void TextDraw::endLine() {
  if (lineIndex < 0 || static_cast<std::size_t>(lineIndex) >= lines.size())
    lines.push_back({lineHeight, lineAscent, lineStart, vertical ? penY : penX});
  ++lineIndex;
  atlasWidth = std::max(atlasWidth, rowX);
  atlasY += rowHeight;
  atlasHeight = std::max(atlasHeight, atlasY);
}

void TextDraw::runPass() {
  beginLayout();
  for (;;) {
    const bool more = layoutLine();
    endLine();
    if (vertical) {
      const float d = penX - lineHeight;
      maxWidth = std::max(maxWidth, -d);
      penX = d - lineSpacing;
    } else {
      const float b = penY + lineHeight;
      maxHeight = std::max(maxHeight, b);
      penY = b + lineSpacing;
    }
    if (!more) {
      measured = true;
      return;
    }
    // The rest of the text is not due yet.
    if (measured && time > currentTime) return;
  }
}

void TextDraw::measure() { runPass(); }

void TextDraw::draw(ResourceBuffer& buffer) {
  if (characterIndex == 0) return;
  ResourceBuffer::Surface surface(buffer);
  target = &surface.target();
  struct ClearTarget {
    TextDraw& text;
    ~ClearTarget() {
      text.target = nullptr;
      text.fillBrush.reset();
      text.edgeBrush.reset();
    }
  } clearTarget{*this};
  runPass();
  surface.endDraw();
}

void TextDraw::splitCharacters(ResourceBuffer& atlas, CharacterCallback callback) {
  for (const Cell& cell : cells) {
    if (cell.width <= 0 || cell.height <= 0 || cell.x < 0 || cell.y < 0) continue;
    if (static_cast<uint64_t>(cell.x) + static_cast<uint64_t>(cell.width) > atlas.width() ||
        static_cast<uint64_t>(cell.y) + static_cast<uint64_t>(cell.height) > atlas.height())
      continue;
    auto image = std::make_unique<ResourceBuffer>(cell.width, cell.height);
    image->copyRect(atlas, cell.x, cell.y, static_cast<uint32_t>(cell.width),
                    static_cast<uint32_t>(cell.height));
    callback(image, cell.characterIndex, cell.centerX + marginLeft, cell.centerY + marginTop,
             cell.z);
  }
  callback = nullptr;
}

void TextDraw::drawGlyph(float x, float y) {
  const GlyphPainter painter(fontFace, currentSize);
  const float baselineX = x + glyph.offsetX;
  const float baselineY = y + glyph.offsetY;
  if (painter.drawColorGlyph(*target, glyph.glyphIndex, baselineX, baselineY, currentColor))
    return;
  const std::unique_ptr<PathGeometry> outline = painter.outline(glyph.glyphIndex);
  if (shadowOffset > 0.0f) {
    target->drawGeometry(*outline, edgeBrush.get(), baselineX + shadowOffset,
                         baselineY + shadowOffset, edgeBrush.get(), currentEdgeWidth,
                         edgeStrokeStyle);
    target->drawGeometry(*outline, fillBrush.get(), baselineX, baselineY, fillBrush.get(),
                         currentEdgeWidth, edgeStrokeStyle);
  } else {
    target->drawGeometry(*outline, fillBrush.get(), baselineX, baselineY, edgeBrush.get(),
                         currentEdgeWidth, edgeStrokeStyle);
  }
}

}  // namespace Media
