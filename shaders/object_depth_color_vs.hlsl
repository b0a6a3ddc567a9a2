// Coloured object vertices (28-byte position, straight colour), drawing with depth. The colour
// leaves premultiplied and scaled by the object's opacity.
#include "object_3d.hlsli"

struct ObjectVertex {
  float4 position : SV_Position;
  [[vk::location(0)]] float4 color : COLOR;
};

ObjectVertex main(float3 position : POSITION, float4 color : COLOR) {
  ObjectVertex result;
  result.position = projectPosition(position);
  result.color = float4(color.rgb * color.a, color.a) * alpha;
  return result;
}
