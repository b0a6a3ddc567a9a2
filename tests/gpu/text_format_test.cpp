// The text formats of the user interface: which style.conf [Font] value each index takes,
// the small control format derived from the control format, the error of a missing value
// at first use, and the measuring, trimming and width of text laid out with them.
#include <gtest/gtest.h>
#include <pango/pango.h>

#include <cmath>
#include <string>

#include "gpu/style_services_support.h"
#include "gpu/text/text_format.h"

namespace {

using Resource::ResourceService;
using Resource::TextFormatResource;

constexpr const char* kFloatError = "ini file parameter invalid format(float) or undefined.";

class TextFormatTest : public TestSupport::StyleServicesTest {
 protected:
  TextFormatResource& format(std::size_t index) { return resources().textFormat(index); }
  const Media::TextFormat& made(std::size_t index) { return *format(index).format.get(); }
};

TEST_F(TextFormatTest, ControlSizeAndFamilyGiveTheControlAndSmallControlFormats) {
  struct Case {
    const char* control;
    const char* family;
    float size;
  };
  const Case cases[] = {
      {"12", TestSupport::kStyleDefaultFamily, 12.0f},
      {"12,", TestSupport::kStyleDefaultFamily, 12.0f},
      {"14,DejaVu Sans", "DejaVu Sans", 14.0f},
      {"10.5,DejaVu Sans Mono", "DejaVu Sans Mono", 10.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    writeStyle(std::string("Control=") + c.control + "\n");
    startServices();
    EXPECT_EQ(made(ResourceService::kControl).family, c.family);
    EXPECT_FLOAT_EQ(made(ResourceService::kControl).size, c.size);
    EXPECT_EQ(Resource::TextFormat::getName(format(ResourceService::kControl)), c.family);
    EXPECT_EQ(made(ResourceService::kControlSmall).family, c.family);
    EXPECT_FLOAT_EQ(made(ResourceService::kControlSmall).size, c.size * 0.8f);
    // The control font of native controls reads the same value.
    EXPECT_EQ(resources().controlFont().family(), c.family);
    EXPECT_EQ(resources().controlFont().pixelSize(), static_cast<int32_t>(c.size));
    stopServices();
  }
}

TEST_F(TextFormatTest, EachIndexReadsItsOwnKey) {
  writeStyle(TestSupport::kStyleFonts);
  startServices();
  // The fixture's sizes are 12 for Control and then 13 ... 19 in index order from 2.
  for (std::size_t index = ResourceService::kEditControl; index < ResourceService::kTextFormatCount;
       ++index) {
    EXPECT_FLOAT_EQ(made(index).size, static_cast<float>(11 + index)) << index;
    EXPECT_EQ(made(index).family, TestSupport::kStyleDefaultFamily) << index;
  }
  EXPECT_FLOAT_EQ(made(ResourceService::kControlSmall).size, 9.6f);
}

// The service starts without the other keys; a format whose value is missing, empty or not
// a number fails when it is first used, and again on the next use.
TEST_F(TextFormatTest, AMissingOrMalformedValueThrowsAtFirstUse) {
  writeStyle("Control=12\nLayerObject=\nPreviewTime=big\nTimeGauge=,DejaVu Sans\n");
  startServices();
  for (std::size_t index : {ResourceService::kEditControl, ResourceService::kLayerObject,
                            ResourceService::kPreviewTime, ResourceService::kTimeGauge}) {
    SCOPED_TRACE(index);
    for (int attempt = 0; attempt < 2; ++attempt) {
      try {
        format(index).format.get();
        ADD_FAILURE() << "no error";
      } catch (const std::exception& failure) {
        EXPECT_NE(std::string(failure.what()).find(kFloatError), std::string::npos)
            << failure.what();
      }
      EXPECT_EQ(format(index).format.peek(), nullptr);
    }
  }
  // The formats that have values are unaffected.
  EXPECT_NO_THROW(format(ResourceService::kControlSmall).format.get());
}

TEST_F(TextFormatTest, TheLineHeightIsMeasuredOnceAndGrowsWithTheSize) {
  writeStyle(TestSupport::kStyleFonts);
  startServices();
  TextFormatResource& control = format(ResourceService::kControl);
  EXPECT_EQ(control.lineHeight, 0.0f);
  const float height = Resource::TextFormat::getLineHeight(control);
  EXPECT_GT(height, 0.0f);
  EXPECT_EQ(control.lineHeight, height);
  EXPECT_EQ(Resource::TextFormat::getLineHeight(control), height);
  // Log is at 19 pixels, Control at 12.
  EXPECT_GT(Resource::TextFormat::getLineHeight(format(ResourceService::kLog)), height);
}

TEST_F(TextFormatTest, TextWidthIsTheLayoutWidthRoundedUp) {
  writeStyle(TestSupport::kStyleFonts);
  startServices();
  TextFormatResource& control = format(ResourceService::kControl);
  EXPECT_EQ(Resource::FontResource::getTextWidth(control, ""), 0u);
  uint32_t previous = 0;
  for (const char* text : {"i", "iW", "iWm", "iWm 漢字"}) {
    SCOPED_TRACE(text);
    const uint32_t width = Resource::FontResource::getTextWidth(control, text);
    EXPECT_GT(width, previous);
    previous = width;
    const auto layout = Resource::TextLayout::create(*control.format.get(), text);
    const float exact = Resource::TextLayout::getMetrics(layout.get()).width;
    EXPECT_GE(static_cast<float>(width), exact);
    EXPECT_LT(static_cast<float>(width), exact + 1.0f);
  }
}

TEST_F(TextFormatTest, ALayoutOfALengthTakesThatManyBytes) {
  writeStyle(TestSupport::kStyleFonts);
  startServices();
  const Media::TextFormat& control = made(ResourceService::kControl);
  const auto width = [&](std::string_view text, std::size_t length) {
    const auto layout = Resource::TextLayout::create(control, text, length);
    return Resource::TextLayout::getMetrics(layout.get()).width;
  };
  EXPECT_FLOAT_EQ(width("abcdef", 3), width("abc", 0));
  EXPECT_FLOAT_EQ(width("abcdef", 0), width("abcdef", 6));
  EXPECT_FLOAT_EQ(width("abcdef", 100), width("abcdef", 0));
  EXPECT_LT(width("abcdef", 3), width("abcdef", 0));
}

TEST_F(TextFormatTest, TrimmingEndsTextThatDoesNotFitInAnEllipsis) {
  writeStyle(TestSupport::kStyleFonts);
  startServices();
  TextFormatResource& control = format(ResourceService::kControl);
  Media::TrimmingSign* sign = Resource::TextFormat::getTrimmingSign(control);
  ASSERT_NE(sign, nullptr);
  EXPECT_EQ(Resource::TextFormat::getTrimmingSign(control), sign) << "made once";

  struct Case {
    const char* text;
    int maxWidth;
    int expectedPangoWidth;  // in pixels
    bool ellipsized;
  };
  const Case cases[] = {
      {"a label that is much too long for its box", 40, 40, true},
      {"short", 1000, 1000, false},
      {"anything", -5, 0, true},
      {"", -5, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.maxWidth));
    auto layout = Resource::TextLayout::create(*control.format.get(), c.text);
    Resource::TextLayout::setTrimming(layout.get(), c.maxWidth, *sign);
    EXPECT_EQ(pango_layout_get_width(layout.get()), c.expectedPangoWidth * PANGO_SCALE);
    EXPECT_EQ(pango_layout_get_ellipsize(layout.get()), PANGO_ELLIPSIZE_END);
    EXPECT_EQ(pango_layout_is_ellipsized(layout.get()) != 0, c.ellipsized);
    if (c.maxWidth > 0) {
      EXPECT_LE(Resource::TextLayout::getMetrics(layout.get()).width,
                static_cast<float>(c.maxWidth));
    }
  }
}

TEST(TextFormatCreate, ASizeThatIsNotPositiveIsRefused) {
  for (float size : {0.0f, -3.0f, NAN, INFINITY}) {
    SCOPED_TRACE(size);
    try {
      Resource::TextFormat::create("DejaVu Sans", size);
      ADD_FAILURE() << "no error";
    } catch (const std::exception& failure) {
      EXPECT_NE(std::string(failure.what())
                    .find("Direct2DService::Get().writeFactory->CreateTextFormat"),
                std::string::npos)
          << failure.what();
    }
  }
  const auto format = Resource::TextFormat::create("DejaVu Sans", 11.0f);
  EXPECT_EQ(std::string(pango_font_description_get_family(format->description.get())),
            "DejaVu Sans");
  EXPECT_EQ(pango_font_description_get_size(format->description.get()), 11 * PANGO_SCALE);
  EXPECT_TRUE(pango_font_description_get_size_is_absolute(format->description.get()));
}

}  // namespace
