#include "gpu/shader/blend_state_list.h"

#include "system/exception.h"

namespace Shader {
namespace {

using Media::Blend;
using Media::BlendDescription;
using Media::BlendOp;

constexpr BlendOp ADD = BlendOp::ADD;
constexpr BlendOp MAX = BlendOp::MAX;

constexpr BlendDescription on(Blend srcColor, Blend destColor, BlendOp colorOp, Blend srcAlpha,
                              Blend destAlpha, BlendOp alphaOp) {
  return {true, srcColor, destColor, colorOp, srcAlpha, destAlpha, alphaOp, 0xF};
}

constexpr std::array<BlendDescription, BlendStateList::kCount> kDescriptions = {
    // 0 premultiplied "over"
    on(Blend::ONE, Blend::INV_SRC_ALPHA, ADD, Blend::ONE, Blend::INV_SRC_ALPHA, ADD),
    // 1 drawing behind ("under")
    on(Blend::INV_DEST_ALPHA, Blend::ONE, ADD, Blend::INV_DEST_ALPHA, Blend::ONE, ADD),
    // 2 straight-alpha "over"
    on(Blend::SRC_ALPHA, Blend::INV_SRC_ALPHA, ADD, Blend::ONE, Blend::INV_SRC_ALPHA, ADD),
    // 3 replace
    BlendDescription{false, Blend::ZERO, Blend::ZERO, ADD, Blend::ZERO, Blend::ZERO, ADD, 0xF},
    // 4 dual-source mix
    on(Blend::INV_SRC1_ALPHA, Blend::SRC1_ALPHA, ADD, Blend::INV_SRC1_ALPHA, Blend::SRC1_ALPHA, ADD),
    // 5 dual-source mix, reversed
    on(Blend::SRC1_ALPHA, Blend::INV_SRC1_ALPHA, ADD, Blend::SRC1_ALPHA, Blend::INV_SRC1_ALPHA, ADD),
    // 6 dual-source mask
    on(Blend::INV_SRC1_ALPHA, Blend::ZERO, ADD, Blend::INV_SRC1_ALPHA, Blend::ZERO, ADD),
    // 7 multiply the target by the source alpha
    on(Blend::ZERO, Blend::SRC_ALPHA, ADD, Blend::ZERO, Blend::SRC_ALPHA, ADD),
    // 8 cut the source alpha out of the target
    on(Blend::ZERO, Blend::INV_SRC_ALPHA, ADD, Blend::ZERO, Blend::INV_SRC_ALPHA, ADD),
    // 9 scale colour by the source alpha, replace alpha
    on(Blend::ZERO, Blend::SRC_ALPHA, ADD, Blend::ONE, Blend::ZERO, ADD),
    // 10 multiply colour, keep alpha
    on(Blend::ZERO, Blend::SRC_COLOR, ADD, Blend::ZERO, Blend::ONE, ADD),
    // 11 add colour, "over" alpha
    on(Blend::ONE, Blend::ONE, ADD, Blend::ONE, Blend::INV_SRC_ALPHA, ADD),
    // 12 add colour, "under" alpha
    on(Blend::ONE, Blend::ONE, ADD, Blend::INV_DEST_ALPHA, Blend::ONE, ADD),
    // 13 add colour scaled by the blend factor
    on(Blend::BLEND_FACTOR, Blend::ONE, ADD, Blend::BLEND_FACTOR, Blend::INV_SRC_ALPHA, ADD),
    // 14 keep the source inside the target's alpha
    on(Blend::DEST_ALPHA, Blend::ZERO, ADD, Blend::DEST_ALPHA, Blend::ZERO, ADD),
    // 15 maximum
    on(Blend::ONE, Blend::ONE, MAX, Blend::ONE, Blend::ONE, MAX),
    // 16 scale colour by the source alpha, keep alpha
    on(Blend::ZERO, Blend::SRC_ALPHA, ADD, Blend::ZERO, Blend::ONE, ADD),
    // 17 plain addition
    on(Blend::ONE, Blend::ONE, ADD, Blend::ONE, Blend::ONE, ADD),
    // 18 add the source inside the target's alpha, keep alpha
    on(Blend::DEST_ALPHA, Blend::ONE, ADD, Blend::ZERO, Blend::ONE, ADD),
    // 19 cross-fade by the blend factor
    on(Blend::BLEND_FACTOR, Blend::INV_BLEND_FACTOR, ADD, Blend::BLEND_FACTOR,
       Blend::INV_BLEND_FACTOR, ADD),
    // 20 cross-fade, reversed
    on(Blend::INV_BLEND_FACTOR, Blend::BLEND_FACTOR, ADD, Blend::INV_BLEND_FACTOR,
       Blend::BLEND_FACTOR, ADD),
};

}  // namespace

BlendStateList::BlendStateList() {
  for (std::size_t i = 0; i < kCount; ++i) {
    // A blend state is a record for the context: making one cannot fail.
    entries_[i].setGenerator([i](Media::ComResourcePtr<Media::BlendState>* slot) {
      *slot = std::make_unique<Media::BlendState>(kDescriptions[i]);
    });
  }
}

BlendStateList::~BlendStateList() {
  for (std::size_t i = kCount; i-- > 0;) {
    entries_[i].release();
    entries_[i].clearGenerator();
  }
}

Media::ComResource<Media::BlendState>& BlendStateList::entry(std::size_t index) {
  if (index >= kCount)
    throw System::makeFormattedException("Shader::BlendStateList::entry", "state index out of range.",
                                         "index = %zu", index);
  return entries_[index];
}

Media::BlendState* BlendStateList::get(std::size_t index) {
  std::lock_guard lock(mutex_);
  return entry(index).createResource();
}

const Media::BlendDescription& BlendStateList::description(std::size_t index) {
  return kDescriptions.at(index);
}

}  // namespace Shader
