#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "effect/text_conversion.h"

namespace {

using Effect::readDouble;
using Effect::readInteger;
using Effect::roundToInt;

enum class Outcome { Value, Invalid, OutOfRange };

struct IntegerCase {
  const char* text;
  Outcome outcome;
  int32_t value;
};

TEST(TextConversion, IntegersReadLikeTheStandardConversion) {
  const IntegerCase cases[] = {
      {"42", Outcome::Value, 42},
      {"  -7", Outcome::Value, -7},
      {"+3", Outcome::Value, 3},
      {"\t12px", Outcome::Value, 12},
      {"1.9", Outcome::Value, 1},
      {"2147483647", Outcome::Value, INT32_MAX},
      {"-2147483648", Outcome::Value, INT32_MIN},
      {"0000000000000000000000000001", Outcome::Value, 1},
      {"2147483648", Outcome::OutOfRange, 0},
      {"-2147483649", Outcome::OutOfRange, 0},
      {"99999999999999999999999999999", Outcome::OutOfRange, 0},
      {"", Outcome::Invalid, 0},
      {"   ", Outcome::Invalid, 0},
      {"-", Outcome::Invalid, 0},
      {"+-1", Outcome::Invalid, 0},
      {"abc", Outcome::Invalid, 0},
      {"\xEF\xBC\x91", Outcome::Invalid, 0},  // a full-width digit is no digit
  };
  for (const IntegerCase& c : cases) {
    SCOPED_TRACE(c.text);
    switch (c.outcome) {
      case Outcome::Value:
        EXPECT_EQ(readInteger(c.text), c.value);
        break;
      case Outcome::Invalid:
        try {
          (void)readInteger(c.text);
          ADD_FAILURE() << "no exception";
        } catch (const std::invalid_argument& e) {
          EXPECT_STREQ(e.what(), "invalid stoi argument");
        }
        break;
      case Outcome::OutOfRange:
        try {
          (void)readInteger(c.text);
          ADD_FAILURE() << "no exception";
        } catch (const std::out_of_range& e) {
          EXPECT_STREQ(e.what(), "stoi argument out of range");
        }
        break;
    }
  }
}

struct DoubleCase {
  const char* text;
  Outcome outcome;
  double value;
};

TEST(TextConversion, DoublesAreFiniteDecimalNumbers) {
  const DoubleCase cases[] = {
      {"1.5", Outcome::Value, 1.5},
      {" -2.125", Outcome::Value, -2.125},
      {"+.5", Outcome::Value, 0.5},
      {"-.25x", Outcome::Value, -0.25},
      {"3.", Outcome::Value, 3.0},
      {"1e3,", Outcome::Value, 1000.0},
      {"12,5", Outcome::Value, 12.0},
      {"1e400", Outcome::OutOfRange, 0},
      {"nan", Outcome::Invalid, 0},
      {"-inf", Outcome::Invalid, 0},
      {"infinity", Outcome::Invalid, 0},
      {".", Outcome::Invalid, 0},
      {"-", Outcome::Invalid, 0},
      {"", Outcome::Invalid, 0},
      {"e5", Outcome::Invalid, 0},
  };
  for (const DoubleCase& c : cases) {
    SCOPED_TRACE(c.text);
    switch (c.outcome) {
      case Outcome::Value:
        EXPECT_DOUBLE_EQ(readDouble(c.text), c.value);
        break;
      case Outcome::Invalid:
        try {
          (void)readDouble(c.text);
          ADD_FAILURE() << "no exception";
        } catch (const std::invalid_argument& e) {
          EXPECT_STREQ(e.what(), "invalid stod argument");
        }
        break;
      case Outcome::OutOfRange:
        try {
          (void)readDouble(c.text);
          ADD_FAILURE() << "no exception";
        } catch (const std::out_of_range& e) {
          EXPECT_STREQ(e.what(), "stod argument out of range");
        }
        break;
    }
  }
}

TEST(TextConversion, RoundingTakesHalvesAwayFromZeroAndRefusesWhatDoesNotFit) {
  EXPECT_EQ(roundToInt(212.5), 213);
  EXPECT_EQ(roundToInt(-212.5), -213);
  EXPECT_EQ(roundToInt(0.4), 0);
  EXPECT_EQ(roundToInt(-0.5), -1);
  EXPECT_EQ(roundToInt(2147483647.4), INT32_MAX);
  EXPECT_EQ(roundToInt(3e9), 0);
  EXPECT_EQ(roundToInt(-3e9), 0);
  EXPECT_EQ(roundToInt(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(roundToInt(std::numeric_limits<double>::infinity()), 0);
}

}  // namespace
