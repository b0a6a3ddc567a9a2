// The camera's guide lines (ground grid, axes, the camera's frame in free view), drawn after
// the 3-D objects of the camera's range: hidden behind their opaque surface, softened where
// they meet it, faded with distance, and merged into the transparent layer when translucent
// (as the translucent 3-D objects are), so that the closing resolve lays them in depth order.
#define RasterizerOrderedTexture2D globallycoherent RWTexture2D

cbuffer Constant : register(b0) {
  float4 color;      // straight colour and opacity of the lines
  float nearDepth;   // the near-plane value of the projection: the focal distance / 20
};

RasterizerOrderedTexture2D<float> depthBuffer : register(u1);
RasterizerOrderedTexture2D<float4> transparentBuffer : register(u2);
RasterizerOrderedTexture2D<float> transparentDepthBuffer : register(u3);

// The 3-D objects keep 51.2 / z in the depth buffers (z the projected depth); the guides
// compare in the same units so that they hide behind the objects for any field of view.
static const float kObjectDepthScale = 51.2;
// The distance at which the guides have faded out, in world units.
static const float kFadeDistance = 1000000.0;

float4 main(float4 position : SV_Position, [[vk::location(0)]] float3 texcoord : TEXCOORD) : SV_Target {
  // Coverage across the line: one pixel of ramp at each edge, from the screen-space rate
  // of the coordinate across it.
  const float across = texcoord.y;
  const float ramp = max(fwidth(across), 1e-6);
  const float coverage = saturate(min(across, 1.0 - across) / ramp + 0.5);

  const uint2 p = uint2(position.xy);
  const float z = kObjectDepthScale / position.z;
  const float margin = depthBuffer[p] - z + 0.5;
  if (margin <= 0.0) discard;
  // The view depth itself, from the camera's own focal distance.
  const float viewDepth = nearDepth / position.z;
  const float fade = 1.0 - min(viewDepth / kFadeDistance, 1.0);
  const float a = color.a * coverage * fade * saturate(margin);
  const float4 colour = float4(color.rgb * a, a);
  if (a >= 0.99) return colour;
  if (a < 0.001) discard;
  const float4 layer = transparentBuffer[p];
  if (transparentDepthBuffer[p] >= z) {
    transparentDepthBuffer[p] = z;
    transparentBuffer[p] = layer * (1.0 - a) + colour;
  } else {
    transparentBuffer[p] = colour * (1.0 - layer.a) + layer;
  }
  discard;
  return colour;
}
