#include "effect/media_input_host.h"

#include <atomic>

namespace Effect {

namespace {
std::atomic<MediaInputHost*> installedHost{nullptr};
}  // namespace

void setMediaInputHost(MediaInputHost* host) { installedHost.store(host); }

MediaInputHost* mediaInputHost() { return installedHost.load(); }

MediaTime::Timing sceneTimingOf(const Edit::Scene* scene) {
  if (const MediaInputHost* host = mediaInputHost()) return host->sceneTiming(scene);
  return {};
}

}  // namespace Effect
