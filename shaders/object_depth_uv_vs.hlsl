// Textured object vertices (28-byte position, texture coordinate, alpha), drawing with depth.
#include "object_3d.hlsli"

struct ObjectVertex {
  float4 position : SV_Position;
  [[vk::location(0)]] float3 texcoord : TEXCOORD;  // uv, alpha
};

ObjectVertex main(float3 position : POSITION, float2 uv : TEXUV, float vertexAlpha : COLOR) {
  ObjectVertex result;
  result.position = projectPosition(position);
  result.texcoord = float3(uv, vertexAlpha * alpha);
  return result;
}
