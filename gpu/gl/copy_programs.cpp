#include "gpu/gl/copy_programs.h"

#include <string>

#include "gpu/direct3d_service.h"
#include "gpu/gl/gl_context.h"
#include "gpu/gl/gl_texture.h"
#include "gpu/shader/pipeline_state.h"

namespace Media {
namespace {

constexpr const char* kPlace = "Media::CopyPrograms";

constexpr const char* kPixelHead = R"(#version 450 core
layout(binding = 0) uniform sampler2D source;
layout(location = 0) out vec4 result;
void main() {
  vec4 c = texelFetch(source, ivec2(gl_FragCoord.xy), 0);
)";

const char* kindBody(CopyKind kind) {
  switch (kind) {
    case CopyKind::Plain:
      return "";
    case CopyKind::Opaque:
      return "  c = vec4(c.rgb, 1.0);\n";
    case CopyKind::Unpremultiply:
      return "  c = c.a > 0.0 ? vec4(c.rgb / c.a, c.a) : vec4(0.0);\n";
    case CopyKind::ClampToAlpha:
      return "  c = min(vec4(c.a), max(c, vec4(0.0)));\n";
  }
  return "";
}

const BlendState& blendingOff() {
  static const BlendState state{BlendDescription{}};
  return state;
}

const RasterizerState& solidWithoutCulling() {
  static const RasterizerState state{RasterizerDescription{FillMode::SOLID, CullMode::NONE}};
  return state;
}

}  // namespace

const GlProgram& CopyPrograms::vertex() {
  std::lock_guard lock(mutex_);
  if (!vertex_) vertex_ = std::make_unique<GlProgram>(GL_VERTEX_SHADER, kFullTargetVertexSource, kPlace);
  return *vertex_;
}

const GlProgram& CopyPrograms::pixel(CopyKind kind, bool alphaOnlyTarget) {
  const std::size_t index = static_cast<std::size_t>(kind) * 2 + (alphaOnlyTarget ? 1 : 0);
  std::lock_guard lock(mutex_);
  if (!pixel_[index]) {
    std::string source = kPixelHead;
    source += kindBody(kind);
    source += alphaOnlyTarget ? "  result = vec4(c.a, 0.0, 0.0, 0.0);\n}\n" : "  result = c;\n}\n";
    pixel_[index] = std::make_unique<GlProgram>(GL_FRAGMENT_SHADER, source, kPlace);
  }
  return *pixel_[index];
}

void drawCopy(CopyKind kind, const ShaderResourceView& source, const RenderTargetView& target) {
  Direct3DService& service = Direct3DService::Get();
  GlContext& context = service.context();
  CopyPrograms& programs = service.copyPrograms();
  const GlProgram& vertex = programs.vertex();
  const GlProgram& pixel = programs.pixel(kind, target.texture()->info().alphaOnly);
  vertex.waitReady();
  pixel.waitReady();

  context.bindOutputs(target);
  context.bindRasterizerState(&solidWithoutCulling());
  context.bindBlendState(&blendingOff(), nullptr);
  context.useVertexProgram(&vertex, vertex.name());
  context.usePixelProgram(&pixel, pixel.name());
  glBindVertexArray(context.emptyVertexArray());
  bindTextureUnit(source, 0);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  glBindTextureUnit(0, 0);
  context.unbindOutputs();
}

}  // namespace Media
