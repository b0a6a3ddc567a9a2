// The plain copy: the texel at the pixel's own position.
Texture2D texture0 : register(t0);

float4 main(float4 position : SV_Position) : SV_Target {
  return texture0.Load(int3(position.xy, 0));
}
