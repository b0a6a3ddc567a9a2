// The per-character mode of the text input: the text is drawn once into an atlas with one
// cell per shown character, and every cell becomes a piece of the object that runs through
// the rest of its chain and its output on its own, with the character's index. A piece is
// placed where its character lies in the text, or, along the path, where the object's own
// movement is at the share of the text that the character has reached, turned to the
// path's direction there.
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "builtin/input/text_input.h"
#include "builtin/input/text_input_layout.h"
#include "effect/anchor_points.h"
#include "gpu/resource_buffer.h"
#include "render/effect_chain.h"

namespace Effect {

namespace {

constexpr float kDegreesPerRadian = 57.295776f;
constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2;
// The path's length when the text has none to speak of: every character then stays at
// the path's start.
constexpr double kNoLength = 1000000.0;

struct Point {
  float x, y, z;
  bool operator==(const Point&) const = default;
};

// Where the object's output puts it at a share (0 to 1) of its frames.
Point pathPosition(const EffectContext& context, double share) {
  EffectContext probe = context;
  const ObjectFrames& frames = context.objectFrames;
  setContextTime(probe, frames.start + (frames.end - frames.start) * share);
  const OutputView view = Render::Chain::getOutputView(probe);
  return {view.x, view.y, view.z};
}

// Places a character along the object's movement path: the character at offset `along`
// (its centre, along its line) with `extent` sits at the path's point for that share of
// the text's length and turns to the direction towards the point one extent further. Its
// offset across the line turns with it.
void placeOnPath(EffectContext& piece, const EffectContext& context, bool vertical,
                 double length, double along, double extent, float across, float z) {
  const double a = std::clamp(along / length, 0.0, 1.0);
  const double b = std::clamp((along + extent) / length, 0.0, 1.0);
  const Point p1 = pathPosition(context, a);
  const Point p2 = pathPosition(context, b);
  // Where the path stands still the character keeps its upright place.
  const float direction = p1 == p2 ? (vertical ? kQuarterTurn : 0.0f)
                                   : std::atan2(p2.y - p1.y, p2.x - p1.x);
  const float sine = std::sin(direction);
  const float cosine = std::cos(direction);
  OutputView& view = piece.outputView;
  if (!vertical) {
    view.x = p1.x - sine * across;
    view.y = p1.y + cosine * across;
    view.rotationZ += direction * kDegreesPerRadian;
  } else {
    // A column runs along the path, so the character turns a quarter turn less than the
    // path does; its offset across the column turns with it.
    view.x = p1.x + sine * across;
    view.y = p1.y - cosine * across;
    view.rotationZ += (direction - kQuarterTurn) * kDegreesPerRadian;
  }
  view.z = p1.z + z;
  // The path's points already hold the output's own position.
  piece.positionApplied = true;
}

}  // namespace

void TextInput::drawCharacters(EffectContext& context, Layout& layout) {
  Media::TextDraw& draw = layout.draw;
  context.partCount = draw.characterIndex;
  const int32_t width = draw.imageWidth();
  const int32_t height = draw.imageHeight();
  if (width <= 0 || height <= 0) return;
  draw.individual = true;
  const int32_t atlasWidth = draw.atlasImageWidth();
  const int32_t atlasHeight = draw.atlasImageHeight();
  if (atlasWidth <= 0 || atlasHeight <= 0) return;
  Media::ResourceBuffer atlas(atlasWidth, atlasHeight);
  atlas.createRenderTargetView();
  const float transparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  atlas.clearRenderTarget(transparent);
  draw.draw(atlas);

  const Alignment& align = layout.alignment;
  const auto w = static_cast<float>(width);
  const auto h = static_cast<float>(height);
  const bool onPath = alongPath.value;
  const bool vertical = align.vertical;
  double pathLength = vertical ? h : w;
  if (!(pathLength > 1.0)) pathLength = kNoLength;
  const float acrossBase = vertical ? -(0.5f + align.fx) * w : -(align.fy + 0.5f) * h;
  // The text's box placed as the alignment says around the object's position.
  const float originX = context.outputView.x - (0.5f + align.fx) * w;
  const float originY = context.outputView.y - (0.5f + align.fy) * h;

  draw.splitCharacters(atlas, [&](std::unique_ptr<Media::ResourceBuffer>& image, int32_t index,
                                  float x, float y, float z) {
    EffectContext piece = context;
    piece.partIndex = index;
    if (onPath) {
      const double along = vertical ? y : x;
      const double extent = vertical ? image->height() : image->width();
      placeOnPath(piece, context, vertical, pathLength, along, extent,
                  acrossBase + (vertical ? x : y), z);
    } else {
      piece.outputView.x = originX + x;
      piece.outputView.y = originY + y;
      piece.outputView.z += z;
    }
    OwnedImage picture =
        Render::Chain::filterVideoFrom(piece, adoptBuffer(std::move(image)), this, &context);
    Render::Chain::outputVideo(piece, picture);
  });

  // The handles stand for the whole text: its box for characters in place, a point for
  // characters along the path. The output must not turn, centre or scale them again.
  context.transformApplied = true;
  if (onPath) {
    context.individualParts = true;
    Render::Chain::updateAnchor(context, 0, 0);
    return;
  }
  context.outputView.centerX = w * align.fx;
  context.outputView.centerY = h * align.fy;
  Render::Chain::updateAnchor(context, width, height);
}

}  // namespace Effect
