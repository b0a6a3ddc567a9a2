// Coloured object vertices with normals (40 bytes), drawing with depth and normals.
#include "object_3d.hlsli"

struct ObjectVertex {
  float4 position : SV_Position;
  [[vk::location(1)]] float4 normal : NORMAL;  // world normal, shine
  [[vk::location(0)]] float4 color : COLOR;
};

ObjectVertex main(float3 position : POSITION, float3 normal : NORMAL, float4 color : COLOR) {
  ObjectVertex result;
  result.position = projectPosition(position);
  result.normal = worldNormal(normal);
  result.color = float4(color.rgb * color.a, color.a) * alpha;
  return result;
}
