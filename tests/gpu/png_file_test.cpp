// Reading PNG files for the picture wipes: pixels come back as straight-alpha BGRA bytes,
// and files that are missing, are no PNG, are damaged or are larger than an image can be
// give no picture and a warning.
#include <cairo.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gpu/image/image_buffer.h"
#include "gpu/image/png_file.h"
#include "gpu/pixel_format.h"
#include "system/log_capture.h"
#include "system/temp_folder.h"

namespace {

using Bgra = std::array<int, 4>;

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};

// Writes a PNG of one row of pixels, each given as straight-alpha BGRA.
std::string writePng(const TestSupport::TempFolder& folder, const std::string& name,
                     cairo_format_t format, const std::vector<Bgra>& pixels) {
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
      cairo_image_surface_create(format, static_cast<int>(pixels.size()), 1));
  cairo_surface_flush(surface.get());
  auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface.get()));
  for (std::size_t x = 0; x < pixels.size(); ++x) {
    const auto [b, g, r, a] = pixels[x];
    // Cairo keeps premultiplied native-endian ARGB.
    const auto premultiplied = [a = a](int value) {
      return static_cast<uint32_t>((value * a + 127) / 255);
    };
    row[x] = (static_cast<uint32_t>(a) << 24) | (premultiplied(r) << 16) |
             (premultiplied(g) << 8) | premultiplied(b);
  }
  cairo_surface_mark_dirty(surface.get());
  const std::string path = folder / name;
  EXPECT_EQ(cairo_surface_write_to_png(surface.get(), path.c_str()), CAIRO_STATUS_SUCCESS);
  return path;
}

// The bytes of a PNG signature and an IHDR chunk of the given size (8-bit RGBA), and then
// nothing more.
std::string pngHeader(uint32_t width, uint32_t height) {
  std::string bytes = "\x89PNG\r\n\x1a\n";
  const auto put32 = [&](uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<char>(value >> shift));
  };
  put32(13);
  bytes += "IHDR";
  put32(width);
  put32(height);
  bytes += std::string("\x08\x06\x00\x00\x00", 5);
  put32(0);  // a CRC nobody reads this far
  return bytes;
}

TEST(PngFile, PixelsComeBackAsStraightAlphaBgra) {
  TestSupport::TempFolder folder;
  const std::vector<Bgra> pixels = {
      {0, 0, 255, 128},     // half-transparent red
      {255, 128, 0, 255},   // opaque
      {0, 0, 0, 0},         // fully transparent
      {40, 200, 90, 51},    // faint
  };
  const std::string path = writePng(folder, "row.png", CAIRO_FORMAT_ARGB32, pixels);
  const auto image = Media::readPngFile(path);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->format, Media::DxgiFormat::B8G8R8A8_UNORM);
  ASSERT_EQ(image->width, pixels.size());
  ASSERT_EQ(image->height, 1u);
  for (std::size_t x = 0; x < pixels.size(); ++x) {
    SCOPED_TRACE(x);
    const uint8_t* got = image->row(0) + x * 4;
    EXPECT_EQ(got[3], pixels[x][3]);
    // Premultiplying on the way out loses precision at low alpha: a step of 255 / alpha.
    const int tolerance = pixels[x][3] == 0 ? 0 : 1 + 255 / pixels[x][3];
    for (int c = 0; c < 3; ++c)
      EXPECT_LE(std::abs(got[c] - (pixels[x][3] == 0 ? 0 : pixels[x][c])), tolerance) << c;
  }
  // The half-transparent red of the wipes' pictures within one step.
  const uint8_t* red = image->row(0);
  EXPECT_EQ(red[0], 0);
  EXPECT_EQ(red[1], 0);
  EXPECT_GE(red[2], 254);
  EXPECT_NEAR(red[3], 128, 1);
}

TEST(PngFile, APictureWithoutAlphaIsOpaque) {
  TestSupport::TempFolder folder;
  const std::string path =
      writePng(folder, "opaque.png", CAIRO_FORMAT_RGB24, {{10, 20, 30, 255}, {200, 100, 0, 255}});
  const auto image = Media::readPngFile(path);
  ASSERT_NE(image, nullptr);
  const uint8_t* row = image->row(0);
  EXPECT_EQ((Bgra{row[0], row[1], row[2], row[3]}), (Bgra{10, 20, 30, 255}));
  EXPECT_EQ((Bgra{row[4], row[5], row[6], row[7]}), (Bgra{200, 100, 0, 255}));
}

TEST(PngFile, UnreadableFilesGiveNoPictureAndAWarning) {
  TestSupport::TempFolder folder;
  struct Case {
    const char* name;
    std::string contents;  // nothing is written when empty
  };
  const Case cases[] = {
      {"missing.png", ""},
      {"text.png", "this is not a picture at all, only some text"},
      {"huge.png", pngHeader(20000, 10)},
      {"tall.png", pngHeader(10, 16385)},
      {"empty-size.png", pngHeader(0, 10)},
      {"cut-short.png", pngHeader(10, 10)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path =
        c.contents.empty() ? folder / c.name : folder.writeFile(c.name, c.contents);
    TestSupport::LogCapture log;
    EXPECT_EQ(Media::readPngFile(path), nullptr);
    const auto records = log.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].level, "WARN");
    EXPECT_EQ(records[0].place, "Media::readPngFile");
    EXPECT_NE(records[0].text.find(path), std::string::npos) << records[0].text;
  }
}

}  // namespace
