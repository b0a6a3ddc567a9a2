#pragma once
// The scene change's transitions that move the pictures in space (drawn through the output
// view of the control step) or blur them; the table of scene_change_transition.cpp refers
// to them. Also the small steps every transition shares.
#include <functional>

namespace Media {
class RenderBuffer;
class ResourceBuffer;
}  // namespace Media

namespace Effect {

struct SceneChangeDefine;
struct SceneChangeParams;

// Degrees to radians, in float as the angles are computed.
inline constexpr float kSceneChangeRadians = 0.01745329238474369f;
// The progress with "反転": the transitions that have a direction run it backwards.
float sceneChangeDirected(const SceneChangeParams& params);
// F := picture, texel for texel.
void sceneChangeReplace(Media::RenderBuffer& frame, Media::ResourceBuffer& picture);
// The two ways of a transition that "反転" turns around: not reversed, `draw` puts the
// picture before over the frame; reversed, the frame becomes the picture before and `draw`
// puts the current picture over it.
void sceneChangeDrawDirected(SceneChangeParams& params,
                             const std::function<void(Media::ResourceBuffer&)>& draw);

void sceneChangeSwap(SceneChangeParams& params, const SceneChangeDefine& define);
void sceneChangeShrinkTurn(SceneChangeParams& params, const SceneChangeDefine& define);
void sceneChangeTurn(SceneChangeParams& params, const SceneChangeDefine& define);
void sceneChangeCube(SceneChangeParams& params, const SceneChangeDefine& define);
void sceneChangeRadialBlur(SceneChangeParams& params, const SceneChangeDefine& define);
void sceneChangeBlur(SceneChangeParams& params, const SceneChangeDefine& define);

}  // namespace Effect
