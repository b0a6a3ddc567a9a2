// The full-target quad with texture coordinates: position and coordinates pass through.
struct QuadVertex {
  float4 position : SV_Position;
  float2 texcoord : TEXCOORD;
};

QuadVertex main(float3 position : POSITION, float2 texcoord : TEXCOORD) {
  QuadVertex result;
  result.position = float4(position, 1.0);
  result.texcoord = texcoord;
  return result;
}
