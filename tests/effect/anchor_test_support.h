#pragma once
// Stand-ins for the parts around the anchor effects: the preview's handle list (it records
// what the effects add), the edit model's answers and the render engine's views, plus
// small effects of the three anchor families.
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "effect/anchor_edit_access.h"
#include "effect/anchor_list.h"
#include "effect/anchor_render_access.h"
#include "effect/move_effect.h"
#include "effect/move_xy_anchor_effect.h"
#include "number_test_support.h"

namespace TestSupport {

// One call on the handle list.
struct AddedAnchor {
  AddedAnchor(std::string addedKind, int addedId = -1, int addedFlags = 0,
              const XMath::Vector& addedPoint = {}, const XMath::Matrix& addedMatrix = {})
      : kind(std::move(addedKind)),
        id(addedId),
        flags(addedFlags),
        point(addedPoint),
        matrix(addedMatrix) {}

  // "large", "medium", "small", "frame", "icon", "camera", "line", "point", "dot", "sizes"
  std::string kind;
  int id = -1;
  int flags = 0;
  XMath::Vector point;  // the 3-D point, or the homogeneous point of a marker
  XMath::Matrix matrix;
  std::optional<Anchor::Color> color;
  Anchor::IconKind icon = Anchor::IconKind::ClippingShown;
  Anchor::SizeHandleFrame sizes;
  float width = 0.0f, height = 0.0f;
  std::vector<XMath::Vector> polyline;
  Anchor::AnchorItem item;  // what the effect wrote back
};

class RecordingAnchorList : public Anchor::AnchorList {
 public:
  Anchor::AnchorItem& addLargeCircle(const Anchor::ObjectRef&, const Anchor::EffectEntry&, int id,
                                     const XMath::Vector& point, const XMath::Matrix& matrix,
                                     int flags) override {
    return record({"large", id, flags, point, matrix}).item;
  }
  Anchor::AnchorItem& addMediumCircle(const Anchor::ObjectRef&, const Anchor::EffectEntry&, int id,
                                      const XMath::Vector& point, const XMath::Matrix& matrix,
                                      int flags) override {
    return record({"medium", id, flags, point, matrix}).item;
  }
  Anchor::AnchorItem& addSmallCircle(const Anchor::ObjectRef&, const Anchor::EffectEntry&, int id,
                                     const XMath::Vector& point, const XMath::Matrix& matrix,
                                     int flags) override {
    return record({"small", id, flags, point, matrix}).item;
  }
  Anchor::AnchorItem& addFrame(const Anchor::ObjectRef&, const Anchor::EffectEntry&, int id,
                               float width, float height, const XMath::Matrix& matrix,
                               int flags) override {
    AddedAnchor added{"frame", id, flags, {}, matrix};
    added.width = width;
    added.height = height;
    return record(added).item;
  }
  Anchor::AnchorItem& addIcon(const Anchor::ObjectRef&, const Anchor::EffectEntry&, int id,
                              Anchor::IconKind icon) override {
    AddedAnchor added{"icon", id};
    added.icon = icon;
    return record(added).item;
  }
  Anchor::AnchorItem& addCameraHandle(const Anchor::ObjectRef&, const Anchor::EffectEntry&, int id,
                                      int flags) override {
    return record({"camera", id, flags}).item;
  }
  Anchor::AnchorItem& addLine(const XMath::Vector&, const XMath::Vector&, const Anchor::ObjectRef&,
                              const Anchor::EffectEntry&, int id, const XMath::Vector& point,
                              const XMath::Matrix& matrix, int flags) override {
    return record({"line", id, flags, point, matrix}).item;
  }
  void addPoint(const Anchor::EffectEntry&, const XMath::Vector& point,
                std::optional<Anchor::Color> color) override {
    AddedAnchor added{"point", -1, 0, point};
    added.color = color;
    record(added);
  }
  void addDot(const Anchor::EffectEntry&, const XMath::Vector& point) override {
    record({"dot", -1, 0, point});
  }
  void addPolyline(const Anchor::EffectEntry&, const std::vector<XMath::Vector>& points,
                   std::optional<Anchor::Color> color) override {
    AddedAnchor added{"polyline"};
    added.polyline = points;
    added.color = color;
    record(added);
  }
  void addSizeHandles(const Anchor::ObjectRef&, const Anchor::EffectEntry&, int id, float width,
                      float height, const Anchor::SizeHandleFrame& frame, int flags) override {
    AddedAnchor added{"sizes", id, flags};
    added.sizes = frame;
    added.width = width;
    added.height = height;
    record(added);
  }

  std::vector<const AddedAnchor*> ofKind(const std::string& kind) const {
    std::vector<const AddedAnchor*> found;
    for (const auto& added : added_)
      if (added->kind == kind) found.push_back(added.get());
    return found;
  }
  std::size_t size() const { return added_.size(); }

 private:
  AddedAnchor& record(AddedAnchor added) {
    added_.push_back(std::make_unique<AddedAnchor>(std::move(added)));
    return *added_.back();
  }
  std::vector<std::unique_ptr<AddedAnchor>> added_;
};

// The edit model's answers, set by each test; installed for the test's lifetime.
class FakeAnchorEdit : public Effect::AnchorEditAccess {
 public:
  FakeAnchorEdit() { Effect::setAnchorEditAccess(this); }
  ~FakeAnchorEdit() override { Effect::setAnchorEditAccess(nullptr); }

  bool isFocusObject(const Edit::Scene*, const Edit::Object& object) const override {
    return focus == &object;
  }
  bool isLayerLocked(const Edit::Scene*, int layer) const override {
    return lockedLayers.count(layer) > 0;
  }
  std::shared_ptr<Effect::EffectBase> findEffectEntry(const Edit::Object& object,
                                                      const Effect::EffectBase& effect) const override {
    const auto found = chains.find(&object);
    if (found == chains.end()) return nullptr;
    for (const auto& entry : found->second)
      if (entry.get() == &effect) return entry;
    return nullptr;
  }
  std::shared_ptr<Effect::EffectBase> getFirstEffect(const Edit::Object& object) const override {
    const auto found = chains.find(&object);
    return found == chains.end() || found->second.empty() ? nullptr : found->second.front();
  }
  bool isClippingObject(const Edit::Object&) const override { return clipping; }
  Effect::AnchorSettings getSettings() const override { return settings; }
  int getSettingPointIndex() const override { return settingPoint; }
  void setCursorFrame(int frame) override { cursorFrames.push_back(frame); }
  void setSettingFrame(int frame) override { settingFrames.push_back(frame); }
  void toggleVisibleClippingObject() override { ++clippingToggles; }
  void showRefusedCursor() override { ++refusedCursors; }

  const Edit::Object* focus = nullptr;
  std::set<int> lockedLayers;
  std::map<const Edit::Object*, std::vector<std::shared_ptr<Effect::EffectBase>>> chains;
  bool clipping = false;
  Effect::AnchorSettings settings;
  int settingPoint = 0;
  std::vector<int> cursorFrames;
  std::vector<int> settingFrames;
  int clippingToggles = 0;
  int refusedCursors = 0;
};

// The render engine's answers: the output's view is the one its effect gives, the
// governing group may turn, and the camera keeps the focus point it is handed.
class FakeAnchorRender : public Effect::AnchorRenderAccess {
 public:
  FakeAnchorRender() { Effect::setAnchorRenderAccess(this); }
  ~FakeAnchorRender() override { Effect::setAnchorRenderAccess(nullptr); }

  Effect::OutputView getOutputView(Effect::EffectContext& context) const override {
    return output ? output->getOutputView(context) : context.outputView;
  }
  bool isGroupTransformPlain(const Effect::OutputView&) const override { return groupPlain; }
  void storeCameraFocusPoint(const Effect::OutputView&, const XMath::Vector& point) const override {
    cameraPoint = point;
  }
  bool isClippingObjectVisible() const override { return clippingVisible; }

  Effect::EffectBase* output = nullptr;
  bool groupPlain = true;
  bool clippingVisible = true;
  mutable std::optional<XMath::Vector> cameraPoint;
};

// A filter placing a point in the image plane.
class PlaneFilter : public Effect::MoveXYAnchorEffect {
 public:
  PlaneFilter() : MoveXYAnchorEffect("テスト平面", Effect::EffectType::Filter, 1, 1) {
    positionItems = {&x, &y};
    x.linkGroup = y.linkGroup = &positionItems;
  }
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<PlaneFilter>(); }
  Effect::EffectItemNumber x{items, "X", 0, -2000, 2000, 1};
  Effect::EffectItemNumber y{items, "Y", 0, -2000, 2000, 1};
};

// A drawing output placing the object in space, with its own size item.
class SpaceOutput : public Effect::MoveEffect {
 public:
  SpaceOutput() : MoveEffect("テスト描画", Effect::EffectType::Output, 1, 1) {
    positionItems = {&x, &y, &z};
    sizeItem = &zoom;
  }
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<SpaceOutput>(); }
  Effect::EffectItemNumber x{items, "X", 0, -100000, 100000, 0.01};
  Effect::EffectItemNumber y{items, "Y", 0, -100000, 100000, 0.01};
  Effect::EffectItemNumber z{items, "Z", 0, -100000, 100000, 0.01};
  Effect::EffectItemNumber zoom{items, "拡大率", 100, 0, 5000, 0.001};
};

// An input effect with a size of its own.
class SizedInput : public Effect::EffectBase {
 public:
  SizedInput() : EffectBase("テスト図形", Effect::EffectType::Input, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<SizedInput>(); }
  Effect::EffectItemNumber size{items, "サイズ", 100, 0, 4000, 1};
};

// Gives a track one value per point, or any other values, under the straight line.
inline void moveTrack(Effect::EffectItemNumber& item, std::vector<int> stepValues) {
  item.setMovement(linearMove());
  item.values = std::move(stepValues);
}

}  // namespace TestSupport
