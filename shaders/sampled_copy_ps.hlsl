// The input sampled at the quad's texture coordinates, with the bound sampler.
SamplerState sampler0 : register(s0);
Texture2D texture0 : register(t0);

float4 main(float4 position : SV_Position, float2 texcoord : TEXCOORD) : SV_Target {
  return texture0.Sample(sampler0, texcoord);
}
