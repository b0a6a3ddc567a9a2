#pragma once
// Laying a picture drawn in main memory over a rectangle of a GPU image, for 2-D drawing
// (draw2d/resource_surface.h).
#include <cstdint>

namespace Media {

class ResourceBuffer;

// Uploads `width` x `height` premultiplied BGRA pixels (rows `stride` bytes apart) and draws
// them with the premultiplied "over" blend at (x, y) of the buffer's image; a mask takes the
// picture's coverage. Failures throw at "Media::RenderTargetDirect3D::clearTarget".
void overlayPicture(ResourceBuffer& buffer, uint32_t x, uint32_t y, uint32_t width,
                    uint32_t height, const uint8_t* pixels, uint64_t stride);

}  // namespace Media
