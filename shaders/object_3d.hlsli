// What the 3-D vertex and pixel shaders share: the constants of a drawn object.
#ifndef OBJECT_3D_HLSLI
#define OBJECT_3D_HLSLI

// The depth and transparency buffers are read and written in primitive order. The HLSL
// compiler of the build has no ordered view type: a coherent read-write texture stands in,
// and the program orders the fragments of every pixel shader that writes images.
#define RasterizerOrderedTexture2D globallycoherent RWTexture2D

cbuffer Constant : register(b0) {
  row_major float4x4 projection;  // rows dotted with (x, y, z, 1)
  float alpha;
  int blend;
  row_major float4x4 normalWorld;  // the first three rows turn normals
  float shine;
};

float4 projectPosition(float3 position) { return mul(projection, float4(position, 1.0)); }

float4 worldNormal(float3 normal) {
  return float4(mul((float3x3)normalWorld, normalize(normal)), shine);
}

#endif
