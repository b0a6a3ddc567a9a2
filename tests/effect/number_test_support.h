#pragma once
// Movement kinds made for the number-item tests, registered once per process, and a
// context for an instant of a fake object.
#include <memory>
#include <vector>

#include "effect/effect_context.h"
#include "effect/effect_item_number.h"
#include "effect/movement_base.h"
#include "effect/movement_registry.h"
#include "effect_test_support.h"

namespace TestSupport {

// A kind with one value per point whose fields the tests choose; its value is the first
// value, so only the track's bookkeeping is under test.
class TestMove : public Effect::MovementBase {
 public:
  TestMove(const char* name, bool timeControlled, std::vector<double> params)
      : MovementBase(name, -1) {
    timeControl = timeControlled;
    defaultParams = std::move(params);
  }
  double getValue(const Effect::EffectItemNumber& track, const Effect::SectionPosition&,
                  const Effect::EffectContext&) const override {
    return track.getDisplayValue(0);
  }
};

inline const Effect::MovementBase& registerOnce(std::shared_ptr<Effect::MovementBase> movement) {
  auto& registry = Effect::MovementRegistry::instance();
  const std::string name = movement->name;
  registry.registerMovement(std::move(movement));
  return *registry.findMovement(name);
}

// A time-controlled kind without params.
inline const Effect::MovementBase& curveMove() {
  static const Effect::MovementBase& move =
      registerOnce(std::make_shared<TestMove>("テスト時間制御", true, std::vector<double>{}));
  return move;
}

// A time-controlled kind with two params (15 and 2 by default).
inline const Effect::MovementBase& paramsMove() {
  static const Effect::MovementBase& move =
      registerOnce(std::make_shared<TestMove>("テスト設定付き", true, std::vector<double>{15, 2}));
  return move;
}

// A kind whose options are on when it is chosen, with a default curve.
inline const Effect::MovementBase& optionsMove() {
  static const Effect::MovementBase& move = []() -> const Effect::MovementBase& {
    auto made = std::make_shared<TestMove>("テスト選択肢", true, std::vector<double>{3});
    made->accelerate = Effect::MovementBase::OfferedOn;
    made->decelerate = Effect::MovementBase::OfferedOff;
    made->ignoreMidpoints = Effect::MovementBase::OfferedOn;
    made->defaultTimeControl = {0.25, 0.25, 0.25, 0.25};
    return registerOnce(made);
  }();
  return move;
}

inline const Effect::MovementBase& linearMove() {
  return *Effect::MovementRegistry::instance().findMovement("直線移動");
}

// A context at `frame` of a fake `object`.
inline Effect::EffectContext contextAt(const std::shared_ptr<Edit::Object>& object, int frame,
                                       double time) {
  Effect::EffectContext context;
  context.frame = frame;
  context.time = time;
  setFakeObject(context, object);
  return context;
}

inline Effect::EffectContext contextAt(const std::shared_ptr<Edit::Object>& object, int frame) {
  return contextAt(object, frame, frame);
}

}  // namespace TestSupport
