#pragma once
// The number and colour functions of the Lua programming interface: bit operations on
// 32-bit integers, colours packed as 0xRRGGBB and converted to and from HSV, the random
// numbers that depend only on the object and the frame, the spline through four points and
// the rotation of four points. None of them touches an image.
#include <cstdint>

#include <lua5.1/lua.hpp>

#include "gpu/image/color.h"

namespace Plugin::LuaApi {

int OR(lua_State* state);
int AND(lua_State* state);
int XOR(lua_State* state);
int SHIFT(lua_State* state);
int RGB(lua_State* state);
int HSV(lua_State* state);
int rand(lua_State* state);
int rotation(lua_State* state);
int interpolation(lua_State* state);

// A colour of floats 0..1 as 0xRRGGBB, each channel rounded and clamped to 0..255.
int32_t packColor(const Media::Color::Rgba& color);

}  // namespace Plugin::LuaApi
