// One step of a vertical shrink: the mean of `step` neighbouring rows, the last row repeated
// past the bottom edge.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int step;
  int offset;
};

float4 main(float4 position : SV_Position) : SV_Target {
  uint width, height;
  texture0.GetDimensions(width, height);
  const int2 pixel = int2(position.xy);
  const int first = pixel.y * step + offset;
  float4 sum = float4(0, 0, 0, 0);
  for (int i = 0; i < step; ++i)
    sum += texture0.Load(int3(pixel.x, clamp(first + i, 0, int(height) - 1), 0));
  return step > 0 ? sum / step : sum;
}
