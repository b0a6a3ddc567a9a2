#include "effect/mask_image_source.h"

#include <atomic>

namespace Effect {

namespace {
std::atomic<MaskImageSource*> installedSource{nullptr};
}  // namespace

void setMaskImageSource(MaskImageSource* source) { installedSource.store(source); }

MaskImageSource* maskImageSource() { return installedSource.load(); }

}  // namespace Effect
