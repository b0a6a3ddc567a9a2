#include "effect/media_input_source.h"

#include <atomic>

namespace Effect {

namespace {
std::atomic<const MediaInputSource*> installedSource{nullptr};
}  // namespace

void setMediaInputSource(const MediaInputSource* source) { installedSource.store(source); }

const MediaInputSource* mediaInputSource() { return installedSource.load(); }

}  // namespace Effect
