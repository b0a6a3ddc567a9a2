#pragma once
// Small pieces the preview's handle tests share: an effect that records the events it
// receives, and matrices that place points at a chosen depth.
#include <memory>
#include <vector>

#include "edit/object.h"
#include "effect/anchor_event.h"
#include "effect/effect_base.h"
#include "system/xmath.h"

namespace TestSupport {

class EventRecordingEffect : public Effect::EffectBase {
 public:
  explicit EventRecordingEffect(uint8_t type = Effect::EffectType::Filter)
      : EffectBase("テスト", type, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override {
    return std::make_shared<EventRecordingEffect>();
  }
  bool anchorEvent(Anchor::AnchorEvent& event) override {
    events.push_back(event);
    return consumeDoubleClick && event.kind == Anchor::EventKind::DoubleClick;
  }

  std::vector<Anchor::AnchorEvent> events;
  bool consumeDoubleClick = false;
};

// Identity in x and y, w = 1, and z = base + ax * x + ay * y: a point is in front of the
// visibility boundary (w / z - 1 > 0) when 0 < z < 1.
inline XMath::Matrix depthMatrix(float base, float ax = 0.0f, float ay = 0.0f) {
  XMath::Matrix m = XMath::identity();
  m.m[2][2] = 0.0f;
  m.m[0][2] = ax;
  m.m[1][2] = ay;
  m.m[3][2] = base;
  return m;
}

}  // namespace TestSupport
