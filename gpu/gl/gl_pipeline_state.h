#pragma once
// Binding the pipeline states (shader/pipeline_state.h) that are device objects.
#include <epoxy/gl.h>

#include "gpu/shader/pipeline_state.h"

namespace Media {

// Waits until the sampler is complete, then binds it to a texture unit of the calling
// thread's context.
void bindSampler(const SamplerState& sampler, GLuint unit);

}  // namespace Media
