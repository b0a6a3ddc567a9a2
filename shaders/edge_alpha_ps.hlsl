// "エッジ抽出" of the coverage.
#include "edge.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  float alpha;
  const float4 m = gradientMagnitudes(int2(position.xy), alpha);
  return edgeColour(m.w, alpha);
}
