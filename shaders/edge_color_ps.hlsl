// "エッジ抽出" of the colour: the magnitudes of Y, U and V added.
#include "edge.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  float alpha;
  const float4 m = gradientMagnitudes(int2(position.xy), alpha);
  return edgeColour(m.x + m.y + m.z, alpha);
}
