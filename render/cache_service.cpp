#include "render/cache_service.h"

#include "media/input/input_service.h"
#include "system/event_service.h"
#include "system/exception.h"

namespace Cache {
namespace {

Plugin::InputService& requireInputs() {
  Plugin::InputService* inputs = Plugin::InputService::instance();
  if (!inputs) throw System::makeException("Cache::CacheService::CacheService", "no input service.");
  return *inputs;
}

}  // namespace

CacheService::CacheService() : CacheService(requireInputs()) {}

CacheService::CacheService(Plugin::InputService& inputs) : image_(inputs), audio_(inputs) {
  // A scene made current, created, renamed, deleted or imported is rendered anew.
  if (Event::EventService* events = Event::EventService::instance()) {
    events->sceneChanged().add([](int sceneId) {
      if (CacheService* caches = CacheService::instance()) {
        caches->image().forgetScene(sceneId);
        caches->audio().forgetScene(sceneId);
      }
    });
  }
}

CacheService::~CacheService() { stop(); }

void CacheService::stop() {
  image_.stop();
  audio_.stop();
}

}  // namespace Cache
