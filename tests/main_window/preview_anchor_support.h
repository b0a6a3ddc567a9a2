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
    // The event names this effect: kept, it would keep the effect alive for ever.
    events.back().effect.reset();
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

#include <set>
#include <string>

#include "main_window/preview/anchor_control_host.h"

namespace TestSupport {

// Answers the control's questions from its fields and records what the control does.
class FakeAnchorHost : public Anchor::AnchorControlHost {
 public:
  bool singleClickFocusesObject() const override { return singleClickFocus; }
  bool clickSelectsGroup() const override { return selectGroup; }
  bool hoverHidesOtherAnchors() const override { return hoverHides; }
  const Edit::Object* focusObject() const override { return focus.get(); }
  bool isSelected(const Edit::Object& object) const override {
    return selected.count(&object) > 0;
  }
  bool selectionEmpty() const override { return selected.empty(); }
  void setFocusObject(const std::shared_ptr<Edit::Object>& object) override {
    focus = object;
    calls.push_back("focus");
  }
  void clickSelectObject(const std::shared_ptr<Edit::Object>& object, bool withGroup) override {
    selected.insert(object.get());
    calls.push_back(withGroup ? "select group" : "select");
  }
  void clickOutsideSelection() override { calls.push_back("outside"); }
  int sceneWidth() const override { return 640; }
  int sceneHeight() const override { return 480; }
  std::shared_ptr<Effect::EffectBase> firstEffect(const Edit::Object&) const override {
    return first;
  }
  std::string layerName(const Edit::Object&) const override { return "Layer 3"; }
  void beginDrag(bool dragCursor) override {
    calls.push_back(dragCursor ? "drag" : "plain drag");
  }
  void beginUndoStep() override { calls.push_back("undo"); }
  void recordEffect(const std::shared_ptr<Effect::EffectBase>& effect) override {
    recorded.push_back(effect.get());
  }
  void commitUndoStep() override { calls.push_back("commit"); }
  void runDragStep(const std::function<void()>& step) override {
    calls.push_back("step");
    step();
  }

  bool singleClickFocus = true;
  bool selectGroup = false;
  bool hoverHides = false;
  std::shared_ptr<Edit::Object> focus;
  std::set<const Edit::Object*> selected;
  std::shared_ptr<Effect::EffectBase> first;
  std::vector<std::string> calls;
  std::vector<const Effect::EffectBase*> recorded;
};

}  // namespace TestSupport
