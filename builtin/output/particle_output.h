#pragma once
// "パーティクル出力": draws the object's picture as a stream of particles emitted from its
// position. Particles leave at a steady rate, fly off in a direction with a spread,
// accelerate, fall, fade, grow and turn until their lifetime ends. Nothing is kept between
// frames: every living particle is recomputed from its number, and its random values come
// from the object's layer, its start frame and that number, so a frame always shows the same
// particles. All particles of a frame go into one vertex list drawn in one call.
#include <cstdint>
#include <memory>
#include <span>

#include "effect/effect_context.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"
#include "effect/move_effect.h"

namespace Media {
class VertexList;
}

namespace Effect {

class ParticleOutput : public MoveEffect {
 public:
  static constexpr const char* kName = "パーティクル出力";
  // The newest particles considered in one frame; older ones are left out.
  static constexpr int kMaxParticles = 10000;

  ParticleOutput();
  std::shared_ptr<EffectBase> create() const override;
  // "図形": an object made with this output alone gets a figure as its picture.
  const EffectDefine* getDefaultInputEffect() const override;

  // Draws the image once per living particle through one collected vertex list: the
  // context's own list (for example one a script drew) or the image's quad is the shape of
  // every particle. Nothing at a rate of 0 or without an image.
  void outputVideo(EffectContext& context, Media::RenderBuffer& target, OwnedImage& image) override;
  // The context's view moved by X, Y and Z, with a blend mode other than 0 (clamped to
  // 0..23). While particles start transparent the opacity is a hair below 1, so that no
  // drawing path takes the object for an opaque one.
  OutputView getOutputView(EffectContext& context) override;

  // Appends `base` to `particles` once per particle living at the context's instant, newest
  // first: scaled, turned, placed at its emitter position plus its flight, and its vertex
  // alpha faded. Returns how many were appended. Nothing without a scene of usable rate.
  int collectParticles(const EffectContext& context, const Media::VertexList& base,
                       Media::VertexList& particles) const;
  // The random fractions (0..1) of particle `number` of the object on `layer` that starts at
  // `startFrame`, in the order a particle draws them: the spread, then the emission place
  // (with "移動範囲の座標からランダムに出力"), then the start angle, the speed factor and
  // the axis height and angle (with "3Dランダム回転").
  static void particleFractions(int layer, int startFrame, int64_t number,
                                std::span<float> fractions);

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber z;
  EffectItemNumber frequency;
  EffectItemNumber speed;
  EffectItemNumber acceleration;
  EffectItemNumber direction;
  EffectItemNumber spread;
  EffectItemNumber transparency;
  EffectItemNumber transparencySpeed;
  EffectItemNumber zoom;
  EffectItemNumber zoomSpeed;
  EffectItemNumber rotation;
  EffectItemNumber rotationSpeed;
  EffectItemNumber gravity;
  EffectItemNumber lifetime;
  EffectItemCheck randomPlace;
  EffectItemCheck directionAlongPath;
  EffectItemCheck rotationAlongPath;
  EffectItemCheck randomRotation3D;
  EffectItemSelect blendMode;
};

}  // namespace Effect
