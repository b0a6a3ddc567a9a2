// The shared drawing resources made at start: the noise tables made once and kept, the
// figure and wipe lists filled when the service is made, the control value it requires,
// the luminance key of picture wipes, and the text formats by index.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "gpu/gpu_test_support.h"
#include "gpu/pixel_format.h"
#include "gpu/resource_buffer.h"
#include "gpu/style_services_support.h"

namespace {

using Resource::ResourceService;
using TestSupport::halfPixel;

constexpr const char* kFloatError = "ini file parameter invalid format(float) or undefined.";

// The mask the key gives a picture of this colour: opaque where 1 - luma lies above the
// window, transparent below it, and a smooth step across it.
float keyAlpha(const TestSupport::Rgba& colour, const Resource::LuminanceKeyConstants& k) {
  const float luma = colour[0] * 0.299f + colour[1] * 0.587f + colour[2] * 0.114f;
  const float t = std::clamp((1.0f - luma - k.limitMin) / (k.limitMax - k.limitMin), 0.0f, 1.0f);
  return t * t * (3.0f - 2.0f * t);
}

class ResourceServiceTest : public TestSupport::StyleServicesTest {
 protected:
  static float alpha(Media::ResourceBuffer& buffer, uint32_t x, uint32_t y) {
    return halfPixel(*buffer.readBack(), x, y)[3];
  }
};

TEST_F(ResourceServiceTest, EachNoiseTableIsMadeOnceAndKept) {
  writeStyle(TestSupport::kStyleFonts);
  startServices();
  const auto permutation = resources().lookupTable(ResourceService::kPermutationTable);
  const auto noise = resources().lookupTable(ResourceService::kSmoothNoiseTable);
  ASSERT_NE(permutation, nullptr);
  ASSERT_NE(noise, nullptr);
  EXPECT_NE(permutation, noise);
  EXPECT_EQ(resources().lookupTable(ResourceService::kPermutationTable), permutation);
  EXPECT_EQ(resources().lookupTable(ResourceService::kSmoothNoiseTable), noise);
  for (const auto& table : {permutation, noise}) {
    EXPECT_EQ(table->width(), 256u);
    EXPECT_EQ(table->height(), 256u);
    EXPECT_EQ(table->format(), Media::DxgiFormat::R32_FLOAT);
  }
}

// The lists are filled when the service is made: the built-ins, then the files of the
// program's folders.
TEST_F(ResourceServiceTest, TheFigureAndWipeListsHoldTheBuiltInsThenTheFiles) {
  writeStyle(TestSupport::kStyleFonts);
  install_.writeFile("data/Figure/drop.svg", "<svg/>");
  install_.writeFile("data/Transition/fog.png", "");
  startServices();
  const auto& figures = resources().figureList().entries();
  ASSERT_EQ(figures.size(), 9u);
  EXPECT_EQ(figures[0].name, "背景");
  EXPECT_EQ(figures[7].name, "ハート");
  EXPECT_EQ(figures[8].name, "drop");
  const auto& wipes = resources().transitionList().entries();
  ASSERT_EQ(wipes.size(), 8u);
  EXPECT_EQ(wipes[0].name, "ワイプ(円)");
  EXPECT_EQ(wipes[6].name, "ワイプ(ハート)");
  EXPECT_EQ(wipes[7].name, "fog");
  // Each list names its entries in a choice list of its own.
  EXPECT_EQ(resources().figureList().choices()->getValue("drop"), 8);
  EXPECT_EQ(resources().transitionList().choices()->getValue("fog"), 7);
  EXPECT_NE(resources().figureList().choices(), resources().transitionList().choices());
}

TEST_F(ResourceServiceTest, AControlValueThatIsNoSizeStopsTheService) {
  for (const char* fonts : {"", "Control=\n", "Control=big\n", "Control=,DejaVu Sans\n"}) {
    SCOPED_TRACE(fonts);
    writeStyle(fonts);
    startGraphics();
    try {
      resources_.emplace();
      ADD_FAILURE() << "the service was made";
    } catch (const std::exception& failure) {
      EXPECT_NE(std::string(failure.what()).find(kFloatError), std::string::npos)
          << failure.what();
    }
    EXPECT_EQ(ResourceService::instance(), nullptr);
    EXPECT_THROW(ResourceService::Get(), std::exception);
    stopServices();
  }
}

TEST_F(ResourceServiceTest, TheLuminanceKeyFollowsTheGreyLevelOfThePicture) {
  writeStyle(TestSupport::kStyleFonts);
  startServices();
  ASSERT_EQ(Media::Direct3DService::Get().pixelFormat, 10);
  const Resource::LuminanceKeyConstants window{0.2f, 0.8f, 1.0f, 1.0f};
  struct Case {
    TestSupport::Rgba colour;
    Resource::LuminanceKeyConstants constants;
  };
  const Case cases[] = {
      {{0.4f, 0.4f, 0.4f, 1.0f}, window},     // inside the window
      {{0.65f, 0.65f, 0.65f, 1.0f}, window},  // inside, near its lower end
      {{0.1f, 0.1f, 0.1f, 1.0f}, window},     // dark: above the window, opaque
      {{0.9f, 0.9f, 0.9f, 1.0f}, window},     // light: below the window, transparent
      {{0.0f, 1.0f, 0.0f, 1.0f}, window},     // green weighs most
      {{0.0f, 0.0f, 1.0f, 1.0f}, window},     // blue weighs least
      {{0.5f, 0.5f, 0.5f, 1.0f}, {0.45f, 0.55f, 1.0f, 1.0f}},  // the middle of a narrow window
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.colour[0] << ", " << c.colour[1] << ", " << c.colour[2]);
    const auto image = TestSupport::solidHalfImage(4, 4, c.colour);
    const auto picture = Media::ResourceBuffer::createFromImageBuffer(image.get());
    Media::ResourceBuffer target(8, 6);
    target.createRenderTargetView();
    resources().drawLuminanceKey(target, *picture, c.constants);
    const float expected = keyAlpha(c.colour, c.constants);
    for (const auto& [x, y] : {std::pair{0u, 0u}, std::pair{4u, 3u}, std::pair{7u, 5u}})
      EXPECT_NEAR(alpha(target, x, y), expected, 4e-3f) << x << "," << y;
  }
}

// A picture wipe of the program's folder goes from the file through the key into its mask.
TEST_F(ResourceServiceTest, APictureWipeDrawsItsFileThroughTheKey) {
  writeStyle(TestSupport::kStyleFonts);
  install_.makeFolder("data/Transition");
  {
    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, 4, 4), cairo_surface_destroy);
    std::unique_ptr<cairo_t, void (*)(cairo_t*)> context(cairo_create(surface.get()),
                                                        cairo_destroy);
    cairo_set_source_rgb(context.get(), 0.5, 0.5, 0.5);
    cairo_paint(context.get());
    ASSERT_EQ(cairo_surface_write_to_png(surface.get(),
                                         (install_ / "data/Transition/grey.png").c_str()),
              CAIRO_STATUS_SUCCESS);
  }
  startServices();
  const auto& list = resources().transitionList();
  ASSERT_EQ(list.entries().size(), 8u);
  const float grey = 128.0f / 255.0f;
  for (float progress : {0.0f, 0.48f, 0.5f, 0.52f, 1.0f}) {
    SCOPED_TRACE(progress);
    const auto mask = list.createImage(7, 16, 16, progress, 0, false);
    ASSERT_NE(mask, nullptr);
    const auto constants =
        Resource::TransitionEntry::luminanceKeyConstants(0, progress, false, 16, 16, 4, 4);
    EXPECT_NEAR(alpha(*mask, 8, 8), keyAlpha({grey, grey, grey, 1.0f}, constants), 1e-2f);
  }
}

TEST_F(ResourceServiceTest, ATextFormatIndexPastTheFormatsThrows) {
  writeStyle(TestSupport::kStyleFonts);
  startServices();
  EXPECT_NO_THROW(resources().textFormat(ResourceService::kLog));
  try {
    resources().textFormat(ResourceService::kTextFormatCount);
    FAIL() << "no error";
  } catch (const std::exception& failure) {
    const std::string text = failure.what();
    EXPECT_NE(text.find("text format index out of range."), std::string::npos) << text;
  }
}

}  // namespace
