#pragma once
// The 128-bit identifiers by which the image service names file containers and in-memory
// pixel layouts. Callers pass them to choose an encoder and to describe their pixels; the
// values are the well-known ones, so that a caller written against them needs no table.
#include <array>
#include <cstdint>

namespace Media {

struct FormatGuid {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  std::array<uint8_t, 8> data4{};

  friend constexpr bool operator==(const FormatGuid&, const FormatGuid&) = default;
};

namespace ImageFormat {

// Containers: select the encoder of saveToFile.
inline constexpr FormatGuid kContainerPng{
    0x1b7cfaf4, 0x713f, 0x473c, {0xbb, 0xcd, 0x61, 0x37, 0x42, 0x5f, 0xae, 0xaf}};
inline constexpr FormatGuid kContainerJpeg{
    0x19e4a5aa, 0x5662, 0x4fc5, {0xa0, 0xc0, 0x17, 0x58, 0x02, 0x8e, 0x10, 0x57}};

// Pixel layouts, named by their byte order in memory.
inline constexpr FormatGuid kPixel24bppBgr{
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0c}};
inline constexpr FormatGuid kPixel24bppRgb{
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0d}};
// B, G, R and an unused byte.
inline constexpr FormatGuid kPixel32bppBgr{
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0e}};
inline constexpr FormatGuid kPixel32bppBgra{
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0f}};
// B, G, R premultiplied by A.
inline constexpr FormatGuid kPixel32bppPbgra{
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x10}};
// R, G, B, straight A: what decoding produces.
inline constexpr FormatGuid kPixel32bppRgba{
    0xf5c7ad2d, 0x6a8d, 0x43dd, {0xa7, 0xa8, 0xa2, 0x99, 0x35, 0x26, 0x1a, 0xe9}};

}  // namespace ImageFormat

}  // namespace Media
