// What the effects ask of the drawing layer: the installed font families in order, whether
// a family is installed, the figure choices and a figure drawn as a white mask; and the
// empty answers before the services exist.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "gpu/gpu_test_support.h"
#include "gpu/resource/effect_drawing_resources.h"
#include "gpu/resource_buffer.h"
#include "gpu/style_services_support.h"
#include "system/text.h"

namespace {

using TestSupport::halfPixel;
using TestSupport::nearHalf;

class EffectDrawingResourcesTest : public TestSupport::StyleServicesTest {
 protected:
  Resource::EffectDrawingResources drawing_;
};

TEST_F(EffectDrawingResourcesTest, FontsComeFromTheFontTableInTheLocalesOrder) {
  writeStyle(TestSupport::kStyleFonts);
  startServices();
  const std::vector<std::string> families = drawing_.fontFamilies();
  ASSERT_FALSE(families.empty());
  EXPECT_TRUE(std::is_sorted(families.begin(), families.end(),
                             [](const std::string& a, const std::string& b) {
                               return System::compareString(a, b) < 0;
                             }));
  EXPECT_NE(std::find(families.begin(), families.end(), "DejaVu Sans"), families.end());
  for (const std::string& family : families)
    EXPECT_TRUE(drawing_.isFontInstalled(family)) << family;
  EXPECT_TRUE(drawing_.isFontInstalled("DejaVu Sans"));
  EXPECT_FALSE(drawing_.isFontInstalled("Velumo Imaginary Grotesk"));
  EXPECT_FALSE(drawing_.isFontInstalled(""));
}

TEST_F(EffectDrawingResourcesTest, FiguresComeFromTheSharedFigureList) {
  writeStyle(TestSupport::kStyleFonts);
  startServices();
  EXPECT_EQ(drawing_.figureList(), resources().figureList().choices());
  EXPECT_EQ(drawing_.figureList()->getValue("四角形"), 2);

  // The rectangle fills the whole image in opaque white.
  const Effect::OwnedImage image = drawing_.drawFigure(2, 20, 10);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width(), 20u);
  EXPECT_EQ(image->height(), 10u);
  EXPECT_EQ(image->format(), Media::Direct3DService::Get().pixelFormat);
  const auto pixels = image->readBack();
  for (const auto& [x, y] : {std::pair{0u, 0u}, std::pair{10u, 5u}, std::pair{19u, 9u}})
    EXPECT_TRUE(nearHalf(halfPixel(*pixels, x, y), {1.0f, 1.0f, 1.0f, 1.0f})) << x << "," << y;

  // The circle leaves the corners clear.
  const Effect::OwnedImage circle = drawing_.drawFigure(1, 20, 20);
  ASSERT_NE(circle, nullptr);
  EXPECT_EQ(halfPixel(*circle->readBack(), 0, 0)[3], 0.0f);

  EXPECT_EQ(drawing_.drawFigure(8, 20, 10), nullptr) << "past the figures";
  EXPECT_EQ(drawing_.drawFigure(-1, 20, 10), nullptr);
  EXPECT_EQ(drawing_.drawFigure(2, 0, 10), nullptr) << "an empty size";
}

TEST_F(EffectDrawingResourcesTest, WithoutTheServicesEveryAnswerIsEmpty) {
  const auto expectEmpty = [&] {
    EXPECT_TRUE(drawing_.fontFamilies().empty());
    EXPECT_FALSE(drawing_.isFontInstalled("DejaVu Sans"));
    EXPECT_EQ(drawing_.figureList(), nullptr);
    EXPECT_EQ(drawing_.drawFigure(2, 20, 10), nullptr);
  };
  {
    SCOPED_TRACE("nothing started");
    expectEmpty();
  }
  // Once the services are gone again the answers are empty again.
  writeStyle(TestSupport::kStyleFonts);
  startServices();
  ASSERT_FALSE(drawing_.fontFamilies().empty());
  stopServices();
  SCOPED_TRACE("after the services");
  expectEmpty();
}

}  // namespace
