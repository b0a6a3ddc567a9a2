#pragma once
// Pixel shaders that read and write images (the 3-D depth and transparency buffers) must
// see the fragments of one pixel in primitive order. Where the driver has fragment shader
// interlock, the whole body of such a shader runs inside the interlock's critical section.
//
// Where it has not, the shader runs as written: plain image loads and stores, with a
// barrier after every vertex draw (gl/vertex_draw.h), so that one draw always sees what the
// previous draw wrote. Fragments of the same draw that cover the same pixel then race on a
// driver that shades them in parallel; the software rasterizer shades them one after the
// other in primitive order when it runs on one thread.
#include <string>
#include <string_view>

namespace Media::Gl {

inline constexpr const char* kFragmentInterlockExtension = "GL_ARB_fragment_shader_interlock";

// The GLSL with the interlock extension enabled, its main() renamed and called by a new
// main() between the begin and end of the critical section. Text without a "#version" line
// or a main() comes back unchanged.
std::string withFragmentInterlock(std::string_view glsl);

}  // namespace Media::Gl
