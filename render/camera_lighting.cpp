#include "render/camera_lighting.h"

#include <algorithm>

#include "effect/output_draw_constants.h"
#include "gpu/direct3d_service.h"
#include "gpu/render_buffer.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource/shader_3d_set.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/shader_binding.h"
#include "gpu/shader/vertex_buffer.h"
#include "gpu/texture_view.h"

namespace Render {
namespace {

using Media::ShaderBindings;
using Media::ShaderStage;

// The blend state that multiplies the target's colour by the light and keeps its alpha.
constexpr std::size_t kMultiplyColour = 10;

// Unbinds the input and the target whatever happens in a pass.
struct UnbindAfterPass {
  ~UnbindAfterPass() {
    ShaderBindings::setShaderResource(0, nullptr);
    Media::Direct3DService::Get().unbindRenderTargets();
  }
};

}  // namespace

Effect::OutputDraw::LightConstants makeFrameLightConstants(
    std::span<const Media::LightSource> lights) {
  const std::size_t used = std::min<std::size_t>(lights.size(), Effect::OutputDraw::kMaxLights);
  std::array<Effect::OutputDraw::LightRecord, Effect::OutputDraw::kMaxLights> records;
  for (std::size_t i = 0; i < used; ++i) {
    const Media::LightSource& light = lights[i];
    records[i].kind = light.type;
    records[i].data[0] = light.x;
    records[i].data[1] = light.y;
    records[i].data[2] = light.z;
    records[i].color[0] = light.r;
    records[i].color[1] = light.g;
    records[i].color[2] = light.b;
    records[i].factor = light.a;
  }
  return Effect::OutputDraw::makeLightConstants(std::span(records).first(used));
}

void drawCameraQuads(Media::RenderBuffer& frame, const std::array<XMath::Vector, 4>& rays) {
  if (frame.lightSources.empty() || !frame.texture()) return;
  const Effect::OutputDraw::LightConstants lights = makeFrameLightConstants(frame.lightSources);

  const XMath::Vector cornerRays[4] = {rays[0], rays[1], rays[2], rays[3]};
  const Effect::OutputDraw::ScreenQuad quad = Effect::OutputDraw::makeScreenQuad(cornerRays);
  Media::VertexBufferCommon vertices;
  vertices.setTopology(Media::VertexBufferCommon::kTriangleStrip);
  Media::VertexBufferCommon::create(vertices, quad.vertices, 4, sizeof(quad.vertices[0]));
  Media::ConstantBufferCommon constants;
  Media::ConstantBufferCommon::create(constants, &lights, sizeof(lights));

  Resource::ResourceService& resources = Resource::ResourceService::Get();
  Resource::Shader3dSet& set = resources.pixelShaders().set3d();
  Media::Direct3DService& direct3D = Media::Direct3DService::Get();
  ShaderBindings::setRasterizerState(resources.rasterizerStates().get(0));
  ShaderBindings::setBlendState(resources.blendStates().get(kMultiplyColour));
  ShaderBindings::setConstantBuffer(ShaderStage::Pixel, 0, &constants);
  set.vertexShader(Resource::Shader3dSet::VS_FULL_TARGET).bind();
  set.pixelShader(Resource::Shader3dSet::LIGHTING).bind();

  // The opaque surface: the frame lit by the normals kept with it.
  Media::ResourceBuffer* normals = frame.getOitColorBuffer2();
  Media::ResourceBuffer* transparent = frame.getOitColorBuffer1();
  Media::ResourceBuffer* transparentNormals = frame.getOitColorBuffer3();
  {
    const UnbindAfterPass unbind;
    const auto view = normals->createShaderResourceView();
    direct3D.setRenderTarget(frame);
    ShaderBindings::setShaderResource(0, view.get());
    vertices.draw();
  }
  // The transparent layer, lit by its own normals before it is laid over the frame.
  {
    const UnbindAfterPass unbind;
    const auto view = transparentNormals->createShaderResourceView();
    direct3D.setRenderTargetBuffer(*transparent);
    ShaderBindings::setShaderResource(0, view.get());
    vertices.draw();
  }
}

}  // namespace Render
