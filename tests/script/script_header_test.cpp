// Script headers read into the prototype's items and variables, the failures that end the
// reading, and new effects of a script taking copies of the declared items.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "../system/exception_text.h"
#include "../system/log_capture.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"
#include "effect/effect_item_string.h"
#include "effect/script_effect.h"
#include "lua_test_support.h"
#include "script/script_current.h"
#include "script/script_effect_host.h"
#include "script/script_service.h"

namespace {

using ::testing::HasSubstr;

class ScriptHeaderTest : public ::testing::Test {
 protected:
  ScriptHeaderTest() {
    Plugin::registerScriptPlugins(*Plugin::ScriptService::instance());
    Effect::setScriptHost(&host);
    prototype.createResource();
    prototype.record()->name = "s";
  }
  ~ScriptHeaderTest() override { Effect::setScriptHost(nullptr); }

  void read(const std::string& text, const char* engine = nullptr) {
    prototype.record()->text = text;
    host.makeScriptParams(prototype, &label, engine);
  }
  template <class Item>
  const Item& item(const std::string& variable) {
    const Effect::EffectItem* found = prototype.findScriptVariable(variable);
    EXPECT_NE(found, nullptr) << variable;
    return dynamic_cast<const Item&>(*found);
  }
  std::vector<std::string> variables() const {
    std::vector<std::string> names;
    for (const auto& variable : prototype.scriptVariables()) names.push_back(variable.name);
    return names;
  }
  static double display(const Effect::EffectItemNumber& number, int steps) {
    return static_cast<double>(steps) / number.scale;
  }

  TestSupport::LogCapture log;
  System::ServiceHolder<Plugin::ScriptService> service;
  Plugin::ScriptEffectHost host;
  Effect::ScriptFilter prototype{"s"};
  std::string label = "folder";
};

TEST_F(ScriptHeaderTest, ReadsEveryDirectiveIntoItsItemAndVariable) {
  read("--track0:速さ, 0, 100, 50, 1\n"
       "--track@w:幅\r\n"
       "--trackbar:bar,1,2,1.5,0.5\n"
       "--check0:影,1\n"
       "--check@on:表示\n"
       "--color:0xff8000\n"
       "--color@line:線色,nil\n"
       "--file:\n"
       "--value@v:値,{1,2,3};\n"
       "--select@mode:形=5,円=1,四角=2,星=3\n"
       "--dialog:サイズ,local size=100;色/col,col=\"0x00ff00\";表示/chk,local on2=1;名前,name=\"abc\"\n"
       "--param:speed=2;mode={1, 2}\n"
       "local x = 1 --track9:not at the start\n"
       "--label:グループ\n"
       "--information:about it\n"
       "--[[\n--track7:hidden\n]] --track8:hidden too\n"
       "--track0:again,0,10,5\n"
       "--script:lua\n");
  EXPECT_THAT(variables(),
              ::testing::ElementsAre("track0", "@local w", "trackbar", "check0", "@local on",
                                     "@local color", "@local line", "@local file", "@local v",
                                     "@local mode", "size", "@col", "@on2", "name", "speed",
                                     "mode"));
  const auto& speed = item<Effect::EffectItemNumber>("track0");
  EXPECT_EQ(speed.name, "速さ");
  EXPECT_EQ(display(speed, speed.defaultValue), 50.0);
  EXPECT_EQ(display(speed, speed.maximum), 100.0);
  EXPECT_EQ(speed.scale, 1);
  // Only a label: range 0 to 0, default 0, step 0.1.
  const auto& width = item<Effect::EffectItemNumber>("@local w");
  EXPECT_EQ(width.scale, 10);
  EXPECT_EQ(width.minimum, 0);
  EXPECT_EQ(width.maximum, 0);
  EXPECT_EQ(display(item<Effect::EffectItemNumber>("trackbar"),
                    item<Effect::EffectItemNumber>("trackbar").defaultValue), 1.5);
  EXPECT_TRUE(item<Effect::EffectItemCheck>("check0").value);
  EXPECT_FALSE(item<Effect::EffectItemCheck>("@local on").value);
  const auto& color = item<Effect::EffectItemColor>("@local color");
  EXPECT_EQ(color.name, "色");
  EXPECT_EQ(color.typeCode, Effect::ItemType::Color);
  EXPECT_EQ(color.rgb(), 0xff8000u);
  const auto& line = item<Effect::EffectItemColor>("@local line");
  EXPECT_EQ(line.typeCode, Effect::ItemType::ColorOrNone);
  EXPECT_TRUE(line.none);
  EXPECT_EQ(item<Effect::EffectItemFile>("@local file").name, "ファイル");
  const auto& table = item<Effect::EffectItemString>("@local v");
  EXPECT_EQ(table.typeCode, Effect::ItemType::ScriptString2);
  EXPECT_EQ(table.value, "1,2,3");
  // A default that no choice has becomes the smallest choice.
  const auto& mode = item<Effect::EffectItemSelect>("@local mode");
  EXPECT_EQ(mode.name, "形");
  EXPECT_EQ(mode.value, 1);
  EXPECT_EQ(mode.list->entries.size(), 3u);
  EXPECT_EQ(item<Effect::EffectItemString>("size").typeCode, Effect::ItemType::ScriptString1);
  EXPECT_EQ(item<Effect::EffectItemString>("size").value, "100");
  EXPECT_EQ(item<Effect::EffectItemColor>("@col").rgb(), 0x00ff00u);
  EXPECT_EQ(item<Effect::EffectItemColor>("@col").name, "色");
  EXPECT_EQ(item<Effect::EffectItemCheck>("@on2").name, "表示");
  EXPECT_TRUE(item<Effect::EffectItemCheck>("@on2").value);
  EXPECT_EQ(item<Effect::EffectItemString>("name").typeCode, Effect::ItemType::String);
  EXPECT_EQ(item<Effect::EffectItemString>("name").value, "abc");
  EXPECT_EQ(item<Effect::EffectItemString>("speed").value, "2");
  EXPECT_EQ(item<Effect::EffectItemString>("mode").value, "1, 2");
  EXPECT_EQ(label, "グループ");
  EXPECT_EQ(prototype.record()->information, "about it");
  EXPECT_EQ(prototype.record()->engine->name, "lua");
  // The second track0 is an item of the effect, but the variable keeps the first.
  EXPECT_EQ(prototype.items.size(), 17u);
  EXPECT_EQ(prototype.record()->items.size(), 17u);
  EXPECT_TRUE(log.texts("WARN").empty());
}

TEST_F(ScriptHeaderTest, AnUnreadableDirectiveEndsTheReadingAtItsLine) {
  const struct {
    const char* line;
    const char* error;
  } cases[] = {
      {"--color:zz", "invalid stoi argument"},
      {"--track1:x,abc", "invalid stod argument"},
      {"--check1:x,yes", "invalid stoi argument"},
      {"--track1:x,0,1e999", "stod argument out of range"},
      // No font or figure list in this test: every name is missing from it.
      {"--font:書体,Sans", "invalid unordered_map<K, T> key"},
      {"--figure:図形,円", "invalid unordered_map<K, T> key"},
      {"--script:nope", "not found script plugin."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    log.clear();
    Effect::ScriptFilter effect{"s"};
    effect.createResource();
    effect.record()->name = "s";
    effect.record()->text = std::string("--track0:first\n") + c.line + "\n--track2:after\n";
    host.makeScriptParams(effect, nullptr, "lua");
    ASSERT_EQ(log.texts("WARN").size(), 1u);
    EXPECT_THAT(log.texts("WARN")[0], HasSubstr("script params load faild [s]\n"));
    EXPECT_THAT(log.texts("WARN")[0], HasSubstr(c.error));
    ASSERT_EQ(effect.scriptVariables().size(), 1u);
    EXPECT_EQ(effect.scriptVariables()[0].name, "track0");
    // The engine is the registration's default all the same.
    EXPECT_EQ(effect.record()->engine->name, "lua");
  }
}

TEST_F(ScriptHeaderTest, AnUnknownDefaultEngineLeavesTheReader) {
  EXPECT_THAT(TestSupport::whatOf([&] { read("--track0:x", "nope"); }),
              HasSubstr("not found script plugin."));
  read("--track0:x");
  EXPECT_EQ(prototype.record()->engine->name, "luaJIT");
}

TEST_F(ScriptHeaderTest, NewEffectsTakeCopiesOfTheDeclaredItems) {
  read("--track0:速さ,-10,100,2.5,0.5\n--track@a:a,0,10,1.5\n--check@on:on,1\n"
       "--color@c:c,0x102030\n--select@m:m=2,x=1,y=2\n--param:t={1,2};s=\"q\"\n"
       "--file@f:file\n--track0:again,0,10,7\n");
  auto made = std::dynamic_pointer_cast<Effect::ScriptFilter>(prototype.create());
  made->shareResource(prototype);
  ASSERT_EQ(made->items.size(), prototype.items.size());
  for (std::size_t i = 0; i < made->items.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(made->items[i]->typeCode, prototype.items[i]->typeCode);
    EXPECT_EQ(made->items[i]->name, prototype.items[i]->name);
    EXPECT_TRUE(made->items[i]->equals(*prototype.items[i]));
  }
  const auto& speed = dynamic_cast<const Effect::EffectItemNumber&>(*made->findScriptVariable("track0"));
  EXPECT_EQ(speed.name, "速さ");
  EXPECT_EQ(speed.scale, 2);
  EXPECT_EQ(speed.minimum, -20);
  EXPECT_EQ(speed.defaultValue, 5);
  // Each effect owns its items.
  dynamic_cast<Effect::EffectItemCheck&>(*made->findScriptVariable("@local on")).value = false;
  EXPECT_TRUE(dynamic_cast<Effect::EffectItemCheck&>(*prototype.findScriptVariable("@local on")).value);

  // The values reach a run of the new effect.
  TestSupport::ScriptFixture fixture;
  Plugin::LuaJitScript engine;
  auto run = engine.createEffectInstance(*made, fixture.context);
  run->executeEffect("mes(string.format('%g %g %s %d %g %s %s', obj.track0, a, tostring(on), c, m, "
                     "tostring(t[2]), s))");
  EXPECT_EQ(Plugin::assignmentPrefix(),
            "local a=1.500000;local on=0;local c=1056816.000000;local m=2.000000;t={1,2};"
            "s=\"q\";local f=\"\";");
  EXPECT_EQ(run->scriptText, "2.5 1.5 0 1056816 2 2 q");
}

}  // namespace
