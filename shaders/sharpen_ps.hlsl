// Unsharp masking: the picture pushed away from its blurred copy, kept within its alpha.
Texture2D texture0 : register(t0);
Texture2D blurBuffer : register(t1);

cbuffer constant0 : register(b0) {
  float level;  // how far the picture moves away from the blur
};

float4 main(float4 position : SV_Position) : SV_Target {
  const int3 at = int3(position.xy, 0);
  const float4 c = texture0.Load(at);
  const float4 b = blurBuffer.Load(at);
  return float4(min(max(c.rgb + level * (c.rgb - b.rgb), 0.0), c.a), c.a);
}
