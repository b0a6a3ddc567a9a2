// "斜めクリッピング" with a width: a band `range` to each side of the line covered, its edges
// `length` wide. A negative width turns it round: the band is cut away and the rest covered.
#include "line_clip.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  const float d = lineDistance(position.xy);
  return float4(0.0, 0.0, 0.0, softStep(edgeRatio(range - sign(range) * abs(d), length)));
}
