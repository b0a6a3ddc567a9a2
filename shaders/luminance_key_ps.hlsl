// A picture wipe's mask: opaque where 1 - luma of the picture lies above the moving window
// (limitMin ... limitMax), with a smooth edge across the window.
SamplerState sampler0 : register(s0);
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float limitMin;
  float limitMax;
  float2 scale;
};

float4 main(float4 position : SV_Position, float2 texcoord : TEXCOORD) : SV_Target {
  const float2 uv = (texcoord - 0.5) * scale + 0.5;
  const float luma = dot(texture0.Sample(sampler0, uv).rgb, float3(0.299, 0.587, 0.114));
  const float k = saturate((1.0 - luma - limitMin) / (limitMax - limitMin));
  return float4(0.0, 0.0, 0.0, k * k * (3.0 - 2.0 * k));
}
