// Deinterlacing: type 0 keeps the even rows and rebuilds the odd ones from the rows above
// and below, type 1 the other way round; type 2 blends every row with its neighbours (1:2:1).
// Rows beyond the picture repeat its first and last row.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int type;
};

float4 main(float4 position : SV_Position) : SV_Target {
  uint width, height;
  texture0.GetDimensions(width, height);
  const int2 at = int2(position.xy);
  const float4 c = texture0.Load(int3(at, 0));
  const float4 above = texture0.Load(int3(at.x, max(at.y - 1, 0), 0));
  const float4 below = texture0.Load(int3(at.x, min(at.y + 1, int(height) - 1), 0));
  if (type == 2) return (2.0 * c + above + below) * 0.25;
  if ((at.y & 1) != type) return (above + below) * 0.5;
  return c;
}
