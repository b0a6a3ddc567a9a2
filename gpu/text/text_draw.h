#pragma once
// The text engine of rendered video: lays out a text with per-character display times and
// draws it into a GPU image, whole or as one atlas cell per character.
//
// Callers fill the inputs, measure, make a transparent image of the measured size (or of the
// atlas size in individual mode) and draw:
//     Media::TextDraw text;
//     text.text = u"Hello<#ff0000>!"; text.baseFamily = u"Noto Sans CJK JP"; ...
//     text.measure();
//     auto image = std::make_unique<Media::ResourceBuffer>(text.imageWidth(), text.imageHeight());
//     ... clear it ...; text.draw(*image);
// The first pass measures the whole text (lines, extents, margins); the drawing pass reuses
// its lines and stops at the first line whose characters are not due yet. Inline tags change
// colour, font, size, pen position and timing part-way (text_tag.h gives their grammar).
// Glyph outlines are drawn through Cairo with an optional edge or shadow; glyphs of colour
// fonts are drawn in their own colours.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gpu/draw2d/draw_resource.h"
#include "gpu/text/font_face.h"
#include "gpu/text/font_glyph.h"

namespace Media {

class RenderTargetDirect3D;
class ResourceBuffer;

class TextDraw {
 public:
  struct Line {
    float height = 0.0f;
    float ascent = 0.0f;
    float start = 0.0f;
    float extent = 0.0f;  // pen x (pen y when vertical) after the line's last character
  };
  struct Cell {
    int32_t characterIndex = 0;
    int32_t x = 0, y = 0, width = 0, height = 0;  // the cell in the atlas
    float centerX = 0.0f, centerY = 0.0f;         // the cell's centre in the text's layout
    float z = 0.0f;
  };
  // Receives each character's image (it may keep it), its index and its centre and depth.
  using CharacterCallback = std::function<void(std::unique_ptr<ResourceBuffer>& image,
                                               int32_t characterIndex, float x, float y, float z)>;

  TextDraw() = default;
  TextDraw(const TextDraw&) = delete;
  TextDraw& operator=(const TextDraw&) = delete;
  ~TextDraw();

  // One layout pass without drawing.
  void measure();
  // Draws the measured text into the buffer; nothing when it has no character.
  void draw(ResourceBuffer& buffer);
  // Cuts every recorded cell out of the atlas, in character order; cells outside it are
  // dropped.
  void splitCharacters(ResourceBuffer& atlas, CharacterCallback callback);

  // The steps of a pass, also used to find the whole text's display time.
  void beginLayout();
  bool layoutLine();
  void endLine();

  // The image size of the measured text, and of the atlas in individual mode.
  int32_t imageWidth() const;
  int32_t imageHeight() const;
  int32_t atlasImageWidth() const;
  int32_t atlasImageHeight() const;

  // --- state ---
  float lineHeight = 0.0f;
  float lineAscent = 0.0f;
  float lineStart = 0.0f;
  float lineExtent = 0.0f;
  std::vector<Line> lines;
  const char16_t* cursor = nullptr;
  float penX = 0.0f, penY = 0.0f, penZ = 0.0f;
  Resource::FontFace fontFace;
  float currentSize = 0.0f;
  float currentEdgeWidth = 0.0f;
  float shadowOffset = 0.0f;
  float innerMargin = 0.0f;
  float outerMargin = 0.0f;
  const StrokeStyle* edgeStrokeStyle = nullptr;
  ColorF currentColor;
  ColorF currentEdgeColor;
  double characterInterval = 0.0;
  double time = 0.0;
  int32_t charactersSinceWait = 0;
  int32_t characterIndex = 0;
  int32_t lineIndex = 0;
  std::u16string currentFamily;
  float maxWidth = 0.0f, maxHeight = 0.0f;
  float marginLeft = 0.0f, marginRight = 0.0f, marginTop = 0.0f, marginBottom = 0.0f;
  int32_t firstVisibleCharacter = 0;

  // --- inputs ---
  const char16_t* text = u"";
  double currentTime = 0.0;
  bool vertical = false;
  float lineAlignment = 0.0f;
  const char16_t* baseFamily = u"";
  float baseSize = 0.0f;
  float edgeRatio = 0.0f;
  float shadowAlpha = 0.0f;
  bool roundedEdge = false;
  bool bold = false;
  bool italic = false;
  ColorF baseColor;
  ColorF baseEdgeColor;
  float characterSpacing = 0.0f;
  float lineSpacing = 0.0f;
  double displaySpeed = 0.0;

  // --- working state ---
  Resource::FontGlyph glyph;
  RenderTargetDirect3D* target = nullptr;
  std::unique_ptr<SolidColorBrush> fillBrush;
  std::unique_ptr<SolidColorBrush> edgeBrush;
  bool measured = false;
  bool individual = false;
  float rowX = 0.0f, atlasY = 0.0f, rowHeight = 0.0f, atlasWidth = 0.0f, atlasHeight = 0.0f;
  float cellX = 0.0f, cellY = 0.0f, cellWidth = 0.0f, cellHeight = 0.0f;
  std::vector<Cell> cells;

 private:
  void runPass();
  void setFont(const std::u16string& family, float size, float edgeWidth, bool fontBold,
               bool fontItalic);
  void setColor(const ColorF& color, const ColorF& edgeColor);
  void beginLine();
  void prepareGlyph();
  void drawGlyph(float x, float y);
  // Grows the line to a taller face set by a tag.
  void growLine();

  // The tags (the cursor is just past the '<'); false leaves the cursor and draws the '<'.
  bool parseTag();
  bool parseColorTag();
  bool parseFontTag();
  bool parseSizeTag();
  bool parsePositionTag();
  bool parseSpeedTag();
  bool parseWaitTag();
  bool parseClearTag();

  const char16_t* textEnd_ = nullptr;  // the text's terminating zero
};

}  // namespace Media
