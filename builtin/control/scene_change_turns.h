#pragma once
// The scene change's transitions that move the pictures in space (drawn through the output
// view of the control step) or blur them; the table of scene_change_transition.cpp refers
// to them.
namespace Effect {

struct SceneChangeDefine;
struct SceneChangeParams;

void sceneChangeSwap(SceneChangeParams& params, const SceneChangeDefine& define);
void sceneChangeShrinkTurn(SceneChangeParams& params, const SceneChangeDefine& define);
void sceneChangeTurn(SceneChangeParams& params, const SceneChangeDefine& define);
void sceneChangeCube(SceneChangeParams& params, const SceneChangeDefine& define);
void sceneChangeRadialBlur(SceneChangeParams& params, const SceneChangeDefine& define);
void sceneChangeBlur(SceneChangeParams& params, const SceneChangeDefine& define);

}  // namespace Effect
