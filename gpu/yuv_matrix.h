#pragma once
// The colour-space matrices between the GPU layer's working RGB and the YUV layouts of
// media, as the conversion shaders read them.
//
// Going in, a shader computes transform x (texel.rgb + offset.rgb, 1); going out,
// transform x saturate(texel) + offset. The constants are one 80-byte block: the 4 x 4
// matrix row by row, then the offset.
//
// Two layouts are covered: 8-bit limited-range YUY2 (read on the GPU as (U, Y, V); written
// as (Y, Cb, Cr)) and the 16-bit 4:4:4 layout R16G16B16A16_SNORM, where Y = 4096 is full
// white and Cb, Cr span +-2048, each divided by 32767 when read.
#include <cstdint>

namespace Media {

struct ConversionConstants {
  float transform[16];  // row by row
  float offset[4];
};
static_assert(sizeof(ConversionConstants) == 80);

enum class YuvMatrix { Bt601, Bt709 };

// The setting value 1 is BT.601 and 2 BT.709; any other value (0 is automatic) chooses by
// the picture's height: BT.601 below 720 rows, BT.709 from 720 up.
YuvMatrix chooseYuvMatrix(int32_t setting, uint32_t height);

// The matrix from a YUV layout to RGB. `layout` is G8R8_G8B8_UNORM (YUY2 on the GPU) or
// R16G16B16A16_SNORM; null for any other format.
const ConversionConstants* inputConversion(int32_t layout, YuvMatrix matrix);
// The matrix from RGB to a YUV layout: YUY2 or R16G16B16A16_SNORM; null for any other.
const ConversionConstants* outputConversion(int32_t layout, YuvMatrix matrix);

}  // namespace Media
