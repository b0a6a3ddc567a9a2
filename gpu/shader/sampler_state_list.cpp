#include "gpu/shader/sampler_state_list.h"

#include "system/exception.h"

namespace Shader {
namespace {

using Media::AddressMode;
using Media::Filter;
using Media::SamplerDescription;

constexpr const char* kCall = "Direct3DService::Get().device->CreateSamplerState";
constexpr const char* kPlace = "Shader::SamplerStateList::{ctor}::<lambda_1>::operator ()";

// W follows V; no bias, no anisotropy, comparison ALWAYS, transparent black border,
// level of detail 0 only.
constexpr SamplerDescription sampler(Filter filter, AddressMode u, AddressMode v) {
  return {filter, u, v, v, 0.0f, 0, Media::Comparison::ALWAYS, {0.0f, 0.0f, 0.0f, 0.0f},
          0.0f, 0.0f};
}

constexpr std::array<SamplerDescription, SamplerStateList::kCount> kDescriptions = {
    sampler(Filter::MIN_MAG_MIP_LINEAR, AddressMode::BORDER, AddressMode::BORDER),
    sampler(Filter::MIN_MAG_MIP_LINEAR, AddressMode::CLAMP, AddressMode::CLAMP),
    sampler(Filter::MIN_MAG_MIP_LINEAR, AddressMode::WRAP, AddressMode::WRAP),
    sampler(Filter::MIN_MAG_MIP_LINEAR, AddressMode::MIRROR, AddressMode::MIRROR),
    sampler(Filter::MIN_MAG_MIP_LINEAR, AddressMode::MIRROR, AddressMode::BORDER),
    sampler(Filter::MIN_MAG_MIP_POINT, AddressMode::BORDER, AddressMode::BORDER),
    sampler(Filter::MIN_MAG_MIP_POINT, AddressMode::CLAMP, AddressMode::CLAMP),
};

}  // namespace

SamplerStateList::SamplerStateList() {
  for (std::size_t i = 0; i < kCount; ++i) {
    entries_[i].setGenerator([i](Media::ComResourcePtr<Media::SamplerState>* slot) {
      *slot = std::make_unique<Media::SamplerState>(kDescriptions[i], kCall, kPlace);
    });
  }
}

SamplerStateList::~SamplerStateList() {
  for (std::size_t i = kCount; i-- > 0;) {
    entries_[i].release();
    entries_[i].clearGenerator();
  }
}

Media::ComResource<Media::SamplerState>& SamplerStateList::entry(std::size_t index) {
  if (index >= kCount)
    throw System::makeFormattedException("Shader::SamplerStateList::entry",
                                         "state index out of range.", "index = %zu", index);
  return entries_[index];
}

Media::SamplerState* SamplerStateList::get(std::size_t index) {
  std::lock_guard lock(mutex_);
  return entry(index).createResource();
}

const Media::SamplerDescription& SamplerStateList::description(std::size_t index) {
  return kDescriptions.at(index);
}

}  // namespace Shader
