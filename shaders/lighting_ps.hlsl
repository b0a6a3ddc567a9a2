// Lights the surfaces whose normals the 3-D pass kept: the ambient light plus, for every
// directional light, a microfacet specular term (GGX distribution, Schlick Fresnel with a
// reflectance of 0.04) and the diffuse rest.
struct LightSource {
  int type;  // 1: directional, pos is its direction
  float3 pos;
  float4 col;
};

cbuffer Constant : register(b0) {
  LightSource source[8];
  int lightNum;
  float3 ambient;
};

Texture2D normalBuffer : register(t0);

float4 main(float4 position : SV_Position, [[vk::location(1)]] float3 viewDirection : NORMAL) : SV_Target {
  const float4 stored = normalBuffer.Load(int3(position.xy, 0));
  if (stored.w < 0.0) discard;  // no surface here
  const float3 V = normalize(viewDirection);
  const float3 N = normalize(stored.xyz);
  const float roughness = 1.0 - stored.w;
  const float a = roughness * roughness;
  const float a2 = a * a;
  float4 sum = float4(ambient, 0.0);
  const int count = min(lightNum, 8);
  for (int i = 0; i < count; ++i) {
    if (source[i].type != 1) continue;
    const float3 L = source[i].pos;
    const float3 H = normalize(V + L);
    const float F = 0.04 + 0.96 * pow(1.0 - saturate(dot(H, L)), 5.0);
    const float NH = saturate(dot(N, H));
    const float NL = saturate(dot(N, L));
    const float NV = saturate(dot(N, V));
    const float d = NH * NH * (a2 - 1.0) + 1.0;
    const float D = a2 / (d * d);
    const float Vis = 0.5 / (NV * sqrt(NL * NL * (1.0 - a2) + a2) + NL * sqrt(NV * NV * (1.0 - a2) + a2) + 1e-05);
    sum += source[i].col * (D * Vis * F + 1.0 - F) * NL;
  }
  return sum;
}
