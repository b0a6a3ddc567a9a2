#pragma once
// Types of other parts of the program that the effect framework only names. The effect
// framework holds them by pointer or shared pointer and never looks inside, so a
// declaration is all it needs; the parts that own them define them.
namespace Edit {
class Scene;
class Object;
class UpdateSection;
}  // namespace Edit

namespace Media {
class ResourceBuffer;  // an image on the graphics processor
class RenderBuffer;    // the frame being rendered
class AudioBuffer;     // planar floating-point audio
class VertexList;      // quads an output effect draws an object with
}  // namespace Media

namespace Render {
class ResourceCache;  // the render's named image buffers
}  // namespace Render

namespace Anchor {
class AnchorList;   // the preview's handles of one frame
class AnchorEvent;  // a press, double click or drag on a handle
}  // namespace Anchor

namespace Component {
class EffectSetting;          // the block of one effect in the object setting window
class EffectItemBaseControl;  // the row that edits one item
}  // namespace Component

namespace Window {
class WindowControlContainer;  // the container a block's rows live in
}  // namespace Window

namespace Effect {
class EffectDefine;  // a registered effect kind with its prototype
}  // namespace Effect
