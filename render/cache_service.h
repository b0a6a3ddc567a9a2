#pragma once
// The picture and sound caches of the whole program, made at start after the input service
// and stopped at shut-down before the render threads' owners go.
#include "render/audio_cache.h"
#include "render/image_cache.h"
#include "system/service_holder.h"

namespace Cache {

class CacheService : public System::Service<CacheService> {
 public:
  // Uses the input service, which must exist.
  CacheService();
  explicit CacheService(Plugin::InputService& inputs);
  ~CacheService();

  ImageCache& image() { return image_; }
  AudioCache& audio() { return audio_; }
  // Ends both caches' threads and wakes every waiter.
  void stop();

 private:
  ImageCache image_;
  AudioCache audio_;
};

}  // namespace Cache
