#pragma once
// The counter the preview player keeps its time by. The player reads it on the UI thread
// only; a test puts a clock of its own in place of the monotonic one and moves it by hand.
#include <cstdint>

namespace Render {

class PlayerClock {
 public:
  virtual ~PlayerClock() = default;
  // Ticks since an arbitrary origin; never goes back.
  virtual int64_t counter() = 0;
  // Ticks per second; constant.
  virtual int64_t frequency() const = 0;
  // Called between two reads while the player waits a few milliseconds for a frame's time.
  virtual void pause() = 0;
};

// CLOCK_MONOTONIC in nanoseconds.
class MonotonicClock : public PlayerClock {
 public:
  int64_t counter() override;
  int64_t frequency() const override { return 1000000000; }
  // The processor's spin-wait hint.
  void pause() override;
};

}  // namespace Render
