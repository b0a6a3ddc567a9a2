// The track text of number items: what project files store for a number parameter, and how
// a text from a shared file is read back, or refused.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../system/exception_text.h"
#include "effect/edit_access.h"
#include "effect/effect_item_number.h"
#include "effect/movement_registry.h"
#include "number_test_support.h"

namespace {

// Track texts name the test kinds; each test runs in a process of its own, so the kinds are
// registered before any test rather than by whichever test first asks for them.
[[maybe_unused]] const bool testMovementsRegistered =
    (TestSupport::curveMove(), TestSupport::paramsMove(), true);

using namespace Effect;
using TestSupport::whatOf;

// The track of the examples: step 0.01, default 1.5, range -10 to 10.
std::unique_ptr<EffectItemNumber> hundredths(EffectItemList& items) {
  return std::make_unique<EffectItemNumber>(items, "X", 1.5, -10, 10, 0.01);
}

struct FormatCase {
  int scale;
  int value;
  const char* text;
};

TEST(NumberTrackText, ValuesKeepTheDecimalsOfTheirStep) {
  const FormatCase cases[] = {
      {100, 150, "1.50"},  {100, 5, "0.05"},        {100, 0, "0.00"},
      {100, -5, "-0.05"},  {100, -1250, "-12.50"},  {1, 100, "100"},
      {1, -7, "-7"},       {10, 7, "0.7"},          {1000, -12345, "-12.345"},
      {1, -2147483647 - 1, "-2147483648"},          {100, 2147483647, "21474836.47"},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.text);
    EffectItemList items;
    EffectItemNumber track(items, "X", 0, -1, 1, 1.0 / c.scale);
    ASSERT_EQ(track.scale, c.scale);
    track.values = {c.value};
    EXPECT_EQ(track.formatValue(0), c.text);
    EXPECT_EQ(track.toString(), c.text);
  }
}

TEST(NumberTrackText, ASingleNumberIsATrackWithoutMovement) {
  EffectItemList items;
  const auto track = hundredths(items);
  EXPECT_EQ(track->values, std::vector<int>{150});
  EXPECT_EQ(track->toString(), "1.50");
  track->fromString("2.125");
  EXPECT_EQ(track->values, std::vector<int>{213});
  track->fromString("-2.125");
  EXPECT_EQ(track->values, std::vector<int>{-213});
  track->fromString("12");
  EXPECT_EQ(track->values, std::vector<int>{1000});
  // The number's trailing characters are ignored, leading blanks allowed.
  track->fromString("  3.5px");
  EXPECT_EQ(track->values, std::vector<int>{350});
  EXPECT_EQ(track->toString(), "3.50");

  // A movement name with flags but no value is refused; with a value it is that value.
  EffectItemNumber whole(items, "Y", 0, -100, 100, 1);
  EXPECT_EQ(whatOf([&] { whole.fromString("移動無し,0"); }),
            "invalid effect parameter.\n\n[Place]\nEffect::EffectItemNumber::fromString()");
  whole.fromString("5,移動無し,0");
  EXPECT_EQ(whole.values, std::vector<int>{5});
  EXPECT_EQ(whole.toString(), "5");
}

struct ReadCase {
  const char* text;
  const MovementBase* movement;
  std::vector<int> values;
  int flags;
  std::vector<double> params;
  std::vector<double> curve;
  const char* written;  // nullptr: the text itself
};

TEST(NumberTrackText, ReadsValuesMovementFlagsParamsAndCurve) {
  const MovementBase* line = &TestSupport::linearMove();
  const MovementBase* curve = &TestSupport::curveMove();
  const MovementBase* withParams = &TestSupport::paramsMove();
  const std::vector<double> quarter = {0.25, 0.25, 0.25, 0.25};
  const ReadCase cases[] = {
      {"1.00,2.00,3.00,直線移動,3", line, {100, 200, 300}, 3, {}, {}, nullptr},
      // Ignoring midpoints keeps two values: the third is dropped.
      {"1.00,2.00,3.00,直線移動,4", line, {100, 200}, 4, {}, {}, "1.00,2.00,直線移動,4"},
      {"5,移動無し,0", defaultMovement(), {500}, 0, {}, {}, "5.00"},
      {"1,2,3,再生範囲,0", playbackRangeMovement(), {100, 200}, 0, {}, {}, "1.00,2.00,再生範囲,0"},
      {"0.00,5.00,テスト時間制御,0|0.25,0.25,0.25,0.25", curve, {0, 500}, 0, {}, quarter, nullptr},
      {"1,2,テスト設定付き,0|15,2|0.25,0.25,0.25,0.25", withParams, {100, 200}, 0, {15, 2}, quarter,
       "1.00,2.00,テスト設定付き,0|15,2|0.25,0.25,0.25,0.25"},
      {"1,2,テスト設定付き,2|7.5", withParams, {100, 200}, 2, {7.5}, {}, "1.00,2.00,テスト設定付き,2|15,2"},
      // Groups a kind has no use for are skipped.
      {"1,2,直線移動,0|9,9|8", line, {100, 200}, 0, {}, {}, "1.00,2.00,直線移動,0"},
      {"1,2,テスト時間制御,1|0.5,0,0,0|9", curve, {100, 200}, 1, {}, {0.5, 0, 0, 0},
       "1.00,2.00,テスト時間制御,1|0.5,0,0,0"},
      // Values are clamped to the range; flags keep only their three bits.
      {"99,-99,直線移動,-1", line, {1000, -1000}, 7, {}, {}, "10.00,-10.00,直線移動,7"},
      {" 1e300,2,直線移動,0", line, {1000, 200}, 0, {}, {}, "10.00,2.00,直線移動,0"},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.text);
    EffectItemList items;
    const auto track = hundredths(items);
    track->fromString(c.text);
    EXPECT_EQ(track->movement, c.movement);
    EXPECT_EQ(track->values, c.values);
    EXPECT_EQ(track->flags, c.flags);
    EXPECT_EQ(track->params, c.params);
    EXPECT_EQ(track->timeControl, c.curve);
    const std::string written = track->toString();
    EXPECT_EQ(written, c.written ? c.written : c.text);
    // What was written reads back into a fresh track as the same track.
    const auto fresh = hundredths(items);
    fresh->fromString(written);
    EXPECT_EQ(fresh->toString(), written);
    EXPECT_EQ(fresh->values, track->values);
  }
}

TEST(NumberTrackText, ReadingASingleNumberDropsTheMovement) {
  EffectItemList items;
  const auto track = hundredths(items);
  track->fromString("1,2,テスト時間制御,3|0.25,0.25,0.25,0.25");
  track->fromString("4");
  EXPECT_EQ(track->movement, defaultMovement());
  EXPECT_EQ(track->values, std::vector<int>{400});
  EXPECT_EQ(track->flags, 0);
  EXPECT_TRUE(track->timeControl.empty());
}

struct StepCase {
  const char* what;
  double step;
  double value;
  const char* text;
};

// A step that is not a power of ten has no fixed number of decimals. The value is written
// so that it reads back unchanged, however often the project is saved and opened.
TEST(NumberTrackText, StepsOtherThanPowersOfTenSurviveRepeatedSaves) {
  const StepCase cases[] = {
      {"half", 0.5, 1.5, "1.5"},
      {"quarter", 0.25, -0.75, "-0.75"},
      {"fifth", 0.2, 2.4, "2.4"},
      {"twentieth", 0.05, 0.15, "0.15"},
      {"third", 1.0 / 3.0, 1.0 / 3.0, "0.3333333333333333"},
      {"whole half steps", 0.5, 3, "3"},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.what);
    EffectItemList items;
    EffectItemNumber track(items, "X", 0, -100, 100, c.step);
    track.setValue(c.value, 0);
    const std::vector<int> stored = track.values;
    EXPECT_EQ(track.toString(), c.text);
    for (int save = 0; save < 10; ++save) {
      EffectItemNumber reopened(items, "X", 0, -100, 100, c.step);
      reopened.fromString(track.toString());
      track.copyFrom(reopened);
    }
    EXPECT_EQ(track.values, stored);
    EXPECT_EQ(track.toString(), c.text);
    EXPECT_DOUBLE_EQ(track.getDisplayValue(0), c.value);
  }

  // The same holds inside a track with movement.
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -100, 100, 0.5);
  track.fromString("1.5,-2,3.5,直線移動,0");
  EXPECT_EQ(track.values, (std::vector<int>{3, -4, 7}));
  for (int save = 0; save < 10; ++save) track.fromString(track.toString());
  EXPECT_EQ(track.toString(), "1.5,-2,3.5,直線移動,0");
}

TEST(NumberTrackText, ParamsTheMovementWouldUseAreWritten) {
  // A params list whose count does not match the movement is replaced by the movement's
  // defaults when the movement runs; the text says the same, so it reads back as the
  // track behaves, and the easing curve is never taken for params.
  EffectItemList items;
  const auto track = hundredths(items);
  track->movement = &TestSupport::paramsMove();
  track->values = {100, 200};
  track->timeControl = {0.5, 0, 0, 0};
  track->params.clear();
  EXPECT_EQ(track->toString(), "1.00,2.00,テスト設定付き,0|15,2|0.5,0,0,0");
  track->movement = &TestSupport::curveMove();
  track->params = {3};
  EXPECT_EQ(track->toString(), "1.00,2.00,テスト時間制御,0|0.5,0,0,0");
}

struct BadCase {
  const char* what;
  std::string text;
  const char* error;
};

const char* const kInvalidParameter =
    "invalid effect parameter.\n\n[Place]\nEffect::EffectItemNumber::fromString()";
const char* const kNotFoundMovement =
    "not found movement.\n\n[Place]\nEffect::EffectService::findMovement()";

// Texts from shared project files that cannot be read: each fails with its error, and the
// track keeps exactly what it had.
TEST(NumberTrackText, MalformedTextsFailAndLeaveTheTrackAsItWas) {
  std::string manyValues;
  for (std::size_t i = 0; i <= EffectItemNumber::kMaxValueCount; ++i) manyValues += "0,";
  manyValues += "直線移動,0";
  std::string longCurve = "0,1,テスト時間制御,0|";
  for (std::size_t i = 0; i < EffectItemNumber::kMaxListCount + 4; ++i) longCurve += "0,";
  longCurve += "0";
  std::string manyParams = "0,1,テスト設定付き,0|";
  for (std::size_t i = 0; i <= EffectItemNumber::kMaxListCount; ++i) manyParams += "1,";
  manyParams += "1";

  const BadCase cases[] = {
      {"empty", "", "invalid stod argument"},
      {"a word", "abc", "invalid stod argument"},
      {"not a number", "nan", "invalid stod argument"},
      {"an infinity", "inf", "invalid stod argument"},
      {"too large for a double", "1e999", "stod argument out of range"},
      {"movement without value", "移動無し,0", kInvalidParameter},
      {"flags alone", ",0", kInvalidParameter},
      {"nothing but commas", ",,", kNotFoundMovement},
      {"unknown movement", "1,2,未知の移動,0", kNotFoundMovement},
      {"movement with a trailing blank", "1,2,直線移動 ,0", kNotFoundMovement},
      {"empty movement name", "1,2,,0", kNotFoundMovement},
      {"flags not a number", "1,2,直線移動,x", "invalid stoi argument"},
      {"flags missing", "1,2,直線移動,", "invalid stoi argument"},
      {"flags too large", "1,2,直線移動,99999999999", "stoi argument out of range"},
      {"value not a number", "1,a,直線移動,0", "invalid stod argument"},
      {"value missing", "1,,直線移動,0", "invalid stod argument"},
      {"value not a number past the kept ones", "1,2,x,直線移動,4", "invalid stod argument"},
      {"value infinite", "1,-inf,直線移動,0", "invalid stod argument"},
      {"empty curve", "1,2,テスト時間制御,0|", "invalid stod argument"},
      {"curve number not a number", "1,2,テスト時間制御,0|0.25,x,0.25,0.25", "invalid stod argument"},
      {"param not a number", "1,2,テスト設定付き,0|a|0.25,0.25,0.25,0.25", "invalid stod argument"},
      {"more values than an object has points", manyValues, kInvalidParameter},
      {"an endless curve", longCurve, kInvalidParameter},
      {"endless params", manyParams, kInvalidParameter},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.what);
    EffectItemList items;
    const auto track = hundredths(items);
    track->fromString("1.00,2.00,3.00,テスト設定付き,1|4,5|0.1,0.2,0.3,0.4");
    const auto before = track->clone();
    EXPECT_EQ(whatOf([&] { track->fromString(c.text); }), c.error);
    EXPECT_TRUE(track->equals(*before));
  }
}

TEST(NumberTrackText, LongestAcceptedListsAreRead) {
  EffectItemList items;
  const auto track = hundredths(items);
  std::string text = "0,1,テスト時間制御,0|";
  for (std::size_t i = 1; i < EffectItemNumber::kMaxListCount; ++i) text += "0.5,";
  text += "1";
  track->fromString(text);
  EXPECT_EQ(track->timeControl.size(), EffectItemNumber::kMaxListCount);
  EXPECT_EQ(track->timeControl.back(), 1.0);
}

std::string doubledLegacyText(std::string_view legacy) {
  // A stand-in for the edit model's converter: "a:b" becomes a two-point straight line.
  const std::size_t colon = legacy.find(':');
  return std::string(legacy.substr(0, colon)) + "," + std::string(legacy.substr(colon + 1)) +
         ",直線移動,0";
}

TEST(NumberTrackText, LegacyTextsGoThroughTheEditModelsConverter) {
  EffectItemList items;
  const auto track = hundredths(items);
  track->loadKvoParameter("2.5", "x", "座標", true);
  EXPECT_EQ(track->values, std::vector<int>{250});
  EXPECT_EQ(whatOf([&] { track->loadKvoParameter("1:2", "x", "座標", false); }),
            "not implement.\n\n[Place]\nEdit::ProjectConvert::convertTrackParameter()");
  // An edit model that cannot read legacy files refuses them the same way.
  struct LegacyReader : Effect::EditAccess {
    void createObject(std::string_view, int, int) override {}
    void setEffect(const std::shared_ptr<Edit::Object>&, std::string_view, Effect::EffectBase*,
                   bool) override {}
    void loadObject(const std::string&, int, int) override {}
    void loadEffect(const std::shared_ptr<Edit::Object>&, const std::string&, Effect::EffectBase*,
                    bool) override {}
    void runPresetColorUpdate(const std::function<void()>& change) override { change(); }
    bool converts = false;
    std::string convertLegacyTrack(std::string_view legacy) override {
      return converts ? doubledLegacyText(legacy) : EditAccess::convertLegacyTrack(legacy);
    }
  } reader;
  Effect::setEditAccess(&reader);
  EXPECT_EQ(whatOf([&] { track->loadKvoParameter("1:2", "x", "座標", false); }),
            "not implement.\n\n[Place]\nEdit::ProjectConvert::convertTrackParameter()");
  reader.converts = true;
  track->loadKvoParameter("1:2", "x", "座標", false);
  Effect::setEditAccess(nullptr);
  EXPECT_EQ(track->values, (std::vector<int>{100, 200}));
  EXPECT_EQ(track->movement, &TestSupport::linearMove());
}

}  // namespace
