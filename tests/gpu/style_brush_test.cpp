// Brushes in style.conf colours: solid colours, the footer's progress colours picked by
// index, gradients over a key's list of colours, fades to a given alpha, and the settings
// error of a colour that cannot be read.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "gpu/resource/style_brush.h"
#include "gpu/style_services_support.h"

namespace {

using Colour = std::array<float, 4>;

Colour rgba(const Media::ColorF& colour) { return {colour.r, colour.g, colour.b, colour.a}; }

::testing::AssertionResult sameColour(const Media::ColorF& actual, const Colour& expected) {
  const Colour got = rgba(actual);
  for (int c = 0; c < 4; ++c)
    if (std::abs(got[c] - expected[c]) > 1e-6f)
      return ::testing::AssertionFailure() << "got (" << got[0] << ", " << got[1] << ", "
                                           << got[2] << ", " << got[3] << ")";
  return ::testing::AssertionSuccess();
}

constexpr Colour kRed{1.0f, 0.0f, 0.0f, 1.0f};
constexpr Colour kGreen{0.0f, 1.0f, 0.0f, 1.0f};
constexpr Colour kBlue{0.0f, 0.0f, 1.0f, 1.0f};

class StyleBrushTest : public TestSupport::StyleServicesTest {
 protected:
  void start(const std::string& colours) {
    writeStyle("Control=12\n", colours);
    startSettings();
  }
};

TEST_F(StyleBrushTest, FooterProgressPicksItsEntryAndStaysOnTheLast) {
  struct Case {
    const char* value;
    std::size_t index;
    Colour expected;
  };
  const Case cases[] = {
      {"FF0000,00FF00,0000FF", 0, kRed},
      {"FF0000,00FF00,0000FF", 1, kGreen},
      {"FF0000,00FF00,0000FF", 2, kBlue},
      {"FF0000,00FF00,0000FF", 5, kBlue},
      {"00FF00", 1, kGreen},
      {"FF000080, 0000FF", 1, kBlue},
      {"FF000080, 0000FF", 0, {1.0f, 0.0f, 0.0f, 128.0f / 255.0f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.value) + " at " + std::to_string(c.index));
    start(std::string("FooterProgress=") + c.value + "\n");
    const auto brush = Resource::ColorBrush::createFooterProgress(c.index);
    ASSERT_NE(brush, nullptr);
    EXPECT_TRUE(sameColour(brush->color(), c.expected));
    stopServices();
  }
}

TEST_F(StyleBrushTest, GradientsRunFromTheFirstToTheLastListedColour) {
  struct Case {
    const char* value;
    Colour start;
    Colour end;
  };
  const Case cases[] = {
      {"FF0000", kRed, kRed},
      {"FF0000,0000FF", kRed, kBlue},
      {"FF0000,00FF00,0000FF", kRed, kBlue},
      {"00FF0040", {0.0f, 1.0f, 0.0f, 64.0f / 255.0f}, {0.0f, 1.0f, 0.0f, 64.0f / 255.0f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    start(std::string("Shade=") + c.value + "\n");
    const auto brush = Resource::GradientBrush::create("Shade");
    ASSERT_EQ(brush->stops().size(), 2u);
    EXPECT_EQ(brush->stops()[0].position, 0.0f);
    EXPECT_EQ(brush->stops()[1].position, 1.0f);
    EXPECT_TRUE(sameColour(brush->stops()[0].color, c.start));
    EXPECT_TRUE(sameColour(brush->stops()[1].color, c.end));
    // The user sets the points before each fill.
    EXPECT_EQ(brush->startPoint().x, 0.0f);
    EXPECT_EQ(brush->endPoint().y, 0.0f);
    stopServices();
  }
}

// A fade starts from the last colour at the given alpha and ends in that colour as listed.
TEST_F(StyleBrushTest, AFadeReplacesTheAlphaOfItsStartOnly) {
  struct Case {
    const char* value;
    float alpha;
    Colour start;
    Colour end;
  };
  const Case cases[] = {
      {"FF0000", 0.0f, {1.0f, 0.0f, 0.0f, 0.0f}, kRed},
      {"FF0000,0000FF80", 0.0f, {0.0f, 0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f, 128.0f / 255.0f}},
      {"00FF00", 0.25f, {0.0f, 1.0f, 0.0f, 0.25f}, kGreen},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    start(std::string("Fade=") + c.value + "\n");
    const auto brush = Resource::GradientBrush::createAt("Fade", c.alpha);
    ASSERT_EQ(brush->stops().size(), 2u);
    EXPECT_TRUE(sameColour(brush->stops()[0].color, c.start));
    EXPECT_TRUE(sameColour(brush->stops()[1].color, c.end));
    stopServices();
  }
}

TEST_F(StyleBrushTest, AColourThatCannotBeReadThrowsTheSettingsError) {
  start("Border=GG0000\nShort=FFF\nList=FF0000,nope\nEmpty=\n");
  const std::string error = "ini file parameter invalid format(RGB) or undefined.";
  const auto expectError = [&](const auto& make) {
    try {
      make();
      ADD_FAILURE() << "no error";
    } catch (const std::exception& failure) {
      EXPECT_NE(std::string(failure.what()).find(error), std::string::npos) << failure.what();
    }
  };
  for (const char* key : {"Border", "Short", "List", "Empty", "Missing"}) {
    SCOPED_TRACE(key);
    expectError([&] { Resource::ColorBrush::create(key); });
    expectError([&] { Resource::GradientBrush::create(key); });
    expectError([&] { Resource::GradientBrush::createAt(key, 0.0f); });
  }
  // FooterProgress is not set at all.
  expectError([] { Resource::ColorBrush::createFooterProgress(0); });
}

TEST(StyleBrushWithoutSettings, AStyleColourNeedsTheSettingsService) {
  EXPECT_THROW(Resource::ColorBrush::create("Border"), std::exception);
  // A colour given directly needs nothing.
  const auto brush = Resource::ColorBrush::create(Media::ColorF{0.1f, 0.2f, 0.3f, 0.4f});
  EXPECT_TRUE(sameColour(brush->color(), {0.1f, 0.2f, 0.3f, 0.4f}));
}

}  // namespace
