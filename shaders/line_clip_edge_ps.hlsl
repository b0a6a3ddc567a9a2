// "斜めクリッピング" across one line: black whose coverage rises from 0 to 1 over a band
// `length` wide centred on the line.
#include "line_clip.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  const float d = lineDistance(position.xy);
  return float4(0.0, 0.0, 0.0, softStep(edgeRatio(d + length * 0.5, length)));
}
