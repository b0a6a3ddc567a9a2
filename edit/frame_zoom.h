#pragma once
// The timeline's zoom: 10000 is 100 %. A value is one of 27 fixed steps; the normaliser
// replaces any other value.
#include <array>
#include <cstdint>
#include <functional>

namespace Edit {

class FrameZoom {
 public:
  using Normalizer = std::function<void(int32_t& zoom)>;
  static constexpr std::array<int32_t, 27> kSteps{
      20,   30,   40,   50,   75,   100,   150,   200,   300,   400,   500,   750,   1000,  1500,
      2000, 3000, 4000, 5000, 7500, 10000, 15000, 20000, 30000, 40000, 50000, 75000, 100000};
  static constexpr int32_t kDefault = 10000;

  // 10000 with the default normaliser.
  FrameZoom();

  // The zoom `steps` steps away from `current` (a value that is no step counts as lying
  // before the first one), kept between the first and the last step.
  static FrameZoom shift(int32_t current, int steps);
  // Replaces a value that is not a step by 10000.
  static void defaultNormalizer(int32_t& zoom);

  int32_t zoom = kDefault;
  Normalizer normalizer;
};

}  // namespace Edit
