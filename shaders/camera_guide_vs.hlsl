// The camera's guide lines: vertices already projected on the CPU (x, y, z after the divide
// by the view depth), with the line coordinates (along, across, 1) passed through.
struct GuideVertex {
  float4 position : SV_Position;
  [[vk::location(0)]] float3 texcoord : TEXCOORD;
};

GuideVertex main(float3 position : POSITION, float3 texcoord : TEXCOORD) {
  GuideVertex result;
  result.position = float4(position, 1.0);
  result.texcoord = texcoord;
  return result;
}
