// The input image with its opacity scaled: t0 x alpha, read at the pixel's own position.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float alpha;
};

float4 main(float4 position : SV_Position) : SV_Target {
  return texture0.Load(int3(position.xy, 0)) * alpha;
}
