#include "gpu/image/color.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace Color = Media::Color;
using testing::ThrowsMessage;
using testing::StrEq;

constexpr float kTolerance = 1e-5f;
constexpr const char* kInvalidText = "RGB argument is invalid.";
constexpr const char* kInvalidDigit = "invalid stoi argument";

TEST(ColorTest, RgbBecomesHsv) {
  struct Case {
    const char* name;
    float red, green, blue;
    float hue, saturation, value;
  };
  const std::vector<Case> cases = {
      {"grey", 0.5f, 0.5f, 0.5f, 0.0f, 0.0f, 0.5f},
      {"black", 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
      {"red", 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f},
      {"green", 0.0f, 1.0f, 0.0f, 1.0f / 3.0f, 1.0f, 1.0f},
      {"blue", 0.0f, 0.0f, 1.0f, 2.0f / 3.0f, 1.0f, 1.0f},
      // Red first with more blue than green: a negative sector wraps to the end of the turn.
      {"magenta-red", 1.0f, 0.0f, 0.5f, 1.0f - 1.0f / 12.0f, 1.0f, 1.0f},
      {"pale yellow", 0.8f, 0.8f, 0.4f, 1.0f / 6.0f, 0.5f, 0.8f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Color::Hsv hsv = Color::rgbToHsv(c.red, c.green, c.blue);
    EXPECT_NEAR(hsv.hue, c.hue, kTolerance);
    EXPECT_NEAR(hsv.saturation, c.saturation, kTolerance);
    EXPECT_NEAR(hsv.value, c.value, kTolerance);
    EXPECT_GE(hsv.hue, 0.0f);
    EXPECT_LT(hsv.hue, 1.0f);
  }
}

TEST(ColorTest, HsvBecomesRgbWithTheHueTakenModuloOneTurn) {
  struct Case {
    const char* name;
    float hue, saturation, value;
    float red, green, blue;
  };
  const std::vector<Case> cases = {
      {"red", 0.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f},
      {"yellow-green", 0.25f, 1.0f, 1.0f, 0.5f, 1.0f, 0.0f},
      {"a turn and a quarter", 1.25f, 1.0f, 1.0f, 0.5f, 1.0f, 0.0f},
      {"violet", 0.75f, 1.0f, 1.0f, 0.5f, 0.0f, 1.0f},
      {"a quarter turn back", -0.25f, 1.0f, 1.0f, 0.5f, 0.0f, 1.0f},
      {"cyan", 0.5f, 1.0f, 1.0f, 0.0f, 1.0f, 1.0f},
      {"half saturated blue", 2.0f / 3.0f, 0.5f, 0.8f, 0.4f, 0.4f, 0.8f},
      {"last sector", 11.0f / 12.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.5f},
      {"grey", 0.3f, 0.0f, 0.5f, 0.5f, 0.5f, 0.5f},
      // Just below zero, the hue rounds up to a full turn: it must still be red.
      {"a hair below zero", -1e-9f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Color::Rgba rgba = Color::hsvToRgb(c.hue, c.saturation, c.value);
    EXPECT_NEAR(rgba.red, c.red, kTolerance);
    EXPECT_NEAR(rgba.green, c.green, kTolerance);
    EXPECT_NEAR(rgba.blue, c.blue, kTolerance);
    EXPECT_EQ(rgba.alpha, 1.0f);
  }
}

TEST(ColorTest, HsvAndBackGivesTheSameColour) {
  for (const auto& [red, green, blue] : std::vector<std::array<float, 3>>{
           {0.2f, 0.4f, 0.6f}, {0.9f, 0.1f, 0.3f}, {0.3f, 0.8f, 0.1f}, {0.6f, 0.2f, 0.9f}}) {
    SCOPED_TRACE(testing::Message() << red << ", " << green << ", " << blue);
    const Color::Hsv hsv = Color::rgbToHsv(red, green, blue);
    const Color::Rgba back = Color::hsvToRgb(hsv.hue, hsv.saturation, hsv.value);
    EXPECT_NEAR(back.red, red, kTolerance);
    EXPECT_NEAR(back.green, green, kTolerance);
    EXPECT_NEAR(back.blue, blue, kTolerance);
  }
}

TEST(ColorTest, ChannelsBecomeRoundedClampedBytes) {
  struct Case {
    float channel;
    int byte;
  };
  const std::vector<Case> cases = {
      {0.5f, 128}, {1.2f, 255}, {-0.1f, 0}, {0.0f, 0}, {1.0f, 255},
      {1.0f / 255.0f, 1}, {0.25f, 64}, {1e30f, 255}, {-1e30f, 0}, {NAN, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "channel " << c.channel);
    const Color::Rgb8 bytes = Color::toRgb8(c.channel, 0.0f, 1.0f);
    EXPECT_EQ(bytes.red, c.byte);
    EXPECT_EQ(bytes.green, 0);
    EXPECT_EQ(bytes.blue, 255);
  }
}

TEST(ColorTest, BytesPrintAsSixLowerCaseDigits) {
  EXPECT_EQ(Color::toHexString({255, 0, 16}), u"ff0010");
  EXPECT_EQ(Color::toHexString({0, 0, 0}), u"000000");
  EXPECT_EQ(Color::toHexString({0xAB, 0xCD, 0xEF}), u"abcdef");
}

TEST(ColorTest, RgbaTextIsReadInBothWidths) {
  struct Case {
    const char* text;
    Color::Rgba expected;
  };
  const std::vector<Case> cases = {
      {"  ff0000  ", {1.0f, 0.0f, 0.0f, 1.0f}},
      {"00ff0080", {0.0f, 1.0f, 0.0f, 128.0f / 255.0f}},
      {"FFfF00", {1.0f, 1.0f, 0.0f, 1.0f}},
      {"102030", {16.0f / 255.0f, 32.0f / 255.0f, 48.0f / 255.0f, 1.0f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string narrow = c.text;
    const std::u16string wide(narrow.begin(), narrow.end());
    for (const Color::Rgba& rgba : {Color::parseRgba(narrow), Color::parseRgbaW(wide)}) {
      EXPECT_NEAR(rgba.red, c.expected.red, kTolerance);
      EXPECT_NEAR(rgba.green, c.expected.green, kTolerance);
      EXPECT_NEAR(rgba.blue, c.expected.blue, kTolerance);
      EXPECT_NEAR(rgba.alpha, c.expected.alpha, kTolerance);
    }
  }
}

TEST(ColorTest, BadRgbaTextIsRefused) {
  struct Case {
    std::u16string text;
    const char* message;
  };
  const std::vector<Case> cases = {
      {u"", kInvalidText},
      {u"    ", kInvalidText},
      {u"ff000", kInvalidText},
      {u"ff00000", kInvalidText},
      {u"ff0000000", kInvalidText},
      // Only the space is trimmed.
      {u"\tff0000", kInvalidText},
      // Every character must be a digit: "fg" is not read as 15.
      {u"fg0000", kInvalidDigit},
      {u"gf0000", kInvalidDigit},
      {u"ff 000", kInvalidDigit},
      {u"-10000", kInvalidDigit},
      {u"+f0000", kInvalidDigit},
      {u"0x0000", kInvalidDigit},
      {u"ff00zz80", kInvalidDigit},
      // A wide character whose low byte is a digit is no digit.
      {std::u16string{char16_t(0x0166), u'f', u'0', u'0', u'0', u'0'}, kInvalidDigit},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    EXPECT_THAT([&] { Color::parseRgbaW(c.text); },
                ThrowsMessage<std::invalid_argument>(StrEq(c.message)));
    const bool ascii = std::all_of(c.text.begin(), c.text.end(), [](char16_t ch) { return ch < 0x80; });
    if (ascii) {
      const std::string narrow(c.text.begin(), c.text.end());
      EXPECT_THAT([&] { Color::parseRgba(narrow); },
                  ThrowsMessage<std::invalid_argument>(StrEq(c.message)));
    }
  }
}

class ColorRgbTest : public testing::Test {
 protected:
  // A colour that no case writes, to see whether the output was touched.
  Color::Rgb8 color_{1, 2, 3};

  void expectUntouched() {
    EXPECT_EQ(color_.red, 1);
    EXPECT_EQ(color_.green, 2);
    EXPECT_EQ(color_.blue, 3);
  }
};

TEST_F(ColorRgbTest, SixDigitsAreReadInBothWidths) {
  Color::parseRgb(" ff0010 ", color_);
  EXPECT_EQ(color_.red, 255);
  EXPECT_EQ(color_.green, 0);
  EXPECT_EQ(color_.blue, 16);
  Color::parseRgbW(u"0A0b0C", color_);
  EXPECT_EQ(color_.red, 10);
  EXPECT_EQ(color_.green, 11);
  EXPECT_EQ(color_.blue, 12);
}

TEST_F(ColorRgbTest, OtherLengthsLeaveTheColourAsItWas) {
  for (const char* text : {"ff000", "ff0000ff", "f", " ff00001 "}) {
    SCOPED_TRACE(text);
    const std::string narrow = text;
    Color::parseRgb(narrow, color_);
    expectUntouched();
    Color::parseRgbW(std::u16string(narrow.begin(), narrow.end()), color_);
    expectUntouched();
  }
}

TEST_F(ColorRgbTest, BlankTextAndBadDigitsAreRefusedWithoutTouchingTheColour) {
  EXPECT_THAT([&] { Color::parseRgbW(u"", color_); },
              ThrowsMessage<std::invalid_argument>(StrEq(kInvalidText)));
  EXPECT_THAT([&] { Color::parseRgb("   ", color_); },
              ThrowsMessage<std::invalid_argument>(StrEq(kInvalidText)));
  // The bad pair is the last one: the first two must not have been stored.
  EXPECT_THAT([&] { Color::parseRgb("ff00fg", color_); },
              ThrowsMessage<std::invalid_argument>(StrEq(kInvalidDigit)));
  EXPECT_THAT([&] { Color::parseRgbW(u"ff00gf", color_); },
              ThrowsMessage<std::invalid_argument>(StrEq(kInvalidDigit)));
  expectUntouched();
}

}  // namespace
