#include <gtest/gtest.h>

#include <cmath>

#include "main_window/preview/anchor_item_list.h"
#include "preview_anchor_support.h"

namespace {

using Anchor::AnchorType;
using Anchor::PreviewAnchor;
using Anchor::PreviewAnchorList;
using Anchor::ViewPoint;
using TestSupport::depthMatrix;
using XMath::Vector;

class AnchorListTest : public ::testing::Test {
 protected:
  std::shared_ptr<Edit::Object> object = std::make_shared<Edit::Object>(0, 0, 10);
  std::shared_ptr<Effect::EffectBase> effect =
      std::make_shared<TestSupport::EventRecordingEffect>();
  PreviewAnchorList list;

  const PreviewAnchor& at(std::size_t i) const { return list.items().at(i); }
};

TEST_F(AnchorListTest, CirclesAreAddedOnlyInFrontOfTheBoundary) {
  using Add = Anchor::AnchorItem& (PreviewAnchorList::*)(
      const Anchor::ObjectRef&, const Anchor::EffectEntry&, int, const Vector&,
      const XMath::Matrix&, int);
  const struct {
    Add add;
    AnchorType type;
  } shapes[] = {{&PreviewAnchorList::addLargeCircle, AnchorType::LargeCircle},
                {&PreviewAnchorList::addMediumCircle, AnchorType::MediumCircle},
                {&PreviewAnchorList::addSmallCircle, AnchorType::SmallCircle}};
  const struct {
    float z;  // w = 1, so the margin is 1 / z - 1
    bool added;
  } depths[] = {{1.0f, false}, {0.9999f, true}, {2.0f, false}, {-0.5f, false}};
  for (const auto& shape : shapes) {
    for (const auto& depth : depths) {
      SCOPED_TRACE(depth.z);
      list.clear();
      Anchor::AnchorItem& item = (list.*shape.add)(object, effect, 7, {0.5f, -0.25f, 0.0f, 1.0f},
                                                   depthMatrix(depth.z), Anchor::Flag::Snap);
      item.startPoint = {1, 2, 3, 1};  // a follow-up write lands somewhere harmless
      ASSERT_EQ(list.size(), depth.added ? 1u : 0u);
      if (!depth.added) continue;
      EXPECT_EQ(&item, static_cast<const Anchor::AnchorItem*>(&at(0)));
      EXPECT_EQ(at(0).type, shape.type);
      EXPECT_EQ(at(0).flags, Anchor::Flag::Snap | Anchor::Flag::Tooltip);
      EXPECT_EQ(at(0).id, 7);
      EXPECT_EQ(at(0).owner, object);
      EXPECT_EQ(at(0).effectKey, effect.get());
      EXPECT_EQ(at(0).points, (std::vector<ViewPoint>{{0.5f, -0.25f}}));
    }
  }
}

TEST_F(AnchorListTest, PointWithoutViewPositionIsNotAdded) {
  XMath::Matrix flat = depthMatrix(0.0f);
  flat.m[3][3] = 0.0f;  // w = 0 and z = 0: the margin is unordered but nothing projects
  list.addLargeCircle(object, effect, 0, {0.5f, 0.5f, 0.0f, 1.0f}, flat, 0);
  list.addPoint(effect, {1.0f, 1.0f, 0.0f, 0.0f}, std::nullopt);
  EXPECT_TRUE(list.empty());
}

TEST_F(AnchorListTest, FrameIsClippedAtTheBoundary) {
  // A 2 x 2 rectangle whose depth changes over it (see depthMatrix).
  const struct {
    const char* what;
    XMath::Matrix matrix;
    std::size_t points;  // 0: nothing added
  } cases[] = {
      {"facing", depthMatrix(0.5f), 4},
      {"one corner behind", depthMatrix(0.6f, 0.25f, 0.25f), 5},
      {"three corners behind", depthMatrix(1.1f, 0.25f, 0.25f), 3},
      {"all behind", depthMatrix(2.0f), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    list.clear();
    list.addFrame(object, effect, 3, 2.0f, 2.0f, c.matrix, 0);
    ASSERT_EQ(list.size(), c.points ? 1u : 0u);
    if (!c.points) continue;
    EXPECT_EQ(at(0).type, AnchorType::Frame);
    EXPECT_EQ(at(0).flags, Anchor::Flag::Tooltip);
    ASSERT_EQ(at(0).points.size(), c.points);
    for (const ViewPoint& p : at(0).points) {  // every point on the rectangle's outline
      EXPECT_LE(std::fabs(p.x), 1.0f + 1e-6f);
      EXPECT_LE(std::fabs(p.y), 1.0f + 1e-6f);
      EXPECT_TRUE(std::fabs(std::fabs(p.x) - 1.0f) < 1e-6f || std::fabs(std::fabs(p.y) - 1.0f) < 1e-6f);
    }
  }
  // The corners in order: (-w/2, +h/2) first, counter-clockwise on screen.
  list.clear();
  list.addFrame(object, effect, 3, 2.0f, 4.0f, depthMatrix(0.5f), 0);
  EXPECT_EQ(at(0).points, (std::vector<ViewPoint>{{-1, 2}, {-1, -2}, {1, -2}, {1, 2}}));
}

TEST_F(AnchorListTest, OnlyAFacingFrameOffersSnapPoints) {
  const struct {
    XMath::Matrix matrix;
    int flags;
    std::size_t snaps;
  } cases[] = {
      {depthMatrix(0.5f), Anchor::Flag::SnapAllDragged, 4},
      {depthMatrix(0.5f), Anchor::Flag::Snap, 4},
      {depthMatrix(0.5f), 0, 0},
      {depthMatrix(0.5f, 0.1f), Anchor::Flag::SnapAllDragged, 0},  // tilted in depth
  };
  for (const auto& c : cases) {
    list.clear();
    list.addFrame(object, effect, 0, 2.0f, 2.0f, c.matrix, c.flags);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(at(0).snapPoints.size(), c.snaps) << c.flags;
  }
}

TEST_F(AnchorListTest, LineNeedsTwoVisibleDistinctEnds) {
  const Vector a{0.2f, 0.4f, 0.5f, 2.0f};
  const struct {
    const char* what;
    Vector b;
    bool added;
  } cases[] = {
      {"distinct", {0.6f, 0.4f, 0.5f, 1.0f}, true},
      {"same raw x and y, other z and w", {0.2f, 0.4f, 0.25f, 1.0f}, false},
      {"end behind", {0.6f, 0.4f, 1.0f, 1.0f}, false},
  };
  const XMath::Matrix m = XMath::translation(1, 2, 3);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    list.clear();
    list.addLine(a, c.b, object, effect, 5, {4, 5, 6, 0}, m, Anchor::Flag::AxisX);
    ASSERT_EQ(list.size(), c.added ? 1u : 0u);
  }
  list.clear();
  list.addLine(a, cases[0].b, object, effect, 5, {4, 5, 6, 0}, m, Anchor::Flag::AxisX);
  EXPECT_EQ(at(0).type, AnchorType::Line);
  EXPECT_EQ(at(0).flags, Anchor::Flag::AxisX);
  // The start, the end and one clip unit right of the start at the start's depth.
  EXPECT_EQ(at(0).points, (std::vector<ViewPoint>{{0.1f, 0.2f}, {0.6f, 0.4f}, {0.6f, 0.2f}}));
  EXPECT_EQ(at(0).sourceMatrix.m[3][1], 2.0f);
  EXPECT_EQ(at(0).startPoint, (Vector{4, 5, 6, 1}));
  EXPECT_EQ(at(0).currentPoint, (Vector{4, 5, 6, 1}));
}

TEST_F(AnchorListTest, SizeHandlesAtTheCornersWhoseNeighboursAreVisible) {
  Anchor::SizeHandleFrame frame;
  frame.anchorMatrix = XMath::translation(10, 0, 0);  // the corners where the effect keeps them
  frame.viewProjection = XMath::multiply(XMath::translation(-10, 0, 0), depthMatrix(0.5f));
  frame.center = {10, 0, 0, 1};
  frame.size = 1.5f;
  list.addSizeHandles(object, effect, 4, 2.0f, 4.0f, frame, Anchor::Flag::InputSize);
  ASSERT_EQ(list.size(), 4u);
  const int codes[] = {0xa0, 0xc0, 0x120, 0x140};
  const ViewPoint corners[] = {{-1, -2}, {1, -2}, {1, 2}, {-1, 2}};
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const PreviewAnchor& h = at(i);
    EXPECT_EQ(h.type, AnchorType::Square);
    EXPECT_EQ(h.flags, Anchor::Flag::InputSize | Anchor::Flag::SizeHandle |
                           Anchor::Flag::Tooltip | codes[i]);
    EXPECT_EQ(h.points, (std::vector<ViewPoint>{corners[i], corners[(i + 3) % 4],
                                                corners[(i + 1) % 4]}));
    EXPECT_EQ(h.startPoint, (Vector{10 + corners[i].x, corners[i].y, 0, 1}));
    EXPECT_EQ(h.startSize, 1.5f);
    // The offset takes the handle to the corner scaled about the centre.
    const auto resize = Vector{h.handleCenter.x + 2 * h.handleOffset.x,
                               h.handleCenter.y + 2 * h.handleOffset.y, 0, 1};
    EXPECT_EQ(resize, h.startPoint);
  }

  // Corner 2 (+w/2, +h/2) behind the boundary: only corner 0 keeps both neighbours.
  list.clear();
  frame.viewProjection = XMath::multiply(XMath::translation(-10, 0, 0),
                                         depthMatrix(0.6f, 0.1f, 0.2f));
  list.addSizeHandles(object, effect, 4, 2.0f, 4.0f, frame, 0);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(at(0).flags & Anchor::Flag::CornerCodeMask, 0xa0);
}

TEST_F(AnchorListTest, PolylineSplitsWherePointsAreBehind) {
  const Vector in{0.1f, 0.2f, 0.5f, 1.0f};
  const Vector out{0.1f, 0.2f, 2.0f, 1.0f};
  const struct {
    std::vector<Vector> points;
    std::vector<std::size_t> runs;
  } cases[] = {
      {{in, in, out, in, in, in}, {2, 3}},
      {{in, out, in}, {}},
      {{in, in}, {2}},
      {{}, {}},
  };
  for (const auto& c : cases) {
    list.clear();
    list.addPolyline(effect, c.points, std::nullopt);
    ASSERT_EQ(list.size(), c.runs.size());
    for (std::size_t i = 0; i < c.runs.size(); ++i) {
      EXPECT_EQ(at(i).type, AnchorType::Polyline);
      EXPECT_EQ(at(i).points.size(), c.runs[i]);
    }
  }
  list.clear();
  list.addPolyline(effect, {in, in}, Anchor::Color{1, 0, 0, 1});
  EXPECT_EQ(at(0).type, AnchorType::ColorPolyline);
  EXPECT_EQ(at(0).color, (Anchor::Color{1, 0, 0, 1}));
}

TEST_F(AnchorListTest, MarkersBelongToNoneAndCannotBePicked) {
  const Vector c{0.5f, 1.0f, 1.0f, 2.0f};  // margin 1
  list.addPoint(effect, c, std::nullopt);
  list.addPoint(effect, c, Anchor::Color{0, 1, 0, 1});
  list.addDot(effect, c);
  list.addPolyline(effect, {c, c}, std::nullopt);
  list.addPoint(effect, {0.5f, 1.0f, 2.0f, 2.0f}, std::nullopt);  // margin 0: not added
  const AnchorType types[] = {AnchorType::Cross, AnchorType::ColorPoint, AnchorType::Dot,
                              AnchorType::Polyline};
  ASSERT_EQ(list.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(at(i).type, types[i]);
    EXPECT_FALSE(at(i).isPickable());
    EXPECT_EQ(at(i).owner, nullptr);
    EXPECT_EQ(at(i).effectKey, effect.get());
    EXPECT_EQ(at(i).id, 0);
    EXPECT_EQ(at(i).flags, 0);
    EXPECT_EQ(at(i).points.front(), (ViewPoint{0.25f, 0.5f}));
  }
  EXPECT_EQ(at(1).color, (Anchor::Color{0, 1, 0, 1}));
}

TEST_F(AnchorListTest, IconAlwaysAddsWithItsOwnFlagsAndSize) {
  list.addIcon(object, effect, Anchor::kClippingIconId, Anchor::IconKind::ClippingHidden);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(at(0).type, AnchorType::Icon);
  EXPECT_EQ(at(0).flags, 0x68000);
  EXPECT_EQ(at(0).icon, Anchor::IconKind::ClippingHidden);
  EXPECT_EQ(at(0).points, (std::vector<ViewPoint>{{0, 0}, {32, 32}}));
}

TEST_F(AnchorListTest, AnAddedItemStaysValidWhileTheListGrows) {
  Anchor::AnchorItem& first = list.addCameraHandle(object, effect, 9, Anchor::Flag::RawOffset);
  for (int i = 0; i < 1000; ++i) list.addIcon(object, effect, i, Anchor::IconKind::CameraLocked);
  first.extra = {1, 2, 3, 4};
  EXPECT_EQ(at(0).type, AnchorType::Viewpoint);
  EXPECT_EQ(at(0).flags, Anchor::Flag::RawOffset);
  EXPECT_EQ(at(0).extra, (std::array<float, 4>{1, 2, 3, 4}));
}

}  // namespace
