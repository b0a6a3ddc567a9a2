#pragma once
// The header that describes device-independent bitmap pixels where frames cross the
// program's boundary (the AVI files, the reader and writer plug-ins, the clipboard): the
// 40-byte layout those interfaces exchange, little-endian fields in file order.
#include <cstdint>

namespace Media {

struct BitmapInfoHeader {
  uint32_t size = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

// The compression code of plain RGB rows, and the four-character codes of the packed forms.
inline constexpr uint32_t kBitmapCompressionRgb = 0;
constexpr uint32_t dibFourCc(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
         static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

}  // namespace Media
