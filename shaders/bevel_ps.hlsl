// A raised edge: the colour of each visible pixel is lightened or darkened by how much more
// of the shape lies ahead of it than behind it along the light's direction.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float2 step;    // one step towards the light, in pixels
  float depth;    // brightness per unit of alpha difference
  int sampleNum;  // steps taken either way
};

float alphaAt(float2 p) {
  uint width, height;
  texture0.GetDimensions(width, height);
  const int2 at = int2(trunc(p));
  if (p.x < 0.0 || p.y < 0.0 || at.x >= int(width) || at.y >= int(height)) return 0.0;
  return texture0.Load(int3(at, 0)).a;
}

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 c = texture0.Load(int3(position.xy, 0));
  if (c.a < 0.001) return c;
  float d = 0.0;
  for (int i = 1; i <= sampleNum; ++i)
    d += alphaAt(position.xy + float(i) * step) - alphaAt(position.xy - float(i) * step);
  const float3 rgb = saturate(c.rgb / c.a + d * depth);
  return float4(rgb * c.a, c.a);
}
