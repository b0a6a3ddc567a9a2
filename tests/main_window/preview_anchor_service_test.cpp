#include <gtest/gtest.h>

#include "edit/edit_test_support.h"
#include "main_window/preview/anchor_control.h"
#include "main_window/preview/anchor_service_host.h"
#include "preview_anchor_support.h"
#include "ui/window_mouse.h"

namespace {

// A filter whose handle drag writes the horizontal travel into its amount.
class DraggedFilter : public TestSupport::TestFilter {
 public:
  bool anchorEvent(Anchor::AnchorEvent& event) override {
    if (event.kind == Anchor::EventKind::Drag) amount.value = static_cast<int>(event.deltaX);
    ++events;
    return false;
  }
  int events = 0;
};

class PictureTarget : public Window::WindowMouse {
 public:
  PictureTarget() : WindowMouse(&area, 0) {}
  Window::Rect area{0, 0, 200, 100};
};

class AnchorServiceTest : public ::testing::Test {
 protected:
  TestSupport::EditServices services;
  PictureTarget target;
  Anchor::AnchorServiceHost host{target};
  Anchor::AnchorControl control{host};

  // One object with the filter's handle at the picture's centre.
  AnchorServiceTest() {
    control.setPictureRect({0, 0, 200, 100}, 200);
    Anchor::PreviewAnchorList list;
    list.addLargeCircle(object, filter, 0, {0, 0, 0, 1}, TestSupport::depthMatrix(0.5f), 0);
    control.setAnchors(std::move(list));
  }
  std::shared_ptr<Edit::Object> object = TestSupport::place(0, 0, 10);
  std::shared_ptr<DraggedFilter> filter = std::make_shared<DraggedFilter>();
};

TEST_F(AnchorServiceTest, ADragIsOneUndoStepWithTheEffectsChange) {
  services.edit().settings.singleClickFocusAnchorObject = 1;

  ASSERT_TRUE(control.pointerMoved(100, 50));
  control.leftButtonDown({});
  EXPECT_EQ(services.scene().focusObject, object);
  EXPECT_TRUE(services.undo().isRecording());
  control.dragStep(7, 0, {});
  control.dragStep(12, 0, {});
  EXPECT_EQ(filter->amount.value, 12);
  EXPECT_TRUE(services.undo().isRecording());  // the steps leave the drag's step open
  control.endDrag();
  EXPECT_FALSE(services.undo().isRecording());
  ASSERT_TRUE(services.undo().canUndo());
  EXPECT_EQ(services.undo().history()->steps.size(), 1u);
  services.undo().undo();
  EXPECT_EQ(filter->amount.value, 0);
}

TEST_F(AnchorServiceTest, ADragThatChangesNothingLeavesNoStep) {
  control.pointerMoved(100, 50);
  control.leftButtonDown({});
  control.endDrag();
  EXPECT_FALSE(services.undo().canUndo());
}

}  // namespace
