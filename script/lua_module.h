#pragma once
// The binding to one Lua library, loaded at run time by file name: the library's handle and
// the table of its entry points that the host and the interface functions call. Nothing in
// the program links a Lua library; the headers give only the types and constants.
#include <string>

#include <lua5.1/lua.hpp>

namespace Plugin {

// The entry points, in the order they are resolved.
#define VELUMO_LUA_ENTRY_POINTS(X)                                                          \
  X(luaL_checknumber) X(luaL_checkinteger) X(luaL_checklstring) X(lua_pcall)               \
  X(lua_tolstring) X(luaL_loadstring) X(lua_settop) X(luaL_register) X(luaL_openlibs)      \
  X(luaL_newstate) X(lua_close) X(lua_pushnumber) X(lua_setfield) X(lua_pushnil)           \
  X(lua_getfield) X(lua_tonumber) X(lua_tointeger) X(lua_pushinteger) X(lua_gettop)        \
  X(lua_createtable) X(lua_pushboolean) X(lua_isnumber) X(lua_isstring) X(lua_sethook)     \
  X(luaL_error) X(lua_settable) X(lua_type) X(lua_gettable) X(lua_pushstring)              \
  X(lua_pushlightuserdata) X(lua_touserdata) X(lua_toboolean) X(lua_isuserdata)            \
  X(lua_newuserdata) X(lua_next) X(lua_objlen) X(lua_rawget)

// The Lua function table of an engine: one pointer per entry point, all set or all null.
struct LuaFunctions {
#define VELUMO_LUA_MEMBER(name) decltype(&::name) name = nullptr;
  VELUMO_LUA_ENTRY_POINTS(VELUMO_LUA_MEMBER)
#undef VELUMO_LUA_MEMBER
};

class LuaModule {
 public:
  LuaModule() = default;
  ~LuaModule() { freeModule(); }
  LuaModule(const LuaModule&) = delete;
  LuaModule& operator=(const LuaModule&) = delete;

  // Loads the library once ("load script module [%s]" at INFO) and resolves every entry
  // point. A library that cannot be loaded throws "dlopen() failed.", one that lacks an
  // entry point "dlsym() failed." (the loader's text as the note); either way nothing stays
  // loaded, so the next call tries again and a half-resolved table is never used.
  void loadModule(const std::string& fileName);
  // Releases the library ("free script module" at INFO) when one is loaded.
  void freeModule();

  bool isLoaded() const { return handle_ != nullptr; }
  const LuaFunctions& functions() const { return functions_; }

 private:
  void* handle_ = nullptr;
  LuaFunctions functions_;
};

}  // namespace Plugin
