#include "gpu/image/image_buffer_pool.h"

#include <mutex>
#include <vector>

#include "gpu/image/image_buffer.h"

namespace Media {

// The kept images, shared with the deleters of the images handed out.
struct ImageBufferPool::Shelf {
  explicit Shelf(uint64_t limit) : byteLimit(limit) {}

  // The kept image with the smallest block of at least `bytes`, or null.
  std::unique_ptr<ImageBuffer> takeFitting(uint64_t bytes) {
    std::lock_guard lock(mutex);
    std::size_t best = kept.size();
    for (std::size_t i = 0; i < kept.size(); ++i) {
      const uint64_t capacity = kept[i]->pixels.capacity();
      if (capacity >= bytes && (best == kept.size() || capacity < kept[best]->pixels.capacity()))
        best = i;
    }
    if (best == kept.size()) return nullptr;
    std::unique_ptr<ImageBuffer> image = std::move(kept[best]);
    kept[best] = std::move(kept.back());
    kept.pop_back();
    keptBytes -= image->pixels.capacity();
    return image;
  }

  void give(ImageBuffer* returned) noexcept {
    std::unique_ptr<ImageBuffer> image(returned);
    const uint64_t capacity = image->pixels.capacity();
    std::lock_guard lock(mutex);
    if (capacity == 0 || keptBytes + capacity > byteLimit) return;
    try {
      kept.push_back(std::move(image));
      keptBytes += capacity;
    } catch (...) {
      // No room to note it: the image is freed like any other.
    }
  }

  const uint64_t byteLimit;
  mutable std::mutex mutex;
  std::vector<std::unique_ptr<ImageBuffer>> kept;
  uint64_t keptBytes = 0;
};

ImageBufferPool::ImageBufferPool(uint64_t byteLimit)
    : shelf_(std::make_shared<Shelf>(byteLimit)) {}

ImageBufferPool::~ImageBufferPool() = default;

std::shared_ptr<ImageBuffer> ImageBufferPool::take(int32_t format, uint32_t width,
                                                   uint32_t height, uint32_t pitch) {
  if (pitch == 0) pitch = ImageBuffer::getDefaultPitchSize(format, width);
  std::unique_ptr<ImageBuffer> image =
      shelf_->takeFitting(static_cast<uint64_t>(height) * pitch);
  if (!image) image = std::make_unique<ImageBuffer>();
  image->format = format;
  image->allocate(width, height, pitch);
  return std::shared_ptr<ImageBuffer>(image.release(), [shelf = shelf_](ImageBuffer* returned) {
    shelf->give(returned);
  });
}

uint64_t ImageBufferPool::keptBytes() const {
  std::lock_guard lock(shelf_->mutex);
  return shelf_->keptBytes;
}

}  // namespace Media
