// The built-in movement kinds as the registry holds them: their order, their fields, and
// what choosing one does to a number track.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../effect/registry_test_support.h"
#include "builtin/movement/movement_catalogue.h"
#include "effect/effect_item_number.h"
#include "effect/movement_registry.h"

namespace {

using namespace Effect;

class MovementCatalogueTest : public TestSupport::RegistryTest {
 protected:
  EffectService& buildWithKinds() {
    catalogue.movements = registerMovements;
    return build();
  }
};

struct KindRow {
  const char* name;
  int valueCount;
  int accelerate;
  int decelerate;
  int ignoreMidpoints;
  bool listed;
  bool timeControl;
  bool midpointAnchors;
  std::vector<double> defaultParams;
  bool trajectory;
};

const KindRow kKinds[] = {
    {"移動無し", 1, -1, -1, 0, true, false, true, {}, true},
    {"再生範囲", 2, -1, -1, 0, false, false, true, {}, true},
    {"直線移動", -1, 0, 0, 0, true, false, true, {}, true},
    {"直線移動(時間制御)", -1, 0, 0, -1, true, true, false, {}, true},
    {"補間移動", -1, 1, 1, -1, true, false, true, {}, true},
    {"補間移動(時間制御)", -1, -1, -1, -1, true, true, false, {}, true},
    {"ランダム移動", -1, -1, -1, 2, true, false, true, {15}, false},
    {"瞬間移動", -1, -1, -1, -1, true, false, true, {}, true},
};

TEST_F(MovementCatalogueTest, RegistersTheEightKindsInOrder) {
  EffectService& registry = buildWithKinds();
  ASSERT_EQ(registry.getMovementDefines().size(), std::size(kKinds));
  EffectItemList items;
  const EffectItemNumber track(items, "X", 0, -100, 100, 1);
  for (std::size_t i = 0; i < std::size(kKinds); ++i) {
    const KindRow& row = kKinds[i];
    SCOPED_TRACE(row.name);
    const MovementDefine* define = registry.findMovement(row.name);
    EXPECT_EQ(define->order, static_cast<int>(i));
    const MovementBase& kind = *define->getPrototype();
    EXPECT_EQ(kind.name, row.name);
    EXPECT_EQ(kind.valueCount, row.valueCount);
    EXPECT_EQ(kind.accelerate, row.accelerate);
    EXPECT_EQ(kind.decelerate, row.decelerate);
    EXPECT_EQ(kind.ignoreMidpoints, row.ignoreMidpoints);
    EXPECT_EQ(kind.listed, row.listed);
    EXPECT_EQ(kind.timeControl, row.timeControl);
    EXPECT_EQ(kind.midpointAnchors, row.midpointAnchors);
    EXPECT_EQ(kind.defaultParams, row.defaultParams);
    EXPECT_TRUE(kind.defaultTimeControl.empty());
    EXPECT_EQ(kind.isTrajectoryVisible(track), row.trajectory);
    // Track texts find the kind by its name.
    EXPECT_EQ(MovementRegistry::instance().findMovement(row.name), &kind);
  }
}

TEST_F(MovementCatalogueTest, TheMenuListsEveryKindButThePlaybackRange) {
  EffectService& registry = buildWithKinds();
  std::vector<std::string> names;
  for (const MovementDefine* define : registry.getMovementList())
    names.emplace_back(define->getName());
  EXPECT_EQ(names, (std::vector<std::string>{"移動無し", "直線移動", "直線移動(時間制御)",
                                             "補間移動", "補間移動(時間制御)", "ランダム移動",
                                             "瞬間移動"}));
}

struct ChoiceCase {
  const char* name;
  int flags;
  std::size_t valueCount;
  std::vector<double> params;
};

TEST_F(MovementCatalogueTest, ChoosingAKindSetsTheTracksOptions) {
  buildWithKinds();
  const int accelerate = EffectItemNumber::FlagAccelerate;
  const int decelerate = EffectItemNumber::FlagDecelerate;
  const int whole = EffectItemNumber::FlagIgnoreMidpoints;
  // An object with two midpoints: four points.
  const std::vector<int> midpoints = {10, 20};
  const ObjectFrames object{0, 30, midpoints};
  const ChoiceCase cases[] = {
      {"直線移動(時間制御)", 0, 4, {}},
      {"補間移動", accelerate | decelerate, 4, {}},
      {"補間移動(時間制御)", 0, 4, {}},
      {"ランダム移動", whole, 2, {15}},
      {"瞬間移動", 0, 4, {}},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(c.name);
    EffectItemList items;
    EffectItemNumber track(items, "X", 0, -100, 100, 1);
    track.fromString("1,2,3,4,直線移動,7");
    track.setMovement(*MovementRegistry::instance().findMovement(c.name));
    track.updateMovementFlags(object);
    track.resizeValues(4);
    EXPECT_EQ(track.flags, c.flags);
    EXPECT_EQ(track.values.size(), c.valueCount);
    EXPECT_EQ(track.params, c.params);
  }
}

TEST_F(MovementCatalogueTest, TrackTextsCarryTheRandomPeriod) {
  buildWithKinds();
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -100, 100, 0.01);
  track.fromString("-5.00,5.00,ランダム移動,4|30");
  EXPECT_EQ(track.params, std::vector<double>{30});
  EXPECT_EQ(track.toString(), "-5.00,5.00,ランダム移動,4|30");
  track.fromString("0.00,1.00,2.00,直線移動(時間制御),1|0.25,0,0.75,1");
  EXPECT_EQ(track.timeControl, (std::vector<double>{0.25, 0, 0.75, 1}));
  EXPECT_EQ(track.toString(), "0.00,1.00,2.00,直線移動(時間制御),1|0.25,0,0.75,1");
}

}  // namespace
