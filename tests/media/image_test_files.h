#pragma once
// Small still-image files made in memory with known pixels, for the image service's tests
// and the fuzz target's seeds: PNG of any colour type through libpng, JPEG through
// TurboJPEG, and BMP and GIF written byte by byte. Errors in these writers are mistakes in a
// test, so libpng is left to abort on them.
#include <png.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace ImageTestFiles {

using Bytes = std::string;

inline void appendBig32(Bytes& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}
inline void appendLittle16(Bytes& out, uint32_t value) {
  out.push_back(static_cast<char>(value));
  out.push_back(static_cast<char>(value >> 8));
}
inline void appendLittle32(Bytes& out, uint32_t value) {
  appendLittle16(out, value & 0xffff);
  appendLittle16(out, value >> 16);
}

inline uint32_t crc32(const Bytes& bytes, std::size_t from) {
  uint32_t crc = 0xffffffffu;
  for (std::size_t i = from; i < bytes.size(); ++i) {
    crc ^= static_cast<uint8_t>(bytes[i]);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// One PNG chunk with its length and a correct CRC.
inline void appendPngChunk(Bytes& out, const char* type, const Bytes& data) {
  appendBig32(out, static_cast<uint32_t>(data.size()));
  const std::size_t start = out.size();
  out += type;
  out += data;
  appendBig32(out, crc32(out, start));
}

inline const Bytes kPngSignature("\x89PNG\r\n\x1a\n", 8);

// A PNG that holds only a header (any size, even one libpng refuses) and its end.
inline Bytes pngHeaderOnly(uint32_t width, uint32_t height) {
  Bytes header;
  appendBig32(header, width);
  appendBig32(header, height);
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8-bit RGBA, no interlace
  Bytes out = kPngSignature;
  appendPngChunk(out, "IHDR", header);
  appendPngChunk(out, "IEND", {});
  return out;
}

struct PngPicture {
  uint32_t width = 1;
  uint32_t height = 1;
  int colorType = PNG_COLOR_TYPE_RGBA;
  int bitDepth = 8;
  bool interlaced = false;
  // Rows as libpng takes them (packed samples, 16-bit big-endian), top row first.
  std::vector<Bytes> rows;
  std::vector<png_color> palette;
  std::vector<uint8_t> paletteAlpha;  // tRNS of a palette image
};

inline Bytes makePng(const PngPicture& picture) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t size) {
        static_cast<Bytes*>(png_get_io_ptr(p))->append(reinterpret_cast<char*>(data), size);
      },
      [](png_structp) {});
  png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colorType,
               picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!picture.palette.empty())
    png_set_PLTE(png, info, picture.palette.data(), static_cast<int>(picture.palette.size()));
  if (!picture.paletteAlpha.empty())
    png_set_tRNS(png, info, picture.paletteAlpha.data(), static_cast<int>(picture.paletteAlpha.size()),
                 nullptr);
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (const auto& row : picture.rows)
    rows.push_back(reinterpret_cast<png_bytep>(const_cast<char*>(row.data())));
  png_write_image(png, rows.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

// A JPEG of packed R, G, B rows, 4:4:4 at the given quality (1..100).
inline Bytes makeJpeg(const std::vector<uint8_t>& rgb, int width, int height, int quality = 95) {
  tjhandle handle = tjInitCompress();
  unsigned char* output = nullptr;
  unsigned long size = 0;
  if (tjCompress2(handle, rgb.data(), width, width * 3, height, TJPF_RGB, &output, &size,
                  TJSAMP_444, quality, 0) != 0)
    std::abort();
  Bytes out(reinterpret_cast<char*>(output), size);
  tjFree(output);
  tjDestroy(handle);
  return out;
}

// A bottom-up 24-bit BMP of packed R, G, B rows given top row first.
inline Bytes makeBmp24(const std::vector<uint8_t>& rgb, uint32_t width, uint32_t height) {
  const uint32_t rowBytes = (width * 3 + 3) & ~3u;
  Bytes out = "BM";
  appendLittle32(out, 54 + rowBytes * height);
  appendLittle32(out, 0);
  appendLittle32(out, 54);
  appendLittle32(out, 40);
  appendLittle32(out, width);
  appendLittle32(out, height);
  appendLittle16(out, 1);
  appendLittle16(out, 24);
  for (int i = 0; i < 6; ++i) appendLittle32(out, 0);  // BI_RGB, sizes, resolution, colours
  for (uint32_t y = height; y-- > 0;) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* pixel = &rgb[(y * width + x) * 3];
      out.push_back(static_cast<char>(pixel[2]));
      out.push_back(static_cast<char>(pixel[1]));
      out.push_back(static_cast<char>(pixel[0]));
    }
    out.append(rowBytes - width * 3, '\0');
  }
  return out;
}

// A little-endian baseline TIFF of packed R, G, B rows: one uncompressed strip.
inline Bytes makeTiffRgb(const std::vector<uint8_t>& rgb, uint16_t width, uint16_t height) {
  constexpr uint16_t kEntries = 10;
  constexpr uint32_t kBitsAt = 8 + 2 + kEntries * 12 + 4;
  constexpr uint32_t kDataAt = kBitsAt + 6;
  Bytes out("II*\0", 4);
  appendLittle32(out, 8);
  appendLittle16(out, kEntries);
  const auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
    appendLittle16(out, tag);
    appendLittle16(out, type);
    appendLittle32(out, count);
    appendLittle32(out, value);
  };
  entry(256, 3, 1, width);
  entry(257, 3, 1, height);
  entry(258, 3, 3, kBitsAt);  // 8 bits per sample, listed below
  entry(259, 3, 1, 1);        // no compression
  entry(262, 3, 1, 2);        // RGB
  entry(273, 4, 1, kDataAt);
  entry(277, 3, 1, 3);
  entry(278, 3, 1, height);
  entry(279, 4, 1, static_cast<uint32_t>(rgb.size()));
  entry(284, 3, 1, 1);  // interleaved samples
  appendLittle32(out, 0);
  for (int i = 0; i < 3; ++i) appendLittle16(out, 8);
  out.append(reinterpret_cast<const char*>(rgb.data()), rgb.size());
  return out;
}

// A GIF with a four-colour global palette and one image per entry of `frames` (palette
// indices, row by row); `transparentIndex` (< 4) is marked transparent in every frame.
// The picture data uses 3-bit codes with a clear code before every pixel, so that no code
// table is needed to write it.
inline Bytes makeGif(uint16_t width, uint16_t height, const uint8_t (&palette)[4][3],
                     const std::vector<std::vector<uint8_t>>& frames, int transparentIndex = -1) {
  Bytes out = "GIF89a";
  appendLittle16(out, width);
  appendLittle16(out, height);
  out.push_back('\xf1');  // global palette of 4 entries
  out.push_back('\0');
  out.push_back('\0');
  for (const auto& colour : palette)
    for (uint8_t channel : colour) out.push_back(static_cast<char>(channel));
  for (const auto& indices : frames) {
    out += std::string("\x21\xf9\x04", 3);
    out.push_back(transparentIndex >= 0 ? '\x01' : '\0');
    appendLittle16(out, 10);  // delay
    out.push_back(static_cast<char>(transparentIndex >= 0 ? transparentIndex : 0));
    out.push_back('\0');
    out.push_back(',');
    appendLittle16(out, 0);
    appendLittle16(out, 0);
    appendLittle16(out, width);
    appendLittle16(out, height);
    out.push_back('\0');
    out.push_back('\x02');  // minimum code size: codes start at 3 bits
    std::vector<uint8_t> codes;
    for (uint8_t index : indices) {
      codes.push_back(4);  // clear
      codes.push_back(index);
    }
    codes.push_back(5);  // end of information
    Bytes packed;
    uint32_t buffer = 0;
    int bits = 0;
    for (uint8_t code : codes) {
      buffer |= uint32_t{code} << bits;
      bits += 3;
      while (bits >= 8) {
        packed.push_back(static_cast<char>(buffer & 0xff));
        buffer >>= 8;
        bits -= 8;
      }
    }
    if (bits > 0) packed.push_back(static_cast<char>(buffer & 0xff));
    for (std::size_t at = 0; at < packed.size(); at += 255) {
      const std::size_t count = std::min<std::size_t>(255, packed.size() - at);
      out.push_back(static_cast<char>(count));
      out += packed.substr(at, count);
    }
    out.push_back('\0');
  }
  out.push_back(';');
  return out;
}

}  // namespace ImageTestFiles
