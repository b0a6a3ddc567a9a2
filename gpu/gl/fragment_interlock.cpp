#include "gpu/gl/fragment_interlock.h"

namespace Media::Gl {

std::string withFragmentInterlock(std::string_view glsl) {
  constexpr std::string_view kMain = "void main()";
  constexpr std::string_view kOrderedMain = "void orderedFragmentMain()";
  const std::size_t version = glsl.find("#version");
  const std::size_t versionEnd = version == std::string_view::npos ? version : glsl.find('\n', version);
  const std::size_t main = glsl.find(kMain);
  if (versionEnd == std::string_view::npos || main == std::string_view::npos || main < versionEnd)
    return std::string(glsl);
  std::string result;
  result.reserve(glsl.size() + 256);
  result.append(glsl.substr(0, versionEnd + 1));
  // The interlock must be declared before any other declaration of the shader.
  result.append("#extension GL_ARB_fragment_shader_interlock : require\n");
  result.append("layout(pixel_interlock_ordered) in;\n");
  result.append(glsl.substr(versionEnd + 1, main - versionEnd - 1));
  result.append(kOrderedMain);
  result.append(glsl.substr(main + kMain.size()));
  // The body returns early and discards anywhere: only a wrapper keeps begin and end where
  // the extension allows them, once each, outside any flow control.
  result.append(
      "\nvoid main()\n{\n    beginInvocationInterlockARB();\n    orderedFragmentMain();\n"
      "    endInvocationInterlockARB();\n}\n");
  return result;
}

}  // namespace Media::Gl
