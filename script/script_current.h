#pragma once
// What the interface functions called by a running script find without being told: the
// instance that runs the script, the entry points of its engine's library, the assignment
// prefix of the run and the font state that `setfont` sets.
//
// Every run lives on one thread from its start to its end, so this state is kept per
// thread: two engines may run at once on two threads, each thread seeing its own run, and
// a nested run on the same thread replaces the outer one until it ends.
#include <string>

namespace Plugin {

class ScriptPluginInstance;
struct LuaFunctions;

// The innermost live instance of this thread, or null outside a run.
ScriptPluginInstance* currentScriptInstance();
// The entry points of the current instance's engine, or null outside a run.
const LuaFunctions* currentLuaFunctions();
// Makes the pair current (an instance at its start, and the saved pair at its end).
void setCurrentScript(ScriptPluginInstance* instance, const LuaFunctions* functions);

// The assignments that a run puts in front of its script text.
std::string& assignmentPrefix();

struct ScriptColor {
  float red, green, blue, alpha;
};

// The text look that `setfont` chooses for the text a script loads; reset at the start of
// every effect run.
struct ScriptFontState {
  std::string name;  // empty: the default family
  float size = 40.0f;
  int type = 0;
  ScriptColor color1{1.0f, 1.0f, 1.0f, 1.0f};
  ScriptColor color2{0.0f, 0.0f, 0.0f, 1.0f};
};
ScriptFontState& scriptFontState();

}  // namespace Plugin
