#pragma once
// "音声ファイル": the sound of an audio or movie file.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_number.h"
#include "effect/media_input_effect_base.h"

namespace Effect {

class AudioLoad : public EffectBase, public InputMovieEffect {
 public:
  static constexpr const char* kName = "音声ファイル";

  AudioLoad();
  std::shared_ptr<EffectBase> create() const override;
  OwnedAudio inputAudio(EffectContext& context) override;
  void preInputAudio(EffectContext& context) override;
  std::string getDisplayName() const override;
  bool editEvent(EffectEventParam& event) override;
  bool isSupportedFile(const std::string& path) const override;

  EffectItemNumber position;
  EffectItemNumber speed;
  EffectItemFile file;
  EffectItemCheck loop;
};

}  // namespace Effect
