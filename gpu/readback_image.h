#pragma once
// A frame held as an 8-bit RGBA image in main memory for the preview and the player.
//
// setImage converts the frame to 8 bits on the GPU, reads it back and replaces the image
// under the mutex; readers take the same mutex while they use the pixels.
#include <mutex>

#include "gpu/image/image_buffer.h"

namespace Media {

class RenderBuffer;

class ReadbackImage {
 public:
  ReadbackImage();
  ReadbackImage(const ReadbackImage&) = delete;
  ReadbackImage& operator=(const ReadbackImage&) = delete;

  void setImage(RenderBuffer& frame);

  // Runs `reader` with the image under the mutex.
  template <class Reader>
  void read(Reader&& reader) const {
    std::lock_guard lock(mutex_);
    reader(static_cast<const ImageBuffer&>(image_));
  }

  std::mutex& mutex() const { return mutex_; }
  // Only while holding mutex().
  const ImageBuffer& image() const { return image_; }

 private:
  ImageBuffer image_;
  mutable std::mutex mutex_;
};

}  // namespace Media
