// The edit's scroll bar: it follows the edit's text height and scroll position, and its
// scrolling (and the edit's wheel) moves the edit's text.
#include "ui/controls/edit_scroll_bar_control.h"

#include <cmath>

#include "tests/ui/control_test_support.h"

namespace {

using namespace ControlTest;
using Control::EditControl;
using Control::EditScrollBarControl;

class EditScrollBarTest : public ControlFixture {
 protected:
  EditScrollBarTest() { container.updateLayout(); }

  void setLines(int count, bool caretAtEnd) {
    edit.text.clear();
    for (int i = 0; i < count; ++i) edit.text += u"line\n";
    edit.caret = caretAtEnd ? static_cast<int32_t>(edit.text.size()) : 0;
    edit.updateTextLayout();
    edit.updateScroll();
  }

  ParentControl parent{container, 50, 50, 200, 80};
  EditControl edit{parent, 0, 180};
  EditScrollBarControl bar{parent, edit, 180, 20};
};

TEST_F(EditScrollBarTest, TheBarFollowsTheEditsTextAndScroll) {
  EXPECT_EQ(edit.scrollBar, &bar);
  EXPECT_EQ(bar.fullRect, (Window::Rect{230, 50, 20, 80}));
  EXPECT_TRUE(bar.vertical);
  EXPECT_EQ(bar.step,
            2 * static_cast<int32_t>(std::ceil(Resource::TextFormat::getLineHeight(*edit.font))));
  setLines(20, true);
  EXPECT_EQ(bar.minimum, 0);
  EXPECT_EQ(bar.maximum, edit.marginY() + edit.textHeight);
  EXPECT_GT(edit.scrollY, 0);
  EXPECT_EQ(bar.viewStart, edit.scrollY);
  EXPECT_EQ(bar.viewEnd, edit.scrollY + edit.innerHeight());
  setLines(20, false);
  EXPECT_EQ(bar.viewStart, 0) << "the caret back at the top";
}

TEST_F(EditScrollBarTest, ScrollingTheBarOrTheWheelMovesTheText) {
  setLines(20, false);
  bar.requestScroll(30);
  EXPECT_EQ(edit.scrollY, 30);
  EXPECT_EQ(bar.viewStart, 30);

  click(100, 90);  // the edit takes the focus, and with it the wheel for its bar
  ASSERT_TRUE(edit.acceptsWheel);
  const int32_t before = edit.scrollY;
  wheel(100, 90, -120);
  EXPECT_EQ(edit.scrollY, before + bar.step) << "toward the user: down the text";
  wheel(100, 90, 120);
  EXPECT_EQ(edit.scrollY, before);
}

TEST_F(EditScrollBarTest, AnEditTooLowForTextHasAnEmptyRange) {
  ParentControl low{container, 50, 200, 200, 8};
  EditControl flat{low, 0, 180};
  EditScrollBarControl flatBar{low, flat, 180, 20};
  flat.text = u"a\nb\nc";
  flat.updateTextLayout();
  flat.updateScroll();
  EXPECT_EQ(flat.innerHeight(), 0);
  EXPECT_EQ(flatBar.minimum, 0);
  EXPECT_EQ(flatBar.maximum, 0);
}

TEST_F(EditScrollBarTest, AnEditThatOutlivesItsBarForgetsIt) {
  EditControl longer{parent, 0, 180};
  {
    EditScrollBarControl shortLived{parent, longer, 180, 20};
    EXPECT_EQ(longer.scrollBar, &shortLived);
  }
  EXPECT_EQ(longer.scrollBar, nullptr);
  longer.text = u"a\nb\nc\nd\ne\nf\ng";
  longer.caret = 13;
  longer.updateTextLayout();
  longer.updateScroll();  // no call into the bar that is gone
  EXPECT_FALSE(static_cast<bool>(longer.scrollCallback));
}

}  // namespace
