#pragma once
// Decoding one still image held in memory into an R8G8B8A8 image with straight alpha: the
// container is recognised from the leading bytes (never from a file name), PNG goes through
// libpng, JPEG through TurboJPEG, and BMP, GIF, TIFF and WebP through FFmpeg's decoders.
// Only the first frame of a multi-frame file is read.
//
// Every failure throws the program's error named after the decoding step that failed, with
// the operation's place, after a WARN line that holds the library's own reason.
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace Media {

class ImageBuffer;

// How large a decoded picture may be. Both limits are checked against the header before any
// pixel memory is taken, so a small file that claims a huge picture costs nothing.
struct ImageLimits {
  // The largest side the graphics device takes for a 2-D image: a larger picture could not
  // be shown anyway.
  uint32_t maxSide = 16384;
  // At most maxSide x maxSide pixels (1 GiB of R8G8B8A8). A smaller limit bounds the memory
  // more tightly where that matters more than the largest pictures (the fuzz target).
  uint64_t maxPixels = uint64_t{16384} * 16384;
};

enum class StillFormat { Unknown, Png, Jpeg, Bmp, Gif, Tiff, WebP };

// The container the bytes begin with.
StillFormat detectStillFormat(std::span<const uint8_t> bytes);

// One decoding request: the bytes, the limits, and how failures are named.
struct DecodeSource {
  std::span<const uint8_t> bytes;
  const ImageLimits& limits;
  const char* place;      // the operation that reports failures
  const char* openCall;   // the name of the step that recognises the content
  std::string_view name;  // the file's path (or a stand-in) for the log line
};

// Decodes the first frame. Throws on any failure.
std::shared_ptr<ImageBuffer> decodeStillImage(const DecodeSource& source);

// ---- shared by the decoders --------------------------------------------------------------

// Names of the decoding steps in failures.
namespace DecodeStep {
inline constexpr const char* kFrame = "decoder->GetFrame";
inline constexpr const char* kSize = "frame->GetSize";
inline constexpr const char* kPixels = "converter->CopyPixels";
}  // namespace DecodeStep

// Logs the reason and throws the failure of `call` with `code`.
[[noreturn]] void failDecode(const DecodeSource& source, const char* call, int32_t code,
                             std::string_view reason);
// Logs the reason and throws "IWICFormatConverter can not convert.": the decoded layout has
// no conversion to R8G8B8A8.
[[noreturn]] void failConversion(const DecodeSource& source, std::string_view reason);
// The image that receives the pixels: refuses a zero or over-limit size ("frame->GetSize")
// before allocating. With SizeCheck::Only nothing is allocated and the result is empty.
enum class SizeCheck { AndAllocate, Only };
std::shared_ptr<ImageBuffer> makeDecodedImage(const DecodeSource& source, uint64_t width,
                                              uint64_t height,
                                              SizeCheck check = SizeCheck::AndAllocate);

std::shared_ptr<ImageBuffer> decodePng(const DecodeSource& source);
std::shared_ptr<ImageBuffer> decodeJpeg(const DecodeSource& source);
// Through FFmpeg's decoder of the format (also JPEG, for the CMYK files TurboJPEG cannot
// turn into RGB).
std::shared_ptr<ImageBuffer> decodeWithFfmpeg(const DecodeSource& source, StillFormat format);

}  // namespace Media
