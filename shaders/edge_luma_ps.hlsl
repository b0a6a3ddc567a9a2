// "エッジ抽出" of the luma alone.
#include "edge.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  float alpha;
  const float4 m = gradientMagnitudes(int2(position.xy), alpha);
  return edgeColour(m.x, alpha);
}
