#include "builtin/output/movie_output.h"

namespace Effect {

MovieOutput::MovieOutput()
    : BasicOutput(kName, MediaType::VideoAudio, TargetType::VideoAudio),
      volume(items, "音量", 100.0, 0.0, 1000.0, 0.01) {}

std::shared_ptr<EffectBase> MovieOutput::create() const { return std::make_shared<MovieOutput>(); }

}  // namespace Effect
