#pragma once
// Reads a PNG file into an image of straight-alpha BGRA bytes (format 87), for the picture
// wipes until the image service reads every still format.
#include <memory>
#include <string>

namespace Media {

class ImageBuffer;

// The picture, or none when the file is missing, is no PNG, is damaged or is larger than a
// GPU image can be (its header is checked before anything is decoded). Failures are logged.
std::shared_ptr<ImageBuffer> readPngFile(const std::string& path);

}  // namespace Media
