// Sections of an object: which section holds a frame, where a boundary can go, adding and
// removing boundaries, and splitting an object in two.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit/group.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit_test_support.h"
#include "effect/effect_event_param.h"
#include "effect/effect_item_number.h"
#include "effect/movement_base.h"
#include "effect/effect_service.h"
#include "effect/movement_registry.h"
#include "system/exception_text.h"

namespace {

using Boundaries = std::vector<int32_t>;

std::shared_ptr<Edit::Object> makeObject(int start, int end, Boundaries boundaries = {}) {
  auto object = std::make_shared<Edit::Object>(0, start, end);
  object->boundaries = std::move(boundaries);
  return object;
}

TEST(ObjectSections, FindSectionCountsTheBoundariesAtOrBeforeTheFrame) {
  const auto object = makeObject(100, 200, {10, 30});  // points 100, 110, 130, 200
  const std::pair<int, int> cases[] = {
      {50, 0},                                 // before the start
      {100, 0}, {109, 0}, {110, 1},            // on a boundary: the section that starts there
      {129, 1}, {130, 2}, {200, 2}, {500, 2},  // after the end: the last section
  };
  for (const auto& [frame, section] : cases)
    EXPECT_EQ(object->findSection(frame), section) << frame;
  EXPECT_EQ(object->sectionCount(), 3);
  EXPECT_EQ(object->pointCount(), 4);
  EXPECT_EQ(object->sectionDistance(0), 10);
  EXPECT_EQ(object->sectionDistance(1), 20);
  EXPECT_EQ(object->sectionDistance(2), 70);
}

TEST(ObjectSections, WhereABoundaryCanGo) {
  const auto object = makeObject(0, 10, {1, 2});  // sections 0..1, 1..2, 2..10
  EXPECT_FALSE(object->canAddSectionAt(0));       // a section's first frame
  EXPECT_FALSE(object->canAddSectionAt(1));       // section of one frame
  EXPECT_FALSE(object->canAddSectionAt(2));
  EXPECT_TRUE(object->canAddSectionAt(3));
  EXPECT_FALSE(object->canAddSectionAt(10));     // the end
  EXPECT_TRUE(object->hasSplittableSection(0));  // the last section has room
  EXPECT_FALSE(makeObject(0, 2, {1})->hasSplittableSection(0));

  const auto single = makeObject(5, 5);
  EXPECT_FALSE(single->canAddSectionAt(5));
  EXPECT_FALSE(single->hasSplittableSection(5));
  EXPECT_EQ(single->sectionDistance(0), 0);
}

TEST(ObjectSections, AddSectionFindsTheNearestPlaceThatHasRoom) {
  struct Case {
    const char* what;
    int start, end;
    Boundaries before;
    int frame;
    Boundaries after;
  };
  const Case cases[] = {
      {"inside a section", 0, 20, {}, 7, {7}},
      {"on a section's first frame: one later", 0, 20, {10}, 10, {10, 11}},
      {"on the start", 0, 20, {}, 0, {1}},
      {"before the start", 10, 20, {}, 3, {1}},
      {"after the end: the last frame of the last section", 0, 20, {}, 40, {19}},
      {"in a section of one frame: the next with room", 0, 20, {1, 2}, 1, {1, 2, 3}},
      {"no room anywhere", 0, 2, {1}, 1, {1}},
      {"one-frame object", 5, 5, {}, 5, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto object = makeObject(c.start, c.end, c.before);
    object->addSection(c.frame, nullptr);
    EXPECT_EQ(object->boundaries, c.after);
  }
}

TEST(ObjectSections, DeleteSectionRemovesOnlyRealBoundaries) {
  auto object = makeObject(0, 30, {10, 20});
  object->deleteSection(0);
  object->deleteSection(3);
  EXPECT_EQ(object->boundaries, (Boundaries{10, 20}));
  object->deleteSection(1);
  EXPECT_EQ(object->boundaries, (Boundaries{20}));
  object->deleteSection(1);
  EXPECT_TRUE(object->boundaries.empty());
}

// A scene with the test effects' registry: splits copy chains through it.
struct Split : ::testing::Test {
  TestSupport::TestRegistry registry;
  Edit::Scene scene{0, 0};
};

TEST_F(Split, CutsFramesAndBoundariesAndCopiesTheChain) {
  auto source = makeObject(100, 200, {10, 40, 60});  // points 100, 110, 140, 160, 200
  source->clipping = 1;
  source->camera = 0;
  auto filter = Effect::EffectService::instance()->createEffect(TestSupport::TestFilter::kName);
  static_cast<TestSupport::TestFilter&>(*filter).amount.value = 42;
  filter->disable = true;
  source->effects.push_back(filter);
  auto left = std::make_shared<Edit::Object>();
  auto right = std::make_shared<Edit::Object>();

  ASSERT_TRUE(source->split(141, *left, *right, scene));
  EXPECT_EQ(left->start, 100);
  EXPECT_EQ(left->end, 140);
  EXPECT_EQ(left->boundaries, (Boundaries{10}));  // 140 would be its end: dropped
  EXPECT_EQ(right->start, 141);
  EXPECT_EQ(right->end, 200);
  EXPECT_EQ(right->boundaries, (Boundaries{19}));  // 160 - 141
  for (const auto& piece : {left, right}) {
    EXPECT_EQ(piece->clipping, 1);
    EXPECT_EQ(piece->camera, 0);
    EXPECT_EQ(piece->layer, 0);
    ASSERT_EQ(piece->effects.size(), 1u);
    EXPECT_NE(piece->effects[0], filter) << "the pieces own their effects";
    EXPECT_TRUE(piece->effects[0]->disable);
    EXPECT_EQ(static_cast<TestSupport::TestFilter&>(*piece->effects[0]).amount.value, 42);
  }
  EXPECT_EQ(source->start, 100);
  EXPECT_EQ(source->boundaries, (Boundaries{10, 40, 60}));
}

TEST_F(Split, EdgesOfTheObject) {
  struct Case {
    int frame;
    bool done;
    int leftEnd, rightStart;
  };
  const Case cases[] = {
      {101, true, 100, 101},  // one-frame left piece
      {200, true, 199, 200},  // one-frame right piece
      {100, false, 0, 0},     // at the start
      {99, false, 0, 0},     {201, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame);
    auto source = makeObject(100, 200);
    auto left = std::make_shared<Edit::Object>();
    auto right = std::make_shared<Edit::Object>();
    EXPECT_EQ(source->split(c.frame, *left, *right, scene), c.done);
    if (!c.done) {
      EXPECT_EQ(left->end, 0) << "a refused split leaves the pieces alone";
      continue;
    }
    EXPECT_EQ(left->start, 100);
    EXPECT_EQ(left->end, c.leftEnd);
    EXPECT_EQ(right->start, c.rightStart);
    EXPECT_EQ(right->end, 200);
  }
}

TEST_F(Split, AFailedChainCopyLeavesThePiecesChainsAlone) {
  auto source = makeObject(0, 10);
  source->effects.push_back(std::make_shared<TestSupport::TestControl>());
  // The registry knows the effect by name, but the unknown one fails.
  struct Unknown : Effect::EffectBase {
    Unknown() : EffectBase("未登録", 3, 1, 1) {}
    std::shared_ptr<EffectBase> create() const override { return std::make_shared<Unknown>(); }
  };
  source->effects.push_back(std::make_shared<Unknown>());
  Edit::Object target;
  EXPECT_THROW(source->copyEffects(target), std::exception);
  EXPECT_TRUE(target.effects.empty());
}

// A time-controlled movement whose own value is always the first point's: a straight-line
// reading can only come from the edit model's own interpolation.
class HoldFirst : public Effect::MovementBase {
 public:
  HoldFirst() : MovementBase("テスト保持(時間制御)", -1) { timeControl = true; }
  double getValue(const Effect::EffectItemNumber& track, const Effect::SectionPosition&,
                  const Effect::EffectContext&) const override {
    return track.getDisplayValue(0);
  }
  int getSectionFrame(const Effect::EffectItemNumber&,
                      const Effect::SectionPosition& position) const override {
    return position.sectionIndex + 7;
  }
};

const Effect::MovementBase& holdFirst() {
  static const Effect::MovementBase* movement = [] {
    auto& registry = Effect::MovementRegistry::instance();
    registry.registerMovement(std::make_shared<HoldFirst>());
    return registry.findMovement("テスト保持(時間制御)");
  }();
  return *movement;
}

// An object 0..100 whose number track runs from 0 at its start to 100 at its end.
struct Tracks : Split {
  void SetUp() override {
    object = makeObject(0, 100);
    effect = std::make_shared<TestSupport::NumberFilter>();
    effect->x.values = {0, 100};
    object->effects.push_back(effect);
  }
  std::vector<int> values() const { return effect->x.values; }
  std::shared_ptr<Edit::Object> object;
  std::shared_ptr<TestSupport::NumberFilter> effect;
};

TEST_F(Tracks, ANewMidpointTakesTheRecordedValueOrTheDefault) {
  Edit::SectionValueMap recorded;
  object->copySectionValues(recorded, scene, object, 30, false);
  ASSERT_EQ(recorded.count(&effect->x), 1u);
  EXPECT_DOUBLE_EQ(recorded.at(&effect->x).value, 30.0);
  object->addSection(30, &recorded);
  EXPECT_EQ(object->boundaries, (Boundaries{30}));
  EXPECT_EQ(values(), (std::vector<int>{0, 30, 100}));

  object->addSection(60, nullptr);
  EXPECT_EQ(values(), (std::vector<int>{0, 30, 0, 100})) << "the default for an unrecorded item";
  object->deleteSection(1);
  EXPECT_EQ(object->boundaries, (Boundaries{60}));
  EXPECT_EQ(values(), (std::vector<int>{0, 0, 100}));
}

TEST_F(Tracks, ATrackWithoutValuesStopsTheBoundaryFromGoing) {
  object->boundaries = {50};
  effect->x.values.clear();
  EXPECT_EQ(
      TestSupport::whatOf([&] { object->deleteSection(1); }),
      "item value index out of range.\n\n[Place]\nEffect::EffectItemNumber::clampValueIndex()");
  EXPECT_EQ(object->boundaries, (Boundaries{50}));
}

TEST_F(Tracks, TimeControlledTracksAreReadOnTheStraightLineOrWithTheirSectionFrame) {
  effect->x.movement = &holdFirst();
  Edit::SectionValueMap straight;
  object->copySectionValues(straight, scene, object, 25, true);
  EXPECT_DOUBLE_EQ(straight.at(&effect->x).value, 25.0);
  EXPECT_EQ(straight.at(&effect->x).pointIndex, -1);
  Edit::SectionValueMap own;
  object->copySectionValues(own, scene, object, 25, false);
  EXPECT_DOUBLE_EQ(own.at(&effect->x).value, 0.0);
  EXPECT_EQ(own.at(&effect->x).pointIndex, 7);
}

TEST_F(Tracks, SplitWritesTheValuesAtTheCutOntoBothPieces) {
  object->boundaries = {20, 80};
  effect->x.values = {0, 20, 80, 100};
  auto left = std::make_shared<Edit::Object>();
  auto right = std::make_shared<Edit::Object>();
  ASSERT_TRUE(object->split(51, *left, *right, scene));
  EXPECT_EQ(left->boundaries, (Boundaries{20}));
  EXPECT_EQ(right->boundaries, (Boundaries{29}));
  const auto& leftTrack = static_cast<TestSupport::NumberFilter&>(*left->effects[0]).x;
  const auto& rightTrack = static_cast<TestSupport::NumberFilter&>(*right->effects[0]).x;
  EXPECT_EQ(leftTrack.values, (std::vector<int>{0, 20, 50}));
  EXPECT_EQ(rightTrack.values, (std::vector<int>{51, 80, 100}));
  EXPECT_EQ(values(), (std::vector<int>{0, 20, 80, 100})) << "the source keeps its values";
}

TEST_F(Tracks, SetSectionNumSizesTracksToThePoints) {
  Edit::EffectManager::setSectionNum(*effect, 3);
  EXPECT_EQ(values(), (std::vector<int>{0, 100, 100, 100}));
  Edit::EffectManager::setSectionNum(*effect, 1);
  EXPECT_EQ(values(), (std::vector<int>{0, 100}));
}

TEST(ObjectGroup, MembershipFollowsJoinLeaveAndDestruction) {
  auto group = std::make_shared<Edit::Group>();
  auto a = std::make_shared<Edit::Object>(0, 0, 1);
  auto b = std::make_shared<Edit::Object>(0, 2, 3);
  a->joinGroup(group);
  b->joinGroup(group);
  EXPECT_EQ(group->members.size(), 2u);
  EXPECT_EQ(a->group, group);

  auto other = std::make_shared<Edit::Group>();
  a->joinGroup(other);  // moving leaves the old group
  EXPECT_EQ(group->members, (std::unordered_set<Edit::Object*>{b.get()}));
  EXPECT_EQ(other->members.size(), 1u);

  b->removeFromGroup();
  EXPECT_TRUE(group->members.empty());
  EXPECT_EQ(b->group, nullptr);

  // A destroyed member leaves no dangling pointer behind.
  a.reset();
  EXPECT_TRUE(other->members.empty());
}

TEST(ObjectEvents, OnlyAnInputEffectHearsTheObjectsEditEvents) {
  struct ListeningInput : TestSupport::TestInput {
    bool editEvent(Effect::EffectEventParam& param) override {
      heard = param.kind;
      object = param.object;
      return true;
    }
    int heard = 0;
    Edit::Object* object = nullptr;
  };
  auto input = std::make_shared<ListeningInput>();
  Edit::Object media(0, 0, 10);
  media.effects.push_back(input);
  Effect::EffectEventParam event;
  event.kind = Effect::EffectEventParam::FileSet;
  media.sendInputEffectEvent(event);
  EXPECT_EQ(input->heard, Effect::EffectEventParam::FileSet);
  EXPECT_EQ(input->object, &media);
  EXPECT_EQ(event.effect, input);

  Edit::Object filterObject(0, 0, 10);
  auto filter = std::make_shared<TestSupport::TestFilter>();
  filterObject.effects.push_back(filter);
  Effect::EffectEventParam ignored;
  filterObject.sendInputEffectEvent(ignored);
  EXPECT_EQ(ignored.effect, nullptr);
}

}  // namespace
