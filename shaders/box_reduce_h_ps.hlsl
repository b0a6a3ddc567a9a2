// One step of a horizontal shrink: the mean of `step` neighbouring columns, the last column
// repeated past the right edge.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int step;
  int offset;
};

float4 main(float4 position : SV_Position) : SV_Target {
  uint width, height;
  texture0.GetDimensions(width, height);
  const int2 pixel = int2(position.xy);
  const int first = pixel.x * step + offset;
  float4 sum = float4(0, 0, 0, 0);
  for (int i = 0; i < step; ++i)
    sum += texture0.Load(int3(clamp(first + i, 0, int(width) - 1), pixel.y, 0));
  return step > 0 ? sum / step : sum;
}
