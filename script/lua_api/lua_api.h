#pragma once
// The frame of the Lua programming interface: the two registration tables every new Lua
// state gets (global functions, and the functions of the table obj), the functions of the
// frame itself, and the rules every interface function follows.
//
// An interface function is called by the Lua library inside the script's protected call.
// It finds its run through the current script instance and calls the library only through
// the current Lua function table. A Lua error leaves the function by a long jump (the
// library is C), skipping every destructor on the way, so each function reads and checks
// its arguments before it makes any C++ object, does its work inside hostCall, and raises
// any Lua error of its own only after its objects are gone.
#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include <lua5.1/lua.hpp>

#include "script/lua_module.h"
#include "script/script_current.h"
#include "script/script_plugin_instance.h"

namespace Plugin {

// UTF-8 text in the system's ANSI code page, which is UTF-8 here: invalid sequences are
// replaced as a code-page conversion would.
std::string convertUtf8ToAnsi(std::string_view text);

namespace LuaApi {

// The arrays registered under "_G" and "obj", each closed by a pair of nulls.
const luaL_Reg* globalFunctions();
const luaL_Reg* objectFunctions();

// Runs the C++ part of an interface function. A host failure (an exception) is kept by
// the current instance and turned into a Lua error once the exception is gone, so that the
// library unwinds the script properly and the run throws the failure again afterwards.
// `work` returns the number of results it pushed.
int raiseHostFailure(lua_State* state);
template <class Work>
int hostCall(lua_State* state, Work&& work) {
  bool failed = false;
  int results = 0;
  try {
    results = std::forward<Work>(work)();
  } catch (const std::exception& failure) {
    currentScriptInstance()->keepHostFailure(std::current_exception(), failure.what());
    failed = true;
  }
  if (failed) return raiseHostFailure(state);
  return results;
}

// The functions of the frame.
int mes(lua_State* state);
int debug_print(lua_State* state);
int unsupported(lua_State* state);

// A path a script names, in the file system: absolute as it is, otherwise relative to the
// folder of the current script's file.
std::string resolveScriptPath(std::string_view path);

}  // namespace LuaApi
}  // namespace Plugin
