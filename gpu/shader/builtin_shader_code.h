#pragma once
// The built-in shaders' code, compiled from shaders/*.hlsl when the program is built.
//
// Each entry is the SPIR-V of one shader, named after its source file without extension
// ("quad_position_vs"); the suffix names the stage (_vs vertex, _ps pixel, _cs compute).
// Owners load an entry with the shader classes' loadFromMemory, as they would any code.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace Media {

struct BuiltinShaderCode {
  const char* name;
  const uint32_t* code;
  std::size_t size;  // in bytes
};

// Every built-in shader, in the order of their names.
std::span<const BuiltinShaderCode> builtinShaderCodes();

// The entry of that name; throws "built-in shader not found." with the name as note.
const BuiltinShaderCode& findBuiltinShaderCode(std::string_view name);

}  // namespace Media
