// The glow's streaks: weights falling smoothly from 1 at the pixel to 0 at N taps,
// S((N - i) / N) with S(t) = t^2 (3 - 2t).
#define STREAK_WEIGHT(i, n) smoothstep(0.0, 1.0, ((n) - (i)) / (n))
#include "streak_blur.hlsli"
