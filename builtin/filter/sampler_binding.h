#pragma once
// A sampler entry of the shared list bound to slot 0 for the draws of one scope, unbound at
// its end whatever happens: the built-in sampling shaders read whatever is bound there, and
// the next draw of the thread must not inherit it.
#include <cstddef>

#include "gpu/resource/resource_service.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {

// Entries of the shared sampler list.
namespace SamplerEntry {
inline constexpr std::size_t LinearClamp = 1;
inline constexpr std::size_t LinearWrap = 2;
inline constexpr std::size_t PointClamp = 6;
}  // namespace SamplerEntry

class SamplerBinding {
 public:
  explicit SamplerBinding(std::size_t entry) {
    Media::ShaderBindings::setSampler(
        0, Resource::ResourceService::Get().samplerStates().get(entry));
  }
  ~SamplerBinding() { Media::ShaderBindings::setSampler(0, nullptr); }
  SamplerBinding(const SamplerBinding&) = delete;
  SamplerBinding& operator=(const SamplerBinding&) = delete;
};

}  // namespace Effect
