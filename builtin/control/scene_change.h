#pragma once
// "シーンチェンジ": turns the picture of the layers before it from the frame before its object into
// the current frame, by one of the built-in passages or a wipe.
#include <memory>

#include "builtin/control/scene_change_resource.h"
#include "builtin/control/scene_change_transition.h"
#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

class SceneChange : public EffectBase {
 public:
  static constexpr const char* kName = "シーンチェンジ";

  using CommonResource = SceneChangeResource;

  SceneChange();
  std::shared_ptr<EffectBase> create() const override;

  // Has the render engine draw the picture before the object: the frame before its start,
  // up to the layer before its own, kept in the context's pre-input slot.
  void preInputVideo(EffectContext& context) override;
  // The same for any effect that mixes from the picture before its object (the scene
  // change scripts).
  static void prepareBeforeFrame(EffectContext& context);
  // The picture prepareBeforeFrame left in the context; null when the slot is empty or
  // holds something else.
  static Media::RenderBuffer* beforeFrame(const EffectContext& context);
  // Draws the transition from that picture to the frame at the object's progress.
  void controlVideo(EffectContext& context) override;
  // The view the turning transitions draw their pictures with: the context's own.
  OutputView getOutputView(EffectContext& context) override;
  // A new "種類" rebuilds the setting window's blocks: the items shown change with it.
  bool editEvent(EffectEventParam& event) override;
  // Shows the items the chosen transition uses.
  void updateItemState() override;
  void createResource() override;
  void shareResource(const EffectBase& prototype) override;

  // The choices of "種類": the built-in passages (0 to 12), then every wipe of the shared
  // drawing resources at 13 + its value; without those resources (a headless run) the
  // passages alone. Any thread.
  static std::shared_ptr<EffectItemSelect::SharedList> getSceneChangeList();
  // The number of built-in passages: the value of the first wipe.
  static constexpr int kBuiltinCount = 13;

  EffectItemSelect kind;
  EffectItemNumber angle;
  EffectItemNumber divisions;
  EffectItemNumber blur;
  EffectItemCheck vertical;
  EffectItemCheck reverse;
  EffectItemCheck keepAspect;

 private:
  // The prototype's shaders; an instance made outside the registry makes its own.
  std::shared_ptr<CommonResource> resource_;
};

}  // namespace Effect
