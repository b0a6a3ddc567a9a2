// JPEG through TurboJPEG: the header gives the size (checked before anything is allocated),
// then the picture is decoded straight into the image as R, G, B, A (A = 255). CMYK and YCCK
// files, which TurboJPEG cannot turn into RGB, go to FFmpeg's decoder instead.
#include <turbojpeg.h>

#include <memory>
#include <string_view>

#include "gpu/image/image_buffer.h"
#include "media/image/imaging_codes.h"
#include "media/image/still_image_decode.h"

namespace Media {
namespace {

struct TurboJpegDeleter {
  void operator()(void* handle) const { tjDestroy(handle); }
};
using TurboJpegHandle = std::unique_ptr<void, TurboJpegDeleter>;

// A cut-off file still decodes (the missing part grey) with only a warning; a picture that
// is not all there is refused instead. Other warnings (stray bytes between segments, which
// some cameras write) leave a whole picture and are accepted.
bool isTruncation(std::string_view warning) {
  return warning.find("Premature end") != std::string_view::npos ||
         warning.find("premature end") != std::string_view::npos;
}

}  // namespace

std::shared_ptr<ImageBuffer> decodeJpeg(const DecodeSource& source) {
  TurboJpegHandle handle(tjInitDecompress());
  if (!handle) failDecode(source, source.openCall, ImagingCode::kOutOfMemory, tjGetErrorStr2(nullptr));
  const auto* data = source.bytes.data();
  const auto size = static_cast<unsigned long>(source.bytes.size());

  int width = 0, height = 0, subsampling = 0, colorspace = 0;
  if (tjDecompressHeader3(handle.get(), data, size, &width, &height, &subsampling,
                          &colorspace) != 0)
    failDecode(source, source.openCall, ImagingCode::kBadHeader, tjGetErrorStr2(handle.get()));
  if (colorspace == TJCS_CMYK || colorspace == TJCS_YCCK)
    return decodeWithFfmpeg(source, StillFormat::Jpeg);
  // A file that ends before its frame header parses with a size of 0.
  if (width <= 0 || height <= 0)
    failDecode(source, source.openCall, ImagingCode::kBadHeader, "no frame header");

  auto image = makeDecodedImage(source, static_cast<uint64_t>(width), static_cast<uint64_t>(height));
  // A progressive file may hold any number of scans, each one a pass over the whole
  // picture: more than TurboJPEG's limit of 500 is refused rather than decoded for minutes.
  const int flags = TJFLAG_LIMITSCANS;
  if (tjDecompress2(handle.get(), data, size, image->data(), width,
                    static_cast<int>(image->pitch), height, TJPF_RGBA, flags) != 0) {
    const std::string_view message = tjGetErrorStr2(handle.get());
    if (tjGetErrorCode(handle.get()) != TJERR_WARNING || isTruncation(message))
      failDecode(source, DecodeStep::kPixels, ImagingCode::kBadImage, message);
  }
  return image;
}

}  // namespace Media
