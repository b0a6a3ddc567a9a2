#pragma once
// The shaders and small buffers of the 3-D drawing path, loaded once and shared by every
// vertex list and 3-D output pass: the object pixel shaders (entries 26 to 33 of the
// built-in shader list), their seven vertex shaders, the two single-quad vertex buffers the
// vertex lists refill for each one-quad draw, and the 160-byte constant buffer "Constant".
//
// Until the resource service owns it, the set that was constructed last and still lives is
// the one vertex lists reach through Get(); only one may exist at a time.
#include <array>
#include <cstddef>
#include <cstdint>

#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"
#include "gpu/shader/vertex_buffer.h"
#include "gpu/shader/vertex_shader.h"

namespace Resource {

// The constants "Constant" of the 3-D shaders, in the shaders' register packing.
struct Object3dConstants {
  float projection[16] = {};  // rows in order, each dotted with (x, y, z, 1)
  float alpha = 1.0f;
  int32_t blend = 0;          // blend mode, 0 for none
  float reserved0[2] = {};
  float normalWorld[16] = {};  // the first three rows turn normals
  float shine = 0.0f;
  float reserved1[3] = {};
};
static_assert(sizeof(Object3dConstants) == 160);
static_assert(offsetof(Object3dConstants, blend) == 68);
static_assert(offsetof(Object3dConstants, normalWorld) == 80);
static_assert(offsetof(Object3dConstants, shine) == 144);

class Shader3dSet {
 public:
  static constexpr std::size_t kFirstPixelEntry = 26;
  static constexpr std::size_t kPixelShaderCount = 8;
  static constexpr std::size_t kVertexShaderCount = 7;
  static constexpr uint32_t kQuadStride = 28;        // XYZ_UV and XYZ_COL
  static constexpr uint32_t kNormalQuadStride = 40;  // XYZ_UV_NORM and XYZ_COL_NORM

  // Pixel shader entries by role.
  enum PixelEntry : std::size_t {
    FLAT_UV = 26,
    DEPTH_UV = 27,
    NORMAL_UV = 28,
    LIGHTING = 29,
    TRANSPARENT_RESOLVE = 30,
    FLAT_COLOR = 31,
    DEPTH_COLOR = 32,
    NORMAL_COLOR = 33,
  };
  // Vertex shaders by role.
  enum VertexIndex : std::size_t {
    VS_FLAT_UV = 0,
    VS_DEPTH_UV = 1,
    VS_NORMAL_UV = 2,
    VS_FLAT_COLOR = 3,
    VS_DEPTH_COLOR = 4,
    VS_NORMAL_COLOR = 5,
    VS_FULL_TARGET = 6,
  };

  // Loads every shader and makes the buffers (the quads' device buffers wait for their first
  // draw). A failed load throws its exception; a second live set throws
  // "another 3-D shader set already exists." at "Resource::Shader3dSet::Shader3dSet".
  Shader3dSet();
  Shader3dSet(const Shader3dSet&) = delete;
  Shader3dSet& operator=(const Shader3dSet&) = delete;
  // Stops being the set that Get() returns, then releases everything in reverse order.
  ~Shader3dSet();

  // The live set; throws "the 3-D shader set has not been created." at
  // "Resource::Shader3dSet::Get" when there is none.
  static Shader3dSet& Get();

  // Entry 26 to 33; another number throws at "Resource::Shader3dSet::pixelShader".
  Media::PixelShader& pixelShader(std::size_t entry);
  // Vertex shader 0 to 6; another number throws at "Resource::Shader3dSet::vertexShader".
  Media::VertexShader& vertexShader(std::size_t index);
  // FLAT_UV for an object without blend mode drawn at no more than one texel per pixel (see
  // Render::mapsAtMostOneTexel): the same colours without the cost of the sample grid.
  Media::PixelShader& flatUvSingleSample() { return flatUvSingleSample_; }
  // The same draw from a picture still in packed YUV pixel pairs, converting as it samples,
  // linearly filtered or from the nearest pixel; the conversion constants at pixel slot 1.
  Media::PixelShader& flatPackedPairs() { return flatPackedPairs_; }
  Media::PixelShader& flatPackedPairsNearest() { return flatPackedPairsNearest_; }

  // The single-quad buffers of the vertex lists: 4 vertices of 28 or 40 bytes, a strip.
  Media::VertexBufferCommon& vertexListQuad() { return vertexListQuad_; }
  Media::VertexBufferCommon& vertexListNormalQuad() { return vertexListNormalQuad_; }

  // The constant buffer and the copy its users fill before uploadConstants().
  Media::ConstantBufferCommon& constantBuffer() { return constantBuffer_; }
  Object3dConstants& constants() { return constants_; }
  void uploadConstants() { constantBuffer_.update(&constants_); }

 private:
  std::array<Media::PixelShader, kPixelShaderCount> pixelShaders_;
  std::array<Media::VertexShader, kVertexShaderCount> vertexShaders_;
  Media::PixelShader flatUvSingleSample_;
  Media::PixelShader flatPackedPairs_;
  Media::PixelShader flatPackedPairsNearest_;
  Media::VertexBufferCommon vertexListQuad_;
  Media::VertexBufferCommon vertexListNormalQuad_;
  Media::ConstantBufferCommon constantBuffer_;
  Object3dConstants constants_;
};

}  // namespace Resource
