#pragma once
// Decoded pictures for the objects of a scene: still images, frames of movie files and frames
// of other scenes used as a picture source.
//
// An input effect asks for a picture ahead of time in its pre-input step (preload) and takes
// it in its input step (get), which waits when the decode or render is still under way.
// Files are decoded on the cache's own thread; a scene's frame is rendered by the video
// render worker and stored from its thread.
#include <cstdint>
#include <memory>
#include <string>

#include "render/cache_keys.h"
#include "system/config.h"
#include "system/preload_cache.h"

namespace Media {
class ImageBuffer;
}
namespace Plugin {
class InputService;
}

namespace Cache {

class ImageCache {
 public:
  using Store = System::PreLoadCache<ImageCacheKey, Media::ImageBuffer, SourceKeyHash>;

  // Loads [Cache] ImageCacheSize (megabytes, default 768) and listens for scene changes,
  // which drop that scene's rendered frames.
  explicit ImageCache(Plugin::InputService& inputs);
  ~ImageCache();
  ImageCache(const ImageCache&) = delete;
  ImageCache& operator=(const ImageCache&) = delete;

  // Frame 0 of a file (a still image's picture); waits for the decode.
  std::shared_ptr<Media::ImageBuffer> getImage(const std::string& path);
  void preloadImage(const std::string& path);
  // The frame of a movie file or of a scene source at a time in seconds: a file's frame is
  // clamped into its frames; a scene's frame is taken when cached or being rendered.
  std::shared_ptr<Media::ImageBuffer> getFrameImage(const std::string& name, double time);
  // Starts decoding the file's frame, or rendering the scene's frame, in the background; a
  // file's next frame follows it.
  void preloadFrameImage(const std::string& name, double time);

  // Drops the rendered frames of a scene (its settings or contents changed).
  void forgetScene(int sceneId);
  int32_t imageCacheSize() const { return imageCacheSize_; }
  // Megabytes; applied at once.
  void setImageCacheSize(int32_t megabytes);
  void stop() { store_.stop(); }
  Store& store() { return store_; }

 private:
  Store::Loader frameLoader(const ImageCacheKey& key);
  // The frame of a file at a time (clamped to the file's frames) and the file's last frame,
  // or nothing when the file does not open.
  struct FileFrame {
    int32_t frame;
    int32_t last;
  };
  std::optional<FileFrame> fileFrame(const std::string& path, double time);

  Plugin::InputService& inputs_;
  int32_t imageCacheSize_ = 768;
  System::Config::Section config_{"Cache"};
  System::Config::Int sizeParameter_{config_, "ImageCacheSize", &imageCacheSize_, 768};
  std::unique_ptr<System::Config::Binding> binding_;
  Store store_;
};

// Rounds rate x time / scale to the nearest frame, halves away from zero, inside int32.
int32_t frameAtTime(int64_t rate, int64_t scale, double time);

}  // namespace Cache
