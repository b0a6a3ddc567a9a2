// The light bloom's box blur along x.
#include "bloom_blur.hlsli"

float4 main(float4 position : SV_Position) : SV_Target { return boxBlur(position, int2(1, 0)); }
