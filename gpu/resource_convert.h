#pragma once
// Moves images between the pixel formats of media and the GPU layer's working format
// (R16G16B16A16_FLOAT, premultiplied alpha), on the graphics processor.
//
// Going in, an image in main memory of any supported format becomes the contents of a
// resource buffer in format 10; going out, a frame in format 10 becomes a YUV image in main
// memory (R16G16B16A16_SNORM 4:4:4 or YUY2) for the writers that take YUV. The YUV matrix
// follows the device service's InputYUVColorSpace and OutputYUVColorSpace (yuv_matrix.h).
//
// Each conversion makes its temporaries and constants and releases them at the end; the
// shaders are kept by the device service. The temporaries' textures may come back from the
// thread's texture shelf, and a frame is read straight into an image of the read-back pool
// (RenderBuffer::readBackPool), so that a conversion every frame neither has the driver
// make and clear frame-sized memory nor writes into fresh pages.
#include <cstdint>
#include <memory>

#include "gpu/resource_buffer.h"

namespace Media {

class Direct3DService;
class ImageBuffer;
class RenderBuffer;
class ResourceConvert {
 public:
  ResourceConvert();

  // Uploads the source and draws it into the target, which must be in format 10. The
  // target first takes the source's size (each side at most 16384) when they differ. An
  // unsupported pair throws "unsupported convert format." at "Media::ResourceConvert::convert"
  // with the note "DXGI format <source> -> <target>", the source as the GPU holds it (YUY2
  // shows as 69); the target then keeps its new size with undefined contents.
  void convert(const ImageBuffer& source, ResourceBuffer& target);
  // The same, except that a YUY2 source is uploaded as its pixel pairs, which the target
  // keeps until a use needs the working format (ResourceBuffer::packedPairs).
  void convertWhenUsed(const ImageBuffer& source, ResourceBuffer& target);
  // Draws kept pairs into the target's texture, which has the pairs' size in pixels.
  void drawPackedPairs(const ResourceBuffer::PackedPairs& pairs, ResourceBuffer& target);

  // Turns a frame in format 10 into a new image in `targetFormat`: 13 (R16G16B16A16_SNORM)
  // or 107 (YUY2). Another pair throws as convert does.
  void convertFrame(std::shared_ptr<ImageBuffer>& result, RenderBuffer& frame,
                    int32_t targetFormat);

 private:
  Direct3DService& direct3D_;
};

}  // namespace Media
