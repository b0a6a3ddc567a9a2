#include "render/cache_mask_images.h"

#include "gpu/gl/texture_copy.h"
#include "gpu/image/image_buffer.h"
#include "gpu/resource_buffer.h"
#include "render/cache_service.h"
#include "render/resource_cache.h"

namespace Render {
namespace {

Effect::OwnedImage upload(const std::shared_ptr<Media::ImageBuffer>& picture) {
  if (!picture) return {};
  auto image = Media::ResourceBuffer::createFromImageBuffer(picture.get());
  return image ? Effect::adoptBuffer(std::move(image)) : Effect::OwnedImage();
}

}  // namespace

void CacheMaskImages::preloadImage(const std::string& path) {
  if (auto* caches = Cache::CacheService::instance()) caches->image().preloadImage(path);
}

void CacheMaskImages::preloadSceneFrame(int32_t sceneId, double seconds) {
  if (auto* caches = Cache::CacheService::instance())
    caches->image().preloadFrameImage(Cache::getSceneFileName(sceneId), seconds);
}

Effect::OwnedImage CacheMaskImages::fileImage(const std::string& path) {
  auto* caches = Cache::CacheService::instance();
  return caches ? upload(caches->image().getImage(path)) : Effect::OwnedImage();
}

Effect::OwnedImage CacheMaskImages::sceneFrameImage(int32_t sceneId, double seconds) {
  auto* caches = Cache::CacheService::instance();
  if (!caches) return {};
  return upload(caches->image().getFrameImage(Cache::getSceneFileName(sceneId), seconds));
}

Effect::OwnedImage CacheMaskImages::namedBuffer(ResourceCache& cache, const std::string& name) {
  auto found = cache.find(name);
  if (!found || !found->texture()) return {};
  auto copy = Media::ResourceBuffer::createBuffer(found->width(), found->height(), found->format());
  if (!copy->texture() ||
      !Media::copyTexture(*copy->texture(), *found->texture(), "Render::CacheMaskImages::namedBuffer"))
    return {};
  return Effect::adoptBuffer(std::move(copy));
}

}  // namespace Render
