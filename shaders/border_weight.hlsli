// The constants of both border shaders, the weight of a neighbour and the colour a sum of
// weighted alphas gives.
cbuffer constant0 : register(b0) {
  float4 color;        // the border colour, premultiplied
  float2 offset;       // texel shader: added to the position; sampled one: in texture units
  float2 step;         // sampled shader: the distance between neighbours, in texture units
  float2 ratio;        // sampled shader: texture units per pixel
  int range;           // neighbours either side
  float inverseRange;  // 1 / range
  float limit;         // the sum at which the border is full
};

float neighbourWeight(int x, int y) {
  return 1.0 - min(length(float2(x, y)) * inverseRange, 1.0);
}

// The sum against the limit, eased in and out; a limit of 0 makes any coverage full.
float4 borderColor(float sum) {
  const float t = limit > 0.0 ? saturate(sum / limit) : (sum > 0.0 ? 1.0 : 0.0);
  return color * (t * t * (3.0 - 2.0 * t));
}
