#pragma once
// What the camera control, the group control and the group audio control publish in their
// control steps for the objects they govern. The control effects derive from these records;
// readers reach the governing control object through the context's links, take its first
// effect and cast it (published()).
//
// The control step of a frame runs before the objects it governs are drawn or mixed, on the
// same object thread, so no lock guards the fields.
#include <cstdint>
#include <memory>

#include "edit/camera_view.h"
#include "edit/object.h"
#include "effect/effect_base.h"
#include "system/xmath.h"

namespace Render {

struct CameraControlState {
  virtual ~CameraControlState() = default;
  Edit::CameraView camera;         // evaluated from the items in the last begin phase
  bool freeView = false;           // the last begin phase used the edit camera
  XMath::Matrix viewProjection = XMath::identity();
  XMath::Vector viewDirection;     // target minus position, not normalised
  XMath::Vector guidePoint;        // the axis guides go through it while w > 0
};

struct GroupControlState {
  virtual ~GroupControlState() = default;
  XMath::Matrix worldMatrix = XMath::identity();  // own transform times the enclosing group's
  XMath::Matrix viewMatrix = XMath::identity();   // the group's view-projection without camera
  bool isFlat = true;       // no z offset, no rotation and zoom 100 along the group chain
  int32_t enclosingLayer = -1;  // the enclosing group control's layer, or -1
};

struct GroupAudioControlState {
  virtual ~GroupAudioControlState() = default;
  float gainLeft = 1.0f;
  float gainRight = 1.0f;
  int32_t enclosingLayer = -1;
};

// The published record of a control object's first effect, or null when the object is
// empty or its first effect publishes no such record.
template <class State>
State* published(const std::shared_ptr<Edit::Object>& object) {
  if (!object || object->effects.empty() || !object->effects.front()) return nullptr;
  return dynamic_cast<State*>(object->effects.front().get());
}

}  // namespace Render
