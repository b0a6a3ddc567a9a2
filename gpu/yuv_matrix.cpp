#include "gpu/yuv_matrix.h"

#include "gpu/pixel_format.h"

namespace Media {
namespace {

// Limited-range 8-bit YUV, columns (U, Y, V): Y expanded by 255/219, chroma by 255/224,
// with 16/255 and 128/255 removed first by the offset. BT.601: R = Y + 1.402 Cr,
// G = Y - 0.344 Cb - 0.714 Cr, B = Y + 1.772 Cb; BT.709: 1.5748, 0.1873, 0.4681, 1.8556.
constexpr ConversionConstants kYuy2ToRgb601 = {
    {0.0f, 1.16438353f, 1.59602678f, 0.0f,          //
     -0.39160714f, 1.16438353f, -0.81281251f, 0.0f,  //
     2.01723218f, 1.16438353f, 0.0f, 0.0f,           //
     0.0f, 0.0f, 0.0f, 1.0f},
    {-0.50196081f, -0.06274510f, -0.50196081f, 0.0f}};
constexpr ConversionConstants kYuy2ToRgb709 = {
    {0.0f, 1.16438353f, 1.79274106f, 0.0f,          //
     -0.21322098f, 1.16438353f, -0.53288168f, 0.0f,  //
     2.11240172f, 1.16438353f, 0.0f, 0.0f,           //
     0.0f, 0.0f, 0.0f, 1.0f},
    {-0.50196081f, -0.06274510f, -0.50196081f, 0.0f}};

// Full-range 16-bit YUV, columns (Y, Cb, Cr): the same inverse scaled by 32767/4096.
constexpr ConversionConstants kSnormToRgb601 = {
    {7.99975586f, 0.0f, 11.21565819f, 0.0f,          //
     7.99975586f, -2.75191593f, -5.71182585f, 0.0f,  //
     7.99975586f, 14.17556763f, 0.0f, 0.0f,          //
     0.0f, 0.0f, 0.0f, 1.0f},
    {0.0f, 0.0f, 0.0f, 0.0f}};
constexpr ConversionConstants kSnormToRgb709 = {
    {7.99975586f, 0.0f, 12.59801579f, 0.0f,          //
     7.99975586f, -1.49835432f, -3.74468565f, 0.0f,  //
     7.99975586f, 14.84434700f, 0.0f, 0.0f,          //
     0.0f, 0.0f, 0.0f, 1.0f},
    {0.0f, 0.0f, 0.0f, 0.0f}};

// RGB to (Y, Cb, Cr) in rows 0 to 2, alpha passed through: Y = 0.299 R + 0.587 G + 0.114 B
// (BT.709: 0.2126, 0.7152, 0.0722), scaled by 219/255 for Y and 224/255 for chroma plus
// 16/255 and 128/255 for YUY2, or by 4096/32767 for the 16-bit layout.
constexpr ConversionConstants kRgbToYuy2601 = {
    {0.25678822f, 0.50412941f, 0.09790588f, 0.0f,    //
     -0.14845490f, -0.29076079f, 0.43921569f, 0.0f,  //
     0.43921569f, -0.36806273f, -0.07115294f, 0.0f,  //
     0.0f, 0.0f, 0.0f, 1.0f},
    {0.06274510f, 0.50196081f, 0.50196081f, 0.0f}};
constexpr ConversionConstants kRgbToYuy2709 = {
    {0.18258588f, 0.61423057f, 0.06200706f, 0.0f,    //
     -0.10066824f, -0.33854744f, 0.43921569f, 0.0f,  //
     0.43921569f, -0.39898354f, -0.04023216f, 0.0f,  //
     0.0f, 0.0f, 0.0f, 1.0f},
    {0.06274510f, 0.50196081f, 0.50196081f, 0.0f}};
constexpr ConversionConstants kRgbToSnorm601 = {
    {0.03737614f, 0.07337724f, 0.01425043f, 0.0f,    //
     -0.02112564f, -0.04137626f, 0.06250191f, 0.0f,  //
     0.06250191f, -0.05237660f, -0.01012531f, 0.0f,  //
     0.0f, 0.0f, 0.0f, 1.0f},
    {0.0f, 0.0f, 0.0f, 0.0f}};
constexpr ConversionConstants kRgbToSnorm709 = {
    {0.02657581f, 0.08940273f, 0.00902528f, 0.0f,    //
     -0.01432544f, -0.04817647f, 0.06250191f, 0.0f,  //
     0.06250191f, -0.05677673f, -0.00572517f, 0.0f,  //
     0.0f, 0.0f, 0.0f, 1.0f},
    {0.0f, 0.0f, 0.0f, 0.0f}};

}  // namespace

YuvMatrix chooseYuvMatrix(int32_t setting, uint32_t height) {
  if (setting == 1) return YuvMatrix::Bt601;
  if (setting == 2) return YuvMatrix::Bt709;
  return height < 720 ? YuvMatrix::Bt601 : YuvMatrix::Bt709;
}

const ConversionConstants* inputConversion(int32_t layout, YuvMatrix matrix) {
  const bool bt709 = matrix == YuvMatrix::Bt709;
  switch (layout) {
    case DxgiFormat::G8R8_G8B8_UNORM: return bt709 ? &kYuy2ToRgb709 : &kYuy2ToRgb601;
    case DxgiFormat::R16G16B16A16_SNORM: return bt709 ? &kSnormToRgb709 : &kSnormToRgb601;
    default: return nullptr;
  }
}

const ConversionConstants* outputConversion(int32_t layout, YuvMatrix matrix) {
  const bool bt709 = matrix == YuvMatrix::Bt709;
  switch (layout) {
    case DxgiFormat::YUY2: return bt709 ? &kRgbToYuy2709 : &kRgbToYuy2601;
    case DxgiFormat::R16G16B16A16_SNORM: return bt709 ? &kRgbToSnorm709 : &kRgbToSnorm601;
    default: return nullptr;
  }
}

}  // namespace Media
