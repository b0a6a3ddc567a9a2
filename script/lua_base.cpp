#include "script/lua_base.h"

#include "script/lua_api/lua_api.h"
#include "script/lua_instance.h"
#include "system/exception.h"

namespace Plugin {

namespace {
constexpr const char* kCreatePlace = "Plugin::LuaBase::createLuaState";
}

LuaBase::~LuaBase() {
  if (module_.isLoaded())
    for (lua_State* state : pool_) module_.functions().lua_close(state);
  pool_.clear();
  depth_ = 0;
  module_.freeModule();
}

lua_State* LuaBase::createLuaState() {
  if (depth_ < static_cast<int32_t>(pool_.size())) return pool_[depth_++];
  if (depth_ >= kMaxDepth)
    throw System::makeException(kCreatePlace, "lua recursive call limit exceeded.");
  module_.loadModule(libraryFile);
  const LuaFunctions& lua = module_.functions();
  lua_State* state = lua.luaL_newstate();
  if (!state) throw System::makeException(kCreatePlace, "luaL_newstate() failed.");
  // Outside a protected call a Lua error would end the process through the library's
  // panic handler; a fresh state raises here only when memory runs out.
  lua.luaL_openlibs(state);
  lua.luaL_register(state, "_G", LuaApi::globalFunctions());
  lua.luaL_register(state, "obj", LuaApi::objectFunctions());
  lua.lua_settop(state, 0);
  pool_.push_back(state);
  ++depth_;
  return state;
}

std::unique_ptr<ScriptPluginInstance> LuaBase::createMovementInstance(
    const Effect::ScriptMovement& movement, const Effect::EffectItemNumber& item,
    const Effect::SectionPosition& section, const Effect::EffectContext& context) {
  return LuaInstance::create(
      *this, ScriptPluginInstance::Binding::forMovement(movement, item, section, context));
}

std::unique_ptr<ScriptPluginInstance> LuaBase::createEffectInstance(
    Effect::ScriptEffect& effect, Effect::EffectContext& context) {
  return LuaInstance::create(*this, ScriptPluginInstance::Binding::forEffect(effect, context));
}

}  // namespace Plugin
