// PNG through libpng's sequential reader: every colour type and depth becomes 8-bit
// R, G, B, A with straight alpha. Gamma and colour-profile chunks are not applied: the
// stored values are the picture.
//
// libpng reports errors by jumping back to a setjmp point. The jumps land in the two small
// functions below, which hold no object with a destructor, so a jump never skips one; the
// libpng structures and the image live in the caller and are released normally.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <span>

#include "gpu/image/image_buffer.h"
#include "media/image/imaging_codes.h"
#include "media/image/still_image_decode.h"

namespace Media {
namespace {

// What the callbacks share: the bytes still to read and the last error text.
struct PngInput {
  const uint8_t* data = nullptr;
  std::size_t size = 0;
  std::size_t offset = 0;
  char message[256] = {};
};

void readBytes(png_structp png, png_bytep out, png_size_t count) {
  auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
  if (count > input->size - input->offset) png_error(png, "unexpected end of file");
  std::memcpy(out, input->data + input->offset, count);
  input->offset += count;
}

void recordError(png_structp png, png_const_charp message) {
  auto* input = static_cast<PngInput*>(png_get_error_ptr(png));
  std::snprintf(input->message, sizeof input->message, "%s", message ? message : "");
  png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

struct PngHeader {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
};

// Reads the chunks up to the first image data. False when libpng failed.
bool readHeader(png_structp png, png_infop info, PngHeader& header) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  header.width = png_get_image_width(png, info);
  header.height = png_get_image_height(png, info);
  return true;
}

enum class PixelResult { Done, Failed, WrongLayout };

// Sets up the conversion to 8-bit RGBA and reads every row (all passes of an interlaced
// file) into the image.
PixelResult readPixels(png_structp png, png_infop info, ImageBuffer* image) {
  if (setjmp(png_jmpbuf(png))) return PixelResult::Failed;
  const int colorType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (hasTransparency) png_set_tRNS_to_alpha(png);
  if (bitDepth == 16) png_set_scale_16(png);
  if ((colorType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  if ((colorType & PNG_COLOR_MASK_ALPHA) == 0 && !hasTransparency)
    png_set_filler(png, 0xff, PNG_FILLER_AFTER);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(image->width) * 4)
    return PixelResult::WrongLayout;
  for (int pass = 0; pass < passes; ++pass)
    for (uint32_t y = 0; y < image->height; ++y) png_read_row(png, image->row(y), nullptr);
  return PixelResult::Done;
}

class PngReader {
 public:
  PngReader() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png_) info_ = png_create_info_struct(png_);
  }
  ~PngReader() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

// The picture size from the IHDR chunk, which a PNG must begin with: checked before libpng
// reads on, so that an oversized picture is refused as such even when the rest of the file
// would not parse. False when the bytes do not begin so.
bool peekSize(std::span<const uint8_t> bytes, uint32_t& width, uint32_t& height) {
  if (bytes.size() < 24 || std::memcmp(bytes.data() + 12, "IHDR", 4) != 0) return false;
  const auto big32 = [&](std::size_t at) {
    return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) |
           (uint32_t{bytes[at + 2]} << 8) | uint32_t{bytes[at + 3]};
  };
  width = big32(16);
  height = big32(20);
  return true;
}

// Ancillary chunks (text, profiles) larger than this are skipped rather than held.
constexpr png_alloc_size_t kMaxChunkBytes = 8 * 1024 * 1024;

}  // namespace

std::shared_ptr<ImageBuffer> decodePng(const DecodeSource& source) {
  if (uint32_t width = 0, height = 0; peekSize(source.bytes, width, height))
    makeDecodedImage(source, width, height, SizeCheck::Only);
  PngReader reader;
  if (!reader.png() || !reader.info())
    failDecode(source, source.openCall, ImagingCode::kOutOfMemory, "libpng not started");
  PngInput input;
  input.data = source.bytes.data();
  input.size = source.bytes.size();
  png_set_error_fn(reader.png(), &input, recordError, ignoreWarning);
  png_set_read_fn(reader.png(), &input, readBytes);
  // The size limit is checked below with this program's own limits, before anything is
  // allocated; libpng's own smaller default would refuse with a less precise error.
  png_set_user_limits(reader.png(), PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  png_set_chunk_malloc_max(reader.png(), kMaxChunkBytes);

  PngHeader header;
  if (!readHeader(reader.png(), reader.info(), header))
    failDecode(source, source.openCall, ImagingCode::kBadHeader, input.message);
  auto image = makeDecodedImage(source, header.width, header.height);
  switch (readPixels(reader.png(), reader.info(), image.get())) {
    case PixelResult::Done:
      return image;
    case PixelResult::WrongLayout:
      failConversion(source, "the rows do not convert to 8-bit RGBA");
    case PixelResult::Failed:
      break;
  }
  failDecode(source, DecodeStep::kPixels, ImagingCode::kBadImage, input.message);
}

}  // namespace Media
