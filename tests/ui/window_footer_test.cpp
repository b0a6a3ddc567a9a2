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
  // Colours of their own, so that each pixel tells which brush drew it.
  Window::StyleBrushList& brushes = service().styleBrushes();
  brushes.FooterProgress0.get()->setColor({1.0f, 0.0f, 0.0f, 1.0f});
  brushes.FooterProgress1.get()->setColor({0.0f, 1.0f, 0.0f, 1.0f});
  brushes.Footer.get()->setColor({0.0f, 0.0f, 1.0f, 1.0f});
  const int width = service().clientWidth();
  const int y = service().clientHeight() - 2;  // the strip's bottom rows hold no text
  footer().setStatusText("Exporting", std::nullopt, 0.5f);
  EXPECT_EQ(pixel(width / 4, y), 0x00ff00u) << "the done part";
  EXPECT_EQ(pixel(width * 3 / 4, y), 0xff0000u) << "the bar";
  footer().setStatusText("");
  EXPECT_EQ(pixel(width / 4, y), 0x0000ffu) << "no status";
}

TEST_F(WindowFooterTest, ALongLeftTextStopsBeforeTheRightText) {
  // Text and strip apart, so that a pixel tells whether the text reached it.
  service().styleBrushes().Text.get()->setColor({1.0f, 1.0f, 1.0f, 1.0f});
  service().styleBrushes().Footer.get()->setColor({0.0f, 0.0f, 1.0f, 1.0f});
  const uint32_t strip = 0x0000ffu;
  footer().setFooterText(std::string(400, 'W'), std::string(""));
  const int width = service().clientWidth();
  const int top = service().clientHeight() - 24;
  const int margin = 24 / 3;
  // With an empty right text the left text ends two margins before the right edge.
  bool textBefore = false;
  for (int y = top; y < top + 24; ++y) {
    for (int x = width - 2 * margin; x < width; ++x)
      EXPECT_EQ(pixel(x, y), strip) << x << "," << y;
    for (int x = width - 2 * margin - 40; x < width - 2 * margin; ++x)
      textBefore = textBefore || pixel(x, y) != strip;
  }
  EXPECT_TRUE(textBefore) << "the text runs up to the limit";
  const int32_t painted = footer().paintCount();
  footer().setFooterText(std::nullopt, std::nullopt);
  EXPECT_EQ(footer().paintCount(), painted);
}

}  // namespace
