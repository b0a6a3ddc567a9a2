#include "script/lua_instance.h"

#include <stdexcept>

#include "effect/effect_context.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_combo_file.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_font_select.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"
#include "effect/effect_item_string.h"
#include "effect/script_effect.h"
#include "effect/script_record.h"
#include "gpu/resource_buffer.h"
#include "render/effect_chain.h"
#include "script/lua_api/lua_api.h"
#include "script/script_current.h"
#include "script/script_error_text.h"
#include "script/item_cast.h"
#include "system/exception.h"
#include "system/log.h"
#include "system/text.h"

// The host's own calls into the Lua library (settop, getfield, setfield, pushstring,
// loadstring, pcall) are made outside any protected call. In that position a Lua error
// does not return: the library's panic handler ends the process. These calls work on plain
// tables the host made or checked, where the library raises only when memory runs out, so
// no C++ object of these frames is ever skipped by a long jump. Errors of the script itself
// happen inside lua_pcall, which catches them in the library's own frames.

namespace Plugin {

namespace {

std::string quoted(std::string_view text) {
  std::string result = "\"";
  result += text;
  result += '"';
  return result;
}

std::string doubledBackslashes(std::string_view text) {
  std::string result;
  for (char c : text) {
    result += c;
    if (c == '\\') result += '\\';
  }
  return result;
}

double colorNumber(const Effect::EffectItemColor& color) {
  return color.red * 65536.0 + color.green * 256.0 + color.blue;
}

const std::string_view& fontFace(const Effect::EffectItemFontSelect& font) {
  const auto list = font.list ? font.list : Effect::EffectItemFontSelect::getFontList();
  const auto entry = list->entries.find(font.value);
  if (entry == list->entries.end()) throw std::out_of_range("invalid map<K, T> key");
  return entry->second;
}

}  // namespace

std::unique_ptr<LuaInstance> LuaInstance::create(LuaBase& engine, const Binding& binding) {
  std::unique_ptr<LuaInstance> instance(new LuaInstance(engine, binding));
  instance->lock_ = std::unique_lock(engine.engineLock());
  // A state that cannot be had leaves the depth as it was; the destructor unlocks.
  instance->state_ = engine.createLuaState();
  instance->savedInstance_ = currentScriptInstance();
  instance->savedFunctions_ = currentLuaFunctions();
  setCurrentScript(instance.get(), &engine.functions());
  instance->current_ = true;
  return instance;
}

LuaInstance::LuaInstance(LuaBase& engine, const Binding& binding)
    : ScriptPluginInstance(binding), engine_(engine), lua_(engine.functions()) {}

LuaInstance::~LuaInstance() {
  if (state_) engine_.releaseLuaState();
  if (current_) setCurrentScript(savedInstance_, savedFunctions_);
  if (lock_.owns_lock()) lock_.unlock();
}

// ---- runs --------------------------------------------------------------------------------

void LuaInstance::executeEffect(const std::string& text) {
  lua_.lua_settop(state_, 0);
  scriptFontState() = ScriptFontState{};
  setPackagePath();
  setScriptVariables();
  setObjectVariables();
  // The prefix is one line, so the chunk's line numbers are the script's.
  std::string chunk = assignmentPrefix();
  chunk += text;
  if (lua_.luaL_loadstring(state_, chunk.c_str()) != 0) failRun(chunk);
  if (lua_.lua_pcall(state_, 0, 0, 0) != 0) failRun(chunk);
  getObjectVariables();
  if (drawn && objectImage()) {
    // The script drew the object itself: its handles take the image's size, and the
    // caller receives no image to draw again.
    Render::Chain::updateAnchor(getRenderVideoTarget(), static_cast<int>(objectImage()->width()),
                                static_cast<int>(objectImage()->height()));
    setObjectImage({});
  }
}

double LuaInstance::executeMovement(const std::string& text) {
  lua_.lua_settop(state_, 0);
  setPackagePath();
  if (lua_.luaL_loadstring(state_, text.c_str()) != 0) failRun(text);
  if (lua_.lua_pcall(state_, 0, 1, 0) != 0) failRun(text);
  return lua_.lua_tonumber(state_, 1);
}

void LuaInstance::failRun(std::string_view chunk) {
  std::size_t length = 0;
  const char* message = lua_.lua_tolstring(state_, -1, &length);
  const std::string error = message ? std::string(message, length) : std::string();
  std::exception_ptr hostFailure = takeHostFailure();
  logScriptError(error, chunk);
  lua_.lua_settop(state_, -2);
  // A failure of the host inside an interface function reaches the caller as itself.
  if (hostFailure) std::rethrow_exception(hostFailure);
  throw System::Exception(convertUtf8ToAnsi(error));
}

void LuaInstance::logScriptError(std::string_view error, std::string_view chunk) const {
  System::Log::write(System::Log::SCRIPT, definition().name, composeScriptErrorText(error, chunk));
}

// Modules of a script are looked for beside its file. A script that replaced the table
// package gets no paths (the host must not raise outside a protected call).
void LuaInstance::setPackagePath() {
  const std::string path = definition().directory + "/?.lua";
  const std::string cpath = path.substr(0, path.size() - 4) + ".so";
  for (const auto& [field, value] : {std::pair{"path", &path}, std::pair{"cpath", &cpath}}) {
    lua_.lua_getfield(state_, LUA_GLOBALSINDEX, "package");
    if (lua_.lua_type(state_, -1) == LUA_TTABLE) {
      lua_.lua_pushstring(state_, value->c_str());
      lua_.lua_setfield(state_, -2, field);
    }
    lua_.lua_settop(state_, -2);
  }
}

// ---- variables ---------------------------------------------------------------------------

void LuaInstance::setScriptVariables() {
  const Effect::ScriptEffect& effect = getEffect();
  const Effect::EffectContext& context = getRenderVideoTarget();
  std::string& prefix = assignmentPrefix();
  prefix.clear();
  VariableAccessSection section(*this);
  for (const Effect::ScriptVariable& variable : effect.scriptVariables()) {
    const Effect::EffectItem& item = *variable.item;
    // "@" names an assignment in the prefix; a plain name a field of obj, which only
    // numbers and checks have (texts are assigned under their plain name).
    const bool assigned = !variable.name.empty() && variable.name.front() == '@';
    std::string value;
    switch (item.typeCode) {
      case Effect::ItemType::Number: {
        const double number = itemAs<Effect::EffectItemNumber>(item).getValue(context);
        if (!assigned) {
          setFieldNumber(variable.name.c_str(), number);
          continue;
        }
        value = System::formatFixed(number);
        break;
      }
      case Effect::ItemType::Check: {
        const bool on = itemAs<Effect::EffectItemCheck>(item).value;
        if (!assigned) {
          setFieldBoolean(variable.name.c_str(), on);
          continue;
        }
        value = on ? "1" : "0";
        break;
      }
      case Effect::ItemType::String:
        value = quoted(itemAs<Effect::EffectItemString>(item).value);
        break;
      case Effect::ItemType::ScriptString1:
        value = itemAs<Effect::EffectItemString>(item).value;
        break;
      case Effect::ItemType::ScriptString2:
        value = "{" + itemAs<Effect::EffectItemString>(item).value + "}";
        break;
      case Effect::ItemType::File:
        if (!assigned) continue;
        value = quoted(doubledBackslashes(itemAs<Effect::EffectItemFile>(item).path));
        break;
      case Effect::ItemType::Color:
        if (!assigned) continue;
        value = System::formatFixed(colorNumber(itemAs<Effect::EffectItemColor>(item)));
        break;
      case Effect::ItemType::ColorOrNone: {
        if (!assigned) continue;
        const auto& color = itemAs<Effect::EffectItemColor>(item);
        value = color.none ? "nil" : System::formatFixed(colorNumber(color));
        break;
      }
      case Effect::ItemType::Select:
        if (!assigned) continue;
        value = System::formatFixed(itemAs<Effect::EffectItemSelect>(item).value);
        break;
      case Effect::ItemType::FontSelect:
        if (!assigned) continue;
        value = quoted(fontFace(itemAs<Effect::EffectItemFontSelect>(item)));
        break;
      case Effect::ItemType::FigureSelect:
        if (!assigned) continue;
        value = quoted(doubledBackslashes(itemAs<Effect::EffectItemFigureSelect>(item).toString()));
        break;
      default:
        throw System::makeNotImplementedException("Plugin::LuaInstance::setScriptVariables");
    }
    prefix += assigned ? std::string_view(variable.name).substr(1) : variable.name;
    prefix += '=';
    prefix += value.empty() ? "nil" : value;
    prefix += ';';
  }
}

void LuaInstance::setObjectVariables() {
  VariableAccessSection section(*this);
  ScriptPluginInstance::setObjectVariables();
}

void LuaInstance::getObjectVariables() {
  VariableAccessSection section(*this);
  ScriptPluginInstance::getObjectVariables();
}

double LuaInstance::getFieldNumber(const char* name) {
  lua_.lua_getfield(state_, -1, name);
  const double value = lua_.lua_tonumber(state_, -1);
  lua_.lua_settop(state_, -2);
  return value;
}

void LuaInstance::setFieldNumber(const char* name, double value) {
  lua_.lua_pushnumber(state_, value);
  lua_.lua_setfield(state_, -2, name);
}

void LuaInstance::setFieldBoolean(const char* name, bool value) {
  lua_.lua_pushboolean(state_, value ? 1 : 0);
  lua_.lua_setfield(state_, -2, name);
}

LuaInstance::VariableAccessSection::VariableAccessSection(LuaInstance& instance)
    : instance_(instance) {
  const LuaFunctions& lua = instance.lua_;
  lua.lua_getfield(instance.state_, LUA_GLOBALSINDEX, "obj");
  if (lua.lua_type(instance.state_, -1) != LUA_TTABLE) {
    lua.lua_settop(instance.state_, -2);
    throw System::makeException(
        "Plugin::LuaInstance::VariableAccessSection::VariableAccessSection",
        "obj table not defined");
  }
}

LuaInstance::VariableAccessSection::~VariableAccessSection() {
  instance_.lua_.lua_settop(instance_.state_, -2);
}

}  // namespace Plugin
