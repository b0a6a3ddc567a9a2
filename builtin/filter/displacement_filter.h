#pragma once
// "ディスプレイスメントマップ": moves, scales or rotates pixels by amounts read from a map image
// placed over the picture.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_mask_select.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

// What the shaders of "ディスプレイスメントマップ" read ("constant0"); the map is the
// second input.
struct DisplacementConstants {
  float offset[2] = {0.0f, 0.0f};           // added to the position: the map's centre at 0
  float len[2] = {0.0f, 0.0f};              // displacement per unit of map value
  float inverseMaskSize[2] = {0.0f, 0.0f};  // 1 / the map's size in pixels
  float angleS = 0.0f;                      // the map's rotation: sine
  float angleC = 1.0f;                      // and cosine
  int32_t type = 0;                         // moving shader: 0 moves, 1 scales
  int32_t unused[3] = {0, 0, 0};
};
static_assert(sizeof(DisplacementConstants) == 48);

// The shaders of "ディスプレイスメントマップ", loaded on first use.
class DisplacementShaders : public FilterShaderSet {
 public:
  DisplacementShaders();
};

class DisplacementFilter : public ShaderFilter<DisplacementFilter, DisplacementShaders, MoveXYAnchorEffect> {
 public:
  // The shaders: moving or scaling, and turning.
  enum Shader : std::size_t { kMoveShader, kTurnShader };

  static constexpr const char* kName = "ディスプレイスメントマップ";

  DisplacementFilter();
  // The deformation choices of "変形方法".
  enum Method : int { kMove = 0, kScale = 1, kTurn = 2 };

  std::shared_ptr<EffectBase> create() const override;
  // Starts loading the map's file or scene frame before the frame's inputs run.
  void preInputVideo(EffectContext& context) override;
  // The picture deformed by the map placed over it; the picture itself without a map, with
  // a size of 0 or with the map squeezed to nothing; no image for an unknown method.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;
  // A changed item may change which items are shown: the setting windows rebuild.
  bool editEvent(EffectEventParam& param) override;
  // Shows the amounts of the chosen method only.
  void updateItemState() override;

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber rotation;
  EffectItemNumber size;
  EffectItemNumber aspect;
  EffectItemNumber blur;
  EffectItemNumber moveX;
  EffectItemNumber moveY;
  EffectItemNumber scale;
  EffectItemNumber scaleAspect;
  EffectItemNumber turn;
  EffectItemSelect method;
  EffectItemMaskSelect map;
  EffectItemCheck fitSceneLength;
  EffectItemCheck fitOriginalSize;
};

}  // namespace Effect
