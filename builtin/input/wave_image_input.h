#pragma once
// "音声波形表示": draws sound as a picture, a waveform or a spectrum on a grid of cells: the
// sound of an audio file, or of the current scene when no file is set. "波形のプリセット",
// "スペクトラム表示" and "ミラー表示" share one row of the setting window.
#include <memory>

#include "builtin/input/wave_image_resource.h"
#include "effect/effect_base.h"
#include "effect/effect_item_button.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/media_input_effect_base.h"

namespace Edit {
class Object;
}

namespace Effect {

struct WavePreset;

class WaveImageInput : public EffectBase, public InputMovieEffect {
 public:
  static constexpr const char* kName = "音声波形表示";

  using CommonResource = WaveImageResource;

  WaveImageInput();
  std::shared_ptr<EffectBase> create() const override;
  // The frame's sound as a picture: from the file when one is set, else from the scene's
  // own sound that the pre-input step asked for. No picture when there is no sound there.
  OwnedImage inputVideo(EffectContext& context) override;
  // Pre-loads the file's sound, or asks the audio render worker for the scene's.
  void preInputVideo(EffectContext& context) override;
  // The file's name, or the effect's own name without a file.
  std::string getDisplayName() const override;
  bool editEvent(EffectEventParam& event) override;
  // Whether the input service opens the file as sound.
  bool isSupportedFile(const std::string& path) const override;
  void createResource() override;
  void shareResource(const EffectBase& prototype) override;

  // Writes a preset's cells, gaps and display kind into the items.
  void applyPreset(const WavePreset& preset);

  EffectItemNumber width;
  EffectItemNumber height;
  EffectItemNumber position;
  EffectItemNumber speed;
  EffectItemNumber volume;
  EffectItemFile file;
  EffectItemColor color;
  EffectItemButton preset;
  EffectItemCheckButton spectrum;
  EffectItemCheckButton mirror;
  EffectItemInteger columns;
  EffectItemInteger rows;
  EffectItemInteger columnSpace;
  EffectItemInteger rowSpace;

 private:
  // The prototype's shaders; an instance made outside the registry makes its own.
  std::shared_ptr<CommonResource> resource_;
};

// Applies a preset to an effect of the object in one undoable edit, the way the preset
// button's menu does: the effect's values are recorded, the six items written, and the
// setting windows and the preview refreshed when the edit closes.
void applyWavePreset(const std::shared_ptr<Edit::Object>& object,
                     const std::shared_ptr<WaveImageInput>& effect, const WavePreset& preset);

}  // namespace Effect
