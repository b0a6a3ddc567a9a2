#pragma once
// The fixed-function states of the pipeline, described in the terms the state lists use
// (blend factors and operations, fill and cull modes, filters and address modes) and
// applied to the calling thread's context of the device.
//
// Blend and rasterizer states are plain records: the device has no objects for them, so
// binding one sets the context's blend and rasterizer switches from the record. A sampler
// state is a sampler object of the device, shared by every context.
#include <array>
#include <cstdint>
#include <memory>

namespace Media {

namespace Gl {
class Object;
}

enum class Blend : uint8_t {
  ZERO = 1,
  ONE = 2,
  SRC_COLOR = 3,
  INV_SRC_COLOR = 4,
  SRC_ALPHA = 5,
  INV_SRC_ALPHA = 6,
  DEST_ALPHA = 7,
  INV_DEST_ALPHA = 8,
  DEST_COLOR = 9,
  INV_DEST_COLOR = 10,
  SRC_ALPHA_SAT = 11,
  BLEND_FACTOR = 14,
  INV_BLEND_FACTOR = 15,
  SRC1_COLOR = 16,
  INV_SRC1_COLOR = 17,
  SRC1_ALPHA = 18,
  INV_SRC1_ALPHA = 19,
};

enum class BlendOp : uint8_t { ADD = 1, SUBTRACT = 2, REV_SUBTRACT = 3, MIN = 4, MAX = 5 };

// One render target's blending; with independent blending off it applies to every target.
struct BlendDescription {
  bool enable = false;
  Blend srcColor = Blend::ONE;
  Blend destColor = Blend::ZERO;
  BlendOp colorOp = BlendOp::ADD;
  Blend srcAlpha = Blend::ONE;
  Blend destAlpha = Blend::ZERO;
  BlendOp alphaOp = BlendOp::ADD;
  uint8_t writeMask = 0xF;  // bit 0 red .. bit 3 alpha
};

class BlendState {
 public:
  explicit BlendState(const BlendDescription& description);
  BlendState(const BlendState&) = delete;
  BlendState& operator=(const BlendState&) = delete;
  // Leaves the context caches that still name this state.
  ~BlendState();

  const BlendDescription& description() const { return description_; }
  // Sets the context's blending from the record; the factor (four floats, null for ones)
  // is the constant of the BLEND_FACTOR terms. A target whose single stored channel is
  // alpha (a mask) blends that channel with the alpha row of the record and writes it
  // when the alpha bit of the write mask is set.
  void apply(const float* blendFactor, bool alphaOnlyTarget = false) const;

 private:
  BlendDescription description_;
};

enum class FillMode : uint8_t { WIREFRAME = 2, SOLID = 3 };
enum class CullMode : uint8_t { NONE = 1, FRONT = 2, BACK = 3 };

struct RasterizerDescription {
  FillMode fill = FillMode::SOLID;
  CullMode cull = CullMode::BACK;
  bool frontCounterClockwise = false;
  bool depthClip = true;
  bool scissor = false;
  bool multisample = false;
  bool antialiasedLine = false;
};

class RasterizerState {
 public:
  explicit RasterizerState(const RasterizerDescription& description)
      : description_(description) {}
  RasterizerState(const RasterizerState&) = delete;
  RasterizerState& operator=(const RasterizerState&) = delete;
  ~RasterizerState();

  const RasterizerDescription& description() const { return description_; }
  void apply() const;

 private:
  RasterizerDescription description_;
};

enum class Filter : uint8_t { MIN_MAG_MIP_POINT = 0x00, MIN_MAG_MIP_LINEAR = 0x15 };
enum class AddressMode : uint8_t { WRAP = 1, MIRROR = 2, CLAMP = 3, BORDER = 4 };
enum class Comparison : uint8_t { NEVER = 1, ALWAYS = 8 };

struct SamplerDescription {
  Filter filter = Filter::MIN_MAG_MIP_LINEAR;
  AddressMode addressU = AddressMode::CLAMP;
  AddressMode addressV = AddressMode::CLAMP;
  AddressMode addressW = AddressMode::CLAMP;
  float mipLodBias = 0.0f;
  uint32_t maxAnisotropy = 0;
  Comparison comparison = Comparison::ALWAYS;
  std::array<float, 4> borderColor{0.0f, 0.0f, 0.0f, 0.0f};
  float minLod = 0.0f;
  float maxLod = 0.0f;
};

class SamplerState {
 public:
  // Creates the sampler object on the calling thread's context of the live device. A
  // failure throws `call` at `place`.
  SamplerState(const SamplerDescription& description, const char* call, const char* place);
  SamplerState(const SamplerState&) = delete;
  SamplerState& operator=(const SamplerState&) = delete;
  ~SamplerState();

  const SamplerDescription& description() const { return description_; }
  // The device's sampler object (bound through gl/gl_pipeline_state.h).
  const Gl::Object& object() const { return *sampler_; }

 private:
  SamplerDescription description_;
  std::unique_ptr<Gl::Object> sampler_;
};

}  // namespace Media
