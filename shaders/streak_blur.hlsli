// A weighted blur along a straight line, both ways from the pixel: N taps forward by `step`
// and N - 1 backward by `step` x `stepRatio`, each pair at the same distance sharing one
// weight. The including file defines STREAK_WEIGHT(i, n), the weight of tap i of n.
#include "texel_fetch.hlsli"

Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float2 offset;  // input position of the output's first pixel
  float2 step;    // one forward step in pixels
  float stepRatio;
  int sampleNum;  // N
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float2 from = position.xy + offset;
  const float n = float(sampleNum);
  float4 sum = float4(0, 0, 0, 0);
  float weights = 0.0;
  for (int i = 0; i < sampleNum; ++i) {
    const float weight = STREAK_WEIGHT(float(i), n);
    sum += weight * loadAtPosition(texture0, from + step * i);
    weights += weight;
    if (i > 0) {
      sum += weight * loadAtPosition(texture0, from - step * (i * stepRatio));
      weights += weight;
    }
  }
  // No weight at all (no taps): the pixel as it is.
  return weights > 0.0 ? sum / weights : loadAtPosition(texture0, from);
}
