#include "script/script_plugin_instance.h"

#include <algorithm>
#include <stdexcept>

#include "edit/scene.h"
#include "effect/effect_context.h"
#include "effect/effect_item_number.h"
#include "effect/script_effect.h"
#include "effect/script_movement.h"
#include "gpu/resource_buffer.h"
#include "render/effect_chain.h"
#include "system/exception.h"

namespace Plugin {

ScriptPluginInstance::Binding ScriptPluginInstance::Binding::forEffect(
    Effect::ScriptEffect& effect, Effect::EffectContext& context) {
  if (!effect.record()) throw std::invalid_argument("script effect without its script");
  Binding binding;
  binding.context = &context;
  binding.definition = effect.record().get();
  binding.effectContext = &context;
  binding.effect = &effect;
  return binding;
}

ScriptPluginInstance::Binding ScriptPluginInstance::Binding::forMovement(
    const Effect::ScriptMovement& movement, const Effect::EffectItemNumber& item,
    const Effect::SectionPosition& section, const Effect::EffectContext& context) {
  Binding binding;
  binding.context = &context;
  binding.definition = &movement.record;
  binding.movement = &movement;
  binding.item = &item;
  binding.section = &section;
  return binding;
}

ScriptPluginInstance::~ScriptPluginInstance() = default;

void ScriptPluginInstance::executeEffect(const std::string&) {
  throw System::makeNotImplementedException("Plugin::ScriptPluginInstance::executeEffect");
}

double ScriptPluginInstance::executeMovement(const std::string&) {
  throw System::makeNotImplementedException("Plugin::ScriptPluginInstance::executeMovement");
}

void ScriptPluginInstance::setScriptVariables() {
  throw System::makeNotImplementedException("Plugin::ScriptPluginInstance::setScriptVariables");
}

double ScriptPluginInstance::getFieldNumber(const char*) {
  throw System::makeNotImplementedException("Plugin::ScriptPluginInstance::getFieldNumber");
}

void ScriptPluginInstance::setFieldNumber(const char*, double) {
  throw System::makeNotImplementedException("Plugin::ScriptPluginInstance::setFieldNumber");
}

void ScriptPluginInstance::setFieldBoolean(const char*, bool) {
  throw System::makeNotImplementedException("Plugin::ScriptPluginInstance::setFieldBoolean");
}

// ---- object variables --------------------------------------------------------------------

void ScriptPluginInstance::setObjectVariables() {
  Effect::EffectContext& context = getRenderVideoTarget();
  const Edit::Scene* scene = context.scene;
  const double rate = scene ? scene->rate : 30.0;
  const double scale = scene ? scene->scale : 1.0;
  const int first = context.objectFrames.start;
  const int last = context.objectFrames.end;
  setFieldNumber("w", objectImage_ ? objectImage_->width() : 0);
  setFieldNumber("h", objectImage_ ? objectImage_->height() : 0);
  setFieldNumber("index", context.partIndex);
  setFieldNumber("num", context.partCount);
  setFieldNumber("frame", context.frame - first);
  setFieldNumber("time", (context.time - first) * scale / rate);
  const double totalFrames = static_cast<double>(last) - first + 1;
  setFieldNumber("totalframe", totalFrames);
  setFieldNumber("totaltime", totalFrames * scale / rate);
  setFieldNumber("framerate", rate / scale);
  setFieldNumber("screen_w", scene ? scene->width : 0);
  setFieldNumber("screen_h", scene ? scene->height : 0);
  setFieldNumber("layer", context.layerIndex + 1);
  if (getEffect().mediaType != Effect::MediaType::Video) return;

  const Effect::OutputView& state = context.outputView;
  const Effect::OutputView view = Render::Chain::getOutputView(context);
  setFieldNumber("x", view.x - state.x);
  setFieldNumber("y", view.y - state.y);
  setFieldNumber("z", view.z - state.z);
  setFieldNumber("ox", state.x);
  setFieldNumber("oy", state.y);
  setFieldNumber("oz", state.z);
  setFieldNumber("rx", state.rotationX);
  setFieldNumber("ry", state.rotationY);
  setFieldNumber("rz", state.rotationZ);
  setFieldNumber("cx", state.centerX);
  setFieldNumber("cy", state.centerY);
  setFieldNumber("cz", state.centerZ);
  setFieldNumber("zoom", std::max({state.scaleX, state.scaleY, state.scaleZ}));
  const float zx = state.scaleX;
  const float zy = state.scaleY;
  double aspect = 0.0;
  if (zx > 0.0f || zy > 0.0f) aspect = zx < zy ? 1.0 - zx / zy : zy / zx - 1.0;
  setFieldNumber("aspect", aspect);
  setFieldNumber("alpha", state.opacity);
}

void ScriptPluginInstance::getObjectVariables() {
  Effect::EffectContext& context = getRenderVideoTarget();
  if (getEffect().mediaType != Effect::MediaType::Video) return;
  Effect::OutputView& state = context.outputView;
  const auto read = [this](const char* name) { return static_cast<float>(getFieldNumber(name)); };
  state.x = read("ox");
  state.y = read("oy");
  state.z = read("oz");
  state.rotationX = read("rx");
  state.rotationY = read("ry");
  state.rotationZ = read("rz");
  state.centerX = read("cx");
  state.centerY = read("cy");
  state.centerZ = read("cz");

  // The zoom scales the three factors together, keeping their proportions; factors that
  // are all zero cannot be scaled, so X and Y take the zoom itself.
  const float zoom = read("zoom");
  float* largest = &state.scaleX;
  if (state.scaleY > *largest) largest = &state.scaleY;
  if (state.scaleZ > *largest) largest = &state.scaleZ;
  if (*largest <= 0.0f) {
    state.scaleX = zoom;
    state.scaleY = zoom;
  } else {
    const float factor = zoom / *largest;
    state.scaleX *= factor;
    state.scaleY *= factor;
    state.scaleZ *= factor;
  }
  const float aspect = read("aspect");
  const float larger = std::max(state.scaleX, state.scaleY);
  if (aspect < 0.0f) {
    state.scaleX = larger;
    state.scaleY = larger * (1.0f + aspect);
  } else {
    state.scaleX = larger * (1.0f - aspect);
    state.scaleY = larger;
  }
  state.opacity = read("alpha");
}

// ---- images and items --------------------------------------------------------------------

void ScriptPluginInstance::setObjectImage(Effect::OwnedImage image) {
  objectImage_ = std::move(image);
}

const Effect::EffectItemNumber* ScriptPluginInstance::findNumberItem(
    const std::string& name) const {
  const Effect::ScriptEffect& effect = getEffect();
  const bool digit = !name.empty() && name.front() >= '0' && name.front() <= '9';
  const Effect::EffectItem* item =
      effect.findScriptVariable(digit ? "track" + name : "@local " + name);
  if (!item || item->typeCode != Effect::ItemType::Number) return nullptr;
  const auto* number = dynamic_cast<const Effect::EffectItemNumber*>(item);
  if (!number) throw System::makeException("Effect::EffectItem::to", "invalid effect item type.");
  return number;
}

// ---- accessors ---------------------------------------------------------------------------

Effect::EffectContext& ScriptPluginInstance::getRenderVideoTarget() const {
  if (!binding_.effectContext)
    throw System::makeException("Plugin::ScriptPluginInstance::getRenderVideoTarget",
                                "not effect script.");
  return *binding_.effectContext;
}

Effect::ScriptEffect& ScriptPluginInstance::getEffect() const {
  if (!binding_.effect)
    throw System::makeException("Plugin::ScriptPluginInstance::getEffect", "not effect script.");
  return *binding_.effect;
}

const Effect::ScriptMovement& ScriptPluginInstance::getMovement() const {
  if (!binding_.movement)
    throw System::makeException("Plugin::ScriptPluginInstance::getMovement",
                                "not movement script.");
  return *binding_.movement;
}

const Effect::EffectItemNumber& ScriptPluginInstance::getEffectItem() const {
  if (!binding_.item)
    throw System::makeException("Plugin::ScriptPluginInstance::getEffectItem",
                                "not movement script.");
  return *binding_.item;
}

const Effect::SectionPosition& ScriptPluginInstance::getTargetSection() const {
  if (!binding_.section)
    throw System::makeException("Plugin::ScriptPluginInstance::getTargetSection",
                                "not movement script.");
  return *binding_.section;
}

// ---- host failures -----------------------------------------------------------------------

void ScriptPluginInstance::keepHostFailure(std::exception_ptr failure, std::string text) {
  hostFailure_ = std::move(failure);
  hostFailureText_ = std::move(text);
}

std::exception_ptr ScriptPluginInstance::takeHostFailure() {
  hostFailureText_.clear();
  return std::exchange(hostFailure_, nullptr);
}

}  // namespace Plugin
