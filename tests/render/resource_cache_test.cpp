// The named images of a frame: a pixel budget, least recently used first out.
#include <gtest/gtest.h>

#include "render/resource_cache.h"

namespace {

std::shared_ptr<Media::ResourceBuffer> token(int n) {
  // The cache never looks inside its images: any distinct pointer stands for one.
  return std::shared_ptr<Media::ResourceBuffer>(reinterpret_cast<Media::ResourceBuffer*>(n),
                                                [](Media::ResourceBuffer*) {});
}

TEST(ResourceCacheTest, TheLeastRecentlyUsedImageLeavesFirst) {
  Render::ResourceCache cache(100);
  cache.add("a", token(1), 40);
  cache.add("b", token(2), 40);
  EXPECT_EQ(cache.find("a"), token(1));  // a is now the most recent
  cache.add("c", token(3), 40);
  EXPECT_EQ(cache.find("b"), nullptr);
  EXPECT_EQ(cache.find("a"), token(1));
  EXPECT_EQ(cache.find("c"), token(3));
  EXPECT_EQ(cache.used(), 80u);
}

TEST(ResourceCacheTest, ANameAddedAgainReplacesItsEntryAndSize) {
  Render::ResourceCache cache(100);
  cache.add("a", token(1), 60);
  cache.add("a", token(2), 30);
  EXPECT_EQ(cache.size(), 1u);
  EXPECT_EQ(cache.used(), 30u);
  EXPECT_EQ(cache.find("a"), token(2));
}

TEST(ResourceCacheTest, CapacitiesOfZeroAndBelow) {
  Render::ResourceCache none(0);
  none.add("a", token(1), 1);
  EXPECT_EQ(none.find("a"), nullptr);
  EXPECT_EQ(none.used(), 0u);

  // A negative budget reads as a huge unsigned one: nothing is ever evicted.
  Render::ResourceCache unbounded(-1);
  for (int i = 1; i <= 50; ++i) unbounded.add(std::to_string(i), token(i), 1 << 30);
  EXPECT_EQ(unbounded.size(), 50u);
  EXPECT_EQ(unbounded.find("1"), token(1));
}

}  // namespace
