// Inline text tags: which texts are tags and what they carry, the numbers they read, and
// the size, position and wait arithmetic the layout applies.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "gpu/text/text_tag.h"

namespace {

using Media::TextTag::Kind;

std::string ascii(std::u16string_view text) { return std::string(text.begin(), text.end()); }

// The groups of a tag written as "a|b|-|d" ("-" for a group that took no part).
std::string describe(const Media::TextTag::Tag& tag, int groupCount) {
  std::string text;
  for (int i = 0; i < groupCount; ++i) {
    if (i) text += "|";
    text += tag.groups[i] ? ascii(*tag.groups[i]) : "-";
  }
  return text;
}

TEST(TextTagTest, TagsAndTheirGroups) {
  struct Case {
    std::u16string text;  // after the '<'
    Kind kind;
    std::size_t length;
    int groupCount;
    std::string groups;
  };
  const Case cases[] = {
      {u"#ff0000>rest", Kind::Color, 8, 2, "ff0000|-"},
      {u"#>", Kind::Color, 2, 2, "|-"},
      {u"#,0000ff>", Kind::Color, 9, 2, "|0000ff"},
      {u"#red,blue>", Kind::Color, 10, 2, "red|blue"},
      {u"@Noto Sans>", Kind::Font, 11, 1, "Noto Sans"},
      {u"@>", Kind::Font, 2, 1, ""},
      {u"s>", Kind::Size, 2, 4, "-|-|-|-"},
      {u"s*2>", Kind::Size, 4, 4, "*2|-|-|-"},
      {u"s+10,,B>", Kind::Size, 8, 4, "+10||B|-"},
      // A lone field after the size is the family, whatever it looks like.
      {u"s10,B>", Kind::Size, 6, 4, "10|B|-|-"},
      {u"s10,Arial,BI,3>", Kind::Size, 15, 4, "10|Arial|BI|3"},
      {u"s10,Arial,3>", Kind::Size, 12, 4, "10|Arial|-|3"},
      {u"s,,,5>", Kind::Size, 6, 4, "-|||5"},
      {u"p10,20>", Kind::Position, 7, 3, "10|20|-"},
      {u"p-5,+3,7>", Kind::Position, 9, 3, "-5|+3|7"},
      {u"r>", Kind::Speed, 2, 1, "-"},
      {u"r2.5>", Kind::Speed, 5, 1, "2.5"},
      {u"w1>X", Kind::Wait, 3, 1, "1"},
      {u"w*0.5>", Kind::Wait, 6, 1, "*0.5"},
      {u"c>", Kind::Clear, 2, 1, "-"},
      {u"c*2>", Kind::Clear, 4, 1, "*2"},
  };
  for (const auto& c : cases) {
    const auto tag = Media::TextTag::match(c.text);
    ASSERT_TRUE(tag.has_value()) << ascii(c.text);
    EXPECT_EQ(tag->kind, c.kind) << ascii(c.text);
    EXPECT_EQ(tag->length, c.length) << ascii(c.text);
    EXPECT_EQ(describe(*tag, c.groupCount), c.groups) << ascii(c.text);
  }
}

TEST(TextTagTest, TextsThatAreNotTags) {
  for (const std::u16string text :
       {u"", u">", u"x>", u"S10>", u"#ff0000", u"#a,b,c>", u"s10", u"sx>", u"s*>", u"s10,a,b,c,d>",
        u"s10,Arial,BX,3>", u"p10>", u"p,5>", u"p10,20,30,40>", u"px,1>", u"r-1>", u"w>", u"w*>",
        u"c-1>", u"@no end"}) {
    EXPECT_FALSE(Media::TextTag::match(text).has_value()) << ascii(text);
  }
}

// A megabyte of text without an end is scanned once and refused.
TEST(TextTagTest, AnEndlessTagIsNotATag) {
  const std::u16string endless = u"#" + std::u16string(1 << 20, u'a');
  EXPECT_FALSE(Media::TextTag::match(endless).has_value());
  const std::u16string fields = u"s1" + std::u16string(1 << 20, u',');
  EXPECT_FALSE(Media::TextTag::match(fields).has_value());
}

TEST(TextTagTest, NumbersReadTheirLongestPrefix) {
  EXPECT_FLOAT_EQ(Media::TextTag::toFloat(u"1.5.2"), 1.5f);
  EXPECT_FLOAT_EQ(Media::TextTag::toFloat(u"+3"), 3.0f);
  EXPECT_FLOAT_EQ(Media::TextTag::toFloat(u"-.5"), -0.5f);
  EXPECT_DOUBLE_EQ(Media::TextTag::toDouble(u"2."), 2.0);
  EXPECT_THROW(Media::TextTag::toFloat(u"."), std::invalid_argument);
  EXPECT_THROW(Media::TextTag::toFloat(u".."), std::invalid_argument);
  EXPECT_THROW(Media::TextTag::toFloat(u""), std::invalid_argument);
  EXPECT_THROW(Media::TextTag::toFloat(std::u16string(60, u'9')), std::out_of_range);
}

TEST(TextTagTest, SizesAreRelativeOrAbsoluteAndClamped) {
  using Media::TextTag::resolveSize;
  EXPECT_FLOAT_EQ(resolveSize(std::nullopt, 40.0f, 30.0f), 30.0f);
  EXPECT_FLOAT_EQ(resolveSize(u"0", 40.0f, 30.0f), 1.0f);
  EXPECT_FLOAT_EQ(resolveSize(u"5000", 40.0f, 30.0f), 1000.0f);
  EXPECT_FLOAT_EQ(resolveSize(u"+10", 40.0f, 30.0f), 50.0f);
  EXPECT_FLOAT_EQ(resolveSize(u"-45", 40.0f, 30.0f), 1.0f);
  // Halved twice: each tag works on the size the one before it left.
  const float once = resolveSize(u"*0.5", 40.0f, 30.0f);
  EXPECT_FLOAT_EQ(resolveSize(u"*0.5", once, 30.0f), 10.0f);
  EXPECT_FLOAT_EQ(resolveSize(u"*1e30", 40.0f, 30.0f), 40.0f) << "reads *1 and stops at e";
}

TEST(TextTagTest, PositionsMoveOrPlaceThePen) {
  EXPECT_FLOAT_EQ(Media::TextTag::resolvePosition(u"-5", 20.0f), 15.0f);
  EXPECT_FLOAT_EQ(Media::TextTag::resolvePosition(u"+5", 20.0f), 25.0f);
  EXPECT_FLOAT_EQ(Media::TextTag::resolvePosition(u"5", 20.0f), 5.0f);
}

// With a speed of 10 characters a second, "AB<w1>X" shows X at 1.2 and "AB<w*1>X" at 2.2.
TEST(TextTagTest, WaitsAddTimeOrTimePerCharacter) {
  double time = 0.2;
  int count = 2;
  Media::TextTag::applyWait(u"1", time, count);
  EXPECT_DOUBLE_EQ(time, 1.2);
  EXPECT_EQ(count, 2);
  time = 0.2;
  Media::TextTag::applyWait(u"*1", time, count);
  EXPECT_DOUBLE_EQ(time, 2.2);
  EXPECT_EQ(count, 0);
}

}  // namespace
