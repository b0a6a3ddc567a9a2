#pragma once
// The run of a script on one of the Lua engines. From its creation to its end it holds the
// engine's lock, uses the pooled state of its nesting level and is the current script
// instance of its thread.
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "script/lua_base.h"
#include "script/script_plugin_instance.h"

namespace Plugin {

class LuaInstance final : public ScriptPluginInstance {
 public:
  // Locks the engine, takes the state of the next level and becomes the current instance.
  // A state that cannot be had (the nesting limit, a library that does not load) unlocks
  // and throws; nothing has changed then.
  static std::unique_ptr<LuaInstance> create(LuaBase& engine, const Binding& binding);
  // Gives the state back, makes the saved instance current again and unlocks.
  ~LuaInstance() override;

  void executeEffect(const std::string& text) override;
  double executeMovement(const std::string& text) override;
  void setObjectVariables() override;
  void getObjectVariables() override;
  void setScriptVariables() override;
  double getFieldNumber(const char* name) override;
  void setFieldNumber(const char* name, double value) override;
  void setFieldBoolean(const char* name, bool value) override;

  // The Lua state of this run's nesting level.
  lua_State* luaState() const { return state_; }

  // While it lives, the global table obj is on top of the stack (for the field access).
  // Throws "obj table not defined" when obj is no table.
  class VariableAccessSection {
   public:
    explicit VariableAccessSection(LuaInstance& instance);
    ~VariableAccessSection();
    VariableAccessSection(const VariableAccessSection&) = delete;
    VariableAccessSection& operator=(const VariableAccessSection&) = delete;

   private:
    LuaInstance& instance_;
  };

 private:
  LuaInstance(LuaBase& engine, const Binding& binding);

  void setPackagePath();
  // Ends a run whose load or call failed: logs the message with the lines around its
  // position and throws it (or the host failure that caused it).
  [[noreturn]] void failRun(std::string_view chunk);
  // The SCRIPT line of a failed run.
  void logScriptError(std::string_view error, std::string_view chunk) const;

  LuaBase& engine_;
  const LuaFunctions& lua_;
  lua_State* state_ = nullptr;
  ScriptPluginInstance* savedInstance_ = nullptr;
  const LuaFunctions* savedFunctions_ = nullptr;
  bool current_ = false;
  std::unique_lock<std::recursive_mutex> lock_;
};

}  // namespace Plugin
