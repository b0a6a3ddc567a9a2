// The copy of an image without alpha: (rgb, 1).
Texture2D texture0 : register(t0);

float4 main(float4 position : SV_Position) : SV_Target {
  return float4(texture0.Load(int3(position.xy, 0)).rgb, 1.0);
}
