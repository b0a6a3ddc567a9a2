// The object clipboard: copies stay independent, a paste slides past what is in the way,
// groups become new groups, and a paste that cannot fit changes nothing.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "edit/edit_limits.h"
#include "edit/group.h"
#include "edit/object.h"
#include "edit/object_clipboard.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "edit_test_support.h"

namespace {

using TestSupport::EditServices;
using TestSupport::framesOf;
using Frames = std::vector<std::pair<int, int>>;

struct Clipboard : ::testing::Test {
  EditServices services;
  Edit::ObjectClipboard& clipboard() { return services.edit().clipboard; }
  Edit::Scene& scene() { return services.scene(); }
};

TEST_F(Clipboard, CopiesAreIndependentOfTheirSource) {
  auto source = TestSupport::place(0, 10, 19);
  source->boundaries = {4};
  source->effects.push_back(std::make_shared<TestSupport::TestFilter>());
  clipboard().addCopy(source);
  const auto& copy = clipboard().objects.at(0);
  EXPECT_NE(copy, source);
  EXPECT_EQ(copy->boundaries, source->boundaries);
  ASSERT_EQ(copy->effects.size(), 1u);
  EXPECT_NE(copy->effects[0], source->effects[0]);
  // Pasting twice makes two more objects, each with its own effects.
  ASSERT_TRUE(clipboard().paste(1, 0));
  ASSERT_TRUE(clipboard().paste(2, 0));
  const auto& first = scene().getLayerObjects(1).objects.at(0);
  const auto& second = scene().getLayerObjects(2).objects.at(0);
  EXPECT_NE(first->effects[0], second->effects[0]);
  EXPECT_NE(first->effects[0], copy->effects[0]);
  EXPECT_EQ(first->boundaries, (std::vector<int32_t>{4}));
}

TEST_F(Clipboard, PasteAtSlidesPastObjectsThatTouchEachOther) {
  // 20..29, 30..39 and 40..49 touch; the copy of 10 frames cannot land before 50.
  for (int start : {20, 30, 40}) TestSupport::place(3, start, start + 9);
  clipboard().addCopy(TestSupport::place(0, 0, 9));
  ASSERT_TRUE(clipboard().pasteAt(3, 25));
  EXPECT_EQ(framesOf(scene(), 3), (Frames{{20, 29}, {30, 39}, {40, 49}, {50, 59}}));
  // Where there is room it lands at once.
  ASSERT_TRUE(clipboard().pasteAt(3, 0));
  EXPECT_EQ(framesOf(scene(), 3).front(), (std::pair<int, int>{0, 9}));
}

TEST_F(Clipboard, CanPasteAtMovesDownALayerAtATime) {
  TestSupport::place(1, 0, 9);
  TestSupport::place(2, 5, 15);
  clipboard().addCopy(TestSupport::place(0, 0, 9));
  int layerOffset = 1;
  EXPECT_FALSE(clipboard().canPasteAt(0, layerOffset));
  EXPECT_EQ(layerOffset, 2);
  EXPECT_FALSE(clipboard().canPasteAt(0, layerOffset));
  EXPECT_EQ(layerOffset, 3);
  EXPECT_TRUE(clipboard().canPasteAt(0, layerOffset));
  EXPECT_EQ(layerOffset, 3);
}

TEST_F(Clipboard, EachCopiedGroupBecomesOneNewGroup) {
  auto group = std::make_shared<Edit::Group>();
  auto a = TestSupport::place(0, 0, 9);
  auto b = TestSupport::place(1, 0, 9);
  auto loose = TestSupport::place(2, 0, 9);
  a->joinGroup(group);
  b->joinGroup(group);
  for (const auto& object : {a, b, loose}) clipboard().addCopy(object);
  EXPECT_EQ(group->members.size(), 2u) << "copies do not join their source's group";

  ASSERT_TRUE(clipboard().paste(0, 100));
  const auto pastedA = scene().getLayerObjects(0).objects.at(1);
  const auto pastedB = scene().getLayerObjects(1).objects.at(1);
  const auto pastedLoose = scene().getLayerObjects(2).objects.at(1);
  ASSERT_NE(pastedA->group, nullptr);
  EXPECT_EQ(pastedA->group, pastedB->group);
  EXPECT_NE(pastedA->group, group);
  EXPECT_EQ(pastedA->group->members,
            (std::unordered_set<Edit::Object*>{pastedA.get(), pastedB.get()}));
  EXPECT_EQ(pastedLoose->group, nullptr);

  // The paste is one step: undo takes all three away again.
  services.undo().undo();
  for (int layer = 0; layer < 3; ++layer)
    EXPECT_EQ(scene().getLayerObjects(layer).objects.size(), 1u);
  EXPECT_EQ(pastedA->layer, -1);
  services.undo().redo();
  EXPECT_EQ(pastedA->layer, 0);
  EXPECT_EQ(pastedA->group->members.size(), 2u);
}

TEST_F(Clipboard, APasteThatDoesNotFitChangesNothing) {
  TestSupport::place(0, 50, 59);
  clipboard().addCopy(TestSupport::place(1, 0, 9));
  const auto steps = scene().undoHistory.steps.size();
  struct Case {
    int layerOffset, frameOffset;
  };
  const Case cases[] = {
      {-1, 50},                  // onto the object on layer 0
      {-2, 0},                   // above layer 0
      {Edit::kLayerLimit, 0},    // below the last layer
      {0, Edit::kMaxFrame - 5},  // past the last frame
      {0, -1},                   // before frame 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.layerOffset) + "/" + std::to_string(c.frameOffset));
    EXPECT_FALSE(clipboard().paste(c.layerOffset, c.frameOffset));
  }
  // Sliding past the frame range is refused too.
  EXPECT_FALSE(clipboard().pasteAt(1, Edit::kMaxFrame - 5));
  EXPECT_EQ(scene().undoHistory.steps.size(), steps);
  EXPECT_EQ(framesOf(scene(), 0), (Frames{{50, 59}}));
  EXPECT_EQ(framesOf(scene(), 1), (Frames{{0, 9}}));
  EXPECT_EQ(scene().layerCount(), 2);
}

TEST_F(Clipboard, AClipboardWhoseCopiesOverlapIsRefusedWhole) {
  auto source = TestSupport::place(0, 0, 9);
  clipboard().addCopy(source);
  clipboard().addCopy(source);
  EXPECT_FALSE(clipboard().paste(1, 0));
  EXPECT_TRUE(scene().getLayerObjects(1).objects.empty());
}

}  // namespace
