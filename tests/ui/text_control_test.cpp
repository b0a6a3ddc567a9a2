// The label and the title strip: where their text goes and what they fill.
#include "ui/controls/text_control.h"

#include <algorithm>
#include <optional>

#include "tests/ui/control_test_support.h"

namespace {

using namespace ControlTest;

class TextControlTest : public ControlFixture {};

struct Box {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
  bool operator==(const Box&) const = default;
};

// The smallest rectangle around the pixels of the area that are not `background`.
Box inkedBox(const Window::Rect& area, uint32_t background) {
  Box box;
  for (int y = area.y; y < area.y + area.height; ++y)
    for (int x = area.x; x < area.x + area.width; ++x)
      if ((Window::WindowService::instance()->image().pixel(x, y) & 0xffffffu) != background) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
  return box;
}

TEST_F(TextControlTest, ABorderMovesTheTextTwoPixelsInOnBothAxes) {
  ParentControl parent(container, 20, 20, 300, 60);
  // The border in the background's colour: whatever is not background is text.
  Media::SolidColorBrush background(colourOf(0x000000));
  for (int32_t mode : {0, 1, 2, 3}) {
    SCOPED_TRACE(mode);
    std::optional<Box> plain;
    for (bool bordered : {false, true}) {
      Control::TextControl label(parent, 0, 0, 200, 40, "Label", mode);
      label.backgroundBrush = &background;
      if (bordered) label.borderBrush = &background;
      container.updateLayout();
      label.procPaint();
      const Box box = inkedBox(label.visibleRect, 0x000000);
      ASSERT_GE(box.right, 0) << "the text is drawn";
      if (!plain) {
        plain = box;
        continue;
      }
      EXPECT_EQ(box, (Box{plain->left + 2, plain->top + 2, plain->right + 2, plain->bottom + 2}));
    }
  }
}

TEST_F(TextControlTest, TheAlignmentModesPlaceTheText) {
  ParentControl parent(container, 20, 20, 300, 60);
  Media::SolidColorBrush background(colourOf(0x000000));
  auto boxOf = [&](int32_t mode, const std::string& text) {
    Control::TextControl label(parent, 0, 0, 200, 40, text, mode);
    label.backgroundBrush = &background;
    container.updateLayout();
    label.procPaint();
    return inkedBox(label.visibleRect, 0x000000);
  };
  const Box left = boxOf(0, "Label"), centred = boxOf(1, "Label"), topLeft = boxOf(3, "Label");
  EXPECT_LT(left.left, 24) << "left";
  EXPECT_GT(centred.left, 80) << "centred horizontally";
  EXPECT_EQ(centred.top, left.top) << "both vertically centred";
  EXPECT_LT(topLeft.top, left.top) << "the other modes: top-left";
  const Box trimmed = boxOf(2, std::string(60, 'W'));
  EXPECT_LE(trimmed.right, 20 + 200 - 4) << "cut with an ellipsis within width - 4";
}

TEST_F(TextControlTest, TheTitleStripTakesTheTitleHeightAndTheRestIsBackground) {
  ParentControl parent(container, 0, 0, 300, 60);
  Window::WindowControlContainer inner;
  inner.priority = 100;
  const Window::Rect place{10, 10, 300, 60};
  inner.parentRect = inner.clipRect = &place;
  inner.updateLayout();
  Control::TitleHeaderControl header(inner, "Timeline");
  inner.updateLayout();
  EXPECT_EQ(header.fullRect, (Window::Rect{10, 10, 300, 24})) << "22 + 2 high, full width";
  header.procPaint();
  EXPECT_EQ(pixel(300, 15), Colour::kTitleHeader);
  EXPECT_EQ(pixel(300, 33), Colour::kBackground) << "below the 22-pixel strip";
  const Box title = inkedBox({10, 10, 300, 22}, Colour::kTitleHeader);
  EXPECT_GE(title.left, 12) << "3 pixels in, less the first letter's overhang";
  EXPECT_LT(title.left, 20);
  const auto& targets = mice().targets();
  EXPECT_EQ(std::find(targets.begin(), targets.end(), &header), targets.end())
      << "the strip takes no input";

  header.subTitle = "Scene 1";
  header.procPaint();
  const Box both = inkedBox({10, 10, 300, 22}, Colour::kTitleHeader);
  EXPECT_GT(both.right, title.right + 9) << "the sub-title follows the title";
  EXPECT_EQ(both.left, title.left);
}

}  // namespace
