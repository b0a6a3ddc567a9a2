#include "script/script_current.h"

namespace Plugin {
namespace {

struct CurrentScript {
  ScriptPluginInstance* instance = nullptr;
  const LuaFunctions* functions = nullptr;
  std::string prefix;
  ScriptFontState font;
};

CurrentScript& current() {
  thread_local CurrentScript state;
  return state;
}

}  // namespace

ScriptPluginInstance* currentScriptInstance() { return current().instance; }

const LuaFunctions* currentLuaFunctions() { return current().functions; }

void setCurrentScript(ScriptPluginInstance* instance, const LuaFunctions* functions) {
  current().instance = instance;
  current().functions = functions;
}

std::string& assignmentPrefix() { return current().prefix; }

ScriptFontState& scriptFontState() { return current().font; }

}  // namespace Plugin
