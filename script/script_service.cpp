#include "script/script_service.h"

#include <exception>

#include "script/lua_base.h"
#include "system/dialog.h"
#include "system/exception.h"
#include "system/log.h"

namespace Plugin {

namespace {

template <class Engine>
void registerReported(ScriptService& service) {
  try {
    service.registerPlugin<Engine>();
  } catch (const std::exception& failure) {
    Dialog::showError("failed to register script plugin. [%s]\n\n%s", Engine::kClassName,
                      failure.what());
  }
}

}  // namespace

void ScriptService::add(std::shared_ptr<ScriptPlugin> engine) {
  const std::string name = engine->name;
  System::Log::info("Plugin::ScriptService::registerPlugin", "register script plugin [%s]",
                    engine->version.c_str());
  plugins_[name] = std::move(engine);
}

std::shared_ptr<ScriptPlugin> ScriptService::findScriptPlugin(const char* name) const {
  const char* key = name ? name : kDefaultEngine;
  const auto found = plugins_.find(key);
  if (found == plugins_.end())
    throw System::makeException("Plugin::ScriptService::findScriptPlugin",
                                "not found script plugin.", key);
  return found->second;
}

std::shared_ptr<ScriptPlugin> ScriptService::findEngine(const char* name) {
  if (const ScriptService* service = instance()) return service->findScriptPlugin(name);
  throw System::makeException("Plugin::ScriptService::findScriptPlugin", "not found script plugin.",
                              name ? name : kDefaultEngine);
}

void registerScriptPlugins(ScriptService& service) {
  registerReported<LuaScript>(service);
  registerReported<LuaJitScript>(service);
}

}  // namespace Plugin
