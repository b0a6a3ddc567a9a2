#include "gpu/shader/builtin_shader_code.h"

#include <string>

#include "system/exception.h"

namespace Media {

const BuiltinShaderCode& findBuiltinShaderCode(std::string_view name) {
  for (const BuiltinShaderCode& entry : builtinShaderCodes())
    if (name == entry.name) return entry;
  throw System::makeException("Media::findBuiltinShaderCode", "built-in shader not found.",
                              std::string(name));
}

}  // namespace Media
