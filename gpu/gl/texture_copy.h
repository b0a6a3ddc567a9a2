#pragma once
// Copies between GPU images without drawing, on the calling thread's context: a box from
// one texture to another of the same format, the resolve of a multisampled texture, and
// filling a texture with one colour. Each waits for the last writer of what it reads and
// publishes what it writes.
#include <cstdint>
#include <string_view>

namespace Media {

class GpuTexture;

// Copies `width` x `height` texels from (sourceX, sourceY) of the source to (x, y) of the
// target, clipped to both textures. Textures of different formats or sample counts are not
// copied (a WARN line names the place); false then, and also when nothing overlaps.
bool copyTextureRegion(GpuTexture& target, uint32_t x, uint32_t y, GpuTexture& source,
                       uint32_t sourceX, uint32_t sourceY, uint32_t width, uint32_t height,
                       std::string_view place);
// The whole of a texture into another of the same size and format.
bool copyTexture(GpuTexture& target, GpuTexture& source, std::string_view place);
// The average of each pixel's samples of a multisampled texture into a single-sampled one
// of the same size and format.
void resolveTexture(GpuTexture& target, GpuTexture& source, std::string_view place);
// Every texel becomes the colour (red, green, blue, alpha; a mask takes the alpha, a
// one-channel float texture the red).
void clearTexture(GpuTexture& target, const float color[4], std::string_view place);

}  // namespace Media
