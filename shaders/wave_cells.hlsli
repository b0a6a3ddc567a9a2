// What the three sound-picture shaders share: their constants, the samples they read and
// the grid of cells they draw on.
//
// texture0 is one texel high and holds one float per texel (a sample, or a spectrum band).
// The picture is size pixels, divided into res cells; pad is the half-width of the lit part
// of a cell (0.5 lights the whole cell), vol scales the values.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float4 color;
  int2 size;
  int2 res;
  float2 pad;
  float vol;
};

// The value at an integer position; 0 outside the texture (its samples end there).
float valueAt(int i) {
  uint width, height;
  texture0.GetDimensions(width, height);
  if (i < 0 || i >= int(width)) return 0.0;
  return texture0.Load(int3(i, 0, 0)).r;
}

// Whether a cell coordinate lies in the gap between two lit parts of cells.
bool inGap(float coordinate, float halfWidth) {
  return abs(coordinate - trunc(coordinate) - 0.5) > halfWidth;
}

// The column coordinate of a pixel centre.
float columnOf(float2 pixel) {
  return float(res.x) * pixel.x / float(size.x);
}
