#include "gpu/resource/shader_3d_set.h"

#include <atomic>

#include "gpu/shader/builtin_shader_code.h"
#include "system/exception.h"

namespace Resource {
namespace {

std::atomic<Shader3dSet*> liveSet{nullptr};

// The code of each shader, and the order they are loaded in: each vertex shader with the
// pixel shader it is drawn with, then the full-target passes.
struct PixelLoad {
  std::size_t entry;
  const char* name;
};
struct VertexLoad {
  std::size_t index;
  const char* name;
};
struct LoadStep {
  const VertexLoad* vertex;
  const PixelLoad* pixel;
};

constexpr VertexLoad kVertexShaders[] = {
    {Shader3dSet::VS_FLAT_UV, "object_flat_uv_vs"},
    {Shader3dSet::VS_DEPTH_UV, "object_depth_uv_vs"},
    {Shader3dSet::VS_NORMAL_UV, "object_normal_uv_vs"},
    {Shader3dSet::VS_FLAT_COLOR, "object_flat_color_vs"},
    {Shader3dSet::VS_DEPTH_COLOR, "object_depth_color_vs"},
    {Shader3dSet::VS_NORMAL_COLOR, "object_normal_color_vs"},
    {Shader3dSet::VS_FULL_TARGET, "object_full_target_vs"},
};
constexpr PixelLoad kPixelShaders[] = {
    {Shader3dSet::FLAT_UV, "object_flat_uv_ps"},
    {Shader3dSet::DEPTH_UV, "object_depth_uv_ps"},
    {Shader3dSet::NORMAL_UV, "object_normal_uv_ps"},
    {Shader3dSet::FLAT_COLOR, "object_flat_color_ps"},
    {Shader3dSet::DEPTH_COLOR, "object_depth_color_ps"},
    {Shader3dSet::NORMAL_COLOR, "object_normal_color_ps"},
    {Shader3dSet::LIGHTING, "lighting_ps"},
    {Shader3dSet::TRANSPARENT_RESOLVE, "transparent_resolve_ps"},
};
constexpr LoadStep kLoadOrder[] = {
    {&kVertexShaders[0], &kPixelShaders[0]}, {&kVertexShaders[1], &kPixelShaders[1]},
    {&kVertexShaders[2], &kPixelShaders[2]}, {&kVertexShaders[3], &kPixelShaders[3]},
    {&kVertexShaders[4], &kPixelShaders[4]}, {&kVertexShaders[5], &kPixelShaders[5]},
    {nullptr, &kPixelShaders[6]},            {&kVertexShaders[6], &kPixelShaders[7]},
};

}  // namespace

Shader3dSet::Shader3dSet() {
  constexpr const char* kPlace = "Resource::Shader3dSet::Shader3dSet";
  if (liveSet.load() != nullptr)
    throw System::makeException(kPlace, "another 3-D shader set already exists.");
  vertexListQuad_.allocateCpuCopy(4, kQuadStride);
  vertexListNormalQuad_.allocateCpuCopy(4, kNormalQuadStride);
  Media::ConstantBufferCommon::create(constantBuffer_, &constants_, sizeof(constants_));
  for (const LoadStep& step : kLoadOrder) {
    if (step.vertex) {
      const Media::BuiltinShaderCode& code = Media::findBuiltinShaderCode(step.vertex->name);
      vertexShaders_[step.vertex->index].loadFromMemory(code.code, code.size);
    }
    const Media::BuiltinShaderCode& code = Media::findBuiltinShaderCode(step.pixel->name);
    pixelShaders_[step.pixel->entry - kFirstPixelEntry].loadFromMemory(code.code, code.size);
  }
  const Media::BuiltinShaderCode& single = Media::findBuiltinShaderCode("object_flat_uv_single_ps");
  flatUvSingleSample_.loadFromMemory(single.code, single.size);
  const Media::BuiltinShaderCode& pairs = Media::findBuiltinShaderCode("object_flat_packed_pair_ps");
  flatPackedPairs_.loadFromMemory(pairs.code, pairs.size);
  const Media::BuiltinShaderCode& nearest =
      Media::findBuiltinShaderCode("object_flat_packed_pair_nearest_ps");
  flatPackedPairsNearest_.loadFromMemory(nearest.code, nearest.size);
  Shader3dSet* expected = nullptr;
  if (!liveSet.compare_exchange_strong(expected, this))
    throw System::makeException(kPlace, "another 3-D shader set already exists.");
}

Shader3dSet::~Shader3dSet() {
  Shader3dSet* self = this;
  liveSet.compare_exchange_strong(self, nullptr);
}

Shader3dSet& Shader3dSet::Get() {
  Shader3dSet* set = liveSet.load();
  if (!set)
    throw System::makeException("Resource::Shader3dSet::Get", "the 3-D shader set has not been created.");
  return *set;
}

Media::PixelShader& Shader3dSet::pixelShader(std::size_t entry) {
  if (entry < kFirstPixelEntry || entry >= kFirstPixelEntry + kPixelShaderCount)
    throw System::makeException("Resource::Shader3dSet::pixelShader", "no such 3-D pixel shader.");
  return pixelShaders_[entry - kFirstPixelEntry];
}

Media::VertexShader& Shader3dSet::vertexShader(std::size_t index) {
  if (index >= kVertexShaderCount)
    throw System::makeException("Resource::Shader3dSet::vertexShader", "no such 3-D vertex shader.");
  return vertexShaders_[index];
}

}  // namespace Resource
