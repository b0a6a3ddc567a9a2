// The pixel side of the 3-D drawing: the frame copy the blend modes read, and, with
// OBJECT_WITH_DEPTH, the depth test, the soft intersection and the transparent layer kept in
// the render buffer's auxiliary buffers (OBJECT_WITH_NORMAL adds the normal buffers).
#ifndef OBJECT_PIXEL_HLSLI
#define OBJECT_PIXEL_HLSLI

#include "object_3d.hlsli"
#include "blend_mode.hlsli"

Texture2D frameBuffer : register(t1);

// The colour after the blend mode against `destination`; mode 0 keeps it as it is.
float4 blendWith(float4 colour, float4 destination) {
  if (blend == 0) return colour;
  if (colour.a < 0.001) discard;
  return blendModeColor(colour, destination, blend);
}

// The same against the frame under the pixel, read only when a blend mode needs it: mode 0
// spares every pixel a texel fetch.
float4 blendWithFrame(float4 colour, float4 position) {
  if (blend == 0) return colour;
  return blendWith(colour, frameBuffer.Load(int3(position.xy, 0)));
}

#ifdef OBJECT_WITH_DEPTH
RasterizerOrderedTexture2D<float> depthBuffer : register(u1);
RasterizerOrderedTexture2D<float4> transparentBuffer : register(u2);
RasterizerOrderedTexture2D<float> transparentDepthBuffer : register(u3);
#ifdef OBJECT_WITH_NORMAL
RasterizerOrderedTexture2D<float4> normalBuffer : register(u4);
RasterizerOrderedTexture2D<float4> normalTransparentBuffer : register(u5);
#endif

// The depth kept in the buffers: smaller is nearer.
float objectDepth(float4 position) { return 51.2 / position.z; }

// How far the fragment lies in front of the opaque surface, plus half a unit; fragments
// behind it are dropped.
float depthMargin(uint2 p, float z) {
  const float margin = depthBuffer[p] - z + 0.5;
  if (margin <= 0.0) discard;
  return margin;
}

// The colour after the blend mode against what it is drawn over: the frame, with the
// transparent layer under it when that layer is nearer than the opaque surface.
float4 blendWithLayers(float4 colour, uint2 p) {
  if (blend == 0) return colour;
  float4 destination = frameBuffer.Load(int3(p, 0));
  if (transparentDepthBuffer[p] < depthBuffer[p])
    destination += transparentBuffer[p] * (1.0 - destination.a);
  return blendWith(colour, destination);
}

// Stores the fragment and gives the colour drawn to the target. Near the opaque surface the
// colour fades by the margin and nothing is stored; a transparent fragment joins the
// transparent layer and draws nothing; an opaque one becomes the surface.
float4 storeFragment(uint2 p, float z, float margin, float4 colour, float4 normal) {
  if (margin < 1.0) return colour * margin;
  const float a = colour.a;
  if (a < 0.99) {
    if (a < 0.001) discard;
    const float4 layer = transparentBuffer[p];
    bool normalWins;
    if (transparentDepthBuffer[p] >= z) {
      transparentDepthBuffer[p] = z;
      transparentBuffer[p] = layer * (1.0 - a) + colour;
      normalWins = a >= (1.0 - a) * layer.a;
    } else {
      transparentBuffer[p] = colour * (1.0 - layer.a) + layer;
      normalWins = layer.a < (1.0 - layer.a) * a;
    }
#ifdef OBJECT_WITH_NORMAL
    if (normalWins) normalTransparentBuffer[p] = normal;
#endif
    discard;
  }
  if (z < transparentDepthBuffer[p]) {
    transparentDepthBuffer[p] = z;
    transparentBuffer[p] = float4(0.0, 0.0, 0.0, 0.0);
#ifdef OBJECT_WITH_NORMAL
    normalTransparentBuffer[p] = float4(0.0, 0.0, 0.0, -1.0);
#endif
  }
  depthBuffer[p] = z;
#ifdef OBJECT_WITH_NORMAL
  normalBuffer[p] = normal;
#endif
  return colour;
}

// The normal as stored: facing the viewer, with the shine in the fourth component.
float4 facingNormal(float4 normal, bool front) { return float4(front ? normal.xyz : -normal.xyz, normal.w); }
#endif

#endif
