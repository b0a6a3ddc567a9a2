#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <cstring>

#include "gpu/copy_pass.h"
#include "gpu/gpu_test_support.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"

namespace {

using TestSupport::GpuTest;

struct Uploaded {
  std::unique_ptr<Media::ResourceBuffer> buffer;
  std::unique_ptr<Media::RenderBuffer> drawn;  // the same image drawn by the uploading thread
  uint8_t value;
};

bool holdsOnly(const Media::ImageBuffer& image, uint8_t value) {
  for (uint32_t y = 0; y < image.height; ++y)
    for (uint32_t x = 0; x < image.width * 4; ++x)
      if (image.row(y)[x] != value) return false;
  return true;
}

// Two threads upload images of one value each, and draw each into a frame of their own,
// while a third draws every image as soon as it arrives and reads back both drawings:
// every pixel must hold the image's value, never a mix of an image and what its texture
// held before. (Drawing is where a driver defers work, so the frames drawn on the
// uploading threads are what shows a missing wait.)
TEST_F(GpuTest, UploadsFromTwoThreadsWhileAThirdDrawsGiveWholeImages) {
  constexpr uint32_t kSide = 512;
  constexpr int kImagesPerThread = 12;
  std::mutex mutex;
  std::condition_variable arrived;
  std::deque<Uploaded> queue;
  int finishedUploaders = 0;

  auto upload = [&](uint8_t first) {
    Media::ImageBuffer image(28, kSide, kSide);
    for (int i = 0; i < kImagesPerThread; ++i) {
      const auto value = static_cast<uint8_t>(first + i * 2);
      std::memset(image.data(), value, image.usedSize());
      auto buffer = Media::ResourceBuffer::createBuffer(0, 0, 28);
      buffer->create(image);
      auto drawn = std::make_unique<Media::RenderBuffer>(static_cast<int32_t>(kSide), static_cast<int32_t>(kSide), 28);
      Media::drawCopy(Media::CopyKind::Plain, *buffer->createShaderResourceView(),
                      *drawn->createRenderTargetView());
      {
        std::lock_guard lock(mutex);
        queue.push_back({std::move(buffer), std::move(drawn), value});
      }
      arrived.notify_one();
    }
    std::lock_guard lock(mutex);
    ++finishedUploaders;
    arrived.notify_one();
  };

  int checked = 0;
  int wrongImages = 0;
  auto draw = [&] {
    Media::RenderBuffer frame(static_cast<int32_t>(kSide), static_cast<int32_t>(kSide), 28);
    for (;;) {
      Uploaded next;
      {
        std::unique_lock lock(mutex);
        arrived.wait(lock, [&] { return !queue.empty() || finishedUploaders == 2; });
        if (queue.empty()) return;
        next = std::move(queue.front());
        queue.pop_front();
      }
      if (!holdsOnly(*next.drawn->readBack(), next.value)) ++wrongImages;
      Media::drawCopy(Media::CopyKind::Plain, *next.buffer->createShaderResourceView(),
                      *frame.createRenderTargetView());
      if (!holdsOnly(*frame.readBack(), next.value)) ++wrongImages;
      ++checked;
    }
  };

  std::thread drawer(draw);
  std::thread first(upload, uint8_t{1});
  std::thread second(upload, uint8_t{2});
  first.join();
  second.join();
  drawer.join();
  EXPECT_EQ(checked, 2 * kImagesPerThread);
  EXPECT_EQ(wrongImages, 0);
  EXPECT_EQ(service().device().contextCount(), 1u) << "the threads' contexts ended with them";
}

}  // namespace
