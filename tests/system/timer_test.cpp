#include "system/timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fake_ui_bridge.h"
#include "system/descriptor.h"

using namespace std::chrono_literals;
using System::Timer;
using TestSupport::FakeUiBridge;

namespace {

// Turns the fake loop until `done` holds; false when a turn found nothing to run for a
// whole second.
template <class Condition>
bool pumpUntil(FakeUiBridge& bridge, Condition done) {
  while (!done())
    if (!bridge.pumpOnce(1000ms)) return false;
  return true;
}

TEST(TimerTest, APeriodicTimerRunsOnTheLoopUntilCleared) {
  FakeUiBridge bridge;
  Timer timer;
  int runs = 0;
  timer.set(10, [&] { ++runs; });
  ASSERT_TRUE(timer.isSet());
  EXPECT_EQ(bridge.handles.count(timer.descriptor()), 1u);

  ASSERT_TRUE(pumpUntil(bridge, [&] { return runs == 3; }));

  timer.clear();
  EXPECT_FALSE(timer.isSet());
  EXPECT_EQ(timer.identifier(), 0u);
  EXPECT_EQ(timer.descriptor(), -1);
  EXPECT_TRUE(bridge.handles.empty());
  EXPECT_FALSE(bridge.pumpOnce(50ms));
  EXPECT_EQ(runs, 3);
}

TEST(TimerTest, ATimerThatClearsItselfRunsOnce) {
  FakeUiBridge bridge;
  Timer timer;
  int runs = 0;
  // The callable is destroyed by its own clear while it runs: it must still run to its end.
  timer.set(10, [&] {
    timer.clear();
    ++runs;
  });
  ASSERT_TRUE(bridge.pumpOnce(1000ms));
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(timer.isSet());
  EXPECT_TRUE(bridge.handles.empty());
  std::this_thread::sleep_for(30ms);
  EXPECT_FALSE(bridge.pumpOnce(0ms));
  EXPECT_EQ(runs, 1);
}

TEST(TimerTest, SettingTwiceReArmsTheSameIdentifierAndReplacesTheCallable) {
  FakeUiBridge bridge;
  Timer timer;
  int first = 0;
  int second = 0;
  timer.set(60000, [&] { ++first; });
  const Timer::Identifier identifier = timer.identifier();
  const int descriptor = timer.descriptor();

  // Only the new, short period can make it run within the test.
  timer.set(10, [&] { ++second; });
  EXPECT_EQ(timer.identifier(), identifier);
  EXPECT_EQ(timer.descriptor(), descriptor);
  EXPECT_EQ(bridge.registrations, 1);

  ASSERT_TRUE(pumpUntil(bridge, [&] { return second == 2; }));
  EXPECT_EQ(first, 0);
}

TEST(TimerTest, ClearingAnUnsetTimerDoesNothingAndDestructionClears) {
  FakeUiBridge bridge;
  Timer idle;
  idle.clear();
  EXPECT_EQ(bridge.registrations, 0);

  Timer::Identifier identifier = 0;
  int runs = 0;
  {
    Timer timer;
    timer.set(10, [&] { ++runs; });
    identifier = timer.identifier();
  }
  EXPECT_TRUE(bridge.handles.empty());
  // A late call for the destroyed timer finds nothing to run.
  Timer::timerProc(identifier);
  EXPECT_EQ(runs, 0);
}

TEST(TimerTest, WithoutABridgeTheCallerDrivesTheTimer) {
  Timer timer;
  int runs = 0;
  timer.set(0, [&] { ++runs; });  // raised to the shortest period, not disarmed
  const int descriptor = timer.descriptor();
  ASSERT_EQ(System::waitReadable({&descriptor, 1}, 1000ms, "test"), 0);
  // Expiries that piled up run the callable once and are all taken.
  std::this_thread::sleep_for(50ms);
  Timer::timerProc(timer.identifier());
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(System::isReadable(descriptor));

  Timer::timerProc(timer.identifier() + 1000);  // unknown: ignored
  EXPECT_EQ(runs, 1);
}

TEST(TimerTest, ATimerSetBeforeTheUiCameIsWatchedFromItsNextSet) {
  Timer timer;
  int runs = 0;
  timer.set(60000, [&] { ++runs; });
  FakeUiBridge bridge;
  EXPECT_TRUE(bridge.handles.empty());
  timer.set(10, [&] { ++runs; });
  EXPECT_EQ(bridge.handles.count(timer.descriptor()), 1u);
  ASSERT_TRUE(pumpUntil(bridge, [&] { return runs == 1; }));
  timer.clear();
  EXPECT_TRUE(bridge.handles.empty());
}

}  // namespace
