// Noise reduction: each visible pixel moves towards its neighbours by their small
// differences only; differences beyond the threshold fade out at twice their excess, so
// edges stay sharp. A difference counts no more than the lesser of the two alphas.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int range;    // neighbours either side
  float level;  // how far the summed differences move the pixel
  float limit;  // threshold of a small difference
};

float4 main(float4 position : SV_Position) : SV_Target {
  uint width, height;
  texture0.GetDimensions(width, height);
  const int2 at = int2(position.xy);
  const float4 c = texture0.Load(int3(at, 0));
  if (c.a < 0.001) return c;
  float3 sum = float3(0, 0, 0);
  for (int y = -range; y <= range; ++y)
    for (int x = -range; x <= range; ++x) {
      const int2 n = at + int2(x, y);
      // Outside the picture a neighbour is transparent, and a transparent one counts nothing.
      if (n.x < 0 || n.y < 0 || n.x >= int(width) || n.y >= int(height)) continue;
      const float4 neighbour = texture0.Load(int3(n, 0));
      const float3 d = neighbour.rgb - c.rgb;
      const float3 size = abs(d);
      const float3 e = min(max(size - 2.0 * max(size - limit, 0.0), 0.0), min(c.a, neighbour.a));
      sum += sign(d) * e;
    }
  return float4(c.rgb + level * sum, c.a);
}
