#include "builtin/output/video_output.h"

namespace Effect {

VideoOutput::VideoOutput() : BasicOutput(kName, MediaType::Video, TargetType::Video) {}

std::shared_ptr<EffectBase> VideoOutput::create() const { return std::make_shared<VideoOutput>(); }

}  // namespace Effect
