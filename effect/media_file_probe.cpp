#include "effect/media_file_probe.h"

#include <atomic>

namespace Effect {

namespace {
std::atomic<const MediaFileProbe*> installedProbe{nullptr};
}  // namespace

void setMediaFileProbe(const MediaFileProbe* probe) { installedProbe.store(probe); }

const MediaFileProbe* mediaFileProbe() { return installedProbe.load(); }

}  // namespace Effect
