// The number and colour functions scripts call: bit operations, colours and their
// gradients over the object's time, random numbers of the object and the frame, the spline
// through four points and the rotation of four points, on both engines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "lua_test_support.h"

namespace {

using TestSupport::ScriptFixture;
using TestSupport::whatOf;
using ::testing::HasSubstr;

struct Case {
  const char* expression;  // Lua expressions whose values the script writes, space-separated
  const char* expected;
};

class NumberFunctionsTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { engine = TestSupport::makeEngine(GetParam()); }
  // The values of the expressions, printed with %.10g and separated by spaces.
  std::string values(const std::string& expressions) {
    return fixture.run(*engine, "local v = {" + expressions +
                                    "}\n"
                                    "for i = 1, #v do mes((i > 1 and ' ' or '') .. "
                                    "string.format('%.10g', v[i])) end");
  }
  void expectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.expression);
      EXPECT_EQ(values(c.expression), c.expected);
    }
  }

  std::unique_ptr<Plugin::LuaBase> engine;
  ScriptFixture fixture;
};

INSTANTIATE_TEST_SUITE_P(Engines, NumberFunctionsTest, ::testing::Values("lua", "luaJIT"));

TEST_P(NumberFunctionsTest, BitOperationsWorkOn32BitIntegers) {
  expectAll({
      {"OR(-1, 0)", "4294967295"},
      {"OR(0x100000001, 2)", "3"},  // only the low 32 bits count
      {"AND(0x1ff, 0xff)", "255"},
      {"XOR(5, 1)", "4"},
      {"XOR(-1, 1)", "4294967294"},
      {"SHIFT(1, 31)", "-2147483648"},
      {"SHIFT(1, 32)", "1"},
      {"SHIFT(3, 33)", "6"},
      {"SHIFT(-8, -1)", "-4"},
      {"SHIFT(256, -4)", "16"},
      {"SHIFT(-1, -70)", "-1"},
  });
}

TEST_P(NumberFunctionsTest, ColoursAreSplitPackedAndConverted) {
  expectAll({
      {"RGB(0x123456)", "18 52 86"},
      {"RGB(300, -5, 16)", "16711696"},  // 0xff0010: clamped before packing
      {"RGB(1, 2, 3, 4)", "66051"},      // up to five arguments: the plain form
      {"HSV(0xff0000)", "0 100 100"},
      {"HSV(0x000000)", "0 0 0"},
      {"HSV(120, 100, 100)", "65280"},
      {"HSV(480, 100, 100)", "65280"},  // the hue wraps
      {"HSV(0, 0, 50)", "8421504"},     // grey 0x808080
  });
}

TEST_P(NumberFunctionsTest, GradientFormsFollowTheObjectsTime) {
  fixture.context.objectFrames = {100, 109, {}};
  const struct {
    double time;
    const char* expected;
  } cases[] = {
      // RGB from (10, 20, 30) to (200, 100, 0); RGB from black to white; HSV from red to blue.
      {100.0, "660510 0 16711680"},
      {105.0, "6896655 8421504 65280"},  // halfway: 127.5 rounds up; the hue passes green
      {110.0, "13132800 16777215 255"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.time);
    fixture.context.time = c.time;
    EXPECT_EQ(values("RGB(10, 20, 30, 200, 100, 0), RGB(0, 0, 0, 255, 255, 255),"
                     "HSV(0, 100, 100, 240, 100, 100)"),
              c.expected);
  }
}

TEST_P(NumberFunctionsTest, RandomNumbersAreFixedByTheirKeys) {
  fixture.context.frame = 7;
  expectAll({
      {"rand(0, 99, -1, 0), rand(0, 99, -1, 1)", "65 76"},
      {"rand(5, 5), rand(5, 5, 3, 9)", "5 5"},
  });
  // The order of the bounds does not matter, and every number lies in the range.
  EXPECT_EQ(fixture.run(*engine, R"(
for f = 0, 200 do
  local a, b = rand(10, 1, 4, f), rand(1, 10, 4, f)
  if a ~= b or a < 1 or a > 10 then mes('bad ' .. f) end
  local w = rand(-2147483648, 2147483647, 4, f)
  if w < -2147483648 or w > 2147483647 then mes('wide ' .. f) end
end)"),
            "");
  // The default frame is the context's.
  EXPECT_EQ(values("rand(0, 1000000, -3)"), values("rand(0, 1000000, -3, 7)"));
}

TEST_P(NumberFunctionsTest, APositiveSeedDependsOnTheLayerAndObjectANegativeOneDoesNot) {
  const auto draw = [&](int layer, int part) {
    fixture.context.layerIndex = layer;
    fixture.context.partIndex = part;
    return values("rand(0, 1000000000, 5, 3), rand(0, 1000000000, -5, 3), rand(0, 1000000000)");
  };
  const std::string base = draw(0, 0);
  const std::string otherLayer = draw(1, 0);
  const std::string otherPart = draw(0, 1);
  const auto field = [](const std::string& text, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) start = text.find(' ', start) + 1;
    return text.substr(start, text.find(' ', start) - start);
  };
  for (int index : {0, 2}) {
    EXPECT_NE(field(base, index), field(otherLayer, index));
    EXPECT_NE(field(base, index), field(otherPart, index));
  }
  EXPECT_EQ(field(base, 1), field(otherLayer, 1));
  EXPECT_EQ(field(base, 1), field(otherPart, 1));
}

TEST_P(NumberFunctionsTest, AMovementsNumbersDependOnTheLayerOnly) {
  TestSupport::MovementFixture movement;
  const auto draw = [&](int layer, int part) {
    fixture.context.layerIndex = layer;
    fixture.context.partIndex = part;
    auto run = movement.instance(*engine, fixture.context);
    return run->executeMovement("return rand(0, 1000000000)");
  };
  EXPECT_EQ(draw(0, 0), draw(0, 1));
  EXPECT_NE(draw(0, 0), draw(1, 0));
}

TEST_P(NumberFunctionsTest, InterpolationRunsThroughTheInnerPoints) {
  expectAll({
      {"obj.interpolation(0, 0, 10, 20, 30)", "10"},
      {"obj.interpolation(1, 0, 10, 20, 30)", "20"},
      // Control values 15 and 15: above the straight line's 12.5.
      {"obj.interpolation(0.25, 0, 10, 20, 30)", "12.96875"},
      {"obj.interpolation(0.5, 0, 0, 10, 10, 20, 20, 30, 30)", "15 15"},
      {"obj.interpolation(0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9)", "1 2 3"},
      {"obj.interpolation(0.5, 0, 10, 10, 30)", "10"},  // equal inner points
  });
}

TEST_P(NumberFunctionsTest, RotationTurnsAndScalesFourPoints) {
  expectAll({
      {"select('#', rotation(1, 0, 0, 1, -1, 0, 0, -1, 1))", "0"},
      {"rotation(1, 2, 3, 4, 5, 6, 7, 8, 2, 0)", "2 4 6 8 10 12 14 16"},
  });
  EXPECT_EQ(fixture.run(*engine, R"(
local p = {rotation(1, 0, 0, 1, -1, 0, 0, -1, 1, 90)}
local want = {0, 1, -1, 0, 0, -1, 1, 0}
for i = 1, 8 do if math.abs(p[i] - want[i]) > 1e-6 then mes(i .. ':' .. p[i] .. ' ') end end)"),
            "");
}

TEST_P(NumberFunctionsTest, WrongArgumentsAreTheLibrarysArgumentErrors) {
  for (const char* script : {"OR('x', 1)", "RGB(1, 2, {})", "rand(1)",
                             "obj.interpolation(0, 1, 2)", "HSV(1, 2, 'a')"}) {
    SCOPED_TRACE(script);
    EXPECT_THAT(whatOf([&] { fixture.run(*engine, script); }), HasSubstr("bad argument"));
  }
}

}  // namespace
