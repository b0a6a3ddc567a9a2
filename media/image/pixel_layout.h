#pragma once
// The byte layouts of pixels that callers hand to saveToFile and that the encoders take,
// and the conversion of one row from one layout to another.
#include <cstdint>

#include "media/image/format_guid.h"

namespace Media {

struct PixelLayout {
  FormatGuid guid;
  uint32_t bytesPerPixel;
  // Byte index of each channel within a pixel; alpha is -1 in a layout without alpha.
  uint8_t red;
  uint8_t green;
  uint8_t blue;
  int8_t alpha;
  bool premultiplied;

  bool hasAlpha() const { return alpha >= 0; }
};

// The layout of a known pixel format, or nullptr.
const PixelLayout* findPixelLayout(const FormatGuid& guid);

// Converts `width` pixels. Premultiplied colour becomes straight where the target keeps
// alpha; where it does not, the colour is kept as it is (the picture over black), and a
// straight source simply loses its alpha. A source without alpha gives alpha 255.
void convertPixelRow(const PixelLayout& from, const uint8_t* source, const PixelLayout& to,
                     uint8_t* target, uint32_t width);

}  // namespace Media
