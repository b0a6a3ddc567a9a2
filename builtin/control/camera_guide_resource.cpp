#include "builtin/control/camera_guide_resource.h"

#include <cstring>

#include "gpu/direct3d_service.h"
#include "gpu/render_buffer.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource/shader_3d_set.h"
#include "gpu/shader/builtin_shader_code.h"
#include "gpu/shader/shader_binding.h"
#include "gpu/shader/vertex_buffer.h"
#include "gpu/shader/vertex_list.h"
#include "render/auxiliary_targets.h"

namespace Effect {
namespace {

using Media::ShaderBindings;
using Media::ShaderStage;

}  // namespace

// The frame and its first three 3-D buffers stay bound, and the resource locked, while a
// drawing lives.
struct CameraGuideResource::Drawing::Bound {
  Bound(CameraGuideResource& resource, Media::RenderBuffer& frame)
      : lock(resource.mutex_), targets(frame, 3) {}
  ~Bound() { Media::Direct3DService::Get().unbindRenderTargets(); }
  std::lock_guard<std::mutex> lock;
  Render::AuxiliaryTargets targets;
};

CameraGuideResource::CameraGuideResource() = default;
CameraGuideResource::~CameraGuideResource() = default;

void CameraGuideResource::load() {
  if (!vertexShader_) {
    auto shader = std::make_unique<Media::VertexShader>();
    const auto& code = Media::findBuiltinShaderCode("camera_guide_vs");
    shader->loadFromMemory(code.code, code.size);
    vertexShader_ = std::move(shader);
  }
  if (!pixelShader_) {
    auto shader = std::make_unique<Media::PixelShader>();
    const auto& code = Media::findBuiltinShaderCode("camera_guide_ps");
    shader->loadFromMemory(code.code, code.size);
    pixelShader_ = std::move(shader);
  }
  if (constants_.empty())
    Media::ConstantBufferCommon::create(constants_, nullptr, sizeof(GuideConstants));
}

CameraGuideResource::Drawing::Drawing(CameraGuideResource& resource, Media::RenderBuffer& frame,
                                      const XMath::Matrix& matrix, float focalDistance)
    : resource_(resource),
      matrix_(matrix),
      focalDistance_(focalDistance),
      halfWidth_(static_cast<float>(frame.width()) * 0.5f),
      halfHeight_(static_cast<float>(frame.height()) * 0.5f) {
  bound_ = std::make_unique<Bound>(resource, frame);
  resource_.load();
  Resource::ResourceService& resources = Resource::ResourceService::Get();
  ShaderBindings::setBlendState(resources.blendStates().get(0));
  ShaderBindings::setRasterizerState(resources.rasterizerStates().get(0));
}

CameraGuideResource::Drawing::~Drawing() = default;

void CameraGuideResource::Drawing::drawGuideLine(const XMath::Vector& p0, const XMath::Vector& p1,
                                                 float halfWidth) {
  const auto strip =
      CameraGeometry::guideLineStrip(p0, p1, matrix_, halfWidth_, halfHeight_, halfWidth);
  if (!strip) return;
  const auto& s = *strip;
  // The strip's two triangles as a list, so that every line of a colour is one draw.
  for (int index : {0, 1, 2, 2, 1, 3}) lines_.push_back(s[static_cast<std::size_t>(index)]);
}

void CameraGuideResource::Drawing::flushLines(const float (&colour)[4]) {
  if (lines_.empty()) return;
  GuideConstants values;
  std::memcpy(values.color, colour, sizeof(values.color));
  values.nearDepth = focalDistance_ / 20.0f;
  resource_.constants_.update(&values);
  ShaderBindings::setConstantBuffer(ShaderStage::Pixel, 0, &resource_.constants_);
  resource_.vertexShader_->bind();
  resource_.pixelShader_->bind();
  Media::VertexBufferCommon vertices;
  vertices.setTopology(Media::VertexBufferCommon::kTriangleList);
  Media::VertexBufferCommon::create(vertices, lines_.data(), static_cast<uint32_t>(lines_.size()),
                                    sizeof(CameraGeometry::GuideVertex));
  vertices.draw();
  lines_.clear();
}

void CameraGuideResource::Drawing::fillTriangle(const XMath::Vector (&corners)[3],
                                                const float (&colour)[4]) {
  Resource::Shader3dSet& set = Resource::ResourceService::Get().pixelShaders().set3d();
  Resource::Object3dConstants& constants = set.constants();
  constants = Resource::Object3dConstants{};
  // The shaders dot each stored row with the position: the matrix's columns.
  const XMath::Matrix columns = XMath::transpose(matrix_);
  std::memcpy(constants.projection, columns.m, sizeof(constants.projection));
  constants.alpha = 1.0f;
  set.uploadConstants();
  ShaderBindings::setConstantBuffer(ShaderStage::Vertex, 0, &set.constantBuffer());
  ShaderBindings::setConstantBuffer(ShaderStage::Pixel, 0, &set.constantBuffer());
  set.vertexShader(Resource::Shader3dSet::VS_DEPTH_COLOR).bind();
  set.pixelShader(Resource::Shader3dSet::DEPTH_COLOR).bind();
  Media::XYZ_COL vertices[3];
  for (int i = 0; i < 3; ++i)
    vertices[i] = {corners[i].x, corners[i].y, corners[i].z, colour[0],
                   colour[1],    colour[2],    colour[3]};
  Media::VertexBufferCommon buffer;
  buffer.setTopology(Media::VertexBufferCommon::kTriangleList);
  Media::VertexBufferCommon::create(buffer, vertices, 3, sizeof(Media::XYZ_COL));
  buffer.draw();
}

}  // namespace Effect
