// The matrices that place objects: world matrices from transforms, the default view and the
// choice of views under group controls.
#include <gtest/gtest.h>

#include "render/transform.h"
#include "render/control_state.h"

namespace {

using Render::Transform;

XMath::Vector apply(const XMath::Vector& point, const XMath::Matrix& matrix) {
  XMath::Vector p = XMath::transform4(point, matrix);
  if (p.w != 0.0f && p.w != 1.0f) p = {p.x / p.w, p.y / p.w, p.z / p.w, 1.0f};
  return p;
}

void expectNear(const XMath::Vector& a, const XMath::Vector& b, const char* what) {
  EXPECT_NEAR(a.x, b.x, 1e-4) << what;
  EXPECT_NEAR(a.y, b.y, 1e-4) << what;
  EXPECT_NEAR(a.z, b.z, 1e-4) << what;
}

TEST(TransformTest, WorldMatricesMoveCentreScaleTurnThenPlace) {
  Transform identity;
  EXPECT_EQ(identity.getMatrix(), XMath::identity());

  Transform turned;
  turned.rotationZ = 90.0f;
  expectNear(apply({1, 0, 0, 1}, turned.getMatrix()), {0, 1, 0, 1}, "z 90 turns x to y");

  Transform pivot;
  pivot.centerX = 10.0f;
  pivot.rotationZ = 180.0f;
  expectNear(apply({10, 0, 0, 1}, pivot.getMatrix()), {0, 0, 0, 1}, "the centre stays");
  expectNear(apply({0, 0, 0, 1}, pivot.getMatrix()), {10, 0, 0, 1}, "around the centre");

  Transform placed;
  placed.scaleX = 2.0f;
  placed.positionX = 5.0f;
  expectNear(apply({1, 1, 0, 1}, placed.getMatrix()), {7, 1, 0, 1}, "scaled then placed");
  expectNear(apply({1, 0, 0, 0}, placed.getAnchorMatrix()), {2, 0, 0, 0}, "no translation");
}

TEST(TransformTest, TheDefaultViewMapsOneUnitToOnePixelAtDepthZero) {
  Effect::OutputView view;
  const XMath::Matrix m = Render::getDefaultView(view, 1920, 1080);
  expectNear(apply({960, 540, 0, 1}, m), {1, -1, 51.2f / 1024.0f, 1}, "corner at z 0");
  expectNear(apply({960, 540, 1024, 1}, m), {0.5f, -0.5f, 51.2f / 2048.0f, 1}, "at z 1024");

  view.x = 100.0f;
  const XMath::Matrix moved = Render::getDefaultView(view, 1920, 1080);
  for (float z : {0.0f, 1000.0f, 5000.0f})
    EXPECT_NEAR(apply({100, 0, z, 1}, moved).x, 2.0f * 100.0f / 1920.0f, 1e-5) << z;
}

TEST(TransformTest, AGroupsWorldMatrixFollowsTheObjectsOwn) {
  struct Group : Effect::EffectBase, Render::GroupControlState {
    Group() : EffectBase("グループ制御", 4, 1, 1) {}
    std::shared_ptr<EffectBase> create() const override { return nullptr; }
  };
  auto object = std::make_shared<Edit::Object>();
  auto group = std::make_shared<Group>();
  group->worldMatrix = XMath::translation(0, 7, 0);
  group->viewMatrix = XMath::scaling(2, 2, 2);
  object->effects.push_back(group);
  Effect::OutputView view;
  view.x = 3.0f;
  view.groupControl = object;
  expectNear(apply({0, 0, 0, 1}, Render::getObjectMatrix(view)), {3, 7, 0, 1}, "own then group");
  EXPECT_EQ(Render::getViewMatrix(view), group->viewMatrix);
  expectNear(apply({1, 0, 0, 1}, Render::getViewProjectionMatrix(view)), {2, 14, 0, 1},
             "group world then its view");
}

}  // namespace
