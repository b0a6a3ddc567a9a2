#pragma once
// "クリッピング": cuts rows and columns off the four sides of the picture.
//
// The kept part stays where it was drawn (the centre offset moves by half the difference of
// the opposite cuts) unless "中心の位置を変更" centres it on the object. On the focus object
// the preview shows a small handle at the middle of each edge; dragging one changes the cut
// of its side.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

class ClipFilter : public EffectBase {
 public:
  static constexpr const char* kName = "クリッピング";
  // The handles' flag words, one per side.
  static constexpr int kLeftHandle = 0x20;
  static constexpr int kRightHandle = 0x40;
  static constexpr int kTopHandle = 0x80;
  static constexpr int kBottomHandle = 0x100;

  ClipFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture without the cut rows and columns; none when nothing is left.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;
  // A handle for each side whose cut is a stored value at the frame.
  void updateAnchor(EffectContext& context, int width, int height) override;
  // A drag step on a handle adds its travel to the cut of the handle's side.
  bool anchorEvent(Anchor::AnchorEvent& event) override;

  EffectItemNumber top;
  EffectItemNumber bottom;
  EffectItemNumber left;
  EffectItemNumber right;
  EffectItemCheck moveCenter;
};

}  // namespace Effect
