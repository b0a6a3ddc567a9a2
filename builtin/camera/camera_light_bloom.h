#pragma once
// "ライトブルーム(カメラ制御)": a glow around the over-bright pixels of a camera control's frame,
// added once the camera's range is drawn and lit.
#include <memory>

#include "builtin/camera/light_bloom_resource.h"
#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class CameraLightBloom : public EffectBase {
 public:
  static constexpr const char* kName = "ライトブルーム(カメラ制御)";

  using CommonResource = LightBloomResource;

  CameraLightBloom();
  std::shared_ptr<EffectBase> create() const override;
  // Adds the glow to the context's frame in place.
  void controlVideo(EffectContext& context) override;
  void createResource() override;
  void shareResource(const EffectBase& prototype) override;

  EffectItemNumber strength;  // percent
  EffectItemNumber spread;    // pixels

 private:
  // The prototype's shaders; an instance made outside the registry makes its own.
  std::shared_ptr<CommonResource> resource_;
};

}  // namespace Effect
