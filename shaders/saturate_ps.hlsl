// Every channel clamped to 0 ... 1.
Texture2D texture0 : register(t0);

float4 main(float4 position : SV_Position) : SV_Target {
  return saturate(texture0.Load(int3(position.xy, 0)));
}
