// The values of a script's parameter items reaching the script: named variables as
// assignments in front of the script text, plain numbers and checks as fields of obj.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"
#include "effect/effect_item_string.h"
#include "lua_test_support.h"
#include "script/script_current.h"

namespace {

using TestSupport::ScriptFixture;
using TestSupport::whatOf;
using ::testing::HasSubstr;

class ScriptVariablesTest : public ::testing::Test {
 protected:
  template <class Item, class... Args>
  Item& add(const std::string& variable, Args&&... args) {
    auto item = std::make_unique<Item>(fixture.effect.items, std::forward<Args>(args)...);
    Item& added = *item;
    fixture.effect.addScriptItem(variable, std::move(item));
    return added;
  }

  Plugin::LuaJitScript engine;
  ScriptFixture fixture;
};

TEST_F(ScriptVariablesTest, EachKindReachesTheScriptAsItsFormSays) {
  using Effect::ItemType::ColorOrNone;
  using Effect::ItemType::ScriptString1;
  using Effect::ItemType::ScriptString2;
  add<Effect::EffectItemNumber>("@local a", "a", 1.5, 0, 10, 0.1);
  add<Effect::EffectItemNumber>("track0", "t0", 2, 0, 10, 1);
  add<Effect::EffectItemCheck>("@local on", "on", true);
  add<Effect::EffectItemCheck>("@off", "off", false);
  add<Effect::EffectItemCheck>("check0", "c0", true);
  add<Effect::EffectItemString>("@local s", "s", "hi", Effect::ItemType::String);
  add<Effect::EffectItemString>("plain", "p", "x", Effect::ItemType::String);
  add<Effect::EffectItemString>("@local e", "e", "1+2", ScriptString1);
  add<Effect::EffectItemString>("@local none", "none", "", ScriptString1);
  add<Effect::EffectItemString>("@local t", "t", "1,2", ScriptString2);
  add<Effect::EffectItemFile>("@local f", "f", "C:\\a\\b.png");
  add<Effect::EffectItemFile>("file", "f2", "ignored");
  add<Effect::EffectItemColor>("@local color", "color", 0x102030);
  add<Effect::EffectItemColor>("@local maybe", "maybe", Effect::EffectItemColor::kNoColor,
                               ColorOrNone);
  auto list = Effect::EffectItemSelect::createSharedList();
  list->addItem(1, "one");
  list->addItem(3, "three");
  add<Effect::EffectItemSelect>("@local sel", "sel", 3, list);
  // A second item under a bound name is kept by the effect but binds nothing.
  add<Effect::EffectItemNumber>("@local a", "a2", 9, 0, 10, 1);

  const std::string text = fixture.run(engine, R"(mes(string.format(
"%g %g %s %s %s %s %s %g %s %s %s %d %s %g %s",
a, obj.track0, tostring(on), tostring(off), tostring(obj.check0), s, plain, e,
tostring(none), t[2], f, color, tostring(maybe), sel, tostring(obj.file))))");
  EXPECT_EQ(Plugin::assignmentPrefix(),
            "local a=1.500000;local on=1;off=0;local s=\"hi\";plain=\"x\";local e=1+2;"
            "local none=nil;local t={1,2};local f=\"C:\\\\a\\\\b.png\";"
            "local color=1056816.000000;local maybe=nil;local sel=3.000000;");
  EXPECT_EQ(text, "1.5 2 1 0 true hi x 3 nil 2 C:\\a\\b.png 1056816 nil 3 nil");
  EXPECT_EQ(fixture.effect.items.size(), 16u);
}

TEST_F(ScriptVariablesTest, ATextHoldingAQuoteMakesAChunkThatDoesNotCompile) {
  add<Effect::EffectItemString>("@local s", "s", "say \"hi\"", Effect::ItemType::String);
  EXPECT_THAT(whatOf([&] { fixture.run(engine, "mes(s)"); }), HasSubstr(":1:"));
}

TEST_F(ScriptVariablesTest, AKindWithoutAnAssignmentEndsTheRunBeforeTheScript) {
  add<Effect::EffectItemInteger>("@local n", "n", 1, 0, 10);
  auto run = fixture.instance(engine);
  const std::string what = whatOf([&] { run->executeEffect("mes('ran')"); });
  EXPECT_THAT(what, HasSubstr("not implement."));
  EXPECT_THAT(what, HasSubstr("Plugin::LuaInstance::setScriptVariables"));
  EXPECT_EQ(run->scriptText, "");
}

TEST_F(ScriptVariablesTest, AnItemOfAnotherClassThanItsKindIsRefused) {
  auto& item = add<Effect::EffectItemString>("@local s", "s", "x", Effect::ItemType::String);
  item.typeCode = Effect::ItemType::Color;
  EXPECT_THAT(whatOf([&] { fixture.run(engine, ""); }), HasSubstr("invalid effect item type."));
}

TEST_F(ScriptVariablesTest, NumberItemsAreFoundByTheirShortNames) {
  auto& track = add<Effect::EffectItemNumber>("track1", "t1", 2, 0, 10, 1);
  auto& local = add<Effect::EffectItemNumber>("@local w", "w", 2, 0, 10, 1);
  add<Effect::EffectItemCheck>("@local c", "c", true);
  auto run = fixture.instance(engine);
  EXPECT_EQ(run->findNumberItem("1"), &track);
  EXPECT_EQ(run->findNumberItem("w"), &local);
  EXPECT_EQ(run->findNumberItem("c"), nullptr);
  EXPECT_EQ(run->findNumberItem("nothing"), nullptr);
}

}  // namespace
