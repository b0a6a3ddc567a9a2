// One box pass of the blur as a compute shader: one thread walks a whole row (horizontal
// passes, dispatched as 1 x height) or column (vertical passes, width x 1) with a running
// sum, so a pixel costs the same however wide the window. The window macros are those of
// box_blur_pass.hlsli.
#include "texel_fetch.hlsli"

Texture2D src : register(t0);
RWTexture2D<float4> dst : register(u0);

cbuffer constant0 : register(b0) {
  int width;     // of the output
  int height;
  int range;     // the box radius r
  float divide;  // 1 / (2r + 1)
};

float4 fetch(int2 at) {
#if BOX_CLAMP
  at = clamp(at, int2(0, 0), int2(width, height) - 1);
#endif
  return loadOrClear(src, at);
}

[numthreads(1, 1, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  const int2 start = BOX_AXIS.x != 0 ? int2(0, id.y) : int2(id.x, 0);
  const int length = BOX_AXIS.x != 0 ? width : height;
  if (start.x >= width || start.y >= height) return;
  // The window before the first pixel, without its leading texel.
  float4 sum = float4(0, 0, 0, 0);
  for (int i = BOX_FIRST * range; i < BOX_LAST * range; ++i) sum += fetch(start + BOX_AXIS * i);
  for (int p = 0; p < length; ++p) {
    const int2 at = start + BOX_AXIS * p;
    sum += fetch(at + BOX_AXIS * (BOX_LAST * range));
    dst[at] = sum * divide;
    sum -= fetch(at + BOX_AXIS * (BOX_FIRST * range));
  }
}
