// The displacement map moving (type 0) or scaling (type 1) the picture: the pixel takes the
// mean of the picture over the range of displacements that the map gives around it.
#include "displacement_map.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  const float2 p = position.xy + offset;
  float2 values[4];
  readMap(p, values);
  float2 low = min(min(values[0], values[1]), min(values[2], values[3])) * len;
  float2 high = max(max(values[0], values[1]), max(values[2], values[3])) * len;
  if (type == 1) {
    low *= p;
    high *= p;
  }
  return areaSample(position.xy + (low + high) * 0.5, high - low);
}
