#pragma once
// What every "音声波形表示" shares: its three pixel shaders (the waveform, the spectrum, the
// mirrored spectrum) and their 48-byte constant buffer, and the draw that turns one row of
// values into a picture with them.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"

namespace Media {
class ResourceBuffer;
}

namespace Effect {

// The shaders' "constant0", laid out as they declare it.
struct WaveConstants {
  float color[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  int32_t size[2] = {0, 0};  // the picture in pixels
  int32_t res[2] = {0, 0};   // the cells across and down
  float pad[2] = {0.5f, 0.5f};  // half-width of a cell's lit part
  float vol = 0.0f;             // scale of the values
  float unused = 0.0f;
};
static_assert(sizeof(WaveConstants) == 48);

class WaveImageResource {
 public:
  enum Shader : int { Waveform, Spectrum, MirroredSpectrum, kShaderCount };

  WaveImageResource();
  ~WaveImageResource();
  WaveImageResource(const WaveImageResource&) = delete;
  WaveImageResource& operator=(const WaveImageResource&) = delete;

  // A new picture of size[0] x size[1] drawn by the shader from `values` (at least one),
  // with blending off. The shaders and the buffer are made on the first draw: the effect
  // kinds are registered before, and without, a graphics device.
  std::unique_ptr<Media::ResourceBuffer> draw(Shader shader, std::span<const float> values,
                                              const WaveConstants& constants);

 private:
  void load();

  // One draw at a time: the constants are written just before the draw that reads them,
  // and the effects of every render thread share them.
  std::mutex mutex_;
  // Made on the first draw: a shader takes the graphics device when it is made.
  std::array<std::unique_ptr<Media::PixelShader>, kShaderCount> shaders_;
  Media::ConstantBufferCommon constants_;
};

}  // namespace Effect
