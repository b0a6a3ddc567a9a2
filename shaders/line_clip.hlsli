// The constants of "斜めクリッピング" and the pixel's signed distance from its line, which
// passes through -offset across `direction`.
#include "soft_edge.hlsli"

cbuffer constant0 : register(b0) {
  float2 offset;
  float2 direction;
  float length;
  float range;
};

float lineDistance(float2 position) { return dot(position + offset, direction); }
