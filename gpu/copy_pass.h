#pragma once
// Texel-for-texel copies between GPU images of the same size, drawn with the built-in
// pixel shaders (shader/builtin_pixel_shaders.h): the copies that move a frame into another format (8 bits for display and
// export, straight alpha for files) and make opaque copies.
//
// The copy reads the source at the target pixel's integer position, so sizes must match;
// blending is off. A target whose single channel is alpha (a mask) receives the alpha.
namespace Media {

class ShaderResourceView;
class RenderTargetView;

enum class CopyKind {
  Plain,          // as read
  Opaque,         // (rgb, 1)
  Unpremultiply,  // (rgb / a, a); transparent pixels become (0, 0, 0, 0)
  ClampToAlpha,   // each channel c becomes min(a, max(c, 0))
};

// Draws `source` into `target` on the calling thread's context and unbinds the target.
void drawCopy(CopyKind kind, const ShaderResourceView& source, const RenderTargetView& target);

}  // namespace Media
