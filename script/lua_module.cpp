#include "script/lua_module.h"

#include <dlfcn.h>

#include "system/exception.h"
#include "system/log.h"

namespace Plugin {
namespace {

constexpr const char* kLoadPlace = "Plugin::LuaModule::loadModule";

std::string loaderError() {
  const char* text = ::dlerror();
  return text ? text : "unknown error";
}

// Closes a library that failed half-way through its resolution.
struct LibraryGuard {
  void* handle;
  ~LibraryGuard() {
    if (handle) ::dlclose(handle);
  }
};

}  // namespace

void LuaModule::loadModule(const std::string& fileName) {
  if (handle_) return;
  System::Log::info(kLoadPlace, "load script module [%s]", fileName.c_str());
  ::dlerror();
  // The library's own symbols stay local: the two engines export the same names.
  LibraryGuard library{::dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL)};
  if (!library.handle) throw System::makeException(kLoadPlace, "dlopen() failed.", loaderError());
  LuaFunctions resolved;
#define VELUMO_LUA_RESOLVE(name)                                                          \
  ::dlerror();                                                                            \
  resolved.name = reinterpret_cast<decltype(resolved.name)>(::dlsym(library.handle, #name)); \
  if (!resolved.name) throw System::makeException(kLoadPlace, "dlsym() failed.", loaderError());
  VELUMO_LUA_ENTRY_POINTS(VELUMO_LUA_RESOLVE)
#undef VELUMO_LUA_RESOLVE
  functions_ = resolved;
  handle_ = library.handle;
  library.handle = nullptr;
}

void LuaModule::freeModule() {
  if (!handle_) return;
  System::Log::info("Plugin::LuaModule::freeModule", "free script module");
  ::dlclose(handle_);
  handle_ = nullptr;
  functions_ = LuaFunctions{};
}

}  // namespace Plugin
