#pragma once
// Stand-ins for the parts around the effect framework: objects of the edit model (only
// their frames matter here) and a small effect with one item of several kinds.
#include <memory>
#include <string>
#include <vector>

#include "effect/effect_base.h"
#include "effect/effect_context.h"
#include "effect/section_position.h"

namespace TestSupport {

// An object of the edit model as the effect framework sees it. The framework only passes
// Edit::Object pointers around and is handed their frames; framesOf turns a pointer made by
// makeObject back into them, as Edit::Object::frames() does for real objects.
struct FakeObject {
  int start = 0;
  int end = 0;
  std::vector<int> midpoints;
};

inline Effect::ObjectFrames framesOf(const std::shared_ptr<Edit::Object>& object) {
  if (!object) return {};
  const auto& fake = reinterpret_cast<const FakeObject&>(*object);
  return {fake.start, fake.end, fake.midpoints};
}

// A shared Edit::Object that owns a FakeObject.
inline std::shared_ptr<Edit::Object> makeObject(int start, int end, std::vector<int> midpoints = {}) {
  auto fake = std::make_shared<FakeObject>(FakeObject{start, end, std::move(midpoints)});
  return std::shared_ptr<Edit::Object>(fake, reinterpret_cast<Edit::Object*>(fake.get()));
}

// Gives the context a fake object with its frames.
inline void setFakeObject(Effect::EffectContext& context,
                          const std::shared_ptr<Edit::Object>& object) {
  context.setObject(object, framesOf(object));
}

// The smallest concrete effect: it supplies only `create`.
class BareEffect : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "テスト効果";
  BareEffect() : EffectBase(kName, 3, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<BareEffect>(); }
};

}  // namespace TestSupport
