#pragma once
// The shaders and small GPU buffers that every drawing path shares: the built-in pixel
// shaders (copies, conversions, fills, shrinks, resampling, blend-mode compositing), the
// full-target quads, a 16-byte constant buffer that any user fills before its draw, and the
// 3-D set. Loaded once with the shared drawing resources; a shader that fails to load fails
// the start.
#include <array>
#include <cstdint>
#include <memory>

#include "gpu/resource/shader_3d_set.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"
#include "gpu/shader/vertex_buffer.h"

namespace Resource {

class PixelShaderList {
 public:
  // The entries in their fixed order: their numbers are what the drawing paths ask for.
  enum Entry : int {
    kInputTransform, kOutputTransform, kCopy, kFill, kWhite, kCopyOffset, kCopyOffsetClamp,
    kCopyTwoTargets, kCoverageColor, kOpacity, kOpacityOffset, kSampledCopy, kPremultiply,
    kUnpremultiply, kOpaqueCopy, kClampToAlpha, kSaturate, kBoxReduceHorizontal,
    kBoxReduceVertical, kResample, kBrightPass, kExponential, kLogarithmic, kLuminanceKey,
    kBlendMode, kBlendModeOffset, kEntryCount
  };
  static constexpr uint32_t kSharedConstantBytes = 16;

  PixelShaderList();
  ~PixelShaderList();
  PixelShaderList(const PixelShaderList&) = delete;
  PixelShaderList& operator=(const PixelShaderList&) = delete;

  Media::PixelShader& entry(int index) { return entries_.at(static_cast<std::size_t>(index)); }
  static const char* entryName(int index);

  // The full-target quads: positions only, and positions with texture coordinates (the
  // first row of an image at the top).
  Media::VertexBufferCommon& positionQuad() { return positionQuad_; }
  Media::VertexBufferCommon& texturedQuad() { return texturedQuad_; }

  // The shared constants: write every value the draw needs into the copy, then upload.
  uint8_t* sharedConstants() { return sharedCopy_.data(); }
  Media::ConstantBufferCommon& uploadSharedConstants();

  Shader3dSet& set3d() { return *set3d_; }

 private:
  std::unique_ptr<Shader3dSet> set3d_;
  std::array<Media::PixelShader, kEntryCount> entries_;
  Media::VertexBufferCommon positionQuad_;
  Media::VertexBufferCommon texturedQuad_;
  Media::ConstantBufferCommon sharedBuffer_;
  std::array<uint8_t, kSharedConstantBytes> sharedCopy_{};
};

}  // namespace Resource
