#include "script/lua_api/number_functions.h"

#include <algorithm>
#include <cmath>

#include "builtin/movement/random_move.h"
#include "edit/scene.h"
#include "effect/effect_context.h"
#include "script/lua_api/lua_api.h"
#include "system/interpolation.h"

namespace Plugin::LuaApi {

namespace {

const LuaFunctions& lua() { return *currentLuaFunctions(); }

uint32_t low32(lua_Integer value) { return static_cast<uint32_t>(value); }

int pushUnsigned32(lua_State* state, uint32_t value) {
  lua().lua_pushinteger(state, static_cast<lua_Integer>(value));
  return 1;
}

// How far the run's instant lies into the object: 0 at its first frame, approaching 1 at its
// end, not clamped. 0 for an object without frames.
double objectProgress() {
  const Effect::EffectContext& context = currentScriptInstance()->context();
  const double first = context.objectFrames.start;
  const double length = static_cast<double>(context.objectFrames.end) - first + 1.0;
  if (!(length > 0.0)) return 0.0;
  return (context.time - first) / length;
}

// The two colours of a gradient form: arguments 1 to 3 and 4 to 6, read in the order 4, 1,
// 5, 2, 6, 3 (so an argument error names the first bad one of that order).
template <class Value, class Check>
void readGradient(lua_State* state, Check check, Value (&from)[3], Value (&to)[3]) {
  for (int component = 0; component < 3; ++component) {
    to[component] = check(state, component + 4);
    from[component] = check(state, component + 1);
  }
}

// One channel of a colour gradient at progress g, rounded half away from zero.
int32_t mixedChannel(lua_Integer from, lua_Integer to, double g) {
  const double mixed = static_cast<double>(from) * (1.0 - g) + static_cast<double>(to) * g;
  if (!(mixed > 0.0)) return 0;
  return static_cast<int32_t>(std::lround(std::min(mixed, 255.0)));
}

int32_t clampedChannel(lua_Integer channel) {
  return static_cast<int32_t>(std::clamp<lua_Integer>(channel, 0, 255));
}

int pushColor(lua_State* state, int32_t red, int32_t green, int32_t blue) {
  lua().lua_pushinteger(state, red * 65536 + green * 256 + blue);
  return 1;
}

}  // namespace

int32_t packColor(const Media::Color::Rgba& color) {
  const Media::Color::Rgb8 bytes = Media::Color::toRgb8(color.red, color.green, color.blue);
  return bytes.red * 65536 + bytes.green * 256 + bytes.blue;
}

int OR(lua_State* state) {
  const lua_Integer a = lua().luaL_checkinteger(state, 1);
  const lua_Integer b = lua().luaL_checkinteger(state, 2);
  return pushUnsigned32(state, low32(a) | low32(b));
}

int AND(lua_State* state) {
  const lua_Integer a = lua().luaL_checkinteger(state, 1);
  const lua_Integer b = lua().luaL_checkinteger(state, 2);
  return pushUnsigned32(state, low32(a) & low32(b));
}

int XOR(lua_State* state) {
  const lua_Integer a = lua().luaL_checkinteger(state, 1);
  const lua_Integer b = lua().luaL_checkinteger(state, 2);
  return pushUnsigned32(state, low32(a) ^ low32(b));
}

int SHIFT(lua_State* state) {
  // Both arguments are signed 32-bit integers: a left shift stays within 32 bits, a right
  // shift keeps the sign.
  const auto a = static_cast<int32_t>(low32(lua().luaL_checkinteger(state, 1)));
  const auto n = static_cast<int32_t>(low32(lua().luaL_checkinteger(state, 2)));
  int64_t result = 0;
  if (n >= 0) {
    result = static_cast<int32_t>(static_cast<uint32_t>(a) << (n % 32));
  } else {
    result = static_cast<int64_t>(a) >> ((-static_cast<int64_t>(n)) % 64);
  }
  lua().lua_pushinteger(state, static_cast<lua_Integer>(result));
  return 1;
}

int RGB(lua_State* state) {
  const LuaFunctions& api = lua();
  const int count = api.lua_gettop(state);
  if (count < 3) {
    const lua_Integer color = api.luaL_checkinteger(state, 1);
    api.lua_pushinteger(state, (color >> 16) & 255);
    api.lua_pushinteger(state, (color >> 8) & 255);
    api.lua_pushinteger(state, color & 255);
    return 3;
  }
  if (count < 6) {
    const lua_Integer red = api.luaL_checkinteger(state, 1);
    const lua_Integer green = api.luaL_checkinteger(state, 2);
    const lua_Integer blue = api.luaL_checkinteger(state, 3);
    return pushColor(state, clampedChannel(red), clampedChannel(green), clampedChannel(blue));
  }
  // The gradient over the object's time: from the first colour to the second.
  lua_Integer from[3];
  lua_Integer to[3];
  readGradient(state, api.luaL_checkinteger, from, to);
  const double g = objectProgress();
  return pushColor(state, mixedChannel(from[0], to[0], g), mixedChannel(from[1], to[1], g),
                   mixedChannel(from[2], to[2], g));
}

int HSV(lua_State* state) {
  const LuaFunctions& api = lua();
  const int count = api.lua_gettop(state);
  if (count < 3) {
    const lua_Integer color = api.luaL_checkinteger(state, 1);
    const Media::Color::Hsv hsv = Media::Color::rgbToHsv(
        static_cast<float>((color >> 16) & 255) / 255.0f,
        static_cast<float>((color >> 8) & 255) / 255.0f, static_cast<float>(color & 255) / 255.0f);
    api.lua_pushnumber(state, hsv.hue * 360.0f);
    api.lua_pushnumber(state, hsv.saturation * 100.0f);
    api.lua_pushnumber(state, hsv.value * 100.0f);
    return 3;
  }
  double hue = 0.0;
  double saturation = 0.0;
  double value = 0.0;
  if (count < 6) {
    hue = api.luaL_checknumber(state, 1);
    saturation = api.luaL_checknumber(state, 2);
    value = api.luaL_checknumber(state, 3);
  } else {
    // The gradient over the object's time, mixed in HSV rather than in RGB.
    double from[3];
    double to[3];
    readGradient(state, api.luaL_checknumber, from, to);
    const double g = objectProgress();
    hue = from[0] * (1.0 - g) + to[0] * g;
    saturation = from[1] * (1.0 - g) + to[1] * g;
    value = from[2] * (1.0 - g) + to[2] * g;
  }
  const Media::Color::Rgba rgb =
      Media::Color::hsvToRgb(static_cast<float>(hue / 360.0), static_cast<float>(saturation / 100.0),
                             static_cast<float>(value / 100.0));
  api.lua_pushinteger(state, packColor(rgb));
  return 1;
}

int rand(lua_State* state) {
  const LuaFunctions& api = lua();
  const int count = api.lua_gettop(state);
  const lua_Integer first = api.luaL_checkinteger(state, 1);
  const lua_Integer second = api.luaL_checkinteger(state, 2);
  const bool hasSeed = count >= 3;
  const lua_Integer seedArgument = hasSeed ? api.luaL_checkinteger(state, 3) : 0;
  const bool hasFrame = count >= 4;
  const lua_Integer frameArgument = hasFrame ? api.luaL_checkinteger(state, 4) : 0;

  const ScriptPluginInstance& instance = *currentScriptInstance();
  const Effect::EffectContext& context = instance.context();
  // By default the numbers differ between layers and, for effects, between the objects of
  // a set; a negative seed makes them the same everywhere.
  uint32_t seed = static_cast<uint32_t>(context.layerIndex) * 1913u;
  if (instance.isEffectRun()) seed += static_cast<uint32_t>(context.partIndex) * 757u;
  if (hasSeed) {
    if (seedArgument < 0) {
      seed = static_cast<uint32_t>(-static_cast<uint64_t>(seedArgument));
    } else {
      seed += low32(seedArgument);
    }
  }
  const auto frame = hasFrame ? static_cast<int32_t>(low32(frameArgument)) : context.frame;
  const uint64_t word =
      Effect::RandomMove::randomWord(frame, static_cast<int64_t>(static_cast<int32_t>(seed)));

  const lua_Integer low = std::min(first, second);
  const lua_Integer high = std::max(first, second);
  // A range up to 2^31 wide counts as the 32-bit width; a wider one takes its full width
  // (the whole 32-bit range would be 0 in 32 bits), so the divisor is never zero and the
  // number stays inside the range. 0 here: every 64-bit value.
  const uint64_t width = static_cast<uint64_t>(high) - static_cast<uint64_t>(low) + 1u;
  const uint64_t offset = width == 0 ? word : word % width;
  api.lua_pushinteger(state, static_cast<lua_Integer>(static_cast<uint64_t>(low) + offset));
  return 1;
}

int interpolation(lua_State* state) {
  const LuaFunctions& api = lua();
  const int count = api.lua_gettop(state);
  const int dimensions = count < 9 ? 1 : count < 13 ? 2 : 3;
  const double t = api.luaL_checknumber(state, 1);
  System::Point3D points[4];
  int slot = 2;
  for (System::Point3D& point : points) {
    double* coordinates[] = {&point.x, &point.y, &point.z};
    for (int axis = 0; axis < dimensions; ++axis)
      *coordinates[axis] = api.luaL_checknumber(state, slot++);
  }
  System::Point3D result;
  System::splineInterpolate3D(t, points[0], points[1], points[2], points[3], result);
  const double coordinates[] = {result.x, result.y, result.z};
  for (int axis = 0; axis < dimensions; ++axis) api.lua_pushnumber(state, coordinates[axis]);
  return dimensions;
}

int rotation(lua_State* state) {
  const LuaFunctions& api = lua();
  if (api.lua_gettop(state) != 10) return 0;
  float values[10];
  for (int slot = 1; slot <= 10; ++slot)
    values[slot - 1] = static_cast<float>(api.luaL_checknumber(state, slot));
  const float zoom = values[8];
  const float angle = values[9] * 0.017453292f;
  // One matrix: the uniform zoom about the origin combined with the rotation about it.
  const float c = zoom * std::cos(angle);
  const float s = zoom * std::sin(angle);
  for (int point = 0; point < 4; ++point) {
    const float x = values[point * 2];
    const float y = values[point * 2 + 1];
    api.lua_pushnumber(state, x * c - y * s);
    api.lua_pushnumber(state, x * s + y * c);
  }
  return 8;
}

}  // namespace Plugin::LuaApi
