// The footer strip: texts, the status text with its progress bar and the wait cursor.
#include "tests/ui/window_input_support.h"
#include "ui/qt_edit_ui.h"
#include "ui/window_footer.h"

namespace {

class WindowFooterTest : public WindowTest::WindowFixture {
 protected:
  Window::WindowFooter& footer() { return service().footer(); }
};

TEST_F(WindowFooterTest, TheStatusTextRepaintsOnlyWhatChanged) {
  footer().setStatusText("Saving", std::string_view("backup.vkp"), 0.25f);
  EXPECT_EQ(footer().statusText(), "Saving backup.vkp");
  EXPECT_EQ(mice().appliedCursor(), Window::MouseCursor::Wait);
  const int32_t painted = footer().paintCount();
  footer().setStatusText("Saving", std::string_view("backup.vkp"), 0.25f);
  EXPECT_EQ(footer().paintCount(), painted) << "nothing changed";
  footer().setStatusText("Saving", std::string_view("backup.vkp"), 0.5f);
  EXPECT_EQ(footer().paintCount(), painted + 1) << "a new progress is drawn";
  EXPECT_FLOAT_EQ(footer().progress(), 0.5f);

  footer().setStatusText("");
  EXPECT_EQ(footer().statusText(), "");
  EXPECT_EQ(mice().appliedCursor(), Window::MouseCursor::Arrow);
}

TEST_F(WindowFooterTest, TheEditModelsStatusGoesToTheFooter) {
  Window::QtEditUi editUi;
  editUi.setStatusText("Loading...");
  EXPECT_EQ(footer().statusText(), "Loading...");
  editUi.setStatusText("");
  EXPECT_EQ(footer().statusText(), "");
}

TEST_F(WindowFooterTest, TheProgressBarFillsItsShareOfTheStrip) {
  const Window::FrameBrushes& brushes = service().brushes();
  const int width = service().clientWidth();
  const int y = service().clientHeight() - 2;  // the strip's bottom rows hold no text
  footer().setStatusText("Exporting", std::nullopt, 0.5f);
  EXPECT_EQ(pixel(width / 4, y), WindowTest::rgbOf(brushes.footerProgress[1]));
  EXPECT_EQ(pixel(width * 3 / 4, y), WindowTest::rgbOf(brushes.footerProgress[0]));
  footer().setStatusText("");
  EXPECT_EQ(pixel(width / 4, y), WindowTest::rgbOf(brushes.footer));
}

TEST_F(WindowFooterTest, ALongLeftTextStopsBeforeTheRightText) {
  const Window::FrameBrushes& brushes = service().brushes();
  footer().setFooterText(std::string(400, 'W'), std::string(""));
  const int width = service().clientWidth();
  const int top = service().clientHeight() - 24;
  const int margin = 24 / 3;
  // With an empty right text the left text ends two margins before the right edge.
  bool textBefore = false;
  for (int y = top; y < top + 24; ++y) {
    for (int x = width - 2 * margin; x < width; ++x)
      EXPECT_EQ(pixel(x, y), WindowTest::rgbOf(brushes.footer)) << x << "," << y;
    for (int x = width - 2 * margin - 40; x < width - 2 * margin; ++x)
      textBefore = textBefore || pixel(x, y) != WindowTest::rgbOf(brushes.footer);
  }
  EXPECT_TRUE(textBefore) << "the text runs up to the limit";
  const int32_t painted = footer().paintCount();
  footer().setFooterText(std::nullopt, std::nullopt);
  EXPECT_EQ(footer().paintCount(), painted);
}

}  // namespace
