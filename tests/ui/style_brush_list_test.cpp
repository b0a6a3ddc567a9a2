// The style brushes: made on first use from style.conf [Color], and a colour the style lacks
// or writes wrongly drawn in grey after a WARN instead of stopping the program.
#include "ui/style_brush_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system/log_capture.h"
#include "system/service_holder.h"
#include "tests/gpu/style_services_support.h"
#include "tests/ui/style_brush_support.h"
#include "ui/window_drawing.h"
#include "ui/window_service.h"

namespace {

using Window::StyleBrushList;
using WindowTest::madeStyleBrushes;

void expectColour(const Media::ColorF& c, float r, float g, float b, float a,
                  const char* what) {
  EXPECT_NEAR(c.r, r, 1e-3) << what;
  EXPECT_NEAR(c.g, g, 1e-3) << what;
  EXPECT_NEAR(c.b, b, 1e-3) << what;
  EXPECT_NEAR(c.a, a, 1e-3) << what;
}

class StyleBrushListTest : public TestSupport::StyleServicesTest {
 protected:
  void SetUp() override {
    StyleServicesTest::SetUp();
    writeStyle("", "Background=ff0000\nBorder=00ff0040\nFooterProgress=0000ff\n"
                   "ObjectAudio=000000,ffffff\nText=nonsense\n");
    startSettings();
  }
};

TEST_F(StyleBrushListTest, NothingIsMadeBeforeItIsUsed) {
  StyleBrushList brushes;
  EXPECT_EQ(madeStyleBrushes(brushes), std::vector<std::string>{});
  brushes.Background.get();
  EXPECT_EQ(madeStyleBrushes(brushes), std::vector<std::string>{"Background"})
      << "one use makes that entry alone";
}

TEST_F(StyleBrushListTest, BrushesTakeTheirKindFromTheKey) {
  TestSupport::LogCapture log;
  StyleBrushList brushes;
  expectColour(brushes.Background.get()->color(), 1, 0, 0, 1, "solid");
  expectColour(brushes.Border.get()->color(), 0, 1, 0, 0x40 / 255.0f, "own alpha");
  expectColour(brushes.BorderHalf.get()->color(), 0, 1, 0, 0.5f, "half, whatever the alpha");
  expectColour(brushes.FooterProgress0.get()->color(), 0, 0, 1, 1, "progress 0");
  expectColour(brushes.FooterProgress1.get()->color(), 0, 0, 1, 1, "one colour serves both");

  const auto& gradient = brushes.ObjectAudio.get()->stops();
  ASSERT_EQ(gradient.size(), 2u);
  expectColour(gradient[0].color, 0, 0, 0, 1, "gradient start");
  expectColour(gradient[1].color, 1, 1, 1, 1, "gradient end");
  const auto& fade = brushes.ObjectAudioFade.get()->stops();
  ASSERT_EQ(fade.size(), 2u);
  expectColour(fade[0].color, 1, 1, 1, 0, "fade start");
  expectColour(fade[1].color, 1, 1, 1, 1, "fade end");
  EXPECT_TRUE(log.texts("WARN").empty());
}

TEST_F(StyleBrushListTest, AMissingOrMalformedColourIsGreyAfterAWarning) {
  TestSupport::LogCapture log;
  StyleBrushList brushes;
  const Media::ColorF grey = StyleBrushList::kFallback;
  struct Case {
    const char* key;
    Media::ColorF colour;
  };
  const Case cases[] = {
      {"[Color]Text ", brushes.Text.get()->color()},                // malformed
      {"[Color]Anchor ", brushes.Anchor.get()->color()},            // missing
      {"[Color]ObjectVideo ", brushes.ObjectVideo.get()->stops().back().color},
      {"[Color]ClippingObject ", brushes.ClippingObject.get()->stops().back().color},
  };
  const std::vector<std::string> warnings = log.texts("WARN");
  ASSERT_EQ(warnings.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    expectColour(cases[i].colour, grey.r, grey.g, grey.b, grey.a, cases[i].key);
    EXPECT_NE(warnings[i].find(cases[i].key), std::string::npos) << warnings[i];
  }
  brushes.Text.get();
  EXPECT_EQ(log.texts("WARN").size(), std::size(cases)) << "the grey brush is kept";
}

// The window holds the one list that every control and window client reaches through its
// drawing context.
TEST(StyleBrushListInWindow, TheWindowsDrawingContextReachesTheServicesList) {
  System::ServiceHolder<Window::WindowService> holder;
  Window::WindowService* service = Window::WindowService::instance();
  const Window::WindowDrawing drawing = Window::currentWindowDrawing();
  ASSERT_EQ(drawing.styleBrushes, &service->styleBrushes());
  EXPECT_EQ(drawing.styleBrushes->renderTarget, &service->renderTarget());
  EXPECT_EQ(drawing.styleBrushes->ObjectVideo.peek(), nullptr) << "nothing drew with it yet";
  const Media::LinearGradientBrush* made = drawing.styleBrushes->ObjectVideo.get();
  EXPECT_NE(made, nullptr);
  EXPECT_EQ(service->styleBrushes().ObjectVideo.peek(), made) << "one list, shared";
}

}  // namespace
