// Runs of scripts on the two real Lua engines: object variables in and out, the pooled
// states with their globals and nesting limit, failed runs, movement results, host failures
// inside interface functions, and a library that is missing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "../system/log_capture.h"
#include "effect/effect_item_number.h"
#include "effect/script_movement.h"
#include "lua_test_support.h"
#include "script/lua_api/lua_api.h"
#include "script/script_current.h"
#include "script/script_service.h"
#include "system/exception.h"

namespace {

using TestSupport::ScriptFixture;
using TestSupport::whatOf;
using ::testing::HasSubstr;

using EngineFactory = std::function<std::unique_ptr<Plugin::LuaBase>()>;

class LuaEngineTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { engine = TestSupport::makeEngine(GetParam()); }
  std::unique_ptr<Plugin::LuaBase> engine;
  ScriptFixture fixture;
};

INSTANTIATE_TEST_SUITE_P(Engines, LuaEngineTest, ::testing::Values("lua", "luaJIT"));

TEST_P(LuaEngineTest, WritesObjectVariablesAndReadsTheChangeableOnesBack) {
  Effect::EffectContext& context = fixture.context;
  context.objectFrames = {10, 39, {}};
  context.frame = 15;
  context.time = 15.5;
  context.layerIndex = 2;
  context.partIndex = 1;
  context.partCount = 3;
  context.outputView.x = 5;
  context.outputView.rotationZ = 30;
  context.outputView.opacity = 0.5f;
  const std::string text = fixture.run(*engine, R"(
mes(string.format("%g %g %g %g %g %g %g %g %g %g %g %g %g",
  obj.w, obj.h, obj.index, obj.num, obj.frame, obj.time, obj.totalframe, obj.totaltime,
  obj.framerate, obj.screen_w, obj.screen_h, obj.layer, obj.x))
mes(string.format(" %g %g %g %g %g", obj.ox, obj.rz, obj.zoom, obj.aspect, obj.alpha))
obj.ox = obj.ox + 10
obj.rz = 90
obj.cy = -4
obj.alpha = 0.25
obj.zoom = 2
obj.aspect = 0.5
obj.x = 1000
)");
  // The object's position minus the offset is 0 here: the object has no output effect.
  EXPECT_EQ(text, "0 0 1 3 5 0.183333 30 1 30 640 360 3 0 5 30 1 0 0.5");
  EXPECT_FLOAT_EQ(context.outputView.x, 15.0f);
  EXPECT_FLOAT_EQ(context.outputView.rotationZ, 90.0f);
  EXPECT_FLOAT_EQ(context.outputView.centerY, -4.0f);
  EXPECT_FLOAT_EQ(context.outputView.opacity, 0.25f);
  // zoom 2 on 1, 1, 1 doubles all three; aspect 0.5 then narrows X to half.
  EXPECT_FLOAT_EQ(context.outputView.scaleX, 1.0f);
  EXPECT_FLOAT_EQ(context.outputView.scaleY, 2.0f);
  EXPECT_FLOAT_EQ(context.outputView.scaleZ, 2.0f);
}

TEST_P(LuaEngineTest, ZoomAndAspectReadBack) {
  struct Case {
    float x, y, z;
    const char* script;
    float wantX, wantY, wantZ;
  };
  const Case cases[] = {
      // Untouched variables leave unequal factors as they were.
      {0.5f, 1.0f, 3.0f, "", 0.5f, 1.0f, 3.0f},
      {1.0f, 1.0f, 1.0f, "obj.aspect = -0.5", 1.0f, 0.5f, 1.0f},
      // Factors that are all zero cannot be scaled: X and Y take the zoom.
      {0.0f, 0.0f, 0.0f, "obj.zoom = 2", 2.0f, 2.0f, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    Effect::OutputView& view = fixture.context.outputView;
    view.scaleX = c.x;
    view.scaleY = c.y;
    view.scaleZ = c.z;
    fixture.run(*engine, c.script);
    EXPECT_FLOAT_EQ(view.scaleX, c.wantX);
    EXPECT_FLOAT_EQ(view.scaleY, c.wantY);
    EXPECT_FLOAT_EQ(view.scaleZ, c.wantZ);
  }
}

TEST_P(LuaEngineTest, AnAudioScriptGetsOnlyTheFirstGroupAndNothingIsReadBack) {
  fixture.effect.mediaType = Effect::MediaType::Audio;
  const std::string text =
      fixture.run(*engine, "mes(tostring(obj.layer) .. ' ' .. tostring(obj.ox)) obj.ox = 7");
  EXPECT_EQ(text, "1 nil");
  EXPECT_FLOAT_EQ(fixture.context.outputView.x, 0.0f);
}

TEST_P(LuaEngineTest, GlobalsStayInThePooledStateBetweenRuns) {
  EXPECT_EQ(fixture.run(*engine, "g = (g or 0) + 1 mes(tostring(g))"), "1");
  EXPECT_EQ(fixture.run(*engine, "g = (g or 0) + 1 mes(tostring(g))"), "2");
  EXPECT_EQ(fixture.run(*engine, "mes(tostring(g))"), "2");
  EXPECT_EQ(engine->depth(), 0);
}

TEST_P(LuaEngineTest, PackagePathsPointAtTheScriptFolder) {
  EXPECT_EQ(fixture.run(*engine, "package.path = 'x' mes(package.path .. ';' .. package.cpath)"),
            "x;/scripts/dir/?.so");
  // Set again before every run, whatever the last run left.
  EXPECT_EQ(fixture.run(*engine, "mes(package.path)"), "/scripts/dir/?.lua");
  // A script that removed the table gets no paths, and the run goes on.
  EXPECT_EQ(fixture.run(*engine, "package = nil mes('ok')"), "ok");
  EXPECT_EQ(fixture.run(*engine, "mes(tostring(package))"), "nil");
}

TEST_P(LuaEngineTest, MesAndObjMesAppendToOneOutput) {
  EXPECT_EQ(fixture.run(*engine, "mes('a') obj.mes('b')"), "ab");
}

TEST_P(LuaEngineTest, UnsupportedFunctionsEndTheRun) {
  for (const char* name : {"putpixel", "copypixel", "getpixeldata", "putpixeldata", "filter"}) {
    SCOPED_TRACE(name);
    // The library puts the caller's position in front.
    EXPECT_THAT(whatOf([&] { fixture.run(*engine, std::string("obj.") + name + "(1, 2)"); }),
                ::testing::EndsWith(":1: unsupported"));
  }
}

TEST_P(LuaEngineTest, DebugPrintWritesAScriptLine) {
  TestSupport::LogCapture log;
  fixture.run(*engine, "debug_print('hello')");
  ASSERT_EQ(log.texts("SCRIPT").size(), 1u);
  EXPECT_EQ(log.records().back().place, "test");
  EXPECT_EQ(log.texts("SCRIPT")[0], "hello");
}

TEST_P(LuaEngineTest, AFailedRunLogsTheLinesAroundTheErrorAndThrowsTheMessage) {
  TestSupport::LogCapture log;
  const std::string script = "local a = 1\nlocal b = 2\r\nlocal c = 3\nlocal d = 4\nerror('bad')\n"
                             "local f = 6\nlocal g = 7\n";
  const std::string what = whatOf([&] { fixture.run(*engine, script); });
  EXPECT_THAT(what, HasSubstr(":5: bad"));
  ASSERT_EQ(log.texts("SCRIPT").size(), 1u);
  EXPECT_EQ(log.texts("SCRIPT")[0], "bad\r\n> local d = 4\r\n> error('bad')\r\n> local f = 6");
  // The state stays usable.
  EXPECT_EQ(fixture.run(*engine, "mes('again')"), "again");
  EXPECT_EQ(engine->depth(), 0);
}

TEST_P(LuaEngineTest, AScriptThatDoesNotCompileFailsTheSameWay) {
  TestSupport::LogCapture log;
  const std::string what = whatOf([&] { fixture.run(*engine, "x = 1\nx = = 2\n"); });
  EXPECT_THAT(what, HasSubstr(":2:"));
  ASSERT_EQ(log.texts("SCRIPT").size(), 1u);
  EXPECT_THAT(log.texts("SCRIPT")[0], HasSubstr("\r\n> x = 1\r\n> x = = 2"));
}

TEST_P(LuaEngineTest, AnErrorWithoutAPositionIsLoggedWhole) {
  TestSupport::LogCapture log;
  // A table as the error: no text at all; level 0 error: the text without a position.
  EXPECT_EQ(whatOf([&] { fixture.run(*engine, "error('plain', 0)"); }), "plain");
  ASSERT_EQ(log.texts("SCRIPT").size(), 1u);
  EXPECT_EQ(log.texts("SCRIPT")[0], "plain");
}

TEST_P(LuaEngineTest, ObjThatIsNoTableEndsTheRun) {
  EXPECT_THAT(whatOf([&] { fixture.run(*engine, "obj = 5"); }),
              HasSubstr("obj table not defined"));
}

TEST_P(LuaEngineTest, RelativePathsAreTakenFromTheScriptFolder) {
  auto run = fixture.instance(*engine);
  const struct {
    const char* path;
    const char* resolved;
  } cases[] = {
      {"img/a.png", "/scripts/dir/img/a.png"},
      {"/img/a.png", "/img/a.png"},
      {"\\img\\a.png", "\\img\\a.png"},
      {"C:\\img\\a.png", "C:\\img\\a.png"},
      {"C:/img/a.png", "C:/img/a.png"},
  };
  for (const auto& c : cases) EXPECT_EQ(Plugin::LuaApi::resolveScriptPath(c.path), c.resolved);
}

// ---- nesting -------------------------------------------------------------------------------

struct Nesting {
  Plugin::LuaBase* engine = nullptr;
  ScriptFixture* fixture = nullptr;
  int deepest = 0;
  std::string failure;
};
Nesting nesting;

// A script function of the test that runs the same script again in an inner instance, as
// a script filter applied by a script does.
int nest(lua_State*) {
  try {
    auto inner = nesting.fixture->instance(*nesting.engine);
    nesting.deepest = nesting.engine->depth();
    TestSupport::setGlobalFunction(*nesting.engine, *inner, "nest", nest);
    inner->executeEffect("nest()");
  } catch (const std::exception& failure) {
    if (nesting.failure.empty()) nesting.failure = failure.what();
  }
  return 0;
}

TEST_P(LuaEngineTest, RunsNestToFourLevelsAndTheFifthFails) {
  nesting = Nesting{};
  nesting.engine = engine.get();
  nesting.fixture = &fixture;
  auto outer = fixture.instance(*engine);
  nesting.deepest = engine->depth();
  TestSupport::setGlobalFunction(*engine, *outer, "nest", nest);
  outer->executeEffect("nest() mes('outer done')");
  EXPECT_EQ(nesting.deepest, 4);
  EXPECT_THAT(nesting.failure, HasSubstr("lua recursive call limit exceeded."));
  EXPECT_THAT(nesting.failure, HasSubstr("Plugin::LuaBase::createLuaState"));
  EXPECT_EQ(outer->scriptText, "outer done");
  EXPECT_EQ(Plugin::currentScriptInstance(), outer.get());
  outer.reset();
  EXPECT_EQ(engine->depth(), 0);
  EXPECT_EQ(Plugin::currentScriptInstance(), nullptr);
  EXPECT_EQ(fixture.run(*engine, "mes('after')"), "after");
}

// ---- host failures inside interface functions -----------------------------------------------

int askForTheMovement(lua_State* state) {
  return Plugin::LuaApi::hostCall(state, [] {
    Plugin::currentScriptInstance()->getMovement();
    return 0;
  });
}

TEST_P(LuaEngineTest, AHostFailureInsideAFunctionEndsTheRunWithThatFailure) {
  TestSupport::LogCapture log;
  auto run = fixture.instance(*engine);
  TestSupport::setGlobalFunction(*engine, *run, "ask", askForTheMovement);
  try {
    run->executeEffect("mes('before') ask() mes('after')");
    FAIL() << "the run did not fail";
  } catch (const System::Exception& failure) {
    EXPECT_THAT(failure.what(), HasSubstr("not movement script."));
    EXPECT_THAT(failure.what(), HasSubstr("Plugin::ScriptPluginInstance::getMovement"));
  }
  EXPECT_EQ(run->scriptText, "before");
  run.reset();
  // The pooled state is still sound: the script's own protected calls work as well.
  EXPECT_EQ(fixture.run(*engine, "local ok = pcall(error, 'x') mes(tostring(ok))"), "false");
  EXPECT_EQ(engine->depth(), 0);
}

// ---- two engines at once -------------------------------------------------------------------

TEST(LuaEnginesTogetherTest, RunsOnTwoThreadsEachSeeTheirOwnInstance) {
  Plugin::LuaScript lua;
  Plugin::LuaJitScript jit;
  const auto runMany = [](Plugin::LuaBase& engine, const std::string& letter, int& wrong) {
    ScriptFixture fixture;
    const std::string expected(40, letter[0]);
    for (int i = 0; i < 100; ++i)
      if (fixture.run(engine, "for i = 1, 40 do mes('" + letter + "') end") != expected) ++wrong;
  };
  int wrongA = 0;
  int wrongB = 0;
  std::thread first([&] { runMany(lua, "a", wrongA); });
  std::thread second([&] { runMany(jit, "b", wrongB); });
  first.join();
  second.join();
  EXPECT_EQ(wrongA, 0);
  EXPECT_EQ(wrongB, 0);
}

// ---- movements -----------------------------------------------------------------------------

TEST_P(LuaEngineTest, MovementResultsAreNumbersOrZero) {
  TestSupport::MovementFixture movement;
  const struct {
    const char* script;
    double value;
  } cases[] = {
      {"return 12.5", 12.5},
      {"return 'abc'", 0.0},
      {"return '7'", 7.0},  // a numeric string reads as its number
      {"return", 0.0},
      {"local x = 1", 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    auto run = movement.instance(*engine, fixture.context);
    EXPECT_DOUBLE_EQ(run->executeMovement(c.script), c.value);
  }
  // A movement run has no effect: effect-only accessors refuse.
  auto run = movement.instance(*engine, fixture.context);
  EXPECT_THAT(whatOf([&] { run->getEffect(); }), HasSubstr("not effect script."));
  EXPECT_THAT(whatOf([&] { run->getRenderVideoTarget(); }),
              HasSubstr("Plugin::ScriptPluginInstance::getRenderVideoTarget"));
  EXPECT_EQ(&run->getEffectItem(), &movement.track);
}

// ---- engines and libraries ------------------------------------------------------------------

TEST(ScriptServiceTest, FindsEnginesByExactName) {
  TestSupport::LogCapture log;
  Plugin::ScriptService service;
  Plugin::registerScriptPlugins(service);
  EXPECT_EQ(service.findScriptPlugin(nullptr)->name, "luaJIT");
  EXPECT_EQ(service.findScriptPlugin(nullptr)->version, "LuaJIT2.1");
  EXPECT_EQ(service.findScriptPlugin("lua")->version, "Lua5.1.4");
  const std::string what = whatOf([&] { service.findScriptPlugin("LUA"); });
  EXPECT_THAT(what, HasSubstr("not found script plugin."));
  EXPECT_THAT(what, HasSubstr("LUA"));
  EXPECT_THAT(log.texts("INFO"), ::testing::ElementsAre("register script plugin [Lua5.1.4]",
                                                        "register script plugin [LuaJIT2.1]"));
}

TEST(ScriptServiceTest, AMissingLibraryFailsItsEngineOnlyAndIsTriedAgain) {
  TestSupport::LogCapture log;
  Plugin::ScriptService service;
  Plugin::registerScriptPlugins(service);
  auto& lua = dynamic_cast<Plugin::LuaBase&>(*service.findScriptPlugin("lua"));
  auto& jit = dynamic_cast<Plugin::LuaBase&>(*service.findScriptPlugin(nullptr));
  lua.libraryFile = "liblua-not-installed.so.0";
  ScriptFixture fixture;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const std::string what = whatOf([&] { fixture.instance(lua); });
    EXPECT_THAT(what, HasSubstr("dlopen() failed."));
    EXPECT_THAT(what, HasSubstr("liblua-not-installed.so.0"));
    EXPECT_EQ(lua.depth(), 0);
  }
  EXPECT_EQ(Plugin::currentScriptInstance(), nullptr);
  EXPECT_EQ(fixture.run(jit, "mes('jit runs')"), "jit runs");
  // Each attempt logged its load.
  int loads = 0;
  for (const std::string& text : log.texts("INFO"))
    if (text == "load script module [liblua-not-installed.so.0]") ++loads;
  EXPECT_EQ(loads, 2);
  // A library without the Lua entry points is refused as a whole, and tried again.
  lua.libraryFile = "libm.so.6";
  for (int attempt = 0; attempt < 2; ++attempt)
    EXPECT_THAT(whatOf([&] { fixture.instance(lua); }), HasSubstr("dlsym() failed."));
  // The lock was released: another thread can run the engine.
  lua.libraryFile = "liblua5.1.so.0";
  std::string text;
  std::thread([&] { text = fixture.run(lua, "mes('lua runs')"); }).join();
  EXPECT_EQ(text, "lua runs");
}

}  // namespace
