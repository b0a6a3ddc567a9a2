// The pre-load cache: one load per key whatever the number of callers, eviction by weight in
// order of last use, reservations for values made elsewhere, and a stop that wakes waiters.
#include "system/preload_cache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <string>
#include <thread>

namespace {

using Cache = System::PreLoadCache<int, std::string>;

// A loader that stores "value <key>" with weight 1 and counts its runs.
Cache::Loader storing(Cache& cache, int key, std::atomic<int>& runs) {
  return [&cache, key, &runs] {
    ++runs;
    cache.store(key, std::make_shared<std::string>("value " + std::to_string(key)), 1);
  };
}

TEST(PreLoadCacheTest, GetLoadsOnceAndTouchesTheEntryWhileRequestDoesNot) {
  Cache cache;
  cache.setLimit(10);
  std::atomic<int> runs{0};
  EXPECT_EQ(*cache.get(1, storing(cache, 1, runs)), "value 1");
  EXPECT_EQ(*cache.get(2, storing(cache, 2, runs)), "value 2");
  cache.request(1, storing(cache, 1, runs));  // cached: no load, no move
  EXPECT_EQ(cache.keys(), (std::list<int>{2, 1}));
  cache.get(1, storing(cache, 1, runs));  // cached: moved to the front
  EXPECT_EQ(cache.keys(), (std::list<int>{1, 2}));
  EXPECT_EQ(runs, 2);
}

TEST(PreLoadCacheTest, ManyWaitersShareOneLoad) {
  Cache cache;
  cache.setLimit(10);
  std::promise<void> go;
  std::shared_future<void> started = go.get_future().share();
  std::atomic<int> runs{0};
  auto slow = [&] {
    started.wait();
    ++runs;
    cache.store(7, std::make_shared<std::string>("seven"), 1);
  };
  std::vector<std::future<std::shared_ptr<std::string>>> results;
  for (int i = 0; i < 4; ++i)
    results.push_back(std::async(std::launch::async, [&] { return cache.get(7, slow); }));
  while (!cache.isPending(7)) std::this_thread::yield();
  go.set_value();
  std::shared_ptr<std::string> first = results[0].get();
  for (std::size_t i = 1; i < results.size(); ++i) EXPECT_EQ(results[i].get(), first);
  EXPECT_EQ(runs, 1);
}

TEST(PreLoadCacheTest, WeightsEvictTheLeastRecentlyUsed) {
  Cache cache;
  cache.setLimit(10);
  for (int key = 0; key < 3; ++key) cache.store(key, std::make_shared<std::string>("x"), 4);
  // 0, 1, 2 weigh 12 > 10: 0 went first.
  EXPECT_EQ(cache.keys(), (std::list<int>{2, 1}));
  EXPECT_EQ(cache.total(), 8u);
  cache.store(1, std::make_shared<std::string>("y"), 2);  // replaces, corrects the total
  EXPECT_EQ(cache.total(), 6u);
  cache.setLimit(3);
  EXPECT_EQ(cache.keys(), (std::list<int>{1}));
  // A limit of 0 keeps nothing, but the waiters of a load still receive its value.
  cache.setLimit(0);
  std::atomic<int> runs{0};
  EXPECT_EQ(*cache.get(5, storing(cache, 5, runs)), "value 5");
  EXPECT_FALSE(cache.contains(5));
  cache.removeIf([](int) { return true; });
  EXPECT_EQ(cache.total(), 0u);
}

TEST(PreLoadCacheTest, ALoaderThatFailsEndsItsKeyEmptyAndTheNextGetTriesAgain) {
  Cache cache;
  cache.setLimit(10);
  EXPECT_EQ(cache.get(3, [] { throw std::runtime_error("broken file"); }), nullptr);
  EXPECT_EQ(cache.get(3, [] {}), nullptr);  // made nothing
  EXPECT_FALSE(cache.isPending(3));
  std::atomic<int> runs{0};
  EXPECT_NE(cache.get(3, storing(cache, 3, runs)), nullptr);
}

TEST(PreLoadCacheTest, AGetWithoutALoaderNeverLeavesAReservation) {
  Cache cache;
  cache.setLimit(10);
  EXPECT_EQ(cache.get(4, {}), nullptr);
  EXPECT_FALSE(cache.isPending(4));
}

TEST(PreLoadCacheTest, AReservationWakesItsWaitersWhenStoredOrAbandoned) {
  Cache cache;
  cache.setLimit(10);
  bool reserved = false;
  EXPECT_EQ(cache.reserve(8, reserved), nullptr);
  ASSERT_TRUE(reserved);
  auto waiter = std::async(std::launch::async, [&] { return cache.get(8, {}); });
  cache.store(8, std::make_shared<std::string>("rendered"), 1);
  EXPECT_EQ(*waiter.get(), "rendered");
  EXPECT_EQ(*cache.reserve(8, reserved), "rendered");
  EXPECT_FALSE(reserved);

  ASSERT_EQ(cache.reserve(9, reserved), nullptr);
  auto abandoned = std::async(std::launch::async, [&] { return cache.get(9, {}); });
  cache.abandon(9);
  EXPECT_EQ(abandoned.get(), nullptr);
  EXPECT_FALSE(cache.isPending(9));
}

TEST(PreLoadCacheTest, StopWakesWaitersAndLaterGetsReturnAtOnce) {
  Cache cache;
  cache.setLimit(10);
  bool reserved = false;
  cache.reserve(1, reserved);
  auto waiter = std::async(std::launch::async, [&] { return cache.get(1, {}); });
  while (waiter.wait_for(std::chrono::milliseconds(1)) != std::future_status::timeout) {
  }
  cache.stop();
  EXPECT_EQ(waiter.get(), nullptr);
  std::atomic<int> runs{0};
  EXPECT_EQ(cache.get(2, storing(cache, 2, runs)), nullptr);
  EXPECT_EQ(runs, 0);
}

TEST(PreLoadCacheTest, ClearWaitsForQueuedLoadsThenDropsEverything) {
  Cache cache;
  cache.setLimit(100);
  std::atomic<int> runs{0};
  for (int key = 0; key < 5; ++key) cache.request(key, storing(cache, key, runs));
  cache.clear();
  EXPECT_EQ(runs, 5);
  EXPECT_EQ(cache.total(), 0u);
  EXPECT_TRUE(cache.keys().empty());
}

}  // namespace
