// Premultiplies an image by its alpha in place, one thread per pixel.
RWTexture2D<float4> image : register(u0);

cbuffer constant0 : register(b0) {
  uint2 size;
};

[numthreads(8, 8, 1)]
void main(uint3 id : SV_DispatchThreadID) {
  if (id.x >= size.x || id.y >= size.y) return;
  float4 color = image[id.xy];
  image[id.xy] = float4(color.rgb * color.a, color.a);
}
