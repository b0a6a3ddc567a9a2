#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "effect/effect_context.h"
#include "effect/section_position.h"
#include "effect_test_support.h"
#include "system/exception.h"

namespace {

using Effect::EffectContext;
using Effect::ObjectFrames;
using Effect::SectionPosition;
using TestSupport::framesOf;
using TestSupport::makeObject;
using TestSupport::setFakeObject;

struct PositionCase {
  const char* what;
  int frame;
  double time;
  SectionPosition expected;
};

// An object from frame 10 to 40 with midpoints at 10 and 20 frames after its start: the
// sections are 10..19, 20..29 and 30..40.
TEST(SectionPosition, LocatesTheSectionOfAFrame) {
  const std::vector<int> midpoints = {10, 20};
  const ObjectFrames object{10, 40, midpoints};
  const PositionCase cases[] = {
      {"object start", 10, 10.0, {0, 3, 0.0, 10, 0.0}},
      {"last frame of the first section", 19, 19.0, {0, 3, 9.0, 10, 0.3}},
      {"first midpoint", 20, 20.0, {1, 3, 0.0, 10, 10.0 / 30}},
      {"between frames", 22, 22.5, {1, 3, 2.5, 10, 12.5 / 30}},
      {"last section", 35, 35.0, {2, 3, 5.0, 10, 25.0 / 30}},
      {"object end", 40, 40.0, {2, 3, 10.0, 10, 1.0}},
      {"before the start", 5, 5.0, {0, 3, -5.0, 10, -5.0 / 30}},
  };
  for (const PositionCase& c : cases) {
    SCOPED_TRACE(c.what);
    const SectionPosition position = SectionPosition::calculate(object, c.frame, c.time);
    EXPECT_EQ(position.sectionIndex, c.expected.sectionIndex);
    EXPECT_EQ(position.sectionCount, c.expected.sectionCount);
    EXPECT_DOUBLE_EQ(position.framesInSection, c.expected.framesInSection);
    EXPECT_EQ(position.sectionLength, c.expected.sectionLength);
    EXPECT_DOUBLE_EQ(position.objectFraction, c.expected.objectFraction);
  }
}

TEST(SectionPosition, SectionLengthsAreAtLeastOneFrame) {
  // A one-frame object, and an object whose first midpoint sits on its start.
  const ObjectFrames single{7, 7, {}};
  const SectionPosition one = SectionPosition::calculate(single, 7, 7.0);
  EXPECT_EQ(one.sectionLength, 1);
  EXPECT_DOUBLE_EQ(one.objectFraction, 0.0);

  const std::vector<int> midpoints = {0, 5};
  const ObjectFrames degenerate{0, 10, midpoints};
  const SectionPosition empty = SectionPosition::calculate(degenerate, -1, -1.0);
  EXPECT_EQ(empty.sectionIndex, 0);
  EXPECT_EQ(empty.sectionLength, 1);
  EXPECT_EQ(SectionPosition::calculate(degenerate, 0, 0.0).sectionIndex, 1);

  // A damaged object spanning the whole frame range does not overflow.
  const ObjectFrames huge{INT32_MIN, INT32_MAX, {}};
  const SectionPosition wide = SectionPosition::calculate(huge, 0, 0.0);
  EXPECT_EQ(wide.sectionLength, INT32_MAX);
  EXPECT_GT(wide.objectFraction, 0.0);
}

TEST(SectionPosition, WholeObjectIsOneSection) {
  const std::vector<int> midpoints = {10, 20};
  const SectionPosition position = SectionPosition::wholeObject({10, 40, midpoints}, 25.0);
  EXPECT_EQ(position, (SectionPosition{0, 1, 15.0, 30, 0.5}));
}
TEST(EffectContext, SettingTheObjectRecomputesThePositionAtTheSameFrameAndTime) {
  EffectContext context;
  context.frame = 30;
  context.time = 30.0;
  setFakeObject(context, makeObject(0, 100));
  EXPECT_EQ(context.sectionPosition, (SectionPosition{0, 1, 30.0, 100, 0.3}));

  // Only the object changes: the new object's midpoints put the frame in another section.
  setFakeObject(context, makeObject(0, 100, {25}));
  EXPECT_EQ(context.sectionPosition, (SectionPosition{1, 2, 5.0, 75, 0.3}));

  setFakeObject(context, nullptr);
  EXPECT_EQ(context.object, nullptr);
  EXPECT_EQ(context.sectionPosition, SectionPosition{});
}

TEST(EffectContext, ChainWalkSkipsAnObjectItAlreadyHolds) {
  EffectContext context;
  const auto object = makeObject(0, 100);
  setFakeObject(context, object);
  // An effect sampled another instant and left its own position behind.
  context.sectionPosition.framesInSection = 42.0;
  context.changeObject(object, framesOf(object));
  EXPECT_DOUBLE_EQ(context.sectionPosition.framesInSection, 42.0);
  const auto other = makeObject(0, 100);
  context.changeObject(other, framesOf(other));
  EXPECT_EQ(context.object, other);
  EXPECT_DOUBLE_EQ(context.sectionPosition.framesInSection, 0.0);
}

TEST(EffectContext, DestroyingACopyLeavesTheSourceIntact) {
  const auto object = makeObject(0, 10);
  const auto camera = makeObject(0, 10);
  const auto group = makeObject(0, 10);
  auto chain = std::make_shared<Effect::ObjectChain>(Effect::ObjectChain{object});
  int renderTarget = 0;

  EffectContext source;
  source.object = object;
  source.objectChain = chain;
  source.outputView.cameraControl = camera;
  source.outputView.groupControl = group;
  source.outputView.target = reinterpret_cast<Media::RenderBuffer*>(&renderTarget);
  const long objectUses = object.use_count();
  const long chainUses = chain.use_count();
  {
    EffectContext copy(source);
    EXPECT_EQ(copy.object, object);
    EXPECT_EQ(copy.objectChain, chain);
    EXPECT_EQ(copy.outputView.target, source.outputView.target);
    EXPECT_EQ(object.use_count(), objectUses + 1);
    copy.outputView.x = 5.0f;
    copy.frame = 3;
  }
  EXPECT_EQ(object.use_count(), objectUses);
  EXPECT_EQ(chain.use_count(), chainUses);
  EXPECT_EQ(source.object, object);
  EXPECT_EQ(source.objectChain, chain);
  EXPECT_EQ(source.outputView.cameraControl, camera);
  EXPECT_EQ(source.outputView.groupControl, group);
  EXPECT_EQ(source.outputView.x, 0.0f);
  EXPECT_EQ(source.frame, 0);
}

TEST(EffectContext, ReleasesItsSharedPartsInOrder) {
  std::vector<std::string> released;
  // A shared pointer that notes its release under a name.
  const auto tracked = [&released](const char* name) {
    return std::shared_ptr<Edit::Object>(reinterpret_cast<Edit::Object*>(&released),
                                         [&released, name](Edit::Object*) { released.push_back(name); });
  };
  {
    EffectContext context;
    context.object = tracked("object");
    context.objectChain = std::make_shared<Effect::ObjectChain>(Effect::ObjectChain{tracked("chain")});
    context.outputView.cameraControl = tracked("camera");
    context.outputView.groupControl = tracked("group");
    context.vertexList = std::shared_ptr<Media::VertexList>(
        reinterpret_cast<Media::VertexList*>(&released),
        [&released](Media::VertexList*) { released.push_back("vertices"); });
    context.preInputData = std::shared_ptr<void>(&released, [&released](void*) {
      released.push_back("pre-input");
    });
  }
  EXPECT_EQ(released, (std::vector<std::string>{"pre-input", "vertices", "group", "camera",
                                                "chain", "object"}));
}

TEST(EffectContext, StartsWithOnePartAndAResetView) {
  const EffectContext context;
  EXPECT_EQ(context.partCount, 1);
  EXPECT_EQ(context.anchorList, nullptr);
  EXPECT_EQ(context.outputView.scaleX, 1.0f);
  EXPECT_EQ(context.outputView.opacity, 1.0f);
  EXPECT_EQ(context.outputView.x, 0.0f);
  EXPECT_EQ(context.audio.gainLeft, 1.0f);
  EXPECT_EQ(context.audio.gainRight, 1.0f);
}

}  // namespace
