#include "gpu/gl/picture_overlay.h"

#include <memory>
#include <mutex>

#include "gpu/direct3d_service.h"
#include "gpu/gl/gl_context.h"
#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_program.h"
#include "gpu/gl/gl_texture.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/blend_state_list.h"
#include "gpu/shader/pipeline_state.h"

namespace Media {
namespace {

constexpr const char* kUploadPlace = "Media::RenderTargetDirect3D::clearTarget";

// The drawn picture at its place in the image; a mask takes its coverage in red, with the
// alpha that the "over" blend multiplies the mask by.
constexpr const char* kPixelSource = R"(#version 450 core
layout(binding = 0) uniform sampler2D picture;
layout(location = 0) uniform ivec2 offset;
layout(location = 1) uniform int alphaOnly;
layout(location = 0) out vec4 result;
void main() {
  vec4 c = texelFetch(picture, ivec2(gl_FragCoord.xy) - offset, 0);
  result = alphaOnly != 0 ? vec4(c.a, 0.0, 0.0, c.a) : c;
}
)";

// The programs that lay pictures over images, made once per device.
struct OverPrograms {
  uint64_t deviceId = 0;
  std::unique_ptr<GlProgram> vertex;
  std::unique_ptr<GlProgram> pixel;
};

std::mutex overProgramsMutex;
std::unique_ptr<OverPrograms> overPrograms;

OverPrograms& programsFor(GlDevice& device) {
  std::lock_guard lock(overProgramsMutex);
  if (!overPrograms || overPrograms->deviceId != device.id()) {
    auto programs = std::make_unique<OverPrograms>();
    programs->deviceId = device.id();
    programs->vertex = std::make_unique<GlProgram>(GL_VERTEX_SHADER, kFullTargetVertexSource, kUploadPlace);
    programs->pixel = std::make_unique<GlProgram>(GL_FRAGMENT_SHADER, kPixelSource, kUploadPlace);
    overPrograms = std::move(programs);
  }
  return *overPrograms;
}

const BlendState& premultipliedOver() {
  static const BlendState state{Shader::BlendStateList::description(0)};
  return state;
}

const RasterizerState& solidWithoutCulling() {
  static const RasterizerState state{RasterizerDescription{FillMode::SOLID, CullMode::NONE}};
  return state;
}

}  // namespace

void overlayPicture(ResourceBuffer& buffer, uint32_t x, uint32_t y, uint32_t width,
                    uint32_t height, const uint8_t* pixels, uint64_t stride) {
  // Cairo's premultiplied ARGB words are B, G, R, A bytes in memory.
  GpuTexture::Description description;
  description.width = width;
  description.height = height;
  description.format = DxgiFormat::B8G8R8A8_UNORM;
  const TextureData data{pixels, stride, stride * (height - 1) + uint64_t{width} * 4};
  const auto picture = GpuTexture::create(description, &data, "glTextureSubImage2D", kUploadPlace);

  Direct3DService& service = Direct3DService::Get();
  GlContext& context = service.context();
  OverPrograms& programs = programsFor(service.device());
  programs.vertex->waitReady();
  programs.pixel->waitReady();
  const auto target = buffer.createRenderTargetView();
  context.bindOutputs(*target);
  glViewport(static_cast<GLint>(x), static_cast<GLint>(y), static_cast<GLsizei>(width),
             static_cast<GLsizei>(height));
  context.bindRasterizerState(&solidWithoutCulling());
  context.bindBlendState(&premultipliedOver(), nullptr);
  context.useVertexProgram(programs.vertex.get(), programs.vertex->name());
  context.usePixelProgram(programs.pixel.get(), programs.pixel->name());
  glProgramUniform2i(programs.pixel->name(), 0, static_cast<GLint>(x), static_cast<GLint>(y));
  glProgramUniform1i(programs.pixel->name(), 1, target->texture()->info().alphaOnly ? 1 : 0);
  glBindVertexArray(context.emptyVertexArray());
  picture->waitReady();
  glBindTextureUnit(0, picture->name());
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  glBindTextureUnit(0, 0);
  context.unbindOutputs();
}

}  // namespace Media
