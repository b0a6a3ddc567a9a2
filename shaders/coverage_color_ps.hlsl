// A colour laid where the input covers: the input's alpha times the colour.
Texture2D texture0 : register(t0);

cbuffer Constant : register(b0) {
  float4 color;
};

float4 main(float4 position : SV_Position) : SV_Target {
  return texture0.Load(int3(position.xy, 0)).a * color;
}
