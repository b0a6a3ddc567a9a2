#include "builtin/camera/camera_option.h"

#include "builtin/choice_lists.h"

namespace Effect {

CameraOption::CameraOption()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      facing(items, "オブジェクトの向き", 0, ObjectFacingList()),
      hideBackFace(items, "裏面を表示しない", false) {
  label = "カメラ制御";
}

std::shared_ptr<EffectBase> CameraOption::create() const {
  return std::make_shared<CameraOption>();
}

}  // namespace Effect
