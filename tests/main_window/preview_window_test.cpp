// The preview window and its player bar over the edit model, without a render service.
#include <gtest/gtest.h>

#include <optional>

#include "edit/edit_test_support.h"
#include "edit/scene.h"
#include "main_window/preview/preview_edit_component.h"
#include "system/event_service.h"
#include "tests/ui/control_test_support.h"

namespace {

using Component::PreviewEditComponent;

class PreviewWindowTest : public WindowTest::WindowFixture {
 protected:
  PreviewWindowTest() {
    settings_.emplace("PlayerControlHeight=32\r\n");
    edit_.emplace();
    preview_.emplace();
  }

  Edit::Scene& scene() { return edit_->scene(); }
  Event::EventService& events() { return edit_->events(); }
  Component::PlayerNavigateControl& bar() { return preview_->playerBar; }

  std::optional<ControlTest::ScopedSettings> settings_;
  std::optional<TestSupport::EditServices> edit_;
  std::optional<PreviewEditComponent> preview_;
};

TEST_F(PreviewWindowTest, TheWheelStepsTheCursorAndTellsTheCursorList) {
  TestSupport::place(0, 0, 9);
  std::vector<int> heard;
  events().cursorFrameChanged().add([&](int frame) { heard.push_back(frame); });
  scene().cursorFrame = 0;
  preview_->procMouseWheel(0, 0, 120);
  EXPECT_EQ(scene().cursorFrame, 0) << "backwards at frame 0 stays";
  preview_->procMouseWheel(0, 0, -120);
  EXPECT_EQ(scene().cursorFrame, 1);
  scene().cursorFrame = scene().lastFrame();
  preview_->procMouseWheel(0, 0, -120);
  EXPECT_EQ(scene().cursorFrame, scene().lastFrame()) << "forwards at the end stays";
  EXPECT_EQ(heard, (std::vector<int>{0, 1, scene().lastFrame()}));
}

TEST_F(PreviewWindowTest, ANewPreviewFrameBringsThePendingHandles) {
  auto object = TestSupport::place(0, 0, 9);
  auto filter = std::make_shared<TestSupport::TestFilter>();
  {
    std::lock_guard lock(preview_->pendingMutex);
    preview_->pending.addLargeCircle(object, filter, 0, {0, 0, 0, 1}, XMath::identity(), 0);
    ASSERT_FALSE(preview_->pending.empty());
    preview_->pendingArrived = true;
  }
  events().frameNotice().fire(PreviewEditComponent::kPreviewFrame, 0);
  EXPECT_EQ(preview_->preview.video.anchors.anchors().size(), 1u);
  EXPECT_TRUE(preview_->pending.empty());
  EXPECT_FALSE(preview_->pendingArrived);
  // A later frame without new handles keeps the shown ones.
  events().frameNotice().fire(PreviewEditComponent::kPreviewFrame, 1);
  EXPECT_EQ(preview_->preview.video.anchors.anchors().size(), 1u);
  // A player frame while the scene is not playing changes nothing.
  events().frameNotice().fire(PreviewEditComponent::kPlayerFrame, 1);
  EXPECT_EQ(preview_->preview.video.anchors.anchors().size(), 1u);
}

TEST_F(PreviewWindowTest, TheFrameButtonsFollowTheCursorAndTheSectionButtonsTheFocus) {
  TestSupport::place(0, 0, 4);
  auto focus = TestSupport::place(1, 2, 3);
  scene().cursorFrame = 0;
  events().sceneChanged().fire(scene().id);
  EXPECT_FALSE(bar().previousFrameButton.enabled);
  EXPECT_TRUE(bar().nextFrameButton.enabled);
  EXPECT_FALSE(bar().previousSectionButton.enabled) << "no focus object";
  EXPECT_FALSE(bar().nextSectionButton.enabled);

  // Stepping forward repeatedly ends at the last frame, where the button disables.
  for (int i = 0; i < 10; ++i) bar().nextFrameButton.clickCallback(bar().nextFrameButton);
  EXPECT_EQ(scene().cursorFrame, scene().lastFrame());
  EXPECT_FALSE(bar().nextFrameButton.enabled);
  EXPECT_TRUE(bar().previousFrameButton.enabled);
  EXPECT_EQ(bar().seekBar.value, scene().lastFrame());

  scene().focusObject = focus;
  scene().cursorFrame = 3;
  events().focusObjectChanged().fire(focus);
  EXPECT_TRUE(bar().previousSectionButton.enabled) << "the object starts before the cursor";
  EXPECT_FALSE(bar().nextSectionButton.enabled) << "the cursor is on the object's end";
}

TEST_F(PreviewWindowTest, TheSeekBarMarksTheTimelineSpanAndTheSelectedRange) {
  TestSupport::place(0, 0, 99);
  scene().displayFrame = 10;
  scene().displayFrameCount = 30;
  scene().selectedFrameStart = 20;
  scene().selectedFrameEnd = 25;
  scene().cursorFrame = 15;
  events().cursorFrameChanged().fire(15);
  EXPECT_EQ(bar().seekBar.maximum, 99);
  EXPECT_EQ(bar().seekBar.value, 15);
  EXPECT_EQ(bar().seekBar.selectStart, 10);
  EXPECT_EQ(bar().seekBar.selectEnd, 40);
  EXPECT_EQ(bar().seekBar.subStart, 20);
  EXPECT_EQ(bar().seekBar.subEnd, 25);
  EXPECT_EQ(bar().timeCounter.text(), "00:00:00.50");

  events().visibleFramesChanged().fire(50, 20);
  EXPECT_EQ(bar().seekBar.selectStart, 50);
  EXPECT_EQ(bar().seekBar.selectEnd, 70);
}

TEST_F(PreviewWindowTest, TheZoomButtonDragsFromTheFitPercentage) {
  preview_->displayZoom = 100;
  auto& zoom = bar().zoomButton;
  zoom.mode = Component::ZoomButtonControl::Mode::Left;
  zoom.startZoom = 100;
  zoom.procMouseDrag(0, -2);
  EXPECT_EQ(preview_->displayZoom, 101);
  zoom.procMouseDrag(0, 100000);
  EXPECT_EQ(preview_->displayZoom, Component::kMinDragZoom);
  // Without a picture the fit counts as 100 %.
  zoom.startZoom = 0;
  zoom.procMouseDrag(0, -2);
  EXPECT_EQ(preview_->displayZoom, 101);
}

}  // namespace
