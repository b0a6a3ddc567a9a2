#pragma once
// The 7 sampler states of the program, by number: linear filtering with border (0), clamp
// (1), wrap (2), mirror (3) and mirror across with border down (4) addressing, and point
// filtering with border (5) and clamp (6). The border is transparent black. Made at first
// use as GL sampler objects of the device.
#include <array>
#include <mutex>
#include <cstddef>
#include <memory>

#include "gpu/com_resource.h"
#include "gpu/shader/pipeline_state.h"

namespace Media {
template <>
struct ComResourceTraits<SamplerState> {
  static constexpr const char* name = "struct ID3D11SamplerState";
  using Deleter = std::default_delete<SamplerState>;
};
}  // namespace Media

namespace Shader {

class SamplerStateList {
 public:
  static constexpr std::size_t kCount = 7;

  SamplerStateList();
  SamplerStateList(const SamplerStateList&) = delete;
  SamplerStateList& operator=(const SamplerStateList&) = delete;
  // Releases every created state and destroys every generator, last entry first.
  ~SamplerStateList();

  // The state of an entry, made on first use; a failing creation throws
  // "Direct3DService::Get().device->CreateSamplerState" and the next use tries again.
  Media::SamplerState* get(std::size_t index);
  Media::ComResource<Media::SamplerState>& entry(std::size_t index);
  static const Media::SamplerDescription& description(std::size_t index);

 private:
  // The quad draws of every render thread share the list: an entry is made once, under
  // the lock, never twice with one copy freed under a thread that is binding it.
  std::mutex mutex_;
  std::array<Media::ComResource<Media::SamplerState>, kCount> entries_;
};

}  // namespace Shader
