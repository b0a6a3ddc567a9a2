// Which samples belong to which frame: consecutive frames cover the samples without gaps or
// overlaps, in 64 bits.
#include "render/audio_timing.h"

#include <gtest/gtest.h>

namespace {

TEST(AudioTimingTest, FramesCoverTheSamplesWithoutGaps) {
  struct Case {
    int32_t rate, scale, audioRate;
    std::vector<int64_t> counts;  // of frames 0, 1, 2, ...
  };
  const Case cases[] = {
      {30000, 1001, 48000, {1602, 1601, 1602, 1601, 1602}},
      {30, 1, 48000, {1600, 1600, 1600}},
      {24, 1, 44100, {1838, 1837, 1838, 1837}},
  };
  for (const auto& c : cases) {
    int64_t start = 0;
    for (std::size_t f = 0; f < c.counts.size(); ++f) {
      const int64_t first = Render::frameFirstSample(c.audioRate, c.rate, c.scale, f);
      const int64_t next = Render::frameFirstSample(c.audioRate, c.rate, c.scale, f + 1);
      EXPECT_EQ(first, start) << c.rate << " frame " << f;
      EXPECT_EQ(next - first, c.counts[f]) << c.rate << " frame " << f;
      start = next;
    }
  }
}

TEST(AudioTimingTest, ThirteenHoursDoNotWrap) {
  // 13 hours at 30 fps and 48 kHz: 1,404,000 frames, 2,246,400,000 samples (past 2^31).
  const int64_t frame = int64_t{13} * 3600 * 30;
  EXPECT_EQ(Render::frameFirstSample(48000, 30, 1, frame), int64_t{2246400000});
  EXPECT_EQ(Render::frameFirstSample(48000, 0, 1, frame), 0) << "no rate, no samples";
}

}  // namespace
