#pragma once
// The built-in pixel shaders that the buffer copies and the pixel-format conversion draw
// with, each loaded from the built-in code on its first use and then kept for the life of
// the device. Any thread may ask for one; a shader is drawn by one thread at a time per
// context, which the shader layer allows.
#include <array>
#include <memory>
#include <mutex>

namespace Media {

class PixelShader;

enum class BuiltinPixel {
  Copy,                      // as read
  OpaqueCopy,                // (rgb, 1)
  Premultiply,               // (rgb x a, a)
  Unpremultiply,             // (rgb / a, a); transparent pixels become (0, 0, 0, 0)
  ClampToAlpha,              // each channel c becomes min(a, max(c, 0))
  InputTransform,            // matrix and offset, from a 4:4:4 YUV layout
  PackedPairInputTransform,  // the same from packed pixel pairs (Y0, U, Y1, V)
  OutputTransform,           // matrix and offset, to a YUV layout
  PackedPairOutputTransform, // the same into packed pixel pairs (Y0, U, Y1, V)
};

class BuiltinPixelShaders {
 public:
  BuiltinPixelShaders();
  BuiltinPixelShaders(const BuiltinPixelShaders&) = delete;
  BuiltinPixelShaders& operator=(const BuiltinPixelShaders&) = delete;
  ~BuiltinPixelShaders();

  // The shader, loaded when first asked for; a load failure throws and is retried next time.
  PixelShader& get(BuiltinPixel which);

 private:
  static constexpr std::size_t kCount = static_cast<std::size_t>(BuiltinPixel::PackedPairOutputTransform) + 1;
  std::mutex mutex_;
  std::array<std::unique_ptr<PixelShader>, kCount> shaders_;
};

}  // namespace Media
