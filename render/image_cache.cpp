#include "render/image_cache.h"

#include <cmath>
#include <limits>

#include "edit/scene.h"
#include "gpu/image/image_buffer.h"
#include "media/input/input_file.h"
#include "media/input/input_service.h"
#include "render/render_service.h"
#include "system/setting_service.h"

namespace Cache {
namespace {

constexpr uint64_t kMegabyte = uint64_t{1} << 20;
constexpr int32_t kQueueLimit = 8;

uint64_t weightOf(const Media::ImageBuffer& image) {
  return static_cast<uint64_t>(image.pitch) * image.height;
}

}  // namespace

int32_t frameAtTime(int64_t rate, int64_t scale, double time) {
  if (scale == 0 || !std::isfinite(time)) return 0;
  const double frame = std::round(static_cast<double>(rate) * time / static_cast<double>(scale));
  if (frame >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (frame <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(frame);
}

ImageCache::ImageCache(Plugin::InputService& inputs) : inputs_(inputs) {
  binding_ = std::make_unique<System::Config::Binding>(config_, Setting::ParameterIni::instance());
  binding_->load();
  store_.setLimit(static_cast<uint64_t>(std::max(imageCacheSize_, 0)) * kMegabyte);
  store_.setQueueLimit(kQueueLimit);
}

ImageCache::~ImageCache() {
  store_.stop();
  binding_.reset();  // saves [Cache]
}

void ImageCache::setImageCacheSize(int32_t megabytes) {
  imageCacheSize_ = megabytes;
  store_.setLimit(static_cast<uint64_t>(std::max(megabytes, 0)) * kMegabyte);
}

void ImageCache::forgetScene(int sceneId) {
  const std::string name = getSceneFileName(sceneId);
  store_.removeIf([&](const ImageCacheKey& key) { return key.name == name; });
}

ImageCache::Store::Loader ImageCache::frameLoader(const ImageCacheKey& key) {
  return [this, key] {
    auto file = inputs_.getInputFile(key.name, 1);
    if (!file) return;
    auto picture = file->readVideo(key.number);
    if (!picture) return;
    const uint64_t weight = weightOf(*picture);
    store_.store(key, std::move(picture), weight);
  };
}

std::optional<ImageCache::FileFrame> ImageCache::fileFrame(const std::string& path,
                                                           double time) {
  auto file = inputs_.getInputFile(path, 1);
  if (!file) return std::nullopt;
  const auto& description = file->description();
  const int32_t last = description.frameCount - 1;
  int32_t frame = frameAtTime(static_cast<uint32_t>(description.rate),
                              static_cast<uint32_t>(description.scale), time);
  if (last < frame)
    frame = last;
  else if (frame < 0)
    frame = 0;
  return FileFrame{std::max(frame, 0), last};
}

std::shared_ptr<Media::ImageBuffer> ImageCache::getImage(const std::string& path) {
  ImageCacheKey key{path, 0};
  return store_.get(key, frameLoader(key));
}

void ImageCache::preloadImage(const std::string& path) {
  ImageCacheKey key{path, 0};
  store_.request(key, frameLoader(key));
}

std::shared_ptr<Media::ImageBuffer> ImageCache::getFrameImage(const std::string& name,
                                                              double time) {
  if (isSceneFileName(name)) {
    auto scene = getSceneFromFileName(name);
    if (!scene) return {};
    // Only what is cached or being rendered: a get never starts a render of its own.
    return store_.get({name, frameAtTime(scene->rate, scene->scale, time)}, {});
  }
  const auto frame = fileFrame(name, time);
  if (!frame) return {};
  ImageCacheKey key{name, frame->frame};
  return store_.get(key, frameLoader(key));
}

void ImageCache::preloadFrameImage(const std::string& name, double time) {
  if (isSceneFileName(name)) {
    auto scene = getSceneFromFileName(name);
    if (!scene) return;
    ImageCacheKey key{name, frameAtTime(scene->rate, scene->scale, time)};
    bool reserved = false;
    if (store_.reserve(key, reserved) || !reserved) return;
    Render::RenderService* render = Render::RenderService::instance();
    if (!render) {
      store_.abandon(key);
      return;
    }
    // The render hands over the frame, or nothing when it failed; either way the key's
    // waiters wake.
    try {
      render->video().renderFrameImage(
          *scene, key.number, [this, key](std::shared_ptr<Media::ImageBuffer> picture) {
            if (!picture) {
              store_.abandon(key);
              return;
            }
            const uint64_t weight = weightOf(*picture);
            store_.store(key, std::move(picture), weight);
          });
    } catch (...) {
      store_.abandon(key);
      throw;
    }
    return;
  }
  const auto frame = fileFrame(name, time);
  if (!frame) return;
  ImageCacheKey key{name, frame->frame};
  store_.request(key, frameLoader(key));
  // Frames are mostly asked for in order (playback, export): the next one is decoded, from
  // where the decoder stands, while this one is drawn.
  if (frame->frame >= frame->last) return;
  ImageCacheKey next{name, frame->frame + 1};
  store_.request(next, frameLoader(next));
}

}  // namespace Cache
