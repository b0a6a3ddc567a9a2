// "クリッピング": the kept rectangle against the picture cut on the CPU, the centre offset that
// keeps it in place (or not), the cuts that leave nothing, and the four edge handles of the
// preview with the drags that change the cuts.
#include "builtin/filter/clip_filter.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "edit/edit_test_support.h"
#include "effect/anchor_test_support.h"
#include "gpu/shader_run_support.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::CpuImage;

struct Cuts {
  double top = 0, bottom = 0, left = 0, right = 0;
  bool moveCenter = false;
};

class ClipFilterTest : public ::testing::Test {
 protected:
  void SetUp() override { world_.emplace(); }
  void TearDown() override { world_.reset(); }

  Effect::OwnedImage run(const CpuImage& source, const Cuts& cuts) {
    filter_.top.setValue(cuts.top, 0);
    filter_.bottom.setValue(cuts.bottom, 0);
    filter_.left.setValue(cuts.left, 0);
    filter_.right.setValue(cuts.right, 0);
    filter_.moveCenter.value = cuts.moveCenter;
    context_ = Effect::EffectContext();
    return filter_.filterVideo(context_, TestSupport::upload(source));
  }

  Effect::ClipFilter filter_;
  Effect::EffectContext context_;
  std::optional<TestSupport::RenderWorld> world_;
};

// The picture's pixels from (left, top), width x height of them.
CpuImage cutOnCpu(const CpuImage& source, int left, int top, int width, int height) {
  CpuImage kept(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) kept.at(x, y) = source.get(x + left, y + top);
  return kept;
}

TEST_F(ClipFilterTest, KeepsTheInnerRectangleInPlace) {
  const struct {
    const char* what;
    Cuts cuts;
    int left, top, width, height;
    float dx, dy;  // the change of the centre offset
  } cases[] = {
      {"left only: drawn half the cut further right", {.left = 2}, 2, 0, 8, 6, -1.0f, 0.0f},
      {"left, centred on the object", {.left = 2, .moveCenter = true}, 2, 0, 8, 6, 0.0f, 0.0f},
      {"equal top and bottom: no vertical shift", {.top = 1, .bottom = 1}, 0, 1, 10, 4, 0.0f, 0.0f},
      {"all four sides", {.top = 1, .bottom = 3, .left = 4, .right = 1}, 4, 1, 5, 2, -1.5f, 1.0f},
      {"halves round away from zero", {.left = 1.5, .right = 0.4}, 2, 0, 8, 6, -1.0f, 0.0f},
  };
  const CpuImage source = TestSupport::noisePicture(10, 6, 7);
  for (const auto& c : cases) {
    Effect::OwnedImage image = run(source, c.cuts);
    ASSERT_TRUE(image) << c.what;
    EXPECT_TRUE(TestSupport::imagesNear(TestSupport::download(*image),
                                        cutOnCpu(source, c.left, c.top, c.width, c.height)))
        << c.what;
    EXPECT_FLOAT_EQ(context_.outputView.centerX, c.dx) << c.what;
    EXPECT_FLOAT_EQ(context_.outputView.centerY, c.dy) << c.what;
  }
}

TEST_F(ClipFilterTest, NoCutPassesTheSamePictureOn) {
  Effect::OwnedImage image = TestSupport::upload(TestSupport::noisePicture(4, 4, 1));
  const Media::ResourceBuffer* before = image.get();
  image = filter_.filterVideo(context_, std::move(image));
  EXPECT_EQ(image.get(), before);
}

TEST_F(ClipFilterTest, CutsThatLeaveNothingGiveNoImage) {
  const CpuImage source = TestSupport::noisePicture(10, 6, 3);
  EXPECT_FALSE(run(source, {.left = 6, .right = 4})) << "exactly the width";
  EXPECT_FALSE(run(source, {.top = 4000})) << "far more than the height";
  EXPECT_TRUE(run(source, {.left = 6, .right = 3})) << "one column left";
}

// The preview's handles: object on layer 1 from frame 0 to 20 with a midpoint at 10.
class ClipFilterAnchorTest : public ::testing::Test {
 protected:
  ClipFilterAnchorTest() {
    object->boundaries = {10};
    edit.chains[object.get()] = {filter};
    edit.focus = object.get();
    context.scene = &services.scene();
    context.layerIndex = 1;
    context.anchorList = &list;
    at(5);
  }
  void at(int frame) {
    context.frame = frame;
    context.time = frame;
    context.setObject(object, object->frames());
  }
  // A drag step on a handle whose local space is scene pixels in a 200 x 200 preview.
  Anchor::AnchorEvent drag(int flags, int id, float dx, float dy) const {
    Anchor::AnchorEvent event;
    event.kind = Anchor::EventKind::Drag;
    event.id = id;
    event.flags = flags;
    event.object = object;
    event.frames = object->frames();
    event.effect = filter;
    event.viewWidth = event.viewHeight = 200;
    event.sourceMatrix = XMath::scaling(0.01f, -0.01f, 1.0f);
    event.deltaX = dx;
    event.deltaY = dy;
    return event;
  }

  TestSupport::EditServices services;
  TestSupport::FakeAnchorEdit edit;
  TestSupport::RecordingAnchorList list;
  std::shared_ptr<Effect::ClipFilter> filter = std::make_shared<Effect::ClipFilter>();
  std::shared_ptr<Edit::Object> object = std::make_shared<Edit::Object>(1, 0, 20);
  Effect::EffectContext context;
};

TEST_F(ClipFilterAnchorTest, FourSmallHandlesAtTheMiddlesOfTheEdges) {
  filter->updateAnchor(context, 100, 50);
  const auto handles = list.ofKind("small");
  ASSERT_EQ(handles.size(), 4u);
  const struct {
    int flag;
    float x, y;
  } expected[] = {{0x20, -50, 0}, {0x80, 0, -25}, {0x40, 50, 0}, {0x100, 0, 25}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(handles[i]->flags, expected[i].flag);
    EXPECT_EQ(handles[i]->point, (XMath::Vector{expected[i].x, expected[i].y, 0, 1}));
    EXPECT_EQ(handles[i]->item.currentPoint, handles[i]->point);
    EXPECT_EQ(handles[i]->id, Anchor::kCurrentPositionId) << "between points: every point";
  }
}

TEST_F(ClipFilterAnchorTest, HandlesOnlyWhereTheCutCanBeEdited) {
  // On a point the handles edit that point; at the last frame the end.
  at(10);
  filter->updateAnchor(context, 100, 50);
  EXPECT_EQ(list.ofKind("small").at(0)->id, 1);
  at(20);
  TestSupport::RecordingAnchorList atEnd;
  context.anchorList = &atEnd;
  filter->updateAnchor(context, 100, 50);
  EXPECT_EQ(atEnd.ofKind("small").at(0)->id, 2);

  // A cut that moves shows no handle between its points.
  TestSupport::moveTrack(filter->right, {0, 10, 20});
  at(5);
  TestSupport::RecordingAnchorList moving;
  context.anchorList = &moving;
  filter->updateAnchor(context, 100, 50);
  ASSERT_EQ(moving.ofKind("small").size(), 3u);
  for (const auto* handle : moving.ofKind("small")) EXPECT_NE(handle->flags, 0x40);
}

TEST_F(ClipFilterAnchorTest, NoHandlesWithoutFocusOrOnALock) {
  const struct {
    const char* what;
    std::function<void()> change;
  } cases[] = {
      {"another object has the focus", [&] { edit.focus = nullptr; }},
      {"the layer is locked", [&] { edit.lockedLayers = {1}; }},
      {"the effect is locked", [&] { filter->lock = true; }},
      {"the effect is not in the chain", [&] { edit.chains.clear(); }},
  };
  for (const auto& c : cases) {
    edit.focus = object.get();
    edit.lockedLayers.clear();
    edit.chains[object.get()] = {filter};
    filter->lock = false;
    c.change();
    TestSupport::RecordingAnchorList own;
    context.anchorList = &own;
    filter->updateAnchor(context, 100, 50);
    EXPECT_EQ(own.size(), 0u) << c.what;
  }
}

TEST_F(ClipFilterAnchorTest, DraggingAHandleChangesTheCutOfItsSide) {
  const struct {
    const char* what;
    int flag;
    float dx, dy;
    double left, right, top, bottom;
  } cases[] = {
      {"right handle 8 to the left", 0x40, -8, 0, 0, 8, 0, 0},
      {"left handle 5 to the right", 0x20, 5, 3, 5, 0, 0, 0},
      {"top handle 4 down", 0x80, 2, 4, 0, 0, 4, 0},
      {"bottom handle 6 up", 0x100, 0, -6, 0, 0, 0, 6},
      {"outwards is clamped at 0", 0x20, -7, 0, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    for (auto* item : {&filter->left, &filter->right, &filter->top, &filter->bottom})
      item->setValue(0, 0);
    Anchor::AnchorEvent event = drag(c.flag, Anchor::kCurrentPositionId, c.dx, c.dy);
    EXPECT_TRUE(filter->anchorEvent(event)) << c.what;
    EXPECT_NEAR(filter->left.getDisplayValue(0), c.left, 1e-9) << c.what;
    EXPECT_NEAR(filter->right.getDisplayValue(0), c.right, 1e-9) << c.what;
    EXPECT_NEAR(filter->top.getDisplayValue(0), c.top, 1e-9) << c.what;
    EXPECT_NEAR(filter->bottom.getDisplayValue(0), c.bottom, 1e-9) << c.what;
  }
}

TEST_F(ClipFilterAnchorTest, AStepMeasuresFromWhereTheLastChangeLeftTheHandle) {
  Anchor::AnchorEvent event = drag(0x20, Anchor::kCurrentPositionId, 3, 0);
  ASSERT_TRUE(filter->anchorEvent(event));
  EXPECT_EQ(filter->left.getDisplayValue(0), 3);
  EXPECT_FLOAT_EQ(event.currentPoint.x, 3.0f);
  // The travel since the press is 5 now: the step adds the 2 beyond the last position.
  event.deltaX = 5;
  ASSERT_TRUE(filter->anchorEvent(event));
  EXPECT_EQ(filter->left.getDisplayValue(0), 5);
}

TEST_F(ClipFilterAnchorTest, OnlyDragStepsAreHandled) {
  Anchor::AnchorEvent event = drag(0x20, 0, 5, 0);
  event.kind = Anchor::EventKind::Press;
  EXPECT_FALSE(filter->anchorEvent(event));
  event.kind = Anchor::EventKind::DoubleClick;
  EXPECT_FALSE(filter->anchorEvent(event));
  EXPECT_EQ(filter->left.getDisplayValue(0), 0);
}

}  // namespace
