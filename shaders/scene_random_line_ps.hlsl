// The scene change's random lines: the picture cut into lines (rows of bands across
// divideY, or columns of bands across divideX), each with its own value from the random
// table. A line disappears (its pixels are discarded) once the ratio passes its value, so
// the lines vanish one by one in the table's order as the ratio grows.
Texture2D texture0 : register(t0);
Texture2D random : register(t1);

cbuffer constant0 : register(b0) {
  float ratio;
  int divideX;
  int divideY;
};

float4 main(float4 position : SV_Position) : SV_Target {
  uint width, height;
  texture0.GetDimensions(width, height);
  const int2 at = int2(position.xy);
  const int cell = (at.x * divideX) / int(width) + (at.y * divideY) / int(height);
  const float value = random.Load(int3(cell & 255, cell >> 8, 0)).x;
  if (value < ratio) discard;
  return texture0.Load(int3(at, 0));
}
