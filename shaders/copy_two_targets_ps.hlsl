// Two inputs copied into two targets at once.
Texture2D texture0 : register(t0);
Texture2D texture1 : register(t1);

struct TwoTargets {
  float4 first : SV_Target0;
  float4 second : SV_Target1;
};

TwoTargets main(float4 position : SV_Position) {
  TwoTargets result;
  result.first = texture0.Load(int3(position.xy, 0));
  result.second = texture1.Load(int3(position.xy, 0));
  return result;
}
