// The directional blur: weights falling as 1 - i^2 / N^2 along the direction.
#define STREAK_WEIGHT(i, n) (1.0 - (i) * (i) / ((n) * (n)))
#include "streak_blur.hlsli"
