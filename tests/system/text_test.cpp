#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "system/comma_locale.h"
#include "system/text.h"

namespace {

TEST(Text, FormatNumberDropsTrailingZeros) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0.5, "0.5"},     {10, "10"},          {100, "100"},
      {-3.25, "-3.25"}, {1e-7, "0"},         {-1e-7, "-0"},
      {0, "0"},         {0.1234567, "0.123457"},
      {1e20, "100000000000000000000"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
  };
  for (const auto& c : cases) EXPECT_EQ(System::formatNumber(c.value), c.text) << c.value;
  // The largest value has all its 309 digits and no point.
  const std::string largest = System::formatNumber(-std::numeric_limits<double>::max());
  EXPECT_EQ(largest.size(), 310u);
  EXPECT_EQ(largest.rfind("-17976931348623157", 0), 0u);
}

TEST(Text, NumbersAreWrittenWithAPointWhateverTheProcessLocale) {
  const TestSupport::CommaLocale comma;
  ASSERT_TRUE(comma.active());
  EXPECT_EQ(System::formatNumber(1.5), "1.5");
  EXPECT_EQ(System::formatNumber(-1234567.25), "-1234567.25");
  EXPECT_EQ(System::formatFixed(0.5), "0.500000");
  EXPECT_EQ(System::formatFixed(-0.0000004), "-0.000000");
}

TEST(Text, FormatTimeAndSeconds) {
  struct Case {
    double seconds;
    const char* time;
    const char* whole;
  };
  const Case cases[] = {
      {-75.5, "-00:01:15.50", "-00:01:15"},
      {3725.9, "01:02:05.90", "01:02:05"},
      {0, "00:00:00.00", "00:00:00"},
      // Hundredths are those of the value rounded to two decimals; whole seconds are cut.
      {1.15, "00:00:01.15", "00:00:01"},
      {0.29, "00:00:00.29", "00:00:00"},
      {4.35, "00:00:04.35", "00:00:04"},
      {-1.15, "-00:00:01.15", "-00:00:01"},
      {0.999, "00:00:01.00", "00:00:00"},
      {0.994, "00:00:00.99", "00:00:00"},
      {59.999, "00:01:00.00", "00:00:59"},
      {86399.996, "24:00:00.00", "23:59:59"},
      {-0.001, "-00:00:00.00", "-00:00:00"},
      {360000.25, "100:00:00.25", "100:00:00"},  // hours are not limited
      {std::numeric_limits<double>::quiet_NaN(), "00:00:00.00", "00:00:00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(System::formatTime(c.seconds), c.time) << c.seconds;
    EXPECT_EQ(System::formatTimeSeconds(c.seconds), c.whole) << c.seconds;
  }
  // Even absurd values stay within 31 characters.
  EXPECT_LE(System::formatTime(1e300).size(), 31u);
  EXPECT_LE(System::formatTime(-std::numeric_limits<double>::infinity()).size(), 31u);
}

TEST(Text, ReplaceAllGoesOnAfterTheReplacement) {
  struct Case {
    const char* text;
    const char* search;
    const char* replacement;
    const char* result;
  };
  const Case cases[] = {
      {"aaa", "a", "aa", "aaaaaa"},
      {"%Log%/%Log%", "%Log%", "/d/Log", "/d/Log//d/Log"},
      {"abcabc", "bc", "", "aa"},
      {"abc", "x", "y", "abc"},
      {"", "a", "b", ""},
      {"abc", "", "y", "abc"},  // an empty search finds nothing
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    System::replaceAll(text, c.search, c.replacement);
    EXPECT_EQ(text, c.result) << c.text << " / " << c.search;
  }
}

TEST(Text, ExpandPlaceholders) {
  int calls = 0;
  const auto lookup = [&](const std::string& name) {
    ++calls;
    return name == "a" ? std::string("X") : "<" + name + ">";
  };
  EXPECT_EQ(System::expandPlaceholders("{a}-{a}", lookup), "X-X");
  EXPECT_EQ(calls, 2);
  struct Case {
    const char* text;
    const char* result;
  };
  const Case cases[] = {
      {"{a}{long name}", "X<long name>"},
      {"no placeholder", "no placeholder"},
      {"{a", "{a"},             // no closing brace
      {"{}", "{}"},             // empty braces are no placeholder
      {"{a\nb}", "{a\nb}"},     // a line break ends the search for a name
      {"x{b}y{a}z", "x<b>yXz"},
  };
  for (const auto& c : cases) EXPECT_EQ(System::expandPlaceholders(c.text, lookup), c.result);
}

TEST(Text, TrimSpacesRemovesOnlySpaces) {
  struct Case {
    const char* text;
    const char* result;
  };
  const Case cases[] = {
      {"   ", ""}, {"", ""}, {"\tx ", "\tx"}, {"  a b  ", "a b"}, {"a", "a"}, {" \n ", "\n"},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    System::trimSpaces(text);
    EXPECT_EQ(text, c.result) << '"' << c.text << '"';
  }
}

TEST(Text, SplitKeepsEmptyPieces) {
  using Pieces = std::vector<std::string>;
  EXPECT_EQ(System::splitByComma("a,,b"), (Pieces{"a", "", "b"}));
  EXPECT_EQ(System::splitByComma("a,"), (Pieces{"a", ""}));
  EXPECT_EQ(System::splitByComma(""), (Pieces{""}));
  EXPECT_EQ(System::splitByComma(","), (Pieces{"", ""}));
  EXPECT_EQ(System::splitByChar("1;2,3;", ';'), (Pieces{"1", "2,3", ""}));
}

TEST(Text, JoinPutsTheSeparatorBeforeEveryItem) {
  EXPECT_EQ(System::join({"a", "b"}, "x", ';'), "x;a;b");
  EXPECT_EQ(System::join({"a", "b"}, "", ';'), ";a;b");
  EXPECT_EQ(System::join({}, "x", ';'), "x");
  EXPECT_EQ(System::join({""}, "x", ','), "x,");
}

TEST(Text, CompareStringNaturalOrder) {
  struct Case {
    const char* left;
    const char* right;
    int result;
  };
  const Case cases[] = {
      {"File10", "file9", 1},
      {"item2", "item10", -1},
      {"abc", "ABC", 0},
      {"a-b c", "abc", 0},          // symbols and spaces are ignored
      {"Ａｂｃ", "abc", 0},         // width is ignored
      {"ｆｉｌｅ１０", "file9", 1},  // full-width digits count as one number
      {"カナ", "かな", 0},           // kana type is ignored
      {"Äpfel", "äpfel", 0},
      {"Жук", "жук", 0},
      {"a", "ab", -1},
      {"", "", 0},
      {"", "a", -1},
      {"a01", "a1", 0},
      {"a2b", "a10a", -1},
      {"b", "a", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(System::compareString(c.left, c.right), c.result) << c.left << " / " << c.right;
    EXPECT_EQ(System::compareString(c.right, c.left), -c.result) << c.right << " / " << c.left;
  }
}

TEST(Text, PredicateSearches) {
  int a = 1, b = 2, c = 3;
  const std::vector<int*> pointers = {&a, &b, &c};
  EXPECT_EQ(System::findIf(pointers, [](int* v) { return *v > 1; }), &b);
  EXPECT_EQ(System::findIf(pointers, [](int* v) { return *v > 5; }), nullptr);

  std::vector<std::shared_ptr<int>> shared = {std::make_shared<int>(1), std::make_shared<int>(2),
                                              std::make_shared<int>(3), std::make_shared<int>(4)};
  EXPECT_EQ(System::findIndex(shared, [](const auto& v) { return *v == 3; }), 2);
  EXPECT_EQ(System::findIndex(shared, [](const auto& v) { return *v == 9; }), -1);
  const std::weak_ptr<int> removed = shared[1];
  System::eraseIf(shared, [](const auto& v) { return *v % 2 == 0; });
  ASSERT_EQ(shared.size(), 2u);
  EXPECT_EQ(*shared[0], 1);
  EXPECT_EQ(*shared[1], 3);
  EXPECT_TRUE(removed.expired());
}

TEST(AlignedBuffer, GrowsAlignedAndNeverShrinks) {
  System::AlignedBuffer buffer;
  EXPECT_EQ(buffer.data(), nullptr);
  buffer.allocMemory(100);
  ASSERT_NE(buffer.data(), nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(buffer.data()) % 32, 0u);
  EXPECT_EQ(buffer.capacity(), 100u);
  EXPECT_EQ(buffer.size(), 100u);
  std::fill(buffer.data(), buffer.data() + buffer.size(), uint8_t{7});  // all of it is usable

  const uint8_t* block = buffer.data();
  buffer.allocMemory(50);
  EXPECT_EQ(buffer.data(), block);
  EXPECT_EQ(buffer.capacity(), 100u);
  EXPECT_EQ(buffer.size(), 50u);

  buffer.allocMemory(1000);
  EXPECT_EQ(buffer.capacity(), 1000u);
  EXPECT_EQ(buffer.size(), 1000u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(buffer.data()) % 32, 0u);
  std::fill(buffer.data(), buffer.data() + buffer.size(), uint8_t{9});

  buffer.freeMemory();
  EXPECT_EQ(buffer.data(), nullptr);
  EXPECT_EQ(buffer.capacity(), 0u);
  EXPECT_EQ(buffer.size(), 0u);
}

TEST(AlignedBuffer, ImpossibleSizeThrowsOutOfMemoryAndHoldsNothing) {
  System::AlignedBuffer buffer;
  buffer.allocMemory(64);
  try {
    buffer.allocMemory(std::numeric_limits<uint64_t>::max());
    FAIL() << "no exception";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(),
                 "Not enough memory resources are available to complete this operation.\n\n"
                 "[Place]\nSystem::AlignedBuffer::allocMemory()");
  }
  EXPECT_EQ(buffer.data(), nullptr);
  EXPECT_EQ(buffer.capacity(), 0u);
}

TEST(Utf, ConversionsRoundTrip) {
  const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // a, é, €, U+1F600
  const std::u16string utf16 = u"a\u00E9\u20AC\U0001F600";
  EXPECT_EQ(System::utf8ToUtf16(utf8), utf16);
  EXPECT_EQ(System::utf16ToUtf8(utf16), utf8);
  EXPECT_EQ(System::utf8ToUtf16(""), u"");
  EXPECT_EQ(System::utf16ToUtf8(u""), "");
  EXPECT_TRUE(System::isValidUtf8(utf8));
  EXPECT_EQ(System::sanitizeUtf8(utf8), utf8);
}

TEST(Utf, InvalidSequencesBecomeReplacementCharacters) {
  struct Case {
    std::string utf8;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"\xFF", u"\uFFFD"},
      {"a\xE2\x82", u"a\uFFFD\uFFFD"},          // cut off at the end
      {"\xC0\xAF", u"\uFFFD\uFFFD"},            // overlong "/"
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"\xE2(\xA1", u"\uFFFD(\uFFFD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(System::utf8ToUtf16(c.utf8), c.utf16);
    EXPECT_FALSE(System::isValidUtf8(c.utf8));
    EXPECT_EQ(System::sanitizeUtf8(c.utf8), System::utf16ToUtf8(c.utf16));
    EXPECT_TRUE(System::isValidUtf8(System::sanitizeUtf8(c.utf8)));
  }
  // A real U+FFFD is valid text.
  EXPECT_TRUE(System::isValidUtf8("\xEF\xBF\xBD"));
}

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::u16string lone = {0xD800, u'x', 0xDC00, 0xD83D};
  EXPECT_EQ(System::utf16ToUtf8(lone), "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
