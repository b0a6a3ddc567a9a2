#pragma once
// A staging area for reading a GPU image back into main memory: a pixel buffer of the
// device sized for one image of a given size and format.
//
// A read copies the texture into it, maps it (waiting for the copy), uses the mapped rows
// and unmaps it; the mapping is a scope object, so the unmap runs also when an exception
// leaves the scope. Rows are `rowPitch` bytes apart: the texel bytes of a row rounded up to
// 32, the default pitch of images in main memory.
#include <epoxy/gl.h>

#include <cstdint>

#include "gpu/gl/gl_object.h"
#include "gpu/gl/gl_pixel_format.h"

namespace Media {

class GpuTexture;

class CpuAccessBuffer {
 public:
  // A failure throws "Direct3DService::Get().device->CreateTexture2D" at
  // "Media::CpuAccessBuffer::CpuAccessBuffer".
  CpuAccessBuffer(uint32_t width, uint32_t height, int32_t format);
  CpuAccessBuffer(const CpuAccessBuffer&) = delete;
  CpuAccessBuffer& operator=(const CpuAccessBuffer&) = delete;

  // Copies the whole texture (same size and format, single-sampled) into the buffer.
  void copyFrom(GpuTexture& texture);

  // Reads the whole texture (single-sampled) straight into memory whose rows lie `rowPitch`
  // bytes apart, a multiple of the texel bytes, over `size` bytes that hold every row: the
  // one copy a picture needs, without a staging buffer between. Waits for the read. Wrong
  // sizes throw "CopyResource" (invalid argument), a failed read "glGetTextureImage".
  static void readInto(GpuTexture& texture, uint8_t* pixels, uint32_t rowPitch, uint64_t size);

  class Mapping {
   public:
    explicit Mapping(CpuAccessBuffer& buffer);
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;
    ~Mapping();
    const uint8_t* data() const { return data_; }
    uint32_t rowPitch() const { return buffer_.rowPitch_; }
    const uint8_t* row(uint32_t y) const { return data_ + static_cast<uint64_t>(y) * rowPitch(); }

   private:
    CpuAccessBuffer& buffer_;
    const uint8_t* data_ = nullptr;
  };
  // Maps the buffer for reading; waits for the copy. Failure throws "glMapNamedBufferRange".
  Mapping map() { return Mapping(*this); }

  uint32_t width() const { return width_; }
  uint32_t height() const { return height_; }
  int32_t format() const { return format_; }
  uint32_t rowPitch() const { return rowPitch_; }

 private:
  uint32_t width_;
  uint32_t height_;
  int32_t format_;
  const PixelFormatInfo* info_ = nullptr;
  uint32_t rowPitch_ = 0;
  uint64_t size_ = 0;
  Gl::Object storage_;
};

}  // namespace Media
