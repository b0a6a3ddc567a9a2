// What the group controls publish for the objects they govern: the audio gains with volume,
// balance and nesting; the world matrix; the group's own perspective, or the enclosing
// group's; and whether the whole group chain stays flat.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "builtin/control/group_audio_control.h"
#include "builtin/control/group_control.h"
#include "edit/object.h"
#include "effect/effect_context.h"
#include "render/render_test_support.h"
#include "system/xmath.h"

namespace {

// A control object holding the effect as its first effect, as the passes find it.
std::shared_ptr<Edit::Object> controlObject(std::shared_ptr<Effect::EffectBase> effect) {
  auto object = std::make_shared<Edit::Object>(0, 0, 10);
  object->effects.push_back(std::move(effect));
  return object;
}

struct Gains {
  float left, right;
};

Gains audioGains(double volume, double balance,
                 const std::shared_ptr<Edit::Object>& enclosing = nullptr) {
  Effect::GroupAudioControl group;
  group.volume.setValue(volume, 0);
  group.balance.setValue(balance, 0);
  Effect::EffectContext context;
  context.audio.groupAudioControl = enclosing;
  group.controlAudio(context);
  return {group.gainLeft, group.gainRight};
}

TEST(GroupAudioControlTest, VolumeAndBalanceGiveTheGains) {
  struct Case {
    double volume, balance;
    Gains expected;
  };
  const Case cases[] = {
      {50, 50, {0.25f, 0.5f}},   {50, -50, {0.5f, 0.25f}}, {100, 100, {0.0f, 1.0f}},
      {100, -100, {1.0f, 0.0f}}, {100, 0, {1.0f, 1.0f}},   {300, 0, {3.0f, 3.0f}},
  };
  for (const Case& c : cases) {
    const Gains gains = audioGains(c.volume, c.balance);
    EXPECT_FLOAT_EQ(gains.left, c.expected.left) << c.volume << " / " << c.balance;
    EXPECT_FLOAT_EQ(gains.right, c.expected.right) << c.volume << " / " << c.balance;
  }
}

TEST(GroupAudioControlTest, NestedGroupsMultiplyTheirGains) {
  auto outer = std::make_shared<Effect::GroupAudioControl>();
  outer->volume.setValue(50, 0);
  outer->balance.setValue(50, 0);
  Effect::EffectContext context;
  outer->controlAudio(context);
  const auto outerObject = controlObject(outer);

  // Inner: left 1, right 0.5; times the outer's 0.25 and 0.5.
  const Gains nested = audioGains(100, -50, outerObject);
  EXPECT_FLOAT_EQ(nested.left, 0.25f);
  EXPECT_FLOAT_EQ(nested.right, 0.25f);
  // A link to an object whose first effect is no audio group changes nothing.
  const Gains unrelated = audioGains(100, -50, controlObject(std::make_shared<Effect::GroupControl>()));
  EXPECT_FLOAT_EQ(unrelated.left, 1.0f);
  EXPECT_FLOAT_EQ(unrelated.right, 0.5f);
}

// The group controls need a frame for their perspective, so a device and the services.
class GroupControlTest : public TestSupport::FrameTest {
 protected:
  GroupControlTest() : FrameTest(kWidth, kHeight) {}

  // Runs the control step with `enclosing` as the enclosing group.
  void control(Effect::GroupControl& group,
               const std::shared_ptr<Edit::Object>& enclosing = nullptr) {
    Effect::EffectContext context;
    context.outputView.target = frame_.get();
    context.outputView.groupControl = enclosing;
    group.controlVideo(context);
  }
  // Where a point of the group's space lands in the frame, in pixels from the frame's
  // centre (y downwards).
  static std::pair<float, float> onScreen(const Render::GroupControlState& group, float x,
                                          float y, float z) {
    const XMath::Matrix m = XMath::multiply(group.worldMatrix, group.viewMatrix);
    const XMath::Vector p = XMath::transform4(XMath::Vector{x, y, z, 1.0f}, m);
    return {p.x / p.w * kWidth * 0.5f, -p.y / p.w * kHeight * 0.5f};
  }

  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
};

TEST_F(GroupControlTest, TheWorldMatrixTurnsThenScalesThenMoves) {
  Effect::GroupControl group;
  group.rotationZ.setValue(90, 0);
  group.zoom.setValue(200, 0);
  group.x.setValue(10, 0);
  group.y.setValue(-5, 0);
  group.z.setValue(3, 0);
  control(group);
  // (1, 0, 0) turned to (0, 1, 0), doubled, then moved.
  const XMath::Vector p = XMath::transform4(XMath::Vector{1, 0, 0, 1}, group.worldMatrix);
  EXPECT_NEAR(p.x, 10.0f, 1e-5f);
  EXPECT_NEAR(p.y, -3.0f, 1e-5f);
  EXPECT_NEAR(p.z, 3.0f, 1e-5f);

  // Turns about x and y follow the one about z.
  Effect::GroupControl tilted;
  tilted.rotationY.setValue(90, 0);
  tilted.rotationX.setValue(90, 0);
  control(tilted);
  // (1, 0, 0): about y to (0, 0, -1), about x to (0, 1, 0).
  const XMath::Vector q = XMath::transform4(XMath::Vector{1, 0, 0, 1}, tilted.worldMatrix);
  EXPECT_NEAR(q.x, 0.0f, 1e-5f);
  EXPECT_NEAR(q.y, 1.0f, 1e-5f);
  EXPECT_NEAR(q.z, 0.0f, 1e-5f);
}

TEST_F(GroupControlTest, TheOwnPerspectiveKeepsThePlaneAndVanishesAtThePosition) {
  Effect::GroupControl group;
  group.x.setValue(100, 0);
  group.y.setValue(50, 0);
  control(group);
  // At z = 0 a point stays where the group puts it, at its size.
  const auto [x0, y0] = onScreen(group, 20, -10, 0);
  EXPECT_NEAR(x0, 120.0f, 1e-3f);
  EXPECT_NEAR(y0, 40.0f, 1e-3f);
  // Behind the plane it shrinks towards the group's position: 1024 deep halves its offset.
  const auto [x1, y1] = onScreen(group, 20, -10, 1024);
  EXPECT_NEAR(x1, 110.0f, 1e-3f);
  EXPECT_NEAR(y1, 45.0f, 1e-3f);
}

TEST_F(GroupControlTest, ANestedGroupTakesTheOuterPerspective) {
  auto outer = std::make_shared<Effect::GroupControl>();
  outer->x.setValue(100, 0);
  outer->y.setValue(50, 0);
  control(*outer);
  Effect::GroupControl inner;
  inner.x.setValue(-30, 0);
  control(inner, controlObject(outer));

  EXPECT_EQ(0, std::memcmp(&inner.viewMatrix, &outer->viewMatrix, sizeof(XMath::Matrix)));
  // The inner group's origin lies at the outer's position plus its own; far behind the
  // plane everything vanishes at the outer group's position, not the inner's.
  const auto [x0, y0] = onScreen(inner, 0, 0, 0);
  EXPECT_NEAR(x0, 70.0f, 1e-3f);
  EXPECT_NEAR(y0, 50.0f, 1e-3f);
  const auto [xFar, yFar] = onScreen(inner, 0, 0, 1.0e7f);
  EXPECT_NEAR(xFar, 100.0f, 0.1f);
  EXPECT_NEAR(yFar, 50.0f, 0.1f);
}

TEST_F(GroupControlTest, OnlyDepthTurnsAndZoomMakeAGroupNotFlat) {
  struct Case {
    const char* what;
    double x, y, z, rotationX, rotationY, rotationZ, zoom;
    bool flat;
  };
  const Case cases[] = {
      {"at rest", 0, 0, 0, 0, 0, 0, 100, true},
      {"moved in the plane", 120, -40, 0, 0, 0, 0, 100, true},
      {"moved in depth", 0, 0, 5, 0, 0, 0, 100, false},
      {"turned about x", 0, 0, 0, 10, 0, 0, 100, false},
      {"turned about y", 0, 0, 0, 0, 10, 0, 100, false},
      {"turned about z", 0, 0, 0, 0, 0, 10, 100, false},
      {"zoomed", 0, 0, 0, 0, 0, 0, 50, false},
  };
  for (const Case& c : cases) {
    Effect::GroupControl group;
    group.x.setValue(c.x, 0);
    group.y.setValue(c.y, 0);
    group.z.setValue(c.z, 0);
    group.rotationX.setValue(c.rotationX, 0);
    group.rotationY.setValue(c.rotationY, 0);
    group.rotationZ.setValue(c.rotationZ, 0);
    group.zoom.setValue(c.zoom, 0);
    control(group);
    EXPECT_EQ(group.isFlat, c.flat) << c.what;
  }

}

TEST_F(GroupControlTest, ADeepGroupMakesEveryGroupInsideItNotFlat) {
  auto outer = std::make_shared<Effect::GroupControl>();
  outer->z.setValue(1, 0);
  control(*outer);
  EXPECT_FALSE(outer->isFlat);
  auto middle = std::make_shared<Effect::GroupControl>();
  control(*middle, controlObject(outer));
  EXPECT_FALSE(middle->isFlat) << "flat itself, inside a deep group";
  Effect::GroupControl inner;
  control(inner, controlObject(middle));
  EXPECT_FALSE(inner.isFlat) << "two levels down";

  auto flatOuter = std::make_shared<Effect::GroupControl>();
  flatOuter->x.setValue(40, 0);
  control(*flatOuter);
  Effect::GroupControl flatInner;
  control(flatInner, controlObject(flatOuter));
  EXPECT_TRUE(flatInner.isFlat);
}

}  // namespace
