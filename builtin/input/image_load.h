#pragma once
// "画像ファイル": a still image, or one image of a numbered sequence per frame.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_number.h"
#include "builtin/input/image_sequence.h"

namespace Effect {

class ImageLoad : public EffectBase {
 public:
  static constexpr const char* kName = "画像ファイル";

  ImageLoad();
  std::shared_ptr<EffectBase> create() const override;
  OwnedImage inputVideo(EffectContext& context) override;
  void preInputVideo(EffectContext& context) override;
  std::string getDisplayName() const override;
  bool editEvent(EffectEventParam& event) override;
  bool isSupportedFile(const std::string& path) const override;
  void updateItemState() override;

  // The file shown at the context's frame: the chosen file, or with "連番ファイル" on the
  // file of the sequence for that frame.
  std::string fileAt(const EffectContext& context);

  EffectItemFile file;
  EffectItemNumber number;
  EffectItemCheck sequence;

 private:
  // The information tooltip: the path, the picture's size and the reader's name.
  bool showInfo() const;

  ImageSequence sequenceFiles_;
};

}  // namespace Effect
