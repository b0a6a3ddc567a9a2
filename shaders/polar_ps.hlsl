// Polar coordinates: the picture's columns wrapped around the centre as angles and its rows
// laid out as distances from it, with a swirl that turns more towards the rim. Each pixel
// averages the picture over the arc it covers.
SamplerState sampler0 : register(s0);
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float rsize;   // the radius: the centre is at (rsize, rsize)
  float offset;  // rows above the centre that are cut away
  float pix;     // the angle (radians) at which the first column starts
  float pia;     // the swirl: radians per pixel of distance from the rim
  float pio;     // added to the width of each pixel's arc, in columns
  float kx;      // columns per radian
  float ky;      // rows per pixel of distance
};

#include "area_sample.hlsli"

float4 main(float4 position : SV_Position) : SV_Target {
  uint width, height;
  texture0.GetDimensions(width, height);
  const float2 size = float2(width, height);
  const float2 d = position.xy - rsize;
  const float rho = length(d);
  // The angle at the centre itself is taken as 0 (GL leaves atan(0, 0) undefined).
  const float theta = rho > 0.0 ? atan2(d.y, d.x) : 0.0;
  float x = ((pix + pia * (rsize - rho)) - theta) * kx;
  x -= size.x * floor(x / size.x);
  const float y = rho * ky - offset;
  // The pixel's footprint in the picture: an arc `across` columns wide and one row high.
  const float across = kx / max(rho, 1.0) * 1.41421356 + pio;
  return areaSample(float2(x, y), float2(across, 1.0));
}
