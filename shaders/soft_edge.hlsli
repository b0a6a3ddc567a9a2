// The soft edges of the clipping and gradient masks: t*t*(3 - 2t) over t clamped to [0, 1],
// and the ratio of a distance to an edge's width.
#ifndef SOFT_EDGE_HLSLI
#define SOFT_EDGE_HLSLI

float softStep(float t) {
  t = saturate(t);
  return t * t * (3.0 - 2.0 * t);
}

// a / width with the width kept at least 1e-6 away from zero (its sign kept): an edge of
// width 0 becomes a hard one instead of infinity or NaN, which GPUs clamp loosely.
float edgeRatio(float a, float width) {
  const float kNarrowest = 1.0e-6;
  if (abs(width) < kNarrowest) width = width < 0.0 ? -kNarrowest : kNarrowest;
  return a / width;
}

#endif
