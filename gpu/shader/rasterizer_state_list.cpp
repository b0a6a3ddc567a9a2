#include "gpu/shader/rasterizer_state_list.h"

#include "system/exception.h"

namespace Shader {
namespace {

using Media::CullMode;
using Media::FillMode;
using Media::RasterizerDescription;

// Front faces clockwise, depth clip on, no scissor, no multisampling, no line smoothing.
constexpr RasterizerDescription state(FillMode fill, CullMode cull) {
  return {fill, cull, false, true, false, false, false};
}

constexpr std::array<RasterizerDescription, RasterizerStateList::kCount> kDescriptions = {
    state(FillMode::SOLID, CullMode::NONE),
    state(FillMode::SOLID, CullMode::BACK),
    state(FillMode::WIREFRAME, CullMode::NONE),
};

}  // namespace

RasterizerStateList::RasterizerStateList() {
  for (std::size_t i = 0; i < kCount; ++i) {
    entries_[i].setGenerator([i](Media::ComResourcePtr<Media::RasterizerState>* slot) {
      *slot = std::make_unique<Media::RasterizerState>(kDescriptions[i]);
    });
  }
}

RasterizerStateList::~RasterizerStateList() {
  for (std::size_t i = kCount; i-- > 0;) {
    entries_[i].release();
    entries_[i].clearGenerator();
  }
}

Media::ComResource<Media::RasterizerState>& RasterizerStateList::entry(std::size_t index) {
  if (index >= kCount)
    throw System::makeFormattedException("Shader::RasterizerStateList::entry",
                                         "state index out of range.", "index = %zu", index);
  return entries_[index];
}

Media::RasterizerState* RasterizerStateList::get(std::size_t index) {
  std::lock_guard lock(mutex_);
  return entry(index).createResource();
}

const Media::RasterizerDescription& RasterizerStateList::description(std::size_t index) {
  return kDescriptions.at(index);
}

}  // namespace Shader
