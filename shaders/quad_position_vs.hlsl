// The full-target quad without texture coordinates: positions pass through unchanged.
float4 main(float3 position : POSITION) : SV_Position {
  return float4(position, 1.0);
}
