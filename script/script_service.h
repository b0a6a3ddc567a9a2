#pragma once
// The registry of script engines by name. Created at start-up; the engines it holds load
// their libraries only when a script first runs on them.
#include <map>
#include <memory>
#include <string>

#include "script/script_plugin.h"
#include "system/service_holder.h"

namespace Plugin {

class ScriptService : public System::Service<ScriptService> {
 public:
  // The engine scripts use when they name none.
  static constexpr const char* kDefaultEngine = "luaJIT";

  // Builds an engine of class `Engine`, registers it under its name and logs
  // "register script plugin [%s]" with its version.
  template <class Engine>
  void registerPlugin() {
    add(std::make_shared<Engine>());
  }

  // The engine named exactly `name` (null: the default). An unknown name throws "not found
  // script plugin." with the name as the note.
  std::shared_ptr<ScriptPlugin> findScriptPlugin(const char* name) const;
  // findScriptPlugin of the process's service; without the service no name is found.
  static std::shared_ptr<ScriptPlugin> findEngine(const char* name);

 private:
  void add(std::shared_ptr<ScriptPlugin> engine);

  std::map<std::string, std::shared_ptr<ScriptPlugin>> plugins_;
};

// Registers the Lua 5.1 engine, then the LuaJIT engine. An engine that cannot be built is
// reported in a message box and left out; the start goes on.
void registerScriptPlugins(ScriptService& service);

}  // namespace Plugin
