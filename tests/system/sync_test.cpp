#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "system/descriptor.h"
#include "system/sync_event.h"
#include "system/sync_semaphore.h"
#include "system/sync_timer.h"
#include "thread_test_support.h"

using namespace std::chrono_literals;

namespace {

bool readable(int descriptor) { return System::isReadable(descriptor); }

TEST(SyncEvent, StaysSignalledUntilResetAndWaitingTakesNothing) {
  Sync::Event event;
  EXPECT_FALSE(readable(event.descriptor()));
  EXPECT_FALSE(event.waitFor(0ms));

  event.set();
  event.set();
  EXPECT_TRUE(readable(event.descriptor()));
  event.wait();
  EXPECT_TRUE(event.waitFor(0ms));
  EXPECT_TRUE(event.isSet()) << "a manual-reset event stays set after waits";

  event.reset();
  EXPECT_FALSE(readable(event.descriptor()));
  EXPECT_FALSE(event.isSet());
  event.reset();  // resetting a reset event changes nothing
  EXPECT_FALSE(event.isSet());
}

TEST(SyncEvent, SetOnAnotherThreadWakesEveryWaiter) {
  TestSupport::Watchdog watchdog("SyncEvent waiters");
  Sync::Event event;
  std::atomic<int> woken{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 3; ++i)
    waiters.emplace_back([&] {
      event.wait();
      ++woken;
    });
  event.set();
  for (auto& waiter : waiters) waiter.join();
  EXPECT_EQ(woken.load(), 3);
}

TEST(SyncSemaphore, WithoutSetMaxThereIsNoBound) {
  Sync::Semaphore semaphore;
  EXPECT_FALSE(semaphore.exists());
  EXPECT_EQ(semaphore.descriptor(), -1);
  EXPECT_EQ(semaphore.maximum(), 0);
  semaphore.acquire();
  EXPECT_TRUE(semaphore.tryWait());
  semaphore.release(3);  // nothing to give back to; no effect
  EXPECT_FALSE(semaphore.exists());
}

TEST(SyncSemaphore, CountsUnitsAndKeepsTheFirstMaximum) {
  Sync::Semaphore semaphore;
  semaphore.setMax(2);
  semaphore.setMax(5);  // an existing semaphore stays as it is
  ASSERT_TRUE(semaphore.exists());
  EXPECT_EQ(semaphore.maximum(), 2);

  EXPECT_TRUE(readable(semaphore.descriptor()));
  EXPECT_TRUE(semaphore.tryWait());
  semaphore.acquire();
  EXPECT_FALSE(semaphore.tryWait());
  EXPECT_FALSE(readable(semaphore.descriptor()));

  semaphore.release(2);
  EXPECT_TRUE(readable(semaphore.descriptor()));
  EXPECT_TRUE(semaphore.tryWait());
  EXPECT_TRUE(semaphore.tryWait());
  EXPECT_FALSE(semaphore.tryWait());
}

TEST(SyncSemaphore, AMaximumBelowOneIsAFailedCreation) {
  for (const int32_t count : {0, -3}) {
    Sync::Semaphore semaphore;
    try {
      semaphore.setMax(count);
      FAIL() << "setMax(" << count << ") made a semaphore";
    } catch (const std::exception& error) {
      const std::string text = error.what();
      EXPECT_NE(text.find("eventfd() failed."), std::string::npos) << text;
      EXPECT_NE(text.find("Sync::Semaphore::setMax()"), std::string::npos) << text;
    }
    EXPECT_FALSE(semaphore.exists());
  }
}

TEST(SyncSemaphore, AcquireWaitsForAReleaseOrGivesUpOnCancel) {
  TestSupport::Watchdog watchdog("SyncSemaphore acquire");
  Sync::Semaphore semaphore;
  semaphore.setMax(1);
  semaphore.acquire();

  std::atomic<bool> acquired{false};
  std::thread taker([&] {
    semaphore.acquire();
    acquired = true;
  });
  semaphore.release();
  taker.join();
  EXPECT_TRUE(acquired.load());

  // Empty again: a cancel wakes a waiting acquire, which takes nothing.
  Sync::Event cancel;
  std::atomic<int> result{-1};
  std::thread canceller([&] { result = semaphore.acquire(cancel) ? 1 : 0; });
  cancel.set();
  canceller.join();
  EXPECT_EQ(result.load(), 0);
  semaphore.release();
  EXPECT_FALSE(semaphore.acquire(cancel)) << "a set cancel wins even with a free unit";
  EXPECT_TRUE(semaphore.tryWait()) << "the unit is still there";
}

TEST(SyncTimer, ExpiresOnePeriodAfterArmingThenEveryPeriod) {
  TestSupport::Watchdog watchdog("SyncTimer expiries");
  Sync::Timer timer;
  EXPECT_FALSE(readable(timer.descriptor()));

  const auto armed = std::chrono::steady_clock::now();
  timer.setInterval(40);
  const int descriptor = timer.descriptor();
  ASSERT_EQ(System::waitReadable({&descriptor, 1}, 30s, "test"), 0);
  const auto first = std::chrono::steady_clock::now();
  EXPECT_GE(first - armed, 40ms) << "expired before its period";

  uint64_t expiries = timer.takeExpirations();
  EXPECT_GE(expiries, 1u);
  while (expiries < 2) {
    ASSERT_TRUE(timer.waitFor(30s));
    ++expiries;  // waitFor took at least one
  }
  EXPECT_GE(std::chrono::steady_clock::now() - armed, 80ms);
}

TEST(SyncTimer, TakingAndClearingResetTheSignal) {
  TestSupport::Watchdog watchdog("SyncTimer reset");
  Sync::Timer timer;
  timer.setInterval(10);
  ASSERT_TRUE(timer.waitFor(30s));
  ASSERT_TRUE(timer.waitFor(30s));  // expiring again after the take: it is periodic

  const int descriptor = timer.descriptor();
  ASSERT_EQ(System::waitReadable({&descriptor, 1}, 30s, "test"), 0);
  timer.clear();
  EXPECT_FALSE(readable(timer.descriptor())) << "clear forgets an expiry not yet taken";
  EXPECT_EQ(timer.takeExpirations(), 0u);
  EXPECT_FALSE(timer.tryWait());
}

TEST(SyncTimer, AZeroPeriodExpiresOnceAtOnce) {
  TestSupport::Watchdog watchdog("SyncTimer zero");
  Sync::Timer timer;
  timer.setInterval(0);
  EXPECT_TRUE(timer.waitFor(30s));
}

TEST(SystemDescriptor, WaitReadableGivesTheLowestReadyIndexOrTimesOut) {
  Sync::Event first;
  Sync::Event second;
  const int descriptors[2] = {first.descriptor(), second.descriptor()};
  EXPECT_EQ(System::waitReadable(descriptors, 0ms, "test"), -1);
  EXPECT_EQ(System::waitReadable(descriptors, 20ms, "test"), -1);
  second.set();
  EXPECT_EQ(System::waitReadable(descriptors, 0ms, "test"), 1);
  first.set();
  EXPECT_EQ(System::waitReadable(descriptors, std::nullopt, "test"), 0);
}

}  // namespace
