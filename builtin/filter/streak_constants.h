#pragma once
// The constants of the shaders that blur along a line both ways (the glow's streaks and the
// directional blur), laid out as the shaders declare them.
#include <cstdint>

namespace Effect {

struct StreakConstants {
  float offset[2];  // input position of the output's first pixel
  float step[2];    // one forward step, in pixels
  float stepRatio;  // scale of the backward steps
  int32_t sampleNum;  // N, taps per direction
  float padding[2];
};
static_assert(sizeof(StreakConstants) == 32);

}  // namespace Effect
