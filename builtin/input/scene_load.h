#pragma once
// "シーン": another scene of the project, played like a movie.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/media_input_effect_base.h"

namespace Effect {

class SceneLoad : public EffectBase, public InputMovieEffect {
 public:
  static constexpr const char* kName = "シーン";

  SceneLoad();
  std::shared_ptr<EffectBase> create() const override;
  // Whether the sound can move into an audio object: asked with 0.
  bool canSeparateAudio(int value) const override;
  OwnedImage inputVideo(EffectContext& context) override;
  void preInputVideo(EffectContext& context) override;
  OwnedAudio inputAudio(EffectContext& context) override;
  void preInputAudio(EffectContext& context) override;
  std::string getDisplayName() const override;
  bool editEvent(EffectEventParam& event) override;
  // The scene's source name in the caches; empty for no scene.
  std::string sourceName() const;

  EffectItemNumber position;
  EffectItemNumber speed;
  EffectItemScene scene;
  EffectItemCheck loop;
};

}  // namespace Effect
