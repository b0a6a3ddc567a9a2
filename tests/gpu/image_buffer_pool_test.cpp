// The pool of images: a dropped image's memory serves the next image it holds, up to the
// pool's byte limit, and images outlive the pool.
#include "gpu/image/image_buffer_pool.h"

#include <gtest/gtest.h>

#include <thread>

#include "gpu/image/image_buffer.h"
#include "gpu/pixel_format.h"

namespace {

using Media::DxgiFormat::R16G16B16A16_FLOAT;
using Media::DxgiFormat::YUY2;
using Media::ImageBuffer;
using Media::ImageBufferPool;

constexpr uint64_t kMegabyte = uint64_t{1} << 20;

TEST(ImageBufferPoolTest, AnImageTakesTheFormatSizeAndPitchAskedFor) {
  ImageBufferPool pool(kMegabyte);
  const auto image = pool.take(YUY2, 7, 3);
  EXPECT_EQ(image->format, YUY2);
  EXPECT_EQ(image->width, 7u);
  EXPECT_EQ(image->height, 3u);
  EXPECT_EQ(image->pitch, ImageBuffer::getDefaultPitchSize(YUY2, 7));
  EXPECT_EQ(image->usedSize(), 3u * image->pitch);
  EXPECT_EQ(pool.take(R16G16B16A16_FLOAT, 4, 2, 64)->pitch, 64u);
}

TEST(ImageBufferPoolTest, ADroppedImagesBlockServesTheNextImageItHolds) {
  ImageBufferPool pool(kMegabyte);
  auto first = pool.take(YUY2, 64, 32);
  const uint8_t* block = first->data();
  first.reset();
  EXPECT_EQ(pool.keptBytes(), 64u * 2 * 32);

  // The same size, then a smaller one of another format, reuse the block.
  auto again = pool.take(YUY2, 64, 32);
  EXPECT_EQ(again->data(), block);
  EXPECT_EQ(pool.keptBytes(), 0u);
  again.reset();
  auto smaller = pool.take(R16G16B16A16_FLOAT, 8, 8);
  EXPECT_EQ(smaller->data(), block);
  EXPECT_EQ(smaller->format, R16G16B16A16_FLOAT);
  EXPECT_EQ(smaller->usedSize(), 8u * 64);
  smaller.reset();

  // A larger image cannot use it and leaves it kept.
  const auto larger = pool.take(YUY2, 64, 64);
  EXPECT_NE(larger->data(), block);
  EXPECT_EQ(pool.keptBytes(), 64u * 2 * 32);
}

TEST(ImageBufferPoolTest, TheSmallestBlockThatHoldsTheImageIsTaken) {
  ImageBufferPool pool(kMegabyte);
  auto big = pool.take(YUY2, 256, 16);
  auto small = pool.take(YUY2, 64, 16);
  const uint8_t* smallBlock = small->data();
  big.reset();
  small.reset();
  EXPECT_EQ(pool.take(YUY2, 32, 16)->data(), smallBlock);
}

TEST(ImageBufferPoolTest, BlocksBeyondTheLimitAreFreed) {
  // Room for one 64 x 32 YUY2 block (4 kB), not two.
  ImageBufferPool pool(6 * 1024);
  auto a = pool.take(YUY2, 64, 32);
  auto b = pool.take(YUY2, 64, 32);
  a.reset();
  b.reset();
  EXPECT_EQ(pool.keptBytes(), 4096u);
  ImageBufferPool none(0);
  none.take(YUY2, 2, 2).reset();
  EXPECT_EQ(none.keptBytes(), 0u);
}

TEST(ImageBufferPoolTest, ImagesMayBeDroppedOnAnotherThreadAndAfterThePool) {
  auto pool = std::make_unique<ImageBufferPool>(kMegabyte);
  auto image = pool->take(YUY2, 16, 16);
  std::thread([moved = pool->take(YUY2, 16, 16)]() mutable { moved.reset(); }).join();
  EXPECT_EQ(pool->keptBytes(), 16u * 2 * 16);
  pool.reset();
  image->data()[0] = 1;  // still the caller's
  image.reset();         // goes to the pool's shelf, which the image kept alive
}

TEST(ImageBufferPoolTest, ASizeThatCannotBeHadThrowsAndLeavesTheKeptBlocks) {
  ImageBufferPool pool(kMegabyte);
  pool.take(YUY2, 16, 16).reset();
  EXPECT_ANY_THROW(pool.take(YUY2, 0xffffffffu, 0xffffffffu));
  EXPECT_ANY_THROW(pool.take(0, 4, 4));
  EXPECT_EQ(pool.keptBytes(), 16u * 2 * 16);
}

}  // namespace
