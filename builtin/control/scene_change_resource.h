#pragma once
// What every "シーンチェンジ" shares: its three pixel shaders (the slices, the moved copy and
// the random lines) and the draws that use them. The shaders read the 16-byte constant
// buffer that the built-in shader list shares, so every draw fills it just before it draws.
#include <cstdint>

#include "builtin/filter/filter_shader_set.h"

namespace Media {
class RenderBuffer;
class ResourceBuffer;
}  // namespace Media

namespace Effect {

// The shaders' "constant0", each laid out as its shader declares it.
struct SliceConstants {
  int32_t offsetX = 0;
  int32_t offsetY = 0;
  int32_t divide = 1;
  int32_t unused = 0;
};
struct OffsetConstants {
  int32_t offset[2] = {0, 0};
  int32_t unused[2] = {0, 0};
};
struct RandomLineConstants {
  float ratio = 0.0f;
  int32_t divideX = 0;
  int32_t divideY = 0;
  int32_t unused = 0;
};

class SceneChangeResource {
 public:
  enum Shader : int { Slice, OffsetCopy, RandomLine, kShaderCount };

  SceneChangeResource();
  ~SceneChangeResource();
  SceneChangeResource(const SceneChangeResource&) = delete;
  SceneChangeResource& operator=(const SceneChangeResource&) = delete;

  // Each draws `input` over `target` with blending off: drawn pixels replace the target's,
  // discarded ones leave it as it was. The input and the target have the same size.
  void drawSlice(Media::RenderBuffer& target, Media::ResourceBuffer& input,
                 const SliceConstants& constants);
  void drawOffset(Media::RenderBuffer& target, Media::ResourceBuffer& input,
                  const OffsetConstants& constants);
  // `random` is a table of at least 256 columns whose first channel orders the lines.
  void drawRandomLine(Media::RenderBuffer& target, Media::ResourceBuffer& input,
                      Media::ResourceBuffer& random, const RandomLineConstants& constants);

 private:
  // Loaded on first use (the effect kinds are registered before, and without, a device);
  // the shaders read the shared constants, so the set has no buffer of its own.
  FilterShaderSet shaders_{{"scene_slice_ps", "scene_offset_ps", "scene_random_line_ps"}, {}, 0};
};

}  // namespace Effect
