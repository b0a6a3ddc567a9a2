#pragma once
// The two Lua engines: one Lua library each, loaded at the first run, with a pool of Lua
// states (one per nesting level) and the lock that serialises the engine's runs.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "script/lua_module.h"
#include "script/script_plugin.h"

namespace Plugin {

class LuaBase : public ScriptPlugin {
 public:
  // How deeply runs of one engine may nest (a script applying a script filter).
  static constexpr int32_t kMaxDepth = 4;

  // Closes every pooled state, then frees the library.
  ~LuaBase() override;

  std::unique_ptr<ScriptPluginInstance> createMovementInstance(
      const Effect::ScriptMovement& movement, const Effect::EffectItemNumber& item,
      const Effect::SectionPosition& section, const Effect::EffectContext& context) override;
  std::unique_ptr<ScriptPluginInstance> createEffectInstance(
      Effect::ScriptEffect& effect, Effect::EffectContext& context) override;

  // The state of the next nesting level: the pooled one, kept with whatever globals earlier
  // runs left, or a new one with the libraries and the interface functions. Throws "lua
  // recursive call limit exceeded." past the fourth level. Under the engine lock.
  lua_State* createLuaState();
  // The level's state goes back to the pool. Under the engine lock.
  void releaseLuaState() { --depth_; }

  const LuaFunctions& functions() const { return module_.functions(); }
  std::recursive_mutex& engineLock() { return lock_; }
  int32_t depth() const { return depth_; }

 protected:
  using ScriptPlugin::ScriptPlugin;

 private:
  LuaModule module_;
  std::vector<lua_State*> pool_;  // index = nesting depth
  int32_t depth_ = 0;             // states in use
  std::recursive_mutex lock_;
};

// The Lua 5.1 engine.
class LuaScript final : public LuaBase {
 public:
  static constexpr const char* kClassName = "Plugin::LuaScript";
  LuaScript() : LuaBase("Lua5.1.4", "lua", "liblua5.1.so.0") {}
};

// The LuaJIT engine, the default of scripts that name none.
class LuaJitScript final : public LuaBase {
 public:
  static constexpr const char* kClassName = "Plugin::LuaJitScript";
  LuaJitScript() : LuaBase("LuaJIT2.1", "luaJIT", "libluajit-5.1.so.2") {}
};

}  // namespace Plugin
