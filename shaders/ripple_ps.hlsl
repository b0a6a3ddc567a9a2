// Rings travelling out from a centre: each pixel samples the picture a little nearer to or
// further from the centre, by a cosine of its distance. The rings can be limited to a count,
// thinned to every interval-th one, and grow in or fade out over the first rings.
SamplerState sampler0 : register(s0);
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float2 center;    // the centre in pixels
  float2 multiply;  // rings per pixel, and the height of a ring
  float offset;     // how far the rings have travelled, in pixels
  int rippleNum;    // rings drawn (0: all)
  int interval;     // only every interval-th ring moves pixels (0: all)
  int amplifier;    // rings over which the height grows (> 0) or fades (< 0)
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(position.xy, 0));
  const float2 d = position.xy - center;
  const float r = length(d);
  if (r == 0.0) return texel;
  const float q = (offset - r) * multiply.x;
  const float n = floor(q);
  if (rippleNum > 0 && (n < 0.0 || n >= float(rippleNum))) return texel;
  if (interval > 0 && n - float(interval) * floor(n / float(interval)) != 0.0) return texel;
  float k = (cos(6.283185307 * (q - n)) - 1.0) * multiply.y / r;
  const float a = float(amplifier);
  if (amplifier > 0 && n < a) k = k * n / a;
  if (amplifier < 0) k = n < -a ? -k * (1.0 + n / a) : 0.0;
  uint width, height;
  texture0.GetDimensions(width, height);
  return texture0.SampleLevel(sampler0, (position.xy + d * k) / float2(width, height), 0);
}
