// The members of a group that stand on a scene's timeline.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "edit/group.h"
#include "edit/object.h"
#include "edit/scene.h"

namespace {

using ObjectList = std::vector<std::shared_ptr<Edit::Object>>;

class GroupObjects : public ::testing::Test {
 protected:
  std::shared_ptr<Edit::Object> grouped(Edit::Scene& on, int layer, int start, int end) {
    auto object = on.createEmptyObject(layer, start, end);
    object->joinGroup(group);
    return object;
  }

  std::shared_ptr<Edit::Group> group = std::make_shared<Edit::Group>();
  Edit::Scene scene{0, 0};
};

TEST_F(GroupObjects, NoGroupHasNoObjects) {
  scene.createEmptyObject(0, 0, 9);
  scene.update();
  EXPECT_TRUE(Edit::Group::getObjects(nullptr, scene).empty());
  EXPECT_TRUE(Edit::Group::getObjects(group, scene).empty());
}

TEST_F(GroupObjects, MembersOnTheTimelineComeByLayerThenStartAndRemovedOnesAreLeftOut) {
  const auto late = grouped(scene, 2, 50, 59);
  const auto removed = grouped(scene, 1, 0, 9);
  const auto top = grouped(scene, 0, 30, 39);
  const auto early = grouped(scene, 2, 10, 19);
  scene.createEmptyObject(2, 30, 39);  // not a member
  scene.removeObject(*removed);
  scene.update();

  EXPECT_EQ(Edit::Group::getObjects(group, scene), (ObjectList{top, early, late}));
}

// Between a move and the rebuild of the layer tables the member's new layer is not sorted
// and its old place may still list an object that was removed there.
TEST_F(GroupObjects, AMemberIsFoundBeforeTheLayerTablesAreRebuilt) {
  const auto member = grouped(scene, 0, 100, 109);
  const auto gone = scene.createEmptyObject(3, 100, 109);
  scene.createEmptyObject(3, 200, 209);
  scene.createEmptyObject(3, 0, 9);
  scene.update();
  scene.removeObject(*gone);
  scene.moveObjectToLayer(member, 3);

  EXPECT_EQ(Edit::Group::getObjects(group, scene), (ObjectList{member}));
}

TEST_F(GroupObjects, AnObjectOfTheSceneInAMembersPlaceIsNotAMember) {
  Edit::Scene other{1, 1};
  grouped(other, 0, 0, 9);
  const auto inScene = grouped(scene, 1, 0, 9);
  scene.createEmptyObject(0, 0, 9);
  scene.update();
  other.update();

  EXPECT_EQ(Edit::Group::getObjects(group, scene), (ObjectList{inScene}));
}

}  // namespace
