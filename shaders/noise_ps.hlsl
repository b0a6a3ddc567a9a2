// Noise as the picture's alpha: six octaves of value noise over a 256 x 256 table of
// lattice values (a third dimension, time, shifts the table by 79 texels a layer), shaped
// by the noise type, then cut at a threshold and faded by the strength. Colour is black.
SamplerState sampler0 : register(s0);
Texture2D noise : register(t0);

cbuffer constant0 : register(b0) {
  float3 step;        // added to the position (and to time) at each octave
  int type;           // 0 to 5: which shaping of the octaves
  float2 offset;      // the noise's position, in lattice units
  float2 cycle;       // lattice units per pixel
  float accelerate;   // time, in lattice units
  float level;        // strength: 0 to 1 fades in, 1 to 2 fades out
  float limit;        // threshold
  float limitRatio;   // 1 / what remains above the threshold
};

static const float kPi = 3.14159265;

float lattice(int i, int j, int k) {
  return noise.Load(int3((i + 79 * k) & 255, (j + 79 * k) & 255, 0)).r;
}

float weight(float f) { return (1.0 - cos(kPi * f)) * 0.5; }

float valueNoise(float2 q, float z) {
  const float3 base = floor(float3(q, z));
  const float3 f = float3(q, z) - base;
  const int i = int(base.x), j = int(base.y), k = int(base.z);
  const float3 w = float3(weight(f.x), weight(f.y), weight(f.z));
  float layers[2];
  for (int l = 0; l < 2; ++l) {
    const float top = lerp(lattice(i, j, k + l), lattice(i + 1, j, k + l), w.x);
    const float bottom = lerp(lattice(i, j + 1, k + l), lattice(i + 1, j + 1, k + l), w.x);
    layers[l] = lerp(top, bottom, w.y);
  }
  return lerp(layers[0], layers[1], w.z);
}

// The table read between its texels at one layer of time.
float tableLayer(float2 q, float layer) {
  return noise.SampleLevel(sampler0, (q + 79.0 * layer + 0.5) / 256.0, 0).r;
}

float4 main(float4 position : SV_Position) : SV_Target {
  const float2 start = trunc(position.xy) * cycle + offset;
  float v;
  if (type == 3) {
    const float t = 10.0 * accelerate;
    const float layer = floor(t);
    v = lerp(tableLayer(start, layer), tableLayer(start, layer + 1.0), t - layer);
    v = saturate(v - limit);
  } else {
    float2 q = start;
    float z = accelerate;
    float sum = 0.0;
    float sumAbs = 0.0;
    for (int octave = 0; octave < 6; ++octave) {
      const float n = valueNoise(q, z);
      sum = sum * 0.5 + n;
      sumAbs = sumAbs * 0.5 + abs(n);
      q = q * 0.5 + step.xy;
      z = z * 0.5 + step.z;
    }
    if (type == 0) v = sum + 0.5;
    else if (type == 1) v = 1.0 - 2.0 * sumAbs;
    else if (type == 2) v = 2.0 * sumAbs;
    // Type 4 bands across the pixel's own position (the first octave's), not the last one's.
    else if (type == 4) v = 0.5 + 0.5 * sin(4.0 * kPi * (0.5 - sumAbs + start.x / 256.0));
    else v = 0.5 + 0.5 * sin(2.0 * kPi * sin(8.0 * kPi * sum));
    v = saturate((v - limit) * limitRatio);
  }
  const float alpha = level > 1.0 ? (2.0 - level) * v : 1.0 + (v - 1.0) * level;
  return float4(0, 0, 0, alpha);
}
