#pragma once
// Stand-ins for the parts around the effect framework: objects of the edit model (only
// their frames matter here) and a small effect with one item of several kinds.
#include <memory>
#include <string>
#include <vector>

#include "effect/effect_base.h"
#include "effect/section_position.h"

namespace TestSupport {

// An object of the edit model as the effect framework reads it. The framework only passes
// Edit::Object pointers around; the reader below turns them back into this.
struct FakeObject {
  int start = 0;
  int end = 0;
  std::vector<int> midpoints;
};

inline Effect::ObjectFrames readFakeObjectFrames(const Edit::Object& object) {
  const auto& fake = reinterpret_cast<const FakeObject&>(object);
  return {fake.start, fake.end, fake.midpoints};
}

// A shared Edit::Object that owns a FakeObject.
inline std::shared_ptr<Edit::Object> makeObject(int start, int end, std::vector<int> midpoints = {}) {
  auto fake = std::make_shared<FakeObject>(FakeObject{start, end, std::move(midpoints)});
  return std::shared_ptr<Edit::Object>(fake, reinterpret_cast<Edit::Object*>(fake.get()));
}

// Installs the reader of fake objects for one scope.
class ScopedFakeObjects {
 public:
  ScopedFakeObjects() { Effect::setObjectFramesReader(readFakeObjectFrames); }
  ScopedFakeObjects(const ScopedFakeObjects&) = delete;
  ScopedFakeObjects& operator=(const ScopedFakeObjects&) = delete;
  ~ScopedFakeObjects() { Effect::setObjectFramesReader(nullptr); }
};

// The smallest concrete effect: it supplies only `create`.
class BareEffect : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "テスト効果";
  BareEffect() : EffectBase(kName, 3, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<BareEffect>(); }
};

}  // namespace TestSupport
