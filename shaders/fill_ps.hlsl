// A fill with one colour.
cbuffer Constant : register(b0) {
  float4 color;
};

float4 main(float4 position : SV_Position) : SV_Target {
  return color;
}
