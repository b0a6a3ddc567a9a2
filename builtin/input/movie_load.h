#pragma once
// "動画ファイル": the picture and sound of a movie file.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/media_input_effect_base.h"

namespace Effect {

class MovieLoad : public EffectBase, public InputMovieEffect {
 public:
  static constexpr const char* kName = "動画ファイル";

  MovieLoad();
  std::shared_ptr<EffectBase> create() const override;
  // Whether the sound can move into an audio object: asked with 0, for a file whose
  // media has sound ("音声付き" set).
  bool canSeparateAudio(int value) const override;
  OwnedImage inputVideo(EffectContext& context) override;
  void preInputVideo(EffectContext& context) override;
  OwnedAudio inputAudio(EffectContext& context) override;
  void preInputAudio(EffectContext& context) override;
  std::string getDisplayName() const override;
  bool editEvent(EffectEventParam& event) override;
  bool isSupportedFile(const std::string& path) const override;

  EffectItemNumber position;
  EffectItemNumber speed;
  EffectItemFile file;
  EffectItemCheck loop;
  EffectItemInteger hasAudio;
};

}  // namespace Effect
