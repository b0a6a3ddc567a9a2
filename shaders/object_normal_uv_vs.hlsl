// Textured object vertices with normals (40 bytes), drawing with depth and normals.
#include "object_3d.hlsli"

struct ObjectVertex {
  float4 position : SV_Position;
  [[vk::location(1)]] float4 normal : NORMAL;  // world normal, shine
  [[vk::location(0)]] float3 texcoord : TEXCOORD;  // uv, alpha
};

ObjectVertex main(float3 position : POSITION, float3 normal : NORMAL, float2 uv : TEXUV,
                  float vertexAlpha : COLOR) {
  ObjectVertex result;
  result.position = projectPosition(position);
  result.normal = worldNormal(normal);
  result.texcoord = float3(uv, vertexAlpha * alpha);
  return result;
}
