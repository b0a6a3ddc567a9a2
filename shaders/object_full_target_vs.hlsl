// The full-target passes after the 3-D geometry (lighting, transparent resolve): position and
// normal (the view direction) pass through as given.
struct FullTargetVertex {
  float4 position : SV_Position;
  [[vk::location(1)]] float3 normal : NORMAL;
};

FullTargetVertex main(float3 position : POSITION, float3 normal : NORMAL, float2 texcoord : TEXCOORD,
                      float vertexAlpha : COLOR) {
  FullTargetVertex result;
  result.position = float4(position, 1.0);
  result.normal = normal;
  return result;
}
