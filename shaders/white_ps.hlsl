// Opaque white, for masks that cover everything.
float4 main(float4 position : SV_Position) : SV_Target {
  return float4(1.0, 1.0, 1.0, 1.0);
}
