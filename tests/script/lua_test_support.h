#pragma once
// A script effect on an object of a small scene, runs of its script on a real Lua engine,
// and the means to give a run's state a C function of the test.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "../system/exception_text.h"
#include "edit/scene.h"
#include "effect/effect_context.h"
#include "effect/effect_item_number.h"
#include "effect/script_effect.h"
#include "effect/script_movement.h"
#include "script/lua_base.h"
#include "script/lua_instance.h"

namespace TestSupport {

// Makes `function` the global `name` of the run's state (the engine's table has no entry
// for pushing C functions: the test takes it from the same library).
inline void setGlobalFunction(Plugin::LuaBase& engine, Plugin::ScriptPluginInstance& instance,
                              const char* name, lua_CFunction function) {
  void* library = ::dlopen(engine.libraryFile.c_str(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(library, nullptr);
  auto push = reinterpret_cast<decltype(&::lua_pushcclosure)>(::dlsym(library, "lua_pushcclosure"));
  ::dlclose(library);
  ASSERT_NE(push, nullptr);
  lua_State* state = dynamic_cast<Plugin::LuaInstance&>(instance).luaState();
  push(state, function, 0);
  engine.functions().lua_setfield(state, LUA_GLOBALSINDEX, name);
}

// The engine a parameterised test runs on: "lua" for the Lua 5.1 engine, else LuaJIT.
inline std::unique_ptr<Plugin::LuaBase> makeEngine(const std::string& name) {
  if (name == "lua") return std::make_unique<Plugin::LuaScript>();
  return std::make_unique<Plugin::LuaJitScript>();
}

struct ScriptFixture {
  ScriptFixture() : effect("test") {
    effect.createResource();
    effect.record()->name = "test";
    effect.record()->directory = "/scripts/dir";
    scene.rate = 30;
    scene.scale = 1;
    scene.width = 640;
    scene.height = 360;
    context.scene = &scene;
  }

  std::unique_ptr<Plugin::ScriptPluginInstance> instance(Plugin::LuaBase& engine) {
    return engine.createEffectInstance(effect, context);
  }
  // One whole run; the text `mes` wrote.
  std::string run(Plugin::LuaBase& engine, const std::string& script) {
    auto run = instance(engine);
    run->executeEffect(script);
    return run->scriptText;
  }

  Edit::Scene scene{1, 1};
  Effect::ScriptFilter effect;
  Effect::EffectContext context;
};

// A script movement with the number item it moves, for movement runs.
struct MovementFixture {
  MovementFixture() { movement.record.name = "move"; }
  std::unique_ptr<Plugin::ScriptPluginInstance> instance(Plugin::LuaBase& engine,
                                                         const Effect::EffectContext& context) {
    return engine.createMovementInstance(movement, track, section, context);
  }

  Effect::ScriptMovement movement{"move"};
  Effect::EffectItemList items;
  Effect::EffectItemNumber track{items, "X", 0, 0, 100, 1};
  Effect::SectionPosition section;
};

}  // namespace TestSupport
