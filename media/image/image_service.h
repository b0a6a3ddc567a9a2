#pragma once
// The program's still-image codecs: decoding an image file (or bytes in memory) into a CPU
// image, and encoding a CPU image into a PNG or JPEG file. Decoding gives R8G8B8A8 with
// straight alpha (format 28) in the default pitch, whatever the file held.
//
// A service created once by the entry point. It keeps only its limits: every call makes its
// own decoder or encoder, so the calls may come from several threads at once (cache workers
// decode, the export worker saves).
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "media/image/format_guid.h"
#include "media/image/still_image_decode.h"
#include "system/service_holder.h"

namespace Media {

class ImageBuffer;

// One encoder option: a name and a 32-bit float value ("ImageQuality", 0..1, for JPEG).
struct EncoderOption {
  std::string name;
  float value = 0.0f;
};

class ImageService : public System::Service<ImageService> {
 public:
  explicit ImageService(ImageLimits limits = {});
  ImageService(const ImageService&) = delete;
  ImageService& operator=(const ImageService&) = delete;

  // The service; throws "ImageService not created." when it does not exist.
  static ImageService& Get();

  // The file's first frame (the decoder is chosen from the content, not the extension).
  // Throws on any failure, named after the failing step ("factory->CreateDecoderFromFilename"
  // for a file that cannot be read or whose content no decoder knows), at the place
  // "Media::ImageService::loadFromFile".
  std::shared_ptr<ImageBuffer> loadFromFile(const std::string& path) const;
  // The same for bytes in memory ("factory->CreateDecoderFromStream",
  // "Media::ImageService::loadFromMemory").
  std::shared_ptr<ImageBuffer> loadFromMemory(std::span<const uint8_t> bytes) const;

  // Writes one picture into a new file. `sourceFormat` names the layout of `pixels` (rows
  // `pitch` bytes apart). `pixelFormatRequest` holds the container (PNG or JPEG) on entry,
  // which selects the encoder, and receives the pixel layout the encoder writes (PNG:
  // 32bppBGRA when the source has alpha, else 24bppBGR; JPEG: 24bppBGR); the caller's
  // pixels are converted to it. The option may be absent.
  // Throws on any failure at the place "Media::ImageService::saveToFile"; a file that was
  // created is removed again.
  void saveToFile(const std::string& path, const uint8_t* pixels, uint32_t width,
                  uint32_t height, uint32_t pitch, const FormatGuid& sourceFormat,
                  FormatGuid& pixelFormatRequest,
                  const std::optional<EncoderOption>& option = std::nullopt) const;

  const ImageLimits& limits() const { return limits_; }

 private:
  ImageLimits limits_;
};

}  // namespace Media
