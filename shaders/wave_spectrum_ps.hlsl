// The spectrum: one bar per column of cells, rising from the bottom row.
#include "wave_cells.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  const float u = columnOf(position.xy);
  const float v = float(res.y) * (float(size.y) - position.y) / float(size.y);
  if (inGap(u, pad.x) || inGap(v, pad.y)) return float4(0, 0, 0, 0);
  const float height = trunc(float(res.y) * valueAt(int(trunc(u))) * vol);
  return trunc(v) < height ? color : float4(0, 0, 0, 0);
}
