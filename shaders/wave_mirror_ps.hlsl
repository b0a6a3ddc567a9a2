// The mirrored spectrum: one bar per column of cells, growing up and down from the middle
// line, which is always lit.
#include "wave_cells.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  const float u = columnOf(position.xy);
  const float v = float(res.y) * abs(float(size.y) - 2.0 * position.y) / float(size.y);
  if (inGap(u, pad.x) || inGap(v, pad.y)) return float4(0, 0, 0, 0);
  const float height = trunc(float(res.y) * valueAt(int(trunc(u))) * vol);
  return height >= trunc(v) ? color : float4(0, 0, 0, 0);
}
