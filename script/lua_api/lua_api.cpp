#include "script/lua_api/lua_api.h"

#include "effect/script_record.h"
#include "script/lua_api/number_functions.h"
#include "system/log.h"
#include "system/text.h"

namespace Plugin {

std::string convertUtf8ToAnsi(std::string_view text) { return System::sanitizeUtf8(text); }

namespace LuaApi {

namespace {

// The functions of the later parts of the interface (values and options, drawing,
// buffers, shaders, loading, filters, anchors, movement points, fonts) join these tables
// in their places as they are built; until then a script that calls one finds nil.
const luaL_Reg kGlobalFunctions[] = {
    {"OR", OR},
    {"AND", AND},
    {"XOR", XOR},
    {"SHIFT", SHIFT},
    {"RGB", RGB},
    {"HSV", HSV},
    {"mes", mes},
    {"rand", rand},
    {"rotation", rotation},
    {"debug_print", debug_print},
    {nullptr, nullptr},
};

const luaL_Reg kObjectFunctions[] = {
    {"mes", mes},
    {"rand", rand},
    {"interpolation", interpolation},
    {"putpixel", unsupported},
    {"copypixel", unsupported},
    {"getpixeldata", unsupported},
    {"putpixeldata", unsupported},
    {"filter", unsupported},
    {nullptr, nullptr},
};

const LuaFunctions& lua() { return *currentLuaFunctions(); }

}  // namespace

const luaL_Reg* globalFunctions() { return kGlobalFunctions; }
const luaL_Reg* objectFunctions() { return kObjectFunctions; }

int raiseHostFailure(lua_State* state) {
  // The text stays with the instance until the run has thrown it, so it outlives the jump.
  return lua().luaL_error(state, "%s", currentScriptInstance()->hostFailureText().c_str());
}

int mes(lua_State* state) {
  std::size_t length = 0;
  const char* text = lua().luaL_checklstring(state, 1, &length);
  return hostCall(state, [&] {
    currentScriptInstance()->scriptText += System::sanitizeUtf8(std::string_view(text, length));
    return 0;
  });
}

int debug_print(lua_State* state) {
  std::size_t length = 0;
  const char* text = lua().luaL_checklstring(state, 1, &length);
  return hostCall(state, [&] {
    System::Log::write(System::Log::SCRIPT, currentScriptInstance()->definition().name,
                       System::sanitizeUtf8(std::string_view(text, length)));
    return 0;
  });
}

int unsupported(lua_State* state) { return lua().luaL_error(state, "unsupported"); }

std::string resolveScriptPath(std::string_view path) {
  std::string text = System::sanitizeUtf8(path);
  // Absolute: from the root, or a drive form ("C:\" or "C:/") anywhere in the text.
  const bool absolute = (!text.empty() && (text.front() == '/' || text.front() == '\\')) ||
                        text.find(":\\") != std::string::npos ||
                        text.find(":/") != std::string::npos;
  if (absolute) return text;
  return currentScriptInstance()->definition().directory + "/" + text;
}

}  // namespace LuaApi
}  // namespace Plugin
