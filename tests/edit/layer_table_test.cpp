// The layer table: placing objects without overlap, the checks on layer indexes and frames,
// the rebuild at a scope's close, layer moves, and the length changes.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "edit/edit_limits.h"
#include "edit/layer_object_manager.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit_test_support.h"
#include "system/exception_text.h"

namespace {

using Edit::kLayerLimit;
using Edit::kMaxFrame;
using Edit::LayerObjectManager;
using TestSupport::framesOf;
using TestSupport::whatOf;

bool startsWith(const std::string& text, const std::string& head) {
  return text.rfind(head, 0) == 0;
}

// A table with objects at 10..19 and 30..39 on layer 2, rebuilt.
struct TwoObjects : ::testing::Test {
  void SetUp() override {
    first = table.createEmptyObject(2, 10, 19);
    second = table.createEmptyObject(2, 30, 39);
    table.update();
  }
  LayerObjectManager table;
  std::shared_ptr<Edit::Object> first;
  std::shared_ptr<Edit::Object> second;
};

TEST_F(TwoObjects, NewObjectsGoWhereNothingLiesAndAreRefusedWhereSomethingDoes) {
  struct Case {
    int layer, start, end;
    bool placed;
  };
  const Case cases[] = {
      {2, 20, 29, true},   // fills the gap exactly: touching is not overlapping
      {2, 0, 9, true},     // ends right before the first object
      {2, 40, 50, true},   // begins right after the second
      {2, 19, 25, false},  // shares the first object's last frame
      {2, 25, 30, false},  // shares the second object's first frame
      {2, 0, 100, false},  // covers both
      {2, 12, 14, false},  // lies inside the first
      {3, 10, 19, true},   // same frames, another layer
  };
  for (const Case& c : cases) {
    LayerObjectManager table;
    table.createEmptyObject(2, 10, 19);
    table.createEmptyObject(2, 30, 39);
    table.update();
    SCOPED_TRACE(std::to_string(c.layer) + ":" + std::to_string(c.start) + ".." +
                 std::to_string(c.end));
    EXPECT_EQ(table.canPlaceObject(c.layer, c.start, c.end, nullptr), c.placed);
    if (c.placed) {
      EXPECT_NO_THROW(table.createEmptyObject(c.layer, c.start, c.end));
    } else {
      EXPECT_TRUE(startsWith(whatOf([&] { table.createEmptyObject(c.layer, c.start, c.end); }),
                             "object overlaps another object."));
      EXPECT_EQ(table.getLayerObjects(c.layer).objects.size(), 2u)
          << "a refused object is not added";
    }
  }
}

TEST_F(TwoObjects, OverlapIsFoundInsideAScopeBeforeTheTableIsRebuilt) {
  // Added but not yet sorted: the check must not rely on the order.
  table.createEmptyObject(2, 0, 5);
  EXPECT_TRUE(table.getLayerObjects(2).sortFlag);
  EXPECT_FALSE(table.canPlaceObject(2, 3, 8, nullptr));
  EXPECT_FALSE(table.canPlaceObject(2, 35, 36, nullptr));
  EXPECT_TRUE(table.canPlaceObject(2, 6, 9, nullptr));
  // An object that left the layer no longer takes room there, though still listed.
  table.removeObject(*first);
  EXPECT_TRUE(table.canPlaceObject(2, 10, 19, nullptr));
  // An object never collides with itself.
  EXPECT_TRUE(table.canPlaceObject(2, 30, 45, second.get()));
}

TEST(LayerTable, LayerIndexesAndFramesFromOutsideAreCheckedBeforeAnythingGrows) {
  struct Case {
    int layer, start, end;
    const char* error;  // null: accepted
  };
  const Case cases[] = {
      {0, 0, 0, nullptr},
      {kLayerLimit - 1, 0, 10, nullptr},
      {0, 0, kMaxFrame, nullptr},
      {-1, 0, 10, "layer index out of range."},
      {std::numeric_limits<int>::min(), 0, 10, "layer index out of range."},
      {kLayerLimit, 0, 10, "layer index out of range."},
      {std::numeric_limits<int>::max(), 0, 10, "layer index out of range."},
      {0, -1, 10, "frame out of range."},
      {0, 10, 9, "frame out of range."},
      {0, 0, std::numeric_limits<int>::max(), "frame out of range."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.layer) + ":" + std::to_string(c.start) + ".." +
                 std::to_string(c.end));
    LayerObjectManager table;
    const std::string text = whatOf([&] { table.createEmptyObject(c.layer, c.start, c.end); });
    if (c.error) {
      EXPECT_TRUE(startsWith(text, c.error)) << text;
      EXPECT_EQ(table.layerCount(), 1) << "nothing is allocated for a refused index";
    } else {
      EXPECT_EQ(text, "(nothing thrown)");
    }
  }
}

TEST(LayerTable, LookupsOutsideTheTableGiveTheReadOnlyEmptySlot) {
  LayerObjectManager table;
  for (int layer : {-1, -7, 1, 500, kLayerLimit, std::numeric_limits<int>::max()}) {
    const Edit::LayerObjects& slot = table.getLayerObjects(layer);
    EXPECT_EQ(&slot, &Edit::LayerObjects::empty());
    EXPECT_EQ(slot.index(), -1);
    EXPECT_EQ(table.editLayerObjects(layer), nullptr);
  }
  // A removed object (layer -1) marks nothing: the empty slot never takes a flag.
  Edit::Object removed(-1, 0, 10);
  table.markPurge(removed);
  table.markSort(removed);
  EXPECT_FALSE(Edit::LayerObjects::empty().purgeFlag);
  EXPECT_FALSE(Edit::LayerObjects::empty().sortFlag);
  EXPECT_TRUE(Edit::LayerObjects::empty().objects.empty());

  for (int layer : {-1, kLayerLimit}) {
    auto object = std::make_shared<Edit::Object>(0, 0, 1);
    EXPECT_TRUE(startsWith(whatOf([&] { table.moveObjectToLayer(object, layer); }),
                           "layer index out of range."));
    EXPECT_TRUE(startsWith(whatOf([&] { table.ensureLayer(layer); }), "layer index out of range."));
    EXPECT_TRUE(startsWith(whatOf([&] { table.deleteLayer(layer); }), "layer index out of range."));
    EXPECT_TRUE(startsWith(whatOf([&] { table.insertLayer(layer, nullptr); }),
                           "layer index out of range."));
  }
  EXPECT_EQ(table.layerCount(), 1);
}

TEST(LayerTable, UpdateSortsPurgesAndSumsUp) {
  LayerObjectManager table;
  auto late = table.createEmptyObject(0, 50, 60);
  auto early = table.createEmptyObject(0, 0, 10);
  auto far = table.createEmptyObject(4, 100, 120);
  table.update();
  EXPECT_EQ(framesOf(table, 0), (std::vector<std::pair<int, int>>{{0, 10}, {50, 60}}));
  EXPECT_EQ(table.lastUsedLayer(), 4);
  EXPECT_EQ(table.lastFrame(), 120);

  table.moveObjectToLayer(far, 1);
  // Until the update the old slot still lists it.
  EXPECT_TRUE(table.getLayerObjects(4).contains(far.get()));
  table.update();
  EXPECT_FALSE(table.getLayerObjects(4).contains(far.get()));
  EXPECT_TRUE(table.getLayerObjects(1).contains(far.get()));
  EXPECT_EQ(table.lastUsedLayer(), 1);

  table.removeObject(*late);
  table.update();
  EXPECT_EQ(table.getLayerObjects(0).objects.size(), 1u);
  EXPECT_EQ(late->layer, -1);
  EXPECT_EQ(table.lastFrame(), 120);
}

TEST(LayerTable, AnObjectMovedAwayAndBackInOneScopeIsListedOnce) {
  LayerObjectManager table;
  auto object = table.createEmptyObject(0, 0, 10);
  table.update();
  table.moveObjectToLayer(object, 3);
  table.moveObjectToLayer(object, 0);
  table.moveObjectToLayer(object, 0);
  table.update();
  EXPECT_EQ(table.getLayerObjects(0).objects.size(), 1u);
  EXPECT_TRUE(table.getLayerObjects(3).objects.empty());
  EXPECT_EQ(object->layer, 0);
}

TEST(LayerTable, CreateObjectSetsTheEffectOrTakesTheObjectOutAgain) {
  TestSupport::TestRegistry registry;
  LayerObjectManager table;
  auto filter = table.createObject(TestSupport::TestFilter::kName, 1, 0, 9);
  ASSERT_EQ(filter->effects.size(), 1u);
  EXPECT_STREQ(filter->effects[0]->name, TestSupport::TestFilter::kName);
  EXPECT_FALSE(table.getLayerObjects(1).rangeFlag);

  auto control = table.createObject(TestSupport::TestControl::kName, 2, 0, 9);
  EXPECT_TRUE(control->controlFlag);
  EXPECT_TRUE(table.getLayerObjects(2).rangeFlag);

  EXPECT_TRUE(startsWith(whatOf([&] { table.createObject("存在しない効果", 1, 20, 29); }),
                         "not found effect."));
  table.update();
  EXPECT_EQ(table.getLayerObjects(1).objects.size(), 1u);
  EXPECT_TRUE(table.canPlaceObject(1, 20, 29, nullptr));
}

TEST(LayerTable, WithoutARegistryObjectsByNameAreRefused) {
  LayerObjectManager table;
  EXPECT_TRUE(
      startsWith(whatOf([&] { table.createObject(TestSupport::TestFilter::kName, 0, 0, 9); }),
                 "not found effect."));
  table.update();
  EXPECT_TRUE(table.getLayerObjects(0).objects.empty());
}

TEST(LayerTable, ControlRangesGovernTheLayersBelowWithinTheirSpan) {
  TestSupport::TestRegistry registry;
  LayerObjectManager table;
  auto all = table.createObject(TestSupport::TestControl::kName, 0, 0, 99);  // range 0: all below
  auto two = table.createObject(TestSupport::TestControl::kName, 3, 50, 59);
  static_cast<TestSupport::TestControl&>(*two->effects[0]).range.value = 2;
  table.update();

  struct Reach {
    int start, end;
    bool exact;
    bool operator==(const Reach&) const = default;
  };
  auto reaches = [&](int layer, int from, int to) {
    std::vector<Reach> found;
    table.forEachLayerRange(layer, from, to, [&](int start, int end, bool exact) {
      found.push_back({start, end, exact});
    });
    return found;
  };
  EXPECT_EQ(reaches(1, 0, 10), (std::vector<Reach>{{0, 99, false}}));
  EXPECT_EQ(reaches(5, 55, 55), (std::vector<Reach>{{0, 99, false}, {50, 59, true}}));
  EXPECT_EQ(reaches(6, 55, 55), (std::vector<Reach>{{0, 99, false}}));  // past the span of 2
  EXPECT_EQ(reaches(5, 100, 200), (std::vector<Reach>{}));              // after both
  EXPECT_EQ(reaches(0, 0, 99), (std::vector<Reach>{}));                 // nothing above layer 0
}

// Layers 0..3 hold one object each, starting at 10 x layer.
struct FourLayers : ::testing::Test {
  void SetUp() override {
    for (int layer = 0; layer < 4; ++layer)
      objects.push_back(table.createEmptyObject(layer, layer * 10, layer * 10 + 5));
    for (int layer = 0; layer < 4; ++layer)
      table.ensureLayer(layer).layer->name = "L" + std::to_string(layer);
    table.update();
  }
  std::vector<std::string> names() {
    std::vector<std::string> found;
    for (int layer = 0; layer < table.layerCount(); ++layer) {
      const auto& slot = table.getLayerObjects(layer);
      EXPECT_EQ(slot.index(), layer) << "a record's index follows its slot";
      for (const auto& object : slot.objects)
        EXPECT_EQ(object->layer, layer) << "objects follow their slot";
      found.push_back(slot.layer->name);
    }
    return found;
  }
  LayerObjectManager table;
  std::vector<std::shared_ptr<Edit::Object>> objects;
};

TEST_F(FourLayers, MoveLayerCarriesRecordAndObjects) {
  EXPECT_TRUE(table.moveLayer(0, 2));
  EXPECT_EQ(names(), (std::vector<std::string>{"L1", "L2", "L0", "L3"}));
  EXPECT_EQ(objects[0]->layer, 2);
  EXPECT_FALSE(table.moveLayer(1, 1));
  EXPECT_FALSE(table.moveLayer(0, 9));
  EXPECT_FALSE(table.moveLayer(-1, 0));
}

TEST_F(FourLayers, DeleteLayerTakesItsObjectsOffAndClosesTheGap) {
  const auto fresh = table.deleteLayer(1);
  EXPECT_EQ(objects[1]->layer, -1);
  table.update();
  EXPECT_EQ(names(), (std::vector<std::string>{"L0", "L2", "L3", ""}));
  EXPECT_EQ(fresh->index, 3);
  EXPECT_EQ(objects[2]->layer, 1);
  EXPECT_EQ(objects[3]->layer, 2);
  EXPECT_EQ(table.lastUsedLayer(), 2);
}

TEST_F(FourLayers, DeletingAnEmptyLayerPastTheUsedOnesMovesNothing) {
  table.ensureLayer(6).layer->name = "L6";
  table.deleteLayer(6);
  table.update();
  EXPECT_EQ(names(), (std::vector<std::string>{"L0", "L1", "L2", "L3", "", "", ""}));
  EXPECT_EQ(objects[3]->layer, 3);
}

TEST_F(FourLayers, InsertLayerPushesTheLayersBelowDown) {
  auto record = std::make_shared<Edit::Layer>();
  record->name = "new";
  EXPECT_EQ(table.insertLayer(1, record), record);
  table.update();
  EXPECT_EQ(names(), (std::vector<std::string>{"L0", "new", "L1", "L2", "L3"}));
  EXPECT_EQ(record->index, 1);
  EXPECT_EQ(objects[3]->layer, 4);
  // Far below the used layers: the record sits at the asked index.
  auto deep = std::make_shared<Edit::Layer>();
  table.insertLayer(20, deep);
  EXPECT_EQ(deep->index, 20);
  EXPECT_EQ(table.getLayerObjects(20).layer, deep);
}

TEST(LayerTable, InsertingBelowTheLastPossibleLayerIsRefused) {
  LayerObjectManager table;
  table.createEmptyObject(kLayerLimit - 1, 0, 1);
  table.update();
  EXPECT_TRUE(
      startsWith(whatOf([&] { table.insertLayer(0, nullptr); }), "layer index out of range."));
  EXPECT_EQ(table.getLayerObjects(kLayerLimit - 1).objects.size(), 1u);
}

TEST(LayerTable, ClearTakesEveryObjectOff) {
  LayerObjectManager table;
  auto a = table.createEmptyObject(0, 0, 1);
  auto b = table.createEmptyObject(7, 0, 1);
  table.update();
  table.clear();
  EXPECT_EQ(a->layer, -1);
  EXPECT_EQ(b->layer, -1);
  EXPECT_EQ(table.layerCount(), 1);
  EXPECT_EQ(table.lastUsedLayer(), 0);
  EXPECT_EQ(table.lastFrame(), 0);
}

TEST_F(TwoObjects, ResizeGrowsUpToTheNeighboursAndShrinksFreely) {
  struct Case {
    int length;
    bool atStart;
    int start, end;
  };
  // The second object (30..39) between the first (10..19) and nothing.
  const Case cases[] = {
      {5, false, 30, 34},
      {5, true, 35, 39},
      {100, true, 20, 39},  // stops behind the first object
      {100, false, 30, 129},
      {1, false, 30, 30},
      {0, false, 30, 30},  // a length below 1 counts as one frame
      {std::numeric_limits<int>::max(), false, 30, kMaxFrame},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.length) + (c.atStart ? " at start" : " at end"));
    second->start = 30;
    second->end = 39;
    table.resizeObject(*second, c.length, c.atStart);
    EXPECT_EQ(second->start, c.start);
    EXPECT_EQ(second->end, c.end);
  }
  // The first object stops before the second.
  table.resizeObject(*first, 1000, false);
  EXPECT_EQ(first->end, 29);
  table.resizeObject(*first, 1000, true);
  EXPECT_EQ(first->start, 0);
}

TEST_F(TwoObjects, ResizeLeavesAnObjectWithBoundariesAlone) {
  second->boundaries = {3};
  table.resizeObject(*second, 3, false);
  EXPECT_EQ(second->end, 39);
}

TEST_F(TwoObjects, ScaleStretchesTheBoundariesAndStopsAtTheNextObject) {
  first->boundaries = {2, 5};  // 10..19: sections of 2, 3 and 4 frames
  table.scaleObjectLength(*first, 5);
  EXPECT_EQ(first->boundaries, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(first->end, 14);
  table.scaleObjectLength(*first, 1000);  // stops before the second object at 30
  EXPECT_EQ(first->end, 29);
  for (std::size_t i = 0; i < first->boundaries.size(); ++i) {
    EXPECT_GT(first->boundaries[i], i == 0 ? 0 : first->boundaries[i - 1]);
    EXPECT_LT(first->boundaries[i], first->end - first->start);
  }
  table.scaleObjectLength(*first, 1);  // two boundaries need at least four frames
  EXPECT_EQ(first->boundaries, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(first->end, 13);
}

TEST(LayerTable, ScalingHugeObjectsKeepsEveryBoundaryInside) {
  // Single-precision scaling of large frame numbers rounds; the boundaries must still fit.
  LayerObjectManager table;
  auto object = table.createEmptyObject(0, 0, 2000000000);
  auto next = table.createEmptyObject(0, 2000000001, 2000000010);
  object->boundaries = {1999999990, 1999999995, 1999999999};
  table.update();
  table.scaleObjectLength(*object, 1999999990);
  EXPECT_LT(object->end, next->start);
  int previous = 0;
  for (int boundary : object->boundaries) {
    EXPECT_GT(boundary, previous);
    previous = boundary;
  }
  EXPECT_LT(previous, object->end - object->start);
}

TEST(LayerTable, FindNearestObjectPicksTheOneClosestToTheMiddle) {
  LayerObjectManager table;
  table.createEmptyObject(0, 0, 9);
  auto middle = table.createEmptyObject(0, 20, 29);
  table.createEmptyObject(0, 40, 49);
  table.update();
  const auto& slot = table.getLayerObjects(0);
  EXPECT_EQ(Edit::findNearestObject(slot, 0, 49), middle);
  EXPECT_EQ(Edit::findNearestObject(slot, 10, 19), nullptr);
  EXPECT_EQ(Edit::lowerBoundObjectEnd(slot, 10), 1u);
  EXPECT_EQ(Edit::upperBoundObjectStart(slot, 20), 2u);
  EXPECT_EQ(Edit::upperBoundObjectStart(slot, 1000), 3u);
}

}  // namespace
