// The blend-mode rule shared by the compositing shaders: source s (premultiplied) drawn over
// the frame texel d by mode number. The caller discards nearly transparent sources first and
// scales the result by its opacity.
#ifndef BLEND_MODE_HLSLI
#define BLEND_MODE_HLSLI

#include "luma_chroma.hlsli"

// v / divisor, or 0 where the divisor is 0: a fully transparent sum stays transparent instead
// of becoming NaN.
float4 divideOrZero(float4 v, float divisor) {
  if (divisor == 0.0) return float4(0.0, 0.0, 0.0, 0.0);
  return v / divisor;
}

float4 blendModeColor(float4 s, float4 d, int mode) {
  const float sa = s.a;
  const float3 D = sa * d.rgb;
  float3 r = s.rgb;
  switch (mode) {
    case 1: r = s.rgb + D; break;
    case 2: r = D - s.rgb; break;
    case 3: r = s.rgb * d.rgb; break;
    case 4: r = s.rgb + d.rgb * (sa - s.rgb); break;
    case 5: {
      const float3 low = 2.0 * d.rgb * s.rgb;
      const float3 high = 2.0 * (s.rgb + d.rgb * (sa - s.rgb)) - sa;
      r = float3(d.r < 0.5 ? low.r : high.r, d.g < 0.5 ? low.g : high.g, d.b < 0.5 ? low.b : high.b);
      break;
    }
    case 6: r = max(s.rgb, D); break;
    case 7: r = min(s.rgb, D); break;
    case 8: r = fromLumaChroma(float3(lumaChroma(s.rgb).x, lumaChroma(D).yz)); break;
    case 9: r = fromLumaChroma(float3(lumaChroma(D).x, lumaChroma(s.rgb).yz)); break;
    case 10: r = min(sa, max(s.rgb + D - sa, 0.0)); break;
    case 11: r = min(sa, max(2.0 * s.rgb + D - sa, 0.0)); break;
    case 12: r = abs(D - s.rgb); break;
    case 20: {
      const float a = min(d.a + s.a, 1.0);
      return divideOrZero(d + s, d.a + s.a) * a - d;
    }
    case 21: {
      const float a = min(d.a + s.a, 1.0);
      const float4 sum = d * (1.0 - s.a) + s;
      return divideOrZero(sum, sum.a) * a - d;
    }
    case 22: {
      const float a = max(d.a, s.a);
      return divideOrZero(d + s, d.a + s.a) * a - d;
    }
    case 23: {
      const float a = max(d.a - s.a, 0.0);
      return divideOrZero(s, s.a) * a - d;
    }
    default: break;
  }
  return float4(r, sa);
}

#endif
