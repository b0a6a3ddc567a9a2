#pragma once
// Images of the same few sizes made again and again (a movie's decoded frames, an export's
// frames read back from the GPU) go back to a pool when their last user drops them, and the
// next image of that size takes their memory instead of new memory.
//
// New memory is not free: the first write to each of its pages takes a page fault and a
// page of zeroes, which for a frame of several megabytes can cost as much as drawing it. A
// pooled block has been written before.
//
// The pool keeps at most `byteLimit` bytes of blocks nobody uses; a block that would go
// beyond is freed. Images may be dropped on any thread and after the pool itself is gone.
#include <cstdint>
#include <memory>

namespace Media {

class ImageBuffer;

class ImageBufferPool {
 public:
  explicit ImageBufferPool(uint64_t byteLimit);
  ImageBufferPool(const ImageBufferPool&) = delete;
  ImageBufferPool& operator=(const ImageBufferPool&) = delete;
  ~ImageBufferPool();

  // An image of the format and size with the pitch (0: the default pitch), in the smallest
  // kept block that holds it or in a new one; its pixels are undefined. Sizes that cannot
  // be had throw as ImageBuffer::allocate does.
  std::shared_ptr<ImageBuffer> take(int32_t format, uint32_t width, uint32_t height,
                                    uint32_t pitch = 0);

  // The bytes of the blocks kept for reuse.
  uint64_t keptBytes() const;

 private:
  struct Shelf;
  std::shared_ptr<Shelf> shelf_;
};

}  // namespace Media
